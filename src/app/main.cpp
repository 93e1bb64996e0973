#include <ApplicationSetup.h>
#include <CommandLine.h>
#include <MainWindow.h>
#include "PaintedForBench.h"
#include <WindowServices.h>

#include <QApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QMessageBox>
#include <QTranslator>
#include <cstdio>
#include <optional>

using namespace wendaro;

namespace {

// The exit status when WENDARO_CODEPAGE names no known code page.
constexpr int ConfigurationError = 78;
// The exit status when --help or --version could not write to stdout.
constexpr int WriteFailed = 74;

const char UsageText[] = R"(Usage: wendaro [FILE]
       wendaro --help
       wendaro --version

Opens the Wendaro window, with FILE in it when one is given. FILE is the
first argument exactly as it stands, spaces and all; further arguments are
ignored. A path ending in ".stf" (any case) is read as STF, any other as
tab-separated text. To open a file named like an option, write ./--help.
)";

QList<QByteArray> argumentsAfterName(int argc, char *argv[])
{
    QList<QByteArray> arguments;
    for (int i = 1; i < argc; ++i)
        arguments.append(QByteArray(argv[i]));
    return arguments;
}

// The exit status of --help or --version; nothing when the window is wanted.
std::optional<int> answerOnStdout(StartAction action)
{
    const char *text = nullptr;
    switch (action) {
    case StartAction::Window: return std::nullopt;
    case StartAction::Help: text = UsageText; break;
    case StartAction::Version: text = "wendaro " WENDARO_VERSION "\n"; break;
    }
    return std::fputs(text, stdout) >= 0 && std::fflush(stdout) == 0 ? 0 : WriteFailed;
}

} // namespace

int main(int argc, char *argv[])
{
    // Answered before Qt starts, so that they need no display.
    if (const std::optional<int> status = answerOnStdout(startArguments(argumentsAfterName(argc, argv)).action))
        return *status;

    QApplication app(argc, argv);
    setUpApplication();
    // Qt has taken its own options (-style, -platform, ...) out of argv.
    const StartArguments start = startArguments(argumentsAfterName(argc, argv));
    if (const std::optional<int> status = answerOnStdout(start.action))
        return *status;

    // Qt's own dialog texts (the file dialog's) in Japanese, where installed.
    QTranslator qtTexts;
    if (qtTexts.load(QLocale(QLocale::Japanese), QStringLiteral("qtbase"), QStringLiteral("_"),
                     QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QApplication::installTranslator(&qtTexts);

    QString error;
    std::optional<CodePage> codePage = CodePage::fromEnvironment(&error);
    if (!codePage) {
        std::fprintf(stderr, "wendaro: %s\n", qPrintable(error));
        QMessageBox::critical(nullptr, ApplicationTitle, error);
        return ConfigurationError;
    }

    WindowServices services;
    MainWindow window(*codePage, services);
    window.startUp(start.path, start.pathBytesValid);
    window.show();
    quitWhenPaintedForBench(window, !start.path.isEmpty());
    return QApplication::exec();
}
