// SPDX-License-Identifier: GPL-3.0-or-later
// Times `wendaro-cli diff` on two full tables (32,766 entries, the most an
// STF file holds) in a fresh process, beside loading the same two tables
// with `wendaro-cli check A` and `wendaro-cli check B`: the comparison may
// cost at most as much again as the loading. Each figure is the best of
// several runs; the two run in turns so that both see the same machine.

#include "BenchTable.h"
#include "BenchTiming.h"

#include "core/text/CodePage.h"
#include "core/document/DocumentFile.h"
#include "core/model/EntryList.h"
#include "core/compare/TableDiff.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QProcess>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>

#include <sys/resource.h>

using namespace wendaro;
using namespace wendaro::bench;

namespace {

constexpr int Runs = 7;
constexpr double Target = 2.0; // times the loading

void require(bool ok, const QString &what)
{
    if (!ok)
        qFatal("bench_compare: %s", qPrintable(what));
}

double childrenCpuMs()
{
    rusage usage{};
    getrusage(RUSAGE_CHILDREN, &usage);
    const auto ms = [](const timeval &t) { return double(t.tv_sec) * 1e3 + double(t.tv_usec) / 1e3; };
    return ms(usage.ru_utime) + ms(usage.ru_stime);
}

// One run of wendaro-cli, by the wall clock and by the CPU time of the
// process, which other processes on a busy machine do not inflate. stdout is
// thrown away; diff exits 1 when the tables differ, which they do.
Time runCli(const QStringList &args)
{
    QProcess process;
    process.setStandardOutputFile(QProcess::nullDevice());
    const double cpuStart = childrenCpuMs();
    QElapsedTimer timer;
    timer.start();
    process.start(QStringLiteral(WENDARO_CLI_PATH), args);
    require(process.waitForFinished(120000) && process.exitStatus() == QProcess::NormalExit && process.exitCode() <= 1,
            QStringLiteral("wendaro-cli %1 failed").arg(args.join(QLatin1Char(' '))));
    return {double(timer.nsecsElapsed()) / 1e6, childrenCpuMs() - cpuStart};
}

// The new version of the table: some values changed, some rows gone, some
// new ones (with indexes the old one lacks) and a block of rows moved.
EntryList changedVersion(const std::vector<Entry> &old)
{
    std::vector<Entry> rows;
    for (size_t i = 0; i < old.size(); ++i) {
        if (i % 97 == 0)
            continue;
        Entry row = old[i];
        if (i % 50 == 0)
            row.value = row.value.toString() + QStringLiteral(" (new)");
        rows.push_back(row);
    }
    std::rotate(rows.begin(), rows.begin() + 1000, rows.begin() + 2000);
    for (int i = 1; i <= 300; ++i)
        rows.push_back({indexText(qint16(-i)), QStringLiteral("added"), QStringLiteral("new row"), std::nullopt});
    EntryList list;
    for (Entry &row : rows)
        list.append(std::move(row));
    return list;
}

// Keeps the optimiser from dropping a comparison that nothing reads.
void keep(const TableDiff &diff)
{
    static volatile qsizetype sink = 0;
    sink = sink + diff.changes.size();
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv); // QProcess
    QString error;
    const std::optional<CodePage> codePage = CodePage::open(CodePage::DefaultName, &error);
    require(codePage.has_value(), error);
    const std::vector<Entry> table = TableMaker().make();
    EntryList a;
    for (const Entry &row : table)
        a.append(row);
    const EntryList b = changedVersion(table);

    QTemporaryDir dir;
    require(dir.isValid(), QStringLiteral("no temporary folder"));
    std::printf("A: %lld entries, B: %lld entries; best of %d runs, each a fresh process\n\n",
                static_cast<long long>(a.count()), static_cast<long long>(b.count()), Runs);
    std::printf("%-22s %9s %9s   %-18s %9s %9s   %7s %7s\n", "operation", "wall ms", "cpu ms", "loading both",
                "wall ms", "cpu ms", "wall x", "cpu x");

    bool met = true;
    for (const char *format : {"stf", "txt"}) {
        const QString pathA = dir.filePath(QStringLiteral("a.") + QLatin1String(format));
        const QString pathB = dir.filePath(QStringLiteral("b.") + QLatin1String(format));
        require(saveDocument(pathA, a, {}, true, *codePage, &error), error);
        require(saveDocument(pathB, b, {}, true, *codePage, &error), error);
        for (const bool order : {false, true}) {
            QStringList diffArgs{QStringLiteral("diff"), pathA, pathB};
            if (order)
                diffArgs.insert(1, QStringLiteral("--order"));
            Time diff;
            Time load;
            for (int run = 0; run < Runs; ++run) {
                diff.keepBest(runCli(diffArgs));
                const Time checkA = runCli({QStringLiteral("check"), pathA});
                const Time checkB = runCli({QStringLiteral("check"), pathB});
                load.keepBest({checkA.wallMs + checkB.wallMs, checkA.cpuMs + checkB.cpuMs});
            }
            // The target is judged on the wall clock, as a user waits for it.
            const double ratio = diff.wallMs / load.wallMs;
            met &= ratio <= Target;
            const QByteArray name = QByteArray("diff ") + (order ? "--order " : "") + format;
            std::printf("%-22s %9.1f %9.1f   %-18s %9.1f %9.1f   %6.2fx %6.2fx   %s\n", name.constData(), diff.wallMs,
                        diff.cpuMs, "check A; check B", load.wallMs, load.cpuMs, ratio, diff.cpuMs / load.cpuMs,
                        ratio <= Target ? "ok" : "over 2x");
        }
    }

    // The same inside one process: the comparison alone beside the loading
    // alone, without the start of a process or the check's STF image.
    keepHeapInProcess();
    std::printf("\nin one process:\n");
    for (const char *format : {"stf", "txt"}) {
        const QString pathA = dir.filePath(QStringLiteral("a.") + QLatin1String(format));
        const QString pathB = dir.filePath(QStringLiteral("b.") + QLatin1String(format));
        LoadedDocument loadedA;
        LoadedDocument loadedB;
        Time load;
        Time compare;
        for (int run = 0; run < Runs; ++run) {
            load.keepBest(timeOnce(
                [&] {
                    loadedA = LoadedDocument();
                    loadedB = LoadedDocument();
                },
                [&] {
                    loadDocument(pathA, *codePage, loadedA, &error);
                    loadDocument(pathB, *codePage, loadedB, &error);
                }));
            compare.keepBest(timeOnce([] {}, [&] { keep(compareTables(loadedA.rows, loadedB.rows, true)); }));
        }
        std::printf("%-22s %9.1f %9.1f   %-18s %9.1f %9.1f   %6.2fx %6.2fx\n",
                    (QByteArray("compare --order ") + format).constData(), compare.wallMs, compare.cpuMs,
                    "load A and B", load.wallMs, load.cpuMs, compare.wallMs / load.wallMs, compare.cpuMs / load.cpuMs);
    }
    std::printf("\n%s\n", met ? "every figure within its target" : "some figures miss their target");
    return 0;
}
