// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/Arguments.h"
#include "cli/CommandTable.h"
#include "cli/Console.h"
#include "cli/ExitCode.h"

#include "core/text/CodePage.h"
#include "startup/HeapGrowth.h"

#include <QFile>

#include <optional>

using namespace wendaro;
using namespace wendaro::cli;

int main(int argc, char **argv)
{
    growHeapOnLargePages(/*oneHeap=*/false);
    const Arguments arguments = parseArguments(argc, argv, commands());

    if (arguments.help)
        return writeOut(usageText()) ? Done : WriteFailed;
    const Command *command = findCommand(arguments.command);
    if (!arguments.command.isEmpty() && !command)
        return usage(QStringLiteral("unknown command \"%1\"").arg(QFile::decodeName(arguments.command)));
    if (!arguments.error.isEmpty())
        return usage(arguments.error);
    if (arguments.version)
        return writeOut("wendaro-cli " WENDARO_VERSION "\n") ? Done : WriteFailed;
    if (arguments.command.isEmpty())
        return usage(QStringLiteral("no command given"));
    if (command->moreOperands() ? arguments.operands.size() < command->leastOperands()
                                : arguments.operands.size() != command->leastOperands())
        return usage(
            QStringLiteral("%1 takes %2").arg(QLatin1String(command->name), QLatin1String(command->operandsNamed)));
    for (const Option &option : command->options) {
        if (option.required && !arguments.has(option))
            return usage(QStringLiteral("%1 needs option \"--%2\"")
                             .arg(QLatin1String(command->name), QLatin1String(option.name)));
    }

    QString error;
    const std::optional<CodePage> codePage = CodePage::fromEnvironment(&error);
    if (!codePage) {
        printErrorLine(QStringLiteral("wendaro-cli: ") + error);
        return CodePageError;
    }
    if (!arguments.refusal.isEmpty())
        return usage(arguments.refusal);

    return command->run(arguments, *codePage);
}
