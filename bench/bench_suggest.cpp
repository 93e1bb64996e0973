// SPDX-License-Identifier: GPL-3.0-or-later
// Times the suggestions from translation memories on two memories of a
// million units each (bench/SuggestTexts.h makes them, one of words, one of
// kana and kanji) written as TMX files into a temporary folder:
//
// - reading a memory into its fuzzy index beside pretranslate's reading of
//   the same file (each unit offered to a Pretranslation of the table), at
//   most twice as long; and the index's memory beside the file's size, at
//   most as large. The bare XML walk (each unit taken into nothing) is shown
//   for what the parser alone costs;
// - looking up 1,000 rows of the table (every 32nd), score 70 or more: the
//   median and the 99th percentile of one row's lookup (its tokens and the
//   find), within what a person typing does not notice waiting for;
// - the plain scan of every unit on 20 of those rows, beside the index: it
//   must find exactly the same units with the same scores, since the index
//   only skips units that cannot score enough. A difference fails the run.
//
//   bench_suggest [--quick] [--memory word|CJK]
//
// --quick: memories of 100,000 units, for a try of a change in seconds;
// --memory: only that one of the two.
// Exits 1 when find and scan disagree on a row.

#include "BenchTable.h"
#include "BenchTiming.h"
#include "SuggestTexts.h"

#include "core/document/MemoryFile.h"
#include "core/formats/TmxReader.h"
#include "core/formats/TmxWriter.h"
#include "core/io/ByteSink.h"
#include "core/model/EntryList.h"
#include "core/translation/MatchTokens.h"
#include "core/translation/Suggestions.h"
#include "core/translation/TranslationMemory.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <limits>

using namespace wendaro;
using namespace wendaro::bench;

namespace {

constexpr int FullUnits = 1000000;
constexpr int QuickUnits = 100000;
constexpr int LoadRuns = 3;
constexpr int LookupCount = 1000;
constexpr int LookupStride = 32;
constexpr int ScanEvery = 50; // of the lookups: 20 rows
constexpr int MinScore = DefaultMinMatch;
constexpr double LoadGoal = 2.0;   // times pretranslate's reading
constexpr double MemoryGoal = 1.0; // times the file
constexpr double NoGoal = std::numeric_limits<double>::infinity();

struct MemoryCase
{
    Script script;
    const char *name;
    double medianGoalMs;
    double p99GoalMs;
};

void require(bool ok, const QString &what)
{
    if (!ok)
        qFatal("bench_suggest: %s", qPrintable(what));
}

bool writeMemory(const TranslationMemory &memory, const QString &path, QString *error)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
        *error = file.errorString();
        return false;
    }
    struct FileSink final : ByteSink
    {
        QFile &file;
        explicit FileSink(QFile &f) : file(f) {}
        bool append(QByteArrayView bytes) override { return file.write(bytes.data(), bytes.size()) == bytes.size(); }
    } sink(file);
    if (!writeTmx(memory, sink, error)) {
        if (error->isEmpty())
            *error = file.errorString();
        return false;
    }
    return file.flush();
}

// The table as pretranslate loads it: values, or the same indexes empty.
EntryList tableOf(const std::vector<QString> &originals, bool values)
{
    EntryList list;
    for (size_t i = 0; i < originals.size(); ++i)
        list.append({indexText(qint16(i + 1)), QStringLiteral("row_%1").arg(i + 1), values ? originals[i] : QString(),
                     std::nullopt});
    return list;
}

// Each figure's line: what, the figure, its goal, and whether it is met.
bool report(const char *what, double figure, const char *unit, double goal)
{
    const bool met = figure <= goal;
    if (std::isinf(goal))
        std::printf("  %-40s %9.3f %-3s\n", what, figure, unit);
    else
        std::printf("  %-40s %9.3f %-3s  goal <= %-6g %s\n", what, figure, unit, goal, met ? "ok" : "MISSED");
    return met;
}

struct Loads
{
    Time index;
    Time offer;
    Time bare;
    MemoryFileRead read; // the last run's
};

