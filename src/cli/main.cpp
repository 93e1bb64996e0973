#include "Arguments.h"
#include "Commands.h"
#include "Console.h"
#include "ExitCode.h"

#include <CodePage.h>

#include <QByteArrayList>
#include <QFile>
#include <QHash>

#include <algorithm>
#include <iterator>

using namespace wendaro;
using namespace wendaro::cli;

namespace {

const char UsageText[] = R"(Usage: wendaro-cli convert IN OUT
       wendaro-cli dump FILE
       wendaro-cli check FILE [--against ORIGINAL] [--strict] [--format=text|json]
       wendaro-cli --help | -h
       wendaro-cli --version

  convert  load IN and save its table as OUT; each path chooses its format:
           a path ending in ".stf" (any case) is STF, any other is
           tab-separated text. A text IN's output-file and memo lines
           go along to a text OUT.
  dump     print the text form of FILE on stdout, in UTF-8.
  check    list every problem of FILE, one line each on stderr,
           "FILE:LINE: message" (text files) or "FILE:OFFSET: message"
           (STF: the record's byte offset), "FILE: message" where no place
           applies: a read error (then nothing else), then every reason its
           table cannot be saved as STF or as the text form. Nothing is
           written; exit 0 when clean, 1 when a problem was found.
           --against ORIGINAL  also compare FILE, a translation, with
               ORIGINAL index by index: missing or extra indexes, line
               breaks, access keys ("&F"), placeholders (%s, %1$s, %1,
               {0}), blanks at either end, empty translations; a
               translation identical to its original is a warning.
           --strict  warnings fail too.
           --format=json  the problems as a JSON array on stdout, objects
               of "file", "line" or "offset" (when known), "index" and
               "name" (null when no entry), "severity" ("error",
               "warning"), "kind" ("read", "stf", "text", "stf+text",
               "translation") and "message".

Options count only before "--"; every argument after it is a command or a
path, so "check -- -h" checks the file "-h". A help option anywhere before
"--" shows this text and does nothing else.

Names in STF files and whole text files are in the code page that the
environment variable WENDARO_CODEPAGE names (default: windows-932;
UTF-8 is accepted too).

Exit status:
  0   done
  1   IN or FILE could not be read: stderr holds "ファイル読み込みエラー"
      and the reason on the next line. check exits 1 when it found a
      problem (read errors included), each on its own line as above.
  2   OUT (dump: stdout) could not be written: stderr holds
      "ファイル書き込みエラー" and the reason; an existing OUT stays as it was
  64  wrong usage
  78  WENDARO_CODEPAGE names no known code page, or one with characters
      of three bytes or more
)";

int usageError(const QString &what);

struct Command
{
    const char *name;
    qsizetype operandCount;
    const char *operands; // as the usage error names them
    QList<OptionSpec> options;
    int (*run)(const Arguments &arguments, const CodePage &codePage);
};

const Command Commands[] = {
    {"convert", 2, "two paths, IN and OUT", {},
     [](const Arguments &a, const CodePage &codePage) { return convert(a.operands[0], a.operands[1], codePage); }},
    {"dump", 1, "one path, FILE", {},
     [](const Arguments &a, const CodePage &codePage) { return dump(a.operands[0], codePage); }},
    {"check", 1, "one path, FILE", {{"against", true}, {"strict", false}, {"format", true}},
     [](const Arguments &a, const CodePage &codePage) {
         const QByteArray format = a.value("format").value_or("text");
         if (format != "text" && format != "json")
             return usageError(QStringLiteral("option \"--format\" takes json or text"));
         return check(a.operands[0], CheckOptions{a.value("against"), format == "json", a.has("strict")}, codePage);
     }},
};

int usageError(const QString &what)
{
    printErrorLine(QStringLiteral("wendaro-cli: ") + what);
    printErrorLine(QStringLiteral("Try 'wendaro-cli --help'."));
    return UsageError;
}

} // namespace

int main(int argc, char **argv)
{
    QHash<QByteArray, QList<OptionSpec>> optionsByCommand;
    for (const Command &c : Commands)
        optionsByCommand.insert(c.name, c.options);
    const Arguments arguments = parseArguments(argc, argv, optionsByCommand);

    if (arguments.help)
        return writeOut(UsageText) ? Done : WriteFailed;
    const auto command = std::find_if(std::begin(Commands), std::end(Commands),
                                      [&](const Command &c) { return arguments.command == c.name; });
    if (!arguments.command.isEmpty() && command == std::end(Commands))
        return usageError(QStringLiteral("unknown command \"%1\"").arg(QFile::decodeName(arguments.command)));
    if (!arguments.error.isEmpty())
        return usageError(arguments.error);
    if (arguments.version)
        return writeOut("wendaro-cli " WENDARO_VERSION "\n") ? Done : WriteFailed;
    if (arguments.command.isEmpty())
        return usageError(QStringLiteral("no command given"));
    if (arguments.operands.size() != command->operandCount)
        return usageError(QStringLiteral("%1 takes %2").arg(QLatin1String(command->name), QLatin1String(command->operands)));

    QString error;
    const std::optional<CodePage> codePage = CodePage::fromEnvironment(&error);
    if (!codePage) {
        printErrorLine(QStringLiteral("wendaro-cli: ") + error);
        return CodePageError;
    }

    return command->run(arguments, *codePage);
}
