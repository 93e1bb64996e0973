// SPDX-License-Identifier: GPL-3.0-or-later
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
    environment.insert(QStringLiteral("ASAN_OPTIONS"), environment.value(QStringLiteral("ASAN_OPTIONS"))
                                                           + QStringLiteral(":allocator_may_return_null=1"));
    process.setProcessEnvironment(environment);
    process.setWorkingDirectory(folder);
    const QString script = QStringLiteral(
        R"x(n=$#; for a; do set -- "$@" "$(printf %b "$a")"; done; shift $n; exec ")x" WENDARO_CLI_PATH R"x(" "$@")x");
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

// A command line as the tables below write it: words, or one string of
// words apart by spaces.
QStringList args(std::initializer_list<const char *> words)
{
    QStringList result;
    for (const char *word : words)
        result << QString::fromUtf8(word);
    return result;
}

QStringList args(const char *line)
{
    return QString::fromUtf8(line).split(QLatin1Char(' '));
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
    void exchange_data();
    void exchange();
    void unknownCodePage();
    void checkJson();
    void compare_data();
    void compare();
    void fileError_data();
    void fileError();
    void suggest_data();
    void suggest();
    void projectStatus();
};

namespace {

// command's rows of check, of its own and against an original.
void addCheckRows()
{
    const QString read = QStringLiteral("ファイル読み込みエラー");
    const QByteArray cp = "windows-932";
    // clang-format off
    QTest::newRow("check stf") << args({"check", "@good.stf"}) << cp << "" << false << 0 << "" << QByteArray();
    QTest::newRow("check text") << args({"check", "@fields.txt"}) << cp << "" << false << 0 << "" << QByteArray();
    QTest::newRow("check cut stf") << args({"check", "@cut.stf"}) << cp << "" << false << 1
                                   << "@cut.stf:27: " + read + ": オフセット 27" << QByteArray();
    QTest::newRow("check missing") << args({"check", "@missing.txt"}) << cp << "" << false << 1
                                   << "@missing.txt: " + read + ": " << QByteArray();
    QTest::newRow("check duplicate indexes") << args({"check", "@twice.txt"}) << cp << "" << false << 1
                                             << "@twice.txt:2: STF に保存できません: インデックス 3 の項目が 2 個あります（2 行目、3 行目）"
                                             << QByteArray();
    // Whole as STF, so what only the text form cannot hold is a warning.
    QTest::newRow("check value outside the code page") << args({"check", "@japanese.stf"}) << QByteArray("windows-1252") << ""
                                                       << false << 0 << "@japanese.stf:13: 警告: テキスト形式に保存できません: "
                                                       << QByteArray();
    QTest::newRow("check value outside the code page, strict")
        << args({"check", "--strict", "@japanese.stf"}) << QByteArray("windows-1252") << "" << false << 1
        << "@japanese.stf:13: 警告: テキスト形式に保存できません: " << QByteArray();
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
    QTest::newRow("check against, the warning skipped")
        << args({"check", "--strict", "--skip=unchanged,numbers", "@good.stf", "--against", "@fields.txt"}) << cp << ""
        << false << 0 << "" << QByteArray();
    QTest::newRow("check against, only indexes") << args({"check", "@fields.txt", "--against", "@japanese.stf", "--only", "indexes"})
                                                 << cp << "" << false << 1
                                                 << "@fields.txt:4: インデックス 3（ab）: 原文にないインデックスです。\n"
                                                    "@fields.txt: インデックス 1（ab）: 原文にある"
                                                 << QByteArray();
    QTest::newRow("check against, only others") << args({"check", "@fields.txt", "--against", "@japanese.stf", "--only=tags"})
                                                << cp << "" << false << 0 << "" << QByteArray();
    QTest::newRow("check a glossary's term") << args({"check", "@blade.txt", "--against", "@sword.txt", "--glossary", "@terms.txt"})
                                             << cp << "" << false << 0
                                             << "@blade.txt:2: 警告: インデックス 3（ab）: 用語「剣」の訳「sword」がありません。"
                                             << QByteArray();
    QTest::newRow("check spelling") << args({"check", "--strict", "--spelling=en", "@blade.txt"}) << cp << "" << false << 1
                                    << "@blade.txt:2: 警告: インデックス 3（ab）: つづりの誤り「Teh」" << QByteArray();
    QTest::newRow("check spelling without a dictionary") << args({"check", "--spelling=ja", "@blade.txt"}) << cp << ""
                                                         << false << 64 << " wendaro-cli: check: --spelling=ja: no Hunspell\n Try"
                                                         << QByteArray();
    QTest::newRow("check a value too long") << args({"check", "--max-length=2", "@japanese.stf"}) << cp << "" << false << 1
                                            << "@japanese.stf:13: インデックス 1（ab）: 値が 2 字より長いです（3 字）。"
                                            << QByteArray();
    QTest::newRow("check no value too long") << args({"check", "--max-length=3", "@japanese.stf"}) << cp << "" << false << 0
                                             << "" << QByteArray();
    QTest::newRow("check against a missing original") << args({"check", "@fields.txt", "--against", "@missing.stf"})
                                                      << cp << "" << false << 1 << "@missing.stf: " + read
                                                      << QByteArray();
    // clang-format on
}

} // namespace

