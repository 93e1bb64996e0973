// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/text/CodePage.h"
#include "core/text/CodePageTables.h"
#include "TestTables.h"

#include <QRandomGenerator>
#include <QScopeGuard>
#include <QTest>
#include <QtEndian>
#include <algorithm>

using namespace wendaro;

namespace {

QString standIns(QByteArrayView bytes)
{
    QString text;
    for (const char byte : bytes)
        text += QChar(CodePage::EscapeBase + static_cast<unsigned char>(byte));
    return text;
}

QByteArray allBytes()
{
    QByteArray bytes;
    for (int byte = 0; byte < 256; ++byte)
        bytes += char(byte);
    return bytes;
}

} // namespace

class TestCodePage : public QObject
{
    Q_OBJECT

private slots:
    void bytesSurvive_data();
    void bytesSurvive();
    void everyByteAndPairSurvives_data();
    void everyByteAndPairSurvives();
    void decodesInParts_data() { everyByteAndPairSurvives_data(); }
    void decodesInParts();
    void measuresAndWritesUtf16_data() { everyByteAndPairSurvives_data(); }
    void measuresAndWritesUtf16();
    void decode_data();
    void decode();
    void encode_data();
    void encode();
    void open_data();
    void open();
    void fromEnvironment();
    void builtInDefaultMatchesConverters();
};

void TestCodePage::bytesSurvive_data()
{
    QTest::addColumn<QByteArray>("codePage");
    QTest::addColumn<QByteArray>("bytes");

    for (const QByteArray &codePage : {QByteArray("windows-932"), QByteArray("windows-1252"), QByteArray("UTF-8")}) {
        const auto row = [&](const char *what, const QByteArray &bytes) {
            QTest::addRow("%s: %s", codePage.constData(), what) << codePage << bytes;
        };
        row("lead byte alone", "\x81");
        row("lead byte between letters", "a\x81z");
        row("lead byte at the end", "abc\x9f");
        row("lead byte before a line feed", "\xe0\nx");
        row("0x80", "\x80");
        row("0xA0", "\xa0");
        row("0xFD to 0xFF", "\xfd\xfe\xff");
        row("NUL", QByteArray(1, '\0'));
        row("controls 1A 1C 7F", "\x1a\x1c\x7f");
        row("all 256 in sequence", allBytes());
        row("all 256 backwards", [] {
            QByteArray bytes = allBytes();
            std::reverse(bytes.begin(), bytes.end());
            return bytes;
        }());
        row("non-canonical pair", "\x87\x90");
        row("Japanese", "\x93\xfa\x96\x7b\x8c\xea");
    }
}

void TestCodePage::bytesSurvive()
{
    QFETCH(QByteArray, codePage);
    QFETCH(QByteArray, bytes);
    const CodePage cp = testCodePage(codePage);

    QByteArray asText;
    QCOMPARE(cp.encode(cp.decode(bytes), asText), -1);
    QCOMPARE(asText, bytes);
}

void TestCodePage::everyByteAndPairSurvives_data()
{
    QTest::addColumn<QByteArray>("codePage");
    QTest::newRow("windows-932") << QByteArray("windows-932");
    QTest::newRow("windows-1252") << QByteArray("windows-1252");
    QTest::newRow("UTF-8") << QByteArray("UTF-8");
}

void TestCodePage::everyByteAndPairSurvives()
{
    QFETCH(QByteArray, codePage);
    const CodePage cp = testCodePage(codePage);

    for (int first = 0; first < 256; ++first) {
        for (int second = 0; second < 256; ++second) {
            const char pair[2] = {char(first), char(second)};
            QByteArray out;
            QCOMPARE(cp.encode(cp.decode(QByteArrayView(pair, 2)), out), -1);
            if (out != QByteArrayView(pair, 2))
                QFAIL(qPrintable(QStringLiteral("%1 %2 does not survive").arg(first, 2, 16).arg(second, 2, 16)));
        }
    }
}

