// SPDX-License-Identifier: GPL-3.0-or-later
#include "ControlFixture.h"

#include "control/window/CommandLine.h"
#include "control/window/FileDialogSetup.h"
#include "control/document/LoadAhead.h"

#include <QDir>
#include <QFile>

using namespace wendaro;

namespace {

enum class Caller { New, Open, Drop, Close, WindowClose };
enum class Answer { Yes, No, Cancel, YesButSaveFails };

qsizetype rowsInFile(const QString &path)
{
    LoadedDocument document;
    QString error;
    loadDocument(path, testCodePage(), document, &error);
    return document.rows.count();
}

int flagBits(const FileDialogRequest &r)
{
    return (r.overwritePrompt ? 0x2 : 0) | (r.hideReadOnly ? 0x4 : 0) | (r.pathMustExist ? 0x800 : 0)
           | (r.fileMustExist ? 0x1000 : 0);
}

} // namespace

class TestFileCommands : public QObject
{
    Q_OBJECT

private slots:
    void unmodifiedDocumentAsksNothing()
    {
        ControlFixture f;
        f.open("a.stf", {{1, "n", "v"}});
        QVERIFY(!f.controller.confirmSave());
        QVERIFY(f.ui.messages.isEmpty());
    }

    void savePromptNamesThePath()
    {
        ControlFixture f;
        f.open("a.stf", {});
        f.controller.setFieldText(Field::Memo, "m");
        f.ui.answers = {MessageAnswer::Cancel};
        QVERIFY(f.controller.confirmSave());
        QCOMPARE(f.ui.messages.size(), 1);
        const MessageBox box = f.ui.messages.first();
        QCOMPARE(box.text, f.path("a.stf") + QStringLiteral("への変更を保存しますか？"));
        QCOMPARE(box.title, QStringLiteral("Wendaro"));
        QCOMPARE(box.icon, MessageIcon::Question);
        QCOMPARE(box.buttons, MessageButtons::YesNoCancel);
        QCOMPARE(box.defaultAnswer, MessageAnswer::Yes);
        QCOMPARE(box.escapeAnswer, MessageAnswer::Cancel);
    }

    void answersOfEveryCaller_data()
    {
        QTest::addColumn<Caller>("caller");
        QTest::addColumn<Answer>("answer");
        const QList<QPair<const char *, Caller>> callers = {{"New", Caller::New},
                                                            {"Open", Caller::Open},
                                                            {"drop", Caller::Drop},
                                                            {"Close", Caller::Close},
                                                            {"window close", Caller::WindowClose}};
        const QList<QPair<const char *, Answer>> answers = {{"Yes", Answer::Yes},
                                                            {"No", Answer::No},
                                                            {"Cancel", Answer::Cancel},
                                                            {"Yes, save fails", Answer::YesButSaveFails}};
        for (const auto &[callerName, caller] : callers) {
            for (const auto &[answerName, answer] : answers)
                QTest::addRow("%s, %s", callerName, answerName) << caller << answer;
        }
    }

    void answersOfEveryCaller()
    {
        QFETCH(Caller, caller);
        QFETCH(Answer, answer);
        ControlFixture f;
        const QString doc = f.path("doc.stf");
        f.open("doc.stf", {{1, "a", "x"}});
        QVERIFY(writeTable(f.path("other.stf"), {{5, "o", "p"}, {6, "q", "r"}, {7, "s", "t"}}));
        QVERIFY(f.controller.acceptEditor(EditMode::Add, "2", "b", "y"));
        if (answer == Answer::YesButSaveFails) {
            // The document's file has become a folder: the save cannot replace it.
            QVERIFY(QFile::remove(doc));
            QVERIFY(QDir().mkdir(doc));
        }
        f.ui.answers = {answer == Answer::No       ? MessageAnswer::No
                        : answer == Answer::Cancel ? MessageAnswer::Cancel
                                                   : MessageAnswer::Yes};

        bool wentOn = false;
        switch (caller) {
        case Caller::New:
        case Caller::Open:
            f.controller.chooseFile(caller == Caller::New ? ChooseMode::New : ChooseMode::Open);
            wentOn = !f.ui.dialogs.isEmpty();
            break;
        case Caller::Drop:
            f.controller.dropFiles({f.path("other.stf")});
            wentOn = f.controller.currentPath() == f.path("other.stf") && f.controller.entries().count() == 3;
            break;
        case Caller::Close:
            f.controller.closeFile();
            wentOn = f.controller.currentPath().isEmpty() && f.controller.entries().isEmpty();
            break;
        case Caller::WindowClose: wentOn = f.controller.queryClose(); break;
        }

        QCOMPARE(f.ui.messages.first().buttons, MessageButtons::YesNoCancel);
        QCOMPARE(f.ui.unscriptedMessages, 0);
        QCOMPARE(wentOn, answer == Answer::Yes || answer == Answer::No);
        if (answer == Answer::YesButSaveFails) {
            QCOMPARE(f.ui.messages.size(), 2);
            QVERIFY(f.ui.messages.last().text.startsWith(WriteErrorMessage + "\r\n"));
        } else {
            QCOMPARE(rowsInFile(doc), answer == Answer::Yes ? 2 : 1);
        }
        if (!wentOn) {
            QCOMPARE(f.controller.currentPath(), doc);
            QCOMPARE(f.controller.entries().count(), 2);
            QVERIFY(f.controller.isModified());
        }
    }

