// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/checks/Problem.h"

#include <QList>
#include <QString>

namespace wendaro::cli {

// The line that points an editor or CI at a file: "FILE:PLACE: message", or
// "FILE: message" where no place applies (place < 0), with what would split
// it escaped. check's findings and every command's read and write errors
// take this one form.
QString fileLine(const QString &file, qint64 place, const QString &message);

// check's findings, gathered from one or two files and told at the end:
// one line "FILE:PLACE: message" each on stderr, which editors and CI jump
// to, or a JSON array on stdout.
class ProblemReport
{
public:
    void add(const QString &file, PlaceKind placeKind, const Problem &problem);

    // Whether check fails: an error, or with strict a warning too.
    bool fails(bool strict) const;

    void printLines() const;
    // False when stdout did not take it all.
    bool printJson() const;

private:
    struct Finding
    {
        QString file;
        PlaceKind placeKind;
        Problem problem;
    };
    QList<Finding> m_findings;
};

} // namespace wendaro::cli
