#include <CommandLine.h>
#include <MainWindow.h>
#include <WindowFonts.h>
#include <WindowServices.h>

#include <QApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QMessageBox>
#include <QTranslator>
#include <cstdio>

using namespace wendaro;

namespace {

// The exit status when WENDARO_CODEPAGE names no known code page.
constexpr int ConfigurationError = 78;

} // namespace

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(ApplicationTitle);
    QApplication::setApplicationDisplayName(ApplicationTitle);
    QApplication::setFont(applicationFont());

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
    window.startUp(commandLineFromArguments(QApplication::arguments().mid(1)));
    window.show();
    return QApplication::exec();
}
