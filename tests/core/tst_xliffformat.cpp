// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/translation/TranslationCatalog.h"
#include "core/translation/TranslatorText.h"
#include "core/formats/XliffFormat.h"

#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

using namespace wendaro;

namespace {

TranslationUnit unit(qint16 index, const QString &name, const QString &source, const QString &target,
                     bool fuzzy = false)
{
    return {index, name, source, target, !target.isNull(), fuzzy, true, QString()};
}

// "index|name|source|target|flags": T translated, F fuzzy, N has a name.
QStringList unitsOf(const TranslationCatalog &catalog)
{
    QStringList out;
    for (const TranslationUnit &u : catalog.units)
        out << QStringLiteral("%1|%2|%3|%4|%5%6%7")
                   .arg(u.index)
                   .arg(u.name, u.source, u.target, u.translated ? "T" : "", u.fuzzy ? "F" : "", u.hasName ? "N" : "");
    return out;
}

QByteArray document(const QByteArray &units)
{
    return "<xliff version=\"1.2\" xmlns=\"urn:oasis:names:tc:xliff:document:1.2\">"
           "<file original=\"t.stf\" datatype=\"plaintext\" source-language=\"en\"><body>\n"
           + units + "</body></file></xliff>";
}

const QString Tricky[] = {"a<br>b",
                          "a\rb",
                          "a\nb",
                          "a\r<br>b",
                          "a\n<br>\r",
                          "<br><br>",
                          "\t<&>\"'",
                          "]]>",
                          "日本語<br>テキスト",
                          "\U0001F600",
                          "  lead and trail  ",
                          ""};

} // namespace

class TestXliffFormat : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void roundTrip_data();
    void roundTrip();
    void toolsReadWhatWeWrite();
    void languages();
    void read_data();
    void read();
};

void TestXliffFormat::roundTrip_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("value");
    for (const QString &value : Tricky)
        QTest::newRow(qPrintable(value.toUtf8().toPercentEncoding())) << "n" << value;
    const char16_t unholdable[] = {0x01, 0xFFFE, 0xFFFF, 0xD800, u'a', 0xDC00, 0x1F, 0xD800};
    QTest::newRow("controls and lone surrogates") << "n" << QString(reinterpret_cast<const QChar *>(unholdable), 8);
    QTest::newRow("name with stand-ins, quotes, TAB, CR, LF") << QStringLiteral("\uF781\"<&\t\r\n ") << "v";
}

void TestXliffFormat::roundTrip()
{
    QFETCH(QString, name);
    QFETCH(QString, value);
    TranslationCatalog written;
    written.isTemplate = false;
    written.units = {unit(1, name, value, value), unit(-32768, "", "", value, true), unit(32767, name, value, {})};
    XliffFormat format;
    QString failure;
    QByteArray file;
    QVERIFY2(format.writeCatalog(written, file, &failure), qPrintable(failure));
    TranslationCatalog read;
    QVERIFY2(format.readCatalog(file, read, &failure), qPrintable(failure));
    QCOMPARE(unitsOf(read), unitsOf(written));
}

void TestXliffFormat::toolsReadWhatWeWrite()
{
    TranslationCatalog catalog;
    catalog.isTemplate = false;
    for (const QString &value : Tricky) {
        if (!value.isEmpty())
            catalog.units << unit(qint16(catalog.units.size()), "n", value, "T" + value);
    }
    QTemporaryDir dir;
    QByteArray file;
    XliffFormat format;
    QString failure;
    QVERIFY(format.writeCatalog(catalog, file, &failure));
    QFile xlf(dir.filePath("t.xlf"));
    QVERIFY(xlf.open(QIODevice::WriteOnly) && xlf.write(file) == file.size());
    xlf.close();

    if (QStandardPaths::findExecutable("xmllint").isEmpty())
        QSKIP("xmllint is not installed (Debian: libxml2-utils)");
    QCOMPARE(QProcess::execute("xmllint", {"--noout", xlf.fileName()}), 0);
    if (QStandardPaths::findExecutable("xliff2po").isEmpty())
        QSKIP("xliff2po is not installed (Debian: translate-toolkit)");
    QCOMPARE(QProcess::execute("xliff2po", {"--progress=none", xlf.fileName(), dir.filePath("t.po")}), 0);

    QFile po(dir.filePath("t.po"));
    QVERIFY(po.open(QIODevice::ReadOnly));
    // msgid, msgstr, msgid, ...: the quoted pieces joined and unescaped.
    QStringList texts;
    const QRegularExpression line(R"re(^(msgid|msgstr)? ?"(.*)"$)re");
    for (const QString &text : QString::fromUtf8(po.readAll()).split('\n')) {
        const QRegularExpressionMatch m = line.match(text);
        if (!m.hasMatch())
            continue;
        if (!m.captured(1).isEmpty())
            texts.append(QString());
        QString piece = m.captured(2);
        texts.last() += piece.replace("\\n", "\n")
                            .replace("\\r", "\r")
                            .replace("\\t", "\t")
                            .replace("\\\"", "\"")
                            .replace("\\\\", "\\");
    }
    QStringList pairs;
    for (qsizetype i = 0; i + 1 < texts.size(); i += 2)
        pairs << texts.at(i) + u'\0' + texts.at(i + 1);
    for (const TranslationUnit &u : catalog.units) {
        const QString pair = toTranslatorText(u.source, lineBreakFormFor(u.source)) + u'\0'
                             + toTranslatorText(u.target, lineBreakFormFor(u.target));
        QVERIFY2(pairs.contains(pair), qPrintable(u.source));
    }
}

