// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QStringView>

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
    QString code;                // a translation finding's check ("endpunc"); empty for the others
};

// How findings of a kind are named: in check's JSON report, and before the
// message of a refusal to save (empty for the kinds that are none).
struct ProblemKindNames
{
    QStringView report;
    QStringView refusalLabel;
};

constexpr ProblemKindNames namesOf(Problem::Kind kind)
{
    switch (kind) {
    case Problem::Kind::Read: return {u"read", {}};
    case Problem::Kind::Stf: return {u"stf", u"STF に保存できません: "};
    case Problem::Kind::Text: return {u"text", u"テキスト形式に保存できません: "};
    case Problem::Kind::StfAndText: return {u"stf+text", u"STF にもテキスト形式にも保存できません: "};
    case Problem::Kind::Translation: break;
    }
    return {u"translation", {}};
}

// How a table's places are counted, which decides how messages name them.
enum class PlaceKind { Line, Offset };

// How a message names an entry: "インデックス 12（name）", or without a name
// "インデックス 12".
inline QString entryLabel(qint16 index, const QString &name)
{
    return name.isEmpty() ? QStringLiteral("インデックス %1").arg(index)
                          : QStringLiteral("インデックス %1（%2）").arg(index).arg(name);
}

} // namespace wendaro