void TestCli::command_data()
{
    // clang-format off
    QTest::addColumn<QStringList>("args"); // "@name" stands for the file name in the test's folder
    QTest::addColumn<QByteArray>("codePage");
    QTest::addColumn<QString>("out");     // a path that the run may write, "" for none
    QTest::addColumn<bool>("outExists");  // the old output file is there before the run
    QTest::addColumn<int>("exitCode");
    // How each line on stderr starts, "@x..." (x in the test's folder) or
    // "^...", one a line; "" for a silent run. A part after "…" is to be
    // found later in its line.
    QTest::addColumn<QString>("message");
    QTest::addColumn<QByteArray>("expected"); // OUT after success, or stdout of dump

    const QString read = QStringLiteral("ファイル読み込みエラー");
    const QString write = QStringLiteral("ファイル書き込みエラー");
    const QByteArray cp = "windows-932";

    QTest::newRow("convert stf to text") << args({"convert", "@good.stf", "@out.txt"}) << cp << "out.txt" << false
                                         << 0 << "" << TableText;
    QTest::newRow("convert keeps text fields") << args({"convert", "@fields.txt", "@out.TXT"}) << cp << "out.TXT"
                                               << false << 0 << "" << TableTextWithFields;
    QTest::newRow("convert text to stf over old") << args({"convert", "@fields.txt", "@out.Stf"}) << cp << "out.Stf"
                                                  << true << 0 << "" << TableStf;
    QTest::newRow("convert with default code page") << args({"convert", "@good.stf", "@out.txt"}) << QByteArray()
                                                    << "out.txt" << false << 0 << "" << TableText;

    QTest::newRow("convert missing in") << args({"convert", "@missing.stf", "@out.txt"}) << cp << "out.txt" << false
                                        << 1 << "@missing.stf: " + read + ": " << QByteArray();
    QTest::newRow("convert in is a folder") << args({"convert", "@folder.stf", "@out.txt"}) << cp << "out.txt"
                                            << true << 1 << "@folder.stf: " + read + ": " << QByteArray();
    QTest::newRow("convert cut stf, old out kept") << args({"convert", "@cut.stf", "@out.txt"}) << cp << "out.txt"
                                                   << true << 1 << "@cut.stf:27: " + read + ": " << QByteArray();
    QTest::newRow("convert bad text, no out made") << args({"convert", "@bad.txt", "@out.stf"}) << cp << "out.stf"
                                                   << false << 1 << "@bad.txt:2: " + read + ": " << QByteArray();

    QTest::newRow("convert out folder missing") << args({"convert", "@good.stf", "@nowhere/out.txt"}) << cp
                                                << "nowhere/out.txt" << false << 2
                                                << "@nowhere/out.txt: " + write + ": " << QByteArray();
    QTest::newRow("convert out is a folder") << args({"convert", "@good.stf", "@folder.stf"}) << cp << "folder.stf"
                                             << false << 2 << "@folder.stf: " + write + ": " << QByteArray();
    QTest::newRow("convert out through a file") << args({"convert", "@good.stf", "@bad.txt/out.txt"}) << cp
                                                << "bad.txt/out.txt" << false << 2
                                                << "@bad.txt/out.txt: " + write + ": " << QByteArray();
    QTest::newRow("convert duplicate indexes to stf") << args({"convert", "@twice.txt", "@out.stf"}) << cp
                                                      << "out.stf" << true << 2 << "@out.stf: " + write + ": "
                                                      << QByteArray();
    QTest::newRow("convert outside the code page") << args({"convert", "@japanese.stf", "@out.txt"})
                                                   << QByteArray("windows-1252") << "out.txt" << true << 2
                                                   << "@out.txt: " + write + ": " << QByteArray();

    addCheckRows();
    QTest::newRow("convert stf bigger than memory") << args({"convert", "big.stf", "out.txt"}) << cp << "out.txt"
                                                    << false << 1 << "^big.stf: " + read + ": …1099511627776"
                                                    << QByteArray();
    QTest::newRow("dump text bigger than memory") << args({"dump", "big.txt"}) << cp << "" << false << 1
                                                  << "^big.txt: " + read + ": …1099511627776" << QByteArray();
    QTest::newRow("in not UTF-8") << args({"convert", "in\\0351.stf", "out.txt"}) << cp << "out.txt" << false << 1
                                  << "^in\\xE9.stf: " + read + ": パス「in\\xE9.stf」" << QByteArray();
    QTest::newRow("out not UTF-8") << args({"convert", "good.stf", "o\\0351.stf"}) << cp << "" << false << 2
                                   << "^o\\xE9.stf: " + write + ": パス「o\\xE9.stf」" << QByteArray();
    QTest::newRow("not UTF-8, with U+FEFF") << args({"convert", "in\\0351\\0357\\0273\\0277.stf", "out.txt"}) << cp
                                            << "out.txt" << false << 1
                                            << "^in\\xE9\\xEF\\xBB\\xBF.stf: " + read + ": パス「in\\xE9\\xEF"
                                            << QByteArray();
    QTest::newRow("U+FFFD itself in a name") << args({"convert", "good.stf", "o\\0357\\0277\\0275.txt"}) << cp
                                             << QStringLiteral("o\uFFFD.txt") << false << 0 << "" << TableText;

    QTest::newRow("dump stf in utf-8") << args({"dump", "@japanese.stf"}) << cp << "" << false << 0 << ""
                                       << QStringLiteral("Index\tName\tValue\r\n1\tab\tあ<br>い\r\n").toUtf8();
    QTest::newRow("dump text with fields") << args({"dump", "@fields.txt"}) << cp << "" << false << 0 << ""
                                           << TableTextWithFields;
    QTest::newRow("dump bad text") << args({"dump", "@bad.txt"}) << cp << "" << false << 1
                                   << "@bad.txt:2: " + read + ": " << QByteArray();
    // clang-format on
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
    // Index 3, the value "y" and U+0001.
    putFile(dir.filePath(QStringLiteral("control.stf")),
            QByteArray::fromHex("cdab000001020000000100000003000000ffffffff020000007900010003000000020000006162"));
    putFile(dir.filePath(QStringLiteral("empty.txt")), "Index\tName\tValue\r\n3\tab\t\r\n");
    putFile(dir.filePath(QStringLiteral("blade.txt")), "Index\tName\tValue\r\n3\tab\tTeh blade\r\n");
    putFile(dir.filePath(QStringLiteral("sword.txt")), "Index\tName\tValue\r\n3\tab\t\x8C\x95\r\n"); // 剣
    putFile(dir.filePath(QStringLiteral("terms.txt")), "\xE5\x89\xA3\tsword\n");
    putFile(dir.filePath(QStringLiteral("tm.tmx")), "<tmx><header srclang=\"en\"/><body><tu><tuv xml:lang=\"en\">"
                                                    "<seg>x</seg></tuv><tuv xml:lang=\"ja\"><seg>Y</seg></tuv></tu>"
                                                    "</body></tmx>");
    putFile(dir.filePath(QStringLiteral("broken.tmx")), "<tmx>\n<header srclang=\"en\"/><body>\n</tmx>");
    QVERIFY(QDir(dir.path()).mkpath(QStringLiteral("en/sub")) && QDir(dir.path()).mkpath(QStringLiteral("ja/sub")));
    putFile(dir.filePath(QStringLiteral("en/sub/a.txt")), TableText);
    putFile(dir.filePath(QStringLiteral("ja/sub/a.txt")), "Index\tName\tValue\r\n3\tab\ty\r\n");
    putFile(dir.filePath(QStringLiteral("en/b.stf")), TableStf);
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
    } else {
        const QStringList starts = message.split(QLatin1Char('\n'));
        QCOMPARE(run.errorLines.size(), starts.size());
        for (qsizetype i = 0; i < starts.size(); ++i) {
            const QString s = starts[i].section(QChar(u'…'), 0, 0);
            const QString start = s.startsWith(QLatin1Char('@')) ? dir.filePath(s.mid(1)) : s.mid(1);
            QVERIFY2(run.errorLines[i].startsWith(start), qPrintable(run.errorLines[i]));
            QVERIFY2(run.errorLines[i].contains(starts[i].section(QChar(u'…'), 1)), qPrintable(run.errorLines[i]));
        }
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
                                                       QStringLiteral("-h")}
                                        << usage;
    QTest::newRow("--version") << QStringList{QStringLiteral("--version")}
                               << QByteArray("wendaro-cli " WENDARO_VERSION "\n");
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
    QTest::newRow("convert three paths") << QStringList{QStringLiteral("convert"), QStringLiteral("a"),
                                                        QStringLiteral("b"), QStringLiteral("c")};
    QTest::newRow("dump no path") << QStringList{QStringLiteral("dump")};
    QTest::newRow("check two paths") << QStringList{QStringLiteral("check"), QStringLiteral("a"), QStringLiteral("b")};
    QTest::newRow("unknown option") << QStringList{QStringLiteral("check"), QStringLiteral("-x"), QStringLiteral("a")};
    QTest::newRow("check in xml") << QStringList{QStringLiteral("check"), QStringLiteral("--format=xml"),
                                                 QStringLiteral("a")};
    QTest::newRow("-h after --") << QStringList{QStringLiteral("check"), QStringLiteral("--"), QStringLiteral("-h"),
                                                QStringLiteral("a")};
    // Options belong to their command, take a value only when they have one, and count once.
    const auto words = [](const char *line) { return QString::fromLatin1(line).split(QLatin1Char(' ')); };
    QTest::newRow("option of another command") << words("convert --fuzzy a b");
    QTest::newRow("value for a flag") << words("import --fuzzy=yes t i o");
    QTest::newRow("value missing at the end") << words("export t o --source");
    QTest::newRow("option twice") << words("diff --order --order a b");
    QTest::newRow("no such check") << words("check --skip=numbers,nonsense a");
    QTest::newRow("a length of 0") << words("check --max-length=0 a");
    QTest::newRow("option without a command") << words("--strict");
    QTest::newRow("option's value is no operand") << words("export --source o.stf t");
    QTest::newRow("an option required") << words("status --old o.stf t.stf");
    QTest::newRow("status of two tables without --pairs-from") << words("status a.stf b.stf --against o.stf");
    QTest::newRow("status --pairs-from of one folder") << words("status --pairs-from en");
    QTest::newRow("status --pairs-from with an original") << words("status --pairs-from en ja --against o.stf");
    QTest::newRow("a language code that is not BCP 47") << words("export --target-lang=pt_BR t o.po");
    QTest::newRow("memory without languages") << words("memory -o m.tmx a b");
    QTest::newRow("memory without -o") << words("memory --source-lang=en --target-lang=ja a b");
    QTest::newRow("memory of an odd number of tables")
        << words("memory -o m.tmx --source-lang=en --target-lang=ja a b c");
    QTest::newRow("memory --include without --pairs-from")
        << words("memory -o m.tmx --source-lang=en --target-lang=ja --include=*.txt a b");
    QTest::newRow("pretranslate without a memory") << words("pretranslate a b c");
    QTest::newRow("suggest without a memory") << words("suggest a b");
    QTest::newRow("suggest's min-match over 100") << words("suggest --min-match=101 a b c");
    QTest::newRow("suggest's limit of none") << words("suggest --limit=0 a b c");
    QTest::newRow("export --min-match without --memory") << words("export --min-match=80 t o.po");
    QTest::newRow("export --memory to a format without suggestions") << words("export --memory m.tmx t o.csv");
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