// The three reads of the file in turns, the best of each.
Loads timeLoads(const QString &path, const std::vector<QString> &originals)
{
    const EntryList original = tableOf(originals, true);
    const EntryList translation = tableOf(originals, false);
    Loads loads;
    QString error;
    std::optional<Pretranslation> work;
    const auto walk = [&](const TmxReader::Take &take) {
        QFile file(path);
        require(file.open(QIODevice::ReadOnly), file.errorString());
        qint64 line = -1;
        TmxReader reader;
        require(reader.read(file, false, take, &line, &error), error);
    };
    for (int run = 0; run < LoadRuns; ++run) {
        loads.index.keepBest(timeOnce([&] { loads.read = MemoryFileRead(); },
                                      [&] { require(readMemoryFile(path, {}, {}, loads.read, &error), error); }));
        loads.offer.keepBest(timeOnce(
            [&] {
                work = Pretranslation::prepare(original, QStringLiteral("original"), translation,
                                               QStringLiteral("translation"), {}, {}, &error);
                require(work.has_value(), error);
            },
            [&] { walk([&](const ReadUnit &unit) { work->offer(unit); }); }));
        loads.bare.keepBest(timeOnce([] {}, [&] { walk([](const ReadUnit &) {}); }));
    }
    require(loads.read.index != nullptr, QStringLiteral("the memory read into no index"));
    return loads;
}

struct Lookups
{
    std::vector<double> wallMs; // by row, then sorted
    std::vector<double> cpuMs;
    qsizetype rowsWithHits = 0;
    qsizetype hits = 0;
    qint64 scores = 0; // the hits' scores added: a change of the index that changes what it finds changes it
};

std::vector<FuzzyHit> lookUp(const FuzzyIndex &index, const QString &text, FuzzyIndex::Scratch &scratch)
{
    return index.find(text, matchTokens(text), MinScore, scratch);
}

Lookups timeLookups(const FuzzyIndex &index, const std::vector<QString> &originals)
{
    Lookups lookups;
    FuzzyIndex::Scratch scratch;
    for (int i = 0; i < LookupCount && size_t(i) * LookupStride < originals.size(); ++i) {
        const QString &text = originals[size_t(i) * LookupStride];
        const double cpuStart = threadCpuMs();
        QElapsedTimer timer;
        timer.start();
        const std::vector<FuzzyHit> hits = lookUp(index, text, scratch);
        lookups.wallMs.push_back(double(timer.nsecsElapsed()) / 1e6);
        lookups.cpuMs.push_back(threadCpuMs() - cpuStart);
        lookups.rowsWithHits += hits.empty() ? 0 : 1;
        lookups.hits += qsizetype(hits.size());
        for (const FuzzyHit &hit : hits)
            lookups.scores += hit.score;
    }
    std::sort(lookups.wallMs.begin(), lookups.wallMs.end());
    std::sort(lookups.cpuMs.begin(), lookups.cpuMs.end());
    return lookups;
}

// The nearest rank: the smallest figure that share of them do not exceed.
double percentile(const std::vector<double> &sorted, double share)
{
    const auto rank = size_t(std::ceil(share * double(sorted.size())));
    return sorted[std::clamp<size_t>(rank, 1, sorted.size()) - 1];
}

std::vector<FuzzyHit> sortedHits(std::vector<FuzzyHit> hits)
{
    std::sort(hits.begin(), hits.end(), [](const FuzzyHit &a, const FuzzyHit &b) { return a.unit < b.unit; });
    return hits;
}

bool sameHits(const std::vector<FuzzyHit> &a, const std::vector<FuzzyHit> &b)
{
    return std::equal(a.cbegin(), a.cend(), b.cbegin(), b.cend(),
                      [](const FuzzyHit &x, const FuzzyHit &y) { return x.unit == y.unit && x.score == y.score; });
}

// find beside scan on every ScanEvery-th lookup: their times, and whether
// they found the same; each row that differs is printed.
bool compareWithScan(const FuzzyIndex &index, const std::vector<QString> &originals)
{
    double findMs = 0;
    double scanMs = 0;
    int rows = 0;
    bool same = true;
    FuzzyIndex::Scratch scratch;
    for (int i = 0; i < LookupCount && size_t(i) * LookupStride < originals.size(); i += ScanEvery) {
        const size_t row = size_t(i) * LookupStride;
        const QString &text = originals[row];
        const MatchTokens tokens = matchTokens(text);
        QElapsedTimer timer;
        timer.start();
        const std::vector<FuzzyHit> found = sortedHits(index.find(text, tokens, MinScore, scratch));
        findMs += double(timer.nsecsElapsed()) / 1e6;
        timer.restart();
        const std::vector<FuzzyHit> scanned = sortedHits(index.scan(text, tokens, MinScore));
        scanMs += double(timer.nsecsElapsed()) / 1e6;
        ++rows;
        if (!sameHits(found, scanned)) {
            same = false;
            std::printf("  FAILED: row %zu: find gives %zu units, the scan %zu: the index lost or changed hits\n",
                        row + 1, found.size(), scanned.size());
        }
    }
    std::printf("  %-40s %9.2f ms  (scan %.1f ms a row over %d rows)\n", "find a row, the same rows", findMs / rows,
                scanMs / rows, rows);
    std::printf("  %-40s %9.4f x   %s\n", "find / scan", findMs / scanMs,
                same ? "same units and scores" : "DIFFERENT units or scores");
    return same;
}