    void dialogSetUp_data()
    {
        // clang-format off
        QTest::addColumn<ChooseMode>("mode");
        QTest::addColumn<FileDialogKind>("kind");
        QTest::addColumn<QString>("title");
        QTest::addColumn<QString>("fileName");
        QTest::addColumn<QStringList>("formats");
        QTest::addColumn<int>("flags");
        const QString lessExtension = QStringLiteral("/data/a");
        QTest::newRow("New") << ChooseMode::New << FileDialogKind::Save << "新規作成" << "New.stf" << QStringList{"stf", "text"}
                             << 2054;
        QTest::newRow("Open") << ChooseMode::Open << FileDialogKind::Open << "開く" << "" << QStringList{"stf", "text"} << 4100;
        QTest::newRow("Save As") << ChooseMode::SaveAs << FileDialogKind::Save << "名前を付けて保存" << lessExtension
                                 << QStringList{"stf", "text"} << 2054;
        QTest::newRow("output file") << ChooseMode::Output << FileDialogKind::Open << "出力先を指定" << lessExtension
                                     << QStringList{"stf"} << 2052;
        // clang-format on
    }

    void dialogSetUp()
    {
        QFETCH(ChooseMode, mode);
        QFETCH(FileDialogKind, kind);
        QFETCH(QString, title);
        QFETCH(QString, fileName);
        QFETCH(QStringList, formats);
        QFETCH(int, flags);
        const FileDialogRequest request = fileDialogSetup(mode, "/data/a.stf", "earlier");
        QCOMPARE(request.kind, kind);
        QCOMPARE(request.title, title);
        QCOMPARE(request.fileName, fileName);
        QStringList offered;
        for (const FileFormat *format : request.formats)
            offered << format->shortName();
        QCOMPARE(offered, formats);
        QCOMPARE(request.defaultExtension, QStringLiteral("*.stf"));
        QCOMPARE(request.defaultSuffix(), QStringLiteral("stf"));
        QCOMPARE(flagBits(request), flags);
    }

    void filterPairs()
    {
        const QList<const FileFormat *> formats = TableFormats;
        QCOMPARE(formats.size(), 2);
        QCOMPARE(formats[0]->nameFilter(), QStringLiteral("STF ファイル (*.stf)"));
        QCOMPARE(formats[0]->suffixes(), QStringList{"stf"});
        QCOMPARE(formats[1]->nameFilter(), QStringLiteral("テキスト (タブ区切り) (*.txt)"));
        QCOMPARE(formats[1]->suffixes(), QStringList{"txt"});
    }

    void shortPathKeepsTheDialogsName()
    {
        ControlFixture f;
        f.controller.startUp("a.s");
        f.controller.chooseFile(ChooseMode::New);
        f.controller.chooseFile(ChooseMode::SaveAs);
        f.controller.chooseFile(ChooseMode::Output);
        QCOMPARE(f.ui.dialogs.size(), 3);
        QCOMPARE(f.ui.dialogs[1].fileName, QStringLiteral("New.stf"));
        QCOMPARE(f.ui.dialogs[2].fileName, QStringLiteral("New.stf"));
        QCOMPARE(fileDialogSetup(ChooseMode::SaveAs, "a.st", "earlier").fileName, QString());
    }

