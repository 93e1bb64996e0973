// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/text/Number.h"

#include <QTest>

using namespace wendaro;

Q_DECLARE_METATYPE(Int16Conversion::Status)

class TestNumber : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void conversion_data();
    void conversion();
    void indexDigits_data();
    void indexDigits();
};

void TestNumber::conversion_data()
{
    using S = Int16Conversion::Status;
    QTest::addColumn<QString>("text");
    QTest::addColumn<S>("status");
    QTest::addColumn<int>("value");

    QTest::newRow("empty") << QString() << S::NotNumeric << 0;
    QTest::newRow("blanks only") << QStringLiteral("   ") << S::NotNumeric << 0;
    QTest::newRow("letters") << QStringLiteral("abc") << S::NotNumeric << 0;
    QTest::newRow("sign alone") << QStringLiteral("-") << S::NotNumeric << 0;
    QTest::newRow("dot alone") << QStringLiteral(".") << S::NotNumeric << 0;
    QTest::newRow("trailing letter") << QStringLiteral("12a") << S::NotNumeric << 0;
    QTest::newRow("inner blank") << QStringLiteral("1 2") << S::NotNumeric << 0;
    QTest::newRow("exponent without digits") << QStringLiteral("1e") << S::NotNumeric << 0;
    QTest::newRow("hexadecimal") << QStringLiteral("0x10") << S::NotNumeric << 0;
    QTest::newRow("infinity word") << QStringLiteral("inf") << S::NotNumeric << 0;
    QTest::newRow("nan word") << QStringLiteral("nan") << S::NotNumeric << 0;
    QTest::newRow("TAB before") << QStringLiteral("\t7") << S::NotNumeric << 0;
    QTest::newRow("TAB after") << QStringLiteral("8\t") << S::NotNumeric << 0;

    QTest::newRow("zero") << QStringLiteral("0") << S::Ok << 0;
    QTest::newRow("padded") << QStringLiteral("   12") << S::Ok << 12;
    QTest::newRow("blanks both sides") << QStringLiteral(" 7 ") << S::Ok << 7;
    QTest::newRow("leading zeros") << QStringLiteral("007") << S::Ok << 7;
    QTest::newRow("plus sign") << QStringLiteral("+5") << S::Ok << 5;
    QTest::newRow("negative") << QStringLiteral("-5") << S::Ok << -5;
    QTest::newRow("exponent") << QStringLiteral("1e3") << S::Ok << 1000;
    QTest::newRow("fraction without integer part") << QStringLiteral(".5") << S::Ok << 0;
    QTest::newRow("fraction without digits after the dot") << QStringLiteral("5.") << S::Ok << 5;
    QTest::newRow("1.5 to even 2") << QStringLiteral("1.5") << S::Ok << 2;
    QTest::newRow("2.5 to even 2") << QStringLiteral("2.5") << S::Ok << 2;
    QTest::newRow("3.5 to even 4") << QStringLiteral("3.5") << S::Ok << 4;
    QTest::newRow("-0.5 to 0") << QStringLiteral("-0.5") << S::Ok << 0;
    QTest::newRow("-0.6 to -1") << QStringLiteral("-0.6") << S::Ok << -1;
    QTest::newRow("-2.5 to even -2") << QStringLiteral("-2.5") << S::Ok << -2;
    QTest::newRow("2.51 up") << QStringLiteral("2.51") << S::Ok << 3;
    // The nearest double of these is a half; their digits are not.
    QTest::newRow("just above 2.5") << QStringLiteral("2.50000000000000000001") << S::Ok << 3;
    QTest::newRow("just below 3.5") << QStringLiteral("3.49999999999999999999") << S::Ok << 3;
    QTest::newRow("just beyond -2.5") << QStringLiteral("-2.50000000000000000001") << S::Ok << -3;
    QTest::newRow("just above 2.5, exponent") << QStringLiteral("250000000000000000001e-20") << S::Ok << 3;
    QTest::newRow("3.5 with zeros, to even") << QStringLiteral("3.50000000000000000000") << S::Ok << 4;
    QTest::newRow("25e-1 to even") << QStringLiteral("25e-1") << S::Ok << 2;

    QTest::newRow("largest") << QStringLiteral("32767") << S::Ok << 32767;
    QTest::newRow("smallest") << QStringLiteral("-32768") << S::Ok << -32768;
    QTest::newRow("32767.4 rounds inside") << QStringLiteral("32767.4") << S::Ok << 32767;
    QTest::newRow("32767.5 rounds out") << QStringLiteral("32767.5") << S::Overflow << 0;
    QTest::newRow("-32768.5 to even stays inside") << QStringLiteral("-32768.5") << S::Ok << -32768;
    QTest::newRow("32768") << QStringLiteral("32768") << S::Overflow << 0;
    QTest::newRow("-32769") << QStringLiteral("-32769") << S::Overflow << 0;
    QTest::newRow("-0") << QStringLiteral("-0") << S::Ok << 0;
    QTest::newRow("sign then blank") << QStringLiteral("- 5") << S::NotNumeric << 0;
    QTest::newRow("two signs") << QStringLiteral("+-5") << S::NotNumeric << 0;
    QTest::newRow("many leading zeros") << "-" + QString(30, u'0') + "32768" << S::Ok << -32768;
    QTest::newRow("digits beyond any integer") << QString(30, u'9') << S::Overflow << 0;
    QTest::newRow("40000") << QStringLiteral("40000") << S::Overflow << 0;
    QTest::newRow("too large for a double") << QStringLiteral("1e999") << S::Overflow << 0;
    QTest::newRow("too small for a double") << QStringLiteral("-1e999") << S::Overflow << 0;
    QTest::newRow("too close to zero for a double") << QStringLiteral("1e-400") << S::Ok << 0;
    QTest::newRow("negative, too close to zero") << QStringLiteral(" -1e-400 ") << S::Ok << 0;
    QTest::newRow("400 zeros after the dot") << "0." + QString(400, u'0') + u'1' << S::Ok << 0;
    QTest::newRow("huge exponent towards zero") << QStringLiteral("5e-99999999999999999999") << S::Ok << 0;
    QTest::newRow("many digits, tiny exponent") << "1" + QString(400, u'0') + "e-800" << S::Ok << 0;
    QTest::newRow("tiny digits, huge exponent") << "0." + QString(400, u'0') + "1e999" << S::Overflow << 0;
}

