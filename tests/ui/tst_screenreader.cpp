// SPDX-License-Identifier: GPL-3.0-or-later
// What a screen reader reads of the window, asked of AT-SPI as Orca asks it:
// run by with_atspi.sh, which gives the program a display and the buses.
#include "WindowFixture.h"

#include <QAccessible>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>

using namespace wendaro;

class TestScreenReader : public QObject
{
    Q_OBJECT

private slots:
    // The translation panel's progress, findings, note and memories' count
    // are read as they show, figures and all; what each is for is its
    // description.
    void panelLabelsReadAsShown()
    {
        if (qEnvironmentVariableIsEmpty("DBUS_SESSION_BUS_ADDRESS"))
            QSKIP("no session bus: run by with_atspi.sh");
        WindowFixture f;
        f.open(QStringLiteral("ja.stf"), {{1, "a", "保存"}, {2, "b", ""}});
        QVERIFY(writeTable(f.path("en.stf"), {{1, "a", "Save %1"}, {2, "b", "Quit"}}));
        f.showActive();
        QVERIFY(f.controller().translation().openOriginal(f.path("en.stf"), false));
        // From the last row to the first, which has a finding: a note of the wrap.
        f.select(2);
        f.controller().translation().goToWork(+1);
        QCOMPARE(f.selectedPosition(), 1);
        QVERIFY(QAccessible::isActive());

        QProcess reader;
        reader.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        reader.start(QStringLiteral("/usr/bin/python3"),
                     {QStringLiteral(WENDARO_ATSPI_LABELS), QString::number(QCoreApplication::applicationPid())});
        // The window answers the reader's questions meanwhile.
        QTRY_VERIFY_WITH_TIMEOUT(reader.state() == QProcess::NotRunning, 60000);
        QCOMPARE(reader.exitCode(), 0);
        const QJsonObject read = QJsonDocument::fromJson(reader.readAllStandardOutput()).object();
        for (const char *name : {"lblProgress", "lblFindings", "lblTranslationNote", "lblMemoryCount"}) {
            auto *label = child<QLabel>(f.window, QString::fromLatin1(name));
            QVERIFY2(!label->text().isEmpty(), name);
            QCOMPARE(read.value(label->accessibleDescription()).toString(), label->text());
        }
    }
};

QTEST_MAIN(TestScreenReader)
#include "tst_screenreader.moc"
