// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/CommandTable.h"

#include "cli/Arguments.h"
#include "cli/Commands.h"
#include "cli/CompareCommands.h"
#include "cli/CommandFiles.h"
#include "cli/Console.h"
#include "cli/GrepCommand.h"
#include "cli/JsonDump.h"
#include "cli/MemoryCommands.h"
#include "cli/MergeCommand.h"
#include "cli/StatusCommand.h"
#include "cli/SuggestCommand.h"
#include "cli/TranslationCommands.h"

#include <QByteArrayList>
#include <QString>

#include <algorithm>

namespace wendaro::cli {

namespace {

using namespace Options;

// The option as one the command cannot run without.
Option required(Option option)
{
    option.required = true;
    return option;
}

Languages languages(const Arguments &a)
{
    return {a.get(SourceLang).value_or(QString()), a.get(TargetLang).value_or(QString())};
}

bool json(const Arguments &a)
{
    return a.get(Format) == OutputFormat::Json;
}

// --only leaves the checks it names, --skip then leaves out those it names.
CheckSettings checkSettings(const Arguments &a)
{
    CheckSettings settings;
    if (const std::optional<QList<TranslationCheck>> only = a.get(Only)) {
        settings.skipped = ~0U;
        for (const TranslationCheck check : *only)
            settings.skipped &= ~(1U << unsigned(check));
    }
    for (const TranslationCheck check : a.get(Skip).value_or(QList<TranslationCheck>()))
        settings.skip(check);
    settings.maxLength = a.get(MaxLength).value_or(0);
    return settings;
}

// clang-format off
const Command Commands[] = {
    {.name = "convert", .operands = "IN OUT", .operandsNamed = "two paths, IN and OUT",
     .options = {},
     .operandsFirst = true,
     .run = [](const Arguments &a, const CodePage &codePage) { return convert(a.operands[0], a.operands[1], codePage); },
     .help = R"(load IN and save its table as OUT; each path chooses its format:
a path ending in ".stf" (any case) is STF, any other is
tab-separated text. A text IN's output-file and memo lines
go along to a text OUT.)"},
    {.name = "dump", .operands = "FILE", .operandsNamed = "one path, FILE",
     .options = {Format},
     .operandsFirst = false,
     .run = [](const Arguments &a, const CodePage &codePage) {
         return json(a) ? dumpJson(a.operands[0], codePage) : dump(a.operands[0], codePage);
     },
     .help = R"(print the text form of FILE on stdout, in UTF-8.
--format=json  one JSON document instead, written entry by
    entry: {"outputFile": "...", "memo": "...", "entries":
    [{"index": 1, "name": "...", "value": "..."}, ...]} in row
    order, each value as a file holds it (line breaks "\r\n");
    a name with bytes that are no character of the code page
    also has "nameBytes", its bytes in hexadecimal ("96bc"); a
    value with a lone surrogate has U+FFFD in its place and
    "valueUtf16", its code units in hexadecimal ("d800000a").)"},
    {.name = "check", .operands = "FILE", .operandsNamed = "one path, FILE",
     .options = {Against, Strict, Format, Skip, Only, MaxLength, GlossaryFile, Spelling},
     .operandsFirst = true,
     .run = [](const Arguments &a, const CodePage &codePage) {
         return check(a.operands[0],
                      CheckOptions{a.get(Against), json(a), a.has(Strict), checkSettings(a), a.get(GlossaryFile),
                                   a.get(Spelling).value_or(QString())},
                      codePage);
     },
     .help = R"(list every problem of FILE, one line each on stderr,
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
    {0}), blanks at either end, empty translations, markup
    tags; a translation identical to its original is a
    warning, as are lost numbers, URLs and e-mail addresses,
    final punctuation, doubled spaces and words, unpaired
    brackets, a translation over three times as long, and one
    original translated in different ways.
--skip=CODE,...  leave out these checks of the translation;
--only=CODE,...  run only these: indexes untranslated unchanged
    linebreaks accelerators placeholders whitespace numbers
    endpunc doublespace doublewords brackets urls tags length
    inconsistent.
--max-length=N  every value longer than N characters is an
    error (code length).
--strict  warnings fail too.
--format=json  the problems as a JSON array on stdout, objects
    of "file", "line" or "offset" (when known), "index" and
    "name" (null when no entry), "severity" ("error",
    "warning"), "kind" ("read", "stf", "text", "stf+text",
    "translation"), "code" (a translation's check, as --skip
    names it) and "message".)"},
    {.name = "status", .operands = "TABLE...", .operandsNamed = "one path, TABLE",
     .options = {Against, Old, Format, GlossaryFile, PairsFrom, Include},
     .operandsFirst = true,
     .run = [](const Arguments &a, const CodePage &codePage) {
         if (a.has(PairsFrom)) {
             if (a.operands.size() != 2 || a.has(Against) || a.has(Old) || a.has(GlossaryFile))
                 return usage(QStringLiteral("status --pairs-from takes two folders, ORIGINAL_DIR and "
                                             "TRANSLATION_DIR, and no --against, --old or --glossary"));
             return projectStatus(a.operands, includeGlobs(a.values(Include)), json(a), codePage);
         }
         if (a.operands.size() != 1)
             return usage(QStringLiteral("status takes one path, TABLE"));
         if (!a.has(Against))
             return usage(QStringLiteral("status needs option \"--against\""));
         if (a.has(Include))
             return usage(QStringLiteral("status takes --include only with --pairs-from"));
         return status(a.operands[0], StatusOptions{*a.get(Against), a.get(Old), json(a), a.get(GlossaryFile)},
                       codePage);
     },
     .help = R"(print on stdout how far TABLE translates ORIGINAL (--against), the counts
of the window's translation panel: "翻訳済み T / N（P %）" (T of
ORIGINAL's N indexes translated, P percent rounded down), then
one line "word count" each: 未訳 (still to translate), 要確認 (the
original changed since OLD_ORIGINAL), 問題 (check --against
finds something, or STF cannot hold the entry), 原文なし (an index
ORIGINAL lacks) and 不足 (an index of ORIGINAL that TABLE lacks).
A row counts in the first of these that applies.
--old OLD_ORIGINAL  the original the translation was made from;
    without it nothing is 要確認.
--format=json  one JSON object instead: {"translated": T,
    "originals": N, "percent": P, "untranslated": 0, "review":
    0, "problems": 0, "noOriginal": 0, "missing": 0}.
--glossary FILE  one more line, "用語 N" (JSON: "glossary"): the
    rows whose translation lacks a term of the glossary that
    their original holds (check --glossary's findings).
--pairs-from  the operands are two folders, ORIGINAL_DIR and
    TRANSLATION_DIR, whose tables are paired as memory
    --pairs-from pairs them (--include=GLOB too): one line per
    table, its path inside and its counts, a tab between, then
    "訳なし" for a table with no translation yet (counted as the
    new translation the window makes: every row 未訳) or
    "原文なし" for one with no original; last a line "合計".
    --format=json: {"tables": [{"path", "original",
    "translation", the counts, or "error"}], "total": {the
    counts, "tables"}}. A table that cannot be read is told on
    stderr; the others are still counted.
Exit 1 when a table cannot be read, 0 otherwise.)"},
    {.name = "export", .operands = "TABLE OUT", .operandsNamed = "two paths, TABLE and OUT",
     .options = {Source, SourceLang, TargetLang, Memory, MinMatch},
     .operandsFirst = true,
     .run = [](const Arguments &a, const CodePage &codePage) {
         return exportTable(a.operands[0], a.operands[1], a.get(Source), languages(a),
                            {a.values(Memory), a.get(MinMatch)}, codePage);
     },
     .help = R"(write TABLE's entries to OUT for a translation tool, in the
format OUT's suffix names: .po, .pot, .xlf, .xliff or .csv.
Each entry is identified by its index, which must be unique in
TABLE; the name goes along as context. Without --source the
values are the source texts (a template); with it the source
of each entry is ORIGINAL's value of the same index and TABLE's
value is the translation.
Entries ORIGINAL lacks are left out and listed on stderr.
--source-lang=CODE, --target-lang=CODE  the languages, as BCP 47
    codes (en, ja, pt-BR): PO's "Language: pt_BR" header,
    XLIFF's source-language and target-language.
--memory MEMORY  (may be given more than once; .po, .pot, .xlf or
    .xliff only) offer each entry still to translate the
    suggestions that suggest finds: in PO the best one as a
    fuzzy msgstr with a comment "# 87 % tm.tmx", in XLIFF each
    one as an alt-trans. --min-match=N  as for suggest.)"},
    {.name = "import", .operands = "TABLE IN OUT", .operandsNamed = "three paths, TABLE, IN and OUT",
     .options = {Source, Fuzzy, IgnoreExtra},
     .operandsFirst = true,
     .run = [](const Arguments &a, const CodePage &codePage) {
         return importTable(a.operands[0], a.operands[1], a.operands[2], a.get(Source),
                            {a.has(Fuzzy), a.has(IgnoreExtra)}, codePage);
     },
     .help = R"(put the translations of IN (format by its suffix) into TABLE
and save the result as OUT, whose path chooses the table format
as for convert. Only entries of TABLE change; stderr tells how
many were updated, unchanged, untranslated and skipped as
fuzzy. --fuzzy takes fuzzy ones too; with --source, a unit
whose source is not ORIGINAL's current value counts as fuzzy.
An index of IN that TABLE lacks is an error (exit 1) unless
--ignore-extra is given.)"},
    {.name = "memory", .operands = "ORIGINAL TRANSLATION...", .operandsNamed = "pairs of paths, ORIGINAL and TRANSLATION",
     .options = {required(Output), required(SourceLang), required(TargetLang), PairsFrom, Include, Date},
     .operandsFirst = false,
     .run = [](const Arguments &a, const CodePage &codePage) { return memory(a, languages(a), codePage); },
     .help = R"(write the translation memory of the pairs of tables, each
ORIGINAL and its TRANSLATION, to OUT (-o OUT), a TMX 1.4b file
for CAT tools (OmegaT, Poedit, Weblate): one unit per distinct
pair of texts of an index that both hold, the translation
neither empty nor identical to the original, with a prop
"x-wendaro-entry" "TRANSLATION:INDEX" for each place it occurs.
The same tables give the same bytes; --date adds the date.
A text with a character XML cannot hold is refused (exit 2).
--source-lang=CODE, --target-lang=CODE  the languages.
--pairs-from  the operands are two folders, ORIGINAL_DIR and
    TRANSLATION_DIR: their "*.stf" tables (any case) and those
    --include=GLOB names, paired by their paths inside; tables
    without a partner are listed on stderr.)"},
    {.name = "pretranslate", .operands = "ORIGINAL TRANSLATION MEMORY... OUT",
     .operandsNamed = "ORIGINAL, TRANSLATION, one MEMORY or more and OUT",
     .options = {SourceLang, TargetLang},
     .operandsFirst = true,
     .run = [](const Arguments &a, const CodePage &codePage) { return pretranslate(a, languages(a), codePage); },
     .help = R"(fill each untranslated entry of TRANSLATION (empty, or the
same as ORIGINAL's value with a letter, as check --against
tells) with the TMX memories' translation of ORIGINAL's exact
text, and save the result as OUT as convert does. Languages
are the memory's srclang and its one other language unless
--source-lang and --target-lang say (ignoring case, else by
primary language: "pt" for "pt-BR"). Of several translations
of a text the one with the most places wins, then the latest
changedate, then the last read (MEMORY in the order given);
the entry is listed as ambiguous. stderr tells how many were
filled, already translated, without a match and ambiguous.
A MEMORY that is no TMX or not well-formed is a read error
with its line; entities it declares are never expanded.)"},
    {.name = "suggest", .operands = "ORIGINAL TRANSLATION MEMORY...",
     .operandsNamed = "ORIGINAL, TRANSLATION and one MEMORY or more",
     .options = {MinMatch, Limit, Format, SourceLang, TargetLang},
     .operandsFirst = true,
     .run = [](const Arguments &a, const CodePage &codePage) { return suggest(a, languages(a), codePage); },
     .help = R"(print on stdout, for each untranslated entry of TRANSLATION (as
pretranslate tells them), the translations whose original is
like ORIGINAL's text: the TMX memories' (languages as for
pretranslate) and those of TRANSLATION's translated entries
(never the entry's own). One line each, best first, entries in
TRANSLATION's order: "INDEX<TAB>PERCENT<TAB>ORIGIN<TAB>TRANSLATION",
PERCENT how alike the originals are, ORIGIN the memory's file
name or "この表 #INDEX", line breaks as "<br>".
Lookups run on every core.
--min-match=N  the least score shown, 0 to 100 (default 70).
--limit=K  at most K for an entry (default 5).
--format=json  one JSON object per untranslated entry and line
    instead: {"index": 3, "original": "...", "suggestions":
    [{"score": 87, "origin": "tm.tmx", "source": "...",
    "target": "..."}]}.
Exit 1 when a file cannot be read, 0 otherwise.)"},
    {.name = "diff", .operands = "A B", .operandsNamed = "two paths, A and B",
     .options = {Format, Order},
     .operandsFirst = false,
     .run = diff,
     .help = R"(compare table A with table B by index; print on stdout one line
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
be read (unlike convert, as diff(1) does) or stdout not written.)"},
    {.name = "update", .operands = "OLD_ORIGINAL NEW_ORIGINAL TRANSLATION OUT",
     .operandsNamed = "four paths, OLD_ORIGINAL, NEW_ORIGINAL, TRANSLATION and OUT",
     .options = {},
     .operandsFirst = true,
     .run = [](const Arguments &a, const CodePage &codePage) {
         return update(a.operands[0], a.operands[1], a.operands[2], a.operands[3], codePage);
     },
     .help = R"(write OUT: the entries of NEW_ORIGINAL in its order; where an
index's value is the same in OLD_ORIGINAL and NEW_ORIGINAL, the
name and value of TRANSLATION; elsewhere NEW_ORIGINAL's. stderr
lists each index as "new", "changed" ("old" -> "new" original),
"untranslated" (TRANSLATION lacks it) or "removed", then the
counts. A table that holds an index twice is refused (exit 1,
"FILE: reason"). A text OUT gets TRANSLATION's output-file and
memo lines.)"},
    {.name = "merge", .operands = "BASE OURS THEIRS", .operandsNamed = "three paths, BASE, OURS and THEIRS",
     .options = {Output, Prefer, Format},
     .operandsFirst = false,
     .run = merge,
     .help = R"(merge OURS and THEIRS, two changed copies of BASE, index by
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
is written.)"},
    {.name = "grep", .operands = "PATTERN FILE|FOLDER...", .operandsNamed = "PATTERN and one path or more",
     .options = {ExtendedRegexp, IgnoreCase, FilesWithMatches, Count, Recursive, Field, Include, Color},
     .operandsFirst = false,
     .run = grep,
     .help = R"(print each entry of the tables given whose name or value holds
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
searched) or stdout not written, as grep(1) does.)"},
};
// clang-format on

