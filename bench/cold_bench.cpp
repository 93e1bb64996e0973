// SPDX-License-Identifier: GPL-3.0-or-later
// Times what a person waits for: each figure is a fresh process per run,
// from its start, the median of several runs, beside its floor measured in
// the same runs (they alternate, so both see the same machine), as
// milliseconds and as a ratio, with the goal it is judged by:
//
// - `wendaro-cli check` of the STF file beside the record walk of it, and
//   of its text form beside the record walk of the text (record_walk
//   --text): the least any reader of that file does, reading it whole and
//   looking at each value's every code unit or byte once, with no object per
//   row (the medium and the large tables through a memory map, which spares
//   the copy into a buffer and its fresh pages: the least a reader can pay
//   for a file that size);
// - `wendaro-cli convert` either way beside durable_copy: it reads the input
//   whole, writes the bytes the convert is known to make (the table's other
//   form) and waits for them to be on the disk. A save that is to survive a
//   power cut must sync, and the convert does; `cp` of the input, printed
//   beside it, does not and leaves its bytes in the page cache, so the goal
//   is judged against the durable copy;
// - `wendaro-cli merge` of three tables (STF, text, STF) beside `check` of
//   each of the three, the load it cannot do without (not for the large one);
// - the window from its start until its list has painted rows of the STF
//   file, and of the text file, beside the empty window from its start
//   until its first paint (on the offscreen platform; skipped when the
//   window cannot start);
// - the peak memory (maximum resident set) of check and of convert, beside
//   the size of the file it reads, and so of the window;
// - `wendaro-cli grep -r` over a folder of 300 small tables (hard links to
//   the one file: the page cache is warm either way) beside the record walk
//   of each of them in turn;
// - `wendaro-cli memory --pairs-from` over 300 pairs of the small table and
//   its translation (hard links again, so 32,766 distinct units of 300
//   places each) beside `check` of each of the 600 tables, as many at once
//   as there are cores, as memory reads them;
// - `wendaro-cli pretranslate` of the small table with its values emptied
//   from a memory of 1,000,000 units (the table's texts among them), beside
//   reading the memory: its walk through the XML parser (tmx_walk), and the
//   walk of its bytes printed beside.
//
// Each time of check and convert is followed by its share on the processor,
// in the program's own code (user) and in the kernel for it (system), and
// the floor's: the system share is mostly the first touch of fresh memory,
// which a virtual machine can make cost many times more in one run than in
// the next, while the user share is the program's own work. Before each run
// what the runs before wrote is synced, so that no run pays for another's
// writeback.
//
// The tables (32,766 entries; values like the in-process benches', of 3,000
// code units, and with --large of 32,767) are written once into TABLES_DIR
// and reused. The page cache is not dropped (that needs root and slows every
// other user of the machine): the files are read from memory, as right after
// they were saved.
//
//   cold_bench TABLES_DIR [--large] [--runs N] [--memory-only] [--project-only] [--cli-only]
//              [--size NAME] [--before CLI] [--programs BUILD_DIR]
//
// --memory-only: only the translation memory's figures (memory and
// pretranslate), on the small table. --project-only: only status
// --pairs-from and the walk of a project's folders, on the same pairs.
// --cli-only: only check and convert.
// --size: only the table of that size (small, medium, large). --before: a
// wendaro-cli of an earlier build, whose check and convert run in the same
// runs, each right beside this one's (first in every other run), and are
// printed beside, with its figures over this one's. --programs:
// wendaro-cli, record_walk and durable_copy of that build directory instead
// of this program's own (an optimised build, while this one is built for
// debugging). The window is always this build's.

#include "ChildRun.h"
#include "ColdTables.h"

#include "BenchTable.h"

#include "core/document/DocumentFile.h"
#include "core/document/ProjectTables.h"
#include "core/formats/TmxWriter.h"
#include "core/io/ByteSink.h"
#include "core/text/CodePage.h"
#include "core/translation/TranslationMemory.h"

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <algorithm>
#include <array>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include <sys/statvfs.h>
#include <unistd.h>

using namespace wendaro;
using namespace wendaro::bench;

namespace {

// A ratio of 0 means no goal at this size.
struct Goals
{
    double check = 0;         // times the record walk of the same file
    double convert = 0;       // times the durable copy
    double windowExtraMs = 0; // beyond the empty window
    double cliPeak = 0;       // times the file that check or convert reads
    double windowPeak = 0;    // times the file it opens
};

struct Size
{
    const char *name;
    int valueLength; // 0: the in-process benches' values
    int runs;
    double timeoutSeconds;
    Goals goals;
};

const Size Sizes[] = {
    {"small", 0, 5, 120, {2, 2.5, 60, 0, 0}},
    {"medium", 3000, 3, 600, {2, 2.5, 0, 1.3, 0}},
    {"large", 32767, 3, 1800, {2, 2.5, 0, 1.3, 1.5}},
};

// The runs of one program: their times and peaks, and the first failure.
struct Series
{
    std::vector<double> ms;
    std::vector<double> userMs;
    std::vector<double> systemMs;
    std::vector<double> peaks;
    std::string failure;

