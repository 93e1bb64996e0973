// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/document/ProjectTables.h"

#include "core/document/DocumentFile.h"
#include "core/io/MemoryShortage.h"

#include <QDir>
#include <QFileInfo>

#include <algorithm>
#include <map>

namespace wendaro {

namespace {

void walkFolder(const QString &folder, const QString &relative, const QList<QRegularExpression> &includes,
                QStringList &tables)
{
    const QFileInfoList entries = QDir(folder).entryInfoList(QDir::Files | QDir::Dirs | QDir::Hidden | QDir::System
                                                                 | QDir::NoDotAndDotDot | QDir::NoSymLinks,
                                                             QDir::Name);
    for (const QFileInfo &entry : entries) {
        const QString name = entry.fileName();
        const QString path = relative.isEmpty() ? name : relative + QLatin1Char('/') + name;
        if (entry.isDir()) {
            walkFolder(entry.filePath(), path, includes, tables);
            continue;
        }
        const bool wanted = name.endsWith(QLatin1String(".stf"), Qt::CaseInsensitive)
                            || std::any_of(includes.cbegin(), includes.cend(),
                                           [&](const QRegularExpression &glob) { return glob.match(name).hasMatch(); });
        if (wanted)
            tables << path;
    }
}

} // namespace

QStringList tablesUnder(const QString &folder, const QList<QRegularExpression> &includes)
{
    QStringList tables;
    walkFolder(folder, QString(), includes, tables);
    return tables;
}

std::vector<ProjectTable> projectTables(const QString &originals, const QString &translations,
                                        const QList<QRegularExpression> &includes)
{
    std::map<QString, ProjectTable> byPath;
    for (const QString &path : tablesUnder(originals, includes))
        byPath[path] = {path, true, false};
    for (const QString &path : tablesUnder(translations, includes)) {
        ProjectTable &table = byPath[path];
        table.path = path;
        table.hasTranslation = true;
    }
    std::vector<ProjectTable> tables;
    tables.reserve(byPath.size());
    for (auto &[path, table] : byPath)
        tables.push_back(std::move(table));
    return tables;
}

QString pathInFolder(const QString &folder, const QString &relative)
{
    return folder.endsWith(QLatin1Char('/')) ? folder + relative : folder + QLatin1Char('/') + relative;
}

TableProgress countProjectTable(const QString &originals, const QString &translations, const ProjectTable &table,
                                const CodePage &codePage, bool pairsWanted)
{
    TableProgress progress;
    LoadedDocument original;
    LoadedDocument translation;
    const auto load = [&](const QString &folder, LoadedDocument &into) {
        const QString path = pathInFolder(folder, table.path);
        if (loadDocument(path, codePage, into, &progress.error))
            return true;
        progress.failedFile = path;
        progress.place = into.place;
        return false;
    };
    if ((table.hasOriginal && !load(originals, original)) || (table.hasTranslation && !load(translations, translation)))
        return progress;
    const auto count = [&] {
        const FirstRows current(original.rows);
        const FirstRows none;
        // Without a translation, the one opening it makes: the original's rows.
        progress.counts = countStates(table.hasTranslation ? translation.rows : original.rows, Originals{current, none},
                                      codePage);
        if (pairsWanted && table.hasOriginal && table.hasTranslation) {
            // A table whose indexes repeat gives no pairs; its counts stand.
            QString refused;
            if (std::optional<TablePairs> pairs = memoryPairs(original.rows, QString(), translation.rows, QString(),
                                                              &refused))
                progress.pairs = std::move(*pairs);
        }
        return true;
    };
    const auto shortage = [&] {
        return QStringLiteral("メモリが足りないため、%1 件の項目を数えきれませんでした。")
            .arg(translation.rows.count());
    };
    if (!withinMemory(count, shortage, &progress.error))
        progress.failedFile = pathInFolder(table.hasTranslation ? translations : originals, table.path);
    return progress;
}

void addCounts(StateCounts &total, const StateCounts &counts)
{
    for (size_t state = 0; state < total.rows.size(); ++state)
        total.rows[state] += counts.rows[state];
    total.originals += counts.originals;
    total.translated += counts.translated;
    total.missing += counts.missing;
}

} // namespace wendaro
