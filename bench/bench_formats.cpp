// SPDX-License-Identifier: GPL-3.0-or-later
// Times reading, writing and sorting a full table (32,766 entries, the most
// an STF file holds) beside the floor of the same work: the same bytes moved
// with no parsing. Each figure is the best of several runs; the operation and
// its floor run in turns so that both see the same machine.

#include "BenchTable.h"
#include "BenchTiming.h"

#include "core/text/CodePage.h"
#include "core/document/DocumentFile.h"
#include "core/model/EntryList.h"
#include "core/io/SaveFile.h"
#include "core/formats/StfReader.h"
#include "core/formats/StfWriter.h"
#include "core/formats/TextReader.h"
#include "core/formats/TextWriter.h"

#include <QFile>
#include <QTemporaryDir>

#include <cstdio>
#include <functional>
#include <vector>

using namespace wendaro;
using namespace wendaro::bench;

namespace {

constexpr int Runs = 9;
constexpr double FormatTarget = 4.0; // times the floor
constexpr double SortTargetMs = 30.0;

EntryList listOf(const std::vector<Entry> &rows)
{
    EntryList list;
    for (const Entry &row : rows)
        list.append(row);
    return list;
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
    std::printf("%-26s %10.2f %10.2f   %-22s %10s %10s   %7s %7s   %s\n", work, time.wallMs, time.cpuMs, "", "", "", "",
                "", met ? "ok" : "over 30 ms");
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

// The table in both forms, in memory and in files, that every figure reads.
struct Inputs
{
    const CodePage &codePage;
    const EntryList &rows;
    const TextFields &fields;
    QByteArray stf;
    QByteArray text;
    QString stfPath;
    QString textPath;
};

auto copyOf(const QByteArray &bytes)
{
    return [&bytes] { keep(QByteArray(bytes.constData(), bytes.size())); };
}

bool benchInMemory(const Inputs &in)
{
    bool met = true;
    QString error;
    // clang-format off
    {
        EntryList read;
        const auto fresh = [&] { read = EntryList(); };
        met &= report("STF read, in memory", "copy in memory", bestOf(fresh, [&] {
            qint16 largest = 1;
            qint64 errorOffset = -1;
            StfReader reader;
            require(reader.read(in.stf, in.codePage, read, largest, &errorOffset, &error), error);
        }, copyOf(in.stf)));
        met &= report("text read, in memory", "copy in memory", bestOf(fresh, [&] {
            qint16 largest = 1;
            TextFields readFields;
            qint64 errorLine = -1;
            TextReader reader;
            require(reader.read(in.text, in.codePage, read, readFields, largest, &errorLine, &error), error);
        }, copyOf(in.text)));
    }
    {
        QByteArray out;
        const auto fresh = [&] { out = QByteArray(); };
        met &= report("STF write, in memory", "copy in memory", bestOf(fresh, [&] {
            StfWriter writer;
            require(writer.write(in.rows, in.codePage, out, &error), error);
        }, copyOf(in.stf)));
        met &= report("text write, in memory", "copy in memory", bestOf(fresh, [&] {
            TextWriter writer;
            require(writer.write(in.rows, in.fields, in.codePage, out, &error), error);
        }, copyOf(in.text)));
    }
    // clang-format on
    return met;
}

bool benchFiles(const Inputs &in, const QTemporaryDir &dir)
{
    bool met = true;
    QString error;
    const auto none = [] {};
    // clang-format off
    {
        // The loaded table is freed between runs, outside the time.
        LoadedDocument loaded;
        const auto fresh = [&] { loaded = LoadedDocument(); };
        met &= report("STF load from file", "read the file", bestOf(fresh, [&] {
            require(loadDocument(in.stfPath, in.codePage, loaded, &error), error);
        }, [&] { keep(readFile(in.stfPath)); }));
        met &= report("text load from file", "read the file", bestOf(fresh, [&] {
            require(loadDocument(in.textPath, in.codePage, loaded, &error), error);
        }, [&] { keep(readFile(in.textPath)); }));
    }
    const QString stfOut = dir.filePath(QStringLiteral("out.stf"));
    const QString textOut = dir.filePath(QStringLiteral("out.txt"));
    met &= report("STF save to file", "save the bytes", bestOf(none, [&] {
        require(saveDocument(stfOut, in.rows, in.fields, true, in.codePage, &error), error);
    }, [&] { require(SaveFile::write(stfOut, in.stf, &error), error); }));
    met &= report("text save to file", "save the bytes", bestOf(none, [&] {
        require(saveDocument(textOut, in.rows, in.fields, true, in.codePage, &error), error);
    }, [&] { require(SaveFile::write(textOut, in.text, &error), error); }));
    // clang-format on
    return met;
}

bool benchSorts(const std::vector<Entry> &table)
{
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
    bool met = true;
    for (const auto &sort : sorts) {
        EntryList list;
        Time best;
        for (int run = 0; run < Runs; ++run) {
            best.keepBest(timeOnce([&] { list = listOf(table); },
                                   [&] {
                                       list.setSortKey(sort.column);
                                       list.setSortOrder(sort.order);
                                       list.setSorted(true);
                                   }));
        }
        met &= reportSort(sort.name, best);
    }
    return met;
}

} // namespace

int main()
{
    keepHeapInProcess();
    QString error;
    const std::optional<CodePage> codePage = CodePage::open(CodePage::DefaultName, &error);
    require(codePage.has_value(), error);
    const std::vector<Entry> table = TableMaker().make();
    const EntryList rows = listOf(table);
    const TextFields fields{QStringLiteral("C:\\out\\table.stf"), QStringLiteral("bench table")};

    Inputs in{*codePage, rows, fields, {}, {}, {}, {}};
    StfWriter stfWriter;
    require(stfWriter.write(rows, *codePage, in.stf, &error), error);
    TextWriter textWriter;
    require(textWriter.write(rows, fields, *codePage, in.text, &error), error);

    QTemporaryDir dir;
    require(dir.isValid(), QStringLiteral("no temporary folder"));
    in.stfPath = dir.filePath(QStringLiteral("table.stf"));
    in.textPath = dir.filePath(QStringLiteral("table.txt"));
    require(SaveFile::write(in.stfPath, in.stf, &error), error);
    require(SaveFile::write(in.textPath, in.text, &error), error);

    std::printf("%d entries: STF %.1f MB, text %.1f MB; best of %d runs\n\n", EntryCount, double(in.stf.size()) / 1e6,
                double(in.text.size()) / 1e6, Runs);
    printHeader();

    bool met = benchInMemory(in);
    std::printf("\n");
    met &= benchFiles(in, dir);
    std::printf("\n");
    met &= benchSorts(table);

    std::printf("\n%s\n", met ? "every figure within its target" : "some figures miss their target");
    return 0;
}
