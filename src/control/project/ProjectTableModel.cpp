// SPDX-License-Identifier: GPL-3.0-or-later
#include "control/project/ProjectTableModel.h"

#include <algorithm>
#include <limits>
#include <numeric>

namespace wendaro {

namespace {

const QString Uncounted = QStringLiteral("…");

qsizetype countIn(const StateCounts &counts, int column)
{
    switch (column) {
    case ProjectTableModel::Percent: return counts.percent();
    case ProjectTableModel::Untranslated: return counts.of(RowState::Untranslated);
    case ProjectTableModel::Review: return counts.of(RowState::NeedsReview);
    case ProjectTableModel::Problems: return counts.of(RowState::Problem);
    case ProjectTableModel::Missing: return counts.missing;
    default: return 0;
    }
}

} // namespace

void ProjectTableModel::reset(std::vector<ProjectTable> tables)
{
    beginResetModel();
    m_tables.clear();
    m_tables.reserve(tables.size());
    for (ProjectTable &table : tables)
        m_tables.push_back({std::move(table), std::nullopt});
    m_order.resize(m_tables.size());
    std::iota(m_order.begin(), m_order.end(), 0);
    m_rowOf.resize(m_tables.size());
    std::iota(m_rowOf.begin(), m_rowOf.end(), 0);
    endResetModel();
}

void ProjectTableModel::setProgress(qsizetype number, TableProgress progress)
{
    m_tables[size_t(number)].progress = std::move(progress);
    tableChanged(number);
}

void ProjectTableModel::setCounts(qsizetype number, const StateCounts &counts)
{
    std::optional<TableProgress> &progress = m_tables[size_t(number)].progress;
    if (!progress)
        progress.emplace();
    progress->failedFile.clear();
    progress->counts = counts;
    tableChanged(number);
}

void ProjectTableModel::setTranslated(qsizetype number)
{
    m_tables[size_t(number)].table.hasTranslation = true;
    tableChanged(number);
}

void ProjectTableModel::tableChanged(qsizetype number)
{
    const int row = rowOf(number);
    emit dataChanged(index(row, 0), index(row, ColumnCount - 1));
    const int totals = int(m_tables.size());
    emit dataChanged(index(totals, 0), index(totals, ColumnCount - 1));
}

qsizetype ProjectTableModel::tableAt(int row) const
{
    return row >= 0 && size_t(row) < m_order.size() ? m_order[size_t(row)] : -1;
}

int ProjectTableModel::rowOf(qsizetype number) const
{
    return number >= 0 && size_t(number) < m_rowOf.size() ? m_rowOf[size_t(number)] : -1;
}

bool ProjectTableModel::hasWork(qsizetype number) const
{
    const std::optional<TableProgress> &progress = m_tables[size_t(number)].progress;
    if (!progress || !progress->failedFile.isEmpty() || !m_tables[size_t(number)].table.hasOriginal)
        return false;
    const StateCounts &counts = progress->counts;
    return counts.of(RowState::Untranslated) + counts.of(RowState::NeedsReview) + counts.of(RowState::Problem) > 0;
}

StateCounts ProjectTableModel::total() const
{
    StateCounts total;
    for (const Row &row : m_tables) {
        if (row.progress && row.progress->failedFile.isEmpty())
            addCounts(total, row.progress->counts);
    }
    return total;
}

int ProjectTableModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() || m_tables.empty() ? 0 : int(m_tables.size()) + 1;
}

int ProjectTableModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : ColumnCount;
}

QVariant ProjectTableModel::text(qsizetype number, int column) const
{
    const Row &row = m_tables[size_t(number)];
    if (column == Path)
        return row.table.path;
    if (!row.progress)
        return Uncounted;
    if (!row.progress->failedFile.isEmpty())
        return column == Percent ? QStringLiteral("読めません") : QString();
    if (column == Percent && !row.table.hasTranslation)
        return QStringLiteral("訳なし");
    if (column == Percent && !row.table.hasOriginal)
        return QStringLiteral("原文なし");
    return column == Percent ? QStringLiteral("%1 %").arg(row.progress->counts.percent())
                             : QString::number(countIn(row.progress->counts, column));
}

QVariant ProjectTableModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || index.row() >= rowCount())
        return {};
    const qsizetype number = tableAt(index.row());
    const int column = index.column();
    switch (role) {
    case Qt::DisplayRole:
        if (number >= 0)
            return text(number, column);
        if (column == Path)
            return QStringLiteral("合計");
        return column == Percent ? QStringLiteral("%1 %").arg(total().percent())
                                 : QVariant(QString::number(countIn(total(), column)));
    case Qt::ToolTipRole:
        if (number >= 0 && m_tables[size_t(number)].progress
            && !m_tables[size_t(number)].progress->failedFile.isEmpty()) {
            const TableProgress &progress = *m_tables[size_t(number)].progress;
            return progress.failedFile + QStringLiteral(": ") + progress.error;
        }
        return {};
    case Qt::TextAlignmentRole: return column == Path ? QVariant() : QVariant(int(Qt::AlignRight | Qt::AlignVCenter));
    default: return {};
    }
}

QVariant ProjectTableModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
        return {};
    static const QString names[ColumnCount] = {QStringLiteral("パス"), QStringLiteral("翻訳済み"),
                                               QStringLiteral("未訳"), QStringLiteral("要確認"),
                                               QStringLiteral("問題"), QStringLiteral("不足")};
    return section >= 0 && section < ColumnCount ? names[section] : QVariant();
}

void ProjectTableModel::sort(int column, Qt::SortOrder order)
{
    if (column < 0 || column >= ColumnCount)
        return;
    emit layoutAboutToBeChanged({}, QAbstractItemModel::VerticalSortHint);
    const QModelIndexList before = persistentIndexList();
    // A table not counted yet, or not read, sorts after every count.
    const auto key = [&](qsizetype number) -> qsizetype {
        const std::optional<TableProgress> &progress = m_tables[size_t(number)].progress;
        if (!progress || !progress->failedFile.isEmpty())
            return order == Qt::AscendingOrder ? std::numeric_limits<qsizetype>::max() : -1;
        return countIn(progress->counts, column);
    };
    const std::vector<qsizetype> oldOrder = m_order;
    std::stable_sort(m_order.begin(), m_order.end(), [&](qsizetype a, qsizetype b) {
        if (column == Path) {
            const int compared = QString::compare(table(a).path, table(b).path);
            return order == Qt::AscendingOrder ? compared < 0 : compared > 0;
        }
        return order == Qt::AscendingOrder ? key(a) < key(b) : key(a) > key(b);
    });
    for (size_t row = 0; row < m_order.size(); ++row)
        m_rowOf[size_t(m_order[row])] = int(row);
    QModelIndexList after;
    for (const QModelIndex &old : before) {
        const int row = old.row() < int(oldOrder.size()) ? m_rowOf[size_t(oldOrder[size_t(old.row())])] : old.row();
        after << index(row, old.column());
    }
    changePersistentIndexList(before, after);
    emit layoutChanged({}, QAbstractItemModel::VerticalSortHint);
}

} // namespace wendaro
