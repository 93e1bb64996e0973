// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Timing for the benchmarks: the best of several runs, by the wall clock and
// by this thread's CPU time.

#include <QElapsedTimer>

#include <algorithm>
#include <ctime>
#include <functional>

#ifdef __GLIBC__
#include <malloc.h>
#endif

namespace wendaro::bench {

// One run's time: wall clock, and the CPU time of this thread, which other
// processes on a busy machine do not inflate.
struct Time
{
    double wallMs = 1e300;
    double cpuMs = 1e300;
    void keepBest(const Time &other)
    {
        wallMs = std::min(wallMs, other.wallMs);
        cpuMs = std::min(cpuMs, other.cpuMs);
    }
};

inline double threadCpuMs()
{
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return double(now.tv_sec) * 1e3 + double(now.tv_nsec) / 1e6;
}

// One run of work; prepare runs first, untimed.
inline Time timeOnce(const std::function<void()> &prepare, const std::function<void()> &work)
{
    prepare();
    const double cpuStart = threadCpuMs();
    QElapsedTimer timer;
    timer.start();
    work();
    const double wallMs = double(timer.nsecsElapsed()) / 1e6;
    return {wallMs, threadCpuMs() - cpuStart};
}

// Keeps freed memory in the process instead of handing it back to the system
// after each run: otherwise every run pays for mapping and touching fresh
// pages, which on a virtual machine costs more than the work itself and
// varies from run to run. The editor, a long-running process, reuses its heap
// the same way.
inline void keepHeapInProcess()
{
#ifdef __GLIBC__
    mallopt(M_MMAP_THRESHOLD, 256 * 1024 * 1024);
    mallopt(M_TRIM_THRESHOLD, 1024 * 1024 * 1024);
#endif
}

} // namespace wendaro::bench
