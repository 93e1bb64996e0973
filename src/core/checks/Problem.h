// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

#include <optional>

namespace wendaro {

// One finding about a table, for a report that tools and editors read.
struct Problem
{
    enum class Severity { Error, Warning };
    // What the finding is about: reading the file, saving the table in one
    // or both forms, or a translation measured against its original.
    enum class Kind { Read, Stf, Text, StfAndText, Translation };

    Kind kind = Kind::Stf;
    Severity severity = Severity::Error;
    qint64 place = -1;           // the row's line or record offset in its file; -1: none
    std::optional<qint16> index; // the entry concerned, if one is
    QString name;                // that entry's name
    QString message;             // complete, names the form or the index as it needs
};

// How a table's places are counted, which decides how messages name them.
enum class PlaceKind { Line, Offset };

} // namespace wendaro
