// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/checks/Problem.h"
#include "core/checks/RowPlaces.h"

#include <QList>
#include <QString>
#include <QStringView>

#include <optional>
#include <vector>

namespace wendaro {

class EntryList;

// The translation checks, each named by a short code as translate-toolkit's
// pofilter names its tests, so that a person who knows one knows the other;
// check --skip and --only take the codes.
enum class TranslationCheck : quint8 {
    Indexes,      // an index in only one of the two tables
    Untranslated, // an empty translation
    Unchanged,    // a translation identical to its original
    LineBreaks,
    Accelerators,
    Placeholders,
    Whitespace, // blanks at either end
    Numbers,
    EndPunctuation,
    DoubleSpace,
    DoubleWords,
    Brackets,
    Urls,
    Tags,
    Length,
    Inconsistent,
    Glossary, // a glossary's term whose translation is missing (check --glossary)
    Spelling, // a misspelled word (check --spelling)
};
constexpr int TranslationCheckCount = 18;

// The codes in the enum's order, joined by spaces, as the command line's
// choices are written.
inline constexpr char TranslationCheckCodes[] = "indexes untranslated unchanged linebreaks accelerators placeholders "
                                                "whitespace numbers endpunc doublespace doublewords brackets urls "
                                                "tags length inconsistent glossary spelling";
QString checkCode(TranslationCheck check);
std::optional<TranslationCheck> checkFromCode(QStringView code);

// Which checks run, and the longest value allowed (0: any).
struct CheckSettings
{
    quint32 skipped = 0; // a bit for each TranslationCheck left out
    qsizetype maxLength = 0;

    bool runs(TranslationCheck check) const { return (skipped & (1U << unsigned(check))) == 0; }
    void skip(TranslationCheck check) { skipped |= 1U << unsigned(check); }
};

// What a translation tool's validation finds in one translated value,
// both texts in the list's form (line breaks as "<br>").
struct TextFinding
{
    Problem::Severity severity = Problem::Severity::Error;
    QString message;
    TranslationCheck check = TranslationCheck::Untranslated;

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
// - the blanks at the start and at the end;
// and then, all of them warnings, what a reader would stumble on:
// - numbers: each number of the original is in the translation, full-width
//   digits, thousands separators or none, and "100万" for 1,000,000 being
//   the same number;
// - endpunc: the kind of the final period, "!", "?", ":" or ellipsis,
//   full-width and Japanese forms ("。") being the same kind;
// - doublespace: two spaces in a row that the original does not have;
// - doublewords: a word said twice ("the the"), never in CJK text;
// - brackets: ()[]{}「」『』“”‘’ that pair in the original and not in the
//   translation, full-width （）［］｛｝ standing for the ASCII ones;
// - urls: each URL and e-mail address of the original, unchanged;
// - length: more than three times an original of 20 characters or more;
// - tags (an error): each markup tag of the original ("<b>", "</i>",
//   "<color=#fff>", not the list's "<br>") as often in the translation;
// - with settings.maxLength, a value longer than that (an error).
// The checks settings skips find nothing.
QList<TextFinding> compareTranslation(const QString &original, const QString &translation,
                                      const CheckSettings &settings = {});

// The characters of a value as a person counts them: code points, each
// "<br>" one line break.
qsizetype valueLength(QStringView value);
// The finding for a value longer than maxLength (not 0), if it is.
std::optional<TextFinding> lengthOverLimit(QStringView value, qsizetype maxLength);

// The findings of every index of translation against original: an index
// in only one of them, and compareTranslation's findings for the others,
// each at its row's place in translation (places, as tableProblems takes
// them). Of an index that a table holds twice only the first row counts.
// Across the table (inconsistent, warnings): one original text translated
// in different ways, and one translation given to different originals.
QList<Problem> translationProblems(const EntryList &translation, const RowPlaces &places, const EntryList &original,
                                   const CheckSettings &settings = {});

// The rows longer than maxLength (not 0), for a table checked alone.
QList<Problem> lengthProblems(const EntryList &rows, const RowPlaces &places, qsizetype maxLength);

} // namespace wendaro
