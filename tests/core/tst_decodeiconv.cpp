// SPDX-License-Identifier: GPL-3.0-or-later
// The default code page read beside glibc's iconv from CP932: every byte and
// every pair of bytes, and long random texts that cross the decoder's blocks
// of ASCII at every offset. Where the two read bytes differently, it is one
// of the kinds of the table below, on purpose, and no other.
#include "core/text/CodePage.h"
#include "TestTables.h"

#include <QRandomGenerator>
#include <QTest>
#include <QtEndian>

#include <iconv.h>

#include <map>
#include <optional>

using namespace wendaro;

namespace {

// glibc's CP932 reading of bytes; nullopt where it refuses them.
class Iconv
{
public:
    Iconv() : m_cd(iconv_open("UTF-16LE", "CP932")) {}
    ~Iconv()
    {
        if (ok())
            iconv_close(m_cd);
    }
    Iconv(const Iconv &) = delete;
    Iconv &operator=(const Iconv &) = delete;

    bool ok() const { return m_cd != iconv_t(-1); }

    std::optional<QString> decode(QByteArrayView bytes) const
    {
        iconv(m_cd, nullptr, nullptr, nullptr, nullptr);
        QByteArray out(2 * bytes.size() + 2, Qt::Uninitialized);
        char *in = const_cast<char *>(bytes.data());
        size_t inLeft = size_t(bytes.size());
        char *put = out.data();
        size_t outLeft = size_t(out.size());
        if (iconv(m_cd, &in, &inLeft, &put, &outLeft) == size_t(-1) || inLeft != 0)
            return std::nullopt;
        QString text(qsizetype(put - out.constData()) / 2, Qt::Uninitialized);
        qFromLittleEndian<char16_t>(out.constData(), text.size(), text.data());
        return text;
    }

private:
    iconv_t m_cd;
};

QString standIn(char byte)
{
    return QString(QChar(CodePage::EscapeBase + static_cast<unsigned char>(byte)));
}

// How our reading of one byte or a pair differs from iconv's.
enum class Difference {
    None,
    // iconv refuses them: we read each byte alone, as iconv reads it alone,
    // and a byte it refuses alone as that byte's stand-in.
    EachAlone,
    // iconv refuses a lead byte and a trail byte that stand for nothing: we
    // hold both as stand-ins, not the trail byte as the character it reads
    // as alone (81 AD, not 81 and "ｭ").
    PairOfStandIns,
    // iconv reads a character whose bytes we write otherwise (the NEC and
    // IBM duplicates: rows 87 90-9C, ED, EE, FA-FC): we read these bytes
    // as stand-ins or alone, so that each character has one byte form and
    // every file is written back as it was read.
    DuplicateNotRead,
    // iconv refuses FC FC, which the converters the tables were built from
    // read as U+FFFD and write U+FFFD as: a character of ours like any other.
    ReplacementCharacter,
    Other,
};

struct Readings
{
    const CodePage &ours;
    const Iconv &theirs;

    QString alone(char byte) const { return theirs.decode(QByteArrayView(&byte, 1)).value_or(standIn(byte)); }

    Difference of(QByteArrayView bytes) const
    {
        const std::optional<QString> expected = theirs.decode(bytes);
        const QString got = ours.decode(bytes);
        if (expected == got)
            return Difference::None;
        QString eachAlone;
        QString standIns;
        for (const char byte : bytes) {
            eachAlone += alone(byte);
            standIns += standIn(byte);
        }
        if (!expected && got == eachAlone)
            return Difference::EachAlone;
        if (!expected && got == standIns)
            return Difference::PairOfStandIns;
        if (!expected && got == QString(QChar::ReplacementCharacter))
            return Difference::ReplacementCharacter;
        QByteArray written;
        if (expected && expected->size() == 1 && (got == eachAlone || got == standIns)
            && ours.encode(*expected, written) < 0 && written != bytes && theirs.decode(written) == expected)
            return Difference::DuplicateNotRead;
        return Difference::Other;
    }
};

// Counts of each difference over every byte alone and every pair.
std::map<Difference, int> differencesOfAllBytesAndPairs(const Readings &readings)
{
    std::map<Difference, int> counts;
    for (int first = 0; first < 256; ++first) {
        const char byte = char(first);
        ++counts[readings.of(QByteArrayView(&byte, 1))];
        for (int second = 0; second < 256; ++second) {
            const char pair[2] = {char(first), char(second)};
            ++counts[readings.of(QByteArrayView(pair, 2))];
        }
    }
    return counts;
}

} // namespace

class TestDecodeIconv : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void everyByteAndPair_data();
    void everyByteAndPair();
    void randomTexts();

private:
    std::optional<CodePage> m_codePage;
    Iconv m_iconv;
    std::map<Difference, int> m_counts;
};

