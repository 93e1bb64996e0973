// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/formats/TableFormat.h"
#include "core/formats/TranslationFormat.h"

#include <QString>
#include <QStringList>

#include <memory>

namespace wendaro {

// The formats the program knows. Each lookup hands out a fresh format
// object, so that one caller's error string never shows up in another's.
namespace FormatRegistry {

// The short names of the known formats, in a fixed order.
QStringList shortNames();

// The format of that short name (compared without regard to case), or null.
std::unique_ptr<TableFormat> byShortName(const QString &name);

// The format whose suffix ends the path's file name (after its last dot,
// compared without regard to case), or null when none matches.
std::unique_ptr<TableFormat> bySuffix(const QString &path);

// The window's rule: STF when the last four characters of the path,
// lower-cased, are ".stf", the text form for every other path (also one
// without a suffix or with another one).
std::unique_ptr<TableFormat> forPath(const QString &path);

// The translation format whose suffix ends the path's file name, as
// bySuffix does for tables, or null.
std::unique_ptr<TranslationFormat> translationBySuffix(const QString &path);
// The suffixes of every translation format, lower-case, for usage texts.
QStringList translationSuffixes();

} // namespace FormatRegistry

} // namespace wendaro
