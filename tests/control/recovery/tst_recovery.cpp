// SPDX-License-Identifier: GPL-3.0-or-later
#include "FakeUserInterface.h"
#include "StateHome.h"
#include "TestFiles.h"
#include "TestTables.h"

#include "control/window/MainWindowController.h"
#include "control/recovery/RecoveryJournal.h"

#include <QDir>
#include <QTemporaryDir>
#include <QTest>

#include <memory>
#include <sys/wait.h>
#include <unistd.h>

using namespace wendaro;

namespace {

// A window's controller with a scripted person; destroying it without a
// save is the kill: its journal stays, as a crash leaves it.
struct Window
{
    FakeUserInterface ui;
    MainWindowController c{ui, testCodePage()};
};

// "select 2", "remove", "add 9 n v", "edit 7 n v", "sort 2", "paste TEXT",
// "memo TEXT", "file TEXT", "save", "undo", "redo"; rows count from 1.
void act(Window &w, const QString &action)
{
    const QStringList words = action.split(u' ');
    const QString &verb = words.first();
    if (verb == u"select")
        w.c.selection().select(words[1].toInt() - 1);
    else if (verb == u"remove")
        w.c.removeEntry();
    else if (verb == u"add" || verb == u"edit")
        QVERIFY(w.c.acceptEditor(verb == u"add" ? EditMode::Add : EditMode::Edit, words[1], words[2], words[3]));
    else if (verb == u"sort")
        w.c.columnClicked(words[1].toInt() - 1);
    else if (verb == u"paste") {
        w.ui.clipboard = action.mid(6).replace(QStringLiteral("|"), QStringLiteral("\n")).replace(u'/', u'\t');
        w.c.pasteRows();
    } else if (verb == u"memo" || verb == u"file")
        w.c.setFieldText(verb == u"memo" ? Field::Memo : Field::File, words.value(1));
    else if (verb == u"save")
        QVERIFY(w.c.saveFile(true));
    else if (verb == u"undo")
        w.c.undo();
    else if (verb == u"redo")
        w.c.redo();
    else
        QFAIL(qPrintable(action));
}

// The document as "index:name:value ..." and its two fields.
QString shown(MainWindowController &c)
{
    QStringList out;
    for (qsizetype p = 0; p < c.entries().count(); ++p) {
        const Entry &e = c.entries().at(p);
        out << e.indexText.trimmed() + u':' + e.name + u':' + e.value.toString();
    }
    return out.join(u' ') + u'|' + c.fieldText(Field::File) + u'|' + c.fieldText(Field::Memo);
}

const QList<TestRow> ThreeRows = {{1, "a", "A"}, {2, "b", "B"}, {3, "c", "C"}};

} // namespace

class TestRecovery : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;
    QString path() const { return m_dir.filePath("a.txt"); }
    QStringList journals() const
    {
        return QDir(recoveryFolder()).entryList({"*.journal", "*.bad"}, QDir::Files, QDir::Name);
    }
    // Opens a.txt (three rows) in a new window, plays the script, and kills
    // the window; the document as it was then.
    QString playAndKill(const QStringList &script)
    {
        writeTable(path(), ThreeRows);
        Window w;
        w.c.startUp(path());
        for (const QString &action : script)
            act(w, action);
        return shown(w.c);
    }

