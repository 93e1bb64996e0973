// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QHashFunctions>
#include <QString>

#include <optional>

namespace wendaro {

// What rows of two tables are matched by: the 16-bit index their index text
// is saved as, so that "    7" of an STF file and "007" typed in a list are
// one index. An index text that is no such number (a list may hold one while
// it is edited) is matched by its text without the padding spaces: such rows
// still pair with themselves, and never with a number. They sort after
// every number, by their text.
struct RowIndex
{
    std::optional<qint16> number;
    QString text; // when number is nullopt

    static RowIndex of(const QString &indexText);
    // The number in decimal, or the text.
    QString shown() const;

    friend bool operator==(const RowIndex &, const RowIndex &) = default;
    friend bool operator<(const RowIndex &a, const RowIndex &b)
    {
        if (a.number && b.number)
            return *a.number < *b.number;
        if (a.number || b.number)
            return bool(a.number);
        return a.text < b.text;
    }
};

inline size_t qHash(const RowIndex &index, size_t seed = 0)
{
    return index.number ? ::qHash(int(*index.number), seed) : ::qHash(index.text, seed ^ 0x9e3779b9u);
}

} // namespace wendaro