    void add(const ChildRun &run)
    {
        if (!run.ok) {
            if (failure.empty())
                failure = run.failure;
            return;
        }
        ms.push_back(run.ms);
        userMs.push_back(run.userMs);
        systemMs.push_back(run.systemMs);
        peaks.push_back(double(run.peakBytes));
    }
    bool ok() const { return failure.empty() && !ms.empty(); }
    double medianMs() const { return median(ms); }
    double medianPeak() const { return median(peaks); }
    // "user 12.3 ms, system 4.56 ms": the processor's share of the time.
    std::string cpuText() const;

    static double median(std::vector<double> values)
    {
        std::sort(values.begin(), values.end());
        const size_t n = values.size();
        return n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
    }
};

std::string bytesText(double bytes)
{
    char text[32];
    if (bytes >= 1e9)
        std::snprintf(text, sizeof text, "%.2g GB", bytes / 1e9);
    else
        std::snprintf(text, sizeof text, "%.3g MB", bytes / 1e6);
    return text;
}

std::string msText(double ms)
{
    char text[32];
    std::snprintf(text, sizeof text, ms >= 100 ? "%.0f ms" : "%.1f ms", ms);
    return text;
}

std::string Series::cpuText() const
{
    return "user " + msText(median(userMs)) + ", system " + msText(median(systemMs));
}

std::string ratioText(double ratio)
{
    char text[32];
    std::snprintf(text, sizeof text, ratio >= 10 ? "%.0fx" : "%.2gx", ratio);
    return text;
}

std::string goalText(double goal, bool met, const std::string &what)
{
    if (goal == 0)
        return "no goal at this size";
    return "goal " + what + ": " + (met ? "met" : "MISSED");
}

struct Floor
{
    std::string name;
    const Series &runs;
};

// "check STF 7.6 MB: 179 ms, floor (record walk) 40 ms, 4.5x, goal ≤ 2x: MISSED"
// The goal is judged against the first floor; a second one is printed
// beside it for comparison: "..., floor (cp of the STF file) 3 ms, 60x, ...".
void printTime(const std::string &what, const Series &work, const Floor &floor, double goal,
               const std::optional<Floor> &other = std::nullopt)
{
    const Series *failed = !work.ok()                   ? &work
                           : !floor.runs.ok()           ? &floor.runs
                           : other && !other->runs.ok() ? &other->runs
                                                        : nullptr;
    if (failed) {
        std::printf("%s: failed: %s\n", what.c_str(), failed->failure.c_str());
        return;
    }
    const double ratio = work.medianMs() / floor.runs.medianMs();
    std::string otherText;
    if (other)
        otherText = ", floor (" + other->name + ") " + msText(other->runs.medianMs()) + ", "
                    + ratioText(work.medianMs() / other->runs.medianMs());
    const std::string judged = other ? " " + floor.name : std::string();
    std::printf("%s: %s, floor (%s) %s, %s%s, %s; %s, floor's %s\n", what.c_str(), msText(work.medianMs()).c_str(),
                floor.name.c_str(), msText(floor.runs.medianMs()).c_str(), ratioText(ratio).c_str(), otherText.c_str(),
                goalText(goal, ratio <= goal, "≤ " + ratioText(goal) + judged).c_str(), work.cpuText().c_str(),
                floor.runs.cpuText().c_str());
}

// fileName: which file the peak is a multiple of, "STF" or "text".
void printPeak(const std::string &what, const Series &work, double fileBytes, const char *fileName, double goal)
{
    if (!work.ok())
        return;
    const double ratio = work.medianPeak() / fileBytes;
    std::printf("peak memory of %s: %s, %s the %s file, %s\n", what.c_str(), bytesText(work.medianPeak()).c_str(),
                ratioText(ratio).c_str(), fileName, goalText(goal, ratio <= goal, "≤ " + ratioText(goal)).c_str());
}

double freeBytes(const QString &dir)
{
    struct statvfs info
    {};
    if (statvfs(QFile::encodeName(dir).constData(), &info) != 0)
        return 0;
    return double(info.f_bavail) * double(info.f_frsize);
}

class ColdBench
{
public:
    ColdBench(QString dir, const CodePage &codePage, int runs)
        : m_dir(std::move(dir)), m_codePage(codePage), m_runs(runs)
    {
    }

    // wendaro-cli and the floors of the build in dir, which need not be
    // the build that made this program (an optimised one).
    void usePrograms(const std::string &dir)
    {
        m_cli = dir + "/src/cli/wendaro-cli";
        m_walk = dir + "/bench/record_walk";
        m_copy = dir + "/bench/durable_copy";
    }

    // Only check and convert; each also by before, when not empty.
    void compareCli(bool cliOnly, std::string before)
    {
        m_cliOnly = cliOnly;
        m_before = std::move(before);
        if (cliOnly)
            m_windowFailure = "not measured (--cli-only)";
    }

    // The window is tried once without a file: a window that cannot start
    // skips its figures, not the whole benchmark.
    void probeWindow()
    {
        const ChildRun run = window({}, 60);
        m_windowFailure = run.ok ? std::string() : run.failure;
        if (!run.ok)
            std::printf("window: skipped: the empty window did not paint (%s)\n", run.failure.c_str());
    }

