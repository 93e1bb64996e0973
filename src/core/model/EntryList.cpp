// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/model/EntryList.h"

#include "core/model/EntryListObserver.h"
#include "core/model/FoldedOrder.h"
#include "core/model/RowChangeRecorder.h"

#include <algorithm>
#include <stdexcept>

namespace wendaro {

EntryList::EntryList(EntryList &&other) noexcept
{
    *this = std::move(other);
}

EntryList &EntryList::operator=(EntryList &&other) noexcept
{
    m_rows = std::move(other.m_rows);
    m_positionOfKey = std::move(other.m_positionOfKey);
    m_keyIndexStale = other.m_keyIndexStale;
    m_sortKey = other.m_sortKey;
    m_sortOrder = other.m_sortOrder;
    m_sorted = other.m_sorted;
    m_lastId = other.m_lastId;
    m_observer = other.m_observer;
    m_revision = std::max(m_revision, other.m_revision) + 1;
    other.m_rows.clear();
    other.m_positionOfKey.clear();
    other.m_observer = nullptr;
    return *this;
}

void EntryList::checkPosition(qsizetype position) const
{
    if (position < 0 || position >= count())
        throw std::out_of_range("EntryList: no row at this position");
}

const Entry &EntryList::at(qsizetype position) const
{
    checkPosition(position);
    return m_rows[size_t(position)];
}

qsizetype EntryList::append(const QString &indexText, std::optional<qint16> key)
{
    return append(Entry{indexText, {}, {}, key});
}

qsizetype EntryList::append(Entry entry)
{
    if (entry.key && positionOfKey(*entry.key) >= 0)
        return -1;
    const qsizetype position = count();
    if (m_observer)
        m_observer->rowAboutToBeAppended(position);
    if (entry.key)
        m_positionOfKey.insert(*entry.key, position);
    m_rows.push_back(std::move(entry));
    ++m_revision;
    if (m_observer)
        m_observer->rowAppended(position);
    if (m_recorder)
        m_recorder->rowsPut(*this, {position});
    return position;
}

qsizetype EntryList::positionOfKey(qint16 key) const
{
    if (m_keyIndexStale)
        rebuildKeyIndex();
    return m_positionOfKey.value(key);
}

void EntryList::rebuildKeyIndex() const
{
    m_positionOfKey.clear();
    for (size_t i = 0; i < m_rows.size(); ++i) {
        if (m_rows[i].key)
            m_positionOfKey.insert(*m_rows[i].key, qsizetype(i));
    }
    m_keyIndexStale = false;
}

void EntryList::setIndexText(qsizetype position, const QString &text)
{
    checkPosition(position);
    m_rows[size_t(position)].indexText = text;
    ++m_revision;
    if (m_observer)
        m_observer->rowChanged(position);
    if (m_recorder)
        m_recorder->rowChanged(*this, position);
}

void EntryList::setName(qsizetype position, const QString &name)
{
    checkPosition(position);
    m_rows[size_t(position)].name = name;
    ++m_revision;
    if (m_observer)
        m_observer->rowChanged(position);
    if (m_recorder)
        m_recorder->rowChanged(*this, position);
}

void EntryList::setValue(qsizetype position, ValueText value)
{
    checkPosition(position);
    m_rows[size_t(position)].value = std::move(value);
    ++m_revision;
    if (m_observer)
        m_observer->rowChanged(position);
    if (m_recorder)
        m_recorder->rowChanged(*this, position);
}

quint32 EntryList::identify(qsizetype position)
{
    checkPosition(position);
    Entry &row = m_rows[size_t(position)];
    if (row.id == 0)
        row.id = ++m_lastId;
    return row.id;
}

std::vector<qsizetype> EntryList::positionsOf(const std::vector<quint32> &ids) const
{
    std::vector<quint32> sought = ids;
    std::sort(sought.begin(), sought.end());
    std::vector<qsizetype> positions;
    positions.reserve(ids.size());
    for (size_t i = 0; i < m_rows.size() && positions.size() < sought.size(); ++i) {
        const quint32 id = m_rows[i].id;
        if (id != 0 && std::binary_search(sought.begin(), sought.end(), id))
            positions.push_back(qsizetype(i));
    }
    return positions;
}

namespace {

bool isOneRun(const std::vector<qsizetype> &positions)
{
    return positions.back() - positions.front() + 1 == qsizetype(positions.size());
}

} // namespace

void EntryList::aboutToChange(const std::vector<qsizetype> &positions, bool inserting)
{
    if (!m_observer)
        return;
    const auto count = qsizetype(positions.size());
    if (!isOneRun(positions))
        m_observer->rowsAboutToBeReset();
    else if (inserting)
        m_observer->rowsAboutToBeInserted(positions.front(), count);
    else
        m_observer->rowsAboutToBeRemoved(positions.front(), count);
}

void EntryList::changed(const std::vector<qsizetype> &positions, bool inserting)
{
    if (!m_observer)
        return;
    const auto count = qsizetype(positions.size());
    if (!isOneRun(positions))
        m_observer->rowsReset();
    else if (inserting)
        m_observer->rowsInserted(positions.front(), count);
    else
        m_observer->rowsRemoved(positions.front(), count);
}

void EntryList::insertRows(std::vector<PlacedEntry> rows)
{
    if (rows.empty())
        return;
    std::vector<qsizetype> positions;
    positions.reserve(rows.size());
    for (PlacedEntry &row : rows) {
        if (row.entry.key && positionOfKey(*row.entry.key) >= 0)
            row.entry.key.reset();
        positions.push_back(row.position);
    }
    const auto total = qsizetype(m_rows.size() + rows.size());
    if (positions.front() < 0 || positions.back() >= total
        || !std::is_sorted(positions.begin(), positions.end(), std::less_equal<>()))
        throw std::out_of_range("EntryList: rows to insert are not placed in order");
    aboutToChange(positions, true);
    // One pass that lays the old rows around the new ones.
    std::vector<Entry> merged;
    merged.reserve(size_t(total));
    auto old = std::make_move_iterator(m_rows.begin());
    size_t next = 0;
    for (qsizetype position = 0; position < total; ++position) {
        if (next < rows.size() && rows[next].position == position)
            merged.push_back(std::move(rows[next++].entry));
        else
            merged.push_back(*old++);
    }
    m_rows = std::move(merged);
    m_keyIndexStale = true;
    ++m_revision;
    changed(positions, true);
    if (m_recorder)
        m_recorder->rowsPut(*this, positions);
}

std::vector<PlacedEntry> EntryList::takeRows(const std::vector<qsizetype> &positions)
{
    std::vector<PlacedEntry> taken;
    if (positions.empty())
        return taken;
    if (positions.front() < 0 || positions.back() >= count()
        || !std::is_sorted(positions.begin(), positions.end(), std::less_equal<>()))
        throw std::out_of_range("EntryList: rows to take are not placed in order");
    aboutToChange(positions, false);
    taken.reserve(positions.size());
    std::vector<Entry> kept;
    kept.reserve(m_rows.size() - positions.size());
    size_t next = 0;
    for (size_t i = 0; i < m_rows.size(); ++i) {
        if (next < positions.size() && positions[next] == qsizetype(i))
            taken.push_back({positions[next++], std::move(m_rows[i])});
        else
            kept.push_back(std::move(m_rows[i]));
    }
    m_rows = std::move(kept);
    m_keyIndexStale = true;
    ++m_revision;
    changed(positions, false);
    if (m_recorder)
        m_recorder->rowsTaken(taken);
    return taken;
}

void EntryList::clear()
{
    if (m_observer)
        m_observer->rowsAboutToBeReset();
    m_rows.clear();
    ++m_revision;
    m_positionOfKey.clear();
    m_keyIndexStale = false;
    if (m_observer)
        m_observer->rowsReset();
    if (m_recorder)
        m_recorder->rowsReset();
}

void EntryList::replaceRows(EntryList &&source)
{
    if (m_observer)
        m_observer->rowsAboutToBeReset();
    m_rows = std::move(source.m_rows);
    ++m_revision;
    m_positionOfKey = std::move(source.m_positionOfKey);
    m_keyIndexStale = source.m_keyIndexStale;
    m_lastId = std::max(m_lastId, source.m_lastId);
    source.m_rows.clear();
    source.m_positionOfKey.clear();
    if (m_observer)
        m_observer->rowsReset();
    if (m_recorder)
        m_recorder->rowsReset();
}

void EntryList::setSorted(bool sorted)
{
    m_sorted = sorted;
    if (sorted && m_rows.size() >= 2)
        applySortedOrder(sortedOrder());
}

std::vector<qsizetype> EntryList::sortedOrder(const std::function<QString(qsizetype position)> &otherText) const
{
    // A key folded from each text's start decides most comparisons with two
    // integer compares; only texts whose starts fold alike are compared
    // whole, folded as they are read, so no value is copied. Only a value
    // that is not held as it is (one with line breaks, still in its file) is
    // decoded, once, and only when its start ties with another.
    std::vector<QString> decoded;
    const bool other = m_sortKey > SortColumn::Value && otherText;
    if (other) {
        decoded.reserve(m_rows.size());
        for (size_t row = 0; row < m_rows.size(); ++row)
            decoded.push_back(otherText(qsizetype(row)));
    }
    const auto textOf = [&, column = m_sortKey](qsizetype row) -> QStringView {
        const Entry &entry = m_rows[size_t(row)];
        if (other)
            return decoded[size_t(row)];
        switch (column) {
        case SortColumn::Name: return entry.name;
        case SortColumn::Value:
            if (const std::optional<QStringView> held = entry.value.held())
                return *held;
            if (decoded.empty())
                decoded.resize(m_rows.size());
            if (decoded[size_t(row)].isNull())
                decoded[size_t(row)] = entry.value.toString();
            return decoded[size_t(row)];
        case SortColumn::IndexText:
        case SortColumn::Original:
        case SortColumn::State: break;
        }
        return entry.indexText;
    };
    // Enough of a value's start for its key, a surrogate pair at its end included.
    constexpr qsizetype KeyStart = 16;
    const auto keyOf = [&](qsizetype row) {
        const ValueText &value = m_rows[size_t(row)].value;
        if (m_sortKey == SortColumn::Value && !other && !value.held())
            return FoldedKey::of(value.left(KeyStart));
        return FoldedKey::of(textOf(row));
    };
    struct Sortable
    {
        FoldedKey key;
        qsizetype row;
    };
    std::vector<Sortable> order;
    order.reserve(m_rows.size());
    for (size_t row = 0; row < m_rows.size(); ++row)
        order.push_back({keyOf(qsizetype(row)), qsizetype(row)});

    // Found for a row at its first tie only.
    std::vector<qsizetype> firstChange(m_rows.size(), -1);
    const auto firstChangeOf = [&](qsizetype row) {
        qsizetype &slot = firstChange[size_t(row)];
        if (slot < 0)
            slot = firstFoldedChange(textOf(row));
        return slot;
    };
    const bool descending = m_sortOrder == SortOrder::Descending;
    std::stable_sort(order.begin(), order.end(), [&](const Sortable &a, const Sortable &b) {
        int c;
        if (a.key == b.key)
            c = compareFolded(textOf(a.row), firstChangeOf(a.row), textOf(b.row), firstChangeOf(b.row));
        else
            c = a.key < b.key ? -1 : 1;
        return descending ? c > 0 : c < 0;
    });

    std::vector<qsizetype> rows;
    rows.reserve(order.size());
    for (const Sortable &sorted : order)
        rows.push_back(sorted.row);
    return rows;
}

void EntryList::applySortedOrder(const std::vector<qsizetype> &order)
{
    if (order.size() != m_rows.size())
        return;
    m_sorted = true;
    if (m_observer)
        m_observer->rowsAboutToBeReordered();
    QList<qsizetype> newPositionOf(count());
    std::vector<Entry> sortedRows;
    sortedRows.reserve(m_rows.size());
    for (size_t i = 0; i < order.size(); ++i) {
        newPositionOf[order[i]] = qsizetype(i);
        sortedRows.push_back(std::move(m_rows[size_t(order[i])]));
    }
    m_rows = std::move(sortedRows);
    ++m_revision;
    m_keyIndexStale = true;
    if (m_observer)
        m_observer->rowsReordered(newPositionOf);
    if (m_recorder)
        m_recorder->rowsReordered(order);
}

} // namespace wendaro
