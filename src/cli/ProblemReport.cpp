// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/ProblemReport.h"

#include "cli/Console.h"
#include "cli/TextQuoting.h"

#include <algorithm>

namespace wendaro::cli {

namespace {

// A name or a value quoted in a message may hold line breaks, which would
// split a report line in two: control characters are shown as escapes.
QString oneLine(QStringView text)
{
    QString line;
    line.reserve(text.size());
    for (const QChar c : text) {
        if (c == u'\n')
            line += QStringLiteral("\\n");
        else if (c == u'\r')
            line += QStringLiteral("\\r");
        else if (c == u'\t')
            line += QStringLiteral("\\t");
        else if (c.unicode() < 0x20 || c.unicode() == 0x7F)
            line += QStringLiteral("\\x") + QString::number(c.unicode(), 16).rightJustified(2, u'0');
        else
            line += c;
    }
    return line;
}

// The JSON string of the text, exact for any UTF-16, as a part of the
// report being built.
QString jsonText(QStringView text)
{
    return QString::fromUtf8(jsonString(text));
}

} // namespace

QString fileLine(const QString &file, qint64 place, const QString &message)
{
    QString line = file + u':';
    if (place >= 0)
        line += QString::number(place) + u':';
    return oneLine(line + u' ' + message);
}

void ProblemReport::add(const QString &file, PlaceKind placeKind, const Problem &problem)
{
    m_findings.append({file, placeKind, problem});
}

bool ProblemReport::fails(bool strict) const
{
    return std::any_of(m_findings.cbegin(), m_findings.cend(),
                       [&](const Finding &f) { return strict || f.problem.severity == Problem::Severity::Error; });
}

void ProblemReport::printLines() const
{
    for (const Finding &f : m_findings) {
        const QString warning = f.problem.severity == Problem::Severity::Warning ? QStringLiteral("警告: ") : QString();
        printErrorLine(fileLine(f.file, f.problem.place, warning + f.problem.message));
    }
}

bool ProblemReport::printJson() const
{
    QString json = QStringLiteral("[");
    for (const Finding &f : m_findings) {
        const Problem &p = f.problem;
        json += json.size() > 1 ? QStringLiteral(",\n  {") : QStringLiteral("\n  {");
        json += QStringLiteral("\"file\": ") + jsonText(f.file);
        if (p.place >= 0)
            json += (f.placeKind == PlaceKind::Line ? QStringLiteral(", \"line\": ") : QStringLiteral(", \"offset\": "))
                    + QString::number(p.place);
        json += QStringLiteral(", \"index\": ") + (p.index ? QString::number(*p.index) : QStringLiteral("null"));
        json += QStringLiteral(", \"name\": ") + (p.index ? jsonText(p.name) : QStringLiteral("null"));
        json += QStringLiteral(", \"severity\": ")
                + (p.severity == Problem::Severity::Error ? QStringLiteral("\"error\"")
                                                          : QStringLiteral("\"warning\""));
        json += QStringLiteral(", \"kind\": \"");
        json += namesOf(p.kind).report;
        json += u'"';
        if (!p.code.isEmpty())
            json += QStringLiteral(", \"code\": ") + jsonText(p.code);
        json += QStringLiteral(", \"message\": ") + jsonText(p.message) + u'}';
    }
    json += m_findings.isEmpty() ? QStringLiteral("]\n") : QStringLiteral("\n]\n");
    return writeOut(json.toUtf8());
}

} // namespace wendaro::cli
