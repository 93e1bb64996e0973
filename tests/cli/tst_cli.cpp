#include "TestFiles.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QScopeGuard>
#include <QTemporaryDir>
#include <QTest>

#include <unistd.h>

namespace {

// A table of one entry, index 3, name ab, value x, in both formats.
const QByteArray TableStf = QByteArray::fromHex("cdab0000010200000001000000"
                                                "03000000ffffffff010000007800"
                                                "03000000020000006162");
const QByteArray TableText = "Index\tName\tValue\r\n3\tab\tx\r\n";
const QByteArray TableTextWithFields = "Index\tName\tValue\r\n>file out.stf\r\n>//memo\r\n3\tab\tx\r\n";
// Index 1, name ab, value あ CR LF い.
const QByteArray JapaneseStf = QByteArray::fromHex("cdab0000010200000001000000"
                                                   "01000000ffffffff0400000042300d000a004430"
                                                   "01000000020000006162");
const QByteArray OldOut = "the old output file";

// What a path held before the run: nothing, a folder, or a file's bytes.
QString stateOf(const QString &path)
{
    const QFileInfo info(path);
    if (!info.exists())
        return QStringLiteral("<absent>");
    if (info.isDir())
        return QStringLiteral("<folder>");
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return QStringLiteral("<unreadable>");
    return QString::fromLatin1(file.readAll().toHex());
}

struct Run
{
    int exitCode = -1;
    QByteArray out;
    QStringList errorLines;
};

// Runs wendaro-cli in folder. Each argument goes through printf's %b, so
// that \0NNN in it stands for a byte that QProcess could not pass, as in a
// name that is not UTF-8.
Run runCli(const QStringList &args, const QByteArray &codePage, const QString &folder = {})
{
    QProcess process;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.remove(QStringLiteral("WENDARO_CODEPAGE"));
    if (!codePage.isEmpty())
        environment.insert(QStringLiteral("WENDARO_CODEPAGE"), QString::fromLatin1(codePage));
    // Under the sanitizer a file bigger than memory must reach the program's
    // own handling instead of the sanitizer's report.
    environment.insert(QStringLiteral("ASAN_OPTIONS"),
                       environment.value(QStringLiteral("ASAN_OPTIONS")) + QStringLiteral(":allocator_may_return_null=1"));
    process.setProcessEnvironment(environment);
    process.setWorkingDirectory(folder);
    const QString script = QStringLiteral(R"x(n=$#; for a; do set -- "$@" "$(printf %b "$a")"; done; shift $n; exec ")x"
                                          WENDARO_CLI_PATH R"x(" "$@")x");
    process.start(QStringLiteral("/bin/sh"), QStringList{QStringLiteral("-c"), script, QStringLiteral("sh")} + args);
    Run run;
    if (!process.waitForFinished(30000) || process.exitStatus() != QProcess::NormalExit)
        return run;
    run.exitCode = process.exitCode();
    run.out = process.readAllStandardOutput();
    const QString errors = QString::fromUtf8(process.readAllStandardError());
    run.errorLines = errors.split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    // The sanitizer's own warning that an allocation failed is not the program's.
    run.errorLines.removeIf([](const QString &line) { return line.startsWith(QLatin1String("==")); });
    return run;
}

} // namespace

class TestCli : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void command_data();
    void command();
    void option_data();
    void option();
    void usageError_data();
    void usageError();
    void unknownCodePage();
    void checkJson();
};