    void dialogCancelChangesNothing_data()
    {
        QTest::addColumn<ChooseMode>("mode");
        QTest::addColumn<bool>("asks");
        QTest::newRow("New") << ChooseMode::New << true;
        QTest::newRow("Open") << ChooseMode::Open << true;
        QTest::newRow("Save As") << ChooseMode::SaveAs << false;
        QTest::newRow("output file") << ChooseMode::Output << false;
    }

    void dialogCancelChangesNothing()
    {
        QFETCH(ChooseMode, mode);
        QFETCH(bool, asks);
        ControlFixture f;
        f.open("doc.txt", {{4, "n", "v"}}, {"out.stf", "memo"});
        f.controller.setFieldText(Field::Memo, "changed");
        const QByteArray onDisk = contents(f.path("doc.txt"));
        f.ui.answers = {MessageAnswer::No};

        f.controller.chooseFile(mode);

        QCOMPARE(f.ui.messages.size(), asks ? 1 : 0);
        QCOMPARE(f.ui.dialogs.size(), 1);
        QCOMPARE(f.controller.currentPath(), f.path("doc.txt"));
        QCOMPARE(f.controller.entries().count(), 1);
        QCOMPARE(f.controller.fieldText(Field::File), QStringLiteral("out.stf"));
        QCOMPARE(f.controller.fieldText(Field::Memo), QStringLiteral("changed"));
        QCOMPARE(f.controller.nextIndex(), qint16(5));
        QVERIFY(f.controller.isModified());
        QCOMPARE(contents(f.path("doc.txt")), onDisk);
    }

    void newCreatesAnEmptyFileAndShowsIt()
    {
        ControlFixture f;
        f.open("doc.txt", {{4, "n", "v"}}, {"out.stf", "memo"});
        QVERIFY(writeTable(f.path("new.stf"), {{9, "old", "old"}}));
        f.ui.dialogResults = {f.path("new.stf")};

        f.controller.chooseFile(ChooseMode::New);

        QVERIFY(f.ui.messages.isEmpty());
        QCOMPARE(QFileInfo(f.path("new.stf")).size(), 0);
        QCOMPARE(f.controller.currentPath(), f.path("new.stf"));
        QVERIFY(f.controller.entries().isEmpty());
        QCOMPARE(f.controller.fieldText(Field::File), QString());
        QCOMPARE(f.controller.fieldText(Field::Memo), QString());
        QCOMPARE(f.controller.nextIndex(), qint16(1));
        QVERIFY(!f.controller.isModified());
        QVERIFY(f.controller.isEnabled(Command::Add));
    }

    void failedNewKeepsItsPath()
    {
        ControlFixture f;
        f.controller.startUp("");
        const QString target = f.path("missing/new.stf");
        f.ui.dialogResults = {target};
        f.controller.chooseFile(ChooseMode::New);
        QCOMPARE(f.ui.messages.size(), 1);
        QVERIFY(f.ui.messages.first().text.startsWith(WriteErrorMessage + "\r\n"));
        QCOMPARE(f.controller.currentPath(), target);
        QCOMPARE(f.controller.nextIndex(), qint16(1));
        QVERIFY(!f.controller.isEnabled(Command::Close));
    }

    void openReadsTheChosenFile()
    {
        ControlFixture f;
        f.controller.startUp("");
        QVERIFY(writeTable(f.path("t.txt"), {{1, "a", "x"}, {7, "b", "y"}, {3, "c", "z"}}, {"o.stf", "memo"}));
        f.ui.dialogResults = {f.path("t.txt")};
        f.controller.chooseFile(ChooseMode::Open);
        QCOMPARE(f.indexTexts(), QStringList({"    1", "    7", "    3"}));
        QCOMPARE(f.controller.fieldText(Field::File), QStringLiteral("o.stf"));
        QCOMPARE(f.controller.fieldText(Field::Memo), QStringLiteral("memo"));
        QCOMPARE(f.controller.nextIndex(), qint16(8));
        QVERIFY(!f.controller.isModified());
        QVERIFY(f.controller.isEnabled(Command::SaveAs));
    }