void TestCli::exchange_data()
{
    QTest::addColumn<QStringList>("args"); // "@name" stands for the file name in the test's folder
    QTest::addColumn<int>("exitCode");
    QTest::addColumn<QString>("error");       // a part of stderr
    QTest::addColumn<QByteArray>("expected"); // out.* after success

    const QByteArray bom = "\xEF\xBB\xBF";
    QTest::newRow("export template") << args("export @good.stf @out.csv") << 0 << ""
                                     << bom + "Index,Name,Value\r\n3,\"ab\",\"x\"\r\n";
    QTest::newRow("export with source") << args("export --source @good.stf @tr.txt @out.csv") << 0
                                        << "にないインデックス 4 の 1 件は書き出していません"
                                        << bom + "Index,Name,Source,Value\r\n3,\"ab\",\"x\",\"y\"\r\n";
    QTest::newRow("import") << args("import @good.stf @in.csv @out.txt") << 0
                            << "更新 1 件、変更なし 0 件、未翻訳 0 件、あいまい（スキップ） 0 件"
                            << QByteArray("Index\tName\tValue\r\n3\tab\ty<br>\r\n");
    QTest::newRow("import extra refused")
        << args("import @good.stf @extra.csv @out.txt") << 1 << "インデックス 9 の項目は表" << QByteArray();
    QTest::newRow("import extra ignored") << args("import --ignore-extra @good.stf @extra.csv @out.stf") << 0
                                          << "飛ばしたもの: インデックス 9" << QByteArray(TableStf).replace("x", "y");
    QTest::newRow("export repeated indexes")
        << args("export @twice.txt @out.csv") << 1 << "3（1、2 番目の項目）" << QByteArray();
    QTest::newRow("export unknown suffix") << args("export @good.stf @out.txt") << 64 << ".csv" << QByteArray();

    const QByteArray tmx = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<tmx version=\"1.4\">\n  <header "
                           "creationtool=\"Wendaro\" creationtoolversion=\"" WENDARO_VERSION "\" segtype=\"block\" "
                           "o-tmf=\"Wendaro\" adminlang=\"en\" srclang=\"en\" datatype=\"plaintext\"/>\n  <body>\n";
    const auto unit = [](const char *place) {
        return "    <tu>\n      <prop type=\"x-wendaro-entry\">" + QByteArray(place)
               + "</prop>\n      <tuv xml:lang=\"en\">\n        <seg>x</seg>\n      </tuv>\n"
                 "      <tuv xml:lang=\"ja\">\n        <seg>y</seg>\n      </tuv>\n    </tu>\n";
    };
    QTest::newRow("memory") << args("memory --source-lang=en --target-lang=ja good.stf tr.txt -o out.tmx") << 0
                            << "表 1 組から、訳 1 件（1 か所）を書き出しました。"
                            << tmx + unit("tr.txt:3") + "  </body>\n</tmx>\n";
    QTest::newRow("memory of two folders")
        << args("memory --pairs-from --include=*.txt --source-lang=en --target-lang=ja en ja -o out.tmx") << 0
        << "en/b.stf: 対になる表 ja/b.stf がありません。" << tmx + unit("ja/sub/a.txt:3") + "  </body>\n</tmx>\n";
    QTest::newRow("memory refuses what XML cannot hold")
        << args("memory --source-lang=en --target-lang=ja good.stf control.stf -o out.tmx") << 2
        << "out.tmx: ファイル書き込みエラー: control.stf: インデックス 3 の訳に TMX では書けない文字" << QByteArray();
    QTest::newRow("memory of a table that cannot be read")
        << args("memory --source-lang=en --target-lang=ja good.stf missing.stf -o out.tmx") << 1
        << "missing.stf: ファイル読み込みエラー: " << QByteArray();
    QTest::newRow("pretranslate") << args("pretranslate good.stf empty.txt tm.tmx out.txt") << 0
                                  << "訳を入れた 1 件、翻訳済み 0 件、一致なし 0 件、あいまい 0 件"
                                  << QByteArray("Index\tName\tValue\r\n3\tab\tY\r\n");
    QTest::newRow("pretranslate from a broken memory")
        << args("pretranslate good.stf empty.txt broken.tmx out.txt") << 1
        << "broken.tmx:3: ファイル読み込みエラー: XML として読めません" << QByteArray();
}

