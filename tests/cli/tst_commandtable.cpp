// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/CommandTable.h"

#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTest>

#include <functional>

using namespace wendaro::cli;

namespace {

// What the table, the man page or the completion names: "COMMAND WORD"
// lines ("- WORD" for the program's own options), sorted.
QStringList sorted(QStringList lines)
{
    lines.removeDuplicates();
    lines.sort();
    return lines;
}

QString longSpelling(const Option &option)
{
    return QStringLiteral("--") + QLatin1String(option.name);
}

QStringList spellings(const Option &option)
{
    return option.letter ? QStringList{longSpelling(option), QStringLiteral("-") + QLatin1Char(option.letter)}
                         : QStringList{longSpelling(option)};
}

QList<Option> optionsOf(const QString &owner)
{
    const Command *command = findCommand(owner.toLatin1());
    return command ? command->options : QList<Option>(programOptions().begin(), programOptions().end());
}

QStringList fromTable(const std::function<QStringList(const Option &)> &words)
{
    QStringList owners{QStringLiteral("-")};
    for (const Command &command : commands())
        owners << QLatin1String(command.name);
    QStringList lines;
    for (const QString &owner : owners)
        for (const Option &option : optionsOf(owner))
            for (const QString &word : words(option))
                lines << owner + QLatin1Char(' ') + word;
    return sorted(lines);
}

// The long spelling of an option of the command (or "-", the program),
// else the spelling as it is written.
QString asLong(const QString &owner, const QString &spelling)
{
    for (const Option &option : optionsOf(owner))
        if (spellings(option).contains(spelling))
            return longSpelling(option);
    return spelling;
}

QString differences(const QStringList &found, const QStringList &expected)
{
    QStringList missing = expected;
    QStringList extra = found;
    missing.removeIf([&](const QString &line) { return found.contains(line); });
    extra.removeIf([&](const QString &line) { return expected.contains(line); });
    return QStringLiteral("missing from the file: %1; not in the table: %2")
        .arg(missing.join(QLatin1String(", ")), extra.join(QLatin1String(", ")));
}

// The man page's sections by name, escapes and fonts taken out.
QMap<QString, QString> manSections()
{
    QFile file(QStringLiteral(WENDARO_MAN_PAGE));
    if (!file.open(QIODevice::ReadOnly))
        return {};
    QString text = QString::fromUtf8(file.readAll()).replace(QLatin1String("\\-"), QLatin1String("-"));
    text.remove(QRegularExpression(QStringLiteral(R"(\\f[BIRP])")));
    QMap<QString, QString> sections;
    for (const QString &section : text.split(QLatin1String("\n.SH ")))
        sections.insert(section.section(QLatin1Char('\n'), 0, 0), section);
    return sections;
}

// A section's items, each the lines after a ".TP", the first its tag.
QStringList items(const QString &section)
{
    return section.split(QLatin1String("\n.TP\n")).mid(1);
}

QStringList optionsIn(const QString &text)
{
    static const QRegularExpression option(QStringLiteral(R"((?:^|[\s\[("|,])(--?[A-Za-z][A-Za-z-]*))"));
    QStringList found;
    for (auto it = option.globalMatch(text); it.hasNext();)
        found << it.next().captured(1);
    return found;
}

// The completion's replies, sourced in bash, to each question: "ask KEY
// WORDS..." completes the last of the words after "wendaro-cli", "next KEY
// SPELLINGS..." keeps those whose value may be the next word; each reply
// comes as "KEY REPLY".
QStringList completionReplies(const QStringList &questions)
{
    const QString script = QStringLiteral(R"sh(source "$1" || exit 1
ask() { local key=$1; shift; COMP_WORDS=(wendaro-cli "$@"); COMP_CWORD=$#; COMPREPLY=(); _wendaro_cli
    for w in "${COMPREPLY[@]}"; do echo "$key $w"; done; }
next() { local key=$1 w; shift; for w; do ! _wendaro_cli_takes_next "$w" || echo "$key $w"; done; }
cd "$(mktemp -d)" && trap 'rm -rf "$PWD"' EXIT
)sh") + questions.join(QLatin1Char('\n'));
    QProcess bash;
    bash.start(QStringLiteral("bash"),
               {QStringLiteral("-c"), script, QStringLiteral("bash"), QStringLiteral(WENDARO_COMPLETION)});
    if (!bash.waitForFinished(20000))
        return {};
    return sorted(QString::fromUtf8(bash.readAllStandardOutput()).split(QLatin1Char('\n'), Qt::SkipEmptyParts));
}

} // namespace

class TestCommandTable : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void optionMeansOneThing();
    void names_data();
    void names();
};

// The parser decides whether an option takes the next argument before it
// knows the command: a name or a letter must mean the same in every command.
void TestCommandTable::optionMeansOneThing()
{
    QMap<QString, const Option *> seen;
    for (const Command &command : commands()) {
        for (const Option &option : command.options) {
            for (const QString &spelling : spellings(option)) {
                const Option *first = seen.value(spelling, &option);
                QVERIFY2(qstrcmp(first->name, option.name) == 0 && first->value == option.value
                             && first->letter == option.letter && spelling != QLatin1String("-h"),
                         qPrintable(spelling));
                seen.insert(spelling, &option);
            }
        }
    }
}

