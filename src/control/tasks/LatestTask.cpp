// SPDX-License-Identifier: GPL-3.0-or-later
#include "control/tasks/LatestTask.h"

#include <QtConcurrent/QtConcurrentRun>

namespace wendaro {

LatestTask::~LatestTask()
{
    cancel();
    waitForAll();
}

quint64 LatestTask::begin(Stop stop)
{
    if (m_stop)
        m_stop->store(true);
    m_stop = std::move(stop);
    m_running = true;
    return ++m_generation;
}

void LatestTask::run(std::function<void()> job)
{
    keep(QtConcurrent::run(std::move(job)));
}

void LatestTask::runAfter(const LatestTask &before, std::function<void()> job)
{
    if (before.m_futures.isEmpty())
        run(std::move(job));
    else
        keep(QFuture<void>(before.m_futures.last()).then(QtFuture::Launch::Async, std::move(job)));
}

void LatestTask::keep(QFuture<void> future)
{
    // Those that ended hold nothing more to wait for.
    m_futures.removeIf([](const QFuture<void> &kept) { return kept.isFinished(); });
    m_futures.append(std::move(future));
}

bool LatestTask::takes(quint64 generation)
{
    if (generation != m_generation)
        return false;
    m_running = false;
    return true;
}

void LatestTask::cancel()
{
    if (m_stop)
        m_stop->store(true);
    m_stop.reset();
    // A result on its way is of no use any more: its generation is past.
    ++m_generation;
    m_running = false;
}

void LatestTask::waitForAll()
{
    for (QFuture<void> &future : m_futures)
        future.waitForFinished();
    m_futures.clear();
}

} // namespace wendaro
