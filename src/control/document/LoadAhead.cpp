// SPDX-License-Identifier: GPL-3.0-or-later
#include "control/document/LoadAhead.h"

#include <QThread>

#include <chrono>
#include <utility>

namespace wendaro {

namespace {

// Often enough for a progress bar that redraws every few dozen milliseconds;
// the load's end wakes the wait at once.
constexpr std::chrono::milliseconds ProgressPoll{10};

void copyProgress(const LoadProgress &from, LoadProgress &to)
{
    to.steps.store(from.steps.load(std::memory_order_relaxed), std::memory_order_relaxed);
    to.step.store(from.step.load(std::memory_order_relaxed), std::memory_order_relaxed);
    to.total.store(from.total.load(std::memory_order_relaxed), std::memory_order_relaxed);
    to.done.store(from.done.load(std::memory_order_relaxed), std::memory_order_relaxed);
}

} // namespace

LoadAhead::LoadAhead(QString path, CodePage codePage) : m_path(std::move(path)), m_codePage(std::move(codePage))
{
    // Qt takes the first thread that uses it for the program's main thread,
    // and the load's thread uses QFile at once. Asked here first, Qt takes
    // this thread, which goes on to build the application; otherwise the
    // window would be made on what Qt holds to be another thread, and would
    // not take a click.
    QThread::currentThread();
    // A thread of the standard library, not a QThread or a job of Qt's
    // thread pool as the window's other background work: it starts before
    // the application exists and outlives it (main holds it from before
    // QApplication to after), while Qt's pool belongs to the application and
    // is waited for at its end, so a load the window did not take would hold
    // up the program's exit; and it needs no event loop of its own.
    m_thread = std::thread([this] {
        LoadedDocument document;
        bool loaded = false;
        QString error;
        std::exception_ptr failure;
        try {
            loaded = loadDocument(m_path, m_codePage, document, &error, nullptr, &m_progress);
        } catch (...) {
            failure = std::current_exception();
        }
        const std::lock_guard lock(m_mutex);
        m_document = std::move(document);
        m_loaded = loaded;
        m_error = std::move(error);
        m_failure = failure;
        m_done = true;
        m_ended.notify_all();
    });
}

LoadAhead::~LoadAhead()
{
    m_progress.cancel();
    m_thread.join();
}

bool LoadAhead::wait(LoadProgress &shown, LoadedDocument &into, QString *error)
{
    std::unique_lock lock(m_mutex);
    while (!m_ended.wait_for(lock, ProgressPoll, [this] { return m_done; })) {
        copyProgress(m_progress, shown);
        if (shown.isCancelled())
            m_progress.cancel();
    }
    copyProgress(m_progress, shown);
    if (m_failure)
        std::rethrow_exception(std::exchange(m_failure, nullptr));
    into = std::move(m_document);
    if (!m_loaded)
        *error = std::move(m_error);
    return m_loaded;
}

} // namespace wendaro