    void saveAsTextExportsAndMovesOn()
    {
        ControlFixture f;
        f.open("a.stf", {{2, "n", "v"}});
        f.controller.setFieldText(Field::Memo, "memo");
        f.ui.dialogResults = {f.path("a.txt")};
        f.controller.chooseFile(ChooseMode::SaveAs);
        QVERIFY(f.ui.messages.isEmpty());
        QCOMPARE(f.ui.dialogs.first().fileName, f.path("a"));
        QCOMPARE(f.controller.currentPath(), f.path("a.txt"));
        QVERIFY(!f.controller.isModified());
        LoadedDocument written;
        QString error;
        QVERIFY(loadDocument(f.path("a.txt"), testCodePage(), written, &error));
        QCOMPARE(written.rows.count(), 1);
        QCOMPARE(written.fields.memo, QStringLiteral("memo"));
    }

    void outputFileChoice_data()
    {
        QTest::addColumn<QString>("chosen");
        QTest::addColumn<bool>("modified");
        QTest::newRow("another path") << "/x/other.stf" << true;
        QTest::newRow("the path already there") << "/x/out.stf" << false;
    }

    void outputFileChoice()
    {
        QFETCH(QString, chosen);
        QFETCH(bool, modified);
        ControlFixture f;
        f.open("a.txt", {}, {"/x/out.stf", ""});
        const QByteArray onDisk = contents(f.path("a.txt"));
        f.ui.dialogResults = {chosen};
        f.controller.chooseFile(ChooseMode::Output);
        QCOMPARE(f.controller.fieldText(Field::File), chosen);
        QCOMPARE(f.controller.isModified(), modified);
        QCOMPARE(f.controller.currentPath(), f.path("a.txt"));
        QCOMPARE(contents(f.path("a.txt")), onDisk);
    }

    void startArguments_data()
    {
        QTest::addColumn<QList<QByteArray>>("arguments");
        QTest::addColumn<StartAction>("action");
        QTest::addColumn<QString>("path");
        QTest::addColumn<bool>("bytesValid");
        const StartAction window = StartAction::Window;
        QTest::newRow("none") << QList<QByteArray>{} << window << "" << true;
        QTest::newRow("first of two, with a space")
            << QList<QByteArray>{"/d/a b.txt", "/d/c.stf"} << window << "/d/a b.txt" << true;
        QTest::newRow("quotes, ; and spaces kept") << QList<QByteArray>{" \"a\";b "} << window << " \"a\";b " << true;
        QTest::newRow("UTF-8 name") << QList<QByteArray>{"表.stf"} << window << "表.stf" << true;
        QTest::newRow("code page 932 bytes")
            << QList<QByteArray>{"\x95\x5c.stf"} << window << QString::fromUtf8("\xef\xbf\xbd\\.stf") << false;
        QTest::newRow("--help") << QList<QByteArray>{"--help", "a.stf"} << StartAction::Help << "" << true;
        QTest::newRow("--version") << QList<QByteArray>{"--version"} << StartAction::Version << "" << true;
        QTest::newRow("option second") << QList<QByteArray>{"a.stf", "--help"} << window << "a.stf" << true;
        QTest::newRow("originals first") << QList<QByteArray>{"--old-reference=o.stf", "--reference=e n.txt", "ja.stf"}
                                         << window << "ja.stf" << true;
        QTest::newRow("an original after the file is the second file")
            << QList<QByteArray>{"ja.stf", "--reference=en.stf"} << window << "ja.stf" << true;
        QTest::newRow("memories and their least score")
            << QList<QByteArray>{"--memory=a.tmx", "--min-match=85", "--memory=b c.tmx", "ja.stf"} << window << "ja.stf"
            << true;
        QTest::newRow("a least score above 100")
            << QList<QByteArray>{"--min-match=101", "ja.stf"} << StartAction::Refused << "" << true;
        QTest::newRow("a least score that is no number")
            << QList<QByteArray>{"--min-match=high", "ja.stf"} << StartAction::Refused << "" << true;
        QTest::newRow("a longest value") << QList<QByteArray>{"--max-length=40", "ja.stf"} << window << "ja.stf"
                                         << true;
        QTest::newRow("a longest value of 0")
            << QList<QByteArray>{"--max-length=0", "ja.stf"} << StartAction::Refused << "" << true;
        QTest::newRow("a project's two folders")
            << QList<QByteArray>{"--project", "en", "j a", "--max-length=40", "ja.stf"} << window << "ja.stf" << true;
        QTest::newRow("the last project") << QList<QByteArray>{"--project"} << window << "" << true;
        QTest::newRow("a project of one folder")
            << QList<QByteArray>{"--project", "en"} << StartAction::Refused << "" << true;
    }