    void measure(const Size &size)
    {
        const QString stf = path(QStringLiteral("%1.stf").arg(QLatin1String(size.name)));
        const QString text = path(QStringLiteral("%1.txt").arg(QLatin1String(size.name)));
        if (!prepare(size, stf, text))
            return;
        const double stfBytes = double(QFileInfo(stf).size());
        const double textBytes = double(QFileInfo(text).size());
        const int runs = m_runs > 0 ? m_runs : size.runs;
        const std::string label = bytesText(stfBytes);
        std::printf("\n== %s table: 32,766 entries, %s; %s STF, %s text; median of %d runs\n", size.name,
                    size.valueLength ? ("values of " + std::to_string(size.valueLength) + " code units").c_str()
                                     : "values of 0 to 400 code units",
                    bytesText(stfBytes).c_str(), bytesText(textBytes).c_str(), runs);
        std::fflush(stdout);

        TableRuns r;
        r.stf = local(stf);
        r.text = local(text);
        // The medium and the large tables are walked through a memory map:
        // no copy into a buffer, no fresh pages, the lowest floor there is.
        r.mapped = size.valueLength != 0;
        r.merges = size.valueLength != 32767 && !m_cliOnly;
        r.timeout = size.timeoutSeconds;
        for (int run = 0; run < runs; ++run)
            runOnce(r, run);
        printFigures(r, size, label, stfBytes, textBytes);
        std::fflush(stdout);
        if (size.valueLength == 0 && !m_cliOnly) {
            measureGrep(stf, label, runs);
            measureMemory(stf, label, runs);
            measurePretranslate(stf, label, runs);
        }
    }

    // The memory's figures alone, on the small table.
    bool measureMemoryOnly(bool projectOnly)
    {
        const Size &size = Sizes[0];
        const QString stf = path(QStringLiteral("%1.stf").arg(QLatin1String(size.name)));
        const QString text = path(QStringLiteral("%1.txt").arg(QLatin1String(size.name)));
        if (!prepare(size, stf, text))
            return false;
        const std::string label = bytesText(double(QFileInfo(stf).size()));
        const int runs = m_runs > 0 ? m_runs : size.runs;
        if (projectOnly) {
            std::vector<std::string> tables;
            if (!pairFolders(stf, tables))
                return false;
            measureProjectStatus(path(QStringLiteral("memory-pairs")), tables, label, runs);
            return true;
        }
        measureMemory(stf, label, runs);
        measurePretranslate(stf, label, runs);
        return true;
    }

    // MemoryPairs pairs of the table and its translation, hard links in
    // memory-pairs/en and memory-pairs/ja: the originals' paths in tables,
    // then the translations'.
    static constexpr int MemoryPairs = 300;
    bool pairFolders(const QString &stf, std::vector<std::string> &tables)
    {
        const QString translated = path(QStringLiteral("small-ja.stf"));
        if (!writeOnce(translated, Values::Translated))
            return false;
        const QString folder = path(QStringLiteral("memory-pairs"));
        for (const auto &[side, table] :
             {std::pair(QStringLiteral("en"), stf), std::pair(QStringLiteral("ja"), translated)}) {
            QDir().mkpath(QDir(folder).filePath(side));
            for (int i = 0; i < MemoryPairs; ++i) {
                const QString link = QDir(folder).filePath(
                    QStringLiteral("%1/t%2.stf").arg(side).arg(i, 3, 10, QLatin1Char('0')));
                if (!linked(table, link))
                    return false;
                tables.push_back(local(link));
            }
        }
        return true;
    }

    // memory --pairs-from over MemoryPairs pairs of the table and its
    // translation (hard links, as for grep), beside check of each of the
    // tables, run on every core at once.
    void measureMemory(const QString &stf, const std::string &label, int runs)
    {
        const QString folder = path(QStringLiteral("memory-pairs"));
        std::vector<std::string> tables;
        if (!pairFolders(stf, tables))
            return;
        const std::string out = local("memory.tmx");
        std::printf("\n== memory over %d pairs of %s tables (hard links to one table and to its translation), "
                    "beside check of the %d tables on every core; median of %d runs\n",
                    MemoryPairs, label.c_str(), 2 * MemoryPairs, runs);
        std::fflush(stdout);
        Series checks, memory;
        for (int run = 0; run < runs; ++run) {
            checks.add(checksOnEveryCore(tables, 120));
            memory.add(child({m_cli, "memory", "--pairs-from", "-o", out, "--source-lang=en", "--target-lang=ja",
                              local(QDir(folder).filePath(QStringLiteral("en"))),
                              local(QDir(folder).filePath(QStringLiteral("ja")))},
                             1800));
        }
        const double tmxBytes = double(QFileInfo(QFile::decodeName(QByteArray::fromStdString(out))).size());
        std::remove(out.c_str());
        printTime("memory of " + std::to_string(MemoryPairs) + " pairs of " + label + " (" + bytesText(tmxBytes)
                      + " of TMX)",
                  memory, {"check of each table, on every core", checks}, 2);
        if (memory.ok())
            std::printf("peak memory of memory: %s\n", bytesText(memory.medianPeak()).c_str());
        std::fflush(stdout);
        measureProjectStatus(folder, tables, label, runs);
    }