const Option ProgramOptions[] = {Help, Version};

// What follows the commands' paragraphs in the usage text.
const char UsageEnd[] = R"(
Options count only before "--"; every argument after it is a command or a
path, so "check -- -h" checks the file "-h". A help option anywhere before
"--" shows this text and does nothing else.

Names in STF files and whole text files are in the code page that the
environment variable WENDARO_CODEPAGE names (default: windows-932;
UTF-8 is accepted too).

Exit status:
  0   done
  1   IN, FILE, TABLE, ORIGINAL or MEMORY could not be read: stderr holds
      the line "FILE[:PLACE]: ファイル読み込みエラー: reason", PLACE the byte
      offset or line where there is one. export and import also exit 1
      when indexes repeat or IN has indexes TABLE lacks, naming that file;
      check exits 1 when it found an error (read errors included; warnings
      only with --strict), each on its own line in the same form.
  2   OUT (dump, status, suggest: stdout) could not be written: stderr holds
      the line "OUT: ファイル書き込みエラー: reason"; an existing OUT stays
      as it was
  64  wrong usage
  78  WENDARO_CODEPAGE names no known code page, or one with characters
      of three bytes or more
)";

// Before the first synopsis; the others stand under it.
const char UsageLead[] = "Usage: ";
// A synopsis wider than this goes on under its first word after the
// command: as wide as import's, so that few take two lines.
constexpr qsizetype SynopsisColumns = 85;

