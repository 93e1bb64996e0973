// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/PaintedForBench.h"

#include <QAbstractItemView>
#include <QCoreApplication>
#include <QEvent>
#include <QMainWindow>

#include <cstdio>

namespace wendaro {

namespace {

class PaintWatch : public QObject
{
public:
    PaintWatch(QAbstractItemView *list, bool rowsWanted) : QObject(list), m_list(list), m_rowsWanted(rowsWanted) {}

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::Paint && !m_done
            && (!m_rowsWanted || (m_list->model() && m_list->model()->rowCount() > 0))) {
            m_done = true;
            // Queued: the line goes out once this paint has been done.
            QMetaObject::invokeMethod(
                QCoreApplication::instance(),
                [] {
                    std::fputs("painted\n", stdout);
                    std::fflush(stdout);
                    QCoreApplication::quit();
                },
                Qt::QueuedConnection);
        }
        return QObject::eventFilter(watched, event);
    }

private:
    QAbstractItemView *m_list;
    bool m_rowsWanted;
    bool m_done = false;
};

} // namespace

void quitWhenPaintedForBench(QMainWindow &window, bool rowsWanted)
{
    if (qEnvironmentVariableIsEmpty("WENDARO_BENCH_PAINTED"))
        return;
    auto *list = window.findChild<QAbstractItemView *>(QStringLiteral("ListView1"));
    if (!list)
        return;
    list->viewport()->installEventFilter(new PaintWatch(list, rowsWanted));
}

} // namespace wendaro
