// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/translation/MatchTokens.h"

#include "core/text/FindFolding.h"

#include <QChar>

namespace wendaro {

namespace {

enum class CharKind : quint8 { Space, Word, Cjk, Mark, Other };

// Scripts written without spaces between words: each character is a word.
bool isCjk(char32_t c)
{
    if ((c >= 0x3040 && c <= 0x30FF) || (c >= 0xFF66 && c <= 0xFF9F) || (c >= 0x31F0 && c <= 0x31FF))
        return true; // kana, half-width katakana, and the prolonged sound mark, whose script is common
    switch (QChar::script(c)) {
    case QChar::Script_Han:
    case QChar::Script_Hiragana:
    case QChar::Script_Katakana:
    case QChar::Script_Hangul:
    case QChar::Script_Bopomofo: return QChar::isLetterOrNumber(c);
    default: return false;
    }
}

CharKind kindOf(char32_t c)
{
    if (c < 0x80) {
        if (c == u' ' || (c >= u'\t' && c <= u'\r'))
            return CharKind::Space;
        const bool word = (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z') || (c >= u'0' && c <= u'9');
        return word ? CharKind::Word : CharKind::Other;
    }
    if (QChar::isSpace(c))
        return CharKind::Space;
    if (QChar::isMark(c))
        return CharKind::Mark;
    if (isCjk(c))
        return CharKind::Cjk;
    return QChar::isLetterOrNumber(c) ? CharKind::Word : CharKind::Other;
}

} // namespace

MatchTokens matchTokens(QStringView text)
{
    MatchTokens made;
    made.folded = foldedForFind(text);
    const std::vector<TextSpan> markers = markerSpans(text);
    auto marker = markers.cbegin();
    const qsizetype size = text.size();
    CharKind previous = CharKind::Space; // of the character before i, Space after a marker too
    qsizetype i = 0;
    while (i < size) {
        if (marker != markers.cend() && marker->start == i) {
            made.spans.push_back(*marker);
            i += marker->length;
            ++marker;
            previous = CharKind::Space;
            continue;
        }
        if (text.sliced(i).startsWith(u"<br>")) {
            made.spans.push_back({i, 4});
            i += 4;
            previous = CharKind::Space;
            continue;
        }
        const bool pair = i + 1 < size && text[i].isHighSurrogate() && text[i + 1].isLowSurrogate();
        const qsizetype width = pair ? 2 : 1;
        const char32_t c = pair ? QChar::surrogateToUcs4(text[i], text[i + 1]) : text[i].unicode();
        CharKind kind = kindOf(c);
        if (kind == CharKind::Mark && previous != CharKind::Space && !made.spans.empty()) {
            made.spans.back().length += width; // stays with its base character
            i += width;
            continue;
        }
        if (kind == CharKind::Mark)
            kind = CharKind::Other;
        if (kind == CharKind::Word && previous == CharKind::Word)
            made.spans.back().length += width;
        else if (kind != CharKind::Space)
            made.spans.push_back({i, width});
        previous = kind;
        i += width;
    }
    return made;
}

} // namespace wendaro
