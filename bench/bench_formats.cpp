// Times reading, writing and sorting a full table (32,766 entries, the most
// an STF file holds) beside the floor of the same work: the same bytes moved
// with no parsing. Each figure is the best of several runs; the operation and
// its floor run in turns so that both see the same machine.

#include "CodePage.h"
#include "DocumentFile.h"
#include "EntryList.h"
#include "IndexText.h"
#include "SaveFile.h"
#include "StfReader.h"
#include "StfWriter.h"
#include "TextReader.h"
#include "TextWriter.h"

#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>

#include <cstdio>
#include <cstring>
#include <ctime>
#include <functional>
#include <random>
#include <vector>

#ifdef __GLIBC__
#include <malloc.h>
#endif

using namespace wendaro;

namespace {

constexpr int EntryCount = 32766;
constexpr int Runs = 9;
constexpr double FormatTarget = 4.0; // times the floor
constexpr double SortTargetMs = 30.0;

// The table that every figure is taken on; the same on every run of the bench.
class TableMaker
{
public:
    std::vector<Entry> make()
    {
        std::vector<int> indexes(EntryCount);
        for (int i = 0; i < EntryCount; ++i)
            indexes[size_t(i)] = i + 1;
        for (size_t i = indexes.size() - 1; i > 0; --i)
            std::swap(indexes[i], indexes[pick(int(i) + 1)]);

        std::vector<Entry> rows;
        rows.reserve(indexes.size());
        for (const int index : indexes)
            rows.push_back({indexText(qint16(index)), name(), value(), std::nullopt});
        return rows;
    }

private:
    size_t pick(int count) { return size_t(m_random() % unsigned(count)); }

    // 8 to 40 single-byte characters, some of them half-width katakana.
    QString name()
    {
        static const QString letters = QStringLiteral("abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789_");
        const int length = 8 + int(pick(33));
        QString result;
        for (int i = 0; i < length; ++i) {
            if (pick(10) == 0)
                result += QChar(char16_t(0xFF66 + pick(0x38)));
            else
                result += letters[qsizetype(pick(int(letters.size())))];
        }
        return result;
    }

    // 0 to 400 code units of words, Japanese runs and line breaks ("<br>").
    QString value()
    {
        static const QString kanji = QStringLiteral("日本語文字列表値名前番号項目保存読込");
        const qsizetype length = qsizetype(pick(401));
        QString result;
        while (result.size() < length) {
            switch (pick(8)) {
            case 0:
                result += QStringLiteral("<br>");
                break;
            case 1:
            case 2:
                for (size_t n = 1 + pick(6); n > 0; --n)
                    result += pick(2) ? QChar(char16_t(0x3042 + pick(80))) : kanji[qsizetype(pick(int(kanji.size())))];
                break;
            default:
                for (size_t n = 1 + pick(9); n > 0; --n)
                    result += QChar(char16_t('a' + pick(26)));
                result += QLatin1Char(' ');
                break;
            }
        }
        result.truncate(length);
        return result;
    }