void TestCli::exchange()
{
    QFETCH(QStringList, args);
    QFETCH(int, exitCode);
    QFETCH(QString, error);
    QFETCH(QByteArray, expected);

    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    putFile(dir.filePath(QStringLiteral("good.stf")), TableStf);
    putFile(dir.filePath(QStringLiteral("tr.txt")), "Index\tName\tValue\r\n3\tab\ty\r\n4\tq\tw\r\n");
    putFile(dir.filePath(QStringLiteral("in.csv")), "Index,Value\r\n3,y<br>\r\n");
    putFile(dir.filePath(QStringLiteral("extra.csv")), "Index,Value\r\n9,q\r\n3,y\r\n");
    putFile(dir.filePath(QStringLiteral("twice.txt")), "Index\tName\tValue\r\n3\ta\tb\r\n3\tc\td\r\n");
    // Index 3, the value "y" and U+0001.
    putFile(dir.filePath(QStringLiteral("control.stf")),
            QByteArray::fromHex("cdab000001020000000100000003000000ffffffff020000007900010003000000020000006162"));
    putFile(dir.filePath(QStringLiteral("empty.txt")), "Index\tName\tValue\r\n3\tab\t\r\n");
    putFile(dir.filePath(QStringLiteral("tm.tmx")), "<tmx><header srclang=\"en\"/><body><tu><tuv xml:lang=\"en\">"
                                                    "<seg>x</seg></tuv><tuv xml:lang=\"ja\"><seg>Y</seg></tuv></tu>"
                                                    "</body></tmx>");
    putFile(dir.filePath(QStringLiteral("broken.tmx")), "<tmx>\n<header srclang=\"en\"/><body>\n</tmx>");
    QVERIFY(QDir(dir.path()).mkpath(QStringLiteral("en/sub")) && QDir(dir.path()).mkpath(QStringLiteral("ja/sub")));
    putFile(dir.filePath(QStringLiteral("en/sub/a.txt")), TableText);
    putFile(dir.filePath(QStringLiteral("ja/sub/a.txt")), "Index\tName\tValue\r\n3\tab\ty\r\n");
    putFile(dir.filePath(QStringLiteral("en/b.stf")), TableStf);
    for (QString &arg : args) {
        if (arg.startsWith(QLatin1Char('@')))
            arg = dir.filePath(arg.mid(1));
    }
    const QStringList before = listing(dir.path());

    const Run run = runCli(args, "windows-932", dir.path());
    QCOMPARE(run.exitCode, exitCode);
    QVERIFY2(error.isEmpty() ? run.errorLines.isEmpty() : run.errorLines.join(QLatin1Char('\n')).contains(error),
             qPrintable(run.errorLines.join(QLatin1Char('\n'))));
    const QString out = QFileInfo(args.last()).fileName();
    if (exitCode == 0)
        QCOMPARE(contents(dir.filePath(out)), expected);
    else
        QCOMPARE(listing(dir.path()), before);
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
    QVERIFY2(run.out.contains("&\\uD800"), run.out.constData());
    QJsonParseError error;
    const QJsonArray problems = QJsonDocument::fromJson(run.out, &error).array();
    QCOMPARE(error.error, QJsonParseError::NoError);
    QCOMPARE(problems.size(), 2);
    const QJsonObject first = problems[0].toObject();
    QCOMPARE(first.value(QLatin1String("file")).toString(), translation);
    QCOMPARE(first.value(QLatin1String("offset")).toInt(), 13);
    QCOMPARE(first.value(QLatin1String("index")).toInt(), 3);
    QCOMPARE(first.value(QLatin1String("name")).toString(), QString());
    QCOMPARE(first.value(QLatin1String("severity")).toString(), QStringLiteral("warning"));
    QCOMPARE(first.value(QLatin1String("kind")).toString(), QStringLiteral("text"));
    QCOMPARE(problems[1].toObject().value(QLatin1String("kind")).toString(), QStringLiteral("translation"));
    // Only a translation finding names its check.
    QVERIFY(!first.contains(QLatin1String("code")));
    QCOMPARE(problems[1].toObject().value(QLatin1String("code")).toString(), QStringLiteral("accelerators"));
}

