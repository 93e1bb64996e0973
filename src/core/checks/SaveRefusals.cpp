// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/checks/SaveRefusals.h"

#include "core/checks/StfLimits.h"
#include "core/text/CharacterName.h"
#include "core/text/CodePage.h"

namespace wendaro::refusal {

QString separatorName(QChar c)
{
    if (c == u'\t')
        return QStringLiteral("TAB");
    return c == u'\r' ? QStringLiteral("CR") : QStringLiteral("LF");
}

QString rowPart(qsizetype position, QStringView index, const QString &part)
{
    return QStringLiteral("%1 番目の項目（インデックス %2）の%3").arg(position + 1).arg(index, part);
}

QString rowIndex(qsizetype position)
{
    return QStringLiteral("%1 番目の項目のインデックス").arg(position + 1);
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

QString andMore(qsizetype more, const QString &what)
{
    return more <= 0 ? QString() : QStringLiteral("%1にはほかにも %2 か所あります。").arg(what).arg(more);
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
        .arg(firstPosition + 1)
        .arg(position + 1)
        .arg(index);
}

QString stfIndexOnRows(qint16 index, qsizetype rows, const QStringList &where)
{
    return QStringLiteral("インデックス %1 の項目が %2 個あります（%3）。"
                          "同じインデックスの項目が二つ以上ある表は STF ファイルに保存できません。")
        .arg(index)
        .arg(rows)
        .arg(where.join(QStringLiteral("、")));
}

std::optional<QString> stfValueLength(qsizetype position, qint16 index, qsizetype savedLength)
{
    if (savedLength <= stf::MaxLength)
        return std::nullopt;
    return QStringLiteral("%1 番目の項目（インデックス %2）の値は改行を CR LF にして %3 文字あります。"
                          "保存できるのは %4 文字（UTF-16 単位）までです。")
        .arg(position + 1)
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
        .arg(position + 1)
        .arg(index)
        .arg(codePage.name())
        .arg(byteCount)
        .arg(stf::MaxLength);
}

namespace {

// Separators are control characters: one comparison with the highest of
// them passes over nearly every character of a long value, and a bit of a
// mask tells whether a low one is one of them.
struct SeparatorSet
{
    explicit SeparatorSet(QStringView separators)
    {
        Q_ASSERT(!separators.isEmpty() && separators.size() <= 3);
        for (const QChar separator : separators) {
            const char16_t c = separator.unicode();
            Q_ASSERT(c < 64);
            highest = qMax(highest, c);
            mask |= quint64(1) << c;
        }
    }
    bool has(char16_t unit) const { return unit <= highest && (mask >> unit) & 1; }

    char16_t highest = 0;
    quint64 mask = 0;
};

// Blocks of units that hold no low character are passed over whole.
constexpr qsizetype Block = 32;

bool anyAtMost(const char16_t *block, char16_t highest)
{
    // As wide as the units, so that the compiler compares many at a time.
    quint16 low = 0;
    for (qsizetype k = 0; k < Block; ++k)
        low |= quint16(block[k] <= highest);
    return low != 0;
}

} // namespace

qsizetype firstOf(QStringView text, QStringView separators)
{
    // A block is passed over with comparisons that need no branch, which the
    // compiler does many at a time; only a block with a low character is
    // looked at one by one.
    const SeparatorSet set(separators);
    const char16_t *const units = text.utf16();
    const qsizetype size = text.size();
    for (qsizetype i = 0; i < size;) {
        if (i + Block <= size && !anyAtMost(units + i, set.highest)) {
            i += Block;
            continue;
        }
        for (const qsizetype end = qMin(size, i + Block); i < end; ++i) {
            if (set.has(units[i]))
                return i;
        }
    }
    return -1;
}

QString textSeparator(const QString &what, qsizetype at, QChar c)
{
    return QStringLiteral(
               "%1の %2 文字目に %3 があります。テキスト形式では行や項目の区切りになるため、保存できません。")
        .arg(what)
        .arg(at + 1)
        .arg(separatorName(c));
}

} // namespace wendaro::refusal