// "--format=text|json", "-o OUT", "--color[=WHEN]": the letter where there
// is one, as a synopsis spells an option.
QByteArray spelling(const Option &option)
{
    QByteArray head = option.letter ? QByteArray("-") + option.letter : QByteArray("--") + option.name;
    const QByteArray value = option.valueName ? QByteArray(option.valueName)
                                              : QByteArray(option.choices ? option.choices : "").replace(' ', '|');
    switch (option.value) {
    case ValueForm::None: break;
    case ValueForm::Apart: return head + ' ' + value;
    case ValueForm::Joined: return head + (option.letter ? ' ' : '=') + value;
    case ValueForm::Optional: return head + "[=" + value + ']';
    }
    return head;
}

QByteArray synopsis(const Command &command)
{
    QByteArrayList words;
    for (qsizetype i = 0; i < command.options.size(); ++i) {
        if (command.options[i].required) {
            words << spelling(command.options[i]);
            continue;
        }
        QByteArray word = '[' + spelling(command.options[i]);
        while (command.options[i].orNext && i + 1 < command.options.size())
            word += " | " + spelling(command.options[++i]);
        words << word + ']';
    }
    // The operands stay together.
    words.insert(command.operandsFirst ? 0 : words.size(), command.operands);

    QByteArray text = QByteArray("wendaro-cli ") + command.name;
    qsizetype column = qsizetype(qstrlen(UsageLead)) + text.size();
    const qsizetype indent = column + 1;
    for (const QByteArray &word : words) {
        if (column + 1 + word.size() > SynopsisColumns) {
            text += '\n' + QByteArray(indent, ' ') + word;
            column = indent + word.size();
        } else {
            text += ' ' + word;
            column += 1 + word.size();
        }
    }
    return text;
}

} // namespace