void TestXliffFormat::read_data()
{
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<QStringList>("units");
    QTest::addColumn<QString>("error"); // a part of the description, or empty: read succeeds

    const QStringList none;
    QTest::newRow("states and approval") << document(
        "<trans-unit id='1'><source>a</source><target state='needs-review-l10n'>b</target></trans-unit>"
        "<trans-unit id='2' approved='no'><source>a</source><target>b</target></trans-unit>"
        "<trans-unit id='3'><source>a</source><target state='final'/></trans-unit>"
        "<trans-unit id='4'><source>a</source><target state='new'/></trans-unit>"
        "<trans-unit id='5'><source>a</source><target></target></trans-unit>")
                                         << QStringList{"1||a|b|TF", "2||a|b|TF", "3||a||T", "4||a||", "5||a||"} << "";
    QTest::newRow("groups, marks, alternatives, notes, raw CR LF, two files")
        << document("<group><trans-unit id='-7' resname='r'><source>a\r\nb</source><note>x</note>"
                    "<target>c<mrk mtype='seg'>d</mrk></target><alt-trans><target>z</target></alt-trans>"
                    "</trans-unit></group></body></file><file original='u' datatype='plaintext' "
                    "source-language='en'><body><trans-unit id='8'><source>e</source></trans-unit>")
        << QStringList{"-7|r|a<br>b|cd|TN", "8||e||"} << "";
    QTest::newRow("a CAT tool's file: languages, tool and attributes of its own")
        << QByteArray("<xliff version='1.2' xmlns='urn:oasis:names:tc:xliff:document:1.2' xmlns:o='urn:x-tool'>"
                      "<file original='t.stf' source-language='en-US' target-language='pt-BR' datatype='plaintext' "
                      "tool-id='omegat' o:x='1'><header><tool tool-id='omegat' tool-name='OmegaT'/></header><body>\n"
                      "<trans-unit id='1' o:y='2'><source xml:lang='en-US'>a</source>"
                      "<target xml:lang='pt-BR' state='translated'>b</target></trans-unit></body></file></xliff>")
        << QStringList{"1||a|b|T"} << "";
    QTest::newRow("deeply nested marks") << document("<trans-unit id='1'><source>"
                                                     + QByteArray("<mrk mtype='x'>").repeated(300000) + "a"
                                                     + QByteArray("</mrk>").repeated(300000) + "</source></trans-unit>")
                                         << QStringList{"1||a||"} << "";
    QTest::newRow("DOCTYPE without entities")
        << "<!DOCTYPE xliff PUBLIC \"-//XLIFF//DTD XLIFF//EN\" \"xliff.dtd\">" + document("") << none << "";
    QTest::newRow("id out of range") << document("<trans-unit id='32768'><source/></trans-unit>") << none
                                     << "行 2 列 23: trans-unit の id「32768」";
    QTest::newRow("id not decimal") << document("<trans-unit id='1e3'><source/></trans-unit>") << none
                                    << "行 2 列 21: trans-unit の id「1e3」";
    QTest::newRow("no id") << document("<trans-unit><source/></trans-unit>") << none << "行 2 列 12: trans-unit に id";
    QTest::newRow("unknown inline element")
        << document("<trans-unit id='1'><source>a<g id='1'>b</g></source></trans-unit>") << none
        << "行 2 列 38: <g> は読めない";
    QTest::newRow("no source") << document("<trans-unit id='1'><target>a</target></trans-unit>") << none
                               << "行 2 列 19: trans-unit（id 1）に source がありません";
    QTest::newRow("malformed") << document("<trans-unit id='1'><source>a</sorce></trans-unit>") << none
                               << "行 2 列 36: XML として読めません";
    QTest::newRow("entities declared")
        << "<!DOCTYPE xliff [<!ENTITY a 'aaaaaaaaaa'><!ENTITY b '&a;&a;&a;&a;&a;&a;&a;&a;'>]>\n"
               + document("<trans-unit id='1'><source>&b;&b;&b;</source></trans-unit>")
        << none << "行 1 列 81: DOCTYPE で実体";
    QTest::newRow("XLIFF 2") << QByteArray("<xliff xmlns='urn:oasis:names:tc:xliff:document:2.0' version='2.0'/>")
                             << none << "XLIFF 1.2 の文書ではありません";
}

void TestXliffFormat::read()
{
    QFETCH(QByteArray, file);
    QFETCH(QStringList, units);
    QFETCH(QString, error);
    TranslationCatalog catalog;
    XliffFormat format;
    QString failure;
    QCOMPARE(format.readCatalog(file, catalog, &failure), error.isEmpty());
    QVERIFY2(failure.contains(error), qPrintable(failure));
    QCOMPARE(unitsOf(catalog), units);
}

void TestXliffFormat::languages()
{
    TranslationCatalog catalog;
    catalog.units = {unit(1, "n", "a", {})};
    XliffFormat format;
    QString failure;
    QByteArray unknown;
    QVERIFY(format.writeCatalog(catalog, unknown, &failure));
    QVERIFY(unknown.contains(" source-language=\"und\">") && !unknown.contains("target-language"));
    catalog.sourceLanguage = "en";
    catalog.targetLanguage = "pt-BR";
    QByteArray named;
    QVERIFY(format.writeCatalog(catalog, named, &failure));
    QVERIFY2(named.contains(" source-language=\"en\" target-language=\"pt-BR\">"), named.constData());
}

QTEST_GUILESS_MAIN(TestXliffFormat)
#include "tst_xliffformat.moc"