    void startArguments()
    {
        QFETCH(QList<QByteArray>, arguments);
        QFETCH(StartAction, action);
        QFETCH(QString, path);
        QFETCH(bool, bytesValid);
        const StartArguments start = wendaro::startArguments(arguments);
        QCOMPARE(start.action, action);
        QCOMPARE(start.path, path);
        QCOMPARE(start.pathBytesValid, bytesValid);
        const bool originals = arguments.size() == 3;
        QCOMPARE(start.reference, originals ? QStringLiteral("e n.txt") : QString());
        QCOMPARE(start.oldReference, originals ? QStringLiteral("o.stf") : QString());
        const bool memories = arguments.size() == 4;
        QCOMPARE(start.memories, memories ? QStringList({u"a.tmx"_qs, u"b c.tmx"_qs}) : QStringList());
        QCOMPARE(start.minMatch, memories ? 85 : -1);
        QCOMPARE(start.maxLength, arguments.contains("--max-length=40") ? 40 : 0);
        QCOMPARE(start.refusal.isEmpty(), action != StartAction::Refused);
        QCOMPARE(start.project, action == StartAction::Window && arguments.contains("--project"));
        QCOMPARE(start.projectTranslations, arguments.size() == 5 ? QStringLiteral("j a") : QString());
    }

    void startUp_data()
    {
        QTest::addColumn<QByteArray>("argument"); // "@" stands for the folder of the test files
        QTest::addColumn<QString>("path");
        QTest::addColumn<int>("rows");
        QTest::addColumn<QString>("readError"); // a part of the box's text; empty: no box
        QTest::newRow("empty") << QByteArray() << "" << 0 << "";
        QTest::newRow("spaces") << QByteArray("   ") << "" << 0 << "";
        QTest::newRow("name with space, quotes, ;") << QByteArray("@/a \"b\";c.stf") << "@/a \"b\";c.stf" << 2 << "";
        QTest::newRow("missing file") << QByteArray("@/no.stf") << "@/no.stf" << 0 << "@/no.stf";
        QTest::newRow("name not in the file-name encoding") << QByteArray("@/a\x83.stf") << "" << 0 << "UTF-8";
    }

    void startUp()
    {
        QFETCH(QByteArray, argument);
        QFETCH(QString, path);
        QFETCH(int, rows);
        QFETCH(QString, readError);
        ControlFixture f;
        path.replace('@', f.dir.path());
        readError.replace('@', f.dir.path());
        QVERIFY(writeTable(f.path("a \"b\";c.stf"), {{1, "a", "x"}, {2, "b", "y"}}));
        // Where the lossy decoding of "a\x83.stf" leads: it must not be opened.
        QVERIFY(writeTable(f.path(QString::fromUtf8("a\xef\xbf\xbd.stf")), {{1, "a", "x"}}));
        const StartArguments start = wendaro::startArguments({argument.replace('@', QFile::encodeName(f.dir.path()))});
        f.controller.startUp(start.path, start.pathBytesValid);

        QCOMPARE(f.controller.currentPath(), path);
        QCOMPARE(f.controller.entries().count(), rows);
        QCOMPARE(f.ui.messages.size(), readError.isEmpty() ? 0 : 1);
        if (!readError.isEmpty())
            QVERIFY(f.ui.messages.first().text.startsWith(ReadErrorMessage + "\r\n")
                    && f.ui.messages.first().text.contains(readError));
        // A path ends clean even when the load failed; without one no file is open.
        QCOMPARE(f.controller.isEnabled(Command::Close), !path.isEmpty());
        QVERIFY(!f.controller.isModified());
    }

