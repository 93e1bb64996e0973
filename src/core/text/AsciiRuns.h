// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QtGlobal>

#include <bit>
#include <cstring>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace wendaro::ascii {

// Runs of ASCII, sixteen bytes or code units at a time: most of a table's
// text is ASCII between its Japanese characters, and a code page that reads
// ASCII as itself passes such a run through without a table lookup. SSE2
// where the compiler has it (every x86-64), plain loops elsewhere.
//
// The widening and narrowing calls always store a whole block: the caller
// keeps only the first units it was told are ASCII and has room for the
// rest, which the next characters overwrite.

constexpr qsizetype Block = 16;

// A bit for each of in[0..16) that is 0x80 or more.
inline unsigned highBytes(const unsigned char *in)
{
#if defined(__SSE2__)
    return unsigned(_mm_movemask_epi8(_mm_loadu_si128(reinterpret_cast<const __m128i *>(in))));
#else
    unsigned high = 0;
    for (int k = 0; k < Block; ++k)
        high |= unsigned(in[k] >> 7) << k;
    return high;
#endif
}

// A bit for each of in[0..16) that is byte.
inline unsigned bytesEqualTo(const unsigned char *in, unsigned char byte)
{
#if defined(__SSE2__)
    const __m128i bytes = _mm_loadu_si128(reinterpret_cast<const __m128i *>(in));
    return unsigned(_mm_movemask_epi8(_mm_cmpeq_epi8(bytes, _mm_set1_epi8(char(byte)))));
#else
    unsigned equal = 0;
    for (int k = 0; k < Block; ++k)
        equal |= unsigned(in[k] == byte) << k;
    return equal;
#endif
}

// How many of the first bytes of a block are ASCII, given its highBytes().
inline qsizetype leadingAscii(unsigned high)
{
    return high == 0 ? Block : std::countr_zero(high);
}

// Writes in[0..16) as sixteen code units in the host's order at out,
// which may be at any address.
inline void widen(const unsigned char *in, char *out)
{
#if defined(__SSE2__)
    const __m128i bytes = _mm_loadu_si128(reinterpret_cast<const __m128i *>(in));
    const __m128i zero = _mm_setzero_si128();
    _mm_storeu_si128(reinterpret_cast<__m128i *>(out), _mm_unpacklo_epi8(bytes, zero));
    _mm_storeu_si128(reinterpret_cast<__m128i *>(out + Block), _mm_unpackhi_epi8(bytes, zero));
#else
    for (int k = 0; k < Block; ++k) {
        const char16_t unit = in[k];
        std::memcpy(out + 2 * k, &unit, sizeof unit);
    }
#endif
}

// For units[0..16): a bit for each unit that is not ASCII, and in cr a bit
// for each CR.
inline unsigned nonAsciiUnits(const char16_t *units, unsigned *cr)
{
#if defined(__SSE2__)
    const __m128i a = _mm_loadu_si128(reinterpret_cast<const __m128i *>(units));
    const __m128i b = _mm_loadu_si128(reinterpret_cast<const __m128i *>(units + 8));
    // Compared as units, each giving all ones or zeros, then packed to a
    // byte each: packing the units themselves would saturate them as signed
    // numbers, and a unit of 0x8000 or more would pass for NUL.
    const __m128i zero = _mm_setzero_si128();
    const __m128i high = _mm_set1_epi16(short(0xFF80));
    const __m128i asciiA = _mm_cmpeq_epi16(_mm_and_si128(a, high), zero);
    const __m128i asciiB = _mm_cmpeq_epi16(_mm_and_si128(b, high), zero);
    const __m128i crs = _mm_set1_epi16('\r');
    *cr = unsigned(_mm_movemask_epi8(_mm_packs_epi16(_mm_cmpeq_epi16(a, crs), _mm_cmpeq_epi16(b, crs))));
    return ~unsigned(_mm_movemask_epi8(_mm_packs_epi16(asciiA, asciiB))) & 0xFFFFU;
#else
    unsigned high = 0;
    *cr = 0;
    for (int k = 0; k < Block; ++k) {
        high |= unsigned(units[k] >= 0x80) << k;
        *cr |= unsigned(units[k] == u'\r') << k;
    }
    return high;
#endif
}

// Writes units[0..16) as sixteen bytes at out: right for those that are
// ASCII, anything for the others.
inline void narrow(const char16_t *units, char *out)
{
#if defined(__SSE2__)
    const __m128i a = _mm_loadu_si128(reinterpret_cast<const __m128i *>(units));
    const __m128i b = _mm_loadu_si128(reinterpret_cast<const __m128i *>(units + 8));
    _mm_storeu_si128(reinterpret_cast<__m128i *>(out), _mm_packus_epi16(a, b));
#else
    for (int k = 0; k < Block; ++k)
        out[k] = char(units[k]);
#endif
}

} // namespace wendaro::ascii
