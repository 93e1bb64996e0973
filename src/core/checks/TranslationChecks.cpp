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

// Full-width digits and separators as their ASCII forms, which Japanese text writes either way.
QChar asciiDigit(QChar c)
{
    if (c.unicode() >= 0xFF10 && c.unicode() <= 0xFF19)
        return QChar(u'0' + (c.unicode() - 0xFF10));
    if (c == u'，')
        return u',';
    if (c == u'．')
        return u'.';
    return c;
}

// A number as compared: ASCII digits, a separator between groups of three
// dropped (thousands, written or not), any other taken as the decimal point,
// and no zeros before the first digit ("09" of a date is the 9 of 9日).
QString numberKey(QStringView number)
{
    QString ascii;
    for (const QChar c : number)
        ascii += asciiDigit(c);
    static const QRegularExpression grouped(QStringLiteral(R"(^[0-9]{1,3}(?:,[0-9]{3})+(?:\.[0-9]+)?$)"));
    if (grouped.match(ascii).hasMatch())
        ascii.remove(u',');
    ascii.replace(u',', u'.');
    qsizetype zeros = 0;
    while (zeros + 1 < ascii.size() && ascii[zeros] == u'0' && ascii[zeros + 1].isDigit())
        ++zeros;
    return ascii.sliced(zeros);
}

// text with its placeholders, tags and URLs blanked out: their digits are no numbers.
QString withoutMarkup(const QString &text);

// key, a number, times ten to the power of zeros: "1.5" and 4 is "15000".
QString timesPowerOfTen(const QString &key, qsizetype zeros)
{
    const qsizetype point = key.indexOf(u'.');
    const QString whole = point < 0 ? key : key.first(point);
    const QString fraction = point < 0 ? QString() : key.sliced(point + 1);
    if (fraction.size() > zeros)
        return whole + fraction.first(zeros) + u'.' + fraction.sliced(zeros);
    return numberKey(whole + fraction + QString(zeros - fraction.size(), u'0'));
}

QStringList numbers(const QString &text)
{
    if (std::none_of(text.cbegin(), text.cend(), [](QChar c) { return c.isDigit(); }))
        return {};
    // Japanese counts in ten thousands: "100万" is 1,000,000, "1.5億" 150,000,000.
    static const QRegularExpression pattern(QStringLiteral(R"([0-9０-９]+(?:[,.，．][0-9０-９]+)*([万億])?)"));
    QStringList found;
    for (const QRegularExpressionMatch &match : pattern.globalMatch(withoutMarkup(text))) {
        const QStringView unit = match.capturedView(1);
        const QString key = numberKey(match.capturedView().chopped(unit.size()));
        found << (unit.isEmpty() ? key : timesPowerOfTen(key, unit == u"万" ? 4 : 8));
    }
    found.sort();
    return found;
}

enum class EndMark : quint8 { None, Period, Exclamation, Question, Colon, Ellipsis };

// How text ends, after blanks and closing quotes or brackets; the Japanese
// and full-width forms are their ASCII kinds: "。" ends a sentence as "." does.
EndMark endMark(QStringView text)
{
    static const QString closing = QStringLiteral("\"')]}”’）」』】〕］｝»›");
    qsizetype end = text.size();
    while (end > 0 && (text[end - 1].isSpace() || closing.contains(text[end - 1])))
        --end;
    if (end == 0)
        return EndMark::None;
    if (text.first(end).endsWith(u"...") || text.first(end).endsWith(u"・・・"))
        return EndMark::Ellipsis;
    switch (text[end - 1].unicode()) {
    case u'.':
    case u'。':
    case u'．':
    case u'｡': return EndMark::Period;
    case u'!':
    case u'！': return EndMark::Exclamation;
    case u'?':
    case u'？': return EndMark::Question;
    case u':':
    case u'：': return EndMark::Colon;
    case u'…':
    case u'‥': return EndMark::Ellipsis;
    default: return EndMark::None;
    }
}

