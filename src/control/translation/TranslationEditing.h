// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/text/CodePage.h"

#include <QObject>
#include <QString>

#include <functional>

namespace wendaro {

class UserInterface;
class Document;

// Translating in the window: the originals opened beside the table, the
// translation typed for the selected row, done-and-next and the other keys
// of translation. Every change of rows it makes is a command of the history.
class TranslationEditing : public QObject
{
    Q_OBJECT
public:
    TranslationEditing(Document &state, UserInterface &ui, CodePage codePage);

    // Which rows the list shows (the find bar's filter may hide some).
    void setRowShown(std::function<bool(qsizetype position)> isShown) { m_isShown = std::move(isShown); }

    // Ctrl+R and Ctrl+Shift+R: the file dialog, then openOriginal. Nothing
    // without a table open, and no old original without an original.
    void chooseOriginal(bool old);
    // Reads the table at path as the original (or the old original) of the
    // open one. A table that cannot be read gets the load's message box and
    // changes nothing. True when opened.
    bool openOriginal(const QString &path, bool old);

    // The translation field's text (line breaks as the list holds them) for
    // the selected row; one command for all the typing of one visit of a row.
    void typeTranslation(const QString &value);
    // The selected row is visited anew: the next typing is a command of its own.
    void rowVisited() { ++m_visit; }
    // Ctrl+Enter: accepts the selected row and goes to the next row to work on.
    void acceptAndNext();
    // Alt+Down, Alt+Up: the next or previous row to work on, wrapping.
    void goToWork(int step);
    // Ctrl+B: the original's value becomes the selected row's.
    void copyOriginal();
    // Ctrl+Z in the translation field once the field has nothing of its own
    // to take back (it starts each fill of the row empty): takes back the copy
    // of the original or the suggestion that filled the selected row, when
    // that is the history's last change. True when it was.
    bool undoFill();
    // Ctrl+Shift+A: a row for each index of the original that the table lacks.
    void addMissingRows();
    // The row's value was set for the person (a suggestion taken), who goes on in the translation field.
    void continueTyping() { emit translationWanted(false); }

signals:
    // A word about the last move ("先頭から検索しました"), or none.
    void noteChanged(const QString &note);
    // The person goes on typing the translation of the row now selected;
    // typeOver: its value is the original's, copied, which typing replaces.
    void translationWanted(bool typeOver);

private:
    // The next row after the selected one in step's direction that needs
    // work and is shown, wrapping; -1 when there is none. *wrapped tells.
    qsizetype nextToWork(int step, bool *wrapped) const;

    Document &m_state;
    UserInterface &m_ui;
    CodePage m_codePage;
    std::function<bool(qsizetype position)> m_isShown;
    // The dialogs keep their last choice.
    QString m_dialogFileName;
    quint64 m_visit = 1;
};

} // namespace wendaro
