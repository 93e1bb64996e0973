// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/LongTaskDialog.h"

#include "control/window/UserInterface.h"

#include <QEvent>
#include <QEventLoop>
#include <QFutureWatcher>
#include <QProgressDialog>
#include <QTimer>
#include <QtConcurrent/QtConcurrentRun>
#include <exception>

namespace wendaro {

namespace {

// Shorter waits pass without a dialog flashing up.
constexpr int ShowAfterMs = 250;
constexpr int RefreshMs = 40;
constexpr int Steps = 1000;

// Ends the wait's loop as the dialog shows, so that it runs again taking input.
class ShowWatch : public QObject
{
public:
    explicit ShowWatch(QEventLoop &loop) : m_loop(loop) {}

protected:
    bool eventFilter(QObject *, QEvent *event) override
    {
        if (event->type() == QEvent::Show)
            m_loop.quit();
        return false;
    }

private:
    QEventLoop &m_loop;
};

} // namespace

void runWithProgressDialog(QWidget *parent, const QString &label, const std::function<void(LoadProgress &)> &task)
{
    LoadProgress progress;
    QEventLoop loop;
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

    // Input passes only while the dialog shows and has not been cancelled.
    // The loop ends at each of the moments that change it (the dialog
    // showing, Cancel, the task's end) and runs again as the new answer says.
    ShowWatch showWatch(loop);
    dialog.installEventFilter(&showWatch);
    QObject::connect(&dialog, &QProgressDialog::canceled, &loop, [&] {
        progress.cancel();
        loop.quit();
    });
    // The task's progress is a pair of counters it bumps as it goes; the bar
    // reads them at its own pace. The dialog also decides from these values
    // whether to show before ShowAfterMs, when the task looks long.
    QTimer refresh;
    refresh.setInterval(RefreshMs);
    QObject::connect(&refresh, &QTimer::timeout, &dialog, [&] {
        if (!dialog.wasCanceled())
            dialog.setValue(progress.permille());
    });
    refresh.start();

    QFutureWatcher<void> watcher;
    QObject::connect(&watcher, &QFutureWatcher<void>::finished, &loop, &QEventLoop::quit);
    watcher.setFuture(QtConcurrent::run([&task, &progress, &failure] {
        try {
            task(progress);
        } catch (...) {
            failure = std::current_exception();
        }
    }));
    while (!watcher.isFinished()) {
        const bool takesInput = dialog.isVisible() && !dialog.wasCanceled();
        loop.exec(takesInput ? QEventLoop::AllEvents : QEventLoop::ExcludeUserInputEvents);
    }
    if (failure)
        std::rethrow_exception(failure);
}

} // namespace wendaro
