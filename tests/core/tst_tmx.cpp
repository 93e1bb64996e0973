// SPDX-License-Identifier: GPL-3.0-or-later
// Translation memory: the TMX writer and reader, the gathering of pairs and
// the choice pretranslate makes, and the language codes.
#include "core/formats/TmxReader.h"
#include "core/formats/TmxWriter.h"
#include "core/io/ByteSink.h"
#include "core/model/EntryList.h"
#include "core/model/IndexText.h"
#include "core/text/LineBreaks.h"
#include "core/translation/LanguageCode.h"
#include "core/translation/TranslationMemory.h"

#include <QBuffer>
#include <QElapsedTimer>
#include <QTest>

#include <random>

using namespace wendaro;

namespace {

EntryList rowsOf(const QStringList &values)
{
    EntryList rows;
    for (qsizetype i = 0; i < values.size(); ++i) {
        const qsizetype at = rows.append(indexText(qint16(i + 1)));
        rows.setValue(at, values[i]);
    }
    return rows;
}

QStringList valuesOf(const EntryList &rows)
{
    QStringList values;
    for (qsizetype i = 0; i < rows.count(); ++i)
        values << rows.at(i).value.toString();
    return values;
}

// The memory of the pairs of tables, each pair's translation named tN.stf.
TranslationMemory memoryOf(const QList<std::pair<QStringList, QStringList>> &pairs)
{
    TranslationMemory memory{QStringLiteral("en"), QStringLiteral("ja"), QStringLiteral("9"), {}, {}, {}};
    MemoryGathering gathering;
    for (const auto &[original, translation] : pairs) {
        QString error;
        std::optional<TablePairs> found = memoryPairs(rowsOf(original), "o", rowsOf(translation), "t", &error);
        if (!found)
            qFatal("%s", qPrintable(error));
        memory.tables << QStringLiteral("t%1.stf").arg(memory.tables.size());
        gathering.add(std::move(*found), qint32(memory.tables.size() - 1));
    }
    memory.units = gathering.takeUnits();
    return memory;
}

QByteArray tmxOf(const TranslationMemory &memory)
{
    QByteArray bytes;
    ArraySink sink(bytes);
    QString error;
    if (!writeTmx(memory, sink, &error))
        qFatal("%s", qPrintable(error));
    return bytes;
}

struct Filled
{
    QStringList values;
    PretranslateReport report;
    QString error; // of the reading or the filling
};

// translation filled from the memories, read in order.
Filled pretranslated(const QStringList &original, const QStringList &translation, const QList<QByteArray> &memories,
                     const QString &source = {}, const QString &target = {})
{
    Filled filled;
    EntryList rows = rowsOf(translation);
    std::optional<Pretranslation> work = Pretranslation::prepare(rowsOf(original), "o", rows, "t", source, target,
                                                                 &filled.error);
    if (!work)
        return filled;
    for (QByteArray bytes : memories) {
        QBuffer device(&bytes);
        device.open(QIODevice::ReadOnly);
        qint64 line = 0;
        if (!TmxReader().read(
                device, !source.isEmpty(), [&](const ReadUnit &unit) { work->offer(unit); }, &line, &filled.error)) {
            filled.error = QStringLiteral("%1: %2").arg(line).arg(filled.error);
            return filled;
        }
    }
    if (work->fill(rows, filled.report, &filled.error))
        filled.values = valuesOf(rows);
    return filled;
}

QByteArray tmx(const QByteArray &units, const QByteArray &header = R"(srclang="en")")
{
    return "<?xml version=\"1.0\"?>\n<tmx version=\"1.4\"><header " + header + "/><body>\n" + units + "</body></tmx>";
}

QByteArray unit(const char *en, const char *ja, const QByteArray &more = {})
{
    return "<tu" + more + "><tuv xml:lang=\"en\"><seg>" + en + "</seg></tuv><tuv xml:lang=\"ja\"><seg>" + ja
           + "</seg></tuv></tu>\n";
}

} // namespace

class TestTmx : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void writesTheSameBytes();
    void refusesWhatXmlCannotHold();
    void roundTrip();
    void choice_data();
    void choice();
    void refused_data();
    void refused();
    void entitiesAreNeverExpanded();
    void languageCodes();
};

