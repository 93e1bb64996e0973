// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/document/DocumentFile.h"

#include <QByteArray>
#include <QByteArrayList>
#include <QList>
#include <QRegularExpression>
#include <QString>
#include <QStringList>

#include <initializer_list>
#include <optional>
#include <utility>

namespace wendaro {
class CodePage;
}

namespace wendaro::cli {

// What the commands share to reach their files.

// The path for a message: what decodes as UTF-8 as it is, every other byte
// as \xNN, so that the user can tell which file is meant.
QString escapedPath(const QByteArray &bytes);

// Tells that file could not be read or written (message: ReadErrorMessage
// or WriteErrorMessage) on one line, as check tells its findings:
// "FILE[:PLACE]: message: reason". Among several files a bare reason would
// not say which one failed.
void printFileError(const QString &file, const QString &message, const QString &reason, qint64 place = -1);

// A file given to core under a label, the way core's refusals begin.
struct LabelledFile
{
    QString label; // e.g. "表「a.stf」"
    QByteArray path;
};
// The path of the file that a refusal from core is about: the one whose
// label begins error, the longest should one label begin another; the first
// file's when none does.
QByteArray fileRefused(const QString &error, std::initializer_list<LabelledFile> files);

// The name under which Qt opens exactly the file that the bytes name, or
// nullopt after the error was reported under message, with action saying
// what cannot be done. Qt turns bytes that are not UTF-8 into U+FFFD, and
// that name would read a missing file or write a new one beside the one meant.
std::optional<QString> fileName(const QByteArray &bytes, const QString &message, const QString &action);

// The document at path, or nullopt after the read error was reported.
std::optional<LoadedDocument> load(const QByteArray &path, const CodePage &codePage);

// The name an output file is written under, as fileName() gives it for
// writing, or nullopt after the error was reported.
std::optional<QString> outputName(const QByteArray &bytes);

// Saves the table at name in the format its path selects, whole or not at
// all; returns the exit code, after reporting a failure.
int saveTable(const QString &name, const EntryList &rows, const TextFields &fields, const CodePage &codePage);

// The two folders --pairs-from takes, ORIGINAL_DIR and TRANSLATION_DIR,
// as paths Qt opens; nullopt after telling which operand is no folder.
std::optional<std::pair<QString, QString>> pairsFromFolders(const QByteArrayList &operands);

// The --include globs as grep takes them: wildcards matched against a
// file's name, case-sensitively.
QList<QRegularExpression> includeGlobs(const QByteArrayList &globs);

} // namespace wendaro::cli