void TestNumber::conversion()
{
    QFETCH(QString, text);
    QFETCH(Int16Conversion::Status, status);
    QFETCH(int, value);

    const Int16Conversion result = toInt16(text);
    QCOMPARE(result.status, status);
    QCOMPARE(int(result.value), value);
    QCOMPARE(isNumeric(text), status != Int16Conversion::Status::NotNumeric);
}

void TestNumber::indexDigits_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("ok");
    QTest::addColumn<int>("value");
    QTest::newRow("zero") << QStringLiteral("0") << true << 0;
    QTest::newRow("largest") << QStringLiteral("32767") << true << 32767;
    QTest::newRow("smallest") << QStringLiteral("-32768") << true << -32768;
    QTest::newRow("minus zero") << QStringLiteral("-0") << true << 0;
    QTest::newRow("six digits") << QStringLiteral("-032768") << true << -32768;
    QTest::newRow("seven digits") << QStringLiteral("0000001") << false << 0;
    QTest::newRow("32768") << QStringLiteral("32768") << false << 0;
    QTest::newRow("-32769") << QStringLiteral("-32769") << false << 0;
    QTest::newRow("empty") << QString() << false << 0;
    QTest::newRow("minus alone") << QStringLiteral("-") << false << 0;
    QTest::newRow("plus sign") << QStringLiteral("+1") << false << 0;
    QTest::newRow("space") << QStringLiteral(" 1") << false << 0;
    QTest::newRow("exponent") << QStringLiteral("1e3") << false << 0;
    QTest::newRow("fraction") << QStringLiteral("1.0") << false << 0;
}

void TestNumber::indexDigits()
{
    QFETCH(QString, text);
    QFETCH(bool, ok);
    QFETCH(int, value);

    const std::optional<qint16> index = parseIndexDigits(text);
    QCOMPARE(index.has_value(), ok);
    QCOMPARE(int(index.value_or(0)), value);
}

QTEST_GUILESS_MAIN(TestNumber)
#include "tst_number.moc"
