// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArrayView>

namespace wendaro {

// The length of the well-formed UTF-8 sequence that begins at in[i] (of
// size bytes): 1 for ASCII, 2 to 4 for the others, 0 when the byte there
// begins none. Overlong forms, surrogates, values beyond U+10FFFF and
// sequences cut short by the end are not well formed. Inline for the
// decoding loops that call it at every byte beyond ASCII.
inline int utf8SequenceAt(const unsigned char *in, qsizetype i, qsizetype size)
{
    const unsigned char lead = in[i];
    int length = 0;
    unsigned char low = 0x80;
    unsigned char high = 0xBF;
    if (lead < 0x80)
        return 1;
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        low = lead == 0xE0 ? 0xA0 : 0x80;
        high = lead == 0xED ? 0x9F : 0xBF;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        low = lead == 0xF0 ? 0x90 : 0x80;
        high = lead == 0xF4 ? 0x8F : 0xBF;
    } else {
        return 0;
    }
    if (size - i < length)
        return 0;
    const unsigned char second = in[i + 1];
    if (second < low || second > high)
        return 0;
    for (int k = 2; k < length; ++k) {
        if ((in[i + k] & 0xC0) != 0x80)
            return 0;
    }
    return length;
}

// The offset of the first byte of data that begins no well-formed UTF-8
// sequence, or -1 when all of data is well formed.
inline qsizetype firstInvalidUtf8(QByteArrayView data)
{
    const auto *in = reinterpret_cast<const unsigned char *>(data.data());
    qsizetype i = 0;
    while (i < data.size()) {
        const int length = utf8SequenceAt(in, i, data.size());
        if (length == 0)
            return i;
        i += length;
    }
    return -1;
}

} // namespace wendaro