// A large file is decoded in parts, each ending after a byte that ends
// characters: the parts must give what the whole gives.
void TestCodePage::decodesInParts()
{
    QFETCH(QByteArray, codePage);
    const CodePage cp = testCodePage(codePage);
    QByteArray bytes;
    cp.encode(QStringLiteral("日本語のテキスト ｱｲｳ é\n").repeated(8), bytes);
    QRandomGenerator random(7);
    for (int i = 0; i < 600; ++i)
        bytes += char(random.bounded(256));
    const QString whole = cp.decode(bytes);
    for (qsizetype k = 1; k < bytes.size(); ++k) {
        if (!cp.endsCharacters(bytes[k - 1]))
            continue;
        QString parts = cp.decode(bytes.first(k));
        cp.decodeAppending(bytes.sliced(k), parts);
        if (parts != whole)
            QFAIL(qPrintable(QStringLiteral("split after byte %1 changes the text").arg(k)));
    }
}

// Counting the code units and writing them as UTF-16 give what decoding
// gives: runs of lead bytes of every length, across blocks of 64 bytes,
// pairs that stand for nothing, the last byte a lead byte.
void TestCodePage::measuresAndWritesUtf16()
{
    QFETCH(QByteArray, codePage);
    const CodePage cp = testCodePage(codePage);
    QVERIFY(cp.marksFieldsInBytes());
    const char alphabet[] = "\x81\x82\x9f\xe0\xed\xfc\x40\x7e\x80\xa0\xa6\xfd\xe3\xc3\xf0"
                            "ab<\t";
    QRandomGenerator random(11);
    for (int round = 0; round < 3000; ++round) {
        QByteArray bytes;
        const qsizetype length = random.bounded(300);
        const bool leadHeavy = round % 2 == 0;
        for (qsizetype i = 0; i < length; ++i)
            bytes += alphabet[random.bounded(leadHeavy ? 6 : int(sizeof alphabet - 1))];
        const QString decoded = cp.decode(bytes);
        QCOMPARE(cp.decodedSize(bytes), decoded.size());
        // The room decodeUtf16 asks for, two bytes a byte; it ends where
        // the units end.
        QByteArray utf16(1 + 2 * bytes.size(), '\0');
        QCOMPARE(cp.decodeUtf16(bytes, utf16.data() + 1), utf16.constData() + 1 + 2 * decoded.size());
        for (qsizetype i = 0; i < decoded.size(); ++i)
            QCOMPARE(qFromLittleEndian<char16_t>(utf16.constData() + 1 + 2 * i), decoded[i].unicode());
    }
}

