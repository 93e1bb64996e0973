#pragma once

#include <QtGlobal>

#ifdef Q_OS_LINUX
#include <sys/mman.h>
#endif
#if defined(Q_OS_LINUX) && defined(__GLIBC__)
#include <malloc.h>
#include <unistd.h>
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

// The rows of a table are small blocks of the heap, names and indexes, one
// or two per row; a table of 32,766 rows fills about 12 MB of it, and the
// first touch of its 4 KiB pages cost as much as reading the file. Called
// once at the start of a program: the heap then grows by 64 MiB at a time
// (address space only, until used), and its first such step is advised
// onto 2 MiB pages. Every thread allocates from that one heap: the window
// reads its rows on a worker thread, which would otherwise be given a heap
// of its own on small pages. Nothing happens where malloc is not glibc's
// own (under a sanitizer, say) or the heap does not grow.
inline void growHeapOnLargePages()
{
#if defined(Q_OS_LINUX) && defined(__GLIBC__)
    constexpr int Step = 64 << 20;
    if (mallopt(M_TOP_PAD, Step) == 0 || mallopt(M_ARENA_MAX, 1) == 0)
        return;
    char *const before = static_cast<char *>(sbrk(0));
    // Blocks below the size malloc maps on their own come from the heap's
    // top; once the top is used up, the heap grows by the step.
    constexpr size_t Block = 96 << 10;
    void *blocks[4] = {};
    char *after = before;
    for (void *&block : blocks) {
        block = malloc(Block);
        after = static_cast<char *>(sbrk(0));
        if (after != before)
            break;
    }
    for (void *block : blocks)
        free(block);
    if (before != reinterpret_cast<char *>(-1) && after > before)
        adviseLargePages(before, after - before);
#endif
}

} // namespace wendaro
