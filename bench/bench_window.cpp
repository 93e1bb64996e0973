// SPDX-License-Identifier: GPL-3.0-or-later
// Times the window on a full table (32,766 entries): opening the file until
// the list has painted its first rows, a click on a column header until the
// sorted rows are painted, and scrolling through the whole list a page at a
// time; then the find bar: each key typed until its row is found, the count
// and the filter; last, on a full table whose every value holds one word,
// すべて置換 of that word and its undo. The window is real, shown on the offscreen platform with
// the program's fonts; the file is opened as a file dropped on the list is.
//
// bench_window FILE instead times the window on that table (any size), warm
// and in-process: for each thing a person does, how long until it is painted
// and the longest time the event loop went without running meanwhile (the
// find bar's count and filter on the largest table included). With
// ORIGINAL after it, also the original opened beside it, its states, a
// keystroke in the translation and done-and-next, and the peak memory.

#include "BenchTable.h"
#include "BenchTiming.h"

#include "core/text/CodePage.h"
#include "core/document/DocumentFile.h"
#include "core/model/EntryList.h"
#include "control/find/RowFinder.h"
#include "control/recovery/RecoveryJournal.h"
#include "ui/EntryListView.h"
#include "ui/MainWindow.h"
#include "ui/WindowFonts.h"
#include "ui/WindowServices.h"

#include <QAction>
#include <QApplication>
#include <QFileInfo>
#include <QCheckBox>
#include <QLineEdit>
#include <QToolButton>
#include <QDialog>
#include <QHeaderView>
#include <QHelpEvent>
#include <QLabel>
#include <QTimer>
#include <QToolTip>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QTest>

#include <sys/resource.h>

#include <algorithm>
#include <cstdio>
#include <memory>
#include <vector>

using namespace wendaro;
using namespace wendaro::bench;

namespace {

constexpr int Runs = 9;
constexpr double OpenTargetMs = 100.0;
constexpr double SortTargetMs = 30.0;
constexpr double StatesTargetMs = 100.0;
constexpr double KeystrokeTargetMs = 5.0;
constexpr double DoneAndNextTargetMs = 10.0;
// A scroll step that takes longer than a frame at 60 Hz shows as a stall.
constexpr double ScrollStepTargetMs = 1000.0 / 60.0;

void require(bool ok, const QString &what)
{
    if (!ok)
        qFatal("bench_window: %s", qPrintable(what));
}

// Counts the list's paints, to be sure that each timed step ends with the
// rows painted and not merely with a paint scheduled.
class PaintCounter : public QObject
{
public:
    int paints = 0;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::Paint)
            ++paints;
        return QObject::eventFilter(watched, event);
    }
};

bool report(const char *what, const Time &time, double targetMs)
{
    const bool met = time.wallMs < targetMs;
    std::printf("%-34s %10.2f %10.2f   %s\n", what, time.wallMs, time.cpuMs,
                met ? "ok" : qPrintable(QStringLiteral("over %1 ms").arg(targetMs)));
    return met;
}

// The longest time the event loop went without running a 5 ms timer, as a
// person would see it: input and paints wait as long.
class LoopProbe : public QObject
{
public:
    LoopProbe()
    {
        m_timer.setInterval(5);
        m_timer.setTimerType(Qt::PreciseTimer);
        connect(&m_timer, &QTimer::timeout, this, [this] {
            m_longestMs = std::max(m_longestMs, double(m_since.nsecsElapsed()) / 1e6);
            m_since.start();
        });
        m_timer.start();
        m_since.start();
    }
    void restart()
    {
        m_longestMs = 0;
        m_since.start();
    }
    double longestMs() const { return m_longestMs; }

private:
    QTimer m_timer;
    QElapsedTimer m_since;
    double m_longestMs = 0;
};

// Lets the event loop run for a while, so that work a step left queued
// (layouts, deferred paints, freeing) is counted with it.
void settle(int ms = 100)
{
    QElapsedTimer timer;
    timer.start();
    while (timer.elapsed() < ms)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
}

constexpr double BlockedTargetMs = 100.0;
constexpr double FileSortTargetMs = 300.0;