void TestCodePage::decode_data()
{
    QTest::addColumn<QByteArray>("codePage");
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("text");

    const QByteArray cp932 = "windows-932";
    QTest::newRow("932 ASCII, backslash and tilde") << cp932 << QByteArray("a\\~\t\r\n") << u"a\\~\t\r\n"_qs;
    QTest::newRow("932 hiragana") << cp932 << QByteArray("\x82\xa0") << u"\u3042"_qs;
    QTest::newRow("932 half-width katakana") << cp932 << QByteArray("\xb1\xdf") << u"\uff71\uff9f"_qs;
    QTest::newRow("932 NEC circled one") << cp932 << QByteArray("\x87\x40") << u"\u2460"_qs;
    QTest::newRow("932 canonical almost-equal") << cp932 << QByteArray("\x81\xe0") << u"\u2252"_qs;
    QTest::newRow("932 NEC duplicate of almost-equal") << cp932 << QByteArray("\x87\x90") << standIns("\x87\x90");
    QTest::newRow("932 user-defined area") << cp932 << QByteArray("\xf0\x40") << u"\ue000"_qs;
    QTest::newRow("932 lead byte before LF") << cp932 << QByteArray("\x81\n") << standIns("\x81") + u'\n';
    QTest::newRow("932 lead byte at the end") << cp932 << QByteArray("A\x81") << u'A' + standIns("\x81");
    QTest::newRow("932 lead byte before a non-trail") << cp932 << QByteArray("\x81\x7f") << standIns("\x81") + u'\x7f';
    QTest::newRow("932 unassigned pair") << cp932 << QByteArray("\x85\x40") << standIns("\x85") + u'@';
    QTest::newRow("932 pair without a character") << cp932 << QByteArray("\x81\xad") << standIns("\x81\xad");
    QTest::newRow("932 undefined single bytes") << cp932 << QByteArray("\x80\xa0\xfd") << standIns("\x80\xa0\xfd");
    QTest::newRow("932 controls as Windows reads them") << cp932 << QByteArray("\x1a\x1c\x7f") << u"\x1a\x1c\x7f"_qs;

    const QByteArray cp1252 = "windows-1252";
    QTest::newRow("1252 euro") << cp1252 << QByteArray("\x80") << u"\u20ac"_qs;
    QTest::newRow("1252 e acute") << cp1252 << QByteArray("caf\xe9") << u"caf\u00e9"_qs;
    QTest::newRow("1252 no pairs") << cp1252 << QByteArray("\x81\x40") << u"\u0081@"_qs;

    const QByteArray utf8 = "UTF-8";
    QTest::newRow("UTF-8 two and three bytes") << utf8 << QByteArray("\xc3\xa9\xe6\x97\xa5") << u"\u00e9\u65e5"_qs;
    QTest::newRow("UTF-8 beyond 16 bits") << utf8 << QByteArray("\xf0\x9f\x98\x80") << u"\U0001F600"_qs;
    QTest::newRow("UTF-8 BOM is a character") << utf8 << QByteArray("\xef\xbb\xbf") << u"\ufeff"_qs;
    QTest::newRow("UTF-8 invalid bytes") << utf8 << QByteArray("\xff\x80\xf5") << standIns("\xff\x80\xf5");
    QTest::newRow("UTF-8 overlong") << utf8 << QByteArray("\xc0\xaf\xe0\x80\xaf") << standIns("\xc0\xaf\xe0\x80\xaf");
    QTest::newRow("UTF-8 surrogate") << utf8 << QByteArray("\xed\xa0\x80") << standIns("\xed\xa0\x80");
    QTest::newRow("UTF-8 beyond U+10FFFF") << utf8 << QByteArray("\xf4\x90\x80\x80") << standIns("\xf4\x90\x80\x80");
    QTest::newRow("UTF-8 truncated") << utf8
                                     << QByteArray("\xe6\x97"
                                                   "A\xf0\x9f")
                                     << standIns("\xe6\x97") + u'A' + standIns("\xf0\x9f");
    QTest::newRow("UTF-8 stand-in range") << utf8 << QByteArray("\xef\x9c\x80\xef\x9f\xbf\xef\xa0\x80")
                                          << standIns("\xef\x9c\x80\xef\x9f\xbf") + u'\uf800';
}

void TestCodePage::decode()
{
    QFETCH(QByteArray, codePage);
    QFETCH(QByteArray, bytes);
    QFETCH(QString, text);
    QCOMPARE(testCodePage(codePage).decode(bytes), text);
}

