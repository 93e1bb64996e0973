// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/GrepCommand.h"

#include "cli/Arguments.h"
#include "cli/CommandFiles.h"
#include "cli/Console.h"
#include "cli/ExitCode.h"
#include "cli/InOrder.h"
#include "cli/TextMatch.h"

#include "core/document/DocumentFile.h"
#include "core/document/ProjectTables.h"
#include "core/io/MemoryShortage.h"
#include "core/text/Spaces.h"

#include <QDir>
#include <QFileInfo>
#include <deque>

#include <unistd.h>

namespace wendaro::cli {

namespace {

enum Field : unsigned { IndexField = 1, NameField = 2, ValueField = 4 };

// grep's own colours (GREP_COLORS' defaults): file names magenta,
// separators cyan, the match bold red; each ends by clearing to the line's end.
constexpr char FileColor[] = "\33[35m\33[K";
constexpr char SeparatorColor[] = "\33[36m\33[K";
constexpr char MatchColor[] = "\33[01;31m\33[K";
constexpr char ColorEnd[] = "\33[m\33[K";

struct Search
{
    TextMatch match;
    unsigned fields = NameField | ValueField;
    bool filesOnly = false; // -l
    bool count = false;     // -c
    bool color = false;
};

// One file to search, in the order of the output.
struct Target
{
    QString shown; // as the output names it
    QString name;  // as Qt opens it
};

// What searching one file gave, laid out for stdout.
struct Found
{
    QByteArray out;
    QString error;     // the read error, when it could not be read
    qint64 place = -1; // where in the file the read failed, when the format tells
    bool matched = false;
};

void appendColored(QByteArray &out, const char *color, QByteArrayView text, bool colored)
{
    if (colored)
        out += color;
    out += text;
    if (colored)
        out += ColorEnd;
}

// A field of a line: its matches highlighted when it is searched.
void appendField(QByteArray &out, QStringView text, bool searched, const Search &search)
{
    if (!search.color || !searched) {
        out += text.toUtf8();
        return;
    }
    qsizetype shown = 0;
    for (const auto &[start, length] : search.match.spans(text)) {
        out += text.sliced(shown, start - shown).toUtf8();
        appendColored(out, MatchColor, text.sliced(start, length).toUtf8(), true);
        shown = start + length;
    }
    out += text.sliced(shown).toUtf8();
}

void appendSeparator(QByteArray &out, const Search &search)
{
    appendColored(out, SeparatorColor, ":", search.color);
}

bool valueMatches(const ValueText &value, const TextMatch &match)
{
    if (match.sameInFileForm()) {
        if (const std::optional<QStringView> units = value.fileUnits())
            return match.matches(*units);
    }
    return value.withView([&](QStringView text) { return match.matches(text); });
}

Found searchLoaded(const Target &target, const Search &search, const CodePage &codePage)
{
    Found found;
    LoadedDocument document;
    if (!loadDocument(target.name, codePage, document, &found.error)) {
        found.place = document.place;
        return found;
    }
    const QByteArray file = target.shown.toUtf8();
    qsizetype count = 0;
    const EntryList &rows = document.rows;
    for (qsizetype position = 0; position < rows.count(); ++position) {
        const Entry &entry = rows.at(position);
        const QStringView index = trimSpaces(entry.indexText);
        const bool hit = ((search.fields & IndexField) && search.match.matches(index))
                         || ((search.fields & NameField) && search.match.matches(entry.name))
                         || ((search.fields & ValueField) && valueMatches(entry.value, search.match));
        if (!hit)
            continue;
        ++count;
        if (search.filesOnly)
            break;
        if (search.count)
            continue;
        appendColored(found.out, FileColor, file, search.color);
        appendSeparator(found.out, search);
        appendField(found.out, index, search.fields & IndexField, search);
        appendSeparator(found.out, search);
        appendField(found.out, entry.name, search.fields & NameField, search);
        appendSeparator(found.out, search);
        entry.value.withView(
            [&](QStringView value) { appendField(found.out, value, search.fields & ValueField, search); });
        found.out += '\n';
    }
    found.matched = count > 0;
    if (search.filesOnly && found.matched) {
        appendColored(found.out, FileColor, file, search.color);
        found.out += '\n';
    } else if (search.count) {
        appendColored(found.out, FileColor, file, search.color);
        appendSeparator(found.out, search);
        found.out += QByteArray::number(count) + '\n';
    }
    return found;
}

// Runs on a worker thread: running out of memory must become this file's
// error, not end the search of the others.
Found searchTable(const Target &target, const Search &search, const CodePage &codePage)
{
    Found found;
    const auto step = [&] {
        found = searchLoaded(target, search, codePage);
        return true;
    };
    const auto shortage = [&] {
        return QStringLiteral("メモリが足りないため、ファイル「%1」を調べきれませんでした。").arg(target.shown);
    };
    if (QString error; !withinMemory(step, shortage, &error)) {
        found = Found();
        found.error = error;
    }
    return found;
}

// Searches the targets on every core and hands each result on in their
// order as soon as it and those before it are done.
template<typename Print>
void searchInOrder(const std::vector<Target> &targets, const Search &search, const CodePage &codePage, Print print)
{
    runInOrder<Found>(
        targets.size(), [&](size_t i) { return searchTable(targets[i], search, codePage); },
        [&](size_t i, const Found &found) { return print(targets[i], found); });
}

} // namespace

int grep(const Arguments &arguments, const CodePage &codePage)
{
    Search search;
    search.filesOnly = arguments.has(Options::FilesWithMatches);
    search.count = arguments.has(Options::Count) && !search.filesOnly;
    if (const std::optional<QList<SearchedField>> fields = arguments.get(Options::Field)) {
        static constexpr unsigned Bits[] = {IndexField, NameField, ValueField}; // by SearchedField
        search.fields = 0;
        for (const SearchedField field : *fields)
            search.fields |= Bits[int(field)];
    }
    const std::optional<Coloring> color = arguments.get(Options::Color);
    search.color = color == Coloring::Always || (color == Coloring::Auto && ::isatty(STDOUT_FILENO) == 1);

    QString error;
    std::optional<TextMatch> match = TextMatch::make(QString::fromUtf8(arguments.operands[0]),
                                                     arguments.has(Options::ExtendedRegexp),
                                                     arguments.has(Options::IgnoreCase), &error);
    if (!match)
        return usage(QStringLiteral("grep: ") + error);
    search.match = std::move(*match);

    const QList<QRegularExpression> includes = includeGlobs(arguments.values(Options::Include));

    // The files in the order given, folders walked where -r asks; a name
    // that cannot be opened is told at once, as a file that cannot be read.
    bool trouble = false;
    std::vector<Target> targets;
    for (qsizetype i = 1; i < arguments.operands.size(); ++i) {
        const QByteArray &path = arguments.operands[i];
        const std::optional<QString> name = fileName(path, ReadErrorMessage, QStringLiteral("読み込めません"));
        if (!name) {
            trouble = true;
            continue;
        }
        if (arguments.has(Options::Recursive) && QFileInfo(*name).isDir()) {
            const QString shown = QFile::decodeName(path);
            for (const QString &table : tablesUnder(*name, includes))
                targets.push_back({shown.endsWith(QLatin1Char('/')) ? shown + table : shown + QLatin1Char('/') + table,
                                   QDir(*name).filePath(table)});
        } else {
            targets.push_back({QFile::decodeName(path), *name});
        }
    }

    bool matched = false;
    bool written = true;
    searchInOrder(targets, search, codePage, [&](const Target &target, const Found &found) {
        if (!found.error.isEmpty()) {
            printFileError(target.shown, ReadErrorMessage, found.error, found.place);
            trouble = true;
        }
        matched = matched || found.matched;
        written = found.out.isEmpty() || writeOut(found.out);
        return written;
    });
    if (!written) {
        printError(WriteErrorMessage, QStringLiteral("標準出力に書き込めませんでした。"));
        return Trouble;
    }
    return trouble ? Trouble : matched ? Done : NoMatch;
}

} // namespace wendaro::cli