QString endMarkName(EndMark mark)
{
    switch (mark) {
    case EndMark::Period: return QStringLiteral("句点");
    case EndMark::Exclamation: return QStringLiteral("感嘆符");
    case EndMark::Question: return QStringLiteral("疑問符");
    case EndMark::Colon: return QStringLiteral("コロン");
    case EndMark::Ellipsis: return QStringLiteral("三点リーダー");
    case EndMark::None: break;
    }
    return QStringLiteral("なし");
}

// Han, kana and hangul: scripts in which a repeated syllable is a word of its own.
bool isCjk(QChar c)
{
    const QChar::Script script = c.script();
    return script == QChar::Script_Han || script == QChar::Script_Hiragana || script == QChar::Script_Katakana
           || script == QChar::Script_Hangul;
}

// The first word said twice in a row ("the the"), or an empty string.
QString doubledWord(QStringView text)
{
    if (std::any_of(text.cbegin(), text.cend(), isCjk))
        return {};
    // Words cut at blanks by hand: every translated row of the window comes here.
    QStringView previous;
    qsizetype end = 0;
    while (end < text.size()) {
        while (end < text.size() && text[end].isSpace())
            ++end;
        const qsizetype start = end;
        while (end < text.size() && !text[end].isSpace())
            ++end;
        const QStringView word = text.sliced(start, end - start);
        QStringView bare = word;
        while (!bare.isEmpty() && bare.back().isPunct())
            bare.chop(1);
        // "Hello, hello" is no slip: the word before must end in a letter.
        if (!previous.isEmpty() && previous.back().isLetter() && previous.compare(bare, Qt::CaseInsensitive) == 0)
            return previous.toString();
        previous = word;
    }
    return {};
}

struct BracketPair
{
    QChar open;
    QChar close;
};

// The full-width forms count as the ASCII ones: "(Optional)" is "（任意）".
constexpr BracketPair BracketPairs[] = {{u'(', u')'},   {u'[', u']'}, {u'{', u'}'}, {u'「', u'」'},
                                        {u'『', u'』'}, {u'“', u'”'}, {u'‘', u'’'}};

QChar halfWidthBracket(QChar c)
{
    switch (c.unicode()) {
    case u'（': return u'(';
    case u'）': return u')';
    case u'［': return u'[';
    case u'］': return u']';
    case u'｛': return u'{';
    case u'｝': return u'}';
    default: return c;
    }
}

// Whether every opening bracket of the pair in text is closed after it, and no closing one stands alone.
bool pairs(QStringView text, BracketPair pair)
{
    qsizetype depth = 0;
    for (const QChar c : text) {
        const QChar half = halfWidthBracket(c);
        if (half == pair.open)
            ++depth;
        else if (half == pair.close && --depth < 0)
            return false;
    }
    return depth == 0;
}

const QRegularExpression &urlPattern()
{
    static const QRegularExpression pattern(
        QStringLiteral(R"((?:\b(?:https?|ftp)://|\bwww\.)[^\s<>"'　「」（）]*[^\s<>"'　「」（）.,;:!?)。、]|)"
                       R"([A-Za-z0-9._%+-]+@[A-Za-z0-9.-]+\.[A-Za-z]{2,})"));
    return pattern;
}

// A tag's name and attributes; "<br>" is the list's line break, no tag.
const QRegularExpression &tagPattern()
{
    static const QRegularExpression pattern(QStringLiteral(R"(</?[A-Za-z][A-Za-z0-9_-]*(?:[ =][^<>]*)?/?>)"));
    return pattern;
}

QStringList matchesOf(const QRegularExpression &pattern, const QString &text)
{
    QStringList found;
    for (const QRegularExpressionMatch &match : pattern.globalMatch(text))
        if (match.capturedView() != u"<br>")
            found << match.captured();
    return found;
}

QStringList tags(const QString &text)
{
    if (!text.contains(u'<'))
        return {};
    QStringList found = matchesOf(tagPattern(), text);
    found.sort();
    return found;
}

QStringList urls(const QString &text)
{
    if (!text.contains(u'@') && !text.contains(u"://") && !text.contains(u"www."))
        return {};
    return matchesOf(urlPattern(), text);
}