// Makes, writes, reads and looks up one memory; false when a goal is missed.
bool benchMemory(const MemoryCase &memoryCase, int units, const QString &dir, bool &same)
{
    QElapsedTimer timer;
    timer.start();
    SuggestData data = makeSuggestData(memoryCase.script, EntryCount, units);
    const QString path = QStringLiteral("%1/%2.tmx").arg(dir, QLatin1String(memoryCase.name));
    QString error;
    require(writeMemory(data.memory, path, &error), error);
    data.memory = TranslationMemory();
    const qint64 fileBytes = QFileInfo(path).size();
    std::printf("\n%s memory: %d units, TMX %.1f MB (made and written in %.1f s); table of %zu originals\n",
                memoryCase.name, units, double(fileBytes) / 1e6, double(timer.elapsed()) / 1e3, data.originals.size());

    const Loads loads = timeLoads(path, data.originals);
    const FuzzyIndex &index = *loads.read.index;
    std::printf("  read into the index: %.0f ms (cpu %.0f); pretranslate's reading: %.0f ms (cpu %.0f); "
                "bare XML walk: %.0f ms (cpu %.0f); best of %d\n",
                loads.index.wallMs, loads.index.cpuMs, loads.offer.wallMs, loads.offer.cpuMs, loads.bare.wallMs,
                loads.bare.cpuMs, LoadRuns);
    bool met = report("load / pretranslate's reading", loads.index.wallMs / loads.offer.wallMs, "x", LoadGoal);
    report("load / bare XML walk", loads.index.wallMs / loads.bare.wallMs, "x", NoGoal);
    std::printf("  index: %lld units, memoryUse %.1f MB\n", static_cast<long long>(index.size()),
                double(index.memoryUse()) / 1e6);
    met &= report("memoryUse / TMX size", double(index.memoryUse()) / double(fileBytes), "x", MemoryGoal);

    const Lookups lookups = timeLookups(index, data.originals);
    std::printf("  %zu lookups (every %dth row, score >= %d): %lld rows with hits, %lld hits, their scores adding "
                "to %lld; cpu median %.2f ms, p99 %.2f ms, max %.2f ms\n",
                lookups.wallMs.size(), LookupStride, MinScore, static_cast<long long>(lookups.rowsWithHits),
                static_cast<long long>(lookups.hits), static_cast<long long>(lookups.scores),
                percentile(lookups.cpuMs, 0.5), percentile(lookups.cpuMs, 0.99), lookups.cpuMs.back());
    met &= report("lookup median", percentile(lookups.wallMs, 0.5), "ms", memoryCase.medianGoalMs);
    met &= report("lookup 99th percentile", percentile(lookups.wallMs, 0.99), "ms", memoryCase.p99GoalMs);
    same &= compareWithScan(index, data.originals);
    return met;
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    int units = FullUnits;
    QByteArray only;
    for (int i = 1; i < argc; ++i) {
        const QByteArray arg(argv[i]);
        if (arg == "--quick")
            units = QuickUnits;
        else if (arg == "--memory" && i + 1 < argc)
            only = argv[++i];
        else
            only = "?";
        if (!only.isEmpty() && only != "word" && only != "CJK") {
            std::fputs("usage: bench_suggest [--quick] [--memory word|CJK]\n", stderr);
            return 64;
        }
    }
    keepHeapInProcess();
    QTemporaryDir dir;
    require(dir.isValid(), QStringLiteral("no temporary folder"));
    std::printf("suggestions from memories of %d units; wall-clock times, loads the best of %d runs\n", units,
                LoadRuns);
    bool met = true;
    bool same = true;
    for (const MemoryCase &memoryCase :
         {MemoryCase{Script::Words, "word", 5, 50}, MemoryCase{Script::Cjk, "CJK", NoGoal, 100}}) {
        if (only.isEmpty() || only == memoryCase.name)
            met &= benchMemory(memoryCase, units, dir.path(), same);
    }
    std::printf("\n%s\n", !same ? "FAILED: find and the scan disagree"
                          : met ? "every figure within its goal"
                                : "some figures miss their goal");
    return same ? 0 : 1;
}