void TestCommandTable::names_data()
{
    QTest::addColumn<QStringList>("found"); // in the man page, or the completion's questions
    QTest::addColumn<QStringList>("expected");
    QTest::addColumn<bool>("asked"); // found are questions to the completion
    const QMap<QString, QString> man = manSections();

    // DESCRIPTION: an item ".B COMMAND OPERANDS" for each command.
    QStringList found;
    QStringList names;
    for (const QString &item : items(man.value(QStringLiteral("DESCRIPTION"))))
        found << QStringLiteral("- ") + item.section(QLatin1Char(' '), 1, 1);
    for (const Command &command : commands())
        names << QStringLiteral("- ") + QLatin1String(command.name);
    QTest::newRow("man DESCRIPTION: commands") << sorted(found) << sorted(names) << false;

    // SYNOPSIS: each command's options, in either spelling.
    found.clear();
    static const QRegularExpression start(QStringLiteral(R"(^\.B wendaro-cli ([a-z]*))"),
                                          QRegularExpression::MultilineOption);
    for (const QString &entry : man.value(QStringLiteral("SYNOPSIS")).split(QLatin1String(".br\n"))) {
        QString owner = start.match(entry).captured(1);
        if (owner.isEmpty())
            owner = QStringLiteral("-");
        for (const QString &spelling : optionsIn(entry))
            found << owner + QLatin1Char(' ') + asLong(owner, spelling);
    }
    QTest::newRow("man SYNOPSIS: options")
        << sorted(found) << fromTable([](const Option &option) { return QStringList{longSpelling(option)}; }) << false;

    // OPTIONS: every spelling in an item's tag, the line after it naming
    // the commands, ".RB ( export ", " import )"; none for the program's.
    found.clear();
    static const QRegularExpression owners(QStringLiteral(R"(^[^\n]*\n\.RB \( (.*) \)\n)"));
    static const QRegularExpression comma(QStringLiteral(R"(\s*,\s*)"));
    for (const QString &item : items(man.value(QStringLiteral("OPTIONS")))) {
        const QString named = owners.match(item).captured(1).remove(QLatin1Char('"'));
        for (const QString &owner : named.isEmpty() ? QStringList{QStringLiteral("-")} : named.split(comma))
            for (const QString &spelling : optionsIn(item.section(QLatin1Char('\n'), 0, 0)))
                found << owner + QLatin1Char(' ') + spelling;
    }
    QTest::newRow("man OPTIONS: every spelling") << sorted(found) << fromTable(spellings) << false;

    // The completion: after "-" each command offers its options and help,
    // "--name=" for one that takes a value, "--name" alone only where the
    // value may be left out; after "--name=" the value's choices.
    QStringList optionsAsked{QStringLiteral("ask - -")};
    QStringList options = fromTable(spellings).filter(QRegularExpression(QStringLiteral("^- ")));
    QStringList valuesAsked;
    QStringList values;
    QStringList nextAsked;
    QStringList next;
    for (const Command &command : commands()) {
        const QString name = QLatin1String(command.name);
        optionsAsked << QStringLiteral("ask %1 %1 -").arg(name);
        options << name + QStringLiteral(" --help") << name + QStringLiteral(" -h");
        for (const Option &option : command.options) {
            const QString owner = name + QLatin1Char(' ');
            const bool valueApart = option.takesValue() && !option.valueOptional();
            for (const QString &spelling : spellings(option)) {
                options << owner
                               + (valueApart && spelling == longSpelling(option) ? spelling + QLatin1Char('=')
                                                                                 : spelling);
                if (valueApart)
                    next << owner + spelling;
            }
            if (option.valueOptional())
                options << owner + longSpelling(option) + QLatin1Char('=');
            nextAsked << QStringLiteral("next %1 ").arg(name) + spellings(option).join(QLatin1Char(' '));
            if (!option.choices)
                continue;
            valuesAsked << QStringLiteral("ask '%1%2' %1%2 = ''").arg(owner, longSpelling(option));
            for (const QString &choice : QString::fromLatin1(option.choices).split(QLatin1Char(' ')))
                values << owner + longSpelling(option) + QLatin1Char(' ') + choice;
        }
    }
    QTest::newRow("completion: commands") << QStringList{QStringLiteral("ask - ''")} << sorted(names) << true;
    QTest::newRow("completion: options after \"-\"") << optionsAsked << sorted(options) << true;
    QTest::newRow("completion: values after \"--name=\"") << valuesAsked << sorted(values) << true;
    QTest::newRow("completion: values as the next word") << nextAsked << sorted(next) << true;
}

void TestCommandTable::names()
{
    QFETCH(QStringList, found);
    QFETCH(QStringList, expected);
    QFETCH(bool, asked);
    if (asked && QStandardPaths::findExecutable(QStringLiteral("bash")).isEmpty())
        QSKIP("bash is missing");
    if (asked)
        found = completionReplies(found);
    QVERIFY2(found == expected, qPrintable(differences(found, expected)));
}

QTEST_GUILESS_MAIN(TestCommandTable)
#include "tst_commandtable.moc"