    std::mt19937 m_random{20240517};
};

EntryList listOf(const std::vector<Entry> &rows)
{
    EntryList list;
    for (const Entry &row : rows)
        list.append(row);
    return list;
}

// One run's time: wall clock, and the CPU time of this thread, which other
// processes on a busy machine do not inflate.
struct Time
{
    double wallMs = 1e300;
    double cpuMs = 1e300;
    void keepBest(const Time &other)
    {
        wallMs = std::min(wallMs, other.wallMs);
        cpuMs = std::min(cpuMs, other.cpuMs);
    }
};

double threadCpuMs()
{
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return double(now.tv_sec) * 1e3 + double(now.tv_nsec) / 1e6;
}

// One run of work; prepare runs first, untimed.
Time timeOnce(const std::function<void()> &prepare, const std::function<void()> &work)
{
    prepare();
    const double cpuStart = threadCpuMs();
    QElapsedTimer timer;
    timer.start();
    work();
    const double wallMs = double(timer.nsecsElapsed()) / 1e6;
    return {wallMs, threadCpuMs() - cpuStart};
}

struct Figure
{
    Time work;
    Time floor;
};

Figure bestOf(const std::function<void()> &prepare, const std::function<void()> &work,
              const std::function<void()> &floor)
{
    Figure best;
    for (int run = 0; run < Runs; ++run) {
        best.work.keepBest(timeOnce(prepare, work));
        best.floor.keepBest(timeOnce([] {}, floor));
    }
    return best;
}

void printHeader()
{
    std::printf("%-26s %10s %10s   %-22s %10s %10s   %7s %7s\n", "operation", "wall ms", "cpu ms",
                "floor: the same bytes", "wall ms", "cpu ms", "wall x", "cpu x");
}

// The target is judged on the wall clock; the CPU figures show how much of it
// was this program's own work when the machine is busy.
bool report(const char *work, const char *floor, const Figure &figure)
{
    const double wallRatio = figure.work.wallMs / figure.floor.wallMs;
    const double cpuRatio = figure.work.cpuMs / figure.floor.cpuMs;
    const bool met = wallRatio <= FormatTarget;
    std::printf("%-26s %10.2f %10.2f   %-22s %10.2f %10.2f   %6.1fx %6.1fx   %s\n", work, figure.work.wallMs,
                figure.work.cpuMs, floor, figure.floor.wallMs, figure.floor.cpuMs, wallRatio, cpuRatio,
                met ? "ok" : "over 4x");
    return met;
}

bool reportSort(const char *work, const Time &time)
{
    const bool met = time.wallMs < SortTargetMs;
    std::printf("%-26s %10.2f %10.2f   %-22s %10s %10s   %7s %7s   %s\n", work, time.wallMs, time.cpuMs, "", "", "",
                "", "", met ? "ok" : "over 30 ms");
    return met;
}

QByteArray readFile(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        qFatal("cannot read %s", qPrintable(path));
    return file.readAll();
}

void require(bool ok, const QString &what)
{
    if (!ok)
        qFatal("bench_formats: %s", qPrintable(what));
}

// Keeps the optimiser from dropping a copy that nothing reads.
void keep(const QByteArray &bytes)
{
    static volatile char sink = 0;
    sink = char(sink + (bytes.isEmpty() ? 0 : bytes.back()));
}

} // namespace

