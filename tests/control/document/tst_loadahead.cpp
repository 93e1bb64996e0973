// SPDX-License-Identifier: GPL-3.0-or-later
// A load started before the application exists, as the window starts one
// for the file on its command line, must leave Qt's main thread to the
// thread that then builds the application: a window made on what Qt holds
// to be another thread does not take a click. Its own main, since the test
// needs a process where nothing has used Qt yet.
#include "TestTables.h"

#include "control/document/LoadAhead.h"

#include <QCoreApplication>
#include <QScopeGuard>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <thread>
#include <unistd.h>

using namespace wendaro;

namespace {
bool warnedOfAnotherThread = false;
}

int main(int argc, char *argv[])
{
    const CodePage codePage = testCodePage();
    // Qt says so as the application is made.
    qInstallMessageHandler([](QtMsgType, const QMessageLogContext &, const QString &message) {
        warnedOfAnotherThread |= message.contains(QLatin1String("main() thread"));
    });
    // A large file made without Qt: its load uses QFile at once and is
    // still reading when the application is made. Sparse, so that it costs
    // no disk.
    char path[] = "/tmp/wendaro-load-ahead-XXXXXX";
    const int fd = mkstemp(path);
    if (fd < 0 || ftruncate(fd, qint64(256) << 20) != 0 || close(fd) != 0) {
        std::fprintf(stderr, "FAIL: no file to load\n");
        return 1;
    }
    const auto removeFile = qScopeGuard([&path] { unlink(path); });
    LoadAhead ahead(QString::fromLocal8Bit(path), codePage);
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
    QCoreApplication app(argc, argv);
    if (warnedOfAnotherThread) {
        std::fprintf(stderr, "FAIL: Qt took the load's thread for the main thread\n");
        return 1;
    }
    std::printf("PASS: the application's thread is Qt's main thread\n");
    return 0;
}
