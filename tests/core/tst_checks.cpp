// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/text/CodePage.h"
#include "TestTables.h"
#include "core/model/EntryList.h"
#include "core/model/IndexText.h"
#include "core/model/TextFields.h"
#include "core/checks/RowPlaces.h"
#include "core/checks/TableProblems.h"
#include "core/checks/TranslationChecks.h"
#include "core/checks/TranslationStates.h"
#include "core/formats/FormatRegistry.h"
#include "core/formats/RowPlacesInFile.h"
#include "core/model/Table.h"

#include <QTest>

using namespace wendaro;

namespace {

// "index|name|value" rows; "*N" alone stands for N rows of indexes 1..N.
void fill(EntryList &rows, const QStringList &described)
{
    if (described.size() == 1 && described[0].startsWith(u'*')) {
        for (int i = 1; i <= described[0].mid(1).toInt(); ++i)
            rows.append(indexText(qint16(i)));
        return;
    }
    for (const QString &row : described) {
        const QStringList parts = row.split(u'|');
        const qsizetype p = rows.append(indexTextFromTyped(parts[0]));
        rows.setName(p, parts[1]);
        rows.setValue(p, parts[2]);
    }
}

const char *kindName(Problem::Kind kind)
{
    switch (kind) {
    case Problem::Kind::Stf: return "stf";
    case Problem::Kind::Text: return "text";
    case Problem::Kind::StfAndText: return "stf+text";
    default: return "other";
    }
}

// An STF image of rows (index, value), names empty.
QByteArray stfImage(const QList<QPair<qint16, QString>> &rows)
{
    const auto pair = [](quint16 v) { return QByteArray(1, char(v & 0xFF)) + char(v >> 8); };
    const auto field = [&](quint16 v) { return pair(v) + QByteArray(2, 0); };
    QByteArray image = QByteArray::fromHex("cdab000001") + field(quint16(rows.size() + 1))
                       + field(quint16(rows.size()));
    for (const auto &[index, value] : rows) {
        image += field(quint16(index)) + QByteArray::fromHex("ffffffff") + field(quint16(value.size()));
        for (const QChar c : value)
            image += pair(c.unicode());
    }
    return image;
}

} // namespace

class TestChecks : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void tableProblems_data();
    void tableProblems();
    void valuesInFileReportedAlike_data();
    void valuesInFileReportedAlike();
    void rowPlaces_data();
    void rowPlaces();
    void compareTranslation_data();
    void compareTranslation();
    void findingCodes_data();
    void findingCodes();
    void skippedAndMaxLength();
    void missingAndExtraIndexes();
    void inconsistentTranslations();
    void translationStates_data();
    void translationStates();
};

void TestChecks::tableProblems_data()
{
    QTest::addColumn<QStringList>("rows"); // row i stands at place 10 * i
    QTest::addColumn<QString>("memo");
    QTest::addColumn<QStringList>("expected"); // "PLACE KIND part of the message"

    QTest::newRow("clean") << QStringList{"1|a|x", "2|b|y<br>z"} << "" << QStringList{};
    QTest::newRow("one index on three rows, one finding")
        << QStringList{"7|a|x", "8|b|y", "7|c|z", "7|d|w"} << ""
        << QStringList{"10 stf インデックス 7 の項目が 3 個あります（10 行目、30 行目、40 行目）"};
    QTest::newRow("name outside the code page")
        << QStringList{"1|aé|x"} << "" << QStringList{"10 stf+text 名前の 2 文字目 U+00E9"};
    QTest::newRow("every unrepresentable character counted")
        << QStringList{QStringLiteral("1|a|\U0001F600b\U0001F600é")} << ""
        << QStringList{"10 text 値の 1 文字目 U+1F600 は、コードページ windows-932 で表せません。"
                       "1 番目の項目（インデックス 1）の値にはほかにも 2 か所あります。"};
    QTest::newRow("TAB and LFs in a value")
        << QStringList{"1|a|b", "2|c|x\ty\nz\n"} << ""
        << QStringList{"20 text 値の 2 文字目に TAB があります。テキスト形式では行や項目の区切りになるため、"
                       "保存できません。2 番目の項目（インデックス 2）の値にはほかにも 2 か所あります。"};
    QTest::newRow("value too long once its line breaks are CR LF")
        << QStringList{"1|a|" + QStringLiteral("<br>").repeated(16384)} << ""
        << QStringList{"10 stf 改行を CR LF にして 32768 文字"};
    QTest::newRow("not a number") << QStringList{"x|a|b"} << "" << QStringList{"10 stf+text 「x」は数値ではありません"};
    QTest::newRow("memo with a line break")
        << QStringList{"1|a|b"} << "a\nb" << QStringList{"-1 text メモの 2 文字目に LF"};
    QTest::newRow("too many entries") << QStringList{"*32767"} << "" << QStringList{"-1 stf 項目が 32767 件あります"};
    QTest::newRow("problems of several rows, in row order")
        << QStringList{"1|a\tb|x", "2|b|\U0001F600", "1|c|y"} << ""
        << QStringList{"10 stf 10 行目、30 行目", "10 text 名前の 2 文字目に TAB", "20 text U+1F600"};
}

