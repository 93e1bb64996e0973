// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/EntryListView.h"

#include "ui/MainLayout.h"
#include "ui/Twips.h"

#include "control/document/EntryTableModel.h"
#include "control/document/RowSelection.h"

#include "core/model/EntryList.h"

#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFile>
#include <QHeaderView>
#include <QMimeData>
#include <QMouseEvent>
#include <QScopedValueRollback>
#include <QUrl>

#include <algorithm>
#include <vector>

namespace wendaro {

namespace {

// A file URL keeps the bytes of a name that is not UTF-8 percent-encoded,
// while toLocalFile() puts U+FFFD in their place: another file's name.
bool nameDecodesExactly(const QUrl &url)
{
    if (!url.host().isEmpty())
        return true;
    const QByteArray bytes = QByteArray::fromPercentEncoding(url.path(QUrl::FullyEncoded).toLatin1());
    return QFile::encodeName(url.toLocalFile()) == bytes;
}

bool firstNameDecodesExactly(const QMimeData *data)
{
    if (!data)
        return true;
    for (const QUrl &url : data->urls()) {
        if (url.isLocalFile())
            return nameDecodesExactly(url);
    }
    return true;
}

QStringList localFiles(const QMimeData *data)
{
    QStringList paths;
    if (!data)
        return paths;
    for (const QUrl &url : data->urls()) {
        if (url.isLocalFile())
            paths.append(url.toLocalFile());
    }
    return paths;
}

// The same press or release, made by the left button.
QMouseEvent asLeftButton(const QMouseEvent &event)
{
    return QMouseEvent(event.type(), event.position(), event.scenePosition(), event.globalPosition(), Qt::LeftButton,
                       event.type() == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::LeftButton, event.modifiers(),
                       event.pointingDevice());
}

} // namespace

EntryListView::EntryListView(const EntryList &entries, EntryTableModel &model, RowSelection &selection, QWidget *parent)
    : QTreeView(parent), m_entries(entries), m_model(model), m_selection(selection)
{
    setObjectName(QStringLiteral("ListView1"));
    setModel(&m_model);
    // The controller's selection model, shared: the view's own goes with it.
    QItemSelectionModel *own = selectionModel();
    setSelectionModel(&m_selection.model());
    delete own;
    setRootIsDecorated(false);
    setItemsExpandable(false);
    setUniformRowHeights(true);
    setAllColumnsShowFocus(true);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setContextMenuPolicy(Qt::PreventContextMenu);
    // Files dropped on the list open; rows are never dragged.
    setDragEnabled(false);
    setAcceptDrops(true);
    viewport()->setAcceptDrops(true);

    QHeaderView *columns = header();
    columns->setStretchLastSection(false);
    columns->setSectionsMovable(false);
    columns->setSectionsClickable(true);
    columns->setSortIndicatorShown(false);
    columns->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    columns->setSectionResizeMode(QHeaderView::Interactive);
    columns->resizeSection(0, pixelsFromTwips(MainGeometry::IndexColumnWidth));
    columns->resizeSection(1, pixelsFromTwips(MainGeometry::NameColumnWidth));
    columns->resizeSection(2, pixelsFromTwips(MainGeometry::ValueColumnWidth));
    connect(columns, &QHeaderView::sectionResized, this, [this](int section) {
        if (section == int(SortColumn::Value) || section == int(SortColumn::Original))
            fitValuesToColumn();
        if (m_fitting || m_model.columnCount() <= int(SortColumn::State))
            return;
        // The person sized a column: the texts' columns that were not sized
        // so take up what the others leave.
        if (section == int(SortColumn::Value) || section == int(SortColumn::Original))
            m_sizedByPerson.insert(section);
        fitTextColumns();
    });
    fitValuesToColumn();
    connect(columns, &QHeaderView::sectionClicked, this, [this](int section) {
        emit columnClicked(section);
        showSortState();
    });
    // Rows that replace all others come in the order added, whatever order the
    // sort state names: the arrow would claim an order that is not there.
    connect(&m_model, &QAbstractItemModel::modelReset, columns, [columns] { columns->setSortIndicatorShown(false); });
    connect(this, &QAbstractItemView::clicked, this, &EntryListView::itemClicked);
    // A translation's two columns: its original between Name and Value, its
    // state last; the original and the value share the width left.
    connect(&m_model, &QAbstractItemModel::columnsInserted, this, [this, columns](const QModelIndex &, int first) {
        if (first != int(SortColumn::Original))
            return;
        // The selected row's selection spans the new columns too.
        const QModelIndex current = selectionModel()->currentIndex();
        if (current.isValid() && selectionModel()->isRowSelected(current.row()))
            selectionModel()->select(current, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
        const QScopedValueRollback fitting(m_fitting, true);
        columns->moveSection(columns->visualIndex(int(SortColumn::Original)), int(SortColumn::Value));
        columns->resizeSection(int(SortColumn::State), pixelsFromTwips(MainGeometry::IndexColumnWidth));
        m_sizedByPerson.clear();
        fitTextColumns();
    });
    connect(&m_model, &QAbstractItemModel::columnsRemoved, this, [this, columns] {
        const QScopedValueRollback fitting(m_fitting, true);
        columns->resizeSection(int(SortColumn::Value), pixelsFromTwips(MainGeometry::ValueColumnWidth));
    });
}

void EntryListView::fitTextColumns()
{
    QHeaderView *columns = header();
    if (m_model.columnCount() <= int(SortColumn::State))
        return;
    int left = viewport()->width();
    std::vector<int> filling;
    for (int section = 0; section < columns->count(); ++section) {
        const bool text = section == int(SortColumn::Original) || section == int(SortColumn::Value);
        if (text && !m_sizedByPerson.contains(section))
            filling.push_back(section);
        else
            left -= columns->sectionSize(section);
    }
    if (filling.empty())
        return;
    // Never narrower than the index column: a narrow window scrolls instead.
    const int least = pixelsFromTwips(MainGeometry::IndexColumnWidth);
    const int count = int(filling.size());
    const QScopedValueRollback fitting(m_fitting, true);
    for (int i = 0; i < count; ++i) {
        // The first takes the pixel the division leaves over.
        const int share = left / count + (i == 0 ? left % count : 0);
        columns->resizeSection(filling[std::size_t(i)], std::max(least, share));
    }
}

void EntryListView::resizeEvent(QResizeEvent *event)
{
    QTreeView::resizeEvent(event);
    fitTextColumns();
}

void EntryListView::fitValuesToColumn()
{
    // Counted at the narrowest common characters, doubled for marks that take
    // no room of their own: the cut always lies beyond the column's edge.
    const QFontMetrics metrics = fontMetrics();
    int narrowest = metrics.averageCharWidth();
    for (const QChar c : QStringLiteral(" .,:;'!|iIjl1"))
        narrowest = qMin(narrowest, metrics.horizontalAdvance(c));
    // The original's column, while it shows, cuts its texts at the same length.
    int widest = header()->sectionSize(int(SortColumn::Value));
    if (m_model.columnCount() > int(SortColumn::Original))
        widest = qMax(widest, header()->sectionSize(int(SortColumn::Original)));
    m_model.setValueShownLength(2 * widest / qMax(1, narrowest) + 16);
}

void EntryListView::changeEvent(QEvent *event)
{
    QTreeView::changeEvent(event);
    if (event->type() == QEvent::FontChange)
        fitValuesToColumn();
}

void EntryListView::showSortState()
{
    QHeaderView *columns = header();
    if (!m_entries.isSorted()) {
        columns->setSortIndicatorShown(false);
        return;
    }
    columns->setSortIndicator(int(m_entries.sortKey()), m_entries.sortOrder() == SortOrder::Descending
                                                            ? Qt::DescendingOrder
                                                            : Qt::AscendingOrder);
    columns->setSortIndicatorShown(true);
}

void EntryListView::mousePressEvent(QMouseEvent *event)
{
    if (event->button() != Qt::LeftButton && event->button() != Qt::RightButton)
        return;
    if (!indexAt(event->position().toPoint()).isValid()) {
        // The row stays the selected item, shown unselected.
        selectionModel()->clearSelection();
        return;
    }
    QMouseEvent left = asLeftButton(*event);
    QTreeView::mousePressEvent(&left);
}

void EntryListView::mouseReleaseEvent(QMouseEvent *event)
{
    if (event->button() != Qt::LeftButton && event->button() != Qt::RightButton)
        return;
    QMouseEvent left = asLeftButton(*event);
    QTreeView::mouseReleaseEvent(&left);
    if (event->button() == Qt::RightButton)
        emit contextMenuRequested(event->globalPosition().toPoint());
}

void EntryListView::mouseDoubleClickEvent(QMouseEvent *event)
{
    if (event->button() != Qt::LeftButton)
        return;
    if (indexAt(event->position().toPoint()).isValid())
        QTreeView::mouseDoubleClickEvent(event);
    emit listDoubleClicked();
}

void EntryListView::keyPressEvent(QKeyEvent *event)
{
    // Before the item view, whose Ctrl+C would copy one cell.
    if (const std::optional<ListKey> key = listKeyOf(*event)) {
        event->accept();
        emit listKeyPressed(*key);
        return;
    }
    const qsizetype before = m_selection.row();
    const bool shownBefore = m_selection.isShown();
    QTreeView::keyPressEvent(event);
    if (m_selection.row() != before || m_selection.isShown() != shownBefore)
        emit itemClicked();
}

void EntryListView::focusInEvent(QFocusEvent *event)
{
    // The item view would make the first row current when the list gets the
    // focus without one; the list control has no selected item then.
    if (m_selection.hasRow()) {
        QTreeView::focusInEvent(event);
        return;
    }
    QAbstractScrollArea::focusInEvent(event); // NOLINT(bugprone-parent-virtual-call): skips the current row it makes
    viewport()->update();
}

void EntryListView::dragEnterEvent(QDragEnterEvent *event)
{
    if (event->mimeData()->hasUrls())
        event->acceptProposedAction();
}

void EntryListView::dragMoveEvent(QDragMoveEvent *event)
{
    if (event->mimeData()->hasUrls())
        event->acceptProposedAction();
}

void EntryListView::dropEvent(QDropEvent *event)
{
    event->acceptProposedAction();
    emit filesDropped(localFiles(event->mimeData()), firstNameDecodesExactly(event->mimeData()));
}

} // namespace wendaro
