#include "Commands.h"
#include "Console.h"
#include "ExitCode.h"

#include <CodePage.h>

#include <QFile>
#include <QStringList>

#include <algorithm>
#include <iterator>

using namespace wendaro;
using namespace wendaro::cli;

namespace {

const char UsageText[] = R"(Usage: wendaro-cli convert IN OUT
       wendaro-cli dump FILE
       wendaro-cli check FILE
       wendaro-cli --help

  convert  load IN and save its table as OUT; each path chooses its format:
           a path ending in ".stf" (any case) is STF, any other is
           tab-separated text. A text IN's output-file and memo lines
           go along to a text OUT.
  dump     print the text form of FILE on stdout, in UTF-8.
  check    succeed when FILE loads and its table could be saved as STF;
           nothing is written.

Names in STF files and whole text files are in the code page that the
environment variable WENDARO_CODEPAGE names (default: windows-932;
UTF-8 is accepted too).

Exit status:
  0   done
  1   IN or FILE could not be loaded, or (check) its table cannot be saved
      as STF; stderr holds the message, then the reason on the next line
  2   OUT (dump: stdout) could not be written; an existing OUT stays as it was
  64  wrong usage
  78  WENDARO_CODEPAGE names no known code page, or one with characters
      of three bytes or more
)";

struct Command
{
    const char *name;
    qsizetype operandCount;
    const char *operands; // as the usage error names them
    int (*run)(const QStringList &operands, const CodePage &codePage);
};

const Command Commands[] = {
    {"convert", 2, "two paths, IN and OUT",
     [](const QStringList &paths, const CodePage &codePage) { return convert(paths[0], paths[1], codePage); }},
    {"dump", 1, "one path, FILE",
     [](const QStringList &paths, const CodePage &codePage) { return dump(paths[0], codePage); }},
    {"check", 1, "one path, FILE",
     [](const QStringList &paths, const CodePage &codePage) { return check(paths[0], codePage); }},
};

int usageError(const QString &what)
{
    printErrorLine(QStringLiteral("wendaro-cli: ") + what);
    printErrorLine(QString::fromUtf8(UsageText).trimmed());
    return UsageError;
}

} // namespace

int main(int argc, char **argv)
{
    QStringList args;
    for (int i = 1; i < argc; ++i)
        args << QFile::decodeName(argv[i]);

    if (args.contains(QLatin1String("--help")) || args.contains(QLatin1String("-h")))
        return writeOut(UsageText) ? Done : WriteFailed;
    if (args.isEmpty())
        return usageError(QStringLiteral("no command given"));

    const QString name = args.takeFirst();
    const auto command = std::find_if(std::begin(Commands), std::end(Commands),
                                      [&](const Command &c) { return name == QLatin1String(c.name); });
    if (command == std::end(Commands))
        return usageError(QStringLiteral("unknown command \"%1\"").arg(name));
    if (args.size() != command->operandCount)
        return usageError(QStringLiteral("%1 takes %2").arg(name, QLatin1String(command->operands)));

    QString error;
    const std::optional<CodePage> codePage = CodePage::fromEnvironment(&error);
    if (!codePage) {
        printErrorLine(QStringLiteral("wendaro-cli: ") + error);
        return CodePageError;
    }

    return command->run(args, *codePage);
}
