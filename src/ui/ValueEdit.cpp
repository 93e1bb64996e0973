// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/ValueEdit.h"

#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QMimeData>
#include <QTextBlock>
#include <algorithm>

namespace wendaro {

namespace {

const QString TypedLineBreak = QStringLiteral("\r\n");

// The characters at which the text document starts a new paragraph.
bool isParagraphBreak(QChar c)
{
    return c == u'\n' || c == u'\r' || c == QChar::ParagraphSeparator || c == QChar(0xfdd0) || c == QChar(0xfdd1);
}

// The length of the line break that starts at text[i]: CR LF is one break.
qsizetype breakLength(const QString &text, qsizetype i)
{
    return text[i] == u'\r' && i + 1 < text.size() && text[i + 1] == u'\n' ? 2 : 1;
}

} // namespace

ValueEdit::ValueEdit(int typingLimit, QWidget *parent) : QPlainTextEdit(parent), m_typingLimit(typingLimit)
{
    setTabChangesFocus(true);
    setLineWrapMode(QPlainTextEdit::WidgetWidth);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    connect(document(), &QTextDocument::contentsChange, this, &ValueEdit::followChange);
}

void ValueEdit::setValue(const QString &value)
{
    QStringList lines;
    QStringList breaks;
    qsizetype start = 0;
    for (qsizetype i = 0; i < value.size(); ++i) {
        if (!isParagraphBreak(value[i]))
            continue;
        const qsizetype length = breakLength(value, i);
        lines.append(value.sliced(start, i - start));
        breaks.append(value.sliced(i, length));
        i += length - 1;
        start = i + 1;
    }
    lines.append(value.sliced(start));

    m_filling = true;
    setPlainText(lines.join(u'\n'));
    m_filling = false;
    m_breaks = breaks;
    m_blockCount = document()->blockCount();
}

QString ValueEdit::value() const
{
    QString text;
    int i = 0;
    for (QTextBlock block = document()->begin(); block.isValid(); block = block.next(), ++i) {
        if (i > 0)
            text += i - 1 < m_breaks.size() ? m_breaks[i - 1] : TypedLineBreak;
        text += block.text();
    }
    return text;
}

void ValueEdit::followChange(int position, int, int charsAdded)
{
    if (m_filling)
        return;
    const QTextDocument *doc = document();
    const int newCount = doc->blockCount();
    const int first = doc->findBlock(position).blockNumber();
    const int end = std::min(position + charsAdded, doc->characterCount() - 1);
    const int added = std::max(0, doc->findBlock(end).blockNumber() - first);
    const int removed = std::max(0, m_blockCount - newCount + added);
    const int from = std::clamp(first, 0, int(m_breaks.size()));
    const int count = std::min(removed, int(m_breaks.size()) - from);
    m_breaks.remove(from, count);
    for (int i = 0; i < added; ++i)
        m_breaks.insert(from, TypedLineBreak);
    m_blockCount = newCount;
}

qsizetype ValueEdit::valueLength() const
{
    return value().size();
}

qsizetype ValueEdit::room() const
{
    const QTextCursor cursor = textCursor();
    const QTextDocument *doc = document();
    const int firstBlock = doc->findBlock(cursor.selectionStart()).blockNumber();
    const int lastBlock = doc->findBlock(cursor.selectionEnd()).blockNumber();
    qsizetype selected = cursor.selectionEnd() - cursor.selectionStart();
    for (int i = firstBlock; i < lastBlock && i < m_breaks.size(); ++i)
        selected += m_breaks[i].size() - 1;
    const qsizetype length = valueLength();
    return std::max<qsizetype>(m_typingLimit, length) - (length - selected);
}

QString ValueEdit::fitted(const QString &text) const
{
    qsizetype left = room();
    qsizetype i = 0;
    while (i < text.size()) {
        const bool lineBreak = isParagraphBreak(text[i]);
        const qsizetype cost = lineBreak ? TypedLineBreak.size() : 1;
        if (cost > left)
            break;
        left -= cost;
        i += lineBreak ? breakLength(text, i) : 1;
    }
    return text.first(i);
}

void ValueEdit::keyPressEvent(QKeyEvent *event)
{
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        // Every Enter, with or without Shift, is a line break of the value.
        if (room() < TypedLineBreak.size())
            return;
        QKeyEvent plainReturn(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier, QStringLiteral("\r"));
        QPlainTextEdit::keyPressEvent(&plainReturn);
        return;
    }
    const QString typed = event->text();
    const bool inserts = !typed.isEmpty() && typed.front().isPrint() && !(event->modifiers() & Qt::ControlModifier);
    if (inserts && fitted(typed).size() < typed.size())
        return;
    QPlainTextEdit::keyPressEvent(event);
}

void ValueEdit::inputMethodEvent(QInputMethodEvent *event)
{
    const QString commit = event->commitString();
    const QString fits = fitted(commit);
    if (fits.size() == commit.size()) {
        QPlainTextEdit::inputMethodEvent(event);
        return;
    }
    QInputMethodEvent cut(event->preeditString(), event->attributes());
    cut.setCommitString(fits, event->replacementStart(), event->replacementLength());
    QPlainTextEdit::inputMethodEvent(&cut);
}

void ValueEdit::insertFromMimeData(const QMimeData *source)
{
    if (!source || !source->hasText())
        return;
    insertPlainText(fitted(source->text()));
}

} // namespace wendaro
