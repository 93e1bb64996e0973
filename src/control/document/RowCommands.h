// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/model/EntryList.h"

#include <QUndoCommand>

#include <functional>
#include <optional>
#include <vector>

namespace wendaro {

class RowSelection;
class TranslationStatus;

// The changes of rows that the history can take back: each is a command of
// the window's QUndoStack, and the stack's first redo() is what makes the
// change, so that no change of rows can happen without its command.
//
// A command holds only the rows it changed: the ids of its rows in the list
// and the rows out of it with their positions, or an edited row's other
// fields. Rows are found again by their ids, so that a sort in between (which
// is no command) moves nothing the wrong way. Undoing and redoing are the
// same swap; after the first time, the one row that comes back or changes is
// made the selected row, as a person looks for what the undo did.

// Rows put in (an add, a paste) or taken out (a removal).
class RowsCommand : public QUndoCommand
{
public:
    // Puts rows in at their positions (ascending) when first done.
    static RowsCommand *putIn(EntryList &entries, RowSelection &selection, std::vector<PlacedEntry> rows,
                              const QString &text);
    // Takes out the rows at these positions (ascending) when first done.
    static RowsCommand *takeOut(EntryList &entries, RowSelection &selection, const std::vector<qsizetype> &positions,
                                const QString &text);

    void undo() override { swap(); }
    void redo() override { swap(); }

private:
    RowsCommand(EntryList &entries, RowSelection &selection, const QString &text);
    void swap();

    EntryList &m_entries;
    RowSelection &m_selection;
    bool m_done = false;
    std::vector<quint32> m_ids;     // the command's rows in the list
    std::vector<PlacedEntry> m_out; // its rows out of the list, with their positions
};

// A change of one row: found again by its id, its fields swapped, and after
// the first time selected, as a person looks for what the undo did.
class RowCommand : public QUndoCommand
{
public:
    void undo() final { swap(); }
    void redo() final { swap(); }
    // The id of the row the command changes (see EntryList::identify).
    quint32 rowId() const { return m_id; }

protected:
    RowCommand(EntryList &entries, RowSelection &selection, qsizetype position, const QString &text);
    // Gives the row at position the fields the command holds, and keeps the
    // ones it had.
    virtual void swapAt(qsizetype position) = 0;

    EntryList &m_entries;
    quint32 m_id;

private:
    void swap();

    RowSelection &m_selection;
    bool m_done = false;
};

// A row's index text, name and value replaced.
class EditCommand : public RowCommand
{
public:
    EditCommand(EntryList &entries, RowSelection &selection, qsizetype position, Entry fields);

private:
    void swapAt(qsizetype position) override;

    Entry m_otherFields; // the fields the row does not hold now
};

// A row's value replaced, as the translation field types it. The typing of
// one visit of a row is one command: a command of the same row and visit
// merges into the one before it, unless that one is the saved state (the
// stack's rule); typing that ends where it began leaves the history.
class ValueCommand : public RowCommand
{
public:
    // visit: the visit of the row the typing belongs to; 0 for a change that
    // merges with nothing (a copy of the original).
    ValueCommand(EntryList &entries, RowSelection &selection, qsizetype position, ValueText value, quint64 visit,
                 std::function<void()> beforeChange = {});

    int id() const override { return m_visit == 0 ? -1 : TypingId; }
    // Filled for the person (a copy of the original, a suggestion), not typed.
    bool isFill() const { return m_visit == 0; }
    bool mergeWith(const QUndoCommand *other) override;

private:
    static constexpr int TypingId = 1;
    void swapAt(qsizetype position) override;

    quint64 m_visit;
    ValueText m_otherValue;
    // Told before each change, so that who follows the rows knows it is typing.
    std::function<void()> m_beforeChange;
};

// The names or values of many rows replaced at once (a replace of every
// match): one command, however many rows.
class TextsCommand : public QUndoCommand
{
public:
    // A row's other name or value, where the command changes it.
    struct Texts
    {
        qsizetype position = -1; // given; the command then holds the row's id
        quint32 id = 0;
        std::optional<QString> name;
        std::optional<ValueText> value;
    };

    // Gives the rows these texts when first done.
    TextsCommand(EntryList &entries, TranslationStatus &status, std::vector<Texts> rows, const QString &text);

    void undo() override { swap(); }
    void redo() override { swap(); }

private:
    void swap();

    EntryList &m_entries;
    TranslationStatus &m_translationStatus;
    std::vector<Texts> m_rows; // by id; the texts the rows do not hold now
};

} // namespace wendaro
