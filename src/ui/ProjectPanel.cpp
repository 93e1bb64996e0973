// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/ProjectPanel.h"

#include "control/project/Project.h"

#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QTableView>
#include <QVBoxLayout>

#include <algorithm>

namespace wendaro {

namespace {

// Enter opens the row's table, as a double click does.
class ProjectView : public QTableView
{
public:
    using QTableView::QTableView;
    std::function<void(int row)> opened;

protected:
    void keyPressEvent(QKeyEvent *event) override
    {
        if ((event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) && event->modifiers() == Qt::NoModifier
            && currentIndex().isValid()) {
            opened(currentIndex().row());
            return;
        }
        QTableView::keyPressEvent(event);
    }
};

} // namespace

ProjectPanel::ProjectPanel(Project &project, QWidget *parent) : QWidget(parent), m_project(project)
{
    setObjectName(QStringLiteral("projectPanel"));
    m_caption = new QLabel(QStringLiteral("プロジェクト"), this);
    auto *view = new ProjectView(this);
    m_view = view;
    m_view->setObjectName(QStringLiteral("lstProject"));
    m_view->setAccessibleName(QStringLiteral("プロジェクト"));
    m_caption->setBuddy(m_view);
    m_view->setModel(&project.model());
    m_view->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_view->setSelectionMode(QAbstractItemView::SingleSelection);
    m_view->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_view->setWordWrap(false);
    m_view->setTextElideMode(Qt::ElideLeft); // the file's name is the end of its path
    m_view->verticalHeader()->hide();
    m_view->verticalHeader()->setDefaultSectionSize(m_view->fontMetrics().height() + 4);
    m_view->horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
    m_view->horizontalHeader()->setSectionResizeMode(ProjectTableModel::Path, QHeaderView::Stretch);
    m_view->setSortingEnabled(true);
    m_view->horizontalHeader()->setSortIndicator(-1, Qt::AscendingOrder);
    view->opened = [this](int row) { openRow(row); };
    connect(m_view, &QAbstractItemView::doubleClicked, this,
            [this](const QModelIndex &index) { openRow(index.row()); });

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 4, 0);
    layout->setSpacing(2);
    layout->addWidget(m_caption);
    layout->addWidget(m_view);

    hide();
    connect(&project, &Project::opened, this, [this] {
        if (isHidden()) {
            show();
            emit openedOrClosed();
        }
        showCurrent();
    });
    connect(&project, &Project::currentTableChanged, this, &ProjectPanel::showCurrent);
}

int ProjectPanel::wantedWidth(int clientWidth)
{
    return std::clamp(clientWidth * 3 / 10, 220, 460);
}

void ProjectPanel::openRow(int row)
{
    m_project.openTable(m_project.model().tableAt(row));
}

void ProjectPanel::showCurrent()
{
    const int row = m_project.model().rowOf(m_project.currentTable());
    if (row < 0) {
        m_view->clearSelection();
        return;
    }
    m_view->selectRow(row);
    m_view->scrollTo(m_project.model().index(row, 0));
}

} // namespace wendaro
