// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QWidget>

class QLabel;
class QTableView;

namespace wendaro {

class Project;

// The tables of the open project, at the left of the window while one is
// open: a row each with its path and counts, the totals last. Enter or a
// double click opens a table; the table open in the window is the selected
// row.
class ProjectPanel : public QWidget
{
    Q_OBJECT
public:
    ProjectPanel(Project &project, QWidget *parent);

    // The width the panel takes of a client area that wide.
    static int wantedWidth(int clientWidth);

signals:
    void openedOrClosed();

private:
    void showCurrent();
    void openRow(int row);

    Project &m_project;
    QLabel *m_caption;
    QTableView *m_view;
};

} // namespace wendaro
