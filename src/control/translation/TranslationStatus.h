// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "control/tasks/LatestTask.h"

#include "core/checks/TranslationStates.h"
#include "core/model/EntryList.h"
#include "core/model/EntryListObserver.h"
#include "core/text/CodePage.h"

#include <QList>
#include <QObject>
#include <QStringList>

#include <memory>
#include <utility>
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
class TranslationStatus : public QObject, public EntryListObserver
{
    Q_OBJECT
public:
    TranslationStatus(const EntryList &entries, CodePage codePage);
    ~TranslationStatus() override;

    bool isOpen() const { return m_original != nullptr; }
    bool hasOld() const { return m_old != nullptr; }
    // The states of a large table are counted on a worker after a change
    // of its rows or its originals; until then the last ones show.
    bool isCounting() const { return m_counts.isRunning(); }
    // Takes the rows of an original (or of the old original); the states
    // follow at once.
    void openOriginal(EntryList original);
    void openOld(EntryList old);
    // Both originals go: the table is only a table again.
    void close();
    // A value longer than maxLength characters (0: any) is a problem, as
    // check --max-length finds it.
    void setMaxLength(qsizetype maxLength);
    // The checks left out (CheckSettings::skipped's bits); every state follows.
    void setSkippedChecks(quint32 skipped);
    quint32 skippedChecks() const { return m_settings.skipped; }
    // The checks that find something in the row, each once, in the order found.
    std::vector<TranslationCheck> findingChecks(qsizetype position) const;

    // The original's (or the old original's) row of the index of the row at
    // position, or nullptr.
    const Entry *originalOf(qsizetype position) const;
    const Entry *oldOriginalOf(qsizetype position) const;
    RowState state(qsizetype position) const;
    // Untranslated, to review, or with a problem: where done-and-next stops.
    bool needsWork(qsizetype position) const;
    QStringList findings(qsizetype position) const;
    const StateCounts &counts() const { return m_tally.counts; }
    // The row stays translated though its original changed.
    void accept(qsizetype position);
    // The original's indexes that no row has, in the original's order.
    std::vector<qint16> missingIndexes() const;
    // The original's rows, shared with a worker that may outlive them here;
    // null without an original.
    std::shared_ptr<const EntryList> originalRows() const
    {
        return m_original ? std::shared_ptr<const EntryList>(m_original, &m_original->rows) : nullptr;
    }
    // The original's row of an index, or nullptr.
    const Entry *originalRow(qint16 index) const { return m_original ? m_original->first.rowOf(index) : nullptr; }

    // The next value change of a row is typed: a value within the editor's
    // limit, which the save rules accept as any other, so the rows' refusals
    // stay as they are.
    void expectTypedValue() { m_typedValue = true; }
    // While held, changes of rows are only noted; the release counts once
    // for all of them (a replace in many rows).
    void holdCounting(bool hold);

    // EntryListObserver, told by the model before it tells its views.
    void rowsReset() override { recountAll(); }
    void rowAppended(qsizetype) override { recountAll(); }
    void rowChanged(qsizetype position) override;
    void rowsInserted(qsizetype, qsizetype) override { recountAll(); }
    void rowsRemoved(qsizetype, qsizetype) override { recountAll(); }
    void rowsReordered(const QList<qsizetype> &newPositionOf) override;

signals:
    // An original was opened or closed: the columns come or go.
    void openChanged(bool open);
    // Every row's state may have changed (also when a count on a worker ends).
    void statesReset();
    // The row's state or the counts changed.
    void rowStateChanged(qsizetype position);

private:
    // An original's rows and the first row of each index in them, shared
    // with a count on a worker, which may outlive them here.
    struct OriginalRows
    {
        explicit OriginalRows(EntryList list) : rows(std::move(list)), first(rows) {}
        EntryList rows;
        FirstRows first;
    };
    // Every row's state and what it needs, as one count finds them.
    struct Tally
    {
        std::vector<RowState> states;      // by position
        std::vector<QStringList> refusals; // the STF save rules', by position
        std::vector<quint32> rowsOfIndex;  // how many rows have each index, by index + 32768
        StateCounts counts;
    };
    static Tally tally(const EntryList &rows, const OriginalRows &original, const OriginalRows *old,
                       const std::vector<bool> &reviewed, const CodePage &codePage, const CheckSettings &settings);

    Originals originals() const;
    RowState computeState(qsizetype position) const;
    bool isReviewed(qsizetype position) const;
    void recountAll();
    void takeTally(Tally tally);
    // Counts the row's state again; false when it stayed.
    bool restate(qsizetype position);

    const EntryList &m_entries;
    CodePage m_codePage;
    std::shared_ptr<const OriginalRows> m_original;
    std::shared_ptr<const OriginalRows> m_old;
    Tally m_tally;
    std::vector<bool> m_reviewed; // by index + 32768
    CheckSettings m_settings;
    bool m_typedValue = false;
    bool m_held = false;
    bool m_changedWhileHeld = false;
    // A count on a worker, and the rows typed in since it took its copy,
    // counted again when it ends.
    LatestTask m_counts{*this};
    std::vector<quint32> m_typedSinceCount;
};

} // namespace wendaro