bool reportStep(const char *what, double wallMs, double blockedMs, double wallTargetMs = 0)
{
    const bool blockedOk = blockedMs < BlockedTargetMs;
    const bool wallOk = wallTargetMs <= 0 || wallMs < wallTargetMs;
    QStringList misses;
    if (!blockedOk)
        misses << QStringLiteral("blocked over %1 ms").arg(BlockedTargetMs);
    if (!wallOk)
        misses << QStringLiteral("over %1 ms").arg(wallTargetMs);
    const QString verdict = misses.isEmpty() ? QStringLiteral("ok") : misses.join(QStringLiteral(", "));
    std::printf("%-40s %10.1f %12.1f   %s\n", what, wallMs, blockedMs, qPrintable(verdict));
    return blockedOk && wallOk;
}

constexpr double FindKeyTargetMs = 20.0;

// Whether the finder runs a find, and whether it runs any search, as it
// tells while this lives.
struct FinderSearches
{
    explicit FinderSearches(RowFinder &finder)
    {
        QObject::connect(&finder, &RowFinder::searchesChanged, &following, [this](bool finds, bool counts) {
            finding = finds;
            busy = finds || counts;
        });
    }
    QObject following;
    bool finding = false;
    bool busy = false;
};

// The find bar on the table the window shows: the name of the last row typed
// a key at a time (its first match lies at the end, so each key searches the
// whole table), then the filter on, F3, the filter off and Escape. Each key is
// timed until its row is found; the count and the filter run on meanwhile,
// and the next key supersedes them. keyTargetMs 0: no target for a key.
void waitFor(const std::function<bool()> &done)
{
    QElapsedTimer waited;
    waited.start();
    while (!done()) {
        require(waited.elapsed() < 120000, QStringLiteral("the finder did not finish"));
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
    }
}

// The word typed in the find bar a key at a time: each key's best of Runs
// runs, the selection cleared before each run, as the other figures here;
// the worst single key is shown beside.
bool benchTyping(MainWindow &window, QLineEdit &text, const QString &word, const FinderSearches &searches,
                 LoopProbe &probe, double keyTargetMs)
{
    QElapsedTimer wall;
    std::vector<double> bestKey(size_t(word.size()), 1e300);
    double worstKey = 0;
    double slowestCount = 0;
    settle();
    probe.restart();
    for (int run = 0; run < Runs; ++run) {
        text.clear();
        window.controller().selection().clear();
        waitFor([&] { return !searches.busy; });
        for (qsizetype i = 0; i < word.size(); ++i) {
            wall.start();
            QTest::keyClick(&text, word.at(i).toLatin1());
            waitFor([&] { return !searches.finding; });
            const double keyMs = double(wall.nsecsElapsed()) / 1e6;
            bestKey[size_t(i)] = std::min(bestKey[size_t(i)], keyMs);
            worstKey = std::max(worstKey, keyMs);
            waitFor([&] { return !searches.busy; });
            slowestCount = std::max(slowestCount, double(wall.nsecsElapsed()) / 1e6);
        }
    }
    settle();
    require(window.controller().selection().hasRow(), QStringLiteral("the typed name was not found"));
    const bool met = reportStep("type a key until found, slowest key",
                                *std::max_element(bestKey.begin(), bestKey.end()), probe.longestMs(), keyTargetMs);
    std::printf("%-40s %10.1f\n", "  the worst single key", worstKey);
    std::printf("%-40s %10.1f\n", "  until counted, slowest", slowestCount);
    return met;
}