void TestChecks::tableProblems()
{
    QFETCH(QStringList, rows);
    QFETCH(QString, memo);
    QFETCH(QStringList, expected);
    EntryList list;
    fill(list, rows);
    std::vector<qint64> places;
    for (qsizetype i = 1; i <= list.count(); ++i)
        places.push_back(10 * i);
    const QList<Problem> problems = wendaro::tableProblems(list, TextFields{QString(), memo}, testCodePage(), places,
                                                           PlaceKind::Line);
    QStringList found;
    for (const Problem &p : problems)
        found << QStringLiteral("%1 %2 %3").arg(p.place).arg(QLatin1String(kindName(p.kind)), p.message);
    QCOMPARE(found.size(), expected.size());
    for (qsizetype i = 0; i < found.size(); ++i) {
        const QString head = expected[i].section(u' ', 0, 1) + u' ';
        QVERIFY2(found[i].startsWith(head) && found[i].contains(expected[i].section(u' ', 2)), qPrintable(found[i]));
    }
}

void TestChecks::valuesInFileReportedAlike_data()
{
    QTest::addColumn<QString>("fileValue");
    QTest::newRow("line breaks only") << QStringLiteral("a\r\nb\r\n");
    QTest::newRow("lone CR") << QStringLiteral("a\r\nx\ry");
    QTest::newRow("CR at the end") << QStringLiteral("x\r");
    QTest::newRow("TAB") << QStringLiteral("a\tb\r\n");
    QTest::newRow("outside the code page") << QStringLiteral("\r\n\U0001F600é");
    // Long values are looked at in chunks of units with their neighbours.
    const QString run = QStringLiteral("abc\r\n").repeated(100);
    QTest::newRow("many line breaks") << run;
    QTest::newRow("LF first, line breaks after") << "\n" + run;
    QTest::newRow("lone LF after many line breaks") << run + "x\ny" + run;
    QTest::newRow("CR LF across a chunk's end") << QString(256, u'x') + "\r\n" + QString(300, u'y');
    QTest::newRow("lone CR at a chunk's end") << QString(256, u'x') + "\r" + QString(300, u'y');
    QTest::newRow("TAB at the very end") << run + "\t";
}

// A value that stays in its file is checked there; what is found, and
// where, is what its copy gives.
void TestChecks::valuesInFileReportedAlike()
{
    QFETCH(QString, fileValue);
    const QByteArray image = stfImage({{1, QStringLiteral("plain")}, {2, fileValue}});
    // Shifted by one, as files are read, so that the values lie aligned.
    QByteArray file = QByteArray(1, 0) + image;
    file.remove(0, 1);
    const auto problemsOf = [](const EntryList &rows) {
        QStringList found;
        for (const Problem &p : wendaro::tableProblems(rows, TextFields(), testCodePage(), {13, 40}, PlaceKind::Offset))
            found << QString::number(p.place) + u' ' + p.message;
        return found;
    };
    Table copied;
    Table kept;
    const FileFormat &stf = FormatRegistry::forPath(QStringLiteral("t.stf"));
    qint64 errorPlace = -1;
    QString error;
    QVERIFY(stf.readTable(image, testCodePage(), copied, &errorPlace, &error));
    QVERIFY(stf.readTableTaking(file, testCodePage(), kept, &errorPlace, &error));
    QCOMPARE(problemsOf(kept.rows), problemsOf(copied.rows));
}

