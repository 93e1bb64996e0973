// SPDX-License-Identifier: GPL-3.0-or-later
// What scripts read from wendaro-cli: JSON, checked by readers of their own.
#include "TestFiles.h"

#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

namespace {

// Index 3, name ab, a value of the code units given in hexadecimal.
QByteArray stfTable(const char *valueHex)
{
    const QByteArray value = QByteArray::fromHex(valueHex);
    const auto le32 = [](qint32 n) { return QByteArray(reinterpret_cast<const char *>(&n), 4); };
    return QByteArray::fromHex("cdab0000010200000001000000"
                               "03000000ffffffff")
           + le32(qint32(value.size() / 2)) + value + QByteArray::fromHex("03000000020000006162");
}

struct Run
{
    int exitCode = -1;
    QByteArray out;
    QByteArray errors;
};

Run run(const QString &program, const QStringList &args, const QString &folder, const QByteArray &input = {})
{
    QProcess process;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("WENDARO_CODEPAGE"), QStringLiteral("windows-932"));
    process.setProcessEnvironment(environment);
    process.setWorkingDirectory(folder);
    process.start(program, args);
    process.write(input);
    process.closeWriteChannel();
    Run done;
    if (!process.waitForFinished(60000) || process.exitStatus() != QProcess::NormalExit)
        return done;
    done.exitCode = process.exitCode();
    done.out = process.readAllStandardOutput();
    done.errors = process.readAllStandardError();
    return done;
}

Run runCli(const QStringList &args, const QString &folder)
{
    return run(QStringLiteral(WENDARO_CLI_PATH), args, folder);
}

// An STF table of the values, indexes from 1, every name "n".
QByteArray stfTableOf(const QStringList &values)
{
    const auto le32 = [](qint32 n) { return QByteArray(reinterpret_cast<const char *>(&n), 4); };
    const auto le16 = [](qint16 n) { return QByteArray(reinterpret_cast<const char *>(&n), 2); };
    QByteArray table = QByteArray::fromHex("cdab000001") + le16(qint16(values.size() + 1)) + QByteArray(2, '\0')
                       + le32(qint32(values.size()));
    for (qsizetype i = 0; i < values.size(); ++i)
        table += le32(qint32(i + 1)) + QByteArray::fromHex("ffffffff") + le32(qint32(values[i].size()))
                 + QByteArray(reinterpret_cast<const char *>(values[i].utf16()), values[i].size() * 2);
    for (qsizetype i = 0; i < values.size(); ++i)
        table += le32(qint32(i + 1)) + le32(1) + "n";
    return table;
}

// A python3 that has translate-toolkit, or "" (Debian's, when another comes first).
QString pythonWithTranslateToolkit()
{
    for (const QString &python :
         {QStandardPaths::findExecutable(QStringLiteral("python3")), QStringLiteral("/usr/bin/python3")}) {
        if (python.isEmpty() || !QFileInfo::exists(python))
            continue;
        QProcess probe;
        probe.setProcessChannelMode(QProcess::MergedChannels);
        probe.start(python, {QStringLiteral("-c"), QStringLiteral("import translate.storage.tmx")});
        if (probe.waitForFinished(60000) && probe.exitStatus() == QProcess::NormalExit && probe.exitCode() == 0)
            return python;
    }
    return QString();
}

} // namespace

class TestCliScripts : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void dumpJson_data();
    void dumpJson();
    void grep_data();
    void grep();
    void memoryReadByTools();
    void toolsMemoryPretranslates();
    void exportSuggestions_data();
    void exportSuggestions();
};

