// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/Commands.h"

#include "cli/CommandFiles.h"
#include "cli/Console.h"
#include "cli/ExitCode.h"
#include "cli/ProblemReport.h"

#include "core/text/CodePage.h"
#include "core/document/DocumentFile.h"
#include "core/io/MemoryShortage.h"
#include "core/checks/RowPlaces.h"
#include "core/checks/TableProblems.h"
#include "core/checks/TranslationChecks.h"
#include "core/checks/TranslationStates.h"
#include "core/formats/GlossaryReader.h"
#include "core/text/Spelling.h"
#include "core/translation/Glossary.h"
#include "core/formats/FormatRegistry.h"
#include "core/formats/RowPlacesInFile.h"
#include "core/formats/TextWriter.h"

#include <QFile>

#include <optional>

namespace wendaro::cli {

int convert(const QByteArray &in, const QByteArray &out, const CodePage &codePage)
{
    const std::optional<LoadedDocument> document = load(in, codePage);
    if (!document)
        return ReadFailed;
    const std::optional<QString> outName = outputName(out);
    if (!outName)
        return WriteFailed;
    return saveTable(*outName, document->rows, document->fields, codePage);
}

int dump(const QByteArray &file, const CodePage &codePage)
{
    const std::optional<LoadedDocument> document = load(file, codePage);
    if (!document)
        return ReadFailed;
    // The text form is the one the text writer lays out, only in UTF-8.
    QByteArray text;
    QString error;
    const auto layOut = [&] {
        text = TextWriter::layout(document->rows, document->fields).toUtf8();
        return true;
    };
    const auto shortage = [&] {
        return QStringLiteral("メモリが足りないため、%1 件の項目のテキストを作れませんでした。")
            .arg(document->rows.count());
    };
    if (!withinMemory(layOut, shortage, &error)) {
        printError(WriteErrorMessage, error);
        return WriteFailed;
    }
    if (!writeOut(text)) {
        printError(WriteErrorMessage, QStringLiteral("標準出力に書き込めませんでした。"));
        return WriteFailed;
    }
    return Done;
}

namespace {

// A table as check reads it: its rows and where each came from.
struct CheckedTable
{
    QString file; // as the report names it
    PlaceKind placeKind = PlaceKind::Line;
    LoadedDocument document;
    RowPlaces places;
};

// The table at path, or nullopt after its read error went into the report
// (a name that is no UTF-8 is told at once, as every command tells it).
std::optional<CheckedTable> loadChecked(const QByteArray &path, const CodePage &codePage, ProblemReport &report,
                                        bool *refusedName)
{
    const std::optional<QString> name = fileName(path, ReadErrorMessage, QStringLiteral("読み込めません"));
    if (!name) {
        *refusedName = true;
        return std::nullopt;
    }
    CheckedTable table;
    table.file = QFile::decodeName(path);
    // Messages name a row's place as its format counts places; of the table
    // formats STF alone counts bytes, its rows' value records.
    const bool offsets = FormatRegistry::forPath(*name).placeUnit() == FileFormat::PlaceUnit::ByteOffset;
    table.placeKind = offsets ? PlaceKind::Offset : PlaceKind::Line;
    QByteArray bytes;
    QString error;
    if (!loadDocument(*name, codePage, table.document, &error, &bytes)) {
        Problem problem;
        problem.kind = Problem::Kind::Read;
        problem.place = table.document.place;
        problem.message = ReadErrorMessage + QStringLiteral(": ") + error;
        report.add(table.file, table.placeKind, problem);
        return std::nullopt;
    }
    // Looked for only when a message names a row.
    table.places = RowPlaces::foundBy(
        [bytes, offsets, codePage] { return offsets ? stfRowOffsets(bytes) : textRowLines(bytes, codePage); });
    return table;
}

} // namespace

std::optional<Glossary> readGlossaryFile(const QByteArray &path)
{
    const std::optional<QString> name = fileName(path, ReadErrorMessage, QStringLiteral("読み込めません"));
    if (!name)
        return std::nullopt;
    QString error;
    qint64 line = -1;
    const std::optional<QByteArray> bytes = readWholeFile(*name, &error);
    Glossary glossary;
    if (!bytes || !readGlossary(*name, *bytes, QString(), QString(), glossary, &line, &error)) {
        printFileError(escapedPath(path), ReadErrorMessage, error, line);
        return std::nullopt;
    }
    return glossary;
}

// The glossary and spelling findings of each row of rows (the first of
// each index), against original's row of its index when there is one.
QList<Problem> termAndSpellingProblems(const EntryList &rows, const RowPlaces &places, const EntryList *original,
                                       const Glossary *glossary, const Speller *speller)
{
    QList<Problem> found;
    // Without either, no value need be decoded.
    if (!glossary && !speller)
        return found;
    const FirstRows first(rows);
    const FirstRows originals = original ? FirstRows(*original) : FirstRows();
    for (qsizetype p = 0; p < rows.count(); ++p) {
        const std::optional<qint16> index = rowIndex(rows.at(p));
        if (!index || first.positionOf(*index) != p)
            continue;
        const Entry &row = rows.at(p);
        const QString value = row.value.toString();
        const auto add = [&](TranslationCheck check, const QString &message) {
            Problem problem;
            problem.kind = Problem::Kind::Translation;
            problem.severity = Problem::Severity::Warning;
            problem.place = places.of(p);
            problem.index = *index;
            problem.name = row.name;
            problem.message = entryLabel(*index, row.name) + QStringLiteral(": ") + message;
            problem.code = checkCode(check);
            found.append(problem);
        };
        const Entry *source = original ? originals.rowOf(*index) : nullptr;
        if (glossary && source && !value.isEmpty()) {
            for (const QString &missing : glossary->missingTerms(source->value.toString(), value))
                add(TranslationCheck::Glossary, missing);
        }
        if (speller) {
            for (const WordSpan &word : speller->misspelled(value)) {
                const QString text = value.mid(word.start, word.length);
                const QStringList better = speller->suggestions(text).mid(0, 3);
                add(TranslationCheck::Spelling, better.isEmpty() ? QStringLiteral("つづりの誤り「%1」").arg(text)
                                                                 : QStringLiteral("つづりの誤り「%1」（候補: %2）")
                                                                       .arg(text, better.join(QStringLiteral("、"))));
            }
        }
    }
    return found;
}

namespace {

// The glossary and the speller check asks for; false after telling why not.
bool termsAndSpeller(const CheckOptions &options, std::optional<Glossary> &glossary, std::unique_ptr<Speller> &speller,
                     int *exitCode)
{
    if (options.glossary && options.settings.runs(TranslationCheck::Glossary)) {
        glossary = readGlossaryFile(*options.glossary);
        if (!glossary) {
            *exitCode = ReadFailed;
            return false;
        }
    }
    if (!options.spelling.isEmpty() && options.settings.runs(TranslationCheck::Spelling)) {
        speller = Speller::forLanguage(options.spelling);
        if (!speller) {
            printUsageError(QStringLiteral("check: --spelling=%1: no Hunspell dictionary for this language in "
                                           "/usr/share/hunspell")
                                .arg(options.spelling));
            *exitCode = UsageError;
            return false;
        }
    }
    return true;
}

} // namespace

int check(const QByteArray &file, const CheckOptions &options, const CodePage &codePage)
{
    std::optional<Glossary> glossary;
    std::unique_ptr<Speller> speller;
    if (int exitCode = Done; !termsAndSpeller(options, glossary, speller, &exitCode))
        return exitCode;
    ProblemReport report;
    bool refusedName = false;
    std::optional<CheckedTable> table = loadChecked(file, codePage, report, &refusedName);
    std::optional<CheckedTable> original;
    if (table && options.against)
        original = loadChecked(*options.against, codePage, report, &refusedName);
    if (refusedName)
        return ReadFailed;
    // Nothing is written, so a table that cannot be saved is no write error:
    // it is told as findings about the file.
    if (table && (original || !options.against)) {
        const EntryList &rows = table->document.rows;
        const auto find = [&] {
            const bool stfFile = table->placeKind == PlaceKind::Offset;
            for (Problem &problem :
                 tableProblems(rows, table->document.fields, codePage, table->places, table->placeKind)) {
                problem.severity = refusalSeverity(problem.kind, stfFile);
                report.add(table->file, table->placeKind, problem);
            }
            if (original) {
                for (const Problem &problem :
                     translationProblems(rows, table->places, original->document.rows, options.settings))
                    report.add(table->file, table->placeKind, problem);
            } else if (options.settings.runs(TranslationCheck::Length)) {
                for (const Problem &problem : lengthProblems(rows, table->places, options.settings.maxLength))
                    report.add(table->file, table->placeKind, problem);
            }
            for (const Problem &problem :
                 termAndSpellingProblems(rows, table->places, original ? &original->document.rows : nullptr,
                                         glossary ? &*glossary : nullptr, speller.get()))
                report.add(table->file, table->placeKind, problem);
            return true;
        };
        const auto shortage = [&] {
            return QStringLiteral("メモリが足りないため、%1 件の項目を調べきれませんでした。").arg(rows.count());
        };
        // The findings made before memory ran out stay in the report.
        if (QString error; !withinMemory(find, shortage, &error)) {
            Problem problem;
            problem.kind = Problem::Kind::Read;
            problem.message = error;
            report.add(table->file, table->placeKind, problem);
        }
    }
    if (options.json) {
        if (!report.printJson()) {
            printError(WriteErrorMessage, QStringLiteral("標準出力に書き込めませんでした。"));
            return WriteFailed;
        }
    } else {
        report.printLines();
    }
    return report.fails(options.strict) ? ReadFailed : Done;
}

} // namespace wendaro::cli