QString withoutMarkup(const QString &text)
{
    QString plain = text;
    for (const TextSpan &span : markerSpans(text))
        plain.replace(span.start, span.length, QString(span.length, u' '));
    // Blanked, not taken out, so that no two numbers run together.
    const auto blank = [&](const QRegularExpression &pattern) {
        for (const QRegularExpressionMatch &match : pattern.globalMatch(plain))
            plain.replace(match.capturedStart(), match.capturedLength(), QString(match.capturedLength(), u' '));
    };
    if (plain.contains(u'<'))
        blank(tagPattern());
    blank(urlPattern());
    return plain;
}

// The findings of one comparison, each under its check, the skipped ones left out.
class Findings
{
public:
    explicit Findings(const CheckSettings &settings) : m_settings(settings) {}

    bool runs(TranslationCheck check) const { return m_settings.runs(check); }
    void add(TranslationCheck check, Severity severity, const QString &message)
    {
        if (runs(check))
            m_found.append({severity, message, check});
    }
    void error(TranslationCheck check, const QString &message) { add(check, Severity::Error, message); }
    void warning(TranslationCheck check, const QString &message) { add(check, Severity::Warning, message); }
    QList<TextFinding> take() { return std::move(m_found); }

private:
    const CheckSettings &m_settings;
    QList<TextFinding> m_found;
};

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