void TestCliScripts::dumpJson_data()
{
    QTest::addColumn<QByteArray>("table"); // the file's bytes
    QTest::addColumn<QString>("suffix");
    QTest::addColumn<QByteArray>("python"); // the document as Python's json reads it, written back sorted in ASCII
    QTest::addColumn<QByteArray>("jq");     // jq -c '[.entries[] | [.index, .name, .value]]'

    QTest::newRow("text, fields, a line break, a byte that is no character")
        << QByteArray(
               "Index\tName\tValue\r\n>file out.stf\r\n>//m\r\n3\tab\tx<br>\"\\\r\n-4\t\x96\xbc\tz\r\n5\t\x81\t\r\n")
        << ".txt"
        << QByteArray(
               R"({"entries": [{"index": 3, "name": "ab", "value": "x\r\n\"\\"}, )"
               R"({"index": -4, "name": "\u540d", "value": "z"}, )"
               R"({"index": 5, "name": "\uf781", "nameBytes": "81", "value": ""}], "memo": "m", "outputFile": "out.stf"})")
        << QByteArray(R"([[3,"ab","x\r\n\"\\"],[-4,"名","z"],[5,")"
                      "\xEF\x9E\x81"
                      R"(",""]])");
    QTest::newRow("stf, lone surrogate, a pair, TAB and CR LF")
        << stfTable("00d83dd800de09000d000a00") << ".stf"
        << QByteArray(R"({"entries": [{"index": 3, "name": "ab", "value": "\ufffd\ud83d\ude00\t\r\n", )"
                      R"("valueUtf16": "d800d83dde000009000d000a"}], "memo": "", "outputFile": ""})")
        << QByteArray(R"([[3,"ab","�😀\t\r\n"]])");
    QTest::newRow("stf, no entries") << QByteArray::fromHex("cdab00000101000000000000") << ".stf"
                                     << QByteArray(R"({"entries": [], "memo": "", "outputFile": ""})")
                                     << QByteArray("[]");
}

void TestCliScripts::dumpJson()
{
    QFETCH(QByteArray, table);
    QFETCH(QString, suffix);
    QFETCH(QByteArray, python);
    QFETCH(QByteArray, jq);

    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    putFile(dir.filePath(QStringLiteral("table") + suffix), table);
    const Run dumped = runCli({QStringLiteral("dump"), QStringLiteral("--format=json"),
                               QStringLiteral("table") + suffix},
                              dir.path());
    QCOMPARE(dumped.exitCode, 0);
    QVERIFY2(dumped.errors.isEmpty(), dumped.errors.constData());

    const QString python3 = QStandardPaths::findExecutable(QStringLiteral("python3"));
    if (python3.isEmpty()) {
        qWarning("python3 is missing: the document is not read back with Python's json module");
    } else {
        const Run read = run(python3,
                             {QStringLiteral("-c"),
                              QStringLiteral("import json, sys; print(json.dumps(json.load(sys.stdin), "
                                             "sort_keys=True, ensure_ascii=True), end='')")},
                             dir.path(), dumped.out);
        QVERIFY2(read.exitCode == 0, read.errors.constData());
        QCOMPARE(read.out, python);
    }
    const QString jqProgram = QStandardPaths::findExecutable(QStringLiteral("jq"));
    if (jqProgram.isEmpty())
        QSKIP("jq is missing: the document is not read with jq");
    const Run read = run(jqProgram, {QStringLiteral("-c"), QStringLiteral("[.entries[] | [.index, .name, .value]]")},
                         dir.path(), dumped.out);
    QVERIFY2(read.exitCode == 0, read.errors.constData());
    QCOMPARE(read.out, jq + '\n');
}