private slots:
    void init()
    {
        QVERIFY(m_dir.isValid());
        QDir(m_dir.filePath("state")).removeRecursively();
        useStateHome(m_dir);
    }

    void replayEqualsTheDocumentKilled_data()
    {
        QTest::addColumn<QStringList>("script");
        QTest::addColumn<int>("changes");
        QTest::newRow("add") << QStringList{"select 1", "add 9 n v"} << 1;
        QTest::newRow("edit") << QStringList{"select 2", "edit 7 x y"} << 1;
        QTest::newRow("remove") << QStringList{"select 2", "remove"} << 1;
        QTest::newRow("paste") << QStringList{"select 1", "paste 5/p/P|6/q/Q"} << 1;
        QTest::newRow("fields") << QStringList{"memo m", "file out.stf"} << 1;
        QTest::newRow("undo and redo between")
            << QStringList{"add 9 n v", "select 1", "remove", "undo", "select 2", "edit 8 e E", "undo", "redo"} << 6;
        QTest::newRow("sorts between: positions move")
            << QStringList{"sort 2", "sort 2", "select 1", "remove", "add 0 z Z", "sort 3", "select 2", "edit 4 d D"}
            << 3;
        QTest::newRow("undone to the file, then changed")
            << QStringList{"add 9 n v", "undo", "sort 2", "sort 2", "select 1", "edit 1 f F"} << 3;
        QTest::newRow("after a save") << QStringList{"add 9 n v", "save", "select 1", "remove"} << 1;
        QTest::newRow("undone past a save") << QStringList{"select 1", "edit 1 s S", "save", "undo"} << 1;
    }

    void replayEqualsTheDocumentKilled()
    {
        QFETCH(QStringList, script);
        QFETCH(int, changes);
        const QString before = playAndKill(script);
        const QString onDisk = [&] {
            Window fresh;
            fresh.ui.answers = {MessageAnswer::Cancel};
            fresh.c.startUp(path());
            return shown(fresh.c);
        }();
        Window w;
        w.ui.answers = {MessageAnswer::Yes};
        w.c.startUp(path());
        QCOMPARE(w.ui.messages.size(), 1);
        QVERIFY2(w.ui.messages[0].text.contains(QStringLiteral("（%1 件、").arg(changes)),
                 qPrintable(w.ui.messages[0].text));
        QCOMPARE(shown(w.c), before);
        QVERIFY(w.c.isModified());
        // Its own journal now holds the changes; the old one is gone.
        QCOMPARE(journals().size(), 1);
        // One undo takes the rows back to the file's (a sort, no step, stays).
        w.c.undo();
        const auto rowsOf = [](const QString &document) {
            QStringList rows = document.section(u'|', 0, 0).split(u' ');
            rows.sort();
            return rows;
        };
        QCOMPARE(rowsOf(shown(w.c)), rowsOf(onDisk));
    }

    void cutShortAtEveryByte()
    {
        const QStringList script{"select 1", "edit 1 x X", "select 3", "remove"};
        const QString beforeLast = playAndKill(script.mid(0, 3));
        const QString journal = QDir(recoveryFolder()).filePath(journals().value(0));
        const qsizetype lastStart = contents(journal).size();
        QDir(recoveryFolder()).removeRecursively();
        const QString killed = playAndKill(script);
        const QString file = QDir(recoveryFolder()).filePath(journals().value(0));
        const QByteArray whole = contents(file);
        QVERIFY(whole.size() > lastStart);
        for (qsizetype cut = lastStart; cut <= whole.size(); ++cut) {
            QDir(recoveryFolder()).removeRecursively();
            QDir().mkpath(recoveryFolder());
            putFile(file, whole.left(cut));
            Window w;
            w.ui.answers = {MessageAnswer::Yes};
            w.c.startUp(path());
            const bool torn = cut > lastStart && cut < whole.size();
            QCOMPARE(shown(w.c), cut == whole.size() ? killed : beforeLast);
            QCOMPARE(w.ui.messages.size(), torn ? 2 : 1);
            if (torn)
                QVERIFY(
                    w.ui.messages[1].text.contains(QStringLiteral("途中で切れていたため、1 件の変更を復元しました")));
        }
    }

    // The file changed since: the rows are saved aside, and the journal
    // stays until they are.
    void changedFile_data()
    {
        QTest::addColumn<QList<MessageAnswer>>("answers");
        QTest::addColumn<bool>("saveAside");
        QTest::addColumn<bool>("kept");
        QTest::newRow("rows saved") << QList{MessageAnswer::Yes} << true << false;
        QTest::newRow("save dialog cancelled") << QList{MessageAnswer::Yes} << false << true;
        QTest::newRow("thrown away") << QList{MessageAnswer::No, MessageAnswer::Yes} << false << false;
        QTest::newRow("not thrown away") << QList{MessageAnswer::No, MessageAnswer::No} << false << true;
        QTest::newRow("cancelled") << QList{MessageAnswer::Cancel} << false << true;
    }

    void changedFile()
    {
        QFETCH(QList<MessageAnswer>, answers);
        QFETCH(bool, saveAside);
        QFETCH(bool, kept);
        playAndKill({"select 2", "edit 2 x X", "add 9 n v"});
        QVERIFY(writeTable(path(), {{1, "other", "O"}}));
        Window w;
        w.ui.answers = answers;
        const QString aside = m_dir.filePath("aside.txt");
        if (saveAside)
            w.ui.dialogResults = {aside};
        w.c.startUp(path());
        QVERIFY(w.ui.messages[0].text.contains(QStringLiteral("変更、移動または削除")));
        QCOMPARE(shown(w.c), QStringLiteral("1:other:O||"));
        QCOMPARE(journals().size(), kept ? 1 : 0);
        if (saveAside)
            QVERIFY(contents(aside).contains("x\tX") && contents(aside).contains("n\tv"));
    }

    // A journal that a living window holds is not offered; a dead one's is.
    void lockHolders()
    {
        writeTable(path(), ThreeRows);
        {
            Window holder;
            holder.c.startUp(path());
            act(holder, "add 9 n v");
            Window second;
            second.c.startUp(path());
            QVERIFY(second.ui.messages.isEmpty());
        }
        // What a kill -9 leaves: the journal, and a lock naming a dead process.
        const pid_t dead = fork();
        if (dead == 0)
            _exit(0);
        waitpid(dead, nullptr, 0);
        const QString journal = QDir(recoveryFolder()).filePath(journals().value(0));
        putFile(journal + ".lock",
                QByteArray::number(dead) + "\n" + QCoreApplication::applicationName().toUtf8() + "\n\n");
        Window third;
        third.ui.answers = {MessageAnswer::Yes};
        third.c.startUp(path());
        QCOMPARE(third.ui.messages.size(), 1);
        QCOMPARE(third.c.entries().count(), 4);
    }

    void notAJournal_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::newRow("garbage") << QByteArray("not a journal at all");
        QTest::newRow("another version") << QByteArray("WDRJRNL\n\x02\0\0\0", 12);
        QTest::newRow("header cut") << QByteArray("WDRJRNL\n\x01\0\0\0\x40\0\0\0", 16);
    }

    void notAJournal()
    {
        QFETCH(QByteArray, bytes);
        QDir().mkpath(recoveryFolder());
        putFile(QDir(recoveryFolder()).filePath("0123456789abcdef-0.journal"), bytes);
        Window w;
        w.c.startUp(QString());
        QCOMPARE(w.ui.messages.size(), 1);
        QCOMPARE(w.ui.messages[0].icon, MessageIcon::Critical);
        QCOMPARE(journals(), QStringList{"0123456789abcdef-0.journal.bad"});
    }

    // When the journal goes; and what start-up without a file offers.
    void lifeOfTheJournal_data()
    {
        QTest::addColumn<QStringList>("script");
        QTest::addColumn<int>("journals");
        QTest::newRow("unsaved") << QStringList{"add 9 n v"} << 1;
        QTest::newRow("saved") << QStringList{"add 9 n v", "save"} << 0;
        QTest::newRow("undone to the file") << QStringList{"add 9 n v", "undo"} << 0;
        QTest::newRow("redone") << QStringList{"add 9 n v", "undo", "redo"} << 1;
        QTest::newRow("sorted only") << QStringList{"sort 2", "sort 2"} << 0;
    }

    void lifeOfTheJournal()
    {
        QFETCH(QStringList, script);
        QFETCH(int, journals);
        playAndKill(script);
        QCOMPARE(this->journals().size(), journals);
        Window w;
        w.ui.answers = {MessageAnswer::No, MessageAnswer::Yes};
        w.c.startUp(QString());
        QCOMPARE(w.ui.messages.size(), 2 * journals);
        QCOMPARE(this->journals().size(), 0);
    }

    void closeAfterNo()
    {
        writeTable(path(), ThreeRows);
        Window w;
        w.c.startUp(path());
        act(w, "add 9 n v");
        QCOMPARE(journals().size(), 1);
        w.ui.answers = {MessageAnswer::No};
        QVERIFY(w.c.queryClose());
        QCOMPARE(journals().size(), 0);
    }

    void unwritableFolder()
    {
        putFile(m_dir.filePath("state"), "a file where the folder goes");
        writeTable(path(), ThreeRows);
        Window w;
        w.c.startUp(path());
        act(w, "add 9 n v");
        act(w, "add 8 n v");
        QCOMPARE(w.ui.statuses.size(), 1);
        QVERIFY(w.c.saveFile(true));
        QVERIFY(w.ui.messages.isEmpty());
    }
};

QTEST_MAIN(TestRecovery)
#include "tst_recovery.moc"
