// SPDX-License-Identifier: GPL-3.0-or-later
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
    // A load goes through steps (reading the file, then its rows), each an
    // equal part of the bar; `done` and `total` count within the current one.
    std::atomic<int> step{0};
    std::atomic<int> steps{1};

    // A reader is at unit `at` of `of` (bytes of a file, characters of a
    // text). False when the load is to stop.
    bool reached(qint64 at, qint64 of)
    {
        done.store(at, std::memory_order_relaxed);
        total.store(of, std::memory_order_relaxed);
        return !cancelRequested.load(std::memory_order_relaxed);
    }
    // Moves on to the next step, whose units start again from nothing.
    void nextStep()
    {
        done.store(0, std::memory_order_relaxed);
        total.store(0, std::memory_order_relaxed);
        step.fetch_add(1, std::memory_order_relaxed);
    }
    void cancel() { cancelRequested.store(true, std::memory_order_relaxed); }
    bool isCancelled() const { return cancelRequested.load(std::memory_order_relaxed); }
    // Per thousand, for a progress bar.
    int permille() const
    {
        const qint64 of = total.load(std::memory_order_relaxed);
        const int within = of <= 0 ? 0 : int(qMin<qint64>(1000, done.load(std::memory_order_relaxed) * 1000 / of));
        const int parts = qMax(1, steps.load(std::memory_order_relaxed));
        return qMin(1000, (qMin(step.load(std::memory_order_relaxed), parts - 1) * 1000 + within) / parts);
    }
};

} // namespace wendaro