namespace {

void compareMarkers(Findings &found, const QString &original, const QString &translation)
{
    const qsizetype breaksBefore = lineBreakCount(original);
    const qsizetype breaksAfter = lineBreakCount(translation);
    if (breaksBefore != breaksAfter)
        found.error(TranslationCheck::LineBreaks,
                    QStringLiteral("改行の数が原文と違います（原文 %1、訳 %2）。").arg(breaksBefore).arg(breaksAfter));

    const QString keyBefore = accessKey(original);
    const QString keyAfter = accessKey(translation);
    if (!keyBefore.isEmpty() && keyAfter.isEmpty())
        found.error(TranslationCheck::Accelerators,
                    QStringLiteral("原文のアクセスキー %1 が訳にありません。").arg(keyBefore));
    else if (keyBefore.isEmpty() && !keyAfter.isEmpty())
        found.error(TranslationCheck::Accelerators,
                    QStringLiteral("訳に原文にないアクセスキー %1 があります。").arg(keyAfter));

    const Placeholders before = placeholders(original);
    const Placeholders after = placeholders(translation);
    const auto placeholder = [&](const QString &message) { found.error(TranslationCheck::Placeholders, message); };
    if (const QStringList lost = without(before.all, after.all); !lost.isEmpty())
        placeholder(QStringLiteral("原文のプレースホルダー %1 が訳にありません。").arg(lost.join(u' ')));
    if (const QStringList added = without(after.all, before.all); !added.isEmpty())
        placeholder(QStringLiteral("訳に原文にないプレースホルダー %1 があります。").arg(added.join(u' ')));
    if (before.all == after.all && before.inOrder != after.inOrder)
        placeholder(QStringLiteral("番号のない printf 形式のプレースホルダーの順序が原文と違います（原文 %1、訳 %2）。"
                                   "引数は順に使われるため、順序は変えられません。")
                        .arg(before.inOrder.join(u' '), after.inOrder.join(u' ')));

    if (const QString lead = leadingBlanks(original), leadAfter = leadingBlanks(translation); lead != leadAfter)
        found.error(TranslationCheck::Whitespace, QStringLiteral("先頭の空白が原文と違います（原文 %1、訳 %2）。")
                                                      .arg(describeBlanks(lead), describeBlanks(leadAfter)));
    if (const QString trail = trailingBlanks(original), trailAfter = trailingBlanks(translation); trail != trailAfter)
        found.error(TranslationCheck::Whitespace, QStringLiteral("末尾の空白が原文と違います（原文 %1、訳 %2）。")
                                                      .arg(describeBlanks(trail), describeBlanks(trailAfter)));
}

// The numbers of the original the translation lacks, in ASCII digits without thousands separators.
QStringList lostNumbers(const QString &original, const QString &translation)
{
    QStringList before = numbers(original);
    if (before.isEmpty())
        return {};
    QStringList after = numbers(translation);
    QStringList lost;
    for (const QString &number : before) {
        if (const qsizetype at = after.indexOf(number); at >= 0)
            after.removeAt(at);
        else
            lost << number;
    }
    return lost;
}

void compareText(Findings &found, const QString &original, const QString &translation)
{
    if (found.runs(TranslationCheck::Numbers)) {
        if (const QStringList lost = lostNumbers(original, translation); !lost.isEmpty())
            found.warning(TranslationCheck::Numbers,
                          QStringLiteral("原文の数 %1 が訳にありません。").arg(lost.join(u' ')));
    }
    if (const EndMark before = endMark(original), after = endMark(translation); before != after)
        found.warning(TranslationCheck::EndPunctuation,
                      QStringLiteral("文末の句読点が原文と違います（原文 %1、訳 %2）。")
                          .arg(endMarkName(before), endMarkName(after)));
    if (translation.contains(u"  ") && !original.contains(u"  "))
        found.warning(TranslationCheck::DoubleSpace, QStringLiteral("訳に空白が二つ続くところがあります。"));
    if (found.runs(TranslationCheck::DoubleWords)) {
        if (const QString word = doubledWord(translation); !word.isEmpty() && doubledWord(original).isEmpty())
            found.warning(TranslationCheck::DoubleWords, QStringLiteral("訳で語「%1」が二度続いています。").arg(word));
    }
    for (const BracketPair pair : BracketPairs) {
        if (pairs(original, pair) && !pairs(translation, pair))
            found.warning(TranslationCheck::Brackets,
                          QStringLiteral("訳の括弧 %1%2 が対になっていません。").arg(pair.open).arg(pair.close));
    }
    for (const QString &url : urls(original)) {
        if (!translation.contains(url))
            found.warning(TranslationCheck::Urls,
                          QStringLiteral("原文の %1 %2 が訳にありません。")
                              .arg(url.contains(u"://") || !url.contains(u'@') ? QStringLiteral("URL")
                                                                               : QStringLiteral("メールアドレス"),
                                   url));
    }
}

void compareTags(Findings &found, const QString &original, const QString &translation)
{
    const QStringList before = tags(original);
    const QStringList after = tags(translation);
    if (const QStringList lost = without(before, after); !lost.isEmpty())
        found.warning(TranslationCheck::Tags, QStringLiteral("原文のタグ %1 が訳にありません。").arg(lost.join(u' ')));
    if (const QStringList added = without(after, before); !added.isEmpty())
        found.warning(TranslationCheck::Tags,
                      QStringLiteral("訳に原文にないタグ %1 があります。").arg(added.join(u' ')));
}

void compareLength(Findings &found, const QString &original, const QString &translation)
{
    const qsizetype before = valueLength(original);
    if (before < 20)
        return;
    if (const qsizetype after = valueLength(translation); after > 3 * before)
        found.warning(TranslationCheck::Length,
                      QStringLiteral("訳が原文の 3 倍より長いです（原文 %1 字、訳 %2 字）。").arg(before).arg(after));
}

} // namespace

qsizetype valueLength(QStringView value)
{
    const qsizetype breaks = value.count(u"<br>");
    const qsizetype lowSurrogates = std::count_if(value.cbegin(), value.cend(),
                                                  [](QChar c) { return c.isLowSurrogate(); });
    return value.size() - lowSurrogates - 3 * breaks;
}

std::optional<TextFinding> lengthOverLimit(QStringView value, qsizetype maxLength)
{
    const qsizetype length = valueLength(value);
    if (maxLength <= 0 || length <= maxLength)
        return std::nullopt;
    return TextFinding{Severity::Error, QStringLiteral("値が %1 字より長いです（%2 字）。").arg(maxLength).arg(length),
                       TranslationCheck::Length};
}