void TestChecks::rowPlaces_data()
{
    QTest::addColumn<QString>("path");
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<QList<qint64>>("places"); // each row's place; for a file that fails, the error's

    QTest::newRow("text, CR LF, directives and a blank line")
        << "t.txt" << QByteArray("Index\tName\tValue\r\n>file o.stf\r\n1\ta\tb\r\n \r\n>//m\r\n2\tc\td\r\n")
        << QList<qint64>{3, 6};
    QTest::newRow("text, LF only") << "t.txt" << QByteArray("Index\tName\tValue\n>//m\n1\ta\tb\n\n2\tc\td\n")
                                   << QList<qint64>{3, 5};
    QTest::newRow("text, lone CR and CR LF mixed")
        << "t.txt" << QByteArray("H\r1\ta\tb\n\r\n2\tc\td") << QList<qint64>{2, 4};
    QTest::newRow("text error on an LF line")
        << "t.txt" << QByteArray("H\n1\ta\tb\n\n70000\tc\td\n") << QList<qint64>{4};
    QTest::newRow("text error, too few fields") << "t.txt" << QByteArray("H\r\n\r\n1\ta\r\n") << QList<qint64>{3};
    QTest::newRow("stf") << "t.stf" << stfImage({{1, "ab"}, {2, ""}, {3, "c"}}) << QList<qint64>{13, 29, 41};
    QTest::newRow("stf cut in a value record")
        << "t.stf" << stfImage({{1, "ab"}, {2, "cd"}}).chopped(1) << QList<qint64>{29};
}

void TestChecks::rowPlaces()
{
    QFETCH(QString, path);
    QFETCH(QByteArray, file);
    QFETCH(QList<qint64>, places);
    Table table;
    qint64 errorPlace = -1;
    QString error;
    if (!FormatRegistry::forPath(path).readTable(file, testCodePage(), table, &errorPlace, &error)) {
        QCOMPARE(QList<qint64>{errorPlace}, places);
        return;
    }
    const std::vector<qint64> found = path.endsWith(QLatin1String(".stf")) ? stfRowOffsets(file)
                                                                           : textRowLines(file, testCodePage());
    QCOMPARE(QList<qint64>(found.cbegin(), found.cend()), places);
    QCOMPARE(table.rows.count(), places.size());
}

void TestChecks::compareTranslation_data()
{
    // clang-format off
    QTest::addColumn<QString>("original");
    QTest::addColumn<QString>("translation");
    QTest::addColumn<QStringList>("expected"); // parts of each message, "!" before a warning's

    QTest::newRow("good") << "Open %1 files (&O)<br>" << "%1 個のファイルを開く(&O)<br>" << QStringList{};
    QTest::newRow("empty") << "Open" << "" << QStringList{"訳が空です"};
    QTest::newRow("both empty") << "" << "" << QStringList{};
    QTest::newRow("identical") << "OK" << "OK" << QStringList{"!訳が原文と同じです"};
    QTest::newRow("identical without letters") << "100 %" << "100 %" << QStringList{};
    QTest::newRow("line breaks, lone LF counted") << "a<br>b" << "a\nb<br>c" << QStringList{"原文 1、訳 2"};
    QTest::newRow("access key lost") << "File(&F)" << "ファイル" << QStringList{"アクセスキー &F が訳にありません"};
    QTest::newRow("access key added") << "A && B" << "A &B" << QStringList{"訳に原文にないアクセスキー &B"};
    QTest::newRow("entity is no access key") << "a&amp;b" << "x&amp;y" << QStringList{};
    QTest::newRow("printf lost and added") << "%d of %s" << "%d / %ls" << QStringList{"%s が訳にありません", "%ls があります"};
    QTest::newRow("printf in another order") << "%s: %d" << "%d: %s" << QStringList{"順序が原文と違います（原文 %s %d、訳 %d %s）"};
    QTest::newRow("numbered printf may move") << "%1$s %2$d" << "%2$d %1$s" << QStringList{};
    QTest::newRow("Qt numbers may move, not change") << "%1 / %2" << "%2 / %1 / %3"
                                                     << QStringList{"%3 があります"};
    QTest::newRow("percent literal kept") << "100%% %5.2f" << "%5.2f 100%" << QStringList{"%% が訳にありません"};
    QTest::newRow("braces") << "{0} by {name}" << "{name}: {{0}}" << QStringList{"{0} が訳にありません"};
    QTest::newRow("50% off is text") << "50% off" << "50% オフ" << QStringList{};
    QTest::newRow("blanks at both ends") << " a\t" << QStringLiteral("\u3000b")
                                         << QStringList{"先頭の空白が原文と違います（原文 U+0020、訳 U+3000）",
                                                        "末尾の空白が原文と違います（原文 U+0009、訳 なし）"};
    // clang-format on
}