void TestCli::command_data()
{
    QTest::addColumn<QStringList>("args"); // "@name" stands for the file name in the test's folder
    QTest::addColumn<QByteArray>("codePage");
    QTest::addColumn<QString>("out");     // a path that the run may write, "" for none
    QTest::addColumn<bool>("outExists");  // the old output file is there before the run
    QTest::addColumn<int>("exitCode");
    // The first line on stderr, "" for a silent run; for check's findings
    // how each line starts, "@x..." (x in the test's folder) or "^...", one
    // a line. Otherwise a part after "\n" is to be found in the description.
    QTest::addColumn<QString>("message");
    QTest::addColumn<QByteArray>("expected"); // OUT after success, or stdout of dump

    const QString read = QStringLiteral("ファイル読み込みエラー");
    const QString write = QStringLiteral("ファイル書き込みエラー");
    const QByteArray cp = "windows-932";
    const auto args = [](std::initializer_list<const char *> list) {
        QStringList result;
        for (const char *a : list)
            result << QString::fromUtf8(a);
        return result;
    };

    QTest::newRow("convert stf to text") << args({"convert", "@good.stf", "@out.txt"}) << cp << "out.txt" << false
                                         << 0 << "" << TableText;
    QTest::newRow("convert keeps text fields") << args({"convert", "@fields.txt", "@out.TXT"}) << cp << "out.TXT"
                                               << false << 0 << "" << TableTextWithFields;
    QTest::newRow("convert text to stf over old") << args({"convert", "@fields.txt", "@out.Stf"}) << cp << "out.Stf"
                                                  << true << 0 << "" << TableStf;
    QTest::newRow("convert with default code page") << args({"convert", "@good.stf", "@out.txt"}) << QByteArray()
                                                    << "out.txt" << false << 0 << "" << TableText;

    QTest::newRow("convert missing in") << args({"convert", "@missing.stf", "@out.txt"}) << cp << "out.txt" << false
                                        << 1 << read << QByteArray();
    QTest::newRow("convert in is a folder") << args({"convert", "@folder.stf", "@out.txt"}) << cp << "out.txt"
                                            << true << 1 << read << QByteArray();
    QTest::newRow("convert cut stf, old out kept") << args({"convert", "@cut.stf", "@out.txt"}) << cp << "out.txt"
                                                   << true << 1 << read << QByteArray();
    QTest::newRow("convert bad text, no out made") << args({"convert", "@bad.txt", "@out.stf"}) << cp << "out.stf"
                                                   << false << 1 << read << QByteArray();

    QTest::newRow("convert out folder missing") << args({"convert", "@good.stf", "@nowhere/out.txt"}) << cp
                                                << "nowhere/out.txt" << false << 2 << write << QByteArray();
    QTest::newRow("convert out is a folder") << args({"convert", "@good.stf", "@folder.stf"}) << cp << "folder.stf"
                                             << false << 2 << write << QByteArray();
    QTest::newRow("convert out through a file") << args({"convert", "@good.stf", "@bad.txt/out.txt"}) << cp
                                                << "bad.txt/out.txt" << false << 2 << write << QByteArray();
    QTest::newRow("convert duplicate indexes to stf") << args({"convert", "@twice.txt", "@out.stf"}) << cp
                                                      << "out.stf" << true << 2 << write << QByteArray();
    QTest::newRow("convert outside the code page") << args({"convert", "@japanese.stf", "@out.txt"})
                                                   << QByteArray("windows-1252") << "out.txt" << true << 2 << write
                                                   << QByteArray();

    QTest::newRow("check stf") << args({"check", "@good.stf"}) << cp << "" << false << 0 << "" << QByteArray();
    QTest::newRow("check text") << args({"check", "@fields.txt"}) << cp << "" << false << 0 << "" << QByteArray();
    QTest::newRow("check cut stf") << args({"check", "@cut.stf"}) << cp << "" << false << 1
                                   << "@cut.stf:27: " + read + ": オフセット 27" << QByteArray();
    QTest::newRow("check missing") << args({"check", "@missing.txt"}) << cp << "" << false << 1
                                   << "@missing.txt: " + read + ": " << QByteArray();
    QTest::newRow("check duplicate indexes") << args({"check", "@twice.txt"}) << cp << "" << false << 1
                                             << "@twice.txt:2: STF に保存できません: インデックス 3 の項目が 2 個あります（2 行目、3 行目）"
                                             << QByteArray();
    QTest::newRow("check value outside the code page") << args({"check", "@japanese.stf"}) << QByteArray("windows-1252") << ""
                                                       << false << 1 << "@japanese.stf:13: テキスト形式に保存できません: "
                                                       << QByteArray();
    QTest::newRow("check a file named -h") << args({"check", "--", "-h"}) << cp << "" << false << 1
                                           << "^-h: " + read + ": ファイル「-h」" << QByteArray();
    QTest::newRow("check against, a warning") << args({"check", "@good.stf", "--against", "@fields.txt"}) << cp << ""
                                              << false << 0 << "@good.stf:13: 警告: インデックス 3（ab）: " << QByteArray();
    QTest::newRow("check against, strict") << args({"check", "--strict", "@good.stf", "--against", "@fields.txt"}) << cp
                                           << "" << false << 1 << "@good.stf:13: 警告: " << QByteArray();
    QTest::newRow("check against, an index missing") << args({"check", "@fields.txt", "--against", "@japanese.stf"})
                                                     << cp << "" << false << 1
                                                     << "@fields.txt:4: インデックス 3（ab）: 原文にないインデックスです。\n"
                                                        "@fields.txt: インデックス 1（ab）: 原文にある"
                                                     << QByteArray();
    QTest::newRow("check against a missing original") << args({"check", "@fields.txt", "--against", "@missing.stf"})
                                                      << cp << "" << false << 1 << "@missing.stf: " + read
                                                      << QByteArray();
    QTest::newRow("convert stf bigger than memory") << args({"convert", "big.stf", "out.txt"}) << cp << "out.txt"
                                                    << false << 1 << read + "\n1099511627776" << QByteArray();
    QTest::newRow("dump text bigger than memory") << args({"dump", "big.txt"}) << cp << "" << false << 1
                                                  << read + "\n1099511627776" << QByteArray();
    QTest::newRow("in not UTF-8") << args({"convert", "in\\0351.stf", "out.txt"}) << cp << "out.txt" << false << 1
                                  << read + "\nin\\xE9.stf" << QByteArray();
    QTest::newRow("out not UTF-8") << args({"convert", "good.stf", "o\\0351.stf"}) << cp << "" << false << 2
                                   << write + "\no\\xE9.stf" << QByteArray();
    QTest::newRow("U+FFFD itself in a name") << args({"convert", "good.stf", "o\\0357\\0277\\0275.txt"}) << cp
                                             << QStringLiteral("o\uFFFD.txt") << false << 0 << "" << TableText;

    QTest::newRow("dump stf in utf-8") << args({"dump", "@japanese.stf"}) << cp << "" << false << 0 << ""
                                       << QStringLiteral("Index\tName\tValue\r\n1\tab\tあ<br>い\r\n").toUtf8();
    QTest::newRow("dump text with fields") << args({"dump", "@fields.txt"}) << cp << "" << false << 0 << ""
                                           << TableTextWithFields;
    QTest::newRow("dump bad text") << args({"dump", "@bad.txt"}) << cp << "" << false << 1 << read << QByteArray();
}

