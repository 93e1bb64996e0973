// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/formats/PoFormat.h"
#include "core/translation/TranslationCatalog.h"

#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

using namespace wendaro;

namespace {

TranslationUnit unit(qint16 index, const QString &source, const QString &target = QString(), bool fuzzy = false,
                     const QString &name = QStringLiteral("NAME"))
{
    return TranslationUnit{index, name, source, target, !target.isEmpty(), fuzzy, false, QString()};
}

// Values whose line breaks, escapes or encoding a PO file could alter.
QList<std::pair<const char *, TranslationUnit>> trickyUnits()
{
    const QChar standIn(0xF781);
    return {
        {"<br>", unit(1, "a<br>b", "c<br>d")},
        {"lone CR", unit(2, "a\rb\r", "\rc\r")},
        {"lone LF", unit(3, "a\nb", "c\nd<br>e")},
        {"LF in the target only", unit(4, "a<br>b", "c\n<br>d")},
        {"CR before <br>", unit(5, "a\r<br>b", "c\r<br>d")},
        {"tab, quotes, backslashes", unit(6, "\t\"q\" \\n \\", "\\\"")},
        {"controls", unit(7, "\x01\x1b\x7f\b\f\v\a", "x")},
        {"Japanese", unit(8, "日本語の文<br>二行目", "訳文", true)},
        {"non-BMP and a leading U+FEFF", unit(-5, "\U0001F600\U0002000B", QChar(0xFEFF) + QString("x"))},
        {"empty source", unit(32767, "", "t")},
        {"untranslated", unit(-32768, "s")},
        {"untranslated, fuzzy", unit(9, "s", "", true)},
        {"name with a stand-in and LF", unit(0, "s", "t", false, QString("n\n") + standIn)},
    };
}

TranslationCatalog catalogOf(const QList<TranslationUnit> &units, bool isTemplate = false)
{
    TranslationCatalog catalog;
    catalog.original = QStringLiteral("table.stf");
    catalog.isTemplate = isTemplate;
    catalog.units = units;
    return catalog;
}

QString saved(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
        return QString();
    return path;
}

} // namespace

class TestPoFormat : public QObject
{
    Q_OBJECT

private slots:
    void roundTrip_data();
    void roundTrip();
    void msgfmtAccepts();
    void msgmergeCarriesTranslations();
    void refusals_data();
    void refusals();
    void brokenFiles_data();
    void brokenFiles();
    void languages();
};

void TestPoFormat::roundTrip_data()
{
    QTest::addColumn<TranslationUnit>("written");
    for (const auto &[label, written] : trickyUnits())
        QTest::newRow(label) << written;
}

void TestPoFormat::roundTrip()
{
    QFETCH(TranslationUnit, written);
    PoFormat format;
    QString failure;
    QByteArray bytes;
    QVERIFY2(format.writeCatalog(catalogOf({written}), bytes, &failure), qPrintable(failure));
    TranslationCatalog read;
    QVERIFY2(format.readCatalog(bytes, read, &failure), qPrintable(failure));
    QCOMPARE(read.units.size(), 1);
    const TranslationUnit &got = read.units.first();
    QCOMPARE(got.index, written.index);
    QCOMPARE(got.source, written.source);
    QCOMPARE(got.target, written.target);
    QCOMPARE(got.translated, written.translated);
    QCOMPARE(got.fuzzy, written.fuzzy && written.translated); // gettext drops it without a translation
    QCOMPARE(read.isTemplate, !written.translated);
}

void TestPoFormat::msgfmtAccepts()
{
    if (QStandardPaths::findExecutable("msgfmt").isEmpty())
        QSKIP("msgfmt (Debian package gettext) is not installed");
    QList<TranslationUnit> units;
    for (const auto &[label, written] : trickyUnits())
        units.append(written);
    QTemporaryDir dir;
    PoFormat format;
    QString failure;
    for (const bool isTemplate : {false, true}) {
        QByteArray bytes;
        QVERIFY(format.writeCatalog(catalogOf(units, isTemplate), bytes, &failure));
        QProcess msgfmt;
        msgfmt.start("msgfmt", {"--check", "-o", "/dev/null", saved(dir.filePath("t.po"), bytes)});
        QVERIFY(msgfmt.waitForFinished());
        QVERIFY2(msgfmt.exitCode() == 0, msgfmt.readAllStandardError().constData());
    }
}

