// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QByteArrayList>
#include <QString>

#include <optional>

namespace wendaro {
class CodePage;
}

namespace wendaro::cli {

// Exchange with translation tools. The format of the exchange file is the
// one its suffix names; an unknown suffix is a usage error. Each command
// reports on stderr and returns the exit code, as the other commands do.

struct ImportFlags
{
    bool fuzzy = false;       // take fuzzy units and those translated from another original
    bool ignoreExtra = false; // skip units whose index the table lacks instead of failing
};

// The languages of an exchange file or a memory, as BCP 47 tags that were
// checked (LanguageCode.h); empty where none was given.
struct Languages
{
    QString source;
    QString target;
};

// export --memory: the memories whose units are offered for the entries
// still to translate, and the least score of one offered.
struct ExportSuggesting
{
    QByteArrayList memories;
    std::optional<int> minMatch; // as given
};

// Writes the catalog of table to out: a template, or with original the
// original's values as sources and the table's as translations. The file
// names the languages given, which are also the memories'.
int exportTable(const QByteArray &table, const QByteArray &out, const std::optional<QByteArray> &original,
                const Languages &languages, const ExportSuggesting &suggesting, const CodePage &codePage);
// Puts the translations of in into table and saves the result as out, in
// the table format out's path selects.
int importTable(const QByteArray &table, const QByteArray &in, const QByteArray &out,
                const std::optional<QByteArray> &original, ImportFlags flags, const CodePage &codePage);

} // namespace wendaro::cli