void TestTmx::writesTheSameBytes()
{
    const TranslationMemory memory = memoryOf({{{"Open<br>file", "a\rb", "x\ny<br>z", "same", "", "Save"},
                                                {"開く<br>ファイル", "い\rろ", "は", "same", "に", ""}},
                                               {{"Open<br>file"}, {"開く<br>ファイル"}}});
    const QByteArray expected = R"(<?xml version="1.0" encoding="UTF-8"?>
<tmx version="1.4">
  <header creationtool="Wendaro" creationtoolversion="9" segtype="block" o-tmf="Wendaro" adminlang="en" srclang="en" datatype="plaintext"/>
  <body>
    <tu>
      <prop type="x-wendaro-entry">t0.stf:1</prop>
      <prop type="x-wendaro-entry">t1.stf:1</prop>
      <tuv xml:lang="en">
        <seg>Open
file</seg>
      </tuv>
      <tuv xml:lang="ja">
        <seg>開く
ファイル</seg>
      </tuv>
    </tu>
    <tu>
      <prop type="x-wendaro-entry">t0.stf:2</prop>
      <tuv xml:lang="en">
        <seg>a&#13;b</seg>
      </tuv>
      <tuv xml:lang="ja">
        <seg>い&#13;ろ</seg>
      </tuv>
    </tu>
    <tu>
      <prop type="x-wendaro-entry">t0.stf:3</prop>
      <tuv xml:lang="en">
        <prop type="x-wendaro-breaks">crlf</prop>
        <seg>x
y&#13;
z</seg>
      </tuv>
      <tuv xml:lang="ja">
        <seg>は</seg>
      </tuv>
    </tu>
  </body>
</tmx>
)";
    QCOMPARE(QString::fromUtf8(tmxOf(memory)), QString::fromUtf8(expected));
}

void TestTmx::refusesWhatXmlCannotHold()
{
    TranslationMemory memory = memoryOf({{{"a", "b"}, {"x", QStringLiteral("y\u0001")}}});
    QByteArray bytes;
    ArraySink sink(bytes);
    QString error;
    QVERIFY(!writeTmx(memory, sink, &error));
    QVERIFY2(error.startsWith(QStringLiteral("t0.stf: インデックス 2 の訳に"))
                 && error.contains(QStringLiteral("U+0001")),
             qPrintable(error));
    QVERIFY(bytes.isEmpty());
}

// For tables whose texts XML can hold, memory then pretranslate into the
// translation emptied gives back every value the memory holds unambiguously.
void TestTmx::roundTrip()
{
    std::mt19937 random(28);
    const auto pick = [&](int n) { return int(random() % unsigned(n)); };
    const QString pieces[] = {"<br>", "\r", "\n", "\r\n", "\U0001F600", "&", "<", "]]>", " ", "\t", "a", "語", "\"'"};
    // A value as a table holds it: the file's CR LF is a line break, "<br>".
    const auto text = [&] {
        QString made;
        for (int n = pick(6); n > 0; --n)
            made += pieces[pick(int(std::size(pieces)))];
        return lineBreaksToList(made);
    };
    for (int round = 0; round < 40; ++round) {
        QList<std::pair<QStringList, QStringList>> pairs;
        for (int t = 1 + pick(3); t > 0; --t) {
            QStringList original, translation;
            for (int e = pick(30); e > 0; --e) {
                original << text();
                translation << (pick(4) == 0 ? original.last() : text());
            }
            pairs.append({original, translation});
        }
        const TranslationMemory memory = memoryOf(pairs);
        QHash<QString, QSet<QString>> held;
        for (const MemoryUnit &u : memory.units)
            held[u.source].insert(u.target);
        const QByteArray bytes = tmxOf(memory);
        for (const auto &[original, translation] : pairs) {
            QStringList emptied = translation;
            emptied.fill(QString());
            const Filled filled = pretranslated(original, emptied, {bytes});
            QVERIFY2(filled.error.isEmpty(), qPrintable(filled.error));
            for (qsizetype i = 0; i < original.size(); ++i) {
                const QSet<QString> targets = held.value(original[i]);
                if (targets.size() == 1)
                    QCOMPARE(filled.values[i], *targets.begin());
                else if (targets.isEmpty())
                    QCOMPARE(filled.values[i], QString());
            }
        }
    }
}

