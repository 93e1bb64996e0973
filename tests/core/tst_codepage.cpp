#include "CodePage.h"

#include <QScopeGuard>
#include <QTest>
#include <algorithm>

using namespace wendaro;

namespace {

CodePage openCodePage(const QByteArray &name)
{
    QString error;
    std::optional<CodePage> codePage = CodePage::open(name, &error);
    if (!codePage)
        qFatal("cannot open %s: %s", name.constData(), qPrintable(error));
    return *codePage;
}

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
    void decode_data();
    void decode();
    void encode_data();
    void encode();
    void singleByteView();
    void open_data();
    void open();
    void fromEnvironment();
};

void TestCodePage::bytesSurvive_data()
{
    QTest::addColumn<QByteArray>("codePage");
    QTest::addColumn<QByteArray>("bytes");

    for (const QByteArray &codePage : {QByteArray("windows-932"), QByteArray("windows-1252")}) {
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
    const CodePage cp = openCodePage(codePage);

    QByteArray bytewise;
    QCOMPARE(cp.encode(cp.decodeBytewise(bytes), bytewise), -1);
    QCOMPARE(bytewise, bytes);

    QByteArray asText;
    QCOMPARE(cp.encode(cp.decode(bytes), asText), -1);
    QCOMPARE(asText, bytes);
}

void TestCodePage::everyByteAndPairSurvives_data()
{
    QTest::addColumn<QByteArray>("codePage");
    QTest::newRow("windows-932") << QByteArray("windows-932");
    QTest::newRow("windows-1252") << QByteArray("windows-1252");
}

void TestCodePage::everyByteAndPairSurvives()
{
    QFETCH(QByteArray, codePage);
    const CodePage cp = openCodePage(codePage);

    for (int first = 0; first < 256; ++first) {
        const auto byte = static_cast<unsigned char>(first);
        QCOMPARE(cp.byteForChar(cp.charForByte(byte)), std::optional<unsigned char>(byte));
        for (int second = 0; second < 256; ++second) {
            const char pair[2] = {char(first), char(second)};
            QByteArray out;
            QCOMPARE(cp.encode(cp.decode(QByteArrayView(pair, 2)), out), -1);
            if (out != QByteArrayView(pair, 2))
                QFAIL(qPrintable(QStringLiteral("%1 %2 does not survive").arg(first, 2, 16).arg(second, 2, 16)));
        }
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
}

void TestCodePage::decode()
{
    QFETCH(QByteArray, codePage);
    QFETCH(QByteArray, bytes);
    QFETCH(QString, text);
    QCOMPARE(openCodePage(codePage).decode(bytes), text);
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
}

void TestCodePage::encode()
{
    QFETCH(QByteArray, codePage);
    QFETCH(QString, text);
    QFETCH(qsizetype, failsAt);
    QFETCH(QByteArray, bytes);
    const CodePage cp = openCodePage(codePage);

    QByteArray out("kept");
    QCOMPARE(cp.encode(text, out), failsAt);
    QCOMPARE(out, "kept" + bytes);
    if (failsAt == -1)
        QCOMPARE(cp.decode(bytes), text);
}

void TestCodePage::singleByteView()
{
    const CodePage cp = openCodePage("windows-932");
    QCOMPARE(cp.charForByte(0x41), QLatin1Char('A'));
    QCOMPARE(cp.charForByte(0xb1), QChar(0xff71));
    QCOMPARE(cp.charForByte(0x82), QChar(CodePage::EscapeBase + 0x82));
    // A name is read byte by byte: a two-byte character is two stand-ins.
    QCOMPARE(cp.decodeBytewise("\x82\xa0"), standIns("\x82\xa0"));
    QCOMPARE(cp.byteForChar(QChar(0xff71)), std::optional<unsigned char>(0xb1));
    QCOMPARE(cp.byteForChar(QChar(0x3042)), std::nullopt);
    QCOMPARE(cp.byteForChar(QChar(0x00e9)), std::nullopt);
}

void TestCodePage::open_data()
{
    QTest::addColumn<QByteArray>("name");
    QTest::addColumn<QString>("error"); // empty: opens

    QTest::newRow("windows-932") << QByteArray("windows-932") << QString();
    QTest::newRow("windows-1252") << QByteArray("windows-1252") << QString();
    QTest::newRow("windows-936") << QByteArray("windows-936") << QString();
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
    QCOMPARE(actualError, error);
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

QTEST_GUILESS_MAIN(TestCodePage)
#include "tst_codepage.moc"
