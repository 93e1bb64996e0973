// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "control/find/FindStatus.h"
#include "control/tasks/LatestTask.h"

#include "core/model/Entry.h"
#include "core/model/RowMatcher.h"

#include <QObject>
#include <QString>
#include <QTimer>
#include <atomic>
#include <memory>
#include <optional>
#include <vector>

namespace wendaro {

class FindView;
class Document;

// Find and filter over the window's rows, for the find bar.
//
// A row found becomes the selected row as a click makes it (the selection
// refresh runs). Searching reads a snapshot of the rows that shares their
// texts, on a worker thread, so that the largest table never holds up the
// window; a newer request supersedes a search still running, and a result for
// rows that have changed since is dropped. The filter shows the rows that
// matched when the text to find was set: a row changed afterwards stays as it
// is shown, a row added is shown, until the text changes again. While an
// original is open, the original's value and the state the list shows beside
// a row are searched as its own texts, and a change of states is a change of
// rows here.
class RowFinder : public QObject
{
    Q_OBJECT
public:
    explicit RowFinder(Document &state, QObject *parent = nullptr);
    // Stops the searches still running and waits for them.
    ~RowFinder() override;

    void setView(FindView *view) { m_view = view; }
    // Whether the list shows the row at position: the filter may hide it.
    bool isRowShown(qsizetype position) const;

    // Open: finds from the selected row on and counts. Closed: searches
    // nothing, shows every row and says nothing.
    void setActive(bool active);
    const FindQuery &query() const { return m_query; }
    // The text or an option changed: selects the first matching row from the
    // selected one on (or from the first), counts, and filters.
    void setQuery(const FindQuery &query);
    // The next or previous matching row shown, from the selected one, wrapping.
    void findNext() { findStep(+1); }
    void findPrevious() { findStep(-1); }
    // Shows only the matching rows, or every row again; the selection stays
    // unless the filter hides it.
    void setFiltering(bool on);

    // The rows changed; replaced: all at once (a load), which shows every row.
    // Counts again; replaced rows are filtered again.
    void rowsChanged(bool replaced);
    // The selected row changed: the count's place follows.
    void selectionChanged();

    // Says message in place of the count until the text to find, the row
    // selected by the person, or the bar changes, or a step is asked for.
    void tell(const QString &message);

signals:
    // Whether a find runs, and whether a count runs or waits for a burst of
    // row changes to end. Once neither does, the selection, the count and
    // the filter are those of the text to find and the rows as they are.
    void searchesChanged(bool finding, bool counting);

private:
    struct Matches
    {
        quint64 revision = 0;
        std::vector<bool> rows; // flag i for position i
        qsizetype total = 0;
    };
    // The rows as they are searched, and while an original is open what the
    // list shows of it beside them, by position.
    struct Rows
    {
        std::vector<Entry> entries;
        std::vector<std::optional<ValueText>> originals; // empty without an original
        std::vector<QString> states;                     // empty without an original
        bool matches(size_t position, const RowMatcher &matcher) const;
    };
    using Snapshot = std::shared_ptr<const Rows>;

    void restart();
    void findStep(int step);
    // A find from start, over the shown rows (all when empty); thenCount:
    // the count of those rows follows on a worker once the find has ended.
    void startFind(qsizetype start, int step, std::vector<bool> shown, bool thenCount);
    // Counts the rows within (all when empty) on a worker; afterFind: once
    // the find started last has ended.
    void startCount(std::vector<bool> within = {}, bool afterFind = false);
    // On the worker: the flags of the rows that match, of those within (all
    // when empty); cut short once stopped.
    static Matches count(const Rows &rows, const std::vector<bool> &within, const RowMatcher &matcher, quint64 revision,
                         const std::atomic<bool> &stopped);
    Snapshot snapshot();
    // Changes with every change of the rows and of their states: a result
    // of another revision is out of date.
    quint64 revision() const;
    void statesChanged();
    void forgetResults();
    std::vector<bool> shownRows() const;

    void found(quint64 revision, qsizetype position, bool wrapped, int step);
    void counted(Matches matches);
    void select(qsizetype position, const QString &note);
    void applyFilter();
    void showAllRows();
    void hideAllRows();
    // The count is of the rows as they are now.
    bool matchesNow() const;
    std::optional<FindStatus::Count> countNow() const;
    void publishStatus();
    // Tells whether searches run, when that changed.
    void followSearches();

    Document &m_state;
    FindView *m_view = nullptr;
    FindQuery m_query;
    bool m_active = false;
    bool m_filtering = false;
    // The filter waits for the count of the current text.
    bool m_filterPending = false;
    std::optional<RowMatcher> m_matcher;
    QString m_error;
    std::optional<Matches> m_matches;
    // The rows that a text typed on from the last one can match.
    std::vector<bool> m_within;
    FindStatus m_status;
    // A result is taken only from the latest search of its kind.
    LatestTask m_find{*this};
    LatestTask m_count{*this};
    // As last told by searchesChanged().
    bool m_finding = false;
    bool m_counting = false;
    Snapshot m_snapshot;
    quint64 m_snapshotRevision = 0;
    // How often the translation's states changed or an original came or went.
    quint64 m_stateChanges = 0;
    // Row changes come in bursts (a paste): counted again once they settle.
    QTimer m_recount;
};

} // namespace wendaro