void TestCli::command()
{
    QFETCH(QStringList, args);
    QFETCH(QByteArray, codePage);
    QFETCH(QString, out);
    QFETCH(bool, outExists);
    QFETCH(int, exitCode);
    QFETCH(QString, message);
    QFETCH(QByteArray, expected);

    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    putFile(dir.filePath(QStringLiteral("good.stf")), TableStf);
    putFile(dir.filePath(QStringLiteral("fields.txt")), TableTextWithFields);
    putFile(dir.filePath(QStringLiteral("japanese.stf")), JapaneseStf);
    putFile(dir.filePath(QStringLiteral("cut.stf")), TableStf.chopped(1));
    putFile(dir.filePath(QStringLiteral("bad.txt")), "Index\tName\tValue\r\n3\tab\r\n");
    putFile(dir.filePath(QStringLiteral("twice.txt")), "Index\tName\tValue\r\n3\ta\tb\r\n3\tc\td\r\n");
    // A name that Qt cannot give, so that QTemporaryDir cannot remove it either.
    const QByteArray notUtf8 = QFile::encodeName(dir.filePath(QStringLiteral("in"))) + "\xE9.stf";
    QCOMPARE(::symlink("good.stf", notUtf8.constData()), 0);
    const auto removeNotUtf8 = qScopeGuard([&] { ::unlink(notUtf8.constData()); });
    QVERIFY(QDir(dir.path()).mkdir(QStringLiteral("folder.stf")));
    for (const char *big : {"big.stf", "big.txt"}) {
        putFile(dir.filePath(QLatin1String(big)), {});
        QVERIFY(QFile::resize(dir.filePath(QLatin1String(big)), qint64(1) << 40)); // sparse, 1 TiB
    }
    const QString outPath = out.isEmpty() ? QString() : dir.filePath(out);
    if (outExists)
        putFile(outPath, OldOut);

    for (QString &arg : args) {
        if (arg.startsWith(QLatin1Char('@')))
            arg = dir.filePath(arg.mid(1));
    }
    const QStringList before = listing(dir.path());
    const QString outBefore = outPath.isEmpty() ? QString() : stateOf(outPath);

    const Run run = runCli(args, codePage, dir.path());
    QCOMPARE(run.exitCode, exitCode);
    if (message.isEmpty()) {
        QVERIFY2(run.errorLines.isEmpty(), qPrintable(run.errorLines.join(QLatin1Char('\n'))));
    } else if (message.startsWith(QLatin1Char('@')) || message.startsWith(QLatin1Char('^'))) {
        const QStringList starts = message.split(QLatin1Char('\n'));
        QCOMPARE(run.errorLines.size(), starts.size());
        for (qsizetype i = 0; i < starts.size(); ++i) {
            const QString &s = starts[i];
            const QString start = s.startsWith(QLatin1Char('@')) ? dir.filePath(s.mid(1)) : s.mid(1);
            QVERIFY2(run.errorLines[i].startsWith(start), qPrintable(run.errorLines[i]));
        }
    } else {
        // The message, then the description on one line of its own.
        QCOMPARE(run.errorLines.size(), 2);
        QCOMPARE(run.errorLines[0], message.section(QLatin1Char('\n'), 0, 0));
        QVERIFY2(run.errorLines[1].contains(message.section(QLatin1Char('\n'), 1)), qPrintable(run.errorLines[1]));
    }

    if (exitCode == 0) {
        if (outPath.isEmpty())
            QCOMPARE(run.out, expected);
        else
            QCOMPARE(stateOf(outPath), QString::fromLatin1(expected.toHex()));
    } else {
        QVERIFY(run.out.isEmpty());
        // Nothing written, nothing left behind.
        QCOMPARE(listing(dir.path()), before);
        if (!outPath.isEmpty())
            QCOMPARE(stateOf(outPath), outBefore);
    }
}