    // status --pairs-from over the same pairs, beside status of each pair
    // one after another divided by the cores: what counting them on every
    // core at best takes. And the walk of the two folders, all the window
    // waits for before the project panel shows its rows.
    void measureProjectStatus(const QString &folder, const std::vector<std::string> &tables, const std::string &label,
                              int runs)
    {
        const size_t pairs = tables.size() / 2;
        const unsigned cores = std::max(1u, std::thread::hardware_concurrency());
        const std::string originals = local(QDir(folder).filePath(QStringLiteral("en")));
        const std::string translations = local(QDir(folder).filePath(QStringLiteral("ja")));
        std::printf("\n== status --pairs-from over %zu pairs of %s tables, beside status of each pair in turn "
                    "divided by the %u cores; median of %d runs\n",
                    pairs, label.c_str(), cores, runs);
        std::fflush(stdout);
        Series eachInTurn, project;
        for (int run = 0; run < runs; ++run) {
            ChildRun all;
            all.ok = true;
            for (size_t i = 0; i < pairs && all.ok; ++i) {
                const ChildRun one = child({CliPath, "status", tables[pairs + i], "--against", tables[i]}, 120);
                all.ok = one.ok;
                all.failure = one.failure;
                all.ms += one.ms / cores;
                all.peakBytes = std::max(all.peakBytes, one.peakBytes);
            }
            eachInTurn.add(all);
            project.add(child({CliPath, "status", "--pairs-from", originals, translations}, 1800));
        }
        printTime("status --pairs-from of " + std::to_string(pairs) + " pairs of " + label, project,
                  {"status of each pair in turn / cores", eachInTurn}, 2);
        std::vector<double> walks;
        for (int run = 0; run < runs; ++run) {
            const auto start = std::chrono::steady_clock::now();
            const std::vector<ProjectTable> found = projectTables(QDir(folder).filePath(QStringLiteral("en")),
                                                                  QDir(folder).filePath(QStringLiteral("ja")));
            walks.push_back(
                std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count());
            if (found.size() != pairs)
                std::printf("the walk found %zu tables, not %zu\n", found.size(), pairs);
        }
        std::sort(walks.begin(), walks.end());
        const double walk = walks[walks.size() / 2];
        std::printf("project panel's first rows (the walk of both folders, in this process): %s, %s\n",
                    msText(walk).c_str(), goalText(100, walk <= 100, "≤ 100 ms").c_str());
        std::fflush(stdout);
    }

    // pretranslate of the table with every value empty against a memory of
    // MemoryUnits units, beside reading the memory: its XML walk, and the
    // walk of its bytes printed beside.
    void measurePretranslate(const QString &stf, const std::string &label, int runs)
    {
        constexpr int MemoryUnits = 1000000;
        const QString empty = path(QStringLiteral("small-empty.stf"));
        if (!writeOnce(empty, Values::Empty))
            return;
        const QString tmx = path(QStringLiteral("memory-1000000.tmx"));
        const bool writing = !QFileInfo::exists(tmx);
        if (writing) {
            std::printf("writing %s\n", qPrintable(tmx));
            std::fflush(stdout);
            const QString part = tmx + QStringLiteral(".part");
            QString error;
            if (!writeMemory(stf, MemoryUnits, part, &error) || !QFile::rename(part, tmx)) {
                std::printf("pretranslate: skipped: cannot write the memory: %s\n", qPrintable(error));
                QFile::remove(part);
                return;
            }
        }
        const std::string out = local("pretranslated.stf");
        std::printf("\n== pretranslate of the %s table, every value empty, against a memory of %d units (%s), "
                    "beside reading the memory; median of %d runs\n",
                    label.c_str(), MemoryUnits, bytesText(double(QFileInfo(tmx).size())).c_str(), runs);
        std::fflush(stdout);
        Series walk, bytes, pretranslate;
        for (int run = 0; run < runs; ++run) {
            walk.add(child({TmxWalkPath, local(tmx)}, 600));
            bytes.add(child({m_walk, local(tmx), "--text", "--mmap"}, 600));
            pretranslate.add(child({m_cli, "pretranslate", local(stf), local(empty), local(tmx), out}, 600));
            std::remove(out.c_str());
        }
        printTime("pretranslate " + label + " from " + std::to_string(MemoryUnits) + " units", pretranslate,
                  {"XML walk of the memory", walk}, 2, Floor{"byte walk of the memory, memory-mapped", bytes});
        // A child shares this process's pages until it starts, and its peak
        // would count the memory just built here.
        if (pretranslate.ok() && !writing)
            std::printf("peak memory of pretranslate: %s\n", bytesText(pretranslate.medianPeak()).c_str());
        else if (pretranslate.ok())
            std::printf("peak memory of pretranslate: not measured in the run that wrote the memory\n");
        std::fflush(stdout);
    }