void TestCliScripts::grep_data()
{
    QTest::addColumn<QString>("args");
    QTest::addColumn<int>("exitCode");
    QTest::addColumn<QByteArray>("out");
    QTest::addColumn<QString>("error"); // how stderr starts

    const auto row = [](const char *name, const char *args, int exitCode, const char *out, const char *error = "") {
        QTest::newRow(name) << QString::fromUtf8(args) << exitCode << QByteArray(out) << QString::fromUtf8(error);
    };
    // a.stf: 3 ab "x.y" CR LF "z"; b.txt: 3 ab xzy, 7 X.Y q; d/ holds c.STF (3 ab X.y), e.txt and sub/f.stf.
    row("fixed string, dots are dots", "x.y a.stf b.txt", 0, "a.stf:3:ab:x.y<br>z\n");
    row("regular expression", "-E x.y a.stf b.txt", 0, "a.stf:3:ab:x.y<br>z\nb.txt:3:ab:xzy\n");
    row("ignoring case, letters combined", "-iE ^x\\.y$ b.txt", 0, "b.txt:7:X.Y:q\n");
    row("a line break is <br> to the search", "-c -i BR a.stf", 0, "a.stf:1\n");
    row("and across it", "-c y<br>z a.stf", 0, "a.stf:1\n");
    row("only the field asked", "--field=index 7 a.stf b.txt", 0, "b.txt:7:X.Y:q\n");
    row("names and values, not indexes", "7 b.txt", 1, "");
    row("files with matches", "-l -i x.y a.stf b.txt d/c.STF", 0, "a.stf\nb.txt\nd/c.STF\n");
    row("counts", "-c -i x.y a.stf b.txt", 0, "a.stf:1\nb.txt:1\n");
    row("folders walked in order, stf in any case", "-r -l ab d/ a.stf", 0, "d/c.STF\nd/sub/f.stf\na.stf\n");
    row("--include takes others", "-rl --include=*.txt ab d", 0, "d/c.STF\nd/e.txt\nd/sub/f.stf\n");
    row("an unreadable file, the others searched", "ab missing.stf b.txt", 2, "b.txt:3:ab:xzy\n",
        "missing.stf: ファイル読み込みエラー: ");
    row("a folder without -r", "ab d", 2, "", "d: ファイル読み込みエラー: ");
    row("highlighted", "--color=always -E x.|z a.stf", 0,
        "\33[35m\33[Ka.stf\33[m\33[K\33[36m\33[K:\33[m\33[K3\33[36m\33[K:\33[m\33[Kab\33[36m\33[K:\33[m\33[K"
        "\33[01;31m\33[Kx.\33[m\33[Ky<br>\33[01;31m\33[Kz\33[m\33[K\n");
    row("not on a pipe", "--color x.y a.stf", 0, "a.stf:3:ab:x.y<br>z\n");
    row("invalid expression", "-E x( a.stf", 64, "", "wendaro-cli: grep: the regular expression \"x(\" is not valid");
    row("no file", "x.y", 64, "", "wendaro-cli: grep takes");
}

void TestCliScripts::grep()
{
    QFETCH(QString, args);
    QFETCH(int, exitCode);
    QFETCH(QByteArray, out);
    QFETCH(QString, error);

    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    QVERIFY(QDir(dir.path()).mkpath(QStringLiteral("d/sub")));
    putFile(dir.filePath(QStringLiteral("a.stf")), stfTable("78002e0079000d000a007a00"));
    putFile(dir.filePath(QStringLiteral("b.txt")), "Index\tName\tValue\r\n3\tab\txzy\r\n7\tX.Y\tq\r\n");
    putFile(dir.filePath(QStringLiteral("d/c.STF")), stfTable("58002e007900"));
    putFile(dir.filePath(QStringLiteral("d/e.txt")), "Index\tName\tValue\r\n1\tab\t\r\n");
    putFile(dir.filePath(QStringLiteral("d/sub/f.stf")), stfTable(""));
    const Run ran = runCli(QStringList{QStringLiteral("grep")} + args.split(QLatin1Char(' ')), dir.path());
    QCOMPARE(ran.exitCode, exitCode);
    QCOMPARE(ran.out, out);
    QVERIFY2(ran.errors.startsWith(error.toUtf8()) && ran.errors.isEmpty() == error.isEmpty(), ran.errors.constData());
}

// The originals and translations of the memory tests: line breaks, a lone
// CR and LF, a character outside the BMP, XML's own characters.
const QStringList English = {"Open\r\nfile", "a\rb", "x\ny\r\nz", "\U0001F600 & <b> ]]>", "same", "Quit"};
const QStringList Japanese = {"開く\r\nファイル", "い\rろ", "は\nに", "\U0001F600 と <b> ]]>", "same", ""};

