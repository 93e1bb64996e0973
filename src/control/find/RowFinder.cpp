// SPDX-License-Identifier: GPL-3.0-or-later
#include "control/find/RowFinder.h"

#include "control/find/FindView.h"
#include "control/document/Document.h"

#include "core/checks/TranslationStates.h"

#include <QtConcurrent/QtConcurrentRun>

#include <algorithm>

namespace wendaro {

namespace {

// A count that takes longer says so.
constexpr int SearchingNoteDelayMs = 300;
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

struct RowFinder::Job
{
    std::atomic<bool> stopped{false};
    QFuture<void> future;
};

RowFinder::RowFinder(Document &state, QObject *parent) : QObject(parent), m_state(state)
{
    m_recount.setSingleShot(true);
    m_recount.setInterval(RecountDelayMs);
    connect(&m_recount, &QTimer::timeout, this, [this] {
        if (m_active && m_matcher && !matchesNow())
            startCount();
    });
    m_searchingNote.setSingleShot(true);
    m_searchingNote.setInterval(SearchingNoteDelayMs);
    connect(&m_searchingNote, &QTimer::timeout, this, &RowFinder::publishStatus);
    // The original's text and the state are searched as the rows' own texts.
    const TranslationStatus &review = m_state.review();
    connect(&review, &TranslationStatus::openChanged, this, &RowFinder::reviewChanged);
    connect(&review, &TranslationStatus::statesReset, this, &RowFinder::reviewChanged);
    connect(&review, &TranslationStatus::rowStateChanged, this, &RowFinder::reviewChanged);
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
    return m_state.entries().revision() + m_reviewChanges;
}

void RowFinder::reviewChanged()
{
    ++m_reviewChanges;
    if (m_active && m_matcher)
        m_recount.start();
}

void RowFinder::tell(const QString &message)
{
    m_told = message;
    publishStatus();
}

RowFinder::~RowFinder()
{
    stopJobs();
    for (const std::shared_ptr<Job> &job : std::as_const(m_jobs))
        job->future.waitForFinished();
}

bool RowFinder::isBusy() const
{
    return m_finding || m_counting || m_recount.isActive();
}

void RowFinder::setActive(bool active)
{
    if (active == m_active)
        return;
    m_active = active;
    if (active) {
        restart(true);
        return;
    }
    stopJobs();
    forgetResults();
    if (m_filtering)
        showAllRows();
    publishStatus();
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
    m_told.clear();
    restart(true);
    m_within.clear();
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
    if (!m_filterPending)
        applyFilter();
    else if (!m_counting)
        startCount();
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
}

void RowFinder::selectionChanged()
{
    m_note.clear();
    m_told.clear();
    publishStatus();
}

void RowFinder::stopJobs()
{
    for (const std::shared_ptr<Job> &job : std::as_const(m_jobs))
        job->stopped = true;
    m_jobs.removeIf([](const std::shared_ptr<Job> &job) { return job->future.isFinished(); });
}

void RowFinder::forgetResults()
{
    // A result on its way is of no use any more: its generation is past.
    ++m_findGeneration;
    ++m_countGeneration;
    m_finding = m_counting = false;
    m_recount.stop();
    m_matches.reset();
    m_note.clear();
    m_told.clear();
}

std::shared_ptr<RowFinder::Job> RowFinder::newJob()
{
    m_jobs.removeIf([](const std::shared_ptr<Job> &job) { return job->future.isFinished(); });
    auto job = std::make_shared<Job>();
    m_jobs.append(job);
    return job;
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
        const TranslationStatus &review = m_state.review();
        if (review.isOpen()) {
            rows->originals.reserve(count);
            rows->states.reserve(count);
            for (qsizetype p = 0; p < entries.count(); ++p) {
                const Entry *original = review.originalOf(p);
                rows->originals.push_back(original ? std::optional<ValueText>(original->value) : std::nullopt);
                rows->states.push_back(rowStateWord(review.state(p)));
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

void RowFinder::restart(bool findFirst)
{
    if (m_findJob)
        m_findJob->stopped = true;
    if (m_countJob)
        m_countJob->stopped = true;
    forgetResults();
    m_lastCount.clear();
    if (!m_active)
        return;
    m_error.clear();
    m_matcher = RowMatcher::create(m_query, &m_error);
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
    if (findFirst) {
        const qsizetype selected = m_state.selection().row();
        startFind(selected >= 0 ? selected : 0, +1, m_within, true);
    } else {
        startCount();
    }
    publishStatus();
}

void RowFinder::findStep(int step)
{
    if (!m_active || !m_matcher)
        return;
    m_told.clear();
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
        if (m_findJob)
            m_findJob->stopped = true;
        ++m_findGeneration;
        m_finding = false;
        found(m_findGeneration, revision(), hit.position, hit.wrapped, step);
        return;
    }
    startFind(start, step, m_filtering ? shownRows() : std::vector<bool>(), false);
}

void RowFinder::startFind(qsizetype start, int step, std::vector<bool> shown, bool thenCount)
{
    if (m_findJob)
        m_findJob->stopped = true;
    const quint64 generation = ++m_findGeneration;
    const quint64 revision = this->revision();
    m_finding = true;
    auto job = newJob();
    m_findJob = job;
    // The count waits for the find on the same thread: on a busy machine the
    // row found comes first.
    std::shared_ptr<Job> countJob = thenCount ? prepareCount() : nullptr;
    const quint64 countGeneration = m_countGeneration;
    job->future = QtConcurrent::run([this, job, countJob, rows = snapshot(), query = m_query, start, step,
                                     shown = std::move(shown), generation, countGeneration, revision] {
        const std::optional<RowMatcher> matcher = RowMatcher::create(query, nullptr);
        const Hit hit = firstFrom(
            qsizetype(rows->entries.size()), start, step,
            [&](qsizetype p) { return (shown.empty() || shown[size_t(p)]) && rows->matches(size_t(p), *matcher); },
            [&] { return job->stopped.load(std::memory_order_relaxed); });
        if (!job->stopped) {
            QMetaObject::invokeMethod(
                this, [=, this] { found(generation, revision, hit.position, hit.wrapped, step); },
                Qt::QueuedConnection);
        }
        if (countJob)
            count(*countJob, *rows, shown, *matcher, countGeneration, revision);
    });
    if (countJob)
        countJob->future = job->future;
}

std::shared_ptr<RowFinder::Job> RowFinder::prepareCount()
{
    if (m_countJob)
        m_countJob->stopped = true;
    ++m_countGeneration;
    m_counting = true;
    m_searchingNote.start();
    auto job = newJob();
    m_countJob = job;
    return job;
}

void RowFinder::startCount()
{
    auto job = prepareCount();
    job->future = QtConcurrent::run(
        [this, job, rows = snapshot(), query = m_query, generation = m_countGeneration, revision = this->revision()] {
            count(*job, *rows, {}, *RowMatcher::create(query, nullptr), generation, revision);
        });
}

void RowFinder::count(const Job &job, const Rows &rows, const std::vector<bool> &within, const RowMatcher &matcher,
                        quint64 generation, quint64 revision)
{
    auto matches = std::make_shared<Matches>();
    matches->revision = revision;
    matches->rows.resize(rows.entries.size());
    for (size_t i = 0; i < rows.entries.size(); ++i) {
        if (job.stopped.load(std::memory_order_relaxed))
            return;
        if ((within.empty() || within[i]) && rows.matches(i, matcher)) {
            matches->rows[i] = true;
            ++matches->total;
        }
    }
    QMetaObject::invokeMethod(
        this, [=, this] { counted(generation, revision, matches); }, Qt::QueuedConnection);
}

void RowFinder::found(quint64 generation, quint64 revision, qsizetype position, bool wrapped, int step)
{
    if (generation != m_findGeneration)
        return;
    m_finding = false;
    // Rows that moved meanwhile would put the hit on another row.
    if (revision != this->revision() || position < 0 || position >= m_state.entries().count())
        return;
    select(position, wrapped ? (step > 0 ? FindWrappedForwardNote : FindWrappedBackwardNote) : QString());
}

void RowFinder::counted(quint64 generation, quint64 revision, const std::shared_ptr<Matches> &matches)
{
    if (generation != m_countGeneration)
        return;
    m_counting = false;
    m_searchingNote.stop();
    if (revision != this->revision()) {
        m_recount.start();
        return;
    }
    m_matches = std::move(*matches);
    if (m_filterPending) {
        m_filterPending = false;
        applyFilter();
    }
    publishStatus();
}

void RowFinder::select(qsizetype position, const QString &note)
{
    // What was told stays over the finder's own selection (the next row
    // after a replace).
    const QString told = m_told;
    m_state.selection().select(position);
    // As a click on the row does.
    m_state.setUiState(UiState::SelectionChanged);
    if (m_view)
        m_view->revealRow(position);
    m_note = note;
    m_told = told;
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

void RowFinder::publishStatus()
{
    QString text;
    if (!m_active || m_query.text.isEmpty()) {
        text.clear();
    } else if (!m_told.isEmpty()) {
        setStatus(m_told);
        return;
    } else if (!m_error.isEmpty()) {
        text = m_error;
    } else if (matchesNow()) {
        const Matches &matches = *m_matches;
        const qsizetype selected = m_state.selection().row();
        if (matches.total == 0) {
            m_lastCount = FindNothingStatus;
        } else if (selected >= 0 && matches.rows[size_t(selected)]) {
            // The selected row counts itself: the first match is "1 / n".
            const auto ordinal = std::count(matches.rows.begin(), matches.rows.begin() + selected + 1, true);
            m_lastCount = QStringLiteral("%1 / %2 件").arg(ordinal).arg(matches.total);
        } else {
            m_lastCount = QStringLiteral("%1 件").arg(matches.total);
        }
        text = m_lastCount;
    } else if (m_counting && !m_searchingNote.isActive()) {
        text = FindSearchingStatus;
    } else {
        text = m_lastCount;
    }
    if (!text.isEmpty() && !m_note.isEmpty())
        text += QStringLiteral("（%1）").arg(m_note);
    setStatus(text);
}

void RowFinder::setStatus(const QString &status)
{
    if (status == m_status)
        return;
    m_status = status;
    if (m_view)
        m_view->findStatusChanged(status);
}

} // namespace wendaro
