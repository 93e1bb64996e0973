// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/compare/TextChanges.h"

#include "core/text/LineBreaks.h"

#include <dtl/dtl.hpp>

#include <utility>
#include <vector>

namespace wendaro {

namespace {

enum class WordClass : quint8 { None, Letters, Blanks, Ideograph, Other };

constexpr char32_t ZeroWidthJoiner = 0x200D;

WordClass classOf(char32_t c)
{
    // The prolonged sound marks are Common to both kana, yet written inside
    // kana words, one character among them.
    if (c == 0x30FC || c == 0xFF70)
        return WordClass::Ideograph;
    const QChar::Script script = QChar::script(c);
    if (script == QChar::Script_Han || script == QChar::Script_Hiragana || script == QChar::Script_Katakana)
        return WordClass::Ideograph;
    if (QChar::isLetterOrNumber(c))
        return WordClass::Letters;
    if (QChar::isSpace(c))
        return WordClass::Blanks;
    return WordClass::Other;
}

bool isMark(char32_t c)
{
    const QChar::Category category = QChar::category(c);
    return category == QChar::Mark_NonSpacing || category == QChar::Mark_SpacingCombining
           || category == QChar::Mark_Enclosing;
}

// The character at *at, moving past it; a lone surrogate is one of its own.
char32_t takeCharacter(QStringView text, qsizetype *at)
{
    const QChar first = text[*at];
    ++*at;
    if (first.isHighSurrogate() && *at < text.size() && text[*at].isLowSurrogate())
        return QChar::surrogateToUcs4(first, text[(*at)++]);
    return first.unicode();
}

std::vector<QStringView> wordsOf(QStringView text)
{
    std::vector<QStringView> words;
    qsizetype start = 0;
    const auto cut = [&](qsizetype end) {
        if (end > start)
            words.push_back(text.sliced(start, end - start));
        start = end;
    };
    WordClass run = WordClass::None;
    bool joinNext = false; // after a zero width joiner, which glues an emoji sequence
    qsizetype at = 0;
    while (at < text.size()) {
        if (text.sliced(at).startsWith(ListLineBreakText)) {
            cut(at);
            at += ListLineBreakText.size();
            cut(at);
            run = WordClass::None;
            joinNext = false;
            continue;
        }
        const qsizetype begin = at;
        const char32_t c = takeCharacter(text, &at);
        const WordClass kind = classOf(c);
        const bool sameRun = kind == run && (kind == WordClass::Letters || kind == WordClass::Blanks);
        if (run == WordClass::None || !(joinNext || sameRun || isMark(c) || c == ZeroWidthJoiner)) {
            cut(begin);
            run = kind;
        }
        joinNext = c == ZeroWidthJoiner;
    }
    cut(text.size());
    return words;
}

} // namespace

QList<TextChange> textChanges(QStringView before, QStringView after)
{
    const std::vector<QStringView> oldWords = wordsOf(before);
    const std::vector<QStringView> newWords = wordsOf(after);
    dtl::Diff<QStringView, std::vector<QStringView>> diff(oldWords, newWords);
    diff.compose();

    QList<TextChange> changes;
    // A changed run may come from the diff as removals and insertions
    // interleaved: gathered, it reads as the old words, then the new.
    QString removed;
    QString inserted;
    const auto flush = [&] {
        if (!removed.isEmpty())
            changes.append({TextChange::Kind::Removed, std::exchange(removed, {})});
        if (!inserted.isEmpty())
            changes.append({TextChange::Kind::Inserted, std::exchange(inserted, {})});
    };
    for (const auto &[word, info] : diff.getSes().getSequence()) {
        if (info.type == dtl::SES_DELETE) {
            removed += word;
        } else if (info.type == dtl::SES_ADD) {
            inserted += word;
        } else {
            flush();
            if (changes.isEmpty() || changes.last().kind != TextChange::Kind::Same)
                changes.append({TextChange::Kind::Same, QString()});
            changes.last().text += word;
        }
    }
    flush();
    return changes;
}

QString textChangesHtml(const QList<TextChange> &changes)
{
    // QLabel's rich text folds blanks as a browser does; a blank added or
    // removed must show.
    QString html = QStringLiteral("<span style=\"white-space:pre-wrap\">");
    for (const TextChange &change : changes) {
        const bool changed = change.kind != TextChange::Kind::Same;
        if (change.kind == TextChange::Kind::Removed)
            html += QStringLiteral("<span style=\"background:#fdd;text-decoration:line-through\">");
        else if (change.kind == TextChange::Kind::Inserted)
            html += QStringLiteral("<span style=\"background:#dfd\">");
        // A line break alone shows nothing to strike through or colour.
        const QString lineBreak = changed ? QStringLiteral("↵<br>") : QStringLiteral("<br>");
        const QStringList lines = change.text.split(ListLineBreakText.toString());
        for (qsizetype i = 0; i < lines.size(); ++i) {
            if (i > 0)
                html += lineBreak;
            html += lines[i].toHtmlEscaped();
        }
        if (changed)
            html += QStringLiteral("</span>");
    }
    return html + QStringLiteral("</span>");
}

} // namespace wendaro
