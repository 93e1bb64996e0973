// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/GrepCommand.h"

#include "cli/Arguments.h"
#include "cli/CommandFiles.h"
#include "cli/Console.h"
#include "cli/ExitCode.h"
#include "cli/TextMatch.h"

#include "core/document/DocumentFile.h"
#include "core/io/MemoryShortage.h"
#include "core/text/Spaces.h"

#include <QDir>
#include <QFileInfo>
#include <QThreadPool>
#include <QtConcurrent/QtConcurrentRun>

#include <condition_variable>
#include <deque>
#include <mutex>

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

// The files of a folder and its subfolders, by name, that -r searches:
// "*.stf" in any case, and those an --include pattern names. Symbolic links
// met on the way are left, as grep -r leaves them.
void walkFolder(const QString &folder, const QString &shown, const QList<QRegularExpression> &includes,
                std::vector<Target> &targets)
{
    const QFileInfoList entries = QDir(folder).entryInfoList(QDir::Files | QDir::Dirs | QDir::Hidden | QDir::System
                                                                 | QDir::NoDotAndDotDot | QDir::NoSymLinks,
                                                             QDir::Name);
    for (const QFileInfo &entry : entries) {
        const QString name = entry.fileName();
        const QString shownPath = shown.endsWith(QLatin1Char('/')) ? shown + name : shown + QLatin1Char('/') + name;
        if (entry.isDir()) {
            walkFolder(entry.filePath(), shownPath, includes, targets);
            continue;
        }
        const bool wanted = name.endsWith(QLatin1String(".stf"), Qt::CaseInsensitive)
                            || std::any_of(includes.cbegin(), includes.cend(),
                                           [&](const QRegularExpression &glob) { return glob.match(name).hasMatch(); });
        if (wanted)
            targets.push_back({shownPath, entry.filePath()});
    }
}

// Searches the targets on every core and hands each result on in their
// order as soon as it and those before it are done. Workers run at most a
// few files ahead of the output, so that what waits to be printed stays small.
template<typename Print>
void searchInOrder(const std::vector<Target> &targets, const Search &search, const CodePage &codePage, Print print)
{
    const size_t workers = size_t(std::max(1, QThreadPool::globalInstance()->maxThreadCount()));
    const size_t ahead = 2 * workers + 2;
    std::mutex mutex;
    std::condition_variable changed;
    std::vector<std::optional<Found>> results(targets.size());
    size_t next = 0;
    size_t printed = 0;
    bool stopped = false;

    const auto work = [&] {
        for (;;) {
            size_t i = 0;
            {
                std::unique_lock lock(mutex);
                changed.wait(lock, [&] { return stopped || next >= targets.size() || next < printed + ahead; });
                if (stopped || next >= targets.size())
                    return;
                i = next++;
            }
            Found found = searchTable(targets[i], search, codePage);
            const std::lock_guard lock(mutex);
            results[i] = std::move(found);
            changed.notify_all();
        }
    };
    std::vector<QFuture<void>> running;
    for (size_t w = 0; w < std::min(workers, targets.size()); ++w)
        running.push_back(QtConcurrent::run(work));

    for (size_t i = 0; i < targets.size(); ++i) {
        Found found;
        {
            std::unique_lock lock(mutex);
            changed.wait(lock, [&] { return results[i].has_value(); });
            found = std::move(*results[i]);
            results[i].reset();
            printed = i + 1;
            changed.notify_all();
        }
        if (!print(targets[i], found)) {
            const std::lock_guard lock(mutex);
            stopped = true;
            changed.notify_all();
            break;
        }
    }
    for (QFuture<void> &future : running)
        future.waitForFinished();
}

std::optional<unsigned> parseFields(const QByteArray &text)
{
    unsigned fields = 0;
    for (const QByteArray &field : text.split(',')) {
        if (field == "index")
            fields |= IndexField;
        else if (field == "name")
            fields |= NameField;
        else if (field == "value")
            fields |= ValueField;
        else
            return std::nullopt;
    }
    return fields;
}

int usage(const QString &what)
{
    printUsageError(what);
    return UsageError;
}

} // namespace

int grep(const Arguments &arguments, const CodePage &codePage)
{
    Search search;
    search.filesOnly = arguments.has("files-with-matches");
    search.count = arguments.has("count") && !search.filesOnly;
    if (const std::optional<QByteArray> fields = arguments.value("field")) {
        const std::optional<unsigned> parsed = parseFields(*fields);
        if (!parsed)
            return usage(
                QStringLiteral("grep's --field takes index, name or value, or several of them joined by \",\""));
        search.fields = *parsed;
    }
    const QByteArray color = arguments.value("color").value_or("never");
    if (color != "auto" && color != "always" && color != "never" && !color.isEmpty())
        return usage(QStringLiteral("grep's --color takes auto, always or never"));
    search.color = color == "always" || ((color == "auto" || color.isEmpty()) && ::isatty(STDOUT_FILENO) == 1);

    QString error;
    std::optional<TextMatch> match = TextMatch::make(QString::fromUtf8(arguments.operands[0]),
                                                     arguments.has("extended-regexp"), arguments.has("ignore-case"),
                                                     &error);
    if (!match)
        return usage(QStringLiteral("grep: ") + error);
    search.match = std::move(*match);

    QList<QRegularExpression> includes;
    for (const QByteArray &glob : arguments.values("include"))
        includes << QRegularExpression::fromWildcard(QString::fromUtf8(glob), Qt::CaseSensitive);

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
        if (arguments.has("recursive") && QFileInfo(*name).isDir())
            walkFolder(*name, QFile::decodeName(path), includes, targets);
        else
            targets.push_back({QFile::decodeName(path), *name});
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
