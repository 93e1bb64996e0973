// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QStringView>

namespace wendaro {

// Removes spaces from both ends. Only the space character counts: a TAB or
// any other blank is part of the text.
inline QStringView trimSpaces(QStringView text)
{
    qsizetype begin = 0;
    qsizetype end = text.size();
    while (begin < end && text[begin] == u' ')
        ++begin;
    while (end > begin && text[end - 1] == u' ')
        --end;
    return text.sliced(begin, end - begin);
}

// Removes spaces from the start only.
inline QStringView trimLeadingSpaces(QStringView text)
{
    qsizetype begin = 0;
    while (begin < text.size() && text[begin] == u' ')
        ++begin;
    return text.sliced(begin);
}

} // namespace wendaro