namespace {

// compare's rows of status.
void addStatusRows()
{
    const QString read = QStringLiteral("ファイル読み込みエラー");
    const QStringList none;
    // ja.txt against en.txt: 1 translated, 2 untranslated, 3 a placeholder
    // lost, 4 translated but its original changed since en-v1.txt, 9 no
    // original; 5 missing.
    QTest::newRow("status")
        << args("status @ja.txt --against @en.txt") << 0
        << QStringLiteral("翻訳済み 2 / 5（40 %）\n未訳 1\n要確認 0\n問題 1\n原文なし 1\n不足 1\n").toUtf8() << none
        << QByteArray();
    QTest::newRow("status, json, an old original")
        << args("status --format=json @ja.txt --against @en.txt --old @en-v1.txt") << 0
        << QByteArray(R"({"translated": 1, "originals": 5, "percent": 20, "untranslated": 1, "review": 1, )"
                      R"("problems": 1, "noOriginal": 1, "missing": 1})"
                      "\n")
        << none << QByteArray();
    // 4 says "Enregistrer" where the glossary has "Sauver"; 3 keeps "Ouvrir".
    QTest::newRow("status, a glossary")
        << args("status @ja.txt --against @en.txt --glossary @terms.txt") << 0
        << QStringLiteral("翻訳済み 2 / 5（40 %）\n未訳 1\n要確認 0\n問題 1\n原文なし 1\n不足 1\n用語 1\n").toUtf8()
        << none << QByteArray();
    QTest::newRow("status, every unreadable file told")
        << args("status @missing.txt --against @en.txt --old @cut.stf") << 1 << QByteArray()
        << QStringList{"@missing.txt: " + read, "@cut.stf:27: " + read} << QByteArray();
}

} // namespace

void TestCli::compare_data()
{
    QTest::addColumn<QStringList>("args"); // "@name": a file of the test's folder
    QTest::addColumn<int>("exitCode");
    QTest::addColumn<QByteArray>("out");     // stdout
    QTest::addColumn<QStringList>("errors"); // how each stderr line starts ("@name" as in args)
    QTest::addColumn<QByteArray>("written"); // out.txt after the run, "" when none is made

    const QString read = QStringLiteral("ファイル読み込みエラー");
    const QStringList none;

    QTest::newRow("diff stf and text the same")
        << args("diff @good.stf @good.txt") << 0 << QByteArray("0 added, 0 removed, 0 changed\n") << none
        << QByteArray();
    QTest::newRow("diff differ") << args("diff @japanese.stf @good.txt") << 1
                                 << QStringLiteral("- 1 \"ab\": \"あ<br>い\"\n+ 3 \"ab\": \"x\"\n"
                                                   "1 added, 1 removed, 0 changed\n")
                                        .toUtf8()
                                 << none << QByteArray();
    QTest::newRow("diff control characters on one line")
        << args("diff @good.stf @controls.stf") << 1
        << QByteArray("~ 3 \"ab\": \"x\" -> \"\\n\\r\\t\\x01\\\"\\\\\"\n0 added, 0 removed, 1 changed\n") << none
        << QByteArray();
    QTest::newRow("diff json, lone surrogate")
        << args("diff --format=json @good.stf @surrogate.stf") << 1
        << QByteArray(
               "{\n\"changes\": [\n{\"change\": \"changed\", \"index\": 3, \"occurrence\": 1, \"oldPosition\": 1, "
               "\"position\": 1, \"fields\": [\"value\"], \"oldName\": \"ab\", \"oldValue\": \"x\", "
               "\"name\": \"ab\", \"value\": \"\\uD800\"}\n],\n\"repeated\": [],\n"
               "\"added\": 0, \"removed\": 0, \"changed\": 1, \"moved\": 0\n}\n")
        << none << QByteArray();
    QTest::newRow("diff B missing") << args("diff @good.stf @missing.txt") << 2 << QByteArray()
                                    << QStringList{"@missing.txt: " + read + ": "} << QByteArray();
    QTest::newRow("diff unknown format") << args("diff --format=xml @good.stf @good.txt") << 64 << QByteArray()
                                         << QStringList{"wendaro-cli: diff's --format", "Try"} << QByteArray();

    QTest::newRow("update stf and text") << args("update @good.stf @new.txt @translation.stf @out.txt") << 0
                                         << QByteArray()
                                         << QStringList{"new 4 \"cd\": \"y\"",
                                                        "1 new, 0 changed, 0 untranslated, 0 removed, 1 carried"}
                                         << QByteArray("Index\tName\tValue\r\n3\tab\tX\r\n4\tcd\ty\r\n");
    QTest::newRow("update repeated index") << args("update @good.stf @new.txt @twice.txt @out.txt") << 1 << QByteArray()
                                           << QStringList{"@twice.txt: "} << QByteArray();
    QTest::newRow("update translation missing")
        << args("update @good.stf @new.txt @missing.txt @out.txt") << 1 << QByteArray()
        << QStringList{"@missing.txt: " + read + ": "} << QByteArray();
    QTest::newRow("update out not writable")
        << args("update @good.stf @new.txt @translation.stf @nowhere/out.txt") << 2 << QByteArray()
        << QStringList{QStringLiteral("@nowhere/out.txt: ファイル書き込みエラー: ")} << QByteArray();

    QTest::newRow("merge stf and text") << args("merge -o @out.txt @good.stf @translation.stf @new.txt") << 0
                                        << QByteArray() << none
                                        << QByteArray("Index\tName\tValue\r\n3\tab\tX\r\n4\tcd\ty\r\n");
    QTest::newRow("merge conflict keeps ours")
        << args("merge -o @out.txt @good.stf @translation.stf @controls.stf") << 1 << QByteArray()
        << QStringList{QStringLiteral("@out.txt: インデックス 3（ab）: 値が両方で違うように変更されています"
                                      "（BASE \"x\"、OURS \"X\"、THEIRS \"\\n\\r\\t\\x01\\\"\\\\\"）。"),
                       QStringLiteral("@out.txt: 食い違いが 1 件")}
        << QByteArray("Index\tName\tValue\r\n3\tab\tX\r\n");
    QTest::newRow("merge suffix-less stf, theirs preferred")
        << args("merge --prefer=theirs --output @out.txt @good.txt @ours_file @y.txt") << 0 << QByteArray()
        << QStringList{QStringLiteral("@out.txt: インデックス 3（ab）: 値が両方で違うように変更されています"
                                      "（BASE \"x\"、OURS \"X\"、THEIRS \"Y\"）。"),
                       QStringLiteral("@out.txt: 食い違いが 1 件")}
        << QByteArray("Index\tName\tValue\r\n3\tab\tY\r\n");
    QTest::newRow("merge repeated index refused")
        << args("merge -o @out.txt @good.stf @twice.txt @good.stf") << 2 << QByteArray()
        << QStringList{"@twice.txt: " + read + QStringLiteral(": OURS の表")} << QByteArray();
    addStatusRows();
}

