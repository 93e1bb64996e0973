// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/Arguments.h"
#include "cli/Commands.h"
#include "cli/CompareCommands.h"
#include "cli/Console.h"
#include "cli/ExitCode.h"
#include "cli/MergeCommand.h"
#include "cli/GrepCommand.h"
#include "cli/JsonDump.h"
#include "cli/TranslationCommands.h"

#include "core/text/CodePage.h"
#include "startup/HeapGrowth.h"

#include <QByteArrayList>
#include <QFile>
#include <QHash>

#include <algorithm>
#include <iterator>

using namespace wendaro;
using namespace wendaro::cli;

namespace {

const char UsageText[] = R"(Usage: wendaro-cli convert IN OUT
       wendaro-cli dump [--format=text|json] FILE
       wendaro-cli check FILE [--against ORIGINAL] [--strict] [--format=text|json]
       wendaro-cli export TABLE OUT [--source ORIGINAL]
       wendaro-cli import TABLE IN OUT [--source ORIGINAL] [--fuzzy] [--ignore-extra]
       wendaro-cli diff [--format=text|json] [--order] A B
       wendaro-cli update OLD_ORIGINAL NEW_ORIGINAL TRANSLATION OUT
       wendaro-cli merge [-o OUT] [--prefer=ours|theirs] [--format=text|json]
                   BASE OURS THEIRS
       wendaro-cli grep [-E] [-i] [-l | -c] [-r] [--field=FIELD] [--include=GLOB]
                        [--color[=WHEN]] PATTERN FILE|FOLDER...
       wendaro-cli --help | -h
       wendaro-cli --version

