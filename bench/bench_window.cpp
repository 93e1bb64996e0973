// Times the window on a full table (32,766 entries): opening the file until
// the list has painted its first rows, a click on a column header until the
// sorted rows are painted, and scrolling through the whole list a page at a
// time. The window is real, shown on the offscreen platform with the
// program's fonts; the file is opened as a file dropped on the list is.

#include "BenchTable.h"
#include "BenchTiming.h"

#include <CodePage.h>
#include <DocumentFile.h>
#include <EntryList.h>
#include <EntryListView.h>
#include <MainWindow.h>
#include <WindowFonts.h>
#include <WindowServices.h>

#include <QApplication>
#include <QHeaderView>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QTest>

#include <algorithm>
#include <cstdio>
#include <vector>

using namespace wendaro;
using namespace wendaro::bench;

namespace {

constexpr int Runs = 9;
constexpr double OpenTargetMs = 100.0;
constexpr double SortTargetMs = 30.0;
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

} // namespace

int main(int argc, char *argv[])
{
    keepHeapInProcess();
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QApplication::setFont(applicationFont());

    QString error;
    const std::optional<CodePage> codePage = CodePage::open(CodePage::DefaultName, &error);
    require(codePage.has_value(), error);

    EntryList table;
    for (const Entry &row : TableMaker().make())
        table.append(row);
    QTemporaryDir dir;
    require(dir.isValid(), QStringLiteral("no temporary folder"));
    const QString path = dir.filePath(QStringLiteral("table.stf"));
    require(saveDocument(path, table, {}, true, *codePage, &error), error);

    WindowServices services;
    MainWindow window(*codePage, services);
    window.startUp(QString());
    window.show();
    require(QTest::qWaitForWindowExposed(&window), QStringLiteral("the window was not shown"));
    MainWindowController &controller = window.controller();
    auto *list = window.findChild<EntryListView *>(QStringLiteral("ListView1"));
    require(list != nullptr, QStringLiteral("no list"));
    PaintCounter painted;
    list->viewport()->installEventFilter(&painted);

    // Each timed step ends when the event loop has painted the list, as the
    // next frame on a screen would; a step that paints nothing is an error.
    const auto painting = [&](const std::function<void()> &step) {
        return [&, step] {
            const int before = painted.paints;
            step();
            QElapsedTimer waited;
            waited.start();
            while (painted.paints == before) {
                require(waited.elapsed() < 2000, QStringLiteral("the list did not paint"));
                QCoreApplication::processEvents();
            }
        };
    };
    const auto open = [&] { controller.dropFiles({path}); };
    const auto close = painting([&] { controller.closeFile(); });

    std::printf("%d entries in the window (a list of %dx%d pixels); best of %d runs\n\n", EntryCount,
                list->viewport()->width(), list->viewport()->height(), Runs);
    std::printf("%-34s %10s %10s\n", "operation", "wall ms", "cpu ms");

    bool met = true;
    Time loadOnly;
    Time opened;
    for (int run = 0; run < Runs; ++run) {
        LoadResult loaded;
        loadOnly.keepBest(timeOnce([&] { loaded = LoadResult(); }, [&] { loaded = loadDocument(path, *codePage); }));
        opened.keepBest(timeOnce(close, painting(open)));
        require(controller.entries().count() == EntryCount && list->indexAt(QPoint(1, 1)).isValid(),
                QStringLiteral("the table is not shown"));
    }
    met &= report("open until the rows are painted", opened, OpenTargetMs);
    std::printf("%-34s %10.2f %10.2f   %-14s %.0f%% of the open\n", "  of which the file's load", loadOnly.wallMs,
                loadOnly.cpuMs, "", 100.0 * loadOnly.wallMs / opened.wallMs);

    // Each click sorts the rows as the file has them: the table is opened
    // again, untimed, before it.
    QHeaderView *header = list->header();
    const struct
    {
        const char *name;
        int section;
    } columns[] = {{"sort click on the index column", 0},
                   {"sort click on the name column", 1},
                   {"sort click on the value column", 2}};
    for (const auto &column : columns) {
        const QPoint centre(header->sectionViewportPosition(column.section) + header->sectionSize(column.section) / 2,
                            header->height() / 2);
        Time best;
        for (int run = 0; run < Runs; ++run) {
            best.keepBest(timeOnce([&] { close(); painting(open)(); }, painting([&] {
                QTest::mouseClick(header->viewport(), Qt::LeftButton, {}, centre);
            })));
            require(controller.entries().isSorted(), QStringLiteral("the click did not sort"));
        }
        met &= report(column.name, best, SortTargetMs);
    }

    // A page at a time from the first row to the last, each page painted.
    QScrollBar *scroll = list->verticalScrollBar();
    scroll->setValue(0);
    std::vector<double> steps;
    while (scroll->value() < scroll->maximum()) {
        const Time step = timeOnce([] {}, painting([&] { scroll->setValue(scroll->value() + scroll->pageStep()); }));
        steps.push_back(step.wallMs);
    }
    require(!steps.empty(), QStringLiteral("the list did not scroll"));
    double total = 0;
    for (const double ms : steps)
        total += ms;
    const double worst = *std::max_element(steps.begin(), steps.end());
    const bool smooth = worst < ScrollStepTargetMs;
    met &= smooth;
    std::printf("%-34s %10.2f %10s   %-14s %zu steps of %d rows, mean %.2f ms\n", "scroll a page, slowest step", worst, "",
                smooth ? "ok" : "over a frame", steps.size(), scroll->pageStep(), total / double(steps.size()));

    std::printf("\n%s\n", met ? "every figure within its target" : "some figures miss their target");
    return 0;
}