void TestCli::compare()
{
    QFETCH(QStringList, args);
    QFETCH(int, exitCode);
    QFETCH(QByteArray, out);
    QFETCH(QStringList, errors);
    QFETCH(QByteArray, written);

    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const auto stf = [](const char *valueHex) {
        const QByteArray value = QByteArray::fromHex(valueHex);
        QByteArray file = QByteArray::fromHex("cdab0000010200000001000000"
                                              "03000000ffffffff");
        const qint32 units = qint32(value.size() / 2);
        file += QByteArray(reinterpret_cast<const char *>(&units), 4) + value; // little-endian, as the tests run
        return file + QByteArray::fromHex("03000000020000006162");
    };
    putFile(dir.filePath(QStringLiteral("good.stf")), TableStf);
    putFile(dir.filePath(QStringLiteral("good.txt")), TableText);
    putFile(dir.filePath(QStringLiteral("japanese.stf")), JapaneseStf);
    putFile(dir.filePath(QStringLiteral("surrogate.stf")), stf("00d8"));
    putFile(dir.filePath(QStringLiteral("controls.stf")), stf("0a000d00090001002200"
                                                              "5c00"));
    putFile(dir.filePath(QStringLiteral("translation.stf")), stf("5800"));
    putFile(dir.filePath(QStringLiteral("ours_file")), stf("5800"));
    putFile(dir.filePath(QStringLiteral("y.txt")), "Index\tName\tValue\r\n3\tab\tY\r\n");
    putFile(dir.filePath(QStringLiteral("new.txt")), "Index\tName\tValue\r\n3\tab\tx\r\n4\tcd\ty\r\n");
    putFile(dir.filePath(QStringLiteral("twice.txt")), "Index\tName\tValue\r\n3\ta\tb\r\n3\tc\td\r\n");
    putFile(dir.filePath(QStringLiteral("cut.stf")), TableStf.chopped(1));
    putFile(dir.filePath(QStringLiteral("en.txt")),
            "Index\tName\tValue\r\n1\ta\tYes\r\n2\tb\tNo\r\n3\tc\tOpen %s\r\n4\td\tSave\r\n5\te\tQuit\r\n");
    putFile(dir.filePath(QStringLiteral("terms.txt")), "Save\tSauver\nOpen\tOuvrir\n");
    putFile(dir.filePath(QStringLiteral("en-v1.txt")),
            "Index\tName\tValue\r\n1\ta\tYes\r\n2\tb\tNo\r\n3\tc\tOpen %s\r\n4\td\tSave as\r\n");
    putFile(dir.filePath(QStringLiteral("ja.txt")), "Index\tName\tValue\r\n1\ta\tOui\r\n2\tb\tNo\r\n3\tc\tOuvrir\r\n"
                                                    "4\td\tEnregistrer\r\n9\tz\tx\r\n");
    // Index 3, the value "y" and U+0001.
    putFile(dir.filePath(QStringLiteral("control.stf")),
            QByteArray::fromHex("cdab000001020000000100000003000000ffffffff020000007900010003000000020000006162"));
    putFile(dir.filePath(QStringLiteral("empty.txt")), "Index\tName\tValue\r\n3\tab\t\r\n");
    putFile(dir.filePath(QStringLiteral("tm.tmx")), "<tmx><header srclang=\"en\"/><body><tu><tuv xml:lang=\"en\">"
                                                    "<seg>x</seg></tuv><tuv xml:lang=\"ja\"><seg>Y</seg></tuv></tu>"
                                                    "</body></tmx>");
    putFile(dir.filePath(QStringLiteral("broken.tmx")), "<tmx>\n<header srclang=\"en\"/><body>\n</tmx>");
    QVERIFY(QDir(dir.path()).mkpath(QStringLiteral("en/sub")) && QDir(dir.path()).mkpath(QStringLiteral("ja/sub")));
    putFile(dir.filePath(QStringLiteral("en/sub/a.txt")), TableText);
    putFile(dir.filePath(QStringLiteral("ja/sub/a.txt")), "Index\tName\tValue\r\n3\tab\ty\r\n");
    putFile(dir.filePath(QStringLiteral("en/b.stf")), TableStf);
    for (QString &arg : args) {
        const qsizetype at = arg.indexOf(QLatin1Char('@'));
        if (at >= 0)
            arg = arg.left(at) + dir.filePath(arg.mid(at + 1));
    }

    const Run run = runCli(args, "windows-932", dir.path());
    QCOMPARE(run.exitCode, exitCode);
    QCOMPARE(run.out, out);
    QCOMPARE(run.errorLines.size(), errors.size());
    for (qsizetype i = 0; i < errors.size(); ++i) {
        const QString start = errors[i].startsWith(QLatin1Char('@')) ? dir.filePath(errors[i].mid(1)) : errors[i];
        QVERIFY2(run.errorLines[i].startsWith(start), qPrintable(run.errorLines[i]));
    }
    const QString outPath = dir.filePath(QStringLiteral("out.txt"));
    QCOMPARE(QFileInfo::exists(outPath), !written.isEmpty());
    if (!written.isEmpty())
        QCOMPARE(contents(outPath), written);

    // diff's JSON reads back to the exact text, the lone surrogate included.
    if (args.first() == QLatin1String("diff") && args.contains(QLatin1String("--format=json"))) {
        QJsonParseError error;
        const QJsonDocument json = QJsonDocument::fromJson(run.out, &error);
        QCOMPARE(error.error, QJsonParseError::NoError);
        QCOMPARE(json[QLatin1String("changes")][0][QLatin1String("value")].toString(), QString(QChar(0xD800)));
    }
}