int main()
{
#ifdef __GLIBC__
    // Keep freed memory in the process instead of handing it back to the
    // system after each run: otherwise every run pays for mapping and
    // touching fresh pages, which on a virtual machine costs more than the
    // work itself and varies from run to run. The editor, a long-running
    // process, reuses its heap the same way.
    mallopt(M_MMAP_THRESHOLD, 256 * 1024 * 1024);
    mallopt(M_TRIM_THRESHOLD, 1024 * 1024 * 1024);
#endif
    QString error;
    const std::optional<CodePage> codePage = CodePage::open(CodePage::DefaultName, &error);
    require(codePage.has_value(), error);
    const std::vector<Entry> table = TableMaker().make();
    const EntryList rows = listOf(table);
    const TextFields fields{QStringLiteral("C:\\out\\table.stf"), QStringLiteral("bench table")};

    QByteArray stf;
    StfWriter stfWriter;
    require(stfWriter.write(rows, *codePage, stf), stfWriter.errorString());
    QByteArray text;
    TextWriter textWriter;
    require(textWriter.write(rows, fields, *codePage, text), textWriter.errorString());

    QTemporaryDir dir;
    require(dir.isValid(), QStringLiteral("no temporary folder"));
    const QString stfPath = dir.filePath(QStringLiteral("table.stf"));
    const QString textPath = dir.filePath(QStringLiteral("table.txt"));
    require(SaveFile::write(stfPath, stf, &error), error);
    require(SaveFile::write(textPath, text, &error), error);

    std::printf("%d entries: STF %.1f MB, text %.1f MB; best of %d runs\n\n", EntryCount, double(stf.size()) / 1e6,
                double(text.size()) / 1e6, Runs);
    printHeader();

    bool met = true;
    const auto copyOf = [](const QByteArray &bytes) {
        return [&bytes] { keep(QByteArray(bytes.constData(), bytes.size())); };
    };
    const auto none = [] {};

    {
        EntryList read;
        const auto fresh = [&] { read = EntryList(); };
        met &= report("STF read, in memory", "copy in memory", bestOf(fresh, [&] {
            qint16 largest = 1;
            StfReader reader;
            require(reader.read(stf, *codePage, read, largest), reader.errorString());
        }, copyOf(stf)));
        met &= report("text read, in memory", "copy in memory", bestOf(fresh, [&] {
            qint16 largest = 1;
            TextFields readFields;
            TextReader reader;
            require(reader.read(text, *codePage, read, readFields, largest), reader.errorString());
        }, copyOf(text)));
    }
    {
        QByteArray out;
        const auto fresh = [&] { out = QByteArray(); };
        met &= report("STF write, in memory", "copy in memory", bestOf(fresh, [&] {
            StfWriter writer;
            require(writer.write(rows, *codePage, out), writer.errorString());
        }, copyOf(stf)));
        met &= report("text write, in memory", "copy in memory", bestOf(fresh, [&] {
            TextWriter writer;
            require(writer.write(rows, fields, *codePage, out), writer.errorString());
        }, copyOf(text)));
    }
    std::printf("\n");
    {
        // The loaded table is freed between runs, outside the time.
        LoadResult loaded;
        const auto fresh = [&] { loaded = LoadResult(); };
        met &= report("STF load from file", "read the file", bestOf(fresh, [&] {
            loaded = loadDocument(stfPath, *codePage);
            require(loaded.ok, loaded.errorString);
        }, [&] { keep(readFile(stfPath)); }));
        met &= report("text load from file", "read the file", bestOf(fresh, [&] {
            loaded = loadDocument(textPath, *codePage);
            require(loaded.ok, loaded.errorString);
        }, [&] { keep(readFile(textPath)); }));
    }
    const QString stfOut = dir.filePath(QStringLiteral("out.stf"));
    const QString textOut = dir.filePath(QStringLiteral("out.txt"));
    met &= report("STF save to file", "save the bytes", bestOf(none, [&] {
        require(saveDocument(stfOut, rows, fields, true, *codePage, &error), error);
    }, [&] { require(SaveFile::write(stfOut, stf, &error), error); }));
    met &= report("text save to file", "save the bytes", bestOf(none, [&] {
        require(saveDocument(textOut, rows, fields, true, *codePage, &error), error);
    }, [&] { require(SaveFile::write(textOut, text, &error), error); }));

    std::printf("\n");
    const struct
    {
        const char *name;
        SortColumn column;
        SortOrder order;
    } sorts[] = {
        {"sort by index, ascending", SortColumn::IndexText, SortOrder::Ascending},
        {"sort by index, descending", SortColumn::IndexText, SortOrder::Descending},
        {"sort by name, ascending", SortColumn::Name, SortOrder::Ascending},
        {"sort by name, descending", SortColumn::Name, SortOrder::Descending},
        {"sort by value, ascending", SortColumn::Value, SortOrder::Ascending},
        {"sort by value, descending", SortColumn::Value, SortOrder::Descending},
    };
    for (const auto &sort : sorts) {
        EntryList list;
        Time best;
        for (int run = 0; run < Runs; ++run) {
            best.keepBest(timeOnce([&] { list = listOf(table); }, [&] {
                list.setSortKey(sort.column);
                list.setSortOrder(sort.order);
                list.setSorted(true);
            }));
        }
        met &= reportSort(sort.name, best);
    }

    std::printf("\n%s\n", met ? "every figure within its target" : "some figures miss their target");
    return 0;
}