// translate-toolkit reads every unit and language as memory wrote them;
// xmllint finds the file well-formed.
void TestCliScripts::memoryReadByTools()
{
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    putFile(dir.filePath(QStringLiteral("en.stf")), stfTableOf(English));
    putFile(dir.filePath(QStringLiteral("ja.stf")), stfTableOf(Japanese));
    const Run made = runCli({QStringLiteral("memory"), QStringLiteral("-o"), QStringLiteral("tm.tmx"),
                             QStringLiteral("--source-lang=en"), QStringLiteral("--target-lang=ja"),
                             QStringLiteral("en.stf"), QStringLiteral("ja.stf")},
                            dir.path());
    QVERIFY2(made.exitCode == 0, made.errors.constData());

    if (QStandardPaths::findExecutable(QStringLiteral("xmllint")).isEmpty())
        qWarning("xmllint is missing (Debian: libxml2-utils): the memory is not checked to be well-formed");
    else
        QCOMPARE(QProcess::execute(QStringLiteral("xmllint"), {QStringLiteral("--noout"), dir.filePath("tm.tmx")}), 0);

    const QString python = pythonWithTranslateToolkit();
    if (python.isEmpty())
        QSKIP("translate-toolkit is missing (Debian: translate-toolkit): the memory is not read by it");
    const Run read = run(python,
                         {QStringLiteral("-c"), QStringLiteral("import json; from translate.storage import tmx\n"
                                                               "f = tmx.tmxfile(open('tm.tmx', 'rb'))\n"
                                                               "print(json.dumps([[u.source, u.target] + [t.get("
                                                               "'{http://www.w3.org/XML/1998/namespace}lang') for t in "
                                                               "u.xmlelement.iter('tuv')] for u in f.units]))")},
                         dir.path());
    QVERIFY2(read.exitCode == 0, read.errors.constData());
    // As a translator sees them: the line breaks LF, except in the text
    // holding an LF of its own, which keeps CR LF.
    QCOMPARE(QString::fromUtf8(read.out).trimmed(),
             QStringLiteral(R"([["Open\nfile", "\u958b\u304f\n\u30d5\u30a1\u30a4\u30eb", "en", "ja"], )"
                            R"(["a\rb", "\u3044\r\u308d", "en", "ja"], )"
                            R"(["x\ny\r\nz", "\u306f\n\u306b", "en", "ja"], )"
                            R"(["\ud83d\ude00 & <b> ]]>", "\ud83d\ude00 \u3068 <b> ]]>", "en", "ja"]])"));
}

// A memory that translate-toolkit's po2tmx writes fills a translation.
void TestCliScripts::toolsMemoryPretranslates()
{
    if (QStandardPaths::findExecutable(QStringLiteral("po2tmx")).isEmpty())
        QSKIP("po2tmx is missing (Debian: translate-toolkit)");
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    putFile(dir.filePath(QStringLiteral("en.stf")), stfTableOf(English));
    putFile(dir.filePath(QStringLiteral("ja.stf")), stfTableOf(Japanese));
    putFile(dir.filePath(QStringLiteral("empty.stf")), stfTableOf(QStringList(English.size(), QString())));
    const QStringList exported{QStringLiteral("export"),          QStringLiteral("--source"),
                               QStringLiteral("en.stf"),          QStringLiteral("ja.stf"),
                               QStringLiteral("ja.po"),           QStringLiteral("--source-lang=en"),
                               QStringLiteral("--target-lang=ja")};
    QVERIFY(runCli(exported, dir.path()).exitCode == 0);
    const Run converted = run(QStringLiteral("po2tmx"),
                              {QStringLiteral("--progress=none"), QStringLiteral("--language=ja"),
                               QStringLiteral("ja.po"), QStringLiteral("po.tmx")},
                              dir.path());
    QVERIFY2(converted.exitCode == 0, converted.errors.constData());
    const Run filled = runCli({QStringLiteral("pretranslate"), QStringLiteral("en.stf"), QStringLiteral("empty.stf"),
                               QStringLiteral("po.tmx"), QStringLiteral("out.stf")},
                              dir.path());
    QVERIFY2(filled.exitCode == 0, filled.errors.constData());
    // The text holding an LF of its own loses its mark in the PO-to-TMX
    // conversion and finds no match; the others come back exactly.
    QStringList expected = Japanese;
    expected[2] = expected[4] = QString();
    QCOMPARE(contents(dir.filePath(QStringLiteral("out.stf"))), stfTableOf(expected));
    QCOMPARE(filled.errors, QByteArray("訳を入れた 3 件、翻訳済み 0 件、一致なし 3 件、あいまい 0 件\n"));
}

void TestCliScripts::exportSuggestions_data()
{
    QTest::addColumn<QString>("out");
    QTest::addColumn<QByteArray>("holds"); // what the file holds for index 3, whose translation is its original
    QTest::newRow("PO: the best as a fuzzy msgstr, its score and origin in a comment")
        << "ja.po"
        << QByteArray("# 75 % tm.tmx\n#. name: n\n#, fuzzy\nmsgctxt \"3\"\nmsgid \"Save the file now\"\n"
                      "msgstr \"\"\n\"T\\n\"\n\"save\"\n");
    QTest::newRow("XLIFF: each an alt-trans, the unit's target as it was")
        << "ja.xlf"
        << QByteArray("<target state=\"translated\">Save the file now</target>\n"
                      "        <alt-trans match-quality=\"75\" origin=\"tm.tmx\" xml:space=\"preserve\">\n"
                      "          <source>Save the file</source>\n          <target>T\nsave</target>\n");
}

