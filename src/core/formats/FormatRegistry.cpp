// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/formats/FormatRegistry.h"

#include "core/formats/CsvFormat.h"
#include "core/formats/PoFormat.h"
#include "core/formats/StfFormat.h"
#include "core/formats/TextFormat.h"
#include "core/formats/XliffFormat.h"

#include <QFileInfo>

#include <array>
#include <vector>

namespace wendaro::FormatRegistry {

namespace {

using Factory = std::unique_ptr<TableFormat> (*)();

const std::array<Factory, 2> &factories()
{
    static const std::array<Factory, 2> all = {
        []() -> std::unique_ptr<TableFormat> { return std::make_unique<StfFormat>(); },
        []() -> std::unique_ptr<TableFormat> { return std::make_unique<TextFormat>(); },
    };
    return all;
}

// The suffix of the path's file name, lower-case, or an empty string. It is
// taken from the file name only: a dot in a folder's name says nothing
// about the file.
QString suffixOf(const QString &path)
{
    const QString fileName = QFileInfo(path).fileName();
    const qsizetype dot = fileName.lastIndexOf(QLatin1Char('.'));
    return dot < 0 ? QString() : fileName.mid(dot + 1).toLower();
}

using TranslationFactory = std::unique_ptr<TranslationFormat> (*)();

const std::vector<TranslationFactory> &translationFactories()
{
    static const std::vector<TranslationFactory> all = {
        []() -> std::unique_ptr<TranslationFormat> { return std::make_unique<PoFormat>(); },
        []() -> std::unique_ptr<TranslationFormat> { return std::make_unique<XliffFormat>(); },
        []() -> std::unique_ptr<TranslationFormat> { return std::make_unique<CsvFormat>(); },
    };
    return all;
}

} // namespace

QStringList shortNames()
{
    QStringList names;
    for (const Factory make : factories())
        names.append(make()->shortName());
    return names;
}

std::unique_ptr<TableFormat> byShortName(const QString &name)
{
    for (const Factory make : factories()) {
        std::unique_ptr<TableFormat> format = make();
        if (format->shortName().compare(name, Qt::CaseInsensitive) == 0)
            return format;
    }
    return nullptr;
}

std::unique_ptr<TableFormat> bySuffix(const QString &path)
{
    const QString suffix = suffixOf(path);
    if (suffix.isEmpty())
        return nullptr;
    for (const Factory make : factories()) {
        std::unique_ptr<TableFormat> format = make();
        if (format->suffixes().contains(suffix))
            return format;
    }
    return nullptr;
}

std::unique_ptr<TableFormat> forPath(const QString &path)
{
    // right() gives the whole path when it is shorter than four characters.
    if (path.right(4).toLower() == QLatin1String(".stf"))
        return std::make_unique<StfFormat>();
    return std::make_unique<TextFormat>();
}

std::unique_ptr<TranslationFormat> translationBySuffix(const QString &path)
{
    const QString suffix = suffixOf(path);
    if (suffix.isEmpty())
        return nullptr;
    for (const TranslationFactory make : translationFactories()) {
        std::unique_ptr<TranslationFormat> format = make();
        if (format->suffixes().contains(suffix))
            return format;
    }
    return nullptr;
}

QStringList translationSuffixes()
{
    QStringList suffixes;
    for (const TranslationFactory make : translationFactories())
        suffixes += make()->suffixes();
    return suffixes;
}

} // namespace wendaro::FormatRegistry