void TestCodePage::encode_data()
{
    QTest::addColumn<QByteArray>("codePage");
    QTest::addColumn<QString>("text");
    QTest::addColumn<qsizetype>("failsAt");
    QTest::addColumn<QByteArray>("bytes"); // what is written before the failure

    const QByteArray cp932 = "windows-932";
    QTest::newRow("932 Japanese") << cp932 << u"日本語、ｶﾀｶﾅ①"_qs << qsizetype(-1)
                                  << QByteArray("\x93\xfa\x96\x7b\x8c\xea\x81\x41\xb6\xc0\xb6\xc5\x87\x40");
    QTest::newRow("932 canonical bytes") << cp932 << u"\u2252"_qs << qsizetype(-1) << QByteArray("\x81\xe0");
    QTest::newRow("932 stand-ins") << cp932 << standIns("\x80\xa0\x81") << qsizetype(-1) << QByteArray("\x80\xa0\x81");
    QTest::newRow("932 e acute") << cp932 << u"caf\u00e9!"_qs << qsizetype(3) << QByteArray("caf");
    QTest::newRow("932 surrogate pair") << cp932 << u"a\U0001F600"_qs << qsizetype(1) << QByteArray("a");
    QTest::newRow("932 lone surrogate") << cp932 << QString(QChar(0xDC00)) << qsizetype(0) << QByteArray();
    QTest::newRow("932 Hangul") << cp932 << u"\u3042\uac00"_qs << qsizetype(1) << QByteArray("\x82\xa0");

    const QByteArray cp1252 = "windows-1252";
    QTest::newRow("1252 e acute") << cp1252 << u"caf\u00e9"_qs << qsizetype(-1) << QByteArray("caf\xe9");
    QTest::newRow("1252 hiragana") << cp1252 << u"ab\u3042"_qs << qsizetype(2) << QByteArray("ab");

    // A stand-in is written only where its byte reads back as that stand-in.
    const auto refused = [](const char *name, const QByteArray &codePage, const QString &text, qsizetype at) {
        QByteArray before;
        testCodePage(codePage).encode(QStringView(text).first(at), before);
        QTest::newRow(name) << codePage << text << at << before;
    };
    refused("932 stand-in of TAB", cp932, u"a"_qs + standIns("\t"), 1);
    refused("932 stand-in of CR", cp932, standIns("\r"), 0);
    refused("932 stand-in of LF", cp932, u"ab"_qs + standIns("\n") + u"c"_qs, 2);
    refused("932 stand-in of A", cp932, u"x"_qs + standIns("A"), 1);
    refused("932 lead stand-in before a trail character", cp932, u"x"_qs + standIns("\x81") + u"@"_qs, 1);
    refused("932 lead stand-in before a katakana trail", cp932, standIns("\x81") + u"\uff6d"_qs, 0);
    refused("932 stand-ins of a character", cp932, u"\u3042"_qs + standIns("\x82\xa0"), 1);
    refused("932 after an unwritable one", cp932, standIns("\x81") + u"@\u00e9"_qs, 0);
    QTest::newRow("932 stand-ins of a pair without character")
        << cp932 << standIns("\x81\xad") << qsizetype(-1) << QByteArray("\x81\xad");
    QTest::newRow("932 lead stand-in before a non-trail")
        << cp932 << standIns("\x81") + u"\x7f"_qs << qsizetype(-1) << QByteArray("\x81\x7f");
    refused("1252 stand-in of a character", cp1252, standIns("\xe9"), 0);

    const QByteArray utf8 = "UTF-8";
    QTest::newRow("UTF-8 characters") << utf8 << u"a\u00e9\u65e5\U0001F600\ufeff"_qs << qsizetype(-1)
                                      << QByteArray("a\xc3\xa9\xe6\x97\xa5\xf0\x9f\x98\x80\xef\xbb\xbf");
    QTest::newRow("UTF-8 stand-ins of invalid bytes")
        << utf8 << standIns("\xe6\x97") + u"A"_qs + standIns("\xff\xc0\xaf\xef\x9c\x80") << qsizetype(-1)
        << QByteArray("\xe6\x97"
                      "A\xff\xc0\xaf\xef\x9c\x80");
    refused("UTF-8 stand-ins of a character", utf8, u"ab"_qs + standIns("\xe6\x97\xa5"), 2);
    refused("UTF-8 stand-in of TAB", utf8, standIns("\t"), 0);
    refused("UTF-8 lone high surrogate", utf8, u"a"_qs + QChar(0xD83D) + u"b"_qs, 1);
    refused("UTF-8 lone low surrogate", utf8, u"a"_qs + QChar(0xDE00), 1);
    refused("UTF-8 high surrogate at the end", utf8, u"\u65e5"_qs + QChar(0xD83D), 1);
}

void TestCodePage::encode()
{
    QFETCH(QByteArray, codePage);
    QFETCH(QString, text);
    QFETCH(qsizetype, failsAt);
    QFETCH(QByteArray, bytes);
    const CodePage cp = testCodePage(codePage);

    QByteArray out("kept");
    QCOMPARE(cp.encode(text, out), failsAt);
    QCOMPARE(out, "kept" + bytes);
    if (failsAt == -1)
        QCOMPARE(cp.decode(bytes), text);

    // The quick way takes only what encode() writes without a second look:
    // every character its own bytes, no stand-in, not UTF-8.
    const bool standIn = std::any_of(text.cbegin(), text.cend(), [](QChar c) {
        return c.unicode() >= CodePage::EscapeBase && c.unicode() <= CodePage::EscapeBase + 0xFF;
    });
    QByteArray plain("kept");
    const bool plainly = cp.encodePlainly(text, plain);
    QCOMPARE(plainly, failsAt == -1 && !standIn && codePage != "UTF-8");
    if (plainly)
        QCOMPARE(plain, out);
    // CR LF written as another text is that text's bytes.
    QByteArray withBreak;
    if (cp.encodePlainly(text + u"\r\n\r"_qs + text, withBreak, u"<br>")) {
        QByteArray expected;
        QCOMPARE(cp.encode(text + u"<br>\r"_qs + text, expected), qsizetype(-1));
        QCOMPARE(withBreak, expected);
    }
}