    // grep over a folder of GrepTables names of the table, searching names
    // and values for the last row's name, which is found once or so a table.
    void measureGrep(const QString &stf, const std::string &label, int runs)
    {
        constexpr int GrepTables = 300;
        const QString folder = path(QStringLiteral("grep-folder"));
        QDir().mkpath(folder);
        std::vector<std::string> tables;
        for (int i = 0; i < GrepTables; ++i) {
            const QString table = QDir(folder).filePath(QStringLiteral("t%1.stf").arg(i, 3, 10, QLatin1Char('0')));
            if (!QFileInfo::exists(table)
                && ::link(QFile::encodeName(stf).constData(), QFile::encodeName(table).constData()) != 0
                && !QFile::copy(stf, table)) {
                std::printf("grep: skipped: cannot make %s\n", qPrintable(table));
                return;
            }
            tables.push_back(local(table));
        }
        LoadedDocument document;
        QString error;
        if (!loadDocument(stf, m_codePage, document, &error) || document.rows.isEmpty()) {
            std::printf("grep: skipped: %s\n", qPrintable(error));
            return;
        }
        const std::string pattern = document.rows.at(document.rows.count() - 1).name.toStdString();
        std::printf("\n== grep -r over %d tables of %s (%s in all), looking for \"%s\"; median of %d runs\n",
                    GrepTables, label.c_str(), bytesText(GrepTables * double(QFileInfo(stf).size())).c_str(),
                    pattern.c_str(), runs);
        Series walk, grep;
        for (int run = 0; run < runs; ++run) {
            ChildRun walked;
            walked.ok = true;
            for (const std::string &table : tables) {
                const ChildRun one = child({m_walk, table}, 120);
                walked.ok = walked.ok && one.ok;
                walked.failure = walked.failure.empty() ? one.failure : walked.failure;
                walked.ms += one.ms;
                walked.peakBytes = std::max(walked.peakBytes, one.peakBytes);
            }
            walk.add(walked);
            grep.add(child({m_cli, "grep", "-r", "-c", pattern, local(folder)}, 600));
        }
        printTime("grep -r " + std::to_string(GrepTables) + " tables of " + label, grep,
                  {"record walk of each table in turn", walk}, 2);
        std::fflush(stdout);
    }

private:
    // check and convert by the earlier build, each beside this build's.
    struct BeforeSeries
    {
        Series checkStf, checkText, toText, toStf;

        // after: this build's check STF, check text, convert to text, to STF.
        void print(const std::string &stfLabel, const std::string &textLabel,
                   const std::array<const Series *, 4> &after) const
        {
            const std::string what[] = {"check " + stfLabel, "check " + textLabel, "convert " + stfLabel + " → text",
                                        "convert " + textLabel + " → STF"};
            const Series *earlier[] = {&checkStf, &checkText, &toText, &toStf};
            for (size_t k = 0; k < after.size(); ++k) {
                if (!earlier[k]->ok() || !after[k]->ok())
                    continue;
                std::printf("before: %s: %s (%s), now %s (%s), %s as long now; peak before %s, now %s\n",
                            what[k].c_str(), msText(earlier[k]->medianMs()).c_str(), earlier[k]->cpuText().c_str(),
                            msText(after[k]->medianMs()).c_str(), after[k]->cpuText().c_str(),
                            ratioText(after[k]->medianMs() / earlier[k]->medianMs()).c_str(),
                            bytesText(earlier[k]->medianPeak()).c_str(), bytesText(after[k]->medianPeak()).c_str());
            }
        }
    };

    // The runs of every program on one table, and what they run on.
    struct TableRuns
    {
        std::string stf;
        std::string text;
        bool mapped = false;
        bool merges = false;
        double timeout = 0;
        Series walkStf, checkStf, walkText, checkText, cpStf, copyToText, toText, cpText, copyToStf, toStf, emptyWindow,
            filledWindow, textWindow, merge, threeChecks;
        BeforeSeries before;
    };

    // This build's wendaro-cli with args into now and, with --before, the
    // earlier build's into earlier, one right after the other; the earlier
    // goes first in every other run, so that what a run leaves the machine
    // with (memory just freed, a file just written) falls on both alike.
    // removed is removed after each.
    void runBoth(Series &now, Series &earlier, std::vector<std::string> args, const std::string &removed,
                 double timeout, bool earlierFirst) const
    {
        const auto one = [&](Series &series, const std::string &cli) {
            args.front() = cli;
            series.add(child(args, timeout));
            if (!removed.empty())
                std::remove(removed.c_str());
        };
        if (m_before.empty()) {
            one(now, m_cli);
            return;
        }
        one(earlierFirst ? earlier : now, earlierFirst ? m_before : m_cli);
        one(earlierFirst ? now : earlier, earlierFirst ? m_cli : m_before);
    }

