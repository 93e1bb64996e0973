// SPDX-License-Identifier: GPL-3.0-or-later
#include "control/find/RowFinder.h"

#include "control/find/FindView.h"
#include "control/document/Document.h"

#include "core/checks/TranslationStates.h"

#include <algorithm>

namespace wendaro {

namespace {

// Row changes closer together than this are counted again once.
constexpr int RecountDelayMs = 50;

struct Hit
{
    qsizetype position = -1; // -1: none
    bool wrapped = false;    // passed the end (or the start, going back)
};

// The first position from start on, stepping by step and wrapping once
// round all count rows, that takes; start may lie one beyond either end.
template<typename Takes, typename Stopped>
Hit firstFrom(qsizetype count, qsizetype start, int step, Takes takes, Stopped stopped)
{
    Hit hit;
    qsizetype position = start;
    for (qsizetype seen = 0; seen < count; ++seen, position += step) {
        if (position >= count) {
            position = 0;
            hit.wrapped = true;
        } else if (position < 0) {
            position = count - 1;
            hit.wrapped = true;
        }
        if (stopped())
            return {};
        if (takes(position)) {
            hit.position = position;
            return hit;
        }
    }
    return {};
}

} // namespace

RowFinder::RowFinder(Document &state, QObject *parent)
    : QObject(parent), m_state(state), m_status(
                                           [this] {
                                               return FindStatus::Now{countNow(), m_count.isRunning()};
                                           },
                                           [this](const QString &status) {
                                               if (m_view)
                                                   m_view->findStatusChanged(status);
                                           })
{
    m_recount.setSingleShot(true);
    m_recount.setInterval(RecountDelayMs);
    connect(&m_recount, &QTimer::timeout, this, [this] {
        if (m_active && m_matcher && !matchesNow())
            startCount();
        followSearches();
    });
    // The status follows the searches from what the finder tells of them,
    // as any watcher of the finder does.
    connect(this, &RowFinder::searchesChanged, this, [this](bool finding, bool counting) {
        if (!finding && !counting)
            m_status.searchesSettled();
    });
    // The original's text and the state are searched as the rows' own texts.
    const TranslationStatus &status = m_state.translationStatus();
    connect(&status, &TranslationStatus::openChanged, this, &RowFinder::statesChanged);
    connect(&status, &TranslationStatus::statesReset, this, &RowFinder::statesChanged);
    connect(&status, &TranslationStatus::rowStateChanged, this, &RowFinder::statesChanged);
}

bool RowFinder::Rows::matches(size_t position, const RowMatcher &matcher) const
{
    if (originals.empty())
        return matcher.matches(entries[position]);
    const std::optional<ValueText> &original = originals[position];
    const RowMatcher::Review review{original ? &*original : nullptr, states[position]};
    return matcher.matches(entries[position], &review);
}

quint64 RowFinder::revision() const
{
    // Both only grow: their sum changes with either.
    return m_state.entries().revision() + m_stateChanges;
}

void RowFinder::statesChanged()
{
    ++m_stateChanges;
    if (m_active && m_matcher)
        m_recount.start();
    followSearches();
}

void RowFinder::tell(const QString &message)
{
    m_status.setTold(message);
    publishStatus();
}

RowFinder::~RowFinder()
{
    m_find.cancel();
    m_count.cancel();
    m_find.waitForAll();
    m_count.waitForAll();
}

void RowFinder::setActive(bool active)
{
    if (active == m_active)
        return;
    m_active = active;
    if (active) {
        restart();
    } else {
        forgetResults();
        if (m_filtering)
            showAllRows();
        publishStatus();
    }
    followSearches();
}

void RowFinder::setQuery(const FindQuery &query)
{
    if (query == m_query)
        return;
    // A plain text typed on from the last can only match where the last
    // matched: the rows counted for it are all there is to search.
    const FindQuery &last = m_query;
    const bool narrows = matchesNow() && !last.text.isEmpty() && !last.regularExpression && !query.regularExpression
                         && last.caseSensitive == query.caseSensitive && last.columns == query.columns
                         && query.text.contains(last.text);
    m_within = narrows ? m_matches->rows : std::vector<bool>();
    m_query = query;
    restart();
    m_within.clear();
    followSearches();
}

void RowFinder::setFiltering(bool on)
{
    if (on == m_filtering)
        return;
    m_filtering = on;
    if (!m_active)
        return;
    if (!on) {
        m_filterPending = false;
        showAllRows();
        return;
    }
    if (!m_matcher) {
        if (!m_error.isEmpty())
            hideAllRows();
        return;
    }
    m_filterPending = !matchesNow();
    if (!m_filterPending) {
        applyFilter();
    } else if (!m_count.isRunning()) {
        startCount();
        followSearches();
    }
}

void RowFinder::rowsChanged(bool replaced)
{
    if (!m_active)
        return;
    if (replaced && m_filtering && m_matcher)
        m_filterPending = true;
    else if (replaced && m_filtering && !m_error.isEmpty())
        hideAllRows();
    if (m_matcher)
        m_recount.start();
    followSearches();
}

void RowFinder::selectionChanged()
{
    m_status.clearNotes();
    publishStatus();
}

void RowFinder::forgetResults()
{
    m_find.cancel();
    m_count.cancel();
    m_recount.stop();
    m_matches.reset();
    m_status.clearNotes();
}

RowFinder::Snapshot RowFinder::snapshot()
{
    // The rows share their texts with the list: this copies no text, and a
    // row the person changes meanwhile keeps its old text alive here alone.
    // The original's values are shared with it alike, and decoded, where
    // they must be, on the worker.
    const EntryList &entries = m_state.entries();
    if (!m_snapshot || m_snapshotRevision != revision()) {
        auto rows = std::make_shared<Rows>();
        const auto count = size_t(entries.count());
        rows->entries.reserve(count);
        for (qsizetype p = 0; p < entries.count(); ++p)
            rows->entries.push_back(entries.at(p));
        const TranslationStatus &status = m_state.translationStatus();
        if (status.isOpen()) {
            rows->originals.reserve(count);
            rows->states.reserve(count);
            for (qsizetype p = 0; p < entries.count(); ++p) {
                const Entry *original = status.originalOf(p);
                rows->originals.push_back(original ? std::optional<ValueText>(original->value) : std::nullopt);
                rows->states.push_back(rowStateWord(status.state(p)));
            }
        }
        m_snapshot = std::move(rows);
        m_snapshotRevision = revision();
    }
    return m_snapshot;
}

std::vector<bool> RowFinder::shownRows() const
{
    const qsizetype count = m_state.entries().count();
    std::vector<bool> shown(size_t(count), true);
    if (m_view) {
        for (qsizetype p = 0; p < count; ++p)
            shown[size_t(p)] = m_view->isRowShown(p);
    }
    return shown;
}

void RowFinder::restart()
{
    forgetResults();
    m_status.forgetCount();
    if (!m_active)
        return;
    m_error.clear();
    m_matcher = RowMatcher::create(m_query, &m_error);
    m_status.setError(m_error);
    m_filterPending = false;
    if (!m_matcher) {
        if (m_filtering && m_error.isEmpty())
            showAllRows();
        else if (m_filtering)
            hideAllRows();
        publishStatus();
        return;
    }
    m_filterPending = m_filtering;
    const qsizetype selected = m_state.selection().row();
    startFind(selected >= 0 ? selected : 0, +1, m_within, true);
    publishStatus();
}

void RowFinder::findStep(int step)
{
    if (!m_active || !m_matcher)
        return;
    m_status.setTold({});
    const EntryList &entries = m_state.entries();
    const qsizetype selected = m_state.selection().row();
    const qsizetype start = selected >= 0 ? selected + step : (step > 0 ? 0 : entries.count() - 1);
    if (matchesNow()) {
        // Counted already: the next match is a walk over flags.
        const std::vector<bool> &rows = m_matches->rows;
        const bool filtered = m_filtering && m_view;
        const Hit hit = firstFrom(
            entries.count(), start, step,
            [&](qsizetype p) { return rows[size_t(p)] && (!filtered || m_view->isRowShown(p)); }, [] { return false; });
        m_find.cancel();
        found(revision(), hit.position, hit.wrapped, step);
    } else {
        startFind(start, step, m_filtering ? shownRows() : std::vector<bool>(), false);
    }
    followSearches();
}

void RowFinder::startFind(qsizetype start, int step, std::vector<bool> shown, bool thenCount)
{
    std::vector<bool> within = thenCount ? shown : std::vector<bool>();
    m_find.start(
        [rows = snapshot(), query = m_query, start, step, shown = std::move(shown)](const std::atomic<bool> &stopped) {
            const std::optional<RowMatcher> matcher = RowMatcher::create(query, nullptr);
            return firstFrom(
                qsizetype(rows->entries.size()), start, step,
                [&](qsizetype p) { return (shown.empty() || shown[size_t(p)]) && rows->matches(size_t(p), *matcher); },
                [&] { return stopped.load(std::memory_order_relaxed); });
        },
        [this, revision = this->revision(), step](Hit hit) { found(revision, hit.position, hit.wrapped, step); });
    // The count waits for the find: on a busy machine the row found comes first.
    if (thenCount)
        startCount(std::move(within), true);
}

void RowFinder::startCount(std::vector<bool> within, bool afterFind)
{
    auto work = [rows = snapshot(), query = m_query, within = std::move(within),
                 revision = this->revision()](const std::atomic<bool> &stopped) {
        return count(*rows, within, *RowMatcher::create(query, nullptr), revision, stopped);
    };
    const auto deliver = [this](Matches matches) { counted(std::move(matches)); };
    m_status.countStarted();
    if (afterFind)
        m_count.startAfter(m_find, std::move(work), deliver);
    else
        m_count.start(std::move(work), deliver);
}

RowFinder::Matches RowFinder::count(const Rows &rows, const std::vector<bool> &within, const RowMatcher &matcher,
                                    quint64 revision, const std::atomic<bool> &stopped)
{
    Matches matches;
    matches.revision = revision;
    matches.rows.resize(rows.entries.size());
    for (size_t i = 0; i < rows.entries.size(); ++i) {
        if (stopped.load(std::memory_order_relaxed))
            break;
        if ((within.empty() || within[i]) && rows.matches(i, matcher)) {
            matches.rows[i] = true;
            ++matches.total;
        }
    }
    return matches;
}

void RowFinder::found(quint64 revision, qsizetype position, bool wrapped, int step)
{
    // Rows that moved meanwhile would put the hit on another row.
    if (revision == this->revision() && position >= 0 && position < m_state.entries().count())
        select(position, wrapped ? (step > 0 ? FindWrappedForwardNote : FindWrappedBackwardNote) : QString());
    followSearches();
}

void RowFinder::counted(Matches matches)
{
    if (matches.revision != revision()) {
        m_recount.start();
    } else {
        m_matches = std::move(matches);
        if (m_filterPending) {
            m_filterPending = false;
            applyFilter();
        }
        publishStatus();
    }
    followSearches();
}

void RowFinder::select(qsizetype position, const QString &note)
{
    // What was told stays over the finder's own selection (the next row
    // after a replace).
    const QString told = m_status.told();
    m_state.selection().select(position);
    // As a click on the row does.
    m_state.setUiState(UiState::SelectionChanged);
    if (m_view)
        m_view->revealRow(position);
    m_status.setNote(note);
    m_status.setTold(told);
    publishStatus();
}

void RowFinder::applyFilter()
{
    if (!m_view || !matchesNow())
        return;
    m_view->showRows(m_matches->rows);
    const qsizetype selected = m_state.selection().row();
    if (selected < 0)
        return;
    if (m_matches->rows[size_t(selected)]) {
        m_view->revealRow(selected);
        return;
    }
    // Edit and Remove must not act on a row the person cannot see.
    m_state.selection().clear();
    m_state.setUiState(UiState::SelectionChanged);
}

void RowFinder::showAllRows()
{
    if (!m_view)
        return;
    m_view->showRows({});
    const qsizetype selected = m_state.selection().row();
    if (selected >= 0)
        m_view->revealRow(selected);
}

void RowFinder::hideAllRows()
{
    if (!m_view)
        return;
    m_view->showRows(std::vector<bool>(size_t(m_state.entries().count()), false));
    if (m_state.selection().row() >= 0) {
        m_state.selection().clear();
        m_state.setUiState(UiState::SelectionChanged);
    }
}

bool RowFinder::isRowShown(qsizetype position) const
{
    return !m_view || m_view->isRowShown(position);
}

bool RowFinder::matchesNow() const
{
    return m_matches && m_matches->revision == revision();
}

std::optional<FindStatus::Count> RowFinder::countNow() const
{
    if (!matchesNow())
        return std::nullopt;
    return FindStatus::Count{&m_matches->rows, m_matches->total, m_state.selection().row()};
}

void RowFinder::publishStatus()
{
    m_status.setSearched(m_active && !m_query.text.isEmpty());
    m_status.update();
}

void RowFinder::followSearches()
{
    const bool finding = m_find.isRunning();
    const bool counting = m_count.isRunning() || m_recount.isActive();
    if (finding == m_finding && counting == m_counting)
        return;
    m_finding = finding;
    m_counting = counting;
    emit searchesChanged(finding, counting);
}

} // namespace wendaro
