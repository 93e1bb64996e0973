#include "SaveRefusals.h"

#include "CharacterName.h"
#include "CodePage.h"
#include "StfLayout.h"

namespace wendaro::refusal {

namespace {

QString separatorName(QChar c)
{
    if (c == u'\t')
        return QStringLiteral("TAB");
    return c == u'\r' ? QStringLiteral("CR") : QStringLiteral("LF");
}

} // namespace

QString rowPart(qsizetype position, QStringView index, const QString &part)
{
    return QStringLiteral("%1 番目の項目（インデックス %2）の%3").arg(position).arg(index, part);
}

QString rowIndex(qsizetype position)
{
    return QStringLiteral("%1 番目の項目のインデックス").arg(position);
}

QString unrepresentable(const QString &what, QStringView text, qsizetype at, const CodePage &codePage)
{
    // Only the character itself (a surrogate pair at most) is copied, however long the text.
    const QString character = text.sliced(at, qMin<qsizetype>(2, text.size() - at)).toString();
    return QStringLiteral("%1の %2 文字目 %3 は、コードページ %4 で表せません。")
        .arg(what)
        .arg(at + 1)
        .arg(characterName(character, 0), codePage.name());
}

std::optional<QString> stfEntryCount(qsizetype count)
{
    if (count <= stf::MaxEntryCount)
        return std::nullopt;
    return QStringLiteral("項目が %1 件あります。STF ファイルに保存できるのは %2 件までです。")
        .arg(count)
        .arg(stf::MaxEntryCount);
}

QString stfSharedIndex(qsizetype firstPosition, qsizetype position, qint16 index)
{
    return QStringLiteral("%1 番目と %2 番目の項目のインデックスがどちらも %3 です。"
                          "同じインデックスの項目が二つある表は STF ファイルに保存できません。")
        .arg(firstPosition)
        .arg(position)
        .arg(index);
}

std::optional<QString> stfValueLength(qsizetype position, qint16 index, qsizetype savedLength)
{
    if (savedLength <= stf::MaxLength)
        return std::nullopt;
    return QStringLiteral("%1 番目の項目（インデックス %2）の値は改行を CR LF にして %3 文字あります。"
                          "保存できるのは %4 文字（UTF-16 単位）までです。")
        .arg(position)
        .arg(index)
        .arg(savedLength)
        .arg(stf::MaxLength);
}

std::optional<QString> stfNameLength(qsizetype position, qint16 index, qsizetype byteCount, const CodePage &codePage)
{
    if (byteCount <= stf::MaxLength)
        return std::nullopt;
    return QStringLiteral("%1 番目の項目（インデックス %2）の名前はコードページ %3 で %4 バイトあります。"
                          "保存できるのは %5 バイトまでです。")
        .arg(position)
        .arg(index)
        .arg(codePage.name())
        .arg(byteCount)
        .arg(stf::MaxLength);
}

namespace {

// Separators are control characters: one comparison with the highest of
// them passes over nearly every character of a long value.
char16_t highestOf(QStringView separators)
{
    char16_t highest = 0;
    for (const QChar c : separators)
        highest = qMax(highest, c.unicode());
    return highest;
}

// The first of separators in text from `from` on, or -1. A block is passed
// over with comparisons that need no branch, which the compiler does many
// at a time; only a block with a low character is looked at one by one.
qsizetype firstFrom(QStringView text, qsizetype from, QStringView separators, char16_t highest)
{
    const char16_t *const units = text.utf16();
    const qsizetype size = text.size();
    constexpr qsizetype Block = 32;
    for (qsizetype i = from; i < size;) {
        if (i + Block <= size) {
            bool low = false;
            for (qsizetype k = 0; k < Block; ++k)
                low |= units[i + k] <= highest;
            if (!low) {
                i += Block;
                continue;
            }
        }
        for (const qsizetype end = qMin(size, i + Block); i < end; ++i) {
            if (units[i] <= highest && separators.contains(QChar(units[i])))
                return i;
        }
    }
    return -1;
}

} // namespace

qsizetype firstOf(QStringView text, QStringView separators)
{
    return firstFrom(text, 0, separators, highestOf(separators));
}

bool holdsSeparatorBesidesLineBreaks(QStringView fileUnits, QStringView separators)
{
    const char16_t highest = highestOf(separators);
    for (qsizetype from = 0;;) {
        const qsizetype at = firstFrom(fileUnits, from, separators, highest);
        if (at < 0)
            return false;
        if (fileUnits[at] != u'\r' || at + 1 == fileUnits.size() || fileUnits[at + 1] != u'\n')
            return true;
        from = at + 2;
    }
}

QString textSeparator(const QString &what, qsizetype at, QChar c)
{
    return QStringLiteral("%1の %2 文字目に %3 があります。テキスト形式では行や項目の区切りになるため、保存できません。")
        .arg(what)
        .arg(at + 1)
        .arg(separatorName(c));
}

} // namespace wendaro::refusal