void TestTmx::choice_data()
{
    QTest::addColumn<QByteArrayList>("memories");
    QTest::addColumn<QString>("target");   // --target-lang, "" for none
    QTest::addColumn<QString>("expected"); // the values, then the counts and the ambiguous indexes; or !error

    const QByteArray two = "<prop type=\"x-wendaro-entry\">a:1</prop><prop type=\"x-wendaro-entry\">b:1</prop>";
    // The original is "Open", "Save", "Quit", "7"; the translation "", "Save", "終了", "".
    QTest::newRow("filled, translated, no match") << QByteArrayList{tmx(unit("Save", "保存"))} << ""
                                                  << "|保存|終了| 1 1 2 0 /";
    QTest::newRow("most places win") << QByteArrayList{tmx("<tu>" + two + unit("Open", "開く").mid(4)
                                                           + unit("Open", "オープン"))}
                                     << ""
                                     << "開く|Save|終了| 1 1 2 1 /1";
    QTest::newRow("then the latest change date")
        << QByteArrayList{tmx(unit("Open", "開く", " changedate=\"20240102T000000Z\"") + unit("Open", "オープン"),
                              R"(srclang="en" creationdate="20240101T000000Z")")}
        << ""
        << "開く|Save|終了| 1 1 2 1 /1";
    QTest::newRow("then the last read, memories in order")
        << QByteArrayList{tmx(unit("Open", "開く")), tmx(unit("Open", "オープン"))} << ""
        << "オープン|Save|終了| 1 1 2 1 /1";
    QTest::newRow("the same translation twice is no ambiguity")
        << QByteArrayList{tmx(unit("Open", "開く")), tmx(unit("Open", "開く"))} << ""
        << "開く|Save|終了| 1 1 2 0 /";
    QTest::newRow("inline markup is its text, TMX 1.1's lang") << QByteArrayList{tmx(
        R"(<tu><tuv lang="EN"><seg>Op<ph x="1">en</ph></seg></tuv>)"
        R"(<tuv lang="ja-JP"><seg><bpt i="1">&lt;b></bpt>開<hi>く</hi><ept i="1">&lt;/b></ept></seg></tuv></tu>)")}
                                                               << ""
                                                               << "<b>開く</b>|Save|終了| 1 1 2 0 /";
    QTest::newRow("the target language by case, then by primary language") << QByteArrayList{tmx(
        R"(<tu><tuv xml:lang="en"><seg>Open</seg></tuv><tuv xml:lang="ja-JP"><seg>開く</seg></tuv>)"
        R"(<tuv xml:lang="JA"><seg>ひらく</seg></tuv><tuv xml:lang="ko"><seg>열기</seg></tuv></tu>)"
        R"(<tu><tuv xml:lang="en"><seg>Save</seg></tuv><tuv xml:lang="ja-JP"><seg>保存</seg></tuv></tu>)")}
                                                                           << "ja"
                                                                           << "ひらく|保存|終了| 2 1 1 0 /";
    QTest::newRow("several target languages need one chosen")
        << QByteArrayList{tmx(R"(<tu><tuv xml:lang="en"><seg>Open</seg></tuv><tuv xml:lang="ko"><seg>열기</seg></tuv>)"
                              R"(<tuv xml:lang="ja"><seg>開く</seg></tuv></tu>)")}
        << ""
        << "!メモリに訳の言語が 2 つあります（ja, ko）";
    QTest::newRow("a translation no value holds is skipped and counted")
        << QByteArrayList{tmx(unit("Open", QByteArray(32768, 'x').constData()) + unit("Save", "保存"))} << ""
        << "|保存|終了| 1 1 2 0 / 1 too long";
}

void TestTmx::choice()
{
    QFETCH(QByteArrayList, memories);
    QFETCH(QString, target);
    QFETCH(QString, expected);
    const Filled filled = pretranslated({"Open", "Save", "Quit", "7"}, {"", "Save", "終了", ""}, memories, {}, target);
    if (expected.startsWith(u'!')) {
        QVERIFY2(filled.error.startsWith(expected.mid(1)), qPrintable(filled.error));
        return;
    }
    QVERIFY2(filled.error.isEmpty(), qPrintable(filled.error));
    QStringList ambiguous;
    for (const qint16 index : filled.report.ambiguous)
        ambiguous << QString::number(index);
    QString got = filled.values.join(u'|')
                  + QStringLiteral(" %1 %2 %3 %4 /")
                        .arg(filled.report.filled)
                        .arg(filled.report.translated)
                        .arg(filled.report.noMatch)
                        .arg(filled.report.ambiguous.size())
                  + ambiguous.join(u',');
    if (filled.report.tooLong)
        got += QStringLiteral(" %1 too long").arg(filled.report.tooLong);
    QCOMPARE(got, expected);
}

