#include "EntryTableModel.h"

namespace wendaro {

namespace {

constexpr int ColumnCount = 3;

const QString &columnText(const Entry &entry, int column)
{
    switch (column) {
    case 1: return entry.name;
    case 2: return entry.value;
    default: return entry.indexText;
    }
}

} // namespace

EntryTableModel::EntryTableModel(EntryList &entries, QObject *parent)
    : QAbstractTableModel(parent), m_entries(entries)
{
    m_entries.setObserver(this);
}

EntryTableModel::~EntryTableModel()
{
    m_entries.setObserver(nullptr);
}

int EntryTableModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(m_entries.count());
}

int EntryTableModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : ColumnCount;
}

QVariant EntryTableModel::data(const QModelIndex &index, int role) const
{
    if (!checkIndex(index, CheckIndexOption::IndexIsValid))
        return {};
    if (role != Qt::DisplayRole)
        return {};
    return columnText(m_entries.at(index.row() + 1), index.column());
}

QVariant EntryTableModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole || section < 0 || section >= ColumnCount)
        return {};
    static const QString headers[ColumnCount] = {QStringLiteral("Index"), QStringLiteral("Name"),
                                                 QStringLiteral("Value")};
    return headers[section];
}

Qt::ItemFlags EntryTableModel::flags(const QModelIndex &index) const
{
    // Rows are changed only through the entry editor, never in place.
    if (!index.isValid())
        return Qt::NoItemFlags;
    return Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemNeverHasChildren;
}

void EntryTableModel::rowsAboutToBeReset()
{
    m_changing = true;
    beginResetModel();
}

void EntryTableModel::rowsReset()
{
    endResetModel();
    m_changing = false;
}

void EntryTableModel::rowAboutToBeAppended(qsizetype position)
{
    m_changing = true;
    beginInsertRows({}, int(position - 1), int(position - 1));
}

void EntryTableModel::rowAppended(qsizetype)
{
    endInsertRows();
    m_changing = false;
}

void EntryTableModel::rowChanged(qsizetype position)
{
    const int row = int(position - 1);
    emit dataChanged(index(row, 0), index(row, ColumnCount - 1), {Qt::DisplayRole});
}

void EntryTableModel::rowAboutToBeRemoved(qsizetype position)
{
    m_changing = true;
    beginRemoveRows({}, int(position - 1), int(position - 1));
}

void EntryTableModel::rowRemoved(qsizetype)
{
    endRemoveRows();
    m_changing = false;
}

void EntryTableModel::rowsAboutToBeReordered()
{
    m_changing = true;
    emit layoutAboutToBeChanged({}, QAbstractItemModel::VerticalSortHint);
}

void EntryTableModel::rowsReordered(const QList<qsizetype> &newPositionOf)
{
    const QModelIndexList before = persistentIndexList();
    QModelIndexList after;
    after.reserve(before.size());
    for (const QModelIndex &old : before)
        after.append(index(int(newPositionOf[old.row()] - 1), old.column()));
    changePersistentIndexList(before, after);
    emit layoutChanged({}, QAbstractItemModel::VerticalSortHint);
    m_changing = false;
}

void EntryTableModel::selectionChanged()
{
    emit selectedRowChanged();
}

} // namespace wendaro