bool benchFindBar(MainWindow &window, LoopProbe &probe, PaintCounter &painted, double keyTargetMs)
{
    const FinderSearches searches(window.controller().finder());
    const EntryList &entries = window.controller().entries();
    auto *list = window.findChild<EntryListView *>(QStringLiteral("ListView1"));
    require(list && !entries.isEmpty(), QStringLiteral("no rows to find"));
    // Its start as far as a key types it (half-width katakana is not).
    QString word;
    for (const QChar c : entries.at(entries.count() - 1).name.left(8)) {
        if (c.unicode() >= 0x80)
            break;
        word += c;
    }
    require(!word.isEmpty(), QStringLiteral("the last name does not start with a key"));
    bool met = true;
    QElapsedTimer wall;
    const auto timed = [&](const char *what, const std::function<void()> &work, const std::function<bool()> &done,
                           bool paints = true) {
        settle();
        const int before = painted.paints;
        probe.restart();
        wall.start();
        work();
        waitFor([&] { return done() && (!paints || painted.paints != before); });
        const double ms = double(wall.nsecsElapsed()) / 1e6;
        settle();
        met &= reportStep(what, ms, probe.longestMs());
    };

    // Keys go to the active window, as the person's do.
    window.activateWindow();
    require(QTest::qWaitForWindowActive(&window), QStringLiteral("the window is not active"));
    std::printf("\nfind bar: \"%s\" typed, %lld rows\n", qPrintable(word), static_cast<long long>(entries.count()));
    timed(
        "open the find bar (Ctrl+F)", [&] { QTest::keyClick(list, Qt::Key_F, Qt::ControlModifier); },
        [] { return true; });
    auto *text = window.findChild<QLineEdit *>(QStringLiteral("txtFind"));
    require(text && text->hasFocus(), QStringLiteral("the find bar has no focus"));

    met &= benchTyping(window, *text, word, searches, probe, keyTargetMs);

    auto *filter = window.findChild<QCheckBox *>(QStringLiteral("chkFindFilter"));
    require(filter != nullptr, QStringLiteral("no filter switch"));
    timed(
        "filter on, until the rows are shown", [&] { filter->click(); }, [&] { return !searches.busy; });
    // The only match may be the row selected already: nothing to paint.
    timed(
        "F3, next match", [&] { QTest::keyClick(text, Qt::Key_F3); }, [&] { return !searches.finding; }, false);
    timed(
        "filter off", [&] { filter->click(); }, [&] { return !searches.busy; });
    filter->click();
    waitFor([&] { return !searches.busy; });
    timed(
        "Escape with the filter on", [&] { QTest::keyClick(text, Qt::Key_Escape); }, [] { return true; });
    filter->setChecked(false);
    return met;
}

constexpr double ReplaceAllTargetMs = 300.0;

// すべて置換 of a word that every value of a full table holds, from the click
// until the list has painted the new values, and its undo; best of Runs.
bool benchReplaceAll(MainWindow &window, LoopProbe &probe, PaintCounter &painted, const CodePage &codePage,
                     const QString &path)
{
    EntryList table;
    for (Entry &row : TableMaker().make()) {
        row.value = QStringLiteral("wendaro ") + row.value.toString();
        table.append(std::move(row));
    }
    QString error;
    require(saveDocument(path, table, {}, true, codePage, &error), error);
    MainWindowController &controller = window.controller();
    controller.dropFiles({path});
    const EntryList &entries = controller.entries();
    require(entries.count() == EntryCount, QStringLiteral("the table for the replace was not read"));
    auto *list = window.findChild<EntryListView *>(QStringLiteral("ListView1"));
    QTest::keyClick(list, Qt::Key_H, Qt::ControlModifier);
    auto *text = window.findChild<QLineEdit *>(QStringLiteral("txtFind"));
    auto *replacement = window.findChild<QLineEdit *>(QStringLiteral("txtReplace"));
    auto *all = window.findChild<QToolButton *>(QStringLiteral("cmdReplaceAll"));
    require(text && replacement && all && all->isVisible(), QStringLiteral("no replace row"));
    text->setText(QStringLiteral("wendaro"));
    replacement->setText(QStringLiteral("Wendaro-X"));
    const auto timed = [&](const std::function<void()> &work, const QString &firstValueStart) {
        settle();
        const int before = painted.paints;
        probe.restart();
        QElapsedTimer wall;
        wall.start();
        work();
        while (painted.paints == before)
            QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
        const double ms = double(wall.nsecsElapsed()) / 1e6;
        require(entries.at(0).value.toString().startsWith(firstValueStart), QStringLiteral("nothing replaced"));
        return std::pair(ms, probe.longestMs());
    };
    std::pair<double, double> replaced{1e300, 0};
    std::pair<double, double> undone{1e300, 0};
    for (int run = 0; run < Runs; ++run) {
        replaced = std::min(replaced, timed([&] { all->click(); }, QStringLiteral("Wendaro-X ")));
        undone = std::min(undone, timed([&] { controller.undo(); }, QStringLiteral("wendaro ")));
    }
    std::printf("\nreplace: \"wendaro\" in every value, %lld rows\n", static_cast<long long>(entries.count()));
    bool met = reportStep("replace all, until painted", replaced.first, replaced.second, ReplaceAllTargetMs);
    met &= reportStep("  its undo, until painted", undone.first, undone.second);
    QTest::keyClick(text, Qt::Key_Escape);
    return met;
}