void TestCli::option_data()
{
    QTest::addColumn<QStringList>("args");
    QTest::addColumn<QByteArray>("out"); // how stdout starts
    const QByteArray usage = "Usage: wendaro-cli";
    QTest::newRow("--help") << QStringList{QStringLiteral("--help")} << usage;
    QTest::newRow("-h") << QStringList{QStringLiteral("-h")} << usage;
    QTest::newRow("-h after a command") << QStringList{QStringLiteral("check"), QStringLiteral("missing.stf"),
                                                       QStringLiteral("-h")} << usage;
    QTest::newRow("--version") << QStringList{QStringLiteral("--version")} << QByteArray("wendaro-cli " WENDARO_VERSION "\n");
}

void TestCli::option()
{
    QFETCH(QStringList, args);
    QFETCH(QByteArray, out);
    const Run run = runCli(args, {});
    QCOMPARE(run.exitCode, 0);
    QVERIFY2(run.out.startsWith(out), run.out.constData());
    QVERIFY(run.errorLines.isEmpty());
}

void TestCli::usageError_data()
{
    QTest::addColumn<QStringList>("args");
    QTest::newRow("nothing") << QStringList{};
    QTest::newRow("unknown command") << QStringList{QStringLiteral("show"), QStringLiteral("x.stf")};
    QTest::newRow("convert one path") << QStringList{QStringLiteral("convert"), QStringLiteral("x.stf")};
    QTest::newRow("convert three paths")
        << QStringList{QStringLiteral("convert"), QStringLiteral("a"), QStringLiteral("b"), QStringLiteral("c")};
    QTest::newRow("dump no path") << QStringList{QStringLiteral("dump")};
    QTest::newRow("check two paths") << QStringList{QStringLiteral("check"), QStringLiteral("a"), QStringLiteral("b")};
    QTest::newRow("unknown option") << QStringList{QStringLiteral("check"), QStringLiteral("-x"), QStringLiteral("a")};
    QTest::newRow("check in xml") << QStringList{QStringLiteral("check"), QStringLiteral("--format=xml"),
                                                 QStringLiteral("a")};
    QTest::newRow("-h after --") << QStringList{QStringLiteral("check"), QStringLiteral("--"), QStringLiteral("-h"),
                                                QStringLiteral("a")};
}

