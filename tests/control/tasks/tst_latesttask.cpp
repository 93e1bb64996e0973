// SPDX-License-Identifier: GPL-3.0-or-later
#include "control/tasks/LatestTask.h"

#include <QCoreApplication>
#include <QTest>
#include <QThread>

#include <atomic>

using namespace wendaro;

class TestLatestTask : public QObject
{
    Q_OBJECT
private slots:
    void latestResultWins_data();
    void latestResultWins();
    void countComesAfterItsFind();
};

void TestLatestTask::latestResultWins_data()
{
    // s: a start, whose result is its place in steps; w: its work ends, its
    // result on its way; c: cancel.
    QTest::addColumn<QString>("steps");
    QTest::addColumn<QString>("delivered");
    QTest::newRow("a start") << "sw"
                             << "0";
    QTest::newRow("a newer start supersedes a running one") << "ssw"
                                                            << "1";
    QTest::newRow("and one whose result is on its way") << "swsw"
                                                        << "2";
    QTest::newRow("cancelled while running") << "sc"
                                             << "";
    QTest::newRow("cancelled on its way") << "swc"
                                          << "";
    QTest::newRow("started again after a cancel") << "scsw"
                                                  << "2";
}

// The result a worker posts is taken only if no start or cancel came since.
void TestLatestTask::latestResultWins()
{
    QFETCH(QString, steps);
    QFETCH(QString, delivered);
    QObject owner;
    LatestTask task(owner);
    QString taken;
    // The works started before this place end.
    std::atomic<qsizetype> ended{-1};
    for (qsizetype place = 0; place < steps.size(); ++place) {
        if (steps[place] == u's') {
            // A stopped work ends too, and its result goes nowhere.
            task.start(
                [place, &ended](const std::atomic<bool> &stopped) {
                    while (!stopped && ended < place)
                        QThread::msleep(1);
                    return place;
                },
                [&](qsizetype result) {
                    QCOMPARE(QThread::currentThread(), owner.thread());
                    taken += QString::number(result);
                });
        } else if (steps[place] == u'w') {
            ended = place;
            task.waitForAll();
        } else {
            task.cancel();
        }
    }
    task.waitForAll();
    QCoreApplication::processEvents();
    QCOMPARE(taken, delivered);
    QVERIFY(!task.isRunning());
}

// On a busy machine the row found comes before the count.
void TestLatestTask::countComesAfterItsFind()
{
    QObject owner;
    LatestTask find(owner);
    LatestTask count(owner);
    QStringList taken;
    const auto take = [&](const QString &result) { taken << result; };
    find.start(
        [](const std::atomic<bool> &) {
            QThread::msleep(50);
            return QStringLiteral("found");
        },
        take);
    count.startAfter(
        find, [](const std::atomic<bool> &) { return QStringLiteral("counted"); }, take);
    find.waitForAll();
    count.waitForAll();
    QCoreApplication::processEvents();
    QCOMPARE(taken, QStringList({QStringLiteral("found"), QStringLiteral("counted")}));
}

QTEST_MAIN(TestLatestTask)
#include "tst_latesttask.moc"
