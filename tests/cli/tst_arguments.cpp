// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/Arguments.h"
#include "cli/CommandTable.h"

#include <QTest>

#include <vector>

using namespace wendaro;
using namespace wendaro::cli;

namespace {

Arguments parsed(const QByteArray &line)
{
    QByteArrayList words = ("wendaro-cli " + line).split(' ');
    std::vector<char *> argv;
    for (QByteArray &word : words)
        argv.push_back(word.data());
    return parseArguments(int(argv.size()), argv.data(), commands());
}

template<typename Value>
QByteArray shown(const std::optional<Value> &value)
{
    return value ? QByteArray::number(int(*value)) : QByteArray("-");
}

// What the commands read of the choices and languages, "format prefer color field source target".
QByteArray reading(const Arguments &a)
{
    QByteArray fields = "-";
    if (const std::optional<QList<SearchedField>> given = a.get(Options::Field)) {
        fields.clear();
        for (const SearchedField field : *given)
            fields += QByteArray::number(int(field));
    }
    return shown(a.get(Options::Format)) + ' ' + shown(a.get(Options::Prefer)) + ' ' + shown(a.get(Options::Color))
           + ' ' + fields + ' ' + a.get(Options::SourceLang).value_or(QStringLiteral("-")).toUtf8() + ' '
           + a.get(Options::TargetLang).value_or(QStringLiteral("-")).toUtf8();
}

} // namespace

class TestArguments : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void values_data();
    void values();
};

void TestArguments::values_data()
{
    QTest::addColumn<QByteArray>("line");
    QTest::addColumn<QString>("refusal"); // as the usage error says it
    QTest::addColumn<QByteArray>("reading");

    QTest::newRow("none given") << QByteArray("merge a b c") << QString() << QByteArray("- - - - - -");
    QTest::newRow("choices by position") << QByteArray("merge --prefer=theirs --format json a b c") << QString()
                                         << QByteArray("1 1 - - - -");
    QTest::newRow("color alone is auto") << QByteArray("grep --color x f") << QString() << QByteArray("- - 0 - - -");
    QTest::newRow("color empty is auto") << QByteArray("grep --color= x f") << QString() << QByteArray("- - 0 - - -");
    QTest::newRow("fields in the order given")
        << QByteArray("grep --field=value,index --color=never x f") << QString() << QByteArray("- - 2 20 - -");
    QTest::newRow("languages in their case")
        << QByteArray("export --source-lang=pt-br --target-lang=JA t o") << QString() << QByteArray("- - - - pt-BR ja");

    QTest::newRow("dump's format") << QByteArray("dump --format=xml f")
                                   << QStringLiteral("option \"--format\" takes json or text") << QByteArray();
    QTest::newRow("diff's format names the value") << QByteArray("diff --format=\xff a b")
                                                   << QStringLiteral("diff's --format takes \"text\" or \"json\", not "
                                                                     "\"\\xFF\"")
                                                   << QByteArray();
    QTest::newRow("the command's order, not the line's")
        << QByteArray("merge --format=xml --prefer=mine a b c")
        << QStringLiteral("merge's --prefer takes \"ours\" or \"theirs\", not \"mine\"") << QByteArray();
    QTest::newRow("a field left empty") << QByteArray("grep --color=x --field=name, x f")
                                        << QStringLiteral("grep's --field takes index, name or value, or several of "
                                                          "them joined by \",\"")
                                        << QByteArray();
    QTest::newRow("color") << QByteArray("grep --color=sometimes x f")
                           << QStringLiteral("grep's --color takes auto, always or never") << QByteArray();
    QTest::newRow("a signed score") << QByteArray("suggest --min-match=+80 a b c")
                                    << QStringLiteral("suggest's --min-match takes a whole number from 0 to 100, not "
                                                      "\"+80\"")
                                    << QByteArray();
    QTest::newRow("a limit of none") << QByteArray("suggest --limit=0 a b c")
                                     << QStringLiteral("suggest's --limit takes a whole number from 1 up, not \"0\"")
                                     << QByteArray();
    QTest::newRow("language") << QByteArray("export --target-lang=pt_BR --source-lang=en t o")
                              << QStringLiteral("option \"--target-lang\" takes a BCP 47 language code such as en, "
                                                "ja or pt-BR, not \"pt_BR\"")
                              << QByteArray();
}

// A value is refused by the parser, in the words the command used to say
// it; one that is taken reads as the command expects.
void TestArguments::values()
{
    QFETCH(QByteArray, line);
    QFETCH(QString, refusal);
    QFETCH(QByteArray, reading);
    const Arguments arguments = parsed(line);
    QCOMPARE(arguments.error, QString());
    QCOMPARE(arguments.refusal, refusal);
    if (refusal.isEmpty())
        QCOMPARE(::reading(arguments), reading);
}

QTEST_GUILESS_MAIN(TestArguments)
#include "tst_arguments.moc"