    void startUpTakesOnlyALoadOfItsOwnFile_data()
    {
        QTest::addColumn<QString>("aheadFile");
        QTest::addColumn<QByteArray>("aheadCodePage");
        QTest::newRow("its file") << "a.stf" << QByteArray("windows-932");
        QTest::newRow("another file") << "b.stf" << QByteArray("windows-932");
        // The same bytes name another character there: U+FF71 is U+00B1.
        QTest::newRow("another code page") << "a.stf" << QByteArray("windows-1252");
    }

    void startUpTakesOnlyALoadOfItsOwnFile()
    {
        QFETCH(QString, aheadFile);
        QFETCH(QByteArray, aheadCodePage);
        ControlFixture f;
        QVERIFY(writeTable(f.path("a.stf"), {{1, QString(QChar(0xFF71)), "x"}, {2, "b", "y"}}));
        QVERIFY(writeTable(f.path("b.stf"), {{7, "z", "w"}}));
        LoadAhead ahead(f.path(aheadFile), testCodePage(aheadCodePage));
        f.controller.startUp(f.path("a.stf"), true, &ahead);
        QVERIFY(f.ui.messages.isEmpty());
        QCOMPARE(f.indexTexts().size(), 2);
        QCOMPARE(f.controller.entries().at(0).name, QString(QChar(0xFF71)));
        QCOMPARE(f.controller.nextIndex(), 3);
        QVERIFY(!f.controller.isModified());
    }

    void dropWithoutPathsIsIgnoredBeforeThePrompt()
    {
        ControlFixture f;
        f.open("a.stf", {{1, "n", "v"}});
        f.controller.setFieldText(Field::Memo, "m");
        f.controller.dropFiles({});
        QVERIFY(f.ui.messages.isEmpty());
        QCOMPARE(f.controller.currentPath(), f.path("a.stf"));
        QVERIFY(f.controller.isModified());
    }

    void dropOpensTheFirstFile()
    {
        ControlFixture f;
        f.controller.startUp("");
        QVERIFY(writeTable(f.path("b.stf"), {{1, "a", "x"}}));
        QVERIFY(writeTable(f.path("c.stf"), {{1, "a", "x"}, {2, "b", "y"}}));
        f.controller.dropFiles({f.path("b.stf"), f.path("c.stf"), f.path("d.stf")});
        QCOMPARE(f.controller.currentPath(), f.path("b.stf"));
        QCOMPARE(f.controller.entries().count(), 1);
        QVERIFY(f.controller.isEnabled(Command::Close));
        QVERIFY(f.ui.messages.isEmpty());
    }

    void failedLoad_data()
    {
        QTest::addColumn<bool>("fieldsBefore");
        QTest::newRow("fields empty before") << false;
        QTest::newRow("fields held text") << true;
    }

    void failedLoad()
    {
        QFETCH(bool, fieldsBefore);
        ControlFixture f;
        f.open("a.txt", {{40, "n", "v"}}, fieldsBefore ? TextFields{"o.stf", "m"} : TextFields{});
        f.ui.dialogResults = {f.path("missing.stf")};
        f.controller.chooseFile(ChooseMode::Open);

        QCOMPARE(f.ui.messages.size(), 1);
        const MessageBox box = f.ui.messages.first();
        QVERIFY(box.text.startsWith(ReadErrorMessage + "\r\n"));
        QVERIFY(box.text.size() > ReadErrorMessage.size() + 2);
        QCOMPARE(box.icon, MessageIcon::Critical);
        QCOMPARE(box.buttons, MessageButtons::Ok);
        QCOMPARE(box.title, QStringLiteral("Wendaro"));
        QCOMPARE(f.controller.currentPath(), f.path("missing.stf"));
        QVERIFY(f.controller.entries().isEmpty());
        QCOMPARE(f.controller.fieldText(Field::Memo), QString());
        QCOMPARE(f.controller.nextIndex(), qint16(41));
        QCOMPARE(f.controller.isModified(), fieldsBefore);
        QVERIFY(f.controller.isEnabled(Command::Close));
    }

