// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/formats/FormatRegistry.h"

#include "core/formats/CsvFormat.h"
#include "core/formats/PoFormat.h"
#include "core/formats/StfFormat.h"
#include "core/formats/TextFormat.h"
#include "core/formats/XliffFormat.h"

#include <QFileInfo>

namespace wendaro::FormatRegistry {

namespace {

// The list itself. The text form is the last table format: forPath gives it
// every path that no table format before it claims.
const std::vector<const FileFormat *> &known()
{
    static const PoFormat po;
    static const XliffFormat xliff;
    static const CsvFormat csv;
    static const std::vector<const FileFormat *> all = {&stf(), &text(), &po, &xliff, &csv};
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

// Whether the path ends in ".suffix". right() gives the whole path when it
// is shorter, and toLower() keeps a character that only folds to a letter
// of the suffix (the long s) from passing for it.
bool endsIn(const QString &path, const QString &suffix)
{
    return path.right(suffix.size() + 1).toLower() == QLatin1Char('.') + suffix;
}

// The table format whose suffix ends the path, or null; *last is the last
// table format, the one for every path that none claims.
const FileFormat *claimedBySuffix(const QString &path, const FileFormat **last)
{
    for (const FileFormat *format : formats()) {
        if (!format->isTableFormat())
            continue;
        *last = format;
        for (const QString &suffix : format->suffixes()) {
            if (endsIn(path, suffix))
                return format;
        }
    }
    return nullptr;
}

} // namespace

const std::vector<const FileFormat *> &formats()
{
    return known();
}

const FileFormat &stf()
{
    static const StfFormat format;
    return format;
}

const FileFormat &text()
{
    static const TextFormat format;
    return format;
}

const FileFormat *bySuffix(const QString &path, FileFormat::Capability needed)
{
    const QString suffix = suffixOf(path);
    if (suffix.isEmpty())
        return nullptr;
    for (const FileFormat *format : formats()) {
        if (format->capabilities().testFlag(needed) && format->suffixes().contains(suffix))
            return format;
    }
    return nullptr;
}

QStringList suffixes(FileFormat::Capability needed)
{
    QStringList all;
    for (const FileFormat *format : formats()) {
        if (format->capabilities().testFlag(needed))
            all += format->suffixes();
    }
    return all;
}

const FileFormat &forPath(const QString &path)
{
    const FileFormat *last = nullptr;
    const FileFormat *claimed = claimedBySuffix(path, &last);
    return claimed ? *claimed : *last;
}

const FileFormat &forPathOrContent(const QString &path, QByteArrayView bytes)
{
    const FileFormat *last = nullptr;
    if (const FileFormat *claimed = claimedBySuffix(path, &last))
        return *claimed;
    for (const FileFormat *format : formats()) {
        if (format->isTableFormat() && format->beginsWithMark(bytes))
            return *format;
    }
    return *last;
}

} // namespace wendaro::FormatRegistry
