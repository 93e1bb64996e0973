// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/ApplicationSetup.h"
#include "cli/ExitCode.h"
#include "control/window/CommandLine.h"
#include "startup/HeapGrowth.h"
#include "control/document/LoadAhead.h"
#include "ui/MainWindow.h"
#include "app/PaintedForBench.h"
#include "ui/WindowServices.h"

#include <QApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QMessageBox>
#include <QSessionManager>
#include <QSocketNotifier>
#include <QTranslator>
#include <csignal>
#include <cstdio>
#include <optional>
#include <sys/socket.h>
#include <unistd.h>

using namespace wendaro;

namespace {

const char UsageText[] = R"(Usage: wendaro [--reference=ORIGINAL [--old-reference=OLD]] [--memory=TMX]...
               [--min-match=N] [--glossary=FILE]... [--target-lang=CODE]
               [--max-length=N] [--project [ORIGINALS_DIR TRANSLATIONS_DIR]]
               [FILE]
       wendaro --help
       wendaro --version

Opens the Wendaro window, with FILE in it when one is given. FILE is the
first argument after the options exactly as it stands, spaces and all;
further arguments are ignored. A path ending in ".stf" (any case) is read as
STF, any other as tab-separated text. To open a file named like an option,
write ./--help.

  --reference=ORIGINAL  open ORIGINAL, read-only, as the table FILE
                        translates: its values and each row's state show
                        beside the rows (Ctrl+R in the window)
  --old-reference=OLD   also open OLD, the original FILE was translated
                        from: rows whose original changed since need a
                        look (Ctrl+Shift+R in the window)
  --memory=TMX          open the translation memory TMX with the original:
                        its units most like each row's original are offered
                        under the translation (Ctrl+M in the window); may
                        be given more than once
  --min-match=N         offer units that score at least N % (default 70)
  --glossary=FILE       open the glossary FILE with the original (tab-separated
                        source, target, comment; CSV; or TBX): the terms of
                        each row's original show beside the translation and a
                        term whose translation is missing is a finding
                        (Ctrl+G in the window); may be given more than once
  --target-lang=CODE    the translation's language (BCP 47, "en-US"), whose
                        Hunspell dictionary underlines misspelled words in
                        the translation; without it, the language of the
                        memories' translations, or one the table's path
                        names ("ja/", "_de.stf")
  --max-length=N        a translated value longer than N characters is a
                        problem (問題), as wendaro-cli check --max-length
                        finds it
  --project ORIGINALS_DIR TRANSLATIONS_DIR
                        open the project of two folders: every table of
                        the originals' folder beside its translation at the
                        same path in the other, with its counts, at the left
                        of the window (Ctrl+Shift+O in the window;
                        Ctrl+PageDown and Ctrl+PageUp go to the next table
                        with work left); without folders, the project opened
                        last
)";

QList<QByteArray> argumentsAfterName(int argc, char *argv[])
{
    QList<QByteArray> arguments;
    for (int i = 1; i < argc; ++i)
        arguments.append(QByteArray(argv[i]));
    return arguments;
}

// The exit status of --help or --version; nothing when the window is wanted.
// The window's statuses are wendaro-cli's numbers for the same failures.
std::optional<int> answerOnStdout(const StartArguments &start)
{
    const char *text = nullptr;
    switch (start.action) {
    case StartAction::Window: return std::nullopt;
    case StartAction::Refused:
        std::fprintf(stderr, "wendaro: %s\nTry 'wendaro --help'.\n", qPrintable(start.refusal));
        return cli::UsageError;
    case StartAction::Help: text = UsageText; break;
    case StartAction::Version: text = "wendaro " WENDARO_VERSION "\n"; break;
    }
    return std::fputs(text, stdout) >= 0 && std::fflush(stdout) == 0 ? cli::Done : cli::WriteFailed;
}

// The write end of the pipe that carries a signal's number to the event loop.
int signalPipe[2] = {-1, -1};

void sendSignalToLoop(int signal)
{
    const char number = char(signal);
    // Nothing else is safe in a handler; a full pipe already holds a signal.
    [[maybe_unused]] const ssize_t written = ::write(signalPipe[0], &number, 1);
}

