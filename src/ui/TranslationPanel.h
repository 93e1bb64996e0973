// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QWidget>

class QGridLayout;
class QLabel;
class QListWidget;
class QTextBrowser;

namespace wendaro {

class MainWindowController;
class ValueEdit;

// The translation panel under the list, shown while an original is open: the
// selected row's original (and the old original's, its changes marked), its
// translation, which changes the row as it is typed, the row's findings and
// the progress of the whole table; under the translation, the suggestions
// of the translation memories, and beside it how many units they hold.
// Line breaks show as lines; Enter in the translation types one.
class TranslationPanel : public QWidget
{
    Q_OBJECT
public:
    TranslationPanel(MainWindowController &controller, QWidget *parent);

    // The height it asks of the list's place.
    int wantedHeight(int listHeight) const;

signals:
    // Shown or hidden: the window lays itself out again.
    void openedOrClosed();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void buildControls();
    void showRow();
    // showRow on the next turn of the event loop, once however often asked.
    void showRowSoon();
    void showTranslation();
    void showState();
    void showProgress();
    void typed();
    void showSuggestions();
    void showTerms();
    void showSpellingMenu(const QPoint &at);
    void showChecksMenu(const QPoint &at);
    void showMemoryCount();

    MainWindowController &m_controller;
    QGridLayout *m_grid = nullptr;
    ValueEdit *m_original = nullptr;
    QLabel *m_oldCaption = nullptr;
    QTextBrowser *m_old = nullptr;
    ValueEdit *m_translation = nullptr;
    QLabel *m_findings = nullptr;
    QLabel *m_progress = nullptr;
    QLabel *m_note = nullptr;
    QListWidget *m_suggestions = nullptr;
    QListWidget *m_terms = nullptr;
    QLabel *m_memoryCount = nullptr;
    // The row the texts are of, and whether the program is filling them.
    qsizetype m_row = -1;
    bool m_filling = false;
    bool m_showQueued = false;
};

} // namespace wendaro
