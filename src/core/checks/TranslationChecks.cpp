// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/checks/TranslationChecks.h"

#include "core/text/CharacterName.h"
#include "core/model/EntryList.h"
#include "core/model/IndexText.h"

#include <QHash>
#include <QRegularExpression>
#include <QSet>
#include <QStringList>

#include <algorithm>

namespace wendaro {

namespace {

using Severity = Problem::Severity;

qsizetype lineBreakCount(const QString &text)
{
    return text.count(QLatin1String("<br>")) + text.count(u'\r') + text.count(u'\n');
}

// Where the first access key marker of text ("&F") starts, or -1.
qsizetype accessKeyStart(QStringView text)
{
    static const QRegularExpression entity(QStringLiteral(R"(&(#[0-9]+|#x[0-9A-Fa-f]+|[A-Za-z][A-Za-z0-9]*);)"));
    for (qsizetype i = 0; i + 1 < text.size(); ++i) {
        if (text[i] != u'&')
            continue;
        if (text[i + 1] == u'&') {
            ++i;
            continue;
        }
        if (text[i + 1].isSpace()
            || entity.match(text, i, QRegularExpression::NormalMatch, QRegularExpression::AnchorAtOffsetMatchOption)
                   .hasMatch())
            continue;
        return i;
    }
    return -1;
}

// The marker at start: "&" and the character after it, a surrogate pair whole.
qsizetype accessKeyLength(QStringView text, qsizetype start)
{
    const bool pair = start + 2 < text.size() && text[start + 1].isHighSurrogate() && text[start + 2].isLowSurrogate();
    return pair ? 3 : 2;
}

QString accessKey(const QString &text)
{
    const qsizetype start = accessKeyStart(text);
    return start < 0 ? QString() : text.mid(start, accessKeyLength(text, start));
}

struct Placeholders
{
    QStringList all;     // every placeholder, sorted: compared as a multiset
    QStringList inOrder; // printf directives without a number, in their order
};

const QRegularExpression &placeholderPattern()
{
    // The space flag is left out: "50% off" is text far more often than a directive.
    static const QRegularExpression pattern(QStringLiteral(
        R"(%%|%[0-9]+\$[-+#0']*(?:[0-9]+|\*)?(?:\.(?:[0-9]+|\*))?(?:hh|h|ll|l|L|q|j|z|t|I64|I32)?[diouxXeEfFgGaAcCsSpn])"
        R"(|(%[-+#0']*(?:[0-9]+|\*)?(?:\.(?:[0-9]+|\*))?(?:hh|h|ll|l|L|q|j|z|t|I64|I32)?[diouxXeEfFgGaAcCsSpn]))"
        R"(|%L?[1-9][0-9]?|\{\{|\}\}|\{[A-Za-z0-9_]+(?:[,:][^{}]*)?\})"));
    return pattern;
}

// Every placeholder starts with one of these; most texts hold neither,
// and the expression costs more than the look.
bool mayHoldPlaceholders(QStringView text)
{
    return text.contains(u'%') || text.contains(u'{');
}

Placeholders placeholders(const QString &text)
{
    if (!mayHoldPlaceholders(text))
        return {};
    Placeholders found;
    for (const QRegularExpressionMatch &match : placeholderPattern().globalMatch(text)) {
        const QString token = match.captured();
        if (token == QLatin1String("{{") || token == QLatin1String("}}"))
            continue;
        found.all << token;
        if (match.hasCaptured(1))
            found.inOrder << token;
    }
    found.all.sort();
    return found;
}

// a without the elements of b, as multisets; both sorted.
QStringList without(const QStringList &a, const QStringList &b)
{
    QStringList rest;
    std::set_difference(a.cbegin(), a.cend(), b.cbegin(), b.cend(), std::back_inserter(rest));
    return rest;
}

// A run of blanks, for a message: "なし" or the characters as U+XXXX.
QString describeBlanks(const QString &run)
{
    if (run.isEmpty())
        return QStringLiteral("なし");
    QStringList names;
    for (qsizetype i = 0; i < run.size(); ++i)
        names << characterName(run, i);
    return names.join(u' ');
}

QString leadingBlanks(const QString &text)
{
    qsizetype end = 0;
    while (end < text.size() && text[end].isSpace())
        ++end;
    return text.first(end);
}

QString trailingBlanks(const QString &text)
{
    qsizetype start = text.size();
    while (start > 0 && text[start - 1].isSpace())
        --start;
    return text.sliced(start);
}

} // namespace

std::vector<TextSpan> markerSpans(QStringView text)
{
    std::vector<TextSpan> spans;
    if (mayHoldPlaceholders(text)) {
        QRegularExpressionMatchIterator it = placeholderPattern().globalMatch(text);
        while (it.hasNext()) {
            const QRegularExpressionMatch match = it.next();
            const QStringView token = match.capturedView();
            if (token != u"{{" && token != u"}}")
                spans.push_back({match.capturedStart(), match.capturedLength()});
        }
    }
    const qsizetype key = accessKeyStart(text);
    if (key >= 0) {
        const auto after = std::find_if(spans.begin(), spans.end(),
                                        [&](const TextSpan &span) { return span.start > key; });
        const bool inside = after != spans.begin() && std::prev(after)->start + std::prev(after)->length > key;
        if (!inside)
            spans.insert(after, {key, 1});
    }
    return spans;
}

bool isUntranslated(QStringView original, QStringView translation)
{
    if (translation.isEmpty())
        return !original.isEmpty();
    return translation == original
           && std::any_of(original.cbegin(), original.cend(), [](QChar c) { return c.isLetter(); });
}

QList<TextFinding> compareTranslation(const QString &original, const QString &translation)
{
    QList<TextFinding> found;
    const auto error = [&](const QString &message) { found.append({Severity::Error, message}); };
    if (isUntranslated(original, translation)) {
        if (translation.isEmpty())
            error(QStringLiteral("訳が空です。"));
        else
            found.append({Severity::Warning, QStringLiteral("訳が原文と同じです。")});
        return found;
    }
    if (translation == original)
        return found;

    const qsizetype breaksBefore = lineBreakCount(original);
    const qsizetype breaksAfter = lineBreakCount(translation);
    if (breaksBefore != breaksAfter)
        error(QStringLiteral("改行の数が原文と違います（原文 %1、訳 %2）。").arg(breaksBefore).arg(breaksAfter));

    const QString keyBefore = accessKey(original);
    const QString keyAfter = accessKey(translation);
    if (!keyBefore.isEmpty() && keyAfter.isEmpty())
        error(QStringLiteral("原文のアクセスキー %1 が訳にありません。").arg(keyBefore));
    else if (keyBefore.isEmpty() && !keyAfter.isEmpty())
        error(QStringLiteral("訳に原文にないアクセスキー %1 があります。").arg(keyAfter));

    const Placeholders before = placeholders(original);
    const Placeholders after = placeholders(translation);
    if (const QStringList lost = without(before.all, after.all); !lost.isEmpty())
        error(QStringLiteral("原文のプレースホルダー %1 が訳にありません。").arg(lost.join(u' ')));
    if (const QStringList added = without(after.all, before.all); !added.isEmpty())
        error(QStringLiteral("訳に原文にないプレースホルダー %1 があります。").arg(added.join(u' ')));
    if (before.all == after.all && before.inOrder != after.inOrder)
        error(QStringLiteral("番号のない printf 形式のプレースホルダーの順序が原文と違います（原文 %1、訳 %2）。"
                             "引数は順に使われるため、順序は変えられません。")
                  .arg(before.inOrder.join(u' '), after.inOrder.join(u' ')));

    if (const QString lead = leadingBlanks(original), leadAfter = leadingBlanks(translation); lead != leadAfter)
        error(QStringLiteral("先頭の空白が原文と違います（原文 %1、訳 %2）。")
                  .arg(describeBlanks(lead), describeBlanks(leadAfter)));
    if (const QString trail = trailingBlanks(original), trailAfter = trailingBlanks(translation); trail != trailAfter)
        error(QStringLiteral("末尾の空白が原文と違います（原文 %1、訳 %2）。")
                  .arg(describeBlanks(trail), describeBlanks(trailAfter)));
    return found;
}

namespace {

// The first row of each index; rows whose index text is no index are left to the table checks.
QHash<qint16, qsizetype> firstRows(const EntryList &rows)
{
    QHash<qint16, qsizetype> first;
    for (qsizetype position = 0; position < rows.count(); ++position) {
        QString error;
        const std::optional<qint16> index = indexToSave(position, rows.at(position).indexText, &error);
        if (index && !first.contains(*index))
            first.insert(*index, position);
    }
    return first;
}

Problem finding(qint16 index, const QString &name, qint64 place, Severity severity, const QString &message)
{
    Problem problem;
    problem.kind = Problem::Kind::Translation;
    problem.severity = severity;
    problem.place = place;
    problem.index = index;
    problem.name = name;
    problem.message = entryLabel(index, name) + QStringLiteral(": ") + message;
    return problem;
}

} // namespace

QList<Problem> translationProblems(const EntryList &translation, const RowPlaces &places, const EntryList &original)
{
    const QHash<qint16, qsizetype> inOriginal = firstRows(original);
    const QHash<qint16, qsizetype> inTranslation = firstRows(translation);
    QList<Problem> found;
    for (qsizetype position = 0; position < translation.count(); ++position) {
        QString error;
        const std::optional<qint16> index = indexToSave(position, translation.at(position).indexText, &error);
        if (!index || inTranslation.value(*index) != position)
            continue;
        const Entry &entry = translation.at(position);
        const qint64 place = places.of(position);
        const qsizetype originalPosition = inOriginal.value(*index, -1);
        if (originalPosition < 0) {
            found.append(
                finding(*index, entry.name, place, Severity::Error, QStringLiteral("原文にないインデックスです。")));
            continue;
        }
        for (const TextFinding &text :
             compareTranslation(original.at(originalPosition).value.toString(), entry.value.toString()))
            found.append(finding(*index, entry.name, place, text.severity, text.message));
    }
    for (qsizetype position = 0; position < original.count(); ++position) {
        QString error;
        const std::optional<qint16> index = indexToSave(position, original.at(position).indexText, &error);
        if (index && inOriginal.value(*index) == position && !inTranslation.contains(*index))
            found.append(finding(*index, original.at(position).name, -1, Severity::Error,
                                 QStringLiteral("原文にあるインデックスが訳にありません。")));
    }
    return found;
}

} // namespace wendaro