    void loadCutShortKeepsWhatWasRead()
    {
        ControlFixture f;
        f.open("a.stf", {{3, "n", "v"}});
        QVERIFY(writeTable(f.path("cut.stf"), {{1, "a", "x"}, {2, "b", "y"}}));
        QFile cut(f.path("cut.stf"));
        QVERIFY(cut.resize(cut.size() - 1));
        f.controller.dropFiles({f.path("cut.stf")});
        QCOMPARE(f.ui.messages.size(), 1);
        QVERIFY(f.ui.messages.first().text.startsWith(ReadErrorMessage + "\r\n"));
        QCOMPARE(f.controller.entries().count(), 2);
        QCOMPARE(f.controller.nextIndex(), qint16(4));
        QVERIFY(!f.controller.isModified());
    }

    void cancelledLoadShowsNoBoxAndKeepsNothing()
    {
        const QString name = "b.stf";
        ControlFixture f;
        f.open("a.txt", {{40, "n", "v"}}, {"o.stf", "m"});
        QVERIFY(writeTable(f.path(name), {{1, "a", "x"}, {2, "b", "y"}}, {"p.stf", "q"}));
        f.ui.cancelLongTasks = true;
        f.controller.dropFiles({f.path(name)});
        QCOMPARE(f.ui.longTasks.size(), 2);
        QVERIFY(f.ui.messages.isEmpty());
        QCOMPARE(f.controller.currentPath(), f.path(name));
        QVERIFY(f.controller.entries().isEmpty());
        QCOMPARE(f.controller.fieldText(Field::File), QString());
        QCOMPARE(f.controller.fieldText(Field::Memo), QString());
        QCOMPARE(f.controller.nextIndex(), qint16(41));
        // The fields emptied, as after any load that fails.
        QVERIFY(f.controller.isModified());
    }

    void failedSaveKeepsTheModifiedFlag()
    {
        ControlFixture f;
        f.open("a.stf", {{3, "n", "v"}});
        QVERIFY(f.controller.acceptEditor(EditMode::Add, "4", "m", "w"));
        QVERIFY(QFile::remove(f.path("a.stf")));
        QVERIFY(QDir().mkdir(f.path("a.stf")));
        QVERIFY(!f.controller.saveFile(true));
        QCOMPARE(f.ui.messages.size(), 1);
        QVERIFY(f.ui.messages.first().text.startsWith(WriteErrorMessage + "\r\n"));
        QCOMPARE(f.ui.messages.first().icon, MessageIcon::Critical);
        QVERIFY(f.controller.isModified());
        QVERIFY(f.controller.isEnabled(Command::Save));
    }

    void saveWritesTheSortedOrder()
    {
        ControlFixture f;
        f.open("a.stf", {{3, "c", "v"}, {1, "a", "v"}, {2, "b", "v"}});
        f.controller.columnClicked(1);
        f.select(1);
        QVERIFY(f.controller.saveFile(true));
        QVERIFY(!f.controller.isModified());
        QCOMPARE(f.selectedPosition(), 1);
        f.controller.dropFiles({f.path("a.stf")});
        QCOMPARE(f.indexTexts(), QStringList({"    1", "    2", "    3"}));
        QVERIFY(!f.controller.entries().isSorted());
    }

    void closeReturnsToNoFile()
    {
        ControlFixture f;
        f.open("a.txt", {{3, "c", "v"}}, {"o.stf", "m"});
        f.controller.columnClicked(0);
        f.controller.closeFile();
        QCOMPARE(f.controller.currentPath(), QString());
        QVERIFY(f.controller.entries().isEmpty());
        QVERIFY(!f.controller.entries().isSorted());
        QCOMPARE(f.controller.fieldText(Field::File), QString());
        QCOMPARE(f.controller.fieldText(Field::Memo), QString());
        for (Command command : {Command::Close, Command::Save, Command::SaveAs, Command::Add, Command::Edit,
                                Command::Remove, Command::ChooseOutput})
            QVERIFY2(!f.controller.isEnabled(command), qPrintable(commandName(command)));
        QVERIFY(!f.controller.isFieldEnabled(Field::File));
        QVERIFY(!f.controller.isFieldEnabled(Field::Memo));
        QCOMPARE(f.controller.nextIndex(), qint16(4));
        QVERIFY(f.ui.messages.isEmpty());
    }

