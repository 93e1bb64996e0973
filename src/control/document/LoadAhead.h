// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/text/CodePage.h"
#include "core/document/DocumentFile.h"
#include "core/io/LoadProgress.h"

#include <QString>
#include <condition_variable>
#include <exception>
#include <mutex>
#include <thread>

namespace wendaro {

// A file's load started on its own thread as soon as the program knows the
// file and the code page, so that reading it overlaps building and showing
// the window; the window's load then only waits for it. Dropped without being
// waited for, it is stopped and its thread joined.
class LoadAhead
{
public:
    LoadAhead(QString path, CodePage codePage);
    ~LoadAhead();
    LoadAhead(const LoadAhead &) = delete;
    LoadAhead &operator=(const LoadAhead &) = delete;

    // Whether this is the load of path in codePage.
    bool reads(const QString &path, const CodePage &codePage) const
    {
        return path == m_path && codePage.name() == m_codePage.name();
    }

    // Waits for the load's end and hands over what it read, once, as
    // loadDocument does. Meanwhile shown gets the load's progress, and a stop
    // asked through shown stops the load. An exception of the load is thrown
    // again here.
    bool wait(LoadProgress &shown, LoadedDocument &into, QString *error);

private:
    const QString m_path;
    const CodePage m_codePage;
    LoadProgress m_progress;
    LoadedDocument m_document;
    bool m_loaded = false;
    QString m_error;
    std::exception_ptr m_failure;
    std::mutex m_mutex;
    std::condition_variable m_ended;
    bool m_done = false;
    // Started last, once everything it uses is there.
    std::thread m_thread;
};

} // namespace wendaro
