// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/io/MemoryAdvice.h"

#include <QtGlobal>

#if defined(Q_OS_LINUX) && defined(__GLIBC__)
#include <malloc.h>
#include <unistd.h>
#endif

namespace wendaro {

// The rows of a table are small blocks of the heap, names and indexes, one
// or two per row; a table of 32,766 rows fills about 12 MB of it, and the
// first touch of its 4 KiB pages cost as much as reading the file. Called
// once at the start of a program: the heap then grows by 64 MiB at a time
// (address space only, until used), and its first such step is advised
// onto 2 MiB pages. With oneHeap every thread allocates from that one heap:
// the window reads its rows on a worker thread, which would otherwise be
// given a heap of its own on small pages. Threads that load tables side by
// side (the CLI's grep) would wait on that heap's lock instead: they keep a
// heap each. Nothing happens where malloc is not glibc's own (under a
// sanitizer, say) or the heap does not grow.
inline void growHeapOnLargePages(bool oneHeap)
{
#if defined(Q_OS_LINUX) && defined(__GLIBC__)
    constexpr int Step = 64 << 20;
    if (mallopt(M_TOP_PAD, Step) == 0 || (oneHeap && mallopt(M_ARENA_MAX, 1) == 0))
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
