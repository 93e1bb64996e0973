// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/checks/Problem.h"
#include "core/checks/RowPlaces.h"

#include <QList>
#include <QString>
#include <QStringView>

#include <vector>

namespace wendaro {

class EntryList;

// What a translation tool's validation finds in one translated value,
// both texts in the list's form (line breaks as "<br>").
struct TextFinding
{
    Problem::Severity severity = Problem::Severity::Error;
    QString message;

    bool operator==(const TextFinding &) const = default;
};

// A piece of a text: where it starts and how many code units it takes.
struct TextSpan
{
    qsizetype start = 0;
    qsizetype length = 0;

    bool operator==(const TextSpan &) const = default;
};

// Where the checks below see a placeholder or the access key marker (the
// "&" alone: the key's letter stays in its word) in text, left to right,
// none overlapping another: what other tools keep as one piece of a text.
std::vector<TextSpan> markerSpans(QStringView text);

// Whether translation is still to be done for original: empty while the
// original is not, or the original's text unchanged when that holds a
// letter (a number or a sign needs no translation). compareTranslation
// starts with this rule; pretranslate fills exactly these.
bool isUntranslated(QStringView original, QStringView translation);

// The checks, in this order:
// - an empty translation of a non-empty original (nothing else is checked);
// - a translation identical to its original: a warning, and none for a text
//   without letters (numbers, punctuation), which needs no translation;
// - the number of line breaks: "<br>" and any lone CR or LF;
// - an access key marker ("&F", also in "(&F)"; "&&" is an ampersand and
//   "&amp;" an entity) in one text and not in the other;
// - placeholders: printf directives (%s, %5.2f, %ls, %1$s, %%), Qt's %1 to
//   %99 and braces ({0}, {name}) must be the same in number and kind; they
//   may move, except that printf directives without a number must keep
//   their order, since they take the arguments in turn;
// - the blanks at the start and at the end.
QList<TextFinding> compareTranslation(const QString &original, const QString &translation);

// The findings of every index of translation against original: an index
// in only one of them, and compareTranslation's findings for the others,
// each at its row's place in translation (places, as tableProblems takes
// them). Of an index that a table holds twice only the first row counts.
QList<Problem> translationProblems(const EntryList &translation, const RowPlaces &places, const EntryList &original);

} // namespace wendaro
