// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The full table that the benchmarks time: 32,766 entries, the most an STF
// file holds, with shuffled indexes, names and values of realistic lengths.
// The same on every run of every bench.

#include "core/model/Entry.h"
#include "core/model/IndexText.h"

#include <random>
#include <vector>

namespace wendaro::bench {

constexpr int EntryCount = 32766;

class TableMaker
{
public:
    std::vector<Entry> make()
    {
        std::vector<Entry> rows;
        rows.reserve(size_t(EntryCount));
        for (const int index : shuffledIndexes())
            rows.push_back({indexText(qint16(index)), name(), value(), std::nullopt});
        return rows;
    }

    // 1 to EntryCount in a shuffled order.
    std::vector<int> shuffledIndexes()
    {
        std::vector<int> indexes(EntryCount);
        for (int i = 0; i < EntryCount; ++i)
            indexes[size_t(i)] = i + 1;
        for (size_t i = indexes.size() - 1; i > 0; --i)
            std::swap(indexes[i], indexes[pick(int(i) + 1)]);
        return indexes;
    }

    // 8 to 40 single-byte characters, some of them half-width katakana.
    QString name()
    {
        static const QString letters = QStringLiteral(
            "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789_");
        const int length = 8 + int(pick(33));
        QString result;
        for (int i = 0; i < length; ++i) {
            if (pick(10) == 0)
                result += QChar(char16_t(0xFF66 + pick(0x38)));
            else
                result += letters[qsizetype(pick(int(letters.size())))];
        }
        return result;
    }

    // 0 to 400 code units of words, Japanese runs and line breaks ("<br>").
    QString value() { return valueOfLength(qsizetype(pick(401))); }

    // length code units of the same mix.
    QString valueOfLength(qsizetype length)
    {
        static const QString kanji = QStringLiteral("日本語文字列表値名前番号項目保存読込");
        QString result;
        result.reserve(length + 8);
        while (result.size() < length) {
            switch (pick(8)) {
            case 0: result += QStringLiteral("<br>"); break;
            case 1:
            case 2:
                for (size_t n = 1 + pick(6); n > 0; --n)
                    result += pick(2) ? QChar(char16_t(0x3042 + pick(80))) : kanji[qsizetype(pick(int(kanji.size())))];
                break;
            default:
                for (size_t n = 1 + pick(9); n > 0; --n)
                    result += QChar(char16_t('a' + pick(26)));
                result += QLatin1Char(' ');
                break;
            }
        }
        result.truncate(length);
        return result;
    }

private:
    size_t pick(int count) { return size_t(m_random() % unsigned(count)); }

    std::mt19937 m_random{20240517};
};

} // namespace wendaro::bench