// What was typed is taken back, so that the next open or close asks
// nothing: a question offscreen would wait for ever.
void takeBackTyping(MainWindowController &controller)
{
    while (controller.isModified() && controller.action(Command::Undo).isEnabled())
        controller.undo();
    require(!controller.isModified(), QStringLiteral("the typing was not taken back"));
}

// The window of a table file, and its steps timed one run each: from the
// step's start until the list has painted, and the longest block of the
// loop from its start until a while after.
class FileWindow
{
public:
    FileWindow(const CodePage &codePage, WindowServices &services) : m_codePage(codePage), m_services(services) {}

    // Start-up as the program does it: the window shown, then the load; the
    // wall time counts from the window's making.
    void startUp(const QString &path)
    {
        m_probe.restart();
        m_wall.start();
        m_window = std::make_unique<MainWindow>(m_codePage, m_services);
        m_window->show();
        require(QTest::qWaitForWindowExposed(m_window.get()), QStringLiteral("the window was not shown"));
        m_list = m_window->findChild<EntryListView *>(QStringLiteral("ListView1"));
        require(m_list != nullptr, QStringLiteral("no list"));
        m_list->viewport()->installEventFilter(&m_painted);
        // The window's first show (Qt's fonts and styles) happens before any
        // table; the loop is watched from the load's start on.
        settle();
        m_probe.restart();
        const int before = m_painted.paints;
        m_window->startUp(path);
        require(!controller().entries().isEmpty(), QStringLiteral("the table was not read"));
        untilPainted(before);
        const double wallMs = double(m_wall.nsecsElapsed()) / 1e6;
        settle();
        m_met &= reportStep("start-up with the file", wallMs, m_probe.longestMs());
    }

    void step(const char *what, const std::function<void()> &work, double wallTargetMs = 0, bool paints = true)
    {
        settle();
        const int before = m_painted.paints;
        m_probe.restart();
        m_wall.start();
        work();
        if (paints)
            untilPainted(before);
        const double wallMs = double(m_wall.nsecsElapsed()) / 1e6;
        settle();
        m_met &= reportStep(what, wallMs, m_probe.longestMs(), wallTargetMs);
    }

    // Sorting, as header clicks: each column twice, ascending then descending.
    void sortClicks()
    {
        QHeaderView *header = m_list->header();
        const char *const names[] = {"index", "name", "value"};
        for (int section = 0; section < 3; ++section) {
            const QPoint centre(header->sectionViewportPosition(section) + header->sectionSize(section) / 2,
                                header->height() / 2);
            for (const char *order : {"ascending", "descending"}) {
                const QString what =
                    QStringLiteral("sort by %1, %2").arg(QLatin1String(names[section]), QLatin1String(order));
                step(
                    qPrintable(what), [&] { QTest::mouseClick(header->viewport(), Qt::LeftButton, {}, centre); },
                    FileSortTargetMs);
                require(controller().entries().isSorted(), QStringLiteral("the click did not sort"));
            }
        }
    }