QList<TextFinding> compareTranslation(const QString &original, const QString &translation,
                                      const CheckSettings &settings)
{
    Findings found(settings);
    if (isUntranslated(original, translation)) {
        if (translation.isEmpty())
            found.error(TranslationCheck::Untranslated, QStringLiteral("訳が空です。"));
        else
            found.warning(TranslationCheck::Unchanged, QStringLiteral("訳が原文と同じです。"));
    } else if (translation != original) {
        compareMarkers(found, original, translation);
        compareTags(found, original, translation);
        compareText(found, original, translation);
        compareLength(found, original, translation);
    }
    if (settings.runs(TranslationCheck::Length)) {
        if (std::optional<TextFinding> tooLong = lengthOverLimit(translation, settings.maxLength))
            found.add(TranslationCheck::Length, tooLong->severity, tooLong->message);
    }
    return found.take();
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

Problem finding(qint16 index, const QString &name, qint64 place, const TextFinding &text)
{
    Problem problem;
    problem.kind = Problem::Kind::Translation;
    problem.severity = text.severity;
    problem.place = place;
    problem.index = index;
    problem.name = name;
    problem.message = entryLabel(index, name) + QStringLiteral(": ") + text.message;
    problem.code = checkCode(text.check);
    return problem;
}

// A translated row, as the table-wide checks compare it.
struct TranslatedRow
{
    qint16 index;
    qsizetype position; // in the translation
    QString original;
    QString translation;
};

// The rows one row's text disagrees with: the first few indexes and how many.
struct Disagreeing
{
    static constexpr qsizetype Shown = 5;
    QList<qint16> first;
    qsizetype count = 0;

    // "3, 7, 12", and "ほか N 件" after the first few of many.
    QString list() const
    {
        QStringList words;
        for (const qint16 index : first)
            words << QString::number(index);
        QString text = words.join(QStringLiteral(", "));
        if (count > first.size())
            text += QStringLiteral(" ほか %1 件").arg(count - first.size());
        return text;
    }
};

// For each row, the rows that share its key (the original, or the
// translation) but not its other text: one text rendered two ways. A group
// is counted by its other texts first, so that a text that hundreds of rows
// share costs no more than their number.
std::vector<Disagreeing> disagreeing(const std::vector<TranslatedRow> &rows, bool byOriginal)
{
    const auto key = [&](size_t i) -> const QString & { return byOriginal ? rows[i].original : rows[i].translation; };
    const auto other = [&](size_t i) -> const QString & { return byOriginal ? rows[i].translation : rows[i].original; };
    QHash<QString, QList<size_t>> groups;
    for (size_t i = 0; i < rows.size(); ++i)
        groups[key(i)].append(i);
    std::vector<Disagreeing> found(rows.size());
    for (const QList<size_t> &group : std::as_const(groups)) {
        QHash<QString, qsizetype> sameOther;
        for (const size_t i : group)
            ++sameOther[other(i)];
        if (sameOther.size() < 2)
            continue;
        for (const size_t i : group) {
            Disagreeing &mine = found[i];
            mine.count = group.size() - sameOther.value(other(i));
            for (auto j = group.cbegin(); j != group.cend() && mine.first.size() < Disagreeing::Shown; ++j) {
                if (other(*j) != other(i))
                    mine.first.append(rows[*j].index);
            }
        }
    }
    return found;
}

// The table-wide findings of each row, by the rows' order.
std::vector<QList<TextFinding>> inconsistencies(const std::vector<TranslatedRow> &rows)
{
    const std::vector<Disagreeing> translatedOtherwise = disagreeing(rows, true);
    const std::vector<Disagreeing> sharedBy = disagreeing(rows, false);
    std::vector<QList<TextFinding>> found(rows.size());
    for (size_t i = 0; i < rows.size(); ++i) {
        if (translatedOtherwise[i].count > 0)
            found[i].append(
                {Severity::Warning,
                 QStringLiteral("同じ原文がインデックス %1 では違う訳です。").arg(translatedOtherwise[i].list()),
                 TranslationCheck::Inconsistent});
        if (sharedBy[i].count > 0)
            found[i].append(
                {Severity::Warning,
                 QStringLiteral("同じ訳がインデックス %1 の違う原文にも使われています。").arg(sharedBy[i].list()),
                 TranslationCheck::Inconsistent});
    }
    return found;
}

} // namespace

