// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QFuture>
#include <QList>
#include <QObject>

#include <atomic>
#include <functional>
#include <memory>
#include <utility>

namespace wendaro {

// Work on a worker thread of which only the latest result counts: each
// start supersedes the one before, whose work is told to stop and whose
// result, should it come all the same, is dropped. The result is handed over
// on the owner's thread, by its event loop, so that the owner never locks
// anything. The owner waits for the workers in its destructor (waitForAll):
// a worker still running would post its result to an object that is gone.
//
// The work is called as work(stopped) on the worker and may return early
// once stopped is set; deliver(result) is then never called for it.
class LatestTask
{
public:
    explicit LatestTask(QObject &owner) : m_owner(owner) {}
    ~LatestTask();
    LatestTask(const LatestTask &) = delete;
    LatestTask &operator=(const LatestTask &) = delete;

    template<typename Work, typename Deliver>
    void start(Work work, Deliver deliver)
    {
        run(job(std::move(work), std::move(deliver)));
    }
    // As start, on a worker once the latest work of before has ended: on a
    // busy machine that work's result comes first.
    template<typename Work, typename Deliver>
    void startAfter(const LatestTask &before, Work work, Deliver deliver)
    {
        runAfter(before, job(std::move(work), std::move(deliver)));
    }
    // No result of the work started so far is handed over any more.
    void cancel();
    // Blocks until every worker started has ended.
    void waitForAll();
    // A start's result is still to come.
    bool isRunning() const { return m_running; }

private:
    using Stop = std::shared_ptr<std::atomic<bool>>;

    // Supersedes the latest start; the generation of the new one.
    quint64 begin(Stop stop);
    void run(std::function<void()> job);
    void runAfter(const LatestTask &before, std::function<void()> job);
    void keep(QFuture<void> future);
    // On the owner's thread: whether the start of generation is the latest.
    bool takes(quint64 generation);

    template<typename Work, typename Deliver>
    auto job(Work work, Deliver deliver)
    {
        auto stop = std::make_shared<std::atomic<bool>>(false);
        const quint64 generation = begin(stop);
        return [this, stop, generation, work = std::move(work), deliver = std::move(deliver)]() mutable {
            auto result = work(std::as_const(*stop));
            if (stop->load())
                return;
            QMetaObject::invokeMethod(
                &m_owner,
                [this, generation, deliver = std::move(deliver), result = std::move(result)]() mutable {
                    if (takes(generation))
                        deliver(std::move(result));
                },
                Qt::QueuedConnection);
        };
    }

    QObject &m_owner;
    quint64 m_generation = 0;
    bool m_running = false;
    Stop m_stop;
    QList<QFuture<void>> m_futures;
};

} // namespace wendaro
