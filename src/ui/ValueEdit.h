// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QPlainTextEdit>
#include <QStringList>

namespace wendaro {

// The multi-line value field. The text document behind a plain text edit
// turns every kind of line end (CR LF, a lone CR, a lone LF, U+2029) into the
// same paragraph break; this field remembers, for each break, the characters
// that made it, so that value() gives back exactly what setValue() was given
// until the person edits there. A line break the person types or pastes is
// CR LF. Typing and pasting are limited to typingLimit characters (a line
// break counting as its characters); a longer value set by the program is kept.
class ValueEdit : public QPlainTextEdit
{
    Q_OBJECT
public:
    explicit ValueEdit(int typingLimit, QWidget *parent = nullptr);

    void setValue(const QString &value);
    QString value() const;

protected:
    void keyPressEvent(QKeyEvent *event) override;
    void inputMethodEvent(QInputMethodEvent *event) override;
    void insertFromMimeData(const QMimeData *source) override;

private:
    void followChange(int position, int charsRemoved, int charsAdded);
    qsizetype valueLength() const;
    // How many characters the person may insert in place of the selection.
    qsizetype room() const;
    // The longest start of text that fits into room, line breaks as CR LF.
    QString fitted(const QString &text) const;

    int m_typingLimit;
    QStringList m_breaks; // m_breaks[i] ends block i
    int m_blockCount = 1;
    bool m_filling = false;
};

} // namespace wendaro