    // A page at a time from the first row, at most 200 pages.
    void scrollPages()
    {
        QScrollBar *scroll = m_list->verticalScrollBar();
        scroll->setValue(0);
        settle();
        double worstPage = 0;
        double worstBlocked = 0;
        double totalPages = 0;
        int pages = 0;
        while (scroll->value() < scroll->maximum() && pages < 200) {
            const int before = m_painted.paints;
            m_probe.restart();
            m_wall.start();
            scroll->setValue(scroll->value() + scroll->pageStep());
            untilPainted(before);
            const double pageMs = double(m_wall.nsecsElapsed()) / 1e6;
            worstPage = std::max(worstPage, pageMs);
            totalPages += pageMs;
            QCoreApplication::processEvents();
            worstBlocked = std::max(worstBlocked, m_probe.longestMs());
            ++pages;
        }
        m_met &= reportStep(qPrintable(QStringLiteral("scroll a page, slowest of %1").arg(pages)), worstPage,
                            worstBlocked, ScrollStepTargetMs);
        std::printf("%-40s %10.1f\n", "  mean page", pages ? totalPages / pages : 0.0);
    }

    // The row at the list's top: selected by a click, then its tooltip, then
    // opened in the editor by a double click.
    void selectAndEdit()
    {
        m_list->verticalScrollBar()->setValue(0);
        settle();
        const QModelIndex first = m_list->model()->index(0, 2);
        const QPoint cell = m_list->visualRect(first).center();
        step("select a row (click)", [&] { QTest::mouseClick(m_list->viewport(), Qt::LeftButton, {}, cell); });
        step(
            "tooltip of its value",
            [&] {
                QHelpEvent tip(QEvent::ToolTip, cell, m_list->viewport()->mapToGlobal(cell));
                QCoreApplication::sendEvent(m_list->viewport(), &tip);
                QElapsedTimer waited;
                waited.start();
                while (!QToolTip::isVisible()) {
                    require(waited.elapsed() < 10000, QStringLiteral("no tooltip"));
                    QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
                }
            },
            0, false);
        QToolTip::hideText();
        timeEditor(cell);
    }

    // The original read beside the table and its states counted, a
    // keystroke in the translation and done-and-next, and the peak memory.
    void translate(const QString &path, const QString &originalPath)
    {
        // From the open until the panel has painted the counts (on a worker
        // for a large table).
        auto *progress = m_window->findChild<QLabel *>(QStringLiteral("lblProgress"));
        require(progress != nullptr, QStringLiteral("no progress label"));
        PaintCounter progressPainted;
        progress->installEventFilter(&progressPainted);
        step("open the original, its states counted", [&] {
            require(controller().translation().openOriginal(originalPath, false), QStringLiteral("no original"));
            QElapsedTimer waited;
            waited.start();
            while (controller().translationStatus().isCounting() || progressPainted.paints == 0) {
                require(waited.elapsed() < 600000, QStringLiteral("the counts were not shown"));
                QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
            }
        });
        progress->removeEventFilter(&progressPainted);
        controller().selection().select(1);
        const QString typed = controller().entries().at(1).value.toString() + QStringLiteral("訳");
        step("a keystroke in the translation", [&] { controller().translation().typeTranslation(typed); });
        step(
            "done and next (Ctrl+Enter)", [&] { controller().translation().acceptAndNext(); }, 0, false);
        rusage usage{};
        getrusage(RUSAGE_SELF, &usage);
        const double peak = double(usage.ru_maxrss) * 1024;
        const double files = double(QFileInfo(path).size() + QFileInfo(originalPath).size());
        std::printf("%-40s %10.2f GB   %.2fx the two files\n", "peak memory with the original", peak / 1e9,
                    peak / files);
        takeBackTyping(controller());
    }

    void closeWindow()
    {
        m_probe.restart();
        m_wall.start();
        m_window.reset();
        settle();
        m_met &= reportStep("close the window with the table", double(m_wall.nsecsElapsed()) / 1e6,
                            m_probe.longestMs());
    }

    MainWindow &window() { return *m_window; }
    MainWindowController &controller() { return m_window->controller(); }
    LoopProbe &probe() { return m_probe; }
    PaintCounter &painted() { return m_painted; }
    bool met() const { return m_met; }
    void add(bool met) { m_met &= met; }

private:
    void untilPainted(int before)
    {
        QElapsedTimer waited;
        waited.start();
        while (m_painted.paints == before) {
            require(waited.elapsed() < 60000, QStringLiteral("the list did not paint"));
            QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
        }
    }

