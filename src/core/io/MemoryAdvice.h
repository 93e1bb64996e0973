// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QtGlobal>

#ifdef Q_OS_LINUX
#include <sys/mman.h>
#endif

namespace wendaro {

#ifdef Q_OS_LINUX

namespace detail {

// Gives the advice for the whole pages of pageSize bytes between data and
// data + size; a part page at either end is left alone.
inline void adviseWholePages(void *data, qsizetype size, quintptr pageSize, int advice)
{
    const quintptr begin = (quintptr(data) + pageSize - 1) & ~(pageSize - 1);
    const quintptr end = (quintptr(data) + quintptr(size)) & ~(pageSize - 1);
    if (end > begin)
        madvise(reinterpret_cast<void *>(begin), end - begin, advice);
}

} // namespace detail

// A buffer of many megabytes filled at once costs far less in 2 MiB pages
// than in 4 KiB ones: the first touch of each page is most of what reading
// or decoding a large file costs. Asks for them where the system has them;
// a hint only, nothing changes if it is not taken.
inline void adviseLargePages(void *data, qsizetype size)
{
    detail::adviseWholePages(data, size, quintptr(2) << 20, MADV_HUGEPAGE);
}

// Gives the whole pages between data and data + size back to the system:
// what they held is no longer needed, and reads of them would give zeros.
inline void releasePages(char *data, qsizetype size)
{
    detail::adviseWholePages(data, size, 4096, MADV_DONTNEED);
}

#else

// Elsewhere the system is given no hints.
inline void adviseLargePages(void *, qsizetype) {}
inline void releasePages(char *, qsizetype) {}

#endif

} // namespace wendaro
