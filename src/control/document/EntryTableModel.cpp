// SPDX-License-Identifier: GPL-3.0-or-later
#include "control/document/EntryTableModel.h"

#include "control/translation/TranslationStatus.h"

namespace wendaro {

namespace {

constexpr int ColumnCount = 3;
constexpr int OriginalColumn = 3;
constexpr int StateColumn = 4;
// A tooltip larger than this would cover the screen and take long to lay out.
constexpr qsizetype TipMaxChars = 2000;
constexpr qsizetype TipMaxLines = 40;

// Rich text, so that a long line wraps while spaces stay as typed; the value is
// escaped, since markup in a value is text to show, not to render or load from.
QString valueTip(const QString &value)
{
    if (value.isEmpty())
        return {};
    QStringList lines = value.split(QStringLiteral("<br>"));
    bool cut = false;
    if (lines.size() > TipMaxLines) {
        lines.resize(TipMaxLines);
        cut = true;
    }
    QString text = lines.join(QLatin1Char('\n'));
    if (text.size() > TipMaxChars) {
        qsizetype end = TipMaxChars;
        if (text.at(end - 1).isHighSurrogate())
            --end;
        text.truncate(end);
        cut = true;
    }
    if (cut)
        text += QChar(0x2026);
    return QStringLiteral("<p style=\"white-space:pre-wrap\">")
           + text.toHtmlEscaped().replace(u'\n', QStringLiteral("<br>")) + QStringLiteral("</p>");
}

// The start of a long value: the view elides what does not fit anyway, and
// handing it the whole value makes every paint cost its length.
QString shownValue(const ValueText &value, qsizetype length)
{
    if (value.size() <= length)
        return value.toString();
    // One unit more, to see whether the cut would split a surrogate pair.
    QString start = value.left(length + 1);
    if (start.at(length - 1).isHighSurrogate() && start.at(length).isLowSurrogate())
        --length;
    start.truncate(length);
    return start + QChar(0x2026);
}

} // namespace

EntryTableModel::EntryTableModel(EntryList &entries, QObject *parent) : QAbstractTableModel(parent), m_entries(entries)
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
    return parent.isValid() ? 0 : m_reviewColumns ? StateColumn + 1 : ColumnCount;
}

QVariant EntryTableModel::data(const QModelIndex &index, int role) const
{
    if (!checkIndex(index, CheckIndexOption::IndexIsValid))
        return {};
    const Entry &entry = m_entries.at(index.row());
    if (index.column() >= OriginalColumn) {
        if (!m_translationStatus || !m_translationStatus->isOpen())
            return {};
        if (index.column() == StateColumn)
            return role == Qt::DisplayRole ? rowStateWord(m_translationStatus->state(index.row())) : QVariant();
        const Entry *original = m_translationStatus->originalOf(index.row());
        if (!original)
            return {};
        if (role == Qt::ToolTipRole)
            return valueTip(original->value.toString());
        return role == Qt::DisplayRole ? shownValue(original->value, m_valueShownLength) : QVariant();
    }
    if (role == Qt::ToolTipRole && index.column() == 2)
        return valueTip(entry.value.toString());
    if (role != Qt::DisplayRole)
        return {};
    if (index.column() == 2)
        return shownValue(entry.value, m_valueShownLength);
    return index.column() == 1 ? entry.name : entry.indexText;
}

QVariant EntryTableModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole || section < 0 || section >= columnCount())
        return {};
    static const QString headers[StateColumn + 1] = {QStringLiteral("Index"), QStringLiteral("Name"),
                                                     QStringLiteral("Value"), QStringLiteral("原文"),
                                                     QStringLiteral("状態")};
    return headers[section];
}

Qt::ItemFlags EntryTableModel::flags(const QModelIndex &index) const
{
    // Rows are changed only through the entry editor, never in place.
    if (!index.isValid())
        return Qt::NoItemFlags;
    return Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemNeverHasChildren;
}