    // The editor is modal: it is timed from inside its own loop until it
    // has painted, then closed.
    void timeEditor(QPoint cell)
    {
        bool shown = false;
        double editorWallMs = 0;
        QTimer watch;
        watch.setInterval(1);
        QObject::connect(&watch, &QTimer::timeout, [&] {
            auto *dialog = qobject_cast<QDialog *>(QApplication::activeModalWidget());
            if (!dialog || !dialog->isVisible())
                return;
            if (!shown) {
                shown = true;
                QCoreApplication::processEvents();
                editorWallMs = double(m_wall.nsecsElapsed()) / 1e6;
                settle();
                dialog->reject();
            }
        });
        settle();
        m_probe.restart();
        m_wall.start();
        watch.start();
        QTest::mouseDClick(m_list->viewport(), Qt::LeftButton, {}, cell);
        watch.stop();
        require(shown, QStringLiteral("the editor was not shown"));
        m_met &= reportStep("editor with the row's value", editorWallMs, m_probe.longestMs());
    }

    const CodePage &m_codePage;
    WindowServices &m_services;
    LoopProbe m_probe;
    QElapsedTimer m_wall;
    PaintCounter m_painted;
    std::unique_ptr<MainWindow> m_window;
    EntryListView *m_list = nullptr;
    bool m_met = true;
};

// The figures for one table file; returns the process's exit status.
int benchFile(const QString &path, const CodePage &codePage, const QString &originalPath)
{
    std::printf("table %s; warm, in-process, one run each\n\n", qPrintable(path));
    std::printf("%-40s %10s %12s\n", "operation (until painted)", "wall ms", "blocked ms");
    WindowServices services;
    FileWindow bench(codePage, services);
    bench.startUp(path);
    MainWindowController &controller = bench.controller();
    const qsizetype rows = controller.entries().count();

    bench.step("close the table", [&] { controller.closeFile(); });
    bench.step("open (dropped on the empty window)", [&] { controller.dropFiles({path}); });
    bench.step("open again over the table", [&] { controller.dropFiles({path}); });
    bench.sortClicks();
    bench.scrollPages();
    bench.selectAndEdit();
    bench.add(benchFindBar(bench.window(), bench.probe(), bench.painted(), 0));
    if (!originalPath.isEmpty())
        bench.translate(path, originalPath);
    bench.step("close the table again", [&] { controller.closeFile(); });
    bench.step("open once more", [&] { controller.dropFiles({path}); });
    bench.closeWindow();
    std::printf("\n%lld rows; %s\n", static_cast<long long>(rows),
                bench.met() ? "every figure within its target" : "some figures miss their target");
    return 0;
}

// The window with the bench's own table, whose steps end when the event loop
// has painted the list, as the next frame on a screen would; a step that
// paints nothing is an error.
struct TableWindow
{
    MainWindow &window;
    EntryListView &list;
    const PaintCounter &painted;
    QString path;

    MainWindowController &controller() const { return window.controller(); }
    std::function<void()> painting(std::function<void()> step) const
    {
        return [this, step = std::move(step)] {
            const int before = painted.paints;
            step();
            QElapsedTimer waited;
            waited.start();
            while (painted.paints == before) {
                require(waited.elapsed() < 2000, QStringLiteral("the list did not paint"));
                QCoreApplication::processEvents();
            }
        };
    }
    void open() const { controller().dropFiles({path}); }
    void close() const
    {
        painting([this] { controller().closeFile(); })();
    }
};

bool benchOpen(const TableWindow &shown, const CodePage &codePage)
{
    Time loadOnly;
    Time opened;
    QString error;
    for (int run = 0; run < Runs; ++run) {
        LoadedDocument loaded;
        loadOnly.keepBest(
            timeOnce([&] { loaded = LoadedDocument(); }, [&] { loadDocument(shown.path, codePage, loaded, &error); }));
        opened.keepBest(timeOnce([&] { shown.close(); }, shown.painting([&] { shown.open(); })));
        require(shown.controller().entries().count() == EntryCount && shown.list.indexAt(QPoint(1, 1)).isValid(),
                QStringLiteral("the table is not shown"));
    }
    const bool met = report("open until the rows are painted", opened, OpenTargetMs);
    std::printf("%-34s %10.2f %10.2f   %-14s %.0f%% of the open\n", "  of which the file's load", loadOnly.wallMs,
                loadOnly.cpuMs, "", 100.0 * loadOnly.wallMs / opened.wallMs);
    return met;
}