// export --memory: the suggestions as gettext and translate-toolkit read
// them; import takes none back, and without a match nothing is written
// otherwise than without the option.
void TestCliScripts::exportSuggestions()
{
    QFETCH(QString, out);
    QFETCH(QByteArray, holds);
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QByteArray translation = stfTableOf({"Ouvrir le fichier", "", "Save the file now"});
    putFile(dir.filePath(QStringLiteral("en.stf")),
            stfTableOf({"Open the file", "Open the files", "Save the file now"}));
    putFile(dir.filePath(QStringLiteral("ja.stf")), translation);
    const QByteArray head = "<tmx version=\"1.4\"><header srclang=\"en\"/><body>";
    putFile(dir.filePath(QStringLiteral("tm.tmx")),
            head
                + "<tu><tuv xml:lang=\"en\"><seg>Save the file</seg></tuv>"
                  "<tuv xml:lang=\"ja\"><seg>T\nsave</seg></tuv></tu></body></tmx>");
    putFile(dir.filePath(QStringLiteral("far.tmx")), head
                                                         + "<tu><tuv xml:lang=\"en\"><seg>Quit</seg></tuv>"
                                                           "<tuv xml:lang=\"ja\"><seg>Q</seg></tuv></tu></body></tmx>");
    const auto exported = [&](const QString &name, const QStringList &memory) {
        const Run made = runCli(QStringList{QStringLiteral("export"), QStringLiteral("--source"),
                                            QStringLiteral("en.stf"), QStringLiteral("ja.stf"), name}
                                    + memory,
                                dir.path());
        return made.exitCode == 0 && made.errors.isEmpty() ? contents(dir.filePath(name)) : QByteArray("failed");
    };
    const QByteArray plain = exported(out, {});
    QCOMPARE(exported(out, {QStringLiteral("--memory"), QStringLiteral("far.tmx")}), plain);
    QVERIFY2(exported(out, {QStringLiteral("--memory"), QStringLiteral("tm.tmx")}).contains(holds),
             contents(dir.filePath(out)).constData());

    const Run imported = runCli({QStringLiteral("import"), QStringLiteral("--source"), QStringLiteral("en.stf"),
                                 QStringLiteral("ja.stf"), out, QStringLiteral("back.stf")},
                                dir.path());
    QVERIFY2(imported.exitCode == 0, imported.errors.constData());
    QCOMPARE(contents(dir.filePath(QStringLiteral("back.stf"))), translation);

    if (out.endsWith(QLatin1String(".po"))) {
        if (QStandardPaths::findExecutable(QStringLiteral("msgfmt")).isEmpty())
            QSKIP("msgfmt is missing (Debian: gettext)");
        const Run checked = run(QStringLiteral("msgfmt"),
                                {QStringLiteral("--check"), QStringLiteral("-o"), QStringLiteral("/dev/null"), out},
                                dir.path());
        QVERIFY2(checked.exitCode == 0, checked.errors.constData());
        return;
    }
    const QString python = pythonWithTranslateToolkit();
    if (python.isEmpty())
        QSKIP("translate-toolkit is missing (Debian: translate-toolkit): the alternatives are not read by it");
    const Run read = run(python,
                         {QStringLiteral("-c"), QStringLiteral("import json; from translate.storage import xliff\n"
                                                               "f = xliff.xlifffile(open('ja.xlf', 'rb'))\n"
                                                               "print(json.dumps([[a.source, a.target, a.xmlelement."
                                                               "get('match-quality'), a.xmlelement.get('origin')] "
                                                               "for u in f.units for a in u.getalttrans()]))")},
                         dir.path());
    QVERIFY2(read.exitCode == 0, read.errors.constData());
    QCOMPARE(read.out.trimmed(), QByteArray(R"([["Save the file", "T\nsave", "75", "tm.tmx"]])"));
}

QTEST_GUILESS_MAIN(TestCliScripts)
#include "tst_cli_scripts.moc"