void TestPoFormat::msgmergeCarriesTranslations()
{
    if (QStandardPaths::findExecutable("msgmerge").isEmpty())
        QSKIP("msgmerge (Debian package gettext) is not installed");
    PoFormat format;
    QString failure;
    QByteArray old;
    QByteArray pot;
    QVERIFY(format.writeCatalog(catalogOf({unit(1, "a\nb", "c\nd"), unit(2, "The second line", "Zweite Zeile"),
                                           unit(3, "Three", "Drei")}),
                                old, &failure));
    QVERIFY(format.writeCatalog(catalogOf({unit(1, "a\nb"), unit(2, "The second lines"), unit(4, "Four")}, true), pot,
                                &failure));
    QTemporaryDir dir;
    QProcess msgmerge;
    msgmerge.start("msgmerge", {"--quiet", "-o", dir.filePath("merged.po"), saved(dir.filePath("old.po"), old),
                                saved(dir.filePath("new.pot"), pot)});
    QVERIFY(msgmerge.waitForFinished());
    QVERIFY2(msgmerge.exitCode() == 0, msgmerge.readAllStandardError().constData());
    QFile merged(dir.filePath("merged.po"));
    QVERIFY(merged.open(QIODevice::ReadOnly));
    TranslationCatalog read;
    QVERIFY2(format.readCatalog(merged.readAll(), read, &failure), qPrintable(failure));

    QStringList got;
    for (const TranslationUnit &u : read.units)
        got << QStringLiteral("%1|%2|%3|%4|%5").arg(u.index).arg(u.source, u.target).arg(u.translated).arg(u.fuzzy);
    QCOMPARE(got, (QStringList{"1|a\nb|c\nd|1|0", "2|The second lines|Zweite Zeile|1|1", "4|Four||0|0"}));
}

void TestPoFormat::refusals_data()
{
    QTest::addColumn<TranslationUnit>("written");
    QTest::addColumn<QString>("errorPart");
    QTest::newRow("high surrogate alone")
        << unit(7, QString("ab") + QChar(0xD800)) << "インデックス 7 の原文の 3 文字目 U+D800";
    QTest::newRow("low surrogate in the target")
        << unit(8, "s", QChar(0xDC00)) << "インデックス 8 の訳文の 1 文字目 U+DC00";
    QTest::newRow("NUL in the name") << unit(9, "s", "t", false, QString(QChar(0))) << "名前の 1 文字目 U+0000";
}

void TestPoFormat::refusals()
{
    QFETCH(TranslationUnit, written);
    QFETCH(QString, errorPart);
    PoFormat format;
    QString failure;
    QByteArray bytes("kept");
    QVERIFY(!format.writeCatalog(catalogOf({written}), bytes, &failure));
    QVERIFY2(failure.contains(errorPart), qPrintable(failure));
    QCOMPARE(bytes, QByteArray("kept"));
}

void TestPoFormat::brokenFiles_data()
{
    // clang-format off
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<QString>("errorPart");
    const QByteArray header = "msgid \"\"\nmsgstr \"Content-Type: text/plain; charset=UTF-8\\n\"\n\n";
    QTest::newRow("unknown keyword") << header + "msgctxt \"1\"\nmsgid \"a\"\nmsgstring \"\"\n" << "6 行目";
    QTest::newRow("no msgctxt") << header + "msgctxt \"1\"\nmsgid \"a\"\nmsgstr \"\"\n\nmsgid \"b\"\nmsgstr \"\"\n"
                                << "行 8 のメッセージに msgctxt がありません";
    QTest::newRow("index out of range") << header + "msgctxt \"32768\"\nmsgid \"a\"\nmsgstr \"\"\n" << "行 4";
    QTest::newRow("same index twice") << header + "msgctxt \"1\"\nmsgid \"a\"\nmsgstr \"\"\n\nmsgctxt \"1\"\nmsgid "
                                                  "\"b\"\nmsgstr \"\"\n"
                                      << "行 8 のメッセージのインデックス 1 は行 4 の";
    QTest::newRow("plural") << header + "msgctxt \"1\"\nmsgid \"a\"\nmsgid_plural \"b\"\nmsgstr[0] \"\"\n"
                            << "行 4 のメッセージは複数形";
    QTest::newRow("other charset") << QByteArray("msgid \"\"\nmsgstr \"Content-Type: text/plain; charset=EUC-JP\\n\"\n")
                                   << "EUC-JP";
    // clang-format on
}

void TestPoFormat::brokenFiles()
{
    QFETCH(QByteArray, file);
    QFETCH(QString, errorPart);
    PoFormat format;
    QString failure;
    TranslationCatalog read;
    QVERIFY(!format.readCatalog(file, read, &failure));
    QVERIFY2(failure.contains(errorPart), qPrintable(failure));
}

// export's languages go in the header in gettext's form; a file that a PO
// editor saved with its own header and languages reads back.
void TestPoFormat::languages()
{
    TranslationCatalog catalog = catalogOf({unit(1, "Open", "Abrir")});
    catalog.sourceLanguage = QStringLiteral("en");
    catalog.targetLanguage = QStringLiteral("pt-BR");
    PoFormat format;
    QString failure;
    QByteArray bytes;
    QVERIFY(format.writeCatalog(catalog, bytes, &failure));
    QVERIFY2(bytes.contains("\"Language: pt_BR\\n\"\n") && bytes.contains("\"X-Source-Language: en\\n\"\n"),
             bytes.constData());
    bytes
        .replace("\"Last-Translator: \\n\"", "\"Last-Translator: Ana <ana@example.org>\\n\"\n"
                                             "\"Plural-Forms: nplurals=2; plural=(n > 1);\\n\"")
        .replace("X-Generator: Wendaro", "X-Generator: Poedit 3.2.2");
    TranslationCatalog read;
    QVERIFY2(format.readCatalog(bytes, read, &failure), qPrintable(failure));
    QCOMPARE(read.units.size(), 1);
    QCOMPARE(read.units.first().target, QStringLiteral("Abrir"));
}

QTEST_GUILESS_MAIN(TestPoFormat)
#include "tst_poformat.moc"
