// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/LongTaskDialog.h"

#include "control/UserInterface.h"

#include <QEventLoop>
#include <QProgressDialog>
#include <QTimer>
#include <atomic>
#include <exception>
#include <thread>

namespace wendaro {

namespace {

// Shorter waits pass without a dialog flashing up.
constexpr int ShowAfterMs = 250;
constexpr int RefreshMs = 40;
constexpr int Steps = 1000;

} // namespace

void runWithProgressDialog(QWidget *parent, const QString &label, const std::function<void(LoadProgress &)> &task)
{
    LoadProgress progress;
    QEventLoop loop;
    std::atomic<bool> finished{false};
    std::exception_ptr failure;

    // Over a window that is not shown (yet), the dialog stands on its own,
    // where the desktop puts new windows, rather than at a hidden corner.
    QProgressDialog dialog(label, QStringLiteral("キャンセル"), 0, Steps,
                           parent && parent->isVisible() ? parent : nullptr);
    dialog.setWindowTitle(ApplicationTitle);
    dialog.setWindowModality(Qt::ApplicationModal);
    dialog.setAutoClose(false);
    dialog.setAutoReset(false);
    dialog.setMinimumDuration(ShowAfterMs);
    dialog.setValue(0);

    // Whether the loop now running lets input through; it is restarted
    // whenever the answer changes.
    bool takesInput = false;
    const auto shouldTakeInput = [&] { return dialog.isVisible() && !dialog.wasCanceled(); };
    QObject::connect(&dialog, &QProgressDialog::canceled, &loop, [&] {
        progress.cancel();
        loop.quit();
    });
    QTimer refresh;
    refresh.setInterval(RefreshMs);
    QObject::connect(&refresh, &QTimer::timeout, &loop, [&] {
        if (!dialog.wasCanceled())
            dialog.setValue(progress.permille());
        if (shouldTakeInput() != takesInput)
            loop.quit();
    });
    refresh.start();

    std::thread worker([&] {
        try {
            task(progress);
        } catch (...) {
            failure = std::current_exception();
        }
        finished.store(true);
        QMetaObject::invokeMethod(&loop, &QEventLoop::quit, Qt::QueuedConnection);
    });
    while (!finished.load()) {
        takesInput = shouldTakeInput();
        loop.exec(takesInput ? QEventLoop::AllEvents : QEventLoop::ExcludeUserInputEvents);
    }
    worker.join();
    if (failure)
        std::rethrow_exception(failure);
}

} // namespace wendaro
