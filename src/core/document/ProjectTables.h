// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/checks/TranslationStates.h"
#include "core/translation/TranslationMemory.h"

#include <QList>
#include <QRegularExpression>
#include <QString>
#include <QStringList>

#include <optional>
#include <vector>

namespace wendaro {

class CodePage;

// A translation of many tables is two folders: the originals, and their
// translations at the same relative paths. This is how both are walked and
// paired, for memory --pairs-from, status --pairs-from and the window's
// project.

// The tables of a folder and its subfolders, by name: "*.stf" in any case,
// and those an include glob names; symbolic links met on the way are left,
// as grep -r leaves them. Each is its path relative to folder, "sub/a.stf",
// in the order of the walk (each folder's entries by name).
QStringList tablesUnder(const QString &folder, const QList<QRegularExpression> &includes = {});

// One table of a project, found in either folder or both.
struct ProjectTable
{
    QString path; // relative to both folders, "menus/items.stf"
    bool hasOriginal = false;
    bool hasTranslation = false;
};

// The tables of the two folders paired by relative path, sorted by it.
std::vector<ProjectTable> projectTables(const QString &originals, const QString &translations,
                                        const QList<QRegularExpression> &includes = {});

// folder/relative, without doubling a slash the folder ends with.
QString pathInFolder(const QString &folder, const QString &relative);

// How far a project's table is translated, read from its files.
struct TableProgress
{
    StateCounts counts;
    QString failedFile; // the file that could not be read; empty when counted
    QString error;      // why
    qint64 place = -1;  // where in failedFile, as the format counts places, or -1
    // With pairsWanted, the table's pairs of texts for a memory (see
    // memoryPairs); none when either side is missing or refused.
    TablePairs pairs;
};

// The counts of status for one table of a project. A table without a
// translation counts as the translation that opening it makes: the
// original's rows, every one still to translate. A table without an
// original counts every row as 原文なし.
TableProgress countProjectTable(const QString &originals, const QString &translations, const ProjectTable &table,
                                const CodePage &codePage, bool pairsWanted = false);

// The sum of the counts of many tables; a total's percent is then of all
// their originals.
void addCounts(StateCounts &total, const StateCounts &counts);

} // namespace wendaro
