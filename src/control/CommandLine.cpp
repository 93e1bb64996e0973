#include "CommandLine.h"

namespace wendaro {

QString commandLineFromArguments(const QStringList &arguments)
{
    return arguments.join(QLatin1Char(' '));
}

QString pathFromCommandLine(const QString &commandLine)
{
    QString cleaned = commandLine;
    cleaned.replace(QStringLiteral("\" \""), QStringLiteral("\";\""));
    cleaned.remove(QLatin1Char('"'));
    return cleaned.section(QLatin1Char(';'), 0, 0);
}

} // namespace wendaro
