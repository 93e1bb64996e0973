// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/checks/TranslationStates.h"
#include "core/model/EntryList.h"
#include "core/model/EntryListObserver.h"
#include "core/text/CodePage.h"

#include <QObject>
#include <QStringList>

#include <memory>
#include <vector>

namespace wendaro {

// The open table seen as a translation of an original: the original's rows
// (read-only, never saved), the old original the translation was made from
// when one is open, each row's state, its findings and the counts of the
// whole table. It follows every change of the rows as the model's follower,
// so that a state is never older than its row.
//
// A row is reviewed once it was changed or accepted after the old original
// was opened; what was reviewed is kept by index, so that it survives a
// sort, and forgotten when another old original is opened.
class TranslationReview : public QObject, public EntryListObserver
{
    Q_OBJECT
public:
    TranslationReview(const EntryList &entries, const CodePage &codePage);
    ~TranslationReview() override;

    bool isOpen() const { return m_original != nullptr; }
    bool hasOld() const { return m_old != nullptr; }
    // Takes the rows of an original (or of the old original); the states
    // follow at once.
    void openOriginal(EntryList original);
    void openOld(EntryList old);
    // Both originals go: the table is only a table again.
    void close();

    // The original's (or the old original's) row of the index of the row at
    // position, or nullptr.
    const Entry *originalOf(qsizetype position) const;
    const Entry *oldOriginalOf(qsizetype position) const;
    RowState state(qsizetype position) const;
    // Untranslated, to review, or with a problem: where done-and-next stops.
    bool needsWork(qsizetype position) const;
    QStringList findings(qsizetype position) const;
    const StateCounts &counts() const { return m_counts; }
    // The row stays translated though its original changed.
    void accept(qsizetype position);
    // The original's indexes that no row has, in the original's order.
    std::vector<qint16> missingIndexes() const;
    // The original's row of an index, or nullptr.
    const Entry *originalRow(qint16 index) const { return m_current.rowOf(index); }

    // The next value change of a row is typed: a value within the editor's
    // limit, which the save rules accept as any other, so the rows' refusals
    // stay as they are.
    void expectTypedValue() { m_typedValue = true; }

    // EntryListObserver, told by the model before it tells its views.
    void rowsReset() override { recountAll(); }
    void rowAppended(qsizetype) override { recountAll(); }
    void rowChanged(qsizetype position) override;
    void rowRemoved(qsizetype) override { recountAll(); }
    void rowsInserted(qsizetype, qsizetype) override { recountAll(); }
    void rowsRemoved(qsizetype, qsizetype) override { recountAll(); }
    void rowsReordered(const QList<qsizetype> &newPositionOf) override;

signals:
    // An original was opened or closed: the columns come or go.
    void openChanged(bool open);
    // Every row's state may have changed.
    void statesReset();
    // The row's state or the counts changed.
    void rowStateChanged(qsizetype position);

private:
    Originals originals() const { return {m_current, m_oldRows}; }
    RowState computeState(qsizetype position) const;
    bool isReviewed(qsizetype position) const;
    void recountAll();
    void count(RowState state, qsizetype position, int by);

    const EntryList &m_entries;
    CodePage m_codePage;
    std::unique_ptr<EntryList> m_original;
    std::unique_ptr<EntryList> m_old;
    FirstRows m_current;
    FirstRows m_oldRows;
    std::vector<RowState> m_states;      // by position
    std::vector<QStringList> m_refusals; // the STF save rules', by position
    std::vector<bool> m_reviewed;        // by index + 32768
    std::vector<quint32> m_rowsOfIndex;  // how many rows have each index, by index + 32768
    StateCounts m_counts;
    bool m_typedValue = false;
};

} // namespace wendaro