QModelIndexList EntryTableModel::match(const QModelIndex &start, int role, const QVariant &value, int hits,
                                       Qt::MatchFlags flags) const
{
    const Qt::MatchFlags how = flags & Qt::MatchTypeMask;
    if (role != Qt::DisplayRole || how != Qt::MatchStartsWith || !checkIndex(start, CheckIndexOption::IndexIsValid))
        return QAbstractTableModel::match(start, role, value, hits, flags);

    const QString typed = value.toString();
    const bool byIndex = !typed.isEmpty() && typed.at(0) >= u'0' && typed.at(0) <= u'9';
    const Qt::CaseSensitivity cs = flags.testFlag(Qt::MatchCaseSensitive) ? Qt::CaseSensitive : Qt::CaseInsensitive;
    const int rows = rowCount();
    const int from = start.row();
    const int count = flags.testFlag(Qt::MatchWrap) ? rows : rows - from;
    QModelIndexList found;
    for (int i = 0; i < count && (hits == -1 || found.size() < hits); ++i) {
        const int row = (from + i) % rows;
        const Entry &entry = m_entries.at(row);
        const bool hit = byIndex ? QStringView(entry.indexText).trimmed().startsWith(typed)
                                 : entry.name.startsWith(typed, cs);
        if (hit)
            found.append(index(row, start.column()));
    }
    return found;
}

void EntryTableModel::rowsAboutToBeReset()
{
    beginResetModel();
}

void EntryTableModel::rowsReset()
{
    if (m_translationStatus)
        m_translationStatus->rowsReset();
    endResetModel();
}

void EntryTableModel::rowAboutToBeAppended(qsizetype position)
{
    beginInsertRows({}, int(position), int(position));
}

void EntryTableModel::rowAppended(qsizetype position)
{
    if (m_translationStatus)
        m_translationStatus->rowAppended(position);
    endInsertRows();
}

void EntryTableModel::rowChanged(qsizetype position)
{
    if (m_translationStatus)
        m_translationStatus->rowChanged(position);
    const int row = int(position);
    emit dataChanged(index(row, 0), index(row, columnCount() - 1), {Qt::DisplayRole});
}

void EntryTableModel::rowsAboutToBeInserted(qsizetype position, qsizetype count)
{
    beginInsertRows({}, int(position), int(position + count - 1));
}

void EntryTableModel::rowsInserted(qsizetype position, qsizetype count)
{
    if (m_translationStatus)
        m_translationStatus->rowsInserted(position, count);
    endInsertRows();
}

void EntryTableModel::rowsAboutToBeRemoved(qsizetype position, qsizetype count)
{
    beginRemoveRows({}, int(position), int(position + count - 1));
}

void EntryTableModel::rowsRemoved(qsizetype position, qsizetype count)
{
    if (m_translationStatus)
        m_translationStatus->rowsRemoved(position, count);
    endRemoveRows();
}

void EntryTableModel::rowsAboutToBeReordered()
{
    emit layoutAboutToBeChanged({}, QAbstractItemModel::VerticalSortHint);
}

void EntryTableModel::rowsReordered(const QList<qsizetype> &newPositionOf)
{
    if (m_translationStatus)
        m_translationStatus->rowsReordered(newPositionOf);
    const QModelIndexList before = persistentIndexList();
    QModelIndexList after;
    after.reserve(before.size());
    for (const QModelIndex &old : before)
        after.append(index(int(newPositionOf[old.row()]), old.column()));
    changePersistentIndexList(before, after);
    emit layoutChanged({}, QAbstractItemModel::VerticalSortHint);
}

void EntryTableModel::setTranslationStatus(TranslationStatus *status)
{
    m_translationStatus = status;
    connect(status, &TranslationStatus::openChanged, this, &EntryTableModel::originalOpened);
    connect(status, &TranslationStatus::statesReset, this, [this] {
        if (m_reviewColumns && rowCount() > 0)
            emit dataChanged(index(0, OriginalColumn), index(rowCount() - 1, StateColumn), {Qt::DisplayRole});
    });
    connect(status, &TranslationStatus::rowStateChanged, this, [this](qsizetype position) {
        if (m_reviewColumns)
            emit dataChanged(index(int(position), StateColumn), index(int(position), StateColumn), {Qt::DisplayRole});
    });
}

void EntryTableModel::originalOpened(bool open)
{
    if (open == m_reviewColumns)
        return;
    if (open)
        beginInsertColumns({}, OriginalColumn, StateColumn);
    else
        beginRemoveColumns({}, OriginalColumn, StateColumn);
    m_reviewColumns = open;
    if (open)
        endInsertColumns();
    else
        endRemoveColumns();
}

} // namespace wendaro
