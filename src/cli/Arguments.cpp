// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/Arguments.h"

#include "core/translation/LanguageCode.h"

#include <QFile>

#include <algorithm>

namespace wendaro::cli {

bool Arguments::has(const Option &option) const
{
    return valueOf(option).has_value();
}

std::optional<QByteArray> Arguments::valueOf(const Option &option) const
{
    for (const auto &given : options) {
        if (given.first == option.name)
            return given.second;
    }
    return std::nullopt;
}

std::optional<QByteArray> Arguments::get(const TextOption &option) const
{
    return valueOf(option);
}

QByteArrayList Arguments::values(const TextOption &option) const
{
    QByteArrayList found;
    for (const auto &given : options) {
        if (given.first == option.name)
            found << given.second;
    }
    return found;
}

std::optional<QString> Arguments::get(const LanguageOption &option) const
{
    const std::optional<QByteArray> code = valueOf(option);
    return code ? std::optional<QString>(conventionalLanguage(QString::fromUtf8(*code))) : std::nullopt;
}

std::optional<int> Arguments::get(const NumberOption &option) const
{
    // The parser refused a value that is no number in the option's range.
    const std::optional<QByteArray> number = valueOf(option);
    return number ? std::optional<int>(number->toInt()) : std::nullopt;
}

namespace {

const Option *findLetter(const QList<Option> &rules, char letter)
{
    const auto found = std::find_if(rules.cbegin(), rules.cend(),
                                    [&](const Option &s) { return s.letter != 0 && s.letter == letter; });
    return found == rules.cend() ? nullptr : &*found;
}

const Option *findRule(const QList<Option> &rules, const QByteArray &name)
{
    const auto found = std::find_if(rules.cbegin(), rules.cend(), [&](const Option &s) { return name == s.name; });
    return found == rules.cend() ? nullptr : &*found;
}

// Letters, one or several ("-ri"); "-h" among them still asks for help. A
// letter that takes a value ends the group and takes the rest of it
// ("-oOUT") or the next argument ("-o OUT"), moving i past it.
void takeLetters(const QByteArray &arg, int argc, char **argv, int &i, const QList<Option> &every, Arguments &parsed,
                 QList<QPair<QByteArray, QByteArray>> &options)
{
    for (qsizetype at = 1; at < arg.size(); ++at) {
        const char letter = arg[at];
        const Option *rule = findLetter(every, letter);
        if (letter == 'h') {
            parsed.help = true;
        } else if (rule && !rule->takesValue()) {
            options.append({QByteArray(rule->name), QByteArray()});
        } else if (rule && (at + 1 < arg.size() || i + 1 < argc)) {
            options.append({QByteArray(rule->name), at + 1 < arg.size() ? arg.mid(at + 1) : QByteArray(argv[++i])});
            break;
        } else if (parsed.error.isEmpty()) {
            parsed.error = rule ? QStringLiteral("option \"-%1\" needs a value").arg(QLatin1Char(letter))
                                : QStringLiteral("unknown option \"-%1\" in \"%2\"")
                                      .arg(QString(QLatin1Char(letter)), QFile::decodeName(arg));
        }
    }
}

QString firstRefusal(const Command &command, const Arguments &parsed)
{
    for (const Option &option : command.options) {
        for (const auto &given : parsed.options) {
            if (given.first == option.name && option.takesValue() && !option.allows(given.second))
                return (option.refusal ? option.refusal : listedChoicesRefused)(option, command.name, given.second);
        }
    }
    return {};
}

} // namespace

Arguments parseArguments(int argc, char **argv, std::span<const Command> commands)
{
    // Which options take a value must be known before the command is: in
    // "--source A export B C" the command is export, not A.
    QList<Option> every;
    for (const Command &command : commands)
        every += command.options;

    Arguments parsed;
    QList<QPair<QByteArray, QByteArray>> options;
    bool optionsEnded = false;
    for (int i = 1; i < argc; ++i) {
        const QByteArray arg(argv[i]);
        if (optionsEnded || !arg.startsWith('-') || arg == "-") {
            if (parsed.command.isEmpty())
                parsed.command = arg;
            else
                parsed.operands << arg;
        } else if (arg == "--") {
            optionsEnded = true;
        } else if (arg == "-h" || arg == "--help") {
            parsed.help = true;
        } else if (arg == "--version") {
            parsed.version = true;
        } else if (!arg.startsWith("--") && findLetter(every, arg[1])) {
            takeLetters(arg, argc, argv, i, every, parsed, options);
        } else {
            const qsizetype equals = arg.indexOf('=');
            const QByteArray name = arg.mid(2, equals < 0 ? -1 : equals - 2);
            const Option *rule = arg.startsWith("--") ? findRule(every, name) : nullptr;
            if (!rule) {
                if (parsed.error.isEmpty())
                    parsed.error = QStringLiteral("unknown option \"%1\"").arg(QFile::decodeName(arg));
            } else if (!rule->takesValue() && equals >= 0) {
                if (parsed.error.isEmpty())
                    parsed.error = QStringLiteral("option \"--%1\" takes no value").arg(QString::fromLatin1(name));
            } else if (rule->takesValue() && equals < 0 && !rule->valueOptional() && i + 1 >= argc) {
                if (parsed.error.isEmpty())
                    parsed.error = QStringLiteral("option \"--%1\" needs a value").arg(QString::fromLatin1(name));
            } else {
                options.append({name, !rule->takesValue()     ? QByteArray()
                                      : equals >= 0           ? arg.mid(equals + 1)
                                      : rule->valueOptional() ? QByteArray()
                                                              : QByteArray(argv[++i])});
            }
        }
    }

    // Now that the command is known, each option must be one of its own.
    const auto command = std::find_if(commands.begin(), commands.end(),
                                      [&](const Command &c) { return parsed.command == c.name; });
    const QList<Option> own = command == commands.end() ? QList<Option>() : command->options;
    for (const auto &option : options) {
        const Option *rule = findRule(own, option.first);
        if (parsed.error.isEmpty() && !rule)
            parsed.error =
                parsed.command.isEmpty()
                    ? QStringLiteral("option \"--%1\" needs a command").arg(QString::fromLatin1(option.first))
                    : QStringLiteral("%1 has no option \"--%2\"")
                          .arg(QFile::decodeName(parsed.command), QString::fromLatin1(option.first));
        if (parsed.error.isEmpty() && rule && !rule->repeats && parsed.has(*rule))
            parsed.error = QStringLiteral("option \"--%1\" given twice").arg(QString::fromLatin1(option.first));
        parsed.options.append(option);
    }
    if (command != commands.end())
        parsed.refusal = firstRefusal(*command, parsed);
    return parsed;
}

} // namespace wendaro::cli
