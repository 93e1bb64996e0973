// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "control/find/FindView.h"

#include <QWidget>

class QCheckBox;
class QComboBox;
class QHBoxLayout;
class QLabel;
class QLineEdit;
class QToolButton;

namespace wendaro {

class RowFinder;
class EntryListView;
class MainWindowController;

// The find bar under the list: the text to find, previous and next, the
// options, the filter switch and the count, and under them the replace row.
// Hidden until asked for; the window lays it out and gives it the list's
// bottom. Its keys work in the whole window: Ctrl+F opens it (only with a
// file open), Ctrl+H opens it with the replace row, F3 and Shift+F3 open it
// or go to the next or previous match, Enter and Shift+Enter in its field do
// too, and Escape closes it, handing the focus back to the list. While an
// original is open its columns are choices too.
//
// It is the finder's view of the list: the filter hides rows of the list,
// which keeps them hidden or shown as rows come, change, go or move.
class FindBar : public QWidget, public FindView
{
    Q_OBJECT
public:
    FindBar(MainWindowController &controller, EntryListView &list, QWidget *parent);
    ~FindBar() override;

    // Ctrl+F: shows the bar with the focus in its field, its text selected;
    // Ctrl+H: the same with the replace row.
    void openBar(bool replacing = false);
    // Escape: hides the bar, shows every row and gives the focus to the list.
    void closeBar();

    // FindView
    bool isRowShown(qsizetype position) const override;
    void showRows(const std::vector<bool> &shown) override;
    void revealRow(qsizetype position) override;
    void findStatusChanged(const QString &status) override;

signals:
    // Shown or hidden: the window lays itself out again.
    void openedOrClosed();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void buildControls();
    // The text to find, previous and next, and the count.
    QHBoxLayout *buildFindRow();
    // Case, regular expression, the columns and the filter.
    QHBoxLayout *buildOptions();
    // The replacement and its buttons, hidden until Ctrl+H.
    void buildReplaceRow();
    void connectControls();
    void connectKeys(QWidget &window);
    void followList();
    void queryChanged();
    // The translation's columns come and go with the original.
    void showTranslationColumns(bool open);
    void showReplaceRow(bool shown);
    // F3 or Shift+F3.
    void step(bool forward);

    MainWindowController &m_controller;
    RowFinder &m_finder;
    EntryListView &m_list;
    QLineEdit *m_text = nullptr;
    QToolButton *m_previous = nullptr;
    QToolButton *m_next = nullptr;
    QLabel *m_count = nullptr;
    QCheckBox *m_case = nullptr;
    QCheckBox *m_regex = nullptr;
    QComboBox *m_columns = nullptr;
    QCheckBox *m_filter = nullptr;
    QWidget *m_replaceRow = nullptr;
    QLineEdit *m_replacement = nullptr;
    QToolButton *m_replace = nullptr;
    QToolButton *m_replaceAll = nullptr;
    // Whether the filter hides any row, so that showing all costs nothing otherwise.
    bool m_anyHidden = false;
};

} // namespace wendaro
