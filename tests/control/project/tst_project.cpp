// SPDX-License-Identifier: GPL-3.0-or-later
#include "ControlFixture.h"

#include <QAction>
#include <QDir>
#include <QFileInfo>

using namespace wendaro;

namespace {

// en/ and ja/: a.stf half translated, b.stf all translated, sub/c.stf not
// translated yet, only.stf without an original.
const QList<TestRow> OriginalA = {{1, "a", "Iron Sword"}, {2, "b", "Open the door"}};
const QList<TestRow> TranslationA = {{1, "a", "鉄の剣"}, {2, "b", "Open the door"}};
const QList<TestRow> OriginalB = {{1, "a", "Close"}};
const QList<TestRow> TranslationB = {{1, "a", "閉じる"}};
const QList<TestRow> OriginalC = {{5, "x", "Iron Sword"}, {6, "y", "Gold"}, {7, "z", "Silver"}};

void makeProject(ControlFixture &f)
{
    f.controller.startUp(QString());
    QVERIFY(QDir(f.dir.path()).mkpath(QStringLiteral("en/sub")) && QDir(f.dir.path()).mkpath(QStringLiteral("ja")));
    QVERIFY(writeTable(f.path("en/a.stf"), OriginalA) && writeTable(f.path("ja/a.stf"), TranslationA));
    QVERIFY(writeTable(f.path("en/b.stf"), OriginalB) && writeTable(f.path("ja/b.stf"), TranslationB));
    QVERIFY(writeTable(f.path("en/sub/c.stf"), OriginalC) && writeTable(f.path("ja/only.stf"), TranslationB));
    QVERIFY(f.controller.project().open(f.path("en"), f.path("ja")));
    [&] { QTRY_VERIFY(!f.controller.project().isCounting()); }();
}

// Each row of the panel as "path percent 未訳", in the panel's order.
QStringList panelRows(ControlFixture &f)
{
    const ProjectTableModel &model = f.controller.project().model();
    QStringList rows;
    for (int row = 0; row < model.rowCount(); ++row) {
        QStringList cells;
        for (const int column : {ProjectTableModel::Path, ProjectTableModel::Percent, ProjectTableModel::Untranslated})
            cells << model.index(row, column).data().toString();
        rows << cells.join(u' ');
    }
    return rows;
}

} // namespace

class TestProject : public QObject
{
    Q_OBJECT

private slots:
    // Every table of either folder, by path, counted as status counts it;
    // a sort keeps the totals last, and the project is remembered.
    void tablesAndCounts()
    {
        ControlFixture f;
        makeProject(f);
        QCOMPARE(panelRows(f), QStringList({"a.stf 50 % 1", "b.stf 100 % 0", "only.stf 原文なし 0",
                                            "sub/c.stf 訳なし 3", "合計 33 % 4"}));
        f.controller.project().model().sort(ProjectTableModel::Untranslated, Qt::DescendingOrder);
        QCOMPARE(panelRows(f).first(), QStringLiteral("sub/c.stf 訳なし 3"));
        QCOMPARE(panelRows(f).last(), QStringLiteral("合計 33 % 4"));
        const auto recent = Project::recentProjects();
        QCOMPARE(recent.size(), size_t(1));
        QCOMPARE(recent.front().second, QDir::cleanPath(f.path("ja")));
        QVERIFY(!f.controller.project().open(f.path("en/a.stf"), f.path("ja")));
        QCOMPARE(f.ui.messages.size(), 1);
    }

    // Ctrl+PageDown opens the next table with work at its first such row;
    // the counts follow the edits; a table without a translation becomes a
    // new one that Save writes into the folder it needs.
    void nextTableAndNewTranslation()
    {
        ControlFixture f;
        makeProject(f);
        Project &project = f.controller.project();
        f.controller.action(Command::NextTable).trigger();
        QCOMPARE(f.controller.currentPath(), QDir::cleanPath(f.path("ja/a.stf")));
        QCOMPARE(f.selectedPosition(), 2);
        f.controller.translation().typeTranslation(QStringLiteral("扉を開ける"));
        QTRY_COMPARE(panelRows(f).first(), QStringLiteral("a.stf 100 % 0"));

        // The save prompt first; b.stf has no work left, only.stf no original.
        f.ui.answers = {MessageAnswer::No};
        f.controller.action(Command::NextTable).trigger();
        QCOMPARE(f.ui.messages.size(), 1);
        QCOMPARE(f.controller.currentPath(), QDir::cleanPath(f.path("ja/sub/c.stf")));
        QCOMPARE(f.controller.entries().count(), 3);
        QCOMPARE(f.controller.translationStatus().counts().of(RowState::Untranslated), 3);
        QCOMPARE(f.selectedPosition(), 1);
        QVERIFY(f.controller.isModified());
        // The unsaved edit of a.stf was given up: its counts are the file's again.
        QTRY_COMPARE(panelRows(f).first(), QStringLiteral("a.stf 50 % 1"));

        QVERIFY(f.controller.saveFile(true));
        QVERIFY(QFileInfo(f.path("ja/sub/c.stf")).isFile());
        QTRY_COMPARE(panelRows(f)[3], QStringLiteral("sub/c.stf 0 % 3"));
        // Back round to the first table with work; Ctrl+PageUp goes the other way.
        f.controller.action(Command::NextTable).trigger();
        QCOMPARE(f.controller.currentPath(), QDir::cleanPath(f.path("ja/a.stf")));
        f.controller.action(Command::PreviousTable).trigger();
        QCOMPARE(f.controller.currentPath(), QDir::cleanPath(f.path("ja/sub/c.stf")));
        QCOMPARE(project.currentTable(), project.model().tableAt(3));
    }

    // The project's translated pairs are a memory of the suggestions.
    void projectMemory()
    {
        ControlFixture f;
        makeProject(f);
        f.controller.project().openTable(f.controller.project().model().tableAt(3)); // sub/c.stf
        f.select(1);
        MemorySuggestions &suggestions = f.controller.suggestions();
        QTRY_VERIFY(!suggestions.isIndexing() && !suggestions.isLookingUp() && !suggestions.suggestions().empty());
        QCOMPARE(suggestions.suggestions().front().target, QStringLiteral("鉄の剣"));
        QCOMPARE(suggestions.suggestions().front().origin, QStringLiteral("ja"));
    }
};

QTEST_MAIN(TestProject)
#include "tst_project.moc"
