// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/model/FoldedOrder.h"

#include <QChar>

#include <cstring>

namespace wendaro {

namespace {

// Yields the code units of the folded text one at a time, exactly as
// QString::toCaseFolded would produce them: code point by code point, and with
// its treatment of lone surrogates, which it keeps before the first character
// that folds to another, turns into U+FFFD after it, and keeps in a run of
// high surrogates that ends the text.
class FoldedUnits
{
public:
    explicit FoldedUnits(QStringView text) : m_text(text), m_end(closingHighRun(text)) {}
    // Continues at unit `from`, which starts a character, after a start that
    // held a character that folds to another or not.
    FoldedUnits(QStringView text, qsizetype from, bool changed)
        : m_text(text), m_end(closingHighRun(text)), m_at(from), m_changed(changed)
    {
    }

    static qsizetype closingHighRun(QStringView text)
    {
        qsizetype end = text.size();
        while (end > 0 && text[end - 1].isHighSurrogate())
            --end;
        return end;
    }
    bool hasChanged() const { return m_changed; }
    qsizetype position() const { return m_at; }

    // The next folded unit, or -1 at the end.
    int next()
    {
        if (m_pending != 0) {
            const int unit = m_pending;
            m_pending = 0;
            return unit;
        }
        if (m_at >= m_text.size())
            return -1;
        const char16_t unit = m_text[m_at++].unicode();
        if (unit < 0x80) {
            if (unit < u'A' || unit > u'Z')
                return unit;
            m_changed = true;
            return unit + (u'a' - u'A');
        }
        if (m_at > m_end)
            return unit;
        char32_t point = unit;
        if (QChar::isSurrogate(unit)) {
            if (!QChar::isHighSurrogate(unit) || m_at >= m_end || !m_text[m_at].isLowSurrogate())
                return m_changed ? 0xFFFD : unit;
            point = QChar::surrogateToUcs4(unit, m_text[m_at++].unicode());
        }
        const char32_t folded = QChar::toCaseFolded(point);
        m_changed = m_changed || folded != point;
        if (!QChar::requiresSurrogates(folded))
            return int(folded);
        m_pending = QChar::lowSurrogate(folded);
        return QChar::highSurrogate(folded);
    }

private:
    QStringView m_text;
    qsizetype m_end; // where the closing run of high surrogates starts
    qsizetype m_at = 0;
    int m_pending = 0;
    bool m_changed = false;
};

// Compares what is left of two texts, one folded unit at a time.
int compareUnits(FoldedUnits &left, FoldedUnits &right)
{
    for (;;) {
        const int x = left.next();
        const int y = right.next();
        if (x != y)
            return x < y ? -1 : 1;
        if (x < 0)
            return 0;
    }
}

} // namespace

int compareFolded(QStringView a, QStringView b)
{
    FoldedUnits left(a);
    FoldedUnits right(b);
    return compareUnits(left, right);
}

qsizetype firstFoldedChange(QStringView text)
{
    FoldedUnits units(text);
    for (qsizetype start = 0; units.next() >= 0; start = units.position()) {
        if (units.hasChanged())
            return start;
    }
    return text.size();
}

int compareFolded(QStringView a, qsizetype aFirstChange, QStringView b, qsizetype bFirstChange)
{
    const qsizetype shorter = qMin(a.size(), b.size());
    qsizetype same = 0;
    while (same + 64 <= shorter && std::memcmp(a.data() + same, b.data() + same, 64 * sizeof(char16_t)) == 0)
        same += 64;
    while (same + 4 <= shorter && std::memcmp(a.data() + same, b.data() + same, 4 * sizeof(char16_t)) == 0)
        same += 4;
    while (same < shorter && a[same] == b[same])
        ++same;
    // Both fold their shared start alike, as long as it holds whole
    // characters and no closing run of high surrogates.
    same = qMin(same, qMin(FoldedUnits::closingHighRun(a), FoldedUnits::closingHighRun(b)));
    if (same > 0 && a[same - 1].isHighSurrogate())
        --same;
    Q_ASSERT((aFirstChange < same) == (bFirstChange < same));
    Q_UNUSED(bFirstChange);
    FoldedUnits left(a, same, aFirstChange < same);
    FoldedUnits right(b, same, aFirstChange < same);
    return compareUnits(left, right);
}

FoldedKey FoldedKey::of(QStringView text)
{
    // A text that ends early leaves zero units, which sort before any other
    // unit: a shorter text's key is never above a longer one it begins.
    FoldedUnits units(text);
    quint64 packed[2] = {0, 0};
    for (int i = 0; i < 8; ++i) {
        const int unit = units.next();
        if (unit < 0)
            break;
        packed[i / 4] |= quint64(unit) << (16 * (3 - i % 4));
    }
    return {packed[0], packed[1]};
}

} // namespace wendaro
