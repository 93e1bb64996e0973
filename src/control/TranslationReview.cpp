// SPDX-License-Identifier: GPL-3.0-or-later
#include "control/TranslationReview.h"

namespace wendaro {

namespace {

constexpr size_t IndexSlots = 65536;

size_t slotOf(qint16 index)
{
    return size_t(index + 32768);
}

} // namespace

TranslationReview::TranslationReview(const EntryList &entries, const CodePage &codePage)
    : m_entries(entries), m_codePage(codePage)
{
}

TranslationReview::~TranslationReview() = default;

void TranslationReview::openOriginal(EntryList original)
{
    const bool wasOpen = isOpen();
    m_original = std::make_unique<EntryList>(std::move(original));
    m_current = FirstRows(*m_original);
    recountAll();
    if (!wasOpen)
        emit openChanged(true);
    emit statesReset();
}

void TranslationReview::openOld(EntryList old)
{
    m_old = std::make_unique<EntryList>(std::move(old));
    m_oldRows = FirstRows(*m_old);
    m_reviewed.assign(IndexSlots, false);
    recountAll();
    emit statesReset();
}

void TranslationReview::close()
{
    if (!isOpen())
        return;
    m_current = FirstRows();
    m_oldRows = FirstRows();
    m_original.reset();
    m_old.reset();
    m_states.clear();
    m_refusals.clear();
    m_reviewed.clear();
    m_rowsOfIndex.clear();
    m_counts = {};
    emit openChanged(false);
}

const Entry *TranslationReview::originalOf(qsizetype position) const
{
    const std::optional<qint16> index = rowIndex(m_entries.at(position));
    return index ? m_current.rowOf(*index) : nullptr;
}

const Entry *TranslationReview::oldOriginalOf(qsizetype position) const
{
    const std::optional<qint16> index = rowIndex(m_entries.at(position));
    return index ? m_oldRows.rowOf(*index) : nullptr;
}

RowState TranslationReview::state(qsizetype position) const
{
    return position >= 0 && size_t(position) < m_states.size() ? m_states[size_t(position)] : RowState::Translated;
}

bool TranslationReview::needsWork(qsizetype position) const
{
    const RowState rowState = state(position);
    return rowState == RowState::Untranslated || rowState == RowState::NeedsReview || rowState == RowState::Problem;
}

QStringList TranslationReview::findings(qsizetype position) const
{
    if (!isOpen() || position < 0 || position >= m_entries.count())
        return {};
    QStringList found = rowFindings(m_entries.at(position), m_current, m_refusals[size_t(position)]);
    if (state(position) == RowState::NeedsReview)
        found.prepend(QStringLiteral("原文が変わりました。"));
    return found;
}

bool TranslationReview::isReviewed(qsizetype position) const
{
    if (m_reviewed.empty())
        return false;
    const std::optional<qint16> index = rowIndex(m_entries.at(position));
    return index && m_reviewed[slotOf(*index)];
}

RowState TranslationReview::computeState(qsizetype position) const
{
    return rowState(m_entries.at(position), originals(), isReviewed(position), !m_refusals[size_t(position)].isEmpty());
}

void TranslationReview::accept(qsizetype position)
{
    if (!hasOld() || position < 0 || position >= m_entries.count())
        return;
    if (const std::optional<qint16> index = rowIndex(m_entries.at(position)))
        m_reviewed[slotOf(*index)] = true;
    const RowState before = state(position);
    const RowState after = computeState(position);
    if (before == after)
        return;
    count(before, position, -1);
    m_states[size_t(position)] = after;
    count(after, position, 1);
    emit rowStateChanged(position);
}

std::vector<qint16> TranslationReview::missingIndexes() const
{
    std::vector<qint16> missing;
    if (!isOpen())
        return missing;
    for (const qint16 index : m_current.indexes())
        if (m_rowsOfIndex[slotOf(index)] == 0)
            missing.push_back(index);
    return missing;
}

void TranslationReview::count(RowState state, qsizetype, int by)
{
    m_counts.rows[size_t(state)] += by;
    m_counts.translated = m_counts.of(RowState::Translated);
}

void TranslationReview::rowChanged(qsizetype position)
{
    if (!isOpen())
        return;
    if (hasOld())
        if (const std::optional<qint16> index = rowIndex(m_entries.at(position)))
            m_reviewed[slotOf(*index)] = true;
    if (!m_typedValue) {
        // An edit may change the index or the name, which the save rules
        // weigh against every other row.
        recountAll();
        emit statesReset();
        return;
    }
    m_typedValue = false;
    const RowState before = state(position);
    const RowState after = computeState(position);
    count(before, position, -1);
    m_states[size_t(position)] = after;
    count(after, position, 1);
    emit rowStateChanged(position);
}

void TranslationReview::rowsReordered(const QList<qsizetype> &newPositionOf)
{
    if (!isOpen())
        return;
    std::vector<RowState> states(m_states.size());
    std::vector<QStringList> refusals(m_refusals.size());
    for (qsizetype before = 0; before < newPositionOf.size(); ++before) {
        states[size_t(newPositionOf[before])] = m_states[size_t(before)];
        refusals[size_t(newPositionOf[before])] = std::move(m_refusals[size_t(before)]);
    }
    m_states = std::move(states);
    m_refusals = std::move(refusals);
}

void TranslationReview::recountAll()
{
    m_typedValue = false;
    if (!isOpen())
        return;
    const qsizetype rows = m_entries.count();
    m_refusals = stfRefusalsByRow(m_entries, m_codePage);
    m_rowsOfIndex.assign(IndexSlots, 0);
    m_states.resize(size_t(rows));
    m_counts = {};
    for (qsizetype position = 0; position < rows; ++position) {
        if (const std::optional<qint16> index = rowIndex(m_entries.at(position)))
            ++m_rowsOfIndex[slotOf(*index)];
        m_states[size_t(position)] = computeState(position);
        ++m_counts.rows[size_t(m_states[size_t(position)])];
    }
    m_counts.translated = m_counts.of(RowState::Translated);
    m_counts.originals = qsizetype(m_current.indexes().size());
    m_counts.missing = qsizetype(missingIndexes().size());
}

} // namespace wendaro