void TestDecodeIconv::initTestCase()
{
    if (!m_iconv.ok())
        QSKIP("glibc's iconv has no CP932 here");
    m_codePage = testCodePage(CodePage::DefaultName);
    m_counts = differencesOfAllBytesAndPairs({*m_codePage, m_iconv});
}

void TestDecodeIconv::everyByteAndPair_data()
{
    QTest::addColumn<int>("difference");
    QTest::addColumn<int>("count"); // of the 256 bytes and 65,536 pairs
    QTest::addColumn<QByteArray>("example");

    const auto row = [](const char *name, Difference difference, int count, const QByteArray &example) {
        QTest::newRow(name) << int(difference) << count << example;
    };
    row("read alike", Difference::None, 45878, "\x82\xa0");
    row("each byte alone where iconv refuses", Difference::EachAlone, 19073, "\x81\x7f");
    row("a pair for nothing as two stand-ins", Difference::PairOfStandIns, 442, "\x81\xad");
    row("a duplicate's bytes not read as it", Difference::DuplicateNotRead, 398, "\x87\x90");
    row("FC FC as U+FFFD", Difference::ReplacementCharacter, 1, "\xfc\xfc");
    row("nothing else", Difference::Other, 0, {});
}

void TestDecodeIconv::everyByteAndPair()
{
    QFETCH(int, difference);
    QFETCH(int, count);
    QFETCH(QByteArray, example);
    QCOMPARE(m_counts[Difference(difference)], count);
    if (!example.isEmpty())
        QCOMPARE(int(Readings{*m_codePage, m_iconv}.of(example)), difference);
}

// Texts of every kind of character iconv and we read alike, in runs of
// ASCII of every length between runs of other characters, and now and then
// a byte that stands for nothing: decoded, counted and written as UTF-16
// as iconv reads them (such a byte as its stand-in), and written back as
// they were.
void TestDecodeIconv::randomTexts()
{
    const CodePage &cp = *m_codePage;
    std::vector<QByteArray> others; // one character each, read alike, not ASCII
    for (int first = 0x80; first < 256; ++first) {
        const char byte = char(first);
        if (m_iconv.decode(QByteArrayView(&byte, 1)) == cp.decode(QByteArrayView(&byte, 1)))
            others.emplace_back(1, byte);
        for (int second = 0x40; second < 256; second += 3) {
            const char pair[2] = {byte, char(second)};
            const std::optional<QString> read = m_iconv.decode(QByteArrayView(pair, 2));
            if (read && read->size() == 1 && read == cp.decode(QByteArrayView(pair, 2)))
                others.emplace_back(pair, 2);
        }
    }
    const char refused[] = {'\x80', '\xa0', '\xfd', '\xfe', '\xff'};
    QRandomGenerator random(932);
    for (int round = 0; round < 2000; ++round) {
        QByteArray bytes;
        QString expected;
        qsizetype readFrom = 0; // what iconv has not read yet
        bool standIns = false;
        while (bytes.size() < 600) {
            for (int n = random.bounded(40); n > 0; --n)
                bytes += char(random.bounded(0x80));
            for (int n = random.bounded(6); n > 0; --n)
                bytes += others[size_t(random.bounded(int(others.size())))];
            if (random.bounded(8) == 0) {
                expected += *m_iconv.decode(bytes.sliced(readFrom));
                bytes += refused[random.bounded(int(sizeof refused))];
                expected += standIn(bytes.back());
                readFrom = bytes.size();
                standIns = true;
            }
        }
        expected += *m_iconv.decode(bytes.sliced(readFrom));

        QCOMPARE(cp.decode(bytes), expected);
        QCOMPARE(cp.decodedSize(bytes), expected.size());
        QByteArray utf16(1 + 2 * bytes.size(), '\0');
        QCOMPARE(cp.decodeUtf16(bytes, utf16.data() + 1), utf16.constData() + 1 + 2 * expected.size());
        QString fromUtf16(expected.size(), Qt::Uninitialized);
        qFromLittleEndian<char16_t>(utf16.constData() + 1, expected.size(), fromUtf16.data());
        QCOMPARE(fromUtf16, expected);

        QByteArray written;
        QCOMPARE(cp.encode(expected, written), -1);
        QCOMPARE(written, bytes);
        QByteArray plainly;
        QCOMPARE(cp.encodePlainly(expected, plainly), !standIns);
        if (!standIns)
            QCOMPARE(plainly, bytes);
        QByteArray withBreaks;
        QByteArray breaksAs;
        QCOMPARE(cp.encodePlainly(expected, withBreaks, u"<br>"), !standIns);
        cp.encode(QString(expected).replace(u"\r\n"_qs, u"<br>"_qs), breaksAs);
        if (!standIns)
            QCOMPARE(withBreaks, breaksAs);
    }
}

QTEST_GUILESS_MAIN(TestDecodeIconv)
#include "tst_decodeiconv.moc"
