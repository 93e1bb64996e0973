// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/model/RowMatcher.h"

#include <QTest>

using namespace wendaro;

Q_DECLARE_METATYPE(wendaro::FindColumns)

class RowMatcherTest : public QObject
{
    Q_OBJECT
private slots:
    void matches_data();
    void matches();
    void invalidPatternSaysWhere();
};

namespace {

// The UTF-16LE bytes of a value as a binary file holds it, CR LF for a break.
QByteArray fileUnits(const QString &value)
{
    QByteArray bytes(reinterpret_cast<const char *>(value.utf16()), value.size() * 2);
    return bytes;
}

} // namespace

void RowMatcherTest::matches_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("caseSensitive");
    QTest::addColumn<bool>("regex");
    QTest::addColumn<FindColumns>("columns");
    QTest::addColumn<bool>("valueInFile"); // value read from a file's code units, breaks as CR LF
    QTest::addColumn<bool>("expected");
    const auto all = FindColumns::All;
    // The row: index text "   42", name "OpenFile", value "Ｆｉｌｅ 開く" CR LF "(&O) 12".
    QTest::newRow("name, case folded") << "openfile" << false << false << all << false << true;
    QTest::newRow("name, case kept") << "openfile" << true << false << all << false << false;
    QTest::newRow("index without padding") << "42" << false << false << FindColumns::Index << false << true;
    QTest::newRow("padding is not shown text") << "  42" << false << false << all << false << false;
    QTest::newRow("full-width value, half-width text") << "file" << false << false << all << false << true;
    QTest::newRow("full-width text finds half-width") << "ＯＰＥＮ" << false << false << all << false << true;
    QTest::newRow("full-width digits") << "１２" << false << false << FindColumns::Value << false << true;
    QTest::newRow("full-width, case kept") << "FILE" << true << false << all << false << false;
    QTest::newRow("line break as <br>") << "開く<br>(" << false << false << all << false << true;
    QTest::newRow("<br> in a value still in its file") << "開く<br>(" << false << false << all << true << true;
    QTest::newRow("text in a value still in its file") << "(&o) 1" << false << false << all << true << true;
    QTest::newRow("no match across a break in its file") << "く(" << false << false << all << true << false;
    QTest::newRow("no match across columns") << "42OpenFile" << false << false << all << false << false;
    QTest::newRow("only the chosen column") << "open" << false << false << FindColumns::Value << false << false;
    QTest::newRow("regex, case folded") << "^open.*E$" << false << true << FindColumns::Name << false << true;
    QTest::newRow("regex, case kept") << "^open" << true << true << all << false << false;
    QTest::newRow("regex sees <br>") << "く<br>\\(&O\\)" << false << true << all << true << true;
    QTest::newRow("regex on full-width value") << "^file" << false << true << FindColumns::Value << false << true;
    QTest::newRow("full-width paren in a regex is a literal") << "（&ｏ）" << false << true << all << false << true;
    QTest::newRow("regex anchors per column") << "^42$" << false << true << all << false << true;
}

void RowMatcherTest::matches()
{
    QFETCH(QString, text);
    QFETCH(bool, caseSensitive);
    QFETCH(bool, regex);
    QFETCH(FindColumns, columns);
    QFETCH(bool, valueInFile);
    QFETCH(bool, expected);
    const QString listValue = QStringLiteral("Ｆｉｌｅ 開く<br>(&O) 12");
    const auto file = std::make_shared<const ValueSource>(
        ValueSource{fileUnits(QStringLiteral("Ｆｉｌｅ 開く\r\n(&O) 12")), std::nullopt});
    Entry row{QStringLiteral("   42"), QStringLiteral("OpenFile"), listValue, std::nullopt};
    if (valueInFile) {
        row.value = ValueText::inFile(file, file->bytes.constData(), file->bytes.size() / 2);
        QVERIFY(row.value == listValue);
    }
    QString error;
    const std::optional<RowMatcher> matcher = RowMatcher::create({text, caseSensitive, regex, columns}, &error);
    QVERIFY2(matcher, qPrintable(error));
    QCOMPARE(matcher->matches(row), expected);
}

void RowMatcherTest::invalidPatternSaysWhere()
{
    QString error;
    QVERIFY(!RowMatcher::create({QStringLiteral("ab(c"), false, true, FindColumns::All}, &error));
    QVERIFY2(error.startsWith(QStringLiteral("正規表現の誤り（5 文字目）: ")), qPrintable(error));
    error.clear();
    QVERIFY(!RowMatcher::create({QString(), false, false, FindColumns::All}, &error));
    QVERIFY(error.isEmpty());
}

QTEST_GUILESS_MAIN(RowMatcherTest)
#include "tst_rowmatcher.moc"