void TestCli::fileError_data()
{
    QTest::addColumn<QString>("args"); // "@name": a file of the test's folder
    QTest::addColumn<QString>("line"); // how the one line on stderr starts, "@name" as in args
    QTest::addColumn<int>("exitCode");
    const auto row = [](const char *name, const char *args, const char *line, int exitCode) {
        QTest::newRow(name) << QString::fromUtf8(args) << QString::fromUtf8(line) << exitCode;
    };
    // Whichever operand fails, the line names that one, with its place where the format has one.
    row("diff B, its offset", "diff @good.stf @cut.stf", "@cut.stf:27: ファイル読み込みエラー: ", 2);
    row("merge THEIRS, its line", "merge @good.stf @good.stf @bad.txt", "@bad.txt:2: ファイル読み込みエラー: ", 2);
    row("merge BASE refused", "merge @twice.txt @good.stf @good.stf", "@twice.txt: ファイル読み込みエラー: BASE", 2);
    row("export ORIGINAL", "export --source @missing.stf @good.stf @o.csv",
        "@missing.stf: ファイル読み込みエラー: ", 1);
    row("export ORIGINAL refused", "export --source @twice.txt @good.stf @o.csv",
        "@twice.txt: ファイル読み込みエラー: 原文", 1);
    row("export OUT", "export @good.stf @nowhere/o.csv", "@nowhere/o.csv: ファイル書き込みエラー: ", 2);
    row("import IN", "import @good.stf @missing.csv @o.txt", "@missing.csv: ファイル読み込みエラー: ", 1);
    row("import IN refused", "import @good.stf @extra.csv @o.txt", "@extra.csv: ファイル読み込みエラー: 翻訳ファイル",
        1);
    row("import TABLE refused", "import @twice.txt @extra.csv @o.txt", "@twice.txt: ファイル読み込みエラー: 表", 1);
    row("grep, its offset", "grep ab @cut.stf @good.stf", "@cut.stf:27: ファイル読み込みエラー: ", 2);
}

void TestCli::fileError()
{
    QFETCH(QString, args);
    QFETCH(QString, line);
    QFETCH(int, exitCode);
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    putFile(dir.filePath(QStringLiteral("good.stf")), TableStf);
    putFile(dir.filePath(QStringLiteral("cut.stf")), TableStf.chopped(1));
    putFile(dir.filePath(QStringLiteral("bad.txt")), "Index\tName\tValue\r\n3\tab\r\n");
    putFile(dir.filePath(QStringLiteral("twice.txt")), "Index\tName\tValue\r\n3\ta\tb\r\n3\tc\td\r\n");
    putFile(dir.filePath(QStringLiteral("extra.csv")), "Index,Value\r\n9,q\r\n");
    const Run run = runCli(args.replace(QLatin1Char('@'), dir.path() + u'/').split(u' '), "windows-932", dir.path());
    QCOMPARE(run.exitCode, exitCode);
    QCOMPARE(run.errorLines.size(), 1);
    QVERIFY2(run.errorLines[0].startsWith(line.replace(QLatin1Char('@'), dir.path() + u'/')),
             qPrintable(run.errorLines[0]));
}

void TestCli::suggest_data()
{
    QTest::addColumn<QString>("args"); // after "suggest"; "@name": a file of the test's folder
    QTest::addColumn<int>("exitCode");
    QTest::addColumn<QByteArray>("out");
    QTest::addColumn<QString>("error"); // how stderr starts, "@name" as in args; "": nothing on it
    const auto row = [](const char *name, const char *args, int exitCode, const char *out, const char *error = "") {
        QTest::newRow(name) << QString::fromUtf8(args) << exitCode << QByteArray(out) << QString::fromUtf8(error);
    };
    // en.txt: 1 "Open the file", 2 "Open the files", 3 "Save the file now", 4 "Quit", 5 "Open the file",
    // 6 "Save the file today". ja.txt translates 1 and 4; 2, 5 and 6 are empty, 3 is its original
    // unchanged, which is no translation to offer 6. mem/tm.tmx: "Open the files" -> "T-files",
    // "Save the file" -> "T" LF "save".
    row("memory and the table's rows, the translation's order", "@en.txt @ja.txt @mem/tm.tmx", 0,
        "2\t100\ttm.tmx\tT-files\n3\t75\ttm.tmx\tT<br>save\n5\t100\tこの表 #1\tOuvrir le fichier\n"
        "6\t75\ttm.tmx\tT<br>save\n");
    row("a min-match taken, a limit cutting", "--min-match=66 --limit=2 @en.txt @ja.txt @mem/tm.tmx", 0,
        "2\t100\ttm.tmx\tT-files\n2\t66\tこの表 #1\tOuvrir le fichier\n3\t75\ttm.tmx\tT<br>save\n"
        "5\t100\tこの表 #1\tOuvrir le fichier\n5\t66\ttm.tmx\tT-files\n6\t75\ttm.tmx\tT<br>save\n");
    row("json lines, an entry without suggestions too", "--format=json --min-match=76 @en.txt @ja.txt @mem/tm.tmx", 0,
        R"({"index": 2, "original": "Open the files", "suggestions": [{"score": 100, "origin": "tm.tmx", )"
        R"("source": "Open the files", "target": "T-files"}]})"
        "\n"
        R"({"index": 3, "original": "Save the file now", "suggestions": []})"
        "\n"
        R"({"index": 5, "original": "Open the file", "suggestions": [{"score": 100, "origin": "この表 #1", )"
        R"("source": "Open the file", "target": "Ouvrir le fichier"}]})"
        "\n"
        R"({"index": 6, "original": "Save the file today", "suggestions": []})"
        "\n");
    row("the language chosen", "--target-lang=fr --min-match=100 @en.txt @ja.txt @two.tmx", 0,
        "2\t100\ttwo.tmx\tF-files\n5\t100\tこの表 #1\tOuvrir le fichier\n");
    row("a language to choose", "@en.txt @ja.txt @two.tmx", 64, "",
        "wendaro-cli: suggest: @two.tmx: メモリに訳の言語が 2 つあります（fr, ja）。--target-lang で");
    row("a memory missing", "@en.txt @ja.txt @mem/tm.tmx @missing.tmx", 1, "",
        "@missing.tmx: ファイル読み込みエラー: ");
    row("a memory broken, its line", "@en.txt @ja.txt @broken.tmx", 1, "", "@broken.tmx:3: ファイル読み込みエラー: ");
    row("a table missing", "@en.txt @missing.txt @mem/tm.tmx", 1, "", "@missing.txt: ファイル読み込みエラー: ");
}

