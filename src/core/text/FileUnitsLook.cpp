// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/text/FileUnitsLook.h"

#include <bit>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace wendaro {

namespace {

// What the look counts as it goes. Every CR and every LF belongs to a pair
// exactly when there are as many of each as there are pairs, so no unit
// needs a look at its neighbours but the one before each LF: a value with
// a line break every few words has no branch to mispredict at each.
struct Counts
{
    qsizetype crs = 0;
    qsizetype lfs = 0;
    qsizetype pairs = 0; // LFs after a CR
    bool tab = false;
    char16_t all = 0; // every unit or-ed
};

bool listBreakAt(const char16_t *units, qsizetype size, qsizetype at)
{
    return size - at >= 4 && units[at + 1] == u'b' && units[at + 2] == u'r' && units[at + 3] == u'>';
}

// Counts units[from..to), with units[from - 1] before the first when from
// is past 0; false at a "<br>", where the look ends.
bool countOneByOne(const char16_t *units, qsizetype size, qsizetype from, qsizetype to, Counts &counts)
{
    for (qsizetype at = from; at < to; ++at) {
        const char16_t c = units[at];
        if (c == u'<' && listBreakAt(units, size, at))
            return false;
        counts.all |= c;
        counts.crs += c == u'\r' ? 1 : 0;
        counts.lfs += c == u'\n' ? 1 : 0;
        counts.pairs += c == u'\n' && at > 0 && units[at - 1] == u'\r' ? 1 : 0;
        counts.tab = counts.tab || c == u'\t';
    }
    return true;
}

#if defined(__SSE2__)

// Sixteen units at a time, counted in lanes of sixteen bits: a lane sees
// one unit in eight, so a run of Chunk units cannot overflow one.
constexpr qsizetype Block = 16;
constexpr qsizetype Chunk = 32768;

qsizetype sumOfLanes(__m128i lanes)
{
    const __m128i pairs = _mm_madd_epi16(lanes, _mm_set1_epi16(1));
    const __m128i half = _mm_add_epi32(pairs, _mm_shuffle_epi32(pairs, _MM_SHUFFLE(1, 0, 3, 2)));
    const __m128i all = _mm_add_epi32(half, _mm_shuffle_epi32(half, _MM_SHUFFLE(2, 3, 0, 1)));
    return qsizetype(quint32(_mm_cvtsi128_si32(all)));
}

// The whole blocks of units[from..to), from past 0; returns where they end,
// or -1 at a "<br>".
qsizetype countBlocks(const char16_t *units, qsizetype size, qsizetype from, qsizetype to, Counts &counts)
{
    const auto load = [units](qsizetype at) { return _mm_loadu_si128(reinterpret_cast<const __m128i *>(units + at)); };
    const __m128i cr = _mm_set1_epi16('\r');
    const __m128i lf = _mm_set1_epi16('\n');
    const __m128i tab = _mm_set1_epi16('\t');
    const __m128i open = _mm_set1_epi16('<');
    __m128i all = _mm_setzero_si128();
    __m128i tabs = _mm_setzero_si128();
    qsizetype at = from;
    while (to - at >= Block) {
        // A compared unit is all ones, minus one: subtracting counts it.
        __m128i crs = _mm_setzero_si128();
        __m128i lfs = _mm_setzero_si128();
        __m128i pairs = _mm_setzero_si128();
        for (const qsizetype chunkEnd = qMin(to, at + Chunk); chunkEnd - at >= Block; at += Block) {
            const __m128i a = load(at);
            const __m128i b = load(at + 8);
            const __m128i lfA = _mm_cmpeq_epi16(a, lf);
            const __m128i lfB = _mm_cmpeq_epi16(b, lf);
            crs = _mm_sub_epi16(_mm_sub_epi16(crs, _mm_cmpeq_epi16(a, cr)), _mm_cmpeq_epi16(b, cr));
            lfs = _mm_sub_epi16(_mm_sub_epi16(lfs, lfA), lfB);
            pairs = _mm_sub_epi16(pairs, _mm_and_si128(lfA, _mm_cmpeq_epi16(load(at - 1), cr)));
            pairs = _mm_sub_epi16(pairs, _mm_and_si128(lfB, _mm_cmpeq_epi16(load(at + 7), cr)));
            tabs = _mm_or_si128(tabs, _mm_or_si128(_mm_cmpeq_epi16(a, tab), _mm_cmpeq_epi16(b, tab)));
            all = _mm_or_si128(all, _mm_or_si128(a, b));
            // Each compared unit all ones or zeros, so packing them keeps them so.
            for (unsigned opens =
                     unsigned(_mm_movemask_epi8(_mm_packs_epi16(_mm_cmpeq_epi16(a, open), _mm_cmpeq_epi16(b, open))));
                 opens != 0; opens &= opens - 1) {
                if (listBreakAt(units, size, at + std::countr_zero(opens)))
                    return -1;
            }
        }
        counts.crs += sumOfLanes(crs);
        counts.lfs += sumOfLanes(lfs);
        counts.pairs += sumOfLanes(pairs);
    }
    counts.tab = counts.tab || _mm_movemask_epi8(tabs) != 0;
    // Whether any unit is past ASCII is all that is asked of all.
    const __m128i high = _mm_and_si128(all, _mm_set1_epi16(short(0xFF80)));
    if (_mm_movemask_epi8(_mm_cmpeq_epi16(high, _mm_setzero_si128())) != 0xFFFF)
        counts.all |= 0x80;
    return at;
}

#else

qsizetype countBlocks(const char16_t *, qsizetype, qsizetype from, qsizetype, Counts &)
{
    return from;
}

#endif

} // namespace

FileUnitsLook lookAtFileUnits(const char16_t *units, qsizetype size)
{
    FileUnitsLook look;
    Counts counts;
    // The blocks read the unit before each, so the first unit is counted alone.
    const qsizetype first = qMin<qsizetype>(size, 1);
    const qsizetype blocksEnd = countOneByOne(units, size, 0, first, counts)
                                    ? countBlocks(units, size, first, size, counts)
                                    : -1;
    if (blocksEnd < 0 || !countOneByOne(units, size, blocksEnd, size, counts)) {
        look.listBreak = true;
        return look;
    }
    look.lineBreaks = counts.pairs;
    look.separators = counts.tab || counts.crs != counts.pairs || counts.lfs != counts.pairs;
    look.ascii = counts.all < 0x80;
    return look;
}

} // namespace wendaro