qsizetype Command::leastOperands() const
{
    return QByteArray(operands).count(' ') + 1;
}

bool Command::moreOperands() const
{
    return QByteArray(operands).contains("...");
}

std::span<const Command> commands()
{
    return Commands;
}

const Command *findCommand(const QByteArray &name)
{
    const auto found = std::find_if(std::begin(Commands), std::end(Commands),
                                    [&](const Command &c) { return name == c.name; });
    return found == std::end(Commands) ? nullptr : found;
}

std::span<const Option> programOptions()
{
    return ProgramOptions;
}

QByteArray usageText()
{
    QByteArrayList synopses;
    for (const Command &command : Commands)
        synopses << synopsis(command);
    for (const Option &option : ProgramOptions)
        synopses << QByteArray("wendaro-cli --") + option.name
                        + (option.letter ? QByteArray(" | -") + option.letter : QByteArray());

    qsizetype nameColumns = 0;
    for (const Command &command : Commands)
        nameColumns = std::max(nameColumns, qsizetype(qstrlen(command.name)));
    const QByteArray helpIndent(2 + nameColumns + 2, ' ');

    const QByteArray lead(qstrlen(UsageLead), ' ');
    QByteArray text = UsageLead + synopses.join('\n' + lead) + "\n\n";
    for (const Command &command : Commands) {
        const QByteArrayList lines = QByteArray(command.help).split('\n');
        text += "  " + QByteArray(command.name).leftJustified(nameColumns + 2) + lines.first() + '\n';
        for (qsizetype i = 1; i < lines.size(); ++i)
            text += helpIndent + lines[i] + '\n';
    }
    return text + UsageEnd;
}

} // namespace wendaro::cli
