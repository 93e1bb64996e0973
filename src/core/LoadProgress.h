#pragma once

#include <QtGlobal>
#include <atomic>

namespace wendaro {

// Shared between a load running on a worker thread and the window waiting for
// it: the reader says how far it got, the window may ask it to stop. Relaxed
// atomics are enough, as the figures only feed a progress bar and the request
// to stop is polled again at every row.
struct LoadProgress
{
    std::atomic<qint64> done{0};
    std::atomic<qint64> total{0};
    std::atomic<bool> cancelRequested{false};

    // A reader is at unit `at` of `of` (bytes of a file, characters of a
    // text). False when the load is to stop.
    bool reached(qint64 at, qint64 of)
    {
        done.store(at, std::memory_order_relaxed);
        total.store(of, std::memory_order_relaxed);
        return !cancelRequested.load(std::memory_order_relaxed);
    }
    void cancel() { cancelRequested.store(true, std::memory_order_relaxed); }
    bool isCancelled() const { return cancelRequested.load(std::memory_order_relaxed); }
    // Per thousand, for a progress bar.
    int permille() const
    {
        const qint64 of = total.load(std::memory_order_relaxed);
        return of <= 0 ? 0 : int(qMin<qint64>(1000, done.load(std::memory_order_relaxed) * 1000 / of));
    }
};

} // namespace wendaro
