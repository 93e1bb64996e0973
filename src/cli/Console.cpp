// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/Console.h"

#include "cli/ExitCode.h"

#include <cstdio>

namespace wendaro::cli {

void printErrorLine(const QString &line)
{
    const QByteArray bytes = (line + QLatin1Char('\n')).toUtf8();
    std::fwrite(bytes.constData(), 1, size_t(bytes.size()), stderr);
}

void printError(const QString &message, const QString &description)
{
    printErrorLine(message);
    printErrorLine(description);
}

void printUsageError(const QString &what)
{
    printErrorLine(QStringLiteral("wendaro-cli: ") + what);
    printErrorLine(QStringLiteral("Try 'wendaro-cli --help'."));
}

int usage(const QString &what)
{
    printUsageError(what);
    return UsageError;
}

bool writeOut(QByteArrayView bytes)
{
    const size_t written = std::fwrite(bytes.data(), 1, size_t(bytes.size()), stdout);
    return std::fflush(stdout) == 0 && written == size_t(bytes.size());
}

} // namespace wendaro::cli