QList<Problem> translationProblems(const EntryList &translation, const RowPlaces &places, const EntryList &original,
                                   const CheckSettings &settings)
{
    const QHash<qint16, qsizetype> inOriginal = firstRows(original);
    const QHash<qint16, qsizetype> inTranslation = firstRows(translation);
    // Each row's own findings, then the table-wide ones at its place.
    std::vector<QList<TextFinding>> ofRow(size_t(translation.count()));
    std::vector<TranslatedRow> translated;
    for (qsizetype position = 0; position < translation.count(); ++position) {
        QString error;
        const std::optional<qint16> index = indexToSave(position, translation.at(position).indexText, &error);
        if (!index || inTranslation.value(*index) != position)
            continue;
        const qsizetype originalPosition = inOriginal.value(*index, -1);
        if (originalPosition < 0) {
            if (settings.runs(TranslationCheck::Indexes))
                ofRow[size_t(position)].append(
                    {Severity::Error, QStringLiteral("原文にないインデックスです。"), TranslationCheck::Indexes});
            continue;
        }
        const QString source = original.at(originalPosition).value.toString();
        const QString text = translation.at(position).value.toString();
        ofRow[size_t(position)] = compareTranslation(source, text, settings);
        if (!isUntranslated(source, text) && !text.isEmpty())
            translated.push_back({*index, position, source, text});
    }
    if (settings.runs(TranslationCheck::Inconsistent)) {
        const std::vector<QList<TextFinding>> wide = inconsistencies(translated);
        for (size_t i = 0; i < translated.size(); ++i)
            ofRow[size_t(translated[i].position)] += wide[i];
    }
    QList<Problem> found;
    for (qsizetype position = 0; position < translation.count(); ++position) {
        const Entry &entry = translation.at(position);
        QString error;
        for (const TextFinding &text : ofRow[size_t(position)])
            found.append(
                finding(*indexToSave(position, entry.indexText, &error), entry.name, places.of(position), text));
    }
    for (qsizetype position = 0; position < original.count(); ++position) {
        QString error;
        const std::optional<qint16> index = indexToSave(position, original.at(position).indexText, &error);
        if (index && inOriginal.value(*index) == position && !inTranslation.contains(*index)
            && settings.runs(TranslationCheck::Indexes))
            found.append(finding(*index, original.at(position).name, -1,
                                 {Severity::Error, QStringLiteral("原文にあるインデックスが訳にありません。"),
                                  TranslationCheck::Indexes}));
    }
    return found;
}

QList<Problem> lengthProblems(const EntryList &rows, const RowPlaces &places, qsizetype maxLength)
{
    QList<Problem> found;
    // No limit: no value need be decoded to be measured.
    if (maxLength <= 0)
        return found;
    for (qsizetype position = 0; position < rows.count(); ++position) {
        QString error;
        const Entry &entry = rows.at(position);
        const std::optional<qint16> index = indexToSave(position, entry.indexText, &error);
        if (!index)
            continue;
        if (const std::optional<TextFinding> tooLong = lengthOverLimit(entry.value.toString(), maxLength))
            found.append(finding(*index, entry.name, places.of(position), *tooLong));
    }
    return found;
}

namespace {

const QStringList &checkCodes()
{
    static const QStringList codes = QString::fromLatin1(TranslationCheckCodes).split(u' ');
    return codes;
}

} // namespace

QString checkCode(TranslationCheck check)
{
    return checkCodes().at(int(check));
}

std::optional<TranslationCheck> checkFromCode(QStringView code)
{
    const qsizetype at = checkCodes().indexOf(code);
    return at < 0 ? std::nullopt : std::optional<TranslationCheck>(TranslationCheck(at));
}

} // namespace wendaro