  convert  load IN and save its table as OUT; each path chooses its format:
           a path ending in ".stf" (any case) is STF, any other is
           tab-separated text. A text IN's output-file and memo lines
           go along to a text OUT.
  dump     print the text form of FILE on stdout, in UTF-8.
           --format=json  one JSON document instead, written entry by
               entry: {"outputFile": "...", "memo": "...", "entries":
               [{"index": 1, "name": "...", "value": "..."}, ...]} in row
               order, each value as a file holds it (line breaks "\r\n");
               a name with bytes that are no character of the code page
               also has "nameBytes", its bytes in hexadecimal ("96bc"); a
               value with a lone surrogate has U+FFFD in its place and
               "valueUtf16", its code units in hexadecimal ("d800000a").
  check    list every problem of FILE, one line each on stderr,
           "FILE:LINE: message" (text files) or "FILE:OFFSET: message"
           (STF: the record's byte offset), "FILE: message" where no place
           applies: a read error (then nothing else), then every reason its
           table cannot be saved as STF or as the text form. Nothing is
           written. Exit 1 for a read error and for every reason the table
           cannot be saved in FILE's own form or as STF; a reason it cannot
           be saved only as the text form, FILE being STF, is a warning
           ("警告: "), which fails only with --strict. Exit 0 otherwise.
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
  export   write TABLE's entries to OUT for a translation tool, in the
           format OUT's suffix names: .po, .pot, .xlf, .xliff or .csv.
           Each entry is identified by its index, which must be unique in
           TABLE; the name goes along as context. Without --source the
           values are the source texts (a template); with it the source
           of each entry is ORIGINAL's value of the same index and TABLE's
           value is the translation.
           Entries ORIGINAL lacks are left out and listed on stderr.
  import   put the translations of IN (format by its suffix) into TABLE
           and save the result as OUT, whose path chooses the table format
           as for convert. Only entries of TABLE change; stderr tells how
           many were updated, unchanged, untranslated and skipped as
           fuzzy. --fuzzy takes fuzzy ones too; with --source, a unit
           whose source is not ORIGINAL's current value counts as fuzzy.
           An index of IN that TABLE lacks is an error (exit 1) unless
           --ignore-extra is given.
  diff     compare table A with table B by index; print on stdout one line
           per difference, sorted by index, then a line of counts:
             + INDEX "name": "value"                   only in B
             - INDEX "name": "value"                   only in A
             ~ INDEX "name": "old" -> "new"            value changed
             ~ INDEX "old" -> "new": "value"           name changed
             > INDEX "name": row 3 -> row 7            moved (--order only)
             3 added, 1 removed, 4 changed
           Texts are quoted; \ and " show as \\ and \", TAB, CR and LF as
           \t, \r and \n, other control characters as \xNN, U+2028, U+2029
           and lone surrogates as \uXXXX, so each line is one difference.
           An index that a table holds more than once: its n-th row in A is
           compared with its n-th in B, shown as INDEX#n, and a line
           "# index 5 appears 2 times in A, once in B; ..." says so.
           An index text that is no number is compared as text, in quotes.
           The order of the rows counts only with --order; the fewest rows
           whose moving explains B's order are shown as moved.
           --format=json prints one JSON object instead (see the manual).
           Exit status 0: same entries, 1: they differ, 2: A or B could not
           be read (unlike convert, as diff(1) does) or stdout not written.
  update   write OUT: the entries of NEW_ORIGINAL in its order; where an
           index's value is the same in OLD_ORIGINAL and NEW_ORIGINAL, the
           name and value of TRANSLATION; elsewhere NEW_ORIGINAL's. stderr
           lists each index as "new", "changed" ("old" -> "new" original),
           "untranslated" (TRANSLATION lacks it) or "removed", then the
           counts. A table that holds an index twice is refused (exit 1,
           "FILE: reason"). A text OUT gets TRANSLATION's output-file and
           memo lines.
  merge    merge OURS and THEIRS, two changed copies of BASE, index by
           index into OUT (-o OUT, --output OUT), by default OURS itself
           in OURS' format, as git's merge driver wants it; an OUT given
           takes its format from its path as for convert. A file whose name
           ends in neither ".stf" nor ".txt" (git's ".merge_file_XXXXXX")
           is STF when it begins with the bytes CD AB 00 00, text otherwise.
           Name and value, and a text table's output-file and memo lines,
           merge each on its own: a change on one side is taken, the same
           change on both is taken once, two different changes conflict;
           an entry added on one side is added, on both the same once;
           removed on one side and unchanged on the other it is removed,
           changed on the other it conflicts. OURS' rows keep OURS' order;
           a row only THEIRS adds follows the row before it in THEIRS.
           Each conflict is a line on stderr, "OUT: インデックス 12（name）:
           ..." with the BASE, OURS and THEIRS texts, and OUT takes OURS'
           side. --prefer=ours|theirs takes that side for every conflict,
           still listed. --format=json lists them on stdout instead.
           A table that repeats an index is refused. Exit status 0: merged
           (or resolved by --prefer), 1: conflicts left, 2: a table could
           not be read or was refused, or OUT not written; after 2 nothing
           is written.
  grep     print each entry of the tables given whose name or value holds
           PATTERN, one line each: "FILE:INDEX:NAME:VALUE", the value as
           dump shows it; files in the order given, searched on every core.
           PATTERN is a fixed string (as grep -F) unless
           -E, --extended-regexp  makes it a regular expression
               (QRegularExpression's syntax).
           -i, --ignore-case
           --field=index|name|value  the fields searched, one or several
               joined by "," (default: name,value).
           -l, --files-with-matches  only the names of the files that match.
           -c, --count  "FILE:COUNT" for each file.
           -r, --recursive  search the "*.stf" files (any case) of FOLDER
               and its subfolders, by name, and those --include=GLOB names
               (may be given more than once); links met are left.
           --color[=auto|always|never]  highlight the matches as grep does;
               auto (--color alone): only when stdout is a terminal.
           Exit status 0: something matched, 1: nothing did, 2: a file
           could not be read (told on stderr; the others are still
           searched) or stdout not written, as grep(1) does.

Options count only before "--"; every argument after it is a command or a
path, so "check -- -h" checks the file "-h". A help option anywhere before
"--" shows this text and does nothing else.

Names in STF files and whole text files are in the code page that the
environment variable WENDARO_CODEPAGE names (default: windows-932;
UTF-8 is accepted too).

Exit status:
  0   done
  1   IN, FILE, TABLE or ORIGINAL could not be read: stderr holds
      "ファイル読み込みエラー" and the reason on the next line. export and
      import also exit 1 when indexes repeat or IN has indexes TABLE lacks;
      check exits 1 when it found an error (read errors included; warnings
      only with --strict), each on its own line as above.
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
    QList<OptionRule> options;
    int (*run)(const Arguments &arguments, const CodePage &codePage);
    bool moreOperands = false; // operandCount is the least
};

// clang-format off
const Command Commands[] = {
    {"convert", 2, "two paths, IN and OUT", {},
     [](const Arguments &a, const CodePage &codePage) { return convert(a.operands[0], a.operands[1], codePage); }},
    {"dump", 1, "one path, FILE", {{"format", true}},
     [](const Arguments &a, const CodePage &codePage) {
         const QByteArray format = a.value("format").value_or("text");
         if (format != "text" && format != "json")
             return usageError(QStringLiteral("option \"--format\" takes json or text"));
         return format == "json" ? dumpJson(a.operands[0], codePage) : dump(a.operands[0], codePage);
     }},
    {"check", 1, "one path, FILE", {{"against", true}, {"strict", false}, {"format", true}},
     [](const Arguments &a, const CodePage &codePage) {
         const QByteArray format = a.value("format").value_or("text");
         if (format != "text" && format != "json")
             return usageError(QStringLiteral("option \"--format\" takes json or text"));
         return check(a.operands[0], CheckOptions{a.value("against"), format == "json", a.has("strict")}, codePage);
     }},
    {"export", 2, "two paths, TABLE and OUT", {{"source", true}},
     [](const Arguments &a, const CodePage &codePage) {
         return exportTable(a.operands[0], a.operands[1], a.value("source"), codePage);
     }},
    {"import", 3, "three paths, TABLE, IN and OUT", {{"source", true}, {"fuzzy", false}, {"ignore-extra", false}},
     [](const Arguments &a, const CodePage &codePage) {
         return importTable(a.operands[0], a.operands[1], a.operands[2], a.value("source"),
                            {a.has("fuzzy"), a.has("ignore-extra")}, codePage);
     }},
    {"diff", 2, "two paths, A and B", {{"format", true}, {"order", false}},
     [](const Arguments &a, const CodePage &codePage) { return diff(a, codePage); }},
    {"update", 4, "four paths, OLD_ORIGINAL, NEW_ORIGINAL, TRANSLATION and OUT", {},
     [](const Arguments &a, const CodePage &codePage) {
         return update(a.operands[0], a.operands[1], a.operands[2], a.operands[3], codePage);
     }},
    {"merge", 3, "three paths, BASE, OURS and THEIRS", {{"output", true, 'o'}, {"prefer", true}, {"format", true}},
     [](const Arguments &a, const CodePage &codePage) { return merge(a, codePage); }},
    {"grep", 2, "PATTERN and one path or more",
     {{"extended-regexp", false, 'E'}, {"ignore-case", false, 'i'}, {"files-with-matches", false, 'l'},
      {"count", false, 'c'}, {"recursive", false, 'r'}, {"field", true}, {"include", true, 0, false, true},
      {"color", true, 0, true}},
     grep, true},
};
// clang-format on

int usageError(const QString &what)
{
    printUsageError(what);
    return UsageError;
}

} // namespace

int main(int argc, char **argv)
{
    growHeapOnLargePages(/*oneHeap=*/false);
    QHash<QByteArray, QList<OptionRule>> optionsByCommand;
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
    if (command->moreOperands ? arguments.operands.size() < command->operandCount
                              : arguments.operands.size() != command->operandCount)
        return usageError(
            QStringLiteral("%1 takes %2").arg(QLatin1String(command->name), QLatin1String(command->operands)));

    QString error;
    const std::optional<CodePage> codePage = CodePage::fromEnvironment(&error);
    if (!codePage) {
        printErrorLine(QStringLiteral("wendaro-cli: ") + error);
        return CodePageError;
    }

    return command->run(arguments, *codePage);
}