void TestChecks::compareTranslation()
{
    QFETCH(QString, original);
    QFETCH(QString, translation);
    QFETCH(QStringList, expected);
    const QList<TextFinding> found = wendaro::compareTranslation(original, translation);
    QStringList messages;
    for (const TextFinding &f : found)
        messages << (f.severity == Problem::Severity::Warning ? QStringLiteral("!") : QString()) + f.message;
    QCOMPARE(messages.size(), expected.size());
    for (qsizetype i = 0; i < messages.size(); ++i) {
        const bool warning = expected[i].startsWith(u'!');
        QVERIFY2(messages[i].startsWith(u'!') == warning && messages[i].contains(expected[i].mid(warning ? 1 : 0)),
                 qPrintable(messages[i]));
    }
}

void TestChecks::findingCodes_data()
{
    // clang-format off
    QTest::addColumn<QString>("original");
    QTest::addColumn<QString>("translation");
    QTest::addColumn<QString>("codes"); // each finding's code, "!" before a warning's

    // What a Japanese translation does right, and no check may call wrong.
    QTest::newRow("period as 。") << "Hello." << "こんにちは。" << "";
    QTest::newRow("three dots as …") << "Wait..." << "待って…" << "";
    QTest::newRow("… as three dots") << "Loading…" << "読み込み中..." << "";
    QTest::newRow("full-width ！？：") << "Really?" << "本当？" << "";
    QTest::newRow("colon as ：") << "Name:" << "名前：" << "";
    QTest::newRow("period inside quotes") << "He said \"Hi.\"" << "彼は「やあ。」と言った。" << "";
    QTest::newRow("full-width digits, no separator") << "Level 1,000" << "レベル１０００" << "";
    QTest::newRow("ten thousands") << "Get 1,000,000 gold or 15,000 gems" << "100万ゴールドか1.5万ジェム" << "";
    QTest::newRow("zero before a day") << "Updated 2026-12-09" << "2026年12月9日更新" << "";
    QTest::newRow("full-width separator") << "Cost: 1,500.50" << "費用：１，５００．５０" << "";
    QTest::newRow("full-width brackets pair ASCII") << "(Optional)" << "（任意）" << "";
    QTest::newRow("quotes become 「」") << "Press “OK”" << "「OK」を押す" << "";
    QTest::newRow("placeholder digits are no numbers") << "%1 of %2" << "%2 中 %1" << "";
    QTest::newRow("colour tag digits are no numbers") << "<color=#ff0000>Red</color>" << "<color=#ff0000>赤</color>" << "";
    QTest::newRow("repeated kana") << "Laugh" << "はは はは" << "";
    QTest::newRow("doubled word the original has too") << "Bora Bora" << "Bora Bora island" << "";
    QTest::newRow("comma between repeats") << "No, no!" << "Nein, nein!" << "";
    QTest::newRow("url kept") << "See https://example.com/a." << "https://example.com/a を参照。" << "";
    QTest::newRow("br is no tag") << "A<br>B" << "あ<br>い" << "";
    QTest::newRow("long, short original") << "OK" << "了解しました、続けます" << "";
    QTest::newRow("double space copied") << "A  B" << "あ  い" << "";
    QTest::newRow("smiley is no bracket") << "Done :)" << "完了 :)" << "";

    QTest::newRow("another language with spaces") << "Open the file." << "Öffne die Datei." << "";
    QTest::newRow("line break lost") << "A<br>B" << "あい" << "linebreaks";
    QTest::newRow("access key lost") << "&File" << "ファイル" << "accelerators";
    QTest::newRow("blank at the end lost") << "Name: " << "名前：" << "whitespace";
    QTest::newRow("number lost") << "Level 1,000" << "レベル１００" << "!numbers";
    QTest::newRow("ten thousands, one too many") << "1,000 gold" << "1000万ゴールド" << "!numbers";
    QTest::newRow("decimal is no thousands") << "1.5 GB" << "15 GB" << "!numbers";
    QTest::newRow("period lost") << "Saved." << "保存しました" << "!endpunc";
    QTest::newRow("question as period") << "Quit?" << "終了します。" << "!endpunc";
    QTest::newRow("period added") << "Save" << "保存。" << "!endpunc";
    QTest::newRow("double space") << "A B" << "A  B" << "!doublespace";
    QTest::newRow("doubled word") << "The file" << "Die die Datei" << "!doublewords";
    QTest::newRow("bracket left open") << "(Optional)" << "（任意" << "!brackets";
    QTest::newRow("「 left open") << "Press OK" << "「OK を押す" << "!brackets";
    QTest::newRow("url changed") << "https://example.com" << "https://example.jp" << "!urls";
    QTest::newRow("e-mail lost") << "Mail a@b.org" << "連絡してください" << "!urls";
    QTest::newRow("tag lost") << "<b>Bold</b> text" << "太字 text</b>" << "!tags";
    QTest::newRow("tag once more") << "<i>A</i>" << "<i>あ</i><i>" << "!tags";
    QTest::newRow("over three times") << "Twenty characters !!" << QString(61, u'あ') << "!endpunc !length";
    QTest::newRow("several at once") << "Take 3 (or 4)." << "3 つ取る  (または" << "!numbers !endpunc !doublespace !brackets";
    QTest::newRow("an empty one, nothing else") << "Level 3." << "" << "untranslated";
    QTest::newRow("unchanged, nothing else") << "Level 3." << "Level 3." << "!unchanged";
    QTest::newRow("old and new in order") << "%s items." << "%d 項目" << "placeholders placeholders !endpunc";
    // clang-format on
}