void TestCli::usageError()
{
    QFETCH(QStringList, args);
    const Run run = runCli(args, {});
    QCOMPARE(run.exitCode, 64);
    QVERIFY(run.out.isEmpty());
    QCOMPARE(run.errorLines.size(), 2);
    QVERIFY(run.errorLines[0].startsWith(QLatin1String("wendaro-cli: ")));
    QCOMPARE(run.errorLines[1], QStringLiteral("Try 'wendaro-cli --help'."));
}

void TestCli::unknownCodePage()
{
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString out = dir.filePath(QStringLiteral("out.txt"));
    const Run run = runCli({QStringLiteral("convert"), dir.filePath(QStringLiteral("in.stf")), out}, "no-such-page");
    QCOMPARE(run.exitCode, 78);
    QCOMPARE(run.errorLines.size(), 1);
    QVERIFY2(run.errorLines[0].contains(QLatin1String("no-such-page")), qPrintable(run.errorLines[0]));
    QVERIFY(!QFileInfo::exists(out));
}

void TestCli::checkJson()
{
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString original = dir.filePath(QStringLiteral("en.stf"));
    const QString translation = dir.filePath(QStringLiteral("ja.stf"));
    putFile(original, TableStf);
    // Index 3, value "&" and a lone high surrogate, which UTF-8 cannot carry.
    putFile(translation, QByteArray::fromHex("cdab0000010200000001000000"
                                             "03000000ffffffff02000000260000d8"));
    const Run run = runCli({QStringLiteral("check"), translation, QStringLiteral("--against"), original,
                            QStringLiteral("--format=json")},
                           "windows-932");
    QCOMPARE(run.exitCode, 1);
    QVERIFY(run.errorLines.isEmpty());
    QCOMPARE(QString::fromUtf8(run.out).toUtf8(), run.out);
    QVERIFY2(run.out.contains("&\\ud800"), run.out.constData());
    QJsonParseError error;
    const QJsonArray problems = QJsonDocument::fromJson(run.out, &error).array();
    QCOMPARE(error.error, QJsonParseError::NoError);
    QCOMPARE(problems.size(), 2);
    const QJsonObject first = problems[0].toObject();
    QCOMPARE(first.value(QLatin1String("file")).toString(), translation);
    QCOMPARE(first.value(QLatin1String("offset")).toInt(), 13);
    QCOMPARE(first.value(QLatin1String("index")).toInt(), 3);
    QCOMPARE(first.value(QLatin1String("name")).toString(), QString());
    QCOMPARE(first.value(QLatin1String("severity")).toString(), QStringLiteral("error"));
    QCOMPARE(first.value(QLatin1String("kind")).toString(), QStringLiteral("text"));
    QCOMPARE(problems[1].toObject().value(QLatin1String("kind")).toString(), QStringLiteral("translation"));
}

QTEST_GUILESS_MAIN(TestCli)
#include "tst_cli.moc"