// The journal of unsaved changes: a change of one row written (its record,
// one write) and, apart, the sync that follows within two seconds.
bool benchJournal(const TableWindow &shown)
{
    RecoveryJournal journal(shown.window);
    journal.follow(shown.path, fileIdentity(shown.path));
    const EntryList &rows = shown.controller().entries();
    Time written;
    Time synced;
    for (int run = 0; run < Runs * 10; ++run) {
        const qsizetype position = (run * 3271) % rows.count();
        written.keepBest(timeOnce([] {},
                                  [&] {
                                      journal.rowChanged(rows, position);
                                      journal.commit(JournalRecord::Change, true);
                                  }));
        synced.keepBest(timeOnce([] {}, [&] { journal.sync(); }));
    }
    const bool met = report("journal: one change written", written, KeystrokeTargetMs);
    std::printf("%-34s %10.2f %10.2f\n", "journal: its sync (fdatasync)", synced.wallMs, synced.cpuMs);
    journal.stop();
    return met;
}

// Each click sorts the rows as the file has them: the table is opened
// again, untimed, before it.
bool benchSortClicks(const TableWindow &shown)
{
    QHeaderView *header = shown.list.header();
    const struct
    {
        const char *name;
        int section;
    } columns[] = {{"sort click on the index column", 0},
                   {"sort click on the name column", 1},
                   {"sort click on the value column", 2}};
    bool met = true;
    for (const auto &column : columns) {
        const QPoint centre(header->sectionViewportPosition(column.section) + header->sectionSize(column.section) / 2,
                            header->height() / 2);
        Time best;
        for (int run = 0; run < Runs; ++run) {
            best.keepBest(timeOnce(
                [&] {
                    shown.close();
                    shown.painting([&] { shown.open(); })();
                },
                shown.painting([&] { QTest::mouseClick(header->viewport(), Qt::LeftButton, {}, centre); })));
            require(shown.controller().entries().isSorted(), QStringLiteral("the click did not sort"));
        }
        met &= report(column.name, best, SortTargetMs);
    }
    return met;
}

// A page at a time from the first row to the last, each page painted.
bool benchScroll(const TableWindow &shown)
{
    QScrollBar *scroll = shown.list.verticalScrollBar();
    scroll->setValue(0);
    std::vector<double> steps;
    while (scroll->value() < scroll->maximum()) {
        const Time step = timeOnce([] {},
                                   shown.painting([&] { scroll->setValue(scroll->value() + scroll->pageStep()); }));
        steps.push_back(step.wallMs);
    }
    require(!steps.empty(), QStringLiteral("the list did not scroll"));
    double total = 0;
    for (const double ms : steps)
        total += ms;
    const double worst = *std::max_element(steps.begin(), steps.end());
    const bool smooth = worst < ScrollStepTargetMs;
    std::printf("%-34s %10.2f %10s   %-14s %zu steps of %d rows, mean %.2f ms\n", "scroll a page, slowest step", worst,
                "", smooth ? "ok" : "over a frame", steps.size(), scroll->pageStep(), total / double(steps.size()));
    return smooth;
}