namespace {

QString codesOf(const QList<TextFinding> &found)
{
    QStringList codes;
    for (const TextFinding &f : found)
        codes << (f.severity == Problem::Severity::Warning ? QStringLiteral("!") : QString()) + checkCode(f.check);
    return codes.join(u' ');
}

} // namespace

void TestChecks::findingCodes()
{
    QFETCH(QString, original);
    QFETCH(QString, translation);
    QFETCH(QString, codes);
    QCOMPARE(codesOf(wendaro::compareTranslation(original, translation)), codes);
}

void TestChecks::skippedAndMaxLength()
{
    CheckSettings settings;
    settings.skip(TranslationCheck::EndPunctuation);
    settings.maxLength = 3;
    // A character beyond the BMP and a line break are one character each.
    QCOMPARE(valueLength(QStringLiteral("a\U0001F600<br>b")), 4);
    QCOMPARE(codesOf(wendaro::compareTranslation(QStringLiteral("Hi<br>"), QStringLiteral("a<br>b"), settings)), "");
    QCOMPARE(codesOf(wendaro::compareTranslation(QStringLiteral("Hi."), QStringLiteral("abcd"), settings)), "length");
    QCOMPARE(codesOf(wendaro::compareTranslation(QStringLiteral("Hi."), QStringLiteral("Hi."), settings)),
             "!unchanged");
    for (int i = 0; i < TranslationCheckCount; ++i)
        QCOMPARE(checkFromCode(checkCode(TranslationCheck(i))), TranslationCheck(i));
}

void TestChecks::missingAndExtraIndexes()
{
    EntryList original;
    EntryList translation;
    fill(original, {"1|a|Yes", "2|b|No", "3|c|Cancel"});
    fill(translation, {"3|c|取消", "1|a|はい", "9|z|x", "1|d|いいえ"});
    const QList<Problem> found = translationProblems(translation, {5, 6, 7, 8}, original);
    QStringList messages;
    for (const Problem &p : found)
        messages << QStringLiteral("%1 %2").arg(p.place).arg(p.message);
    // The second row of index 1 is the table checks' business, not a translation.
    QCOMPARE(messages,
             (QStringList{QStringLiteral("7 インデックス 9（z）: 原文にないインデックスです。"),
                          QStringLiteral("-1 インデックス 2（b）: 原文にあるインデックスが訳にありません。")}));
}

void TestChecks::inconsistentTranslations()
{
    EntryList original;
    EntryList translation;
    fill(original, {"1|a|Open", "2|b|Open", "3|c|Open", "4|d|Close", "5|e|Shut", "6|f|Yes", "7|g|No", "8|h|No"});
    fill(translation,
         {"1|a|開く", "2|b|開く", "3|c|オープン", "4|d|閉じる", "5|e|閉じる", "6|f|Yes", "7|g|いいえ", "8|h|いいえ"});
    QStringList messages;
    for (const Problem &p : translationProblems(translation, {}, original))
        messages << p.code + u' ' + (p.severity == Problem::Severity::Warning ? u'!' : u' ') + p.message;
    // An untranslated row is no way of translating its original; one text
    // translated alike twice is no finding.
    QCOMPARE(messages, (QStringList{
                           "inconsistent !インデックス 1（a）: 同じ原文がインデックス 3 では違う訳です。",
                           "inconsistent !インデックス 2（b）: 同じ原文がインデックス 3 では違う訳です。",
                           "inconsistent !インデックス 3（c）: 同じ原文がインデックス 1, 2 では違う訳です。",
                           "inconsistent !インデックス 4（d）: 同じ訳がインデックス 5 の違う原文にも使われています。",
                           "inconsistent !インデックス 5（e）: 同じ訳がインデックス 4 の違う原文にも使われています。",
                           "unchanged !インデックス 6（f）: 訳が原文と同じです。",
                       }));
}