    // One run of every program on the table, each floor beside its work.
    void runOnce(TableRuns &r, int run) const
    {
        const std::string copy = local("copy");
        const std::string outText = local("out.txt");
        const std::string outStf = local("out.stf");
        std::vector<std::string> walkStfArgs{m_walk, r.stf};
        std::vector<std::string> walkTextArgs{m_walk, r.text, "--text"};
        if (r.mapped) {
            walkStfArgs.push_back("--mmap");
            walkTextArgs.push_back("--mmap");
        }
        const double timeout = r.timeout;
        const bool earlierFirst = run % 2 == 1;
        BeforeSeries &before = r.before;
        r.walkStf.add(child(walkStfArgs, timeout));
        runBoth(r.checkStf, before.checkStf, {"", "check", r.stf}, {}, timeout, earlierFirst);
        r.walkText.add(child(walkTextArgs, timeout));
        runBoth(r.checkText, before.checkText, {"", "check", r.text}, {}, timeout, earlierFirst);

        r.cpStf.add(child({"/bin/cp", r.stf, copy}, timeout));
        std::remove(copy.c_str());
        r.copyToText.add(child({m_copy, r.stf, r.text, outText}, timeout));
        std::remove(outText.c_str());
        runBoth(r.toText, before.toText, {"", "convert", r.stf, outText}, outText, timeout, earlierFirst);

        r.cpText.add(child({"/bin/cp", r.text, copy}, timeout));
        std::remove(copy.c_str());
        r.copyToStf.add(child({m_copy, r.text, r.stf, outStf}, timeout));
        std::remove(outStf.c_str());
        runBoth(r.toStf, before.toStf, {"", "convert", r.text, outStf}, outStf, timeout, earlierFirst);

        if (r.merges) {
            r.merge.add(child({m_cli, "merge", "-o", outStf, r.stf, r.text, r.stf}, timeout));
            std::remove(outStf.c_str());
            r.threeChecks.add(checksOf({r.stf, r.text, r.stf}, timeout));
        }
        if (m_windowFailure.empty()) {
            r.emptyWindow.add(window({}, 60));
            r.filledWindow.add(window(r.stf, timeout));
            r.textWindow.add(window(r.text, timeout));
        }
    }

    void printFigures(const TableRuns &r, const Size &size, const std::string &label, double stfBytes,
                      double textBytes) const
    {
        const std::string stfLabel = "STF " + label;
        const std::string textLabel = "text " + bytesText(textBytes);
        const std::string walked = r.mapped ? "record walk, memory-mapped" : "record walk";
        const Goals &goals = size.goals;
        printTime("check " + stfLabel, r.checkStf, {walked, r.walkStf}, goals.check);
        printTime("check " + textLabel, r.checkText, {walked + ", text", r.walkText}, goals.check);
        printTime("convert " + stfLabel + " → text", r.toText, {"durable copy", r.copyToText}, goals.convert,
                  Floor{"cp of the STF file", r.cpStf});
        printTime("convert " + textLabel + " → STF", r.toStf, {"durable copy", r.copyToStf}, goals.convert,
                  Floor{"cp of the text file", r.cpText});
        if (!m_before.empty())
            r.before.print(stfLabel, textLabel, {&r.checkStf, &r.checkText, &r.toText, &r.toStf});
        if (r.merges)
            printTime("merge of three " + label, r.merge, {"check of each", r.threeChecks}, 0);
        if (m_windowFailure.empty()) {
            printWindow(stfLabel, r.filledWindow, r.emptyWindow, goals.windowExtraMs);
            printWindow(textLabel, r.textWindow, r.emptyWindow, goals.windowExtraMs);
        }
        printPeak("check " + stfLabel, r.checkStf, stfBytes, "STF", goals.cliPeak);
        printPeak("check " + textLabel, r.checkText, textBytes, "text", goals.cliPeak);
        printPeak("convert " + stfLabel + " → text", r.toText, stfBytes, "STF", goals.cliPeak);
        printPeak("convert " + textLabel + " → STF", r.toStf, textBytes, "text", goals.cliPeak);
        if (m_windowFailure.empty()) {
            printPeak("the window with " + stfLabel, r.filledWindow, stfBytes, "STF", goals.windowPeak);
            printPeak("the window with " + textLabel, r.textWindow, textBytes, "text", goals.windowPeak);
        }
    }

    // Writes a variant of the small table once; false after saying why not.
    bool writeOnce(const QString &table, Values values)
    {
        if (QFileInfo::exists(table))
            return true;
        std::printf("writing %s\n", qPrintable(table));
        std::fflush(stdout);
        const QString part = table + QStringLiteral(".part");
        QString error;
        if (!writeStfTable(part, 0, m_codePage, &error, values) || !QFile::rename(part, table)) {
            std::printf("%s: skipped: cannot write it: %s\n", qPrintable(table), qPrintable(error));
            QFile::remove(part);
            return false;
        }
        return true;
    }

    static bool linked(const QString &table, const QString &link)
    {
        if (QFileInfo::exists(link)
            || ::link(QFile::encodeName(table).constData(), QFile::encodeName(link).constData()) == 0
            || QFile::copy(table, link))
            return true;
        std::printf("skipped: cannot make %s\n", qPrintable(link));
        return false;
    }