// Translating: an original of the same size, every value changed, so that
// every row is measured; then a keystroke in the translation and
// done-and-next, each until the list has painted it.
bool benchTranslating(const TableWindow &shown, const EntryList &table, const QString &originalPath,
                      const CodePage &codePage)
{
    MainWindowController &controller = shown.controller();
    EntryList original;
    for (qsizetype p = 0; p < table.count(); ++p) {
        Entry row = table.at(p);
        row.value = QStringLiteral("Original ") + row.value.toString();
        original.append(std::move(row));
    }
    QString error;
    require(saveDocument(originalPath, original, {}, true, codePage, &error), error);
    Time opening;
    Time states;
    for (int run = 0; run < Runs; ++run) {
        LoadedDocument loaded;
        opening.keepBest(timeOnce([&] { shown.painting([&] { shown.open(); })(); }, shown.painting([&] {
            require(controller.translation().openOriginal(originalPath, false), QStringLiteral("no original"));
        })));
        require(loadDocument(originalPath, codePage, loaded, &error), error);
        states.keepBest(timeOnce([] {}, [&] { controller.translationStatus().openOriginal(std::move(loaded.rows)); }));
    }
    bool met = report("open an original beside the table", opening, OpenTargetMs + StatesTargetMs);
    met &= report("  of which its states and counts", states, StatesTargetMs);
    controller.selection().select(1);
    Time keystroke;
    for (int run = 0; run < Runs; ++run) {
        const QString typed = controller.entries().at(1).value.toString() + QStringLiteral("訳");
        keystroke.keepBest(timeOnce([] {}, shown.painting([&] { controller.translation().typeTranslation(typed); })));
    }
    met &= report("a keystroke in the translation", keystroke, KeystrokeTargetMs);
    Time next;
    for (int run = 0; run < Runs; ++run)
        next.keepBest(timeOnce([] {}, shown.painting([&] { controller.translation().acceptAndNext(); })));
    met &= report("done and next (Ctrl+Enter)", next, DoneAndNextTargetMs);
    takeBackTyping(controller);
    return met;
}

// The figures for the bench's own table, each the best of Runs runs.
int benchTable(const CodePage &codePage)
{
    EntryList table;
    for (const Entry &row : TableMaker().make())
        table.append(row);
    QTemporaryDir dir;
    require(dir.isValid(), QStringLiteral("no temporary folder"));
    const QString path = dir.filePath(QStringLiteral("table.stf"));
    QString error;
    require(saveDocument(path, table, {}, true, codePage, &error), error);

    WindowServices services;
    MainWindow window(codePage, services);
    window.startUp(QString());
    window.show();
    require(QTest::qWaitForWindowExposed(&window), QStringLiteral("the window was not shown"));
    auto *list = window.findChild<EntryListView *>(QStringLiteral("ListView1"));
    require(list != nullptr, QStringLiteral("no list"));
    PaintCounter painted;
    list->viewport()->installEventFilter(&painted);
    const TableWindow shown{window, *list, painted, path};

    std::printf("%d entries in the window (a list of %dx%d pixels); best of %d runs\n\n", EntryCount,
                list->viewport()->width(), list->viewport()->height(), Runs);
    std::printf("%-34s %10s %10s\n", "operation", "wall ms", "cpu ms");
    bool met = benchOpen(shown, codePage);
    met &= benchJournal(shown);
    met &= benchSortClicks(shown);
    met &= benchScroll(shown);
    met &= benchTranslating(shown, table, dir.filePath(QStringLiteral("original.stf")), codePage);
    LoopProbe probe;
    met &= benchFindBar(window, probe, painted, FindKeyTargetMs);
    met &= benchReplaceAll(window, probe, painted, codePage, dir.filePath(QStringLiteral("replace.stf")));

    std::printf("\n%s\n", met ? "every figure within its target" : "some figures miss their target");
    return 0;
}

} // namespace

int main(int argc, char *argv[])
{
    keepHeapInProcess();
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QApplication::setFont(applicationFont());

    // The journals go to a folder of the bench's own, never among the
    // person's: one left by a run killed half-way would ask its question at
    // the next run's open, offscreen where no one answers.
    QTemporaryDir state;
    require(state.isValid(), QStringLiteral("no temporary folder"));
    qputenv("XDG_STATE_HOME", state.path().toLocal8Bit());

    QString error;
    const std::optional<CodePage> codePage = CodePage::open(CodePage::DefaultName, &error);
    require(codePage.has_value(), error);
    if (argc > 1)
        return benchFile(QString::fromLocal8Bit(argv[1]), *codePage,
                         argc > 2 ? QString::fromLocal8Bit(argv[2]) : QString());
    return benchTable(*codePage);
}
