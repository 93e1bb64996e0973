#pragma once

#include <QtGlobal>

#ifdef Q_OS_LINUX
#include <sys/mman.h>
#endif

namespace wendaro {

// A buffer of many megabytes filled at once costs far less in 2 MiB pages
// than in 4 KiB ones: the first touch of each page is most of what reading
// or decoding a large file costs. Asks for them where the system has them;
// a hint only, nothing changes if it is not taken.
inline void adviseLargePages(void *data, qsizetype size)
{
#ifdef Q_OS_LINUX
    constexpr quintptr Large = quintptr(2) << 20;
    const quintptr begin = (quintptr(data) + Large - 1) & ~(Large - 1);
    const quintptr end = (quintptr(data) + quintptr(size)) & ~(Large - 1);
    if (end > begin)
        madvise(reinterpret_cast<void *>(begin), end - begin, MADV_HUGEPAGE);
#else
    Q_UNUSED(data);
    Q_UNUSED(size);
#endif
}

// Gives the whole pages between data and data + size back to the system:
// what they held is no longer needed, and reads of them would give zeros.
inline void releasePages(char *data, qsizetype size)
{
#ifdef Q_OS_LINUX
    constexpr quintptr Page = 4096;
    const quintptr begin = (quintptr(data) + Page - 1) & ~(Page - 1);
    const quintptr end = (quintptr(data) + quintptr(size)) & ~(Page - 1);
    if (end > begin)
        madvise(reinterpret_cast<void *>(begin), end - begin, MADV_DONTNEED);
#else
    Q_UNUSED(data);
    Q_UNUSED(size);
#endif
}

} // namespace wendaro
