// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QFuture>
#include <QThreadPool>
#include <QtConcurrent/QtConcurrentRun>

#include <algorithm>
#include <condition_variable>
#include <mutex>
#include <optional>
#include <vector>

namespace wendaro::cli {

// Runs work(i) for each i below count on every core and hands each result
// on, take(i, result), in the order of i as soon as it and those before it
// are done. Workers run at most a few items ahead of take, so that what
// waits to be taken stays small. take returns false to stop: the items not
// begun are left.
template<typename Result, typename Work, typename Take>
void runInOrder(size_t count, Work work, Take take)
{
    const size_t workers = size_t(std::max(1, QThreadPool::globalInstance()->maxThreadCount()));
    const size_t ahead = 2 * workers + 2;
    std::mutex mutex;
    std::condition_variable changed;
    std::vector<std::optional<Result>> results(count);
    size_t next = 0;
    size_t taken = 0;
    bool stopped = false;

    const auto run = [&] {
        for (;;) {
            size_t i = 0;
            {
                std::unique_lock lock(mutex);
                changed.wait(lock, [&] { return stopped || next >= count || next < taken + ahead; });
                if (stopped || next >= count)
                    return;
                i = next++;
            }
            Result result = work(i);
            const std::lock_guard lock(mutex);
            results[i] = std::move(result);
            changed.notify_all();
        }
    };
    std::vector<QFuture<void>> running;
    for (size_t w = 0; w < std::min(workers, count); ++w)
        running.push_back(QtConcurrent::run(run));

    for (size_t i = 0; i < count; ++i) {
        Result result;
        {
            std::unique_lock lock(mutex);
            changed.wait(lock, [&] { return results[i].has_value(); });
            result = std::move(*results[i]);
            results[i].reset();
            taken = i + 1;
            changed.notify_all();
        }
        if (!take(i, result)) {
            const std::lock_guard lock(mutex);
            stopped = true;
            changed.notify_all();
            break;
        }
    }
    for (QFuture<void> &future : running)
        future.waitForFinished();
}

} // namespace wendaro::cli