void TestCodePage::open_data()
{
    QTest::addColumn<QByteArray>("name");
    QTest::addColumn<QString>("error"); // empty: opens

    QTest::newRow("windows-932") << QByteArray("windows-932") << QString();
    QTest::newRow("windows-1252") << QByteArray("windows-1252") << QString();
    QTest::newRow("windows-936") << QByteArray("windows-936") << QString();
    for (const char *utf8 : {"UTF-8", "utf-8", "utf8"})
        QTest::newRow(utf8) << QByteArray(utf8) << QString();
    for (const char *longer : {"GB18030", "EUC-JP"}) {
        QTest::newRow(longer) << QByteArray(longer)
                              << u"コードページ「%1」には 3 バイト以上の文字"_qs.arg(QLatin1String(longer));
    }
    QTest::newRow("unknown") << QByteArray("no-such-codepage")
                             << u"コードページ「no-such-codepage」はこのシステムの変換器にありません。"_qs;
    QTest::newRow("empty") << QByteArray() << u"コードページ「」はこのシステムの変換器にありません。"_qs;
    QTest::newRow("UTF-16") << QByteArray("UTF-16LE")
                            << u"コードページ「UTF-16LE」は ASCII を基にしたコードページではありません。"_qs;
    QTest::newRow("EBCDIC") << QByteArray("IBM037")
                            << u"コードページ「IBM037」は ASCII を基にしたコードページではありません。"_qs;
}

void TestCodePage::open()
{
    QFETCH(QByteArray, name);
    QFETCH(QString, error);
    QString actualError;
    const std::optional<CodePage> codePage = CodePage::open(name, &actualError);
    QCOMPARE(codePage.has_value(), error.isEmpty());
    QVERIFY2(actualError.startsWith(error), qPrintable(actualError));
    if (codePage)
        QCOMPARE(codePage->name(), QString::fromLatin1(name));
}

void TestCodePage::fromEnvironment()
{
    const QByteArray saved = qgetenv(CodePage::EnvironmentVariable);
    const auto restore = qScopeGuard([&] { qputenv(CodePage::EnvironmentVariable, saved); });
    QString error;

    qunsetenv(CodePage::EnvironmentVariable);
    QCOMPARE(CodePage::fromEnvironment(&error)->name(), QStringLiteral("windows-932"));

    qputenv(CodePage::EnvironmentVariable, "windows-1252");
    QCOMPARE(CodePage::fromEnvironment(&error)->name(), QStringLiteral("windows-1252"));

    qputenv(CodePage::EnvironmentVariable, "cp-nonsense");
    QVERIFY(!CodePage::fromEnvironment(&error));
    QCOMPARE(error, u"環境変数 WENDARO_CODEPAGE: コードページ「cp-nonsense」はこのシステムの変換器にありません。"_qs);
}

void TestCodePage::builtInDefaultMatchesConverters()
{
    // The build wrote the default code page's tables from the converters; a
    // stale or mis-written copy would read and write that code page
    // differently from the same code page opened under another spelling.
    const BuiltInCodePage *const builtIn = builtInDefaultCodePage();
    if (!builtIn)
        QSKIP("the build had no converter for the default code page");
    QCOMPARE(QByteArray(builtIn->name), QByteArray(CodePage::DefaultName));
    QString error;
    const std::shared_ptr<const CodePageTables> built = tablesFromConverters(builtIn->name, &error);
    QVERIFY2(built, qPrintable(error));
    const auto values = [](const auto *begin, qsizetype count) { return QList<quint32>(begin, begin + count); };
    QCOMPARE(values(builtIn->single, 256), values(built->single.data(), 256));
    QCOMPARE(values(builtIn->pairRow, 256), values(built->pairRow.data(), 256));
    QCOMPARE(values(builtIn->pairs, builtIn->pairsSize), values(built->pairs, built->pairsSize));
    QCOMPARE(values(builtIn->bytesOf, 0x10000), values(built->bytesOf, 0x10000));
}

QTEST_GUILESS_MAIN(TestCodePage)
#include "tst_codepage.moc"