// On SIGTERM, SIGHUP and SIGINT the journal of unsaved changes reaches the
// disk and the window goes without a question: whoever ends the session
// does not wait for one. The changes are offered again at the next start.
void endOnSignals(MainWindow &window)
{
    if (::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, signalPipe) != 0)
        return;
    auto *notifier = new QSocketNotifier(signalPipe[1], QSocketNotifier::Read, &window);
    QObject::connect(notifier, &QSocketNotifier::activated, &window, [&window] {
        char number = 0;
        if (::read(signalPipe[1], &number, 1) != 1)
            return;
        window.controller().syncJournal();
        QApplication::exit(128 + int(number));
    });
    struct sigaction action
    {};
    action.sa_handler = sendSignalToLoop;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (const int signal : {SIGTERM, SIGHUP, SIGINT})
        ::sigaction(signal, &action, nullptr);
}

} // namespace

int main(int argc, char *argv[])
{
    growHeapOnLargePages(/*oneHeap=*/true);
    // Answered before Qt starts, so that they need no display.
    const StartArguments early = startArguments(argumentsAfterName(argc, argv));
    if (const std::optional<int> status = answerOnStdout(early))
        return *status;

    QString error;
    std::optional<CodePage> codePage = CodePage::fromEnvironment(&error);
    // The file is read while Qt starts and the window is built and shown,
    // which takes about as long. Qt's own options are still in argv here: a
    // load of another path than the one opened in the end is dropped.
    std::optional<LoadAhead> ahead;
    if (codePage && early.pathBytesValid && !early.path.isEmpty())
        ahead.emplace(early.path, *codePage);

    QApplication app(argc, argv);
    // Qt has taken its own options (-style, -platform, ...) out of argv.
    const StartArguments start = startArguments(argumentsAfterName(argc, argv));
    if (const std::optional<int> status = answerOnStdout(start))
        return *status;

    setUpApplication();
    // Qt's own dialog texts (the file dialog's) in Japanese, where installed.
    QTranslator qtTexts;
    if (qtTexts.load(QLocale(QLocale::Japanese), QStringLiteral("qtbase"), QStringLiteral("_"),
                     QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QApplication::installTranslator(&qtTexts);

    if (!codePage) {
        std::fprintf(stderr, "wendaro: %s\n", qPrintable(error));
        QMessageBox::critical(nullptr, ApplicationTitle, error);
        return cli::CodePageError;
    }

    WindowServices services;
    MainWindow window(*codePage, services);
    endOnSignals(window);
    // The end of the session: the journal is on disk, and nothing asks.
    QObject::connect(
        &app, &QGuiApplication::commitDataRequest, &window,
        [&window](QSessionManager &) { window.controller().syncJournal(); }, Qt::DirectConnection);
    QObject::connect(&app, &QCoreApplication::aboutToQuit, &window, [&window] { window.controller().syncJournal(); });
    // Shown before the load, so that it paints while the file is read and
    // fills as soon as the rows are there.
    window.show();
    quitWhenPaintedForBench(window, !start.path.isEmpty());
    if (start.minMatch >= 0)
        window.controller().suggestions().setMinMatch(start.minMatch);
    window.controller().suggestions().openWithOriginal(start.memories);
    window.controller().glossary().openWithOriginal(start.glossaries);
    window.controller().spelling().setLanguage(start.targetLanguage);
    if (start.maxLength > 0)
        window.controller().translationStatus().setMaxLength(start.maxLength);
    window.startUp(start.path, start.pathBytesValid, ahead ? &*ahead : nullptr);
    if (start.project && start.projectOriginals.isEmpty())
        window.controller().project().reopenLast();
    else if (start.project)
        window.controller().project().open(start.projectOriginals, start.projectTranslations);
    // The originals of the file opened, the one it was made from last.
    if (!start.reference.isEmpty() && window.controller().translation().openOriginal(start.reference, false)
        && !start.oldReference.isEmpty())
        window.controller().translation().openOriginal(start.oldReference, true);
    // Not taken (a name of only spaces, a Qt option), it would read on for nothing.
    ahead.reset();
    return QApplication::exec();
}