void TestTmx::refused_data()
{
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<QString>("error"); // "LINE: how it begins"
    QTest::newRow("not well-formed") << QByteArray("<tmx>\n<header srclang=\"en\"/>\n<body><tu></body></tmx>")
                                     << "3: XML として読めません";
    QTest::newRow("not TMX") << QByteArray("<?xml version=\"1.0\"?>\n<xliff/>")
                             << "2: TMX の文書ではありません（最初の要素が <xliff>）";
    QTest::newRow("empty") << QByteArray() << "1: XML として読めません";
    QTest::newRow("no source language") << tmx(unit("a", "b"), R"(srclang="*all*")") << "2: header に原文の言語";
    QTest::newRow("an entity of a DTD elsewhere")
        << QByteArray("<!DOCTYPE tmx SYSTEM \"tmx14.dtd\">\n<tmx><header srclang=\"en\"/><body>\n"
                      "<tu><tuv xml:lang=\"en\"><seg>&ext;</seg></tuv></tu></body></tmx>")
        << "3: 宣言されていない実体 &ext;";
}

void TestTmx::refused()
{
    QFETCH(QByteArray, file);
    QFETCH(QString, error);
    const Filled filled = pretranslated({"a"}, {""}, {file});
    QVERIFY2(filled.error.startsWith(error), qPrintable(filled.error));
}

// A billion laughs: were the entities expanded, the reader would take
// gigabytes and minutes. The file is refused at its DOCTYPE.
void TestTmx::entitiesAreNeverExpanded()
{
    QByteArray file = "<?xml version=\"1.0\"?>\n<!DOCTYPE tmx [\n<!ENTITY l0 \"ha\">\n";
    for (int i = 1; i < 10; ++i)
        file += QStringLiteral("<!ENTITY l%1 \"&l%2;&l%2;&l%2;&l%2;&l%2;&l%2;&l%2;&l%2;&l%2;&l%2;\">\n")
                    .arg(i)
                    .arg(i - 1)
                    .toLatin1();
    file += "]>\n<tmx><header srclang=\"en\"/><body>" + unit("&l9;", "&l9;") + "</body></tmx>";
    QElapsedTimer timer;
    timer.start();
    const Filled filled = pretranslated({"a"}, {""}, {file});
    QVERIFY2(filled.error.startsWith(QStringLiteral("13: DOCTYPE で実体が宣言されています")), qPrintable(filled.error));
    QVERIFY(timer.elapsed() < 5000);

    // The same with parameter entities, used inside the DOCTYPE itself.
    file = "<!DOCTYPE tmx [\n<!ENTITY % l0 \"ha\">\n";
    for (int i = 1; i < 10; ++i)
        file += QStringLiteral("<!ENTITY % l%1 \"%l%2;%l%2;%l%2;%l%2;%l%2;%l%2;%l%2;%l%2;%l%2;%l%2;\">\n")
                    .arg(i)
                    .arg(i - 1)
                    .toLatin1();
    file += "%l9;\n]>\n<tmx><header srclang=\"en\"/><body/></tmx>";
    timer.restart();
    const Filled again = pretranslated({"a"}, {""}, {file});
    QVERIFY2(!again.error.isEmpty(), "a DOCTYPE of parameter entities is refused");
    QVERIFY(timer.elapsed() < 5000);
}

void TestTmx::languageCodes()
{
    for (const char *good : {"en", "ja", "pt-BR", "zh-Hant-TW", "es-419", "sl-rozaj-biske", "de-CH-1901",
                             "en-x-wendaro", "en-u-ca-gregory", "yue"})
        QVERIFY2(isLanguageCode(QString::fromLatin1(good)), good);
    for (const char *bad : {"", "e", "pt_BR", "english", "en-", "-en", "en--US", "ja JP", "en-US-x", "123"})
        QVERIFY2(!isLanguageCode(QString::fromLatin1(bad)), bad);
    QCOMPARE(gettextLanguage(u"pt-br"), QStringLiteral("pt_BR"));
    QCOMPARE(gettextLanguage(u"zh-hant-tw"), QStringLiteral("zh_Hant_TW"));
    QCOMPARE(conventionalLanguage(u"EN-latn-us-x-AB"), QStringLiteral("en-Latn-US-x-ab"));
    QCOMPARE(primaryLanguage(u"PT-BR"), QStringLiteral("pt"));
}

QTEST_GUILESS_MAIN(TestTmx)
#include "tst_tmx.moc"