void TestChecks::translationStates_data()
{
    QTest::addColumn<QStringList>("original");
    QTest::addColumn<QStringList>("old"); // empty: no old original
    QTest::addColumn<QStringList>("translation");
    QTest::addColumn<bool>("reviewed");
    QTest::addColumn<QString>("states"); // each row's word, "済" for translated
    QTest::addColumn<QString>("counts"); // the progress line, then the words; "" when reviewed

    const QStringList original{"1|a|Yes", "2|b|No", "3|c|Open %s", "4|d|Save"};
    const QStringList old{"1|a|Yes", "2|b|No", "3|c|Open %s", "4|d|Save as"};
    QTest::newRow("each state once") << original << old
                                     << QStringList{"1|a|はい", "2|b|No", "3|c|開く", "4|d|保存", "9|z|x"} << false
                                     << "済 未訳 問題 要確認 原文なし"
                                     << "翻訳済み 1 / 4（25 %） 未訳 1 要確認 1 問題 1 原文なし 1 不足 0";
    QTest::newRow("reviewed, a name STF cannot hold") << original << old << QStringList{"4|dé|保存"} << true << "問題"
                                                      << "";
    // Each state hides those after it: no original, untranslated, to review, a problem.
    QTest::newRow("precedence") << QStringList{"1|a|Yes", "2|b|No %s", "3|c|Save", "5|e|Hi"}
                                << QStringList{"1|a|Yes!", "2|b|No"}
                                << QStringList{"7|z|%d", "x|y|z", "1|a|Yes", "2|b|いいえ", "5|aé|やあ"} << false
                                << "原文なし 原文なし 未訳 要確認 要確認"
                                << "翻訳済み 0 / 4（0 %） 未訳 1 要確認 2 問題 0 原文なし 2 不足 1";
    QTest::newRow("percent rounded down") << QStringList{"1|a|Yes", "2|b|No", "3|c|Open"} << QStringList{}
                                          << QStringList{"1|a|はい", "2|b|いいえ"} << false << "済 済"
                                          << "翻訳済み 2 / 3（66 %） 未訳 0 要確認 0 問題 0 原文なし 0 不足 1";
    // STF refuses the index at its first row; the rows after it translate no other index.
    QTest::newRow("a repeated index is translated once at most")
        << QStringList{"1|a|Yes", "2|b|No"} << QStringList{} << QStringList{"1|a|はい", "1|a|はい", "1|a|はい"} << false
        << "問題 済 済"
        << "翻訳済み 0 / 2（0 %） 未訳 0 要確認 0 問題 1 原文なし 0 不足 1";
}

void TestChecks::translationStates()
{
    QFETCH(QStringList, original);
    QFETCH(QStringList, old);
    QFETCH(QStringList, translation);
    QFETCH(bool, reviewed);
    QFETCH(QString, states);
    QFETCH(QString, counts);

    const auto table = [](const QStringList &described) {
        EntryList list;
        fill(list, described);
        return list;
    };
    const EntryList originalRows = table(original);
    const EntryList oldRows = table(old);
    const EntryList rows = table(translation);
    const FirstRows current(originalRows);
    const FirstRows before = old.isEmpty() ? FirstRows() : FirstRows(oldRows);
    const Originals originals{current, before};

    const std::vector<QStringList> refusals = stfRefusalsByRow(rows, testCodePage());
    QStringList found;
    for (qsizetype i = 0; i < rows.count(); ++i) {
        const QString word = rowStateWord(rowState(rows.at(i), originals, reviewed, !refusals[size_t(i)].isEmpty()));
        found << (word.isEmpty() ? QStringLiteral("済") : word);
    }
    QCOMPARE(found.join(u' '), states);

    if (reviewed)
        return; // countStates reviews nothing
    const StateCounts stateCounts = countStates(rows, originals, testCodePage());
    QStringList line{stateCounts.progressLine()};
    for (const auto &[word, count] : stateCounts.words())
        line << QStringLiteral("%1 %2").arg(word).arg(count);
    QCOMPARE(line.join(u' '), counts);
}

QTEST_GUILESS_MAIN(TestChecks)
#include "tst_checks.moc"