    // A memory of units units: first the table's values, each with its
    // translation as the translated table has it, then made-up texts of the
    // same mix, 20 to 80 code units, each once.
    bool writeMemory(const QString &stf, int units, const QString &out, QString *error) const
    {
        LoadedDocument document;
        if (!loadDocument(stf, m_codePage, document, error))
            return false;
        TranslationMemory memory{QStringLiteral("en"),          QStringLiteral("ja"),
                                 QStringLiteral("bench"),       {},
                                 {QStringLiteral("bench.stf")}, {}};
        memory.units.reserve(size_t(units));
        for (qsizetype i = 0; i < document.rows.count() && qsizetype(memory.units.size()) < units; ++i) {
            const QString value = document.rows.at(i).value.toString();
            if (!value.isEmpty())
                memory.units.push_back({value, translatedValue(value), {{0, qint16(i % 32767)}}});
        }
        TableMaker maker;
        for (int i = int(memory.units.size()); i < units; ++i) {
            const QString source = maker.valueOfLength(20 + i % 61) + QStringLiteral(" #%1").arg(i);
            memory.units.push_back({source, translatedValue(source), {{0, qint16(i % 32767)}}});
        }
        QFile file(out);
        if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
            *error = file.errorString();
            return false;
        }
        struct FileSink final : ByteSink
        {
            QFile &file;
            explicit FileSink(QFile &f) : file(f) {}
            bool append(QByteArrayView bytes) override
            {
                return file.write(bytes.data(), bytes.size()) == bytes.size();
            }
        } sink(file);
        if (!writeTmx(memory, sink, error)) {
            if (error->isEmpty())
                *error = file.errorString();
            return false;
        }
        return file.flush();
    }

    // check of each of the tables, as many at once as there are cores: the
    // time from the first start to the last exit, the largest peak.
    ChildRun checksOnEveryCore(const std::vector<std::string> &tables, double timeoutSeconds) const
    {
        const unsigned workers = std::max(1u, std::thread::hardware_concurrency());
        std::atomic<size_t> next = 0;
        std::mutex mutex;
        ChildRun all;
        all.ok = true;
        const auto start = std::chrono::steady_clock::now();
        std::vector<std::thread> threads;
        for (unsigned w = 0; w < workers; ++w) {
            threads.emplace_back([&, w] {
                ChildOptions options;
                options.timeoutSeconds = timeoutSeconds;
                options.stderrPath = local(QStringLiteral("stderr-%1.log").arg(w).toLatin1().constData());
                for (size_t i = next++; i < tables.size(); i = next++) {
                    const ChildRun one = runChild({m_cli, "check", tables[i]}, options);
                    const std::lock_guard lock(mutex);
                    if (!one.ok && all.ok) {
                        all.ok = false;
                        all.failure = one.failure;
                    }
                    all.peakBytes = std::max(all.peakBytes, one.peakBytes);
                }
            });
        }
        for (std::thread &thread : threads)
            thread.join();
        all.ms = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
        return all;
    }

    static constexpr const char *CliPath = WENDARO_CLI_PATH;
    static constexpr const char *TmxWalkPath = WENDARO_TMX_WALK_PATH;
    static constexpr const char *AppPath = WENDARO_APP_PATH;
    static constexpr const char *WalkPath = WENDARO_WALK_PATH;
    static constexpr const char *CopyPath = WENDARO_COPY_PATH;

    // The checks of the files one after the other, as one run: their times
    // added, the largest peak.
    ChildRun checksOf(const std::vector<std::string> &files, double timeoutSeconds) const
    {
        ChildRun all;
        all.ok = true;
        for (const std::string &file : files) {
            const ChildRun one = child({m_cli, "check", file}, timeoutSeconds);
            if (!one.ok)
                return one;
            all.ms += one.ms;
            all.peakBytes = std::max(all.peakBytes, one.peakBytes);
        }
        return all;
    }

    QString path(const QString &name) const { return QDir(m_dir).filePath(name); }
    std::string local(const QString &file) const { return QFile::encodeName(file).toStdString(); }
    std::string local(const char *name) const { return local(path(QLatin1String(name))); }

    ChildRun child(const std::vector<std::string> &argv, double timeoutSeconds) const
    {
        ChildOptions options;
        options.timeoutSeconds = timeoutSeconds;
        options.stderrPath = local("stderr.log");
        return runChild(argv, options);
    }

    // The window prints a line once painted and quits (WENDARO_BENCH_PAINTED).
    ChildRun window(const std::string &file, double timeoutSeconds) const
    {
        ChildOptions options;
        options.environment = {"WENDARO_BENCH_PAINTED=1"};
        options.untilLine = true;
        options.timeoutSeconds = timeoutSeconds;
        options.stderrPath = local("stderr.log");
        std::vector<std::string> argv{AppPath};
        if (!file.empty())
            argv.push_back(file);
        return runChild(argv, options);
    }

    void printWindow(const std::string &label, const Series &filled, const Series &empty, double goalExtraMs) const
    {
        const std::string what = "window " + label + ", start to rows painted";
        if (!filled.ok() || !empty.ok()) {
            std::printf("%s: skipped: %s\n", what.c_str(), (filled.ok() ? empty.failure : filled.failure).c_str());
            return;
        }
        const double extra = filled.medianMs() - empty.medianMs();
        std::printf("%s: %s, floor (empty window, start to first paint) %s, %s, +%s, %s\n", what.c_str(),
                    msText(filled.medianMs()).c_str(), msText(empty.medianMs()).c_str(),
                    ratioText(filled.medianMs() / empty.medianMs()).c_str(), msText(extra).c_str(),
                    goalText(goalExtraMs, extra <= goalExtraMs, "≤ +" + std::to_string(int(goalExtraMs)) + " ms")
                        .c_str());
    }

