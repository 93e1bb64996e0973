// SPDX-License-Identifier: GPL-3.0-or-later
#include "ControlFixture.h"

#include <QAction>
#include <QFile>

using namespace wendaro;

namespace {

bool writeFile(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

} // namespace

class TestTableGlossary : public QObject
{
    Q_OBJECT

private slots:
    // Ctrl+G opens glossaries beside the original: the row's terms, the
    // missing term as a finding, and the glossary again with the table.
    void termsAndFindings()
    {
        ControlFixture f;
        f.open(QStringLiteral("ja.stf"), {{1, "a", "鉄のつるぎ"}, {2, "b", ""}});
        QVERIFY(writeTable(f.path("en.stf"), {{1, "a", "Iron Sword"}, {2, "b", "Quit"}}));
        QVERIFY(f.controller.translation().openOriginal(f.path("en.stf"), false));
        QVERIFY(writeFile(f.path("g.txt"), "Iron Sword\t鉄の剣\t武器\n"));
        QVERIFY(writeFile(f.path("bad.txt"), "Iron Sword\n"));
        TableGlossary &glossary = f.controller.glossary();

        f.ui.filesDialogResults = {{f.path("g.txt"), f.path("bad.txt")}};
        f.controller.action(Command::OpenGlossary).trigger();
        QCOMPARE(f.ui.dialogs.last().title, QStringLiteral("用語集を開く"));
        QCOMPARE(glossary.termCount(), 1);
        QCOMPARE(f.ui.messages.size(), 1);
        QVERIFY(f.ui.messages.last().text.contains(f.path("bad.txt") + QStringLiteral(":1: ")));
        QCOMPARE(glossary.termsOf(0), (std::vector<GlossaryTerm>{{u"Iron Sword"_qs, u"鉄の剣"_qs, u"武器"_qs}}));
        QCOMPARE(glossary.findingsOf(0), QStringList{u"用語「Iron Sword」の訳「鉄の剣」がありません。"_qs});
        QCOMPARE(glossary.findingsOf(1), QStringList()); // nothing there to check

        f.controller.closeFile();
        QCOMPARE(glossary.termCount(), 0);
        f.ui.messages.clear();
        f.open(QStringLiteral("ja.stf"), {{1, "a", "鉄の剣"}});
        QVERIFY(f.controller.translation().openOriginal(f.path("en.stf"), false));
        QCOMPARE(glossary.termCount(), 1);
        QCOMPARE(glossary.findingsOf(0), QStringList());
    }
};

QTEST_MAIN(TestTableGlossary)
#include "tst_tableglossary.moc"