void TestCli::suggest()
{
    QFETCH(QString, args);
    QFETCH(int, exitCode);
    QFETCH(QByteArray, out);
    QFETCH(QString, error);
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    putFile(dir.filePath(QStringLiteral("en.txt")),
            "Index\tName\tValue\r\n1\ta\tOpen the file\r\n2\tb\tOpen the files\r\n"
            "3\tc\tSave the file now\r\n4\td\tQuit\r\n5\te\tOpen the file\r\n6\tf\tSave the file today\r\n");
    putFile(dir.filePath(QStringLiteral("ja.txt")), "Index\tName\tValue\r\n1\ta\tOuvrir le fichier\r\n2\tb\t\r\n"
                                                    "3\tc\tSave the file now\r\n4\td\tQuitter\r\n5\te\t\r\n6\tf\t\r\n");
    const auto unit = [](const char *source, const char *ja, const char *fr = nullptr) {
        return "<tu><tuv xml:lang=\"en\"><seg>" + QByteArray(source) + "</seg></tuv><tuv xml:lang=\"ja\"><seg>" + ja
               + "</seg></tuv>" + (fr ? "<tuv xml:lang=\"fr\"><seg>" + QByteArray(fr) + "</seg></tuv>" : "") + "</tu>";
    };
    const QByteArray head = "<tmx version=\"1.4\"><header srclang=\"en\"/><body>";
    QVERIFY(QDir(dir.path()).mkdir(QStringLiteral("mem")));
    putFile(dir.filePath(QStringLiteral("mem/tm.tmx")),
            head + unit("Open the files", "T-files") + unit("Save the file", "T\nsave") + "</body></tmx>");
    putFile(dir.filePath(QStringLiteral("two.tmx")),
            head + unit("Open the files", "T-files", "F-files") + "</body></tmx>");
    putFile(dir.filePath(QStringLiteral("broken.tmx")), "<tmx>\n<header srclang=\"en\"/><body>\n</tmx>");

    const QString words = QStringLiteral("suggest ") + args.replace(QLatin1Char('@'), dir.path() + u'/');
    const Run run = runCli(words.split(u' '), "windows-932", dir.path());
    QCOMPARE(run.exitCode, exitCode);
    QCOMPARE(run.out, out);
    QVERIFY2(error.isEmpty() ? run.errorLines.isEmpty()
                             : !run.errorLines.isEmpty()
                                   && run.errorLines[0].startsWith(error.replace(QLatin1Char('@'), dir.path() + u'/')),
             qPrintable(run.errorLines.join(QLatin1Char('\n'))));
}

QTEST_GUILESS_MAIN(TestCli)
// Two folders: a pair, a table of each folder alone, and a translation cut
// short, which is told while the others are still counted.
void TestCli::projectStatus()
{
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    QVERIFY(QDir(dir.path()).mkpath(QStringLiteral("en/sub")) && QDir(dir.path()).mkpath(QStringLiteral("ja")));
    const QByteArray header = "Index\tName\tValue\r\n";
    putFile(dir.filePath(QStringLiteral("en/a.txt")), header + "3\tab\tOpen\r\n4\tcd\tSave\r\n");
    putFile(dir.filePath(QStringLiteral("ja/a.txt")), header + "3\tab\t開く\r\n4\tcd\tSave\r\n");
    putFile(dir.filePath(QStringLiteral("en/sub/b.stf")), TableStf);
    putFile(dir.filePath(QStringLiteral("ja/only.txt")), TableText);
    putFile(dir.filePath(QStringLiteral("en/cut.stf")), TableStf);
    putFile(dir.filePath(QStringLiteral("ja/cut.stf")), TableStf.chopped(1));
    const QStringList args{QStringLiteral("status"), QStringLiteral("--pairs-from"), QStringLiteral("en"),
                           QStringLiteral("ja/"), QStringLiteral("--include=*.txt")};

    const Run text = runCli(args, "windows-932", dir.path());
    QCOMPARE(text.exitCode, 1);
    QCOMPARE(text.errorLines, QStringList{QStringLiteral("ja/cut.stf:27: ファイル読み込みエラー: ")
                                          + text.errorLines.value(0).section(QStringLiteral(": "), 2)});
    QCOMPARE(QString::fromUtf8(text.out),
             QStringLiteral("a.txt\t翻訳済み 1 / 2（50 %）\t未訳 1\t要確認 0\t問題 0\t原文なし 0\t不足 0\n"
                            "only.txt\t翻訳済み 0 / 0（0 %）\t未訳 0\t要確認 0\t問題 0\t原文なし 1\t不足 0\t原文なし\n"
                            "sub/b.stf\t翻訳済み 0 / 1（0 %）\t未訳 1\t要確認 0\t問題 0\t原文なし 0\t不足 0\t訳なし\n"
                            "合計\t翻訳済み 1 / 3（33 %）\t未訳 2\t要確認 0\t問題 0\t原文なし 1\t不足 0\n"));

    const Run json = runCli(args + QStringList{QStringLiteral("--format=json")}, "windows-932", dir.path());
    QCOMPARE(json.exitCode, 1);
    const QJsonObject object = QJsonDocument::fromJson(json.out).object();
    const QJsonArray tables = object.value(QLatin1String("tables")).toArray();
    QCOMPARE(tables.size(), 4);
    QVERIFY(tables[1].toObject().contains(QLatin1String("error")));
    QCOMPARE(tables[3].toObject().value(QLatin1String("translation")), QJsonValue(false));
    const QJsonObject total = object.value(QLatin1String("total")).toObject();
    QCOMPARE(total.value(QLatin1String("tables")).toInt(), 4);
    QCOMPARE(total.value(QLatin1String("untranslated")).toInt(), 2);
}

#include "tst_cli.moc"
