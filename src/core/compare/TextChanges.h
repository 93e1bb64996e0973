// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QList>
#include <QString>
#include <QStringView>

namespace wendaro {

// One piece of what changed from an old text to a new one.
struct TextChange
{
    enum class Kind : quint8 { Same, Inserted, Removed };
    Kind kind = Kind::Same;
    QString text;

    bool operator==(const TextChange &) const = default;
};

// What changed from before to after, both in the list's form (a line break
// is "<br>"), word by word so that a translator sees which word of an
// original changed: a word is a run of letters and digits, a run of blanks,
// or any other character alone; a line break, and each Han or kana
// character (text without blanks between its words), is a word of its own.
// A combining mark stays with the character before it, a surrogate pair is
// one character. The pieces put together in order, leaving out Inserted,
// give before; leaving out Removed, after. Neighbours differ in kind, and
// where a run of words changed its Removed piece comes first.
QList<TextChange> textChanges(QStringView before, QStringView after);

// The pieces as rich text for a QLabel or a QTextBrowser: the text escaped,
// its blanks kept, a line break as <br>; Removed struck through on light
// red, Inserted on light green, a changed line break shown as "↵".
QString textChangesHtml(const QList<TextChange> &changes);

} // namespace wendaro