    // Writes the tables that are missing: the STF table, then its text form
    // through wendaro-cli itself. Partial files are never taken for tables.
    bool prepare(const Size &size, const QString &stf, const QString &text)
    {
        const bool haveStf = QFileInfo::exists(stf);
        const bool haveText = QFileInfo::exists(text);
        if (size.valueLength == 32767) {
            // 2.15 GB of STF and about 1.5 GB of text, and as much again for
            // the outputs of convert while it runs.
            const double needed = (haveStf ? 0 : 2.2e9) + (haveText ? 0 : 1.6e9) + 3.8e9;
            const double free = freeBytes(m_dir);
            std::printf("\nlarge table: %s free in %s, about %s needed\n", bytesText(free).c_str(), qPrintable(m_dir),
                        bytesText(needed).c_str());
            if (free < needed) {
                std::printf("large table: skipped: not enough free disk\n");
                return false;
            }
        }
        QString error;
        if (!haveStf) {
            std::printf("writing %s\n", qPrintable(stf));
            std::fflush(stdout);
            const QString part = stf + QStringLiteral(".part");
            if (!writeStfTable(part, size.valueLength, m_codePage, &error) || !QFile::rename(part, stf)) {
                std::printf("%s table: skipped: cannot write it: %s\n", size.name, qPrintable(error));
                QFile::remove(part);
                return false;
            }
        }
        if (!haveText) {
            std::printf("writing %s\n", qPrintable(text));
            std::fflush(stdout);
            // Not ending in .stf, the partial file is written as text.
            const QString part = text + QStringLiteral(".part");
            const ChildRun run = child({m_cli, "convert", local(stf), local(part)}, 3600);
            if (!run.ok || !QFile::rename(part, text)) {
                std::printf("%s table: skipped: cannot write its text form: %s\n", size.name, run.failure.c_str());
                QFile::remove(part);
                return false;
            }
        }
        return true;
    }

    QString m_dir;
    const CodePage &m_codePage;
    int m_runs;
    std::string m_windowFailure;
    bool m_cliOnly = false;
    std::string m_before;
    // The programs measured: those of this build, or of --programs.
    std::string m_cli = CliPath;
    std::string m_walk = WalkPath;
    std::string m_copy = CopyPath;
};

} // namespace

int main(int argc, char **argv)
{
    QString dir;
    bool large = false;
    bool memoryOnly = false;
    bool cliOnly = false;
    bool projectOnly = false;
    std::string before;
    QByteArray onlySize;
    std::string programs;
    int runs = 0;
    for (int i = 1; i < argc; ++i) {
        const QByteArray arg(argv[i]);
        if (arg == "--large")
            large = true;
        else if (arg == "--memory-only")
            memoryOnly = true;
        else if (arg == "--cli-only")
            cliOnly = true;
        else if (arg == "--project-only")
            projectOnly = true;
        else if (arg == "--before" && i + 1 < argc)
            before = argv[++i];
        else if (arg == "--programs" && i + 1 < argc)
            programs = argv[++i];
        else if (arg == "--size" && i + 1 < argc)
            onlySize = argv[++i];
        else if (arg == "--runs" && i + 1 < argc)
            runs = std::atoi(argv[++i]);
        else if (dir.isEmpty() && !arg.startsWith('-'))
            dir = QFile::decodeName(arg);
        else
            runs = -1; // unknown: the usage below
    }
    if (dir.isEmpty() || runs < 0) {
        std::fputs("usage: cold_bench TABLES_DIR [--large] [--runs N] [--memory-only] [--project-only] [--cli-only] "
                   "[--size NAME]\n"
                   "                  [--before CLI] [--programs BUILD_DIR]\n",
                   stderr);
        return 64;
    }
    if (!QDir().mkpath(dir)) {
        std::fprintf(stderr, "cold_bench: cannot make %s\n", qPrintable(dir));
        return 1;
    }
    setenv("QT_QPA_PLATFORM", "offscreen", 1);
    QString error;
    const std::optional<CodePage> codePage = CodePage::fromEnvironment(&error);
    if (!codePage) {
        std::fprintf(stderr, "cold_bench: %s\n", qPrintable(error));
        return 1;
    }

    std::printf("cold: a fresh process per run, timed from its start, median of several runs, each beside its\n"
                "floor in the same runs; the page cache stays warm (not dropped), so files are read from memory\n");
    ColdBench bench(dir, *codePage, runs);
    if (memoryOnly)
        return bench.measureMemoryOnly(false) ? 0 : 1;
    if (projectOnly)
        return bench.measureMemoryOnly(true) ? 0 : 1;
    bench.compareCli(cliOnly, before);
    if (!programs.empty())
        bench.usePrograms(programs);
    if (!cliOnly)
        bench.probeWindow();
    for (const Size &size : Sizes) {
        if (!onlySize.isEmpty() && onlySize != size.name)
            continue;
        if (size.valueLength == 32767 && !large) {
            std::printf("\nlarge table (2.1 GB): not run; ./dev bench --large runs it (about 8 GB of disk, minutes)\n");
            continue;
        }
        bench.measure(size);
    }
    return 0;
}
