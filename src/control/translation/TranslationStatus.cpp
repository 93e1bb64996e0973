// SPDX-License-Identifier: GPL-3.0-or-later
#include "control/translation/TranslationStatus.h"

namespace wendaro {

namespace {

constexpr size_t IndexSlots = 65536;

// Tables whose values together are shorter than this are counted at once:
// a count of a few megabytes takes less than a frame's worth of waiting.
constexpr qsizetype CountAsideLength = 8 * 1024 * 1024;

size_t slotOf(qint16 index)
{
    return size_t(index + 32768);
}

qsizetype valuesLength(const EntryList &rows)
{
    qsizetype length = 0;
    for (qsizetype position = 0; position < rows.count(); ++position)
        length += rows.at(position).value.fileLengthAtMost();
    return length;
}

const FirstRows NoRows;

} // namespace

TranslationStatus::TranslationStatus(const EntryList &entries, CodePage codePage)
    : m_entries(entries), m_codePage(std::move(codePage))
{
}

TranslationStatus::~TranslationStatus()
{
    // A count still running posts its result to this object.
    m_counts.waitForAll();
}

void TranslationStatus::setMaxLength(qsizetype maxLength)
{
    m_settings.maxLength = maxLength;
    if (!isOpen())
        return;
    recountAll();
    emit statesReset();
}

void TranslationStatus::setSkippedChecks(quint32 skipped)
{
    if (m_settings.skipped == skipped)
        return;
    m_settings.skipped = skipped;
    if (!isOpen())
        return;
    recountAll();
    emit statesReset();
}

std::vector<TranslationCheck> TranslationStatus::findingChecks(qsizetype position) const
{
    std::vector<TranslationCheck> checks;
    const Entry *original = isOpen() && position >= 0 && position < m_entries.count() ? originalOf(position) : nullptr;
    if (!original)
        return checks;
    for (const TextFinding &finding :
         compareTranslation(original->value.toString(), m_entries.at(position).value.toString(), m_settings)) {
        if (std::find(checks.cbegin(), checks.cend(), finding.check) == checks.cend())
            checks.push_back(finding.check);
    }
    return checks;
}

Originals TranslationStatus::originals() const
{
    return {m_original ? m_original->first : NoRows, m_old ? m_old->first : NoRows, m_settings};
}

void TranslationStatus::openOriginal(EntryList original)
{
    const bool wasOpen = isOpen();
    m_original = std::make_shared<const OriginalRows>(std::move(original));
    recountAll();
    if (!wasOpen)
        emit openChanged(true);
    emit statesReset();
}

void TranslationStatus::openOld(EntryList old)
{
    m_old = std::make_shared<const OriginalRows>(std::move(old));
    m_reviewed.assign(IndexSlots, false);
    recountAll();
    emit statesReset();
}

void TranslationStatus::close()
{
    if (!isOpen())
        return;
    m_original.reset();
    m_old.reset();
    m_tally = {};
    m_reviewed.clear();
    m_counts.cancel();
    emit openChanged(false);
}

const Entry *TranslationStatus::originalOf(qsizetype position) const
{
    const std::optional<qint16> index = rowIndex(m_entries.at(position));
    return index && m_original ? m_original->first.rowOf(*index) : nullptr;
}

const Entry *TranslationStatus::oldOriginalOf(qsizetype position) const
{
    const std::optional<qint16> index = rowIndex(m_entries.at(position));
    return index && m_old ? m_old->first.rowOf(*index) : nullptr;
}

RowState TranslationStatus::state(qsizetype position) const
{
    const std::vector<RowState> &states = m_tally.states;
    return position >= 0 && size_t(position) < states.size() ? states[size_t(position)] : RowState::Translated;
}

bool TranslationStatus::needsWork(qsizetype position) const
{
    const RowState rowState = state(position);
    return rowState == RowState::Untranslated || rowState == RowState::NeedsReview || rowState == RowState::Problem;
}

QStringList TranslationStatus::findings(qsizetype position) const
{
    if (!isOpen() || position < 0 || position >= m_entries.count())
        return {};
    const std::vector<QStringList> &refusals = m_tally.refusals;
    QStringList found = rowFindings(m_entries.at(position), m_original->first,
                                    size_t(position) < refusals.size() ? refusals[size_t(position)] : QStringList(),
                                    m_settings);
    if (state(position) == RowState::NeedsReview)
        found.prepend(QStringLiteral("原文が変わりました。"));
    return found;
}

bool TranslationStatus::isReviewed(qsizetype position) const
{
    if (m_reviewed.empty())
        return false;
    const std::optional<qint16> index = rowIndex(m_entries.at(position));
    return index && m_reviewed[slotOf(*index)];
}

RowState TranslationStatus::computeState(qsizetype position) const
{
    const std::vector<QStringList> &refusals = m_tally.refusals;
    const bool unsavable = size_t(position) < refusals.size() && !refusals[size_t(position)].isEmpty();
    return rowState(m_entries.at(position), originals(), isReviewed(position), unsavable);
}

bool TranslationStatus::restate(qsizetype position)
{
    const RowState before = state(position);
    const RowState after = computeState(position);
    if (before == after)
        return false;
    StateCounts &counts = m_tally.counts;
    --counts.rows[size_t(before)];
    ++counts.rows[size_t(after)];
    counts.translated = counts.of(RowState::Translated);
    m_tally.states[size_t(position)] = after;
    return true;
}

void TranslationStatus::accept(qsizetype position)
{
    if (!hasOld() || position < 0 || position >= m_entries.count())
        return;
    if (const std::optional<qint16> index = rowIndex(m_entries.at(position)))
        m_reviewed[slotOf(*index)] = true;
    if (size_t(position) >= m_tally.states.size())
        return;
    if (!restate(position))
        return;
    emit rowStateChanged(position);
}

std::vector<qint16> TranslationStatus::missingIndexes() const
{
    std::vector<qint16> missing;
    if (!isOpen() || m_tally.rowsOfIndex.empty())
        return missing;
    for (const qint16 index : m_original->first.indexes())
        if (m_tally.rowsOfIndex[slotOf(index)] == 0)
            missing.push_back(index);
    return missing;
}

void TranslationStatus::holdCounting(bool hold)
{
    m_held = hold;
    if (hold || !std::exchange(m_changedWhileHeld, false))
        return;
    recountAll();
    emit statesReset();
}

void TranslationStatus::rowChanged(qsizetype position)
{
    if (!isOpen())
        return;
    const std::optional<qint16> index = rowIndex(m_entries.at(position));
    if (hasOld() && index)
        m_reviewed[slotOf(*index)] = true;
    if (m_held) {
        m_changedWhileHeld = true;
        return;
    }
    if (!std::exchange(m_typedValue, false)) {
        // An edit may change the index or the name, which the save rules
        // weigh against every other row.
        recountAll();
        emit statesReset();
        return;
    }
    if (isCounting())
        m_typedSinceCount.push_back(m_entries.at(position).id); // a step has given it one
    if (size_t(position) >= m_tally.states.size())
        return;
    restate(position);
    emit rowStateChanged(position);
}

void TranslationStatus::rowsReordered(const QList<qsizetype> &newPositionOf)
{
    if (!isOpen())
        return;
    // A count on a worker counted the rows in their old order.
    if (isCounting() || size_t(newPositionOf.size()) != m_tally.states.size()) {
        recountAll();
        return;
    }
    std::vector<RowState> states(m_tally.states.size());
    std::vector<QStringList> refusals(m_tally.refusals.size());
    for (qsizetype before = 0; before < newPositionOf.size(); ++before) {
        states[size_t(newPositionOf[before])] = m_tally.states[size_t(before)];
        refusals[size_t(newPositionOf[before])] = std::move(m_tally.refusals[size_t(before)]);
    }
    m_tally.states = std::move(states);
    m_tally.refusals = std::move(refusals);
}

TranslationStatus::Tally TranslationStatus::tally(const EntryList &rows, const OriginalRows &original,
                                                  const OriginalRows *old, const std::vector<bool> &reviewed,
                                                  const CodePage &codePage, const CheckSettings &settings)
{
    Tally tally;
    const qsizetype count = rows.count();
    tally.refusals = stfRefusalsByRow(rows, codePage);
    tally.rowsOfIndex.assign(IndexSlots, 0);
    tally.states.resize(size_t(count));
    const Originals originals{original.first, old ? old->first : NoRows, settings};
    for (qsizetype position = 0; position < count; ++position) {
        const std::optional<qint16> index = rowIndex(rows.at(position));
        if (index)
            ++tally.rowsOfIndex[slotOf(*index)];
        const bool isReviewed = index && !reviewed.empty() && reviewed[slotOf(*index)];
        const RowState state = rowState(rows.at(position), originals, isReviewed,
                                        !tally.refusals[size_t(position)].isEmpty());
        tally.states[size_t(position)] = state;
        ++tally.counts.rows[size_t(state)];
    }
    tally.counts.translated = tally.counts.of(RowState::Translated);
    tally.counts.originals = qsizetype(original.first.indexes().size());
    for (const qint16 index : original.first.indexes())
        if (tally.rowsOfIndex[slotOf(index)] == 0)
            ++tally.counts.missing;
    return tally;
}

void TranslationStatus::recountAll()
{
    m_typedValue = false;
    if (!isOpen())
        return;
    m_counts.cancel();
    m_typedSinceCount.clear();
    if (valuesLength(m_entries) + valuesLength(m_original->rows) < CountAsideLength) {
        m_tally = tally(m_entries, *m_original, m_old.get(), m_reviewed, m_codePage, m_settings);
        return;
    }
    // A large table is counted on a worker, over a copy of its rows that
    // shares their texts, so that the window never waits for it; a change
    // of rows meanwhile starts another count, a typed value is counted
    // again when it ends.
    auto rows = std::make_shared<EntryList>();
    rows->reserve(m_entries.count());
    for (qsizetype position = 0; position < m_entries.count(); ++position) {
        Entry row = m_entries.at(position);
        row.key.reset();
        rows->append(std::move(row));
    }
    m_counts.start(
        [rows, original = m_original, old = m_old, reviewed = m_reviewed, codePage = m_codePage, settings = m_settings](
            const std::atomic<bool> &) { return tally(*rows, *original, old.get(), reviewed, codePage, settings); },
        [this](Tally counted) { takeTally(std::move(counted)); });
}

void TranslationStatus::takeTally(Tally counted)
{
    m_tally = std::move(counted);
    // Rows typed in while the worker counted are counted as they are now.
    const std::vector<quint32> typed = std::exchange(m_typedSinceCount, {});
    for (const qsizetype position : m_entries.positionsOf(typed)) {
        restate(position);
    }
    emit statesReset();
}

} // namespace wendaro