    void changedOnDisk_data()
    {
        QTest::addColumn<QString>("caller"); // Save, Save As (onto the open file), Close (the save prompt's Yes)
        QTest::addColumn<QString>("change"); // what happened to the file after it was opened
        QTest::addColumn<bool>("yes");       // the answer to the question, when asked
        QTest::addColumn<bool>("asked");
        QTest::addColumn<bool>("written");
        QTest::newRow("Save, unchanged") << "Save"
                                         << "none" << false << false << true;
        QTest::newRow("Save, after a save here") << "Save"
                                                 << "saved here" << false << false << true;
        QTest::newRow("Save, rewritten, Yes") << "Save"
                                              << "rewritten" << true << true << true;
        QTest::newRow("Save, rewritten, No") << "Save"
                                             << "rewritten" << false << true << false;
        QTest::newRow("Save, only its time changed, No") << "Save"
                                                         << "touched" << false << true << false;
        QTest::newRow("Save, deleted") << "Save"
                                       << "deleted" << false << false << true;
        QTest::newRow("Save As onto itself, unchanged") << "Save As"
                                                        << "none" << false << false << true;
        QTest::newRow("Save As onto itself, rewritten, No") << "Save As"
                                                            << "rewritten" << false << true << false;
        QTest::newRow("Close, rewritten, Yes") << "Close"
                                               << "rewritten" << true << true << true;
        QTest::newRow("Close, rewritten, No cancels") << "Close"
                                                      << "rewritten" << false << true << false;
    }

    void changedOnDisk()
    {
        QFETCH(QString, caller);
        QFETCH(QString, change);
        QFETCH(bool, yes);
        QFETCH(bool, asked);
        QFETCH(bool, written);
        ControlFixture f;
        const QString path = f.path("a.txt");
        f.open("a.txt", {{1, "a", "A"}});
        if (change == u"saved here") {
            f.controller.setFieldText(Field::Memo, "first");
            QVERIFY(f.controller.saveFile(true));
        }
        f.controller.setFieldText(Field::Memo, "mine");
        QFile file(path);
        if (change == u"rewritten") {
            QVERIFY(writeTable(path, {{9, "theirs", "X"}}));
        } else if (change == u"touched") {
            QVERIFY(file.open(QIODevice::ReadWrite));
            QVERIFY(file.setFileTime(file.fileTime(QFileDevice::FileModificationTime).addSecs(1),
                                     QFileDevice::FileModificationTime));
            file.close();
        } else if (change == u"deleted") {
            QVERIFY(file.remove());
        }
        QByteArray before;
        if (change != u"deleted") {
            QVERIFY(file.open(QIODevice::ReadOnly));
            before = file.readAll();
            file.close();
        }

        const MessageAnswer answer = yes ? MessageAnswer::Yes : MessageAnswer::No;
        if (caller == u"Save") {
            f.ui.answers = {answer};
            QCOMPARE(f.controller.saveFile(true), written);
        } else if (caller == u"Save As") {
            f.ui.answers = {answer};
            f.ui.dialogResults = {path};
            f.controller.chooseFile(ChooseMode::SaveAs);
        } else {
            f.ui.answers = {MessageAnswer::Yes, answer};
            f.controller.closeFile();
            // No to the question cancels the close, as the save prompt's Cancel does.
            QCOMPARE(f.controller.isEnabled(Command::Close), !written);
        }

        const QString question = QStringLiteral(
            "「%1」は、開いた後にほかのプログラムによって変更されています。上書きしますか？");
        const QList<MessageBox> questions = [&] {
            QList<MessageBox> found;
            for (const MessageBox &box : f.ui.messages) {
                if (box.buttons == MessageButtons::YesNo)
                    found << box;
            }
            return found;
        }();
        QCOMPARE(questions.size(), asked ? 1 : 0);
        if (asked) {
            QCOMPARE(questions.first().text, question.arg(path));
            QCOMPARE(questions.first().icon, MessageIcon::Exclamation);
            QCOMPARE(questions.first().title, ApplicationTitle);
            QCOMPARE(questions.first().escapeAnswer, MessageAnswer::No);
        }
        QCOMPARE(f.ui.unscriptedMessages, 0);
        const QByteArray after = file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
        QCOMPARE(after.contains(">//mine"), written);
        if (!written) {
            QCOMPARE(after, before);
            QVERIFY(f.controller.isModified());
        }
    }
};

QTEST_MAIN(TestFileCommands)
#include "tst_filecommands.moc"
