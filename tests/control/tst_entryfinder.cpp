// SPDX-License-Identifier: GPL-3.0-or-later
#include "ControlFixture.h"

#include "control/EntryFinder.h"
#include "control/FindView.h"

using namespace wendaro;

namespace {

// The list as the finder sees it: rows beyond the flags (added since) show.
class FakeFindView : public FindView
{
public:
    std::vector<bool> shown;
    QString status;

    bool isRowShown(qsizetype p) const override { return size_t(p) >= shown.size() || shown[size_t(p)]; }
    void showRows(const std::vector<bool> &flags) override { shown = flags; }
    void revealRow(qsizetype p) override
    {
        if (size_t(p) < shown.size())
            shown[size_t(p)] = true;
    }
    void findStatusChanged(const QString &text) override { status = text; }
    QString shownRows() const
    {
        QString flags;
        for (const bool f : shown)
            flags += f ? u'1' : u'0';
        return flags;
    }
};

const QList<TestRow> Rows = {{1, "alpha", "x"}, {2, "beta", "Alpha<br>y"}, {3, "gamma", "z"}, {4, "ALPHABET", "w"}};

struct FinderFixture : ControlFixture
{
    FakeFindView view;
    EntryFinder &finder = controller.finder();

    FinderFixture()
    {
        open(QStringLiteral("a.txt"), Rows);
        finder.setView(&view);
        finder.setActive(true);
    }
    void find(const QString &text, bool regex = false)
    {
        finder.setQuery({text, false, regex, FindColumns::All});
        settle();
    }
    void settle() { QTRY_VERIFY(!finder.isBusy()); }
};

} // namespace

class EntryFinderTest : public QObject
{
    Q_OBJECT
private slots:
    void findAsYouType_data();
    void findAsYouType();
    void steps_data();
    void steps();
    void filterChangesNothingElse();
    void filterKeepsEditedAndAddedRows();
    void filterHidesNoSelectedRow();
};

void EntryFinderTest::findAsYouType_data()
{
    QTest::addColumn<qsizetype>("selected");
    QTest::addColumn<QString>("before"); // typed and counted first
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("regex");
    QTest::addColumn<qsizetype>("found");
    QTest::addColumn<QString>("status");
    QTest::newRow("none selected: from the first") << qsizetype(0) << ""
                                                   << "alpha" << false << qsizetype(1) << "1 / 3 件";
    QTest::newRow("the selected row first") << qsizetype(2) << ""
                                            << "alpha" << false << qsizetype(2) << "2 / 3 件";
    QTest::newRow("from the selected on") << qsizetype(3) << ""
                                          << "alpha" << false << qsizetype(4) << "3 / 3 件";
    QTest::newRow("wraps") << qsizetype(4) << ""
                           << "gamma" << false << qsizetype(3) << "1 / 1 件（先頭から検索しました）";
    QTest::newRow("nothing: selection stays") << qsizetype(2) << ""
                                              << "delta" << false << qsizetype(2) << "見つかりません";
    QTest::newRow("regex") << qsizetype(0) << ""
                           << "^a.*t$" << true << qsizetype(4) << "1 / 1 件";
    QTest::newRow("invalid regex finds nothing")
        << qsizetype(2) << ""
        << "a(" << true << qsizetype(2) << "正規表現の誤り（3 文字目）: missing closing parenthesis";
    QTest::newRow("typed on") << qsizetype(0) << "alph"
                              << "alpha" << false << qsizetype(1) << "1 / 3 件";
    QTest::newRow("typed back") << qsizetype(0) << "alphab"
                                << "alpha" << false << qsizetype(4) << "3 / 3 件";
    QTest::newRow("then a pattern") << qsizetype(0) << "a"
                                    << "^a.*t$" << true << qsizetype(4) << "1 / 1 件";
}

void EntryFinderTest::findAsYouType()
{
    QFETCH(qsizetype, selected);
    QFETCH(QString, before);
    QFETCH(QString, text);
    QFETCH(bool, regex);
    QFETCH(qsizetype, found);
    QFETCH(QString, status);
    FinderFixture f;
    if (selected != 0)
        f.select(selected);
    f.controller.setUiState(UiState::FileClean);
    if (!before.isEmpty())
        f.find(before);
    f.find(text, regex);
    QCOMPARE(f.selectedPosition(), found);
    QCOMPARE(f.view.status, status);
    // The selection refresh ran as for a click.
    QCOMPARE(f.controller.isEnabled(Command::Remove), found != 0);
    QVERIFY(!f.controller.isModified());
}

void EntryFinderTest::steps_data()
{
    QTest::addColumn<QString>("keys"); // n: next, p: previous
    QTest::addColumn<QList<qsizetype>>("positions");
    QTest::addColumn<QString>("status");
    QTest::newRow("next") << "nn" << QList<qsizetype>{2, 4} << "3 / 3 件";
    QTest::newRow("next wraps to the top") << "nnn" << QList<qsizetype>{2, 4, 1} << "1 / 3 件（先頭から検索しました）";
    QTest::newRow("previous wraps to the end") << "p" << QList<qsizetype>{4} << "3 / 3 件（末尾から検索しました）";
    QTest::newRow("there and back") << "np" << QList<qsizetype>{2, 1} << "1 / 3 件";
}

void EntryFinderTest::steps()
{
    QFETCH(QString, keys);
    QFETCH(QList<qsizetype>, positions);
    QFETCH(QString, status);
    FinderFixture f;
    f.find(QStringLiteral("ALPHA"));
    QCOMPARE(f.selectedPosition(), 1);
    QList<qsizetype> visited;
    for (const QChar key : keys) {
        key == u'n' ? f.finder.findNext() : f.finder.findPrevious();
        f.settle();
        visited << f.selectedPosition();
    }
    QCOMPARE(visited, positions);
    QCOMPARE(f.view.status, status);
}

void EntryFinderTest::filterChangesNothingElse()
{
    FinderFixture f;
    const QStringList rows = f.indexTexts();
    const qint16 next = f.controller.nextIndex();
    f.find(QStringLiteral("alpha"));
    f.finder.setFiltering(true);
    f.settle();
    QCOMPARE(f.view.shownRows(), QStringLiteral("1101"));
    QCOMPARE(f.selectedPosition(), 1);
    // A new text filters again.
    f.find(QStringLiteral("gamma"));
    QCOMPARE(f.view.shownRows(), QStringLiteral("0010"));
    QCOMPARE(f.selectedPosition(), 3);
    f.finder.setFiltering(false);
    QVERIFY(f.view.shown.empty());
    QCOMPARE(f.selectedPosition(), 3);
    QCOMPARE(f.indexTexts(), rows);
    QCOMPARE(f.controller.nextIndex(), next);
    QVERIFY(!f.controller.isModified());
}

void EntryFinderTest::filterKeepsEditedAndAddedRows()
{
    FinderFixture f;
    f.find(QStringLiteral("alpha"));
    f.finder.setFiltering(true);
    f.settle();
    f.select(2);
    f.ui.editorScript = [&](const EditorFill &fill) {
        f.controller.acceptEditor(fill.mode, fill.mode == EditMode::Add ? QStringLiteral("9") : fill.index,
                                  QStringLiteral("beta"), QStringLiteral("changed"));
    };
    f.controller.editEntry();
    f.controller.addEntry();
    f.finder.rowsChanged(false);
    f.settle();
    // Row 2 no longer matches and row 5 (position 4) never did: both stay
    // shown, neither counts.
    QCOMPARE(f.view.shownRows(), QStringLiteral("1101"));
    QVERIFY(f.view.isRowShown(4));
    QCOMPARE(f.view.status, QStringLiteral("2 件"));
    f.finder.findPrevious();
    QCOMPARE(f.selectedPosition(), 4);
    // Rows replaced all at once are filtered again.
    f.controller.entries().replaceRows(EntryList());
    f.finder.rowsChanged(true);
    f.settle();
    QCOMPARE(f.view.shownRows(), QString());
    QCOMPARE(f.view.status, QStringLiteral("見つかりません"));
}

void EntryFinderTest::filterHidesNoSelectedRow()
{
    FinderFixture f;
    f.find(QStringLiteral("gamma"));
    QCOMPARE(f.selectedPosition(), 3);
    f.find(QStringLiteral("delta"));
    f.finder.setFiltering(true);
    f.settle();
    QCOMPARE(f.view.shownRows(), QStringLiteral("0000"));
    // Edit and Remove cannot reach a row the person does not see.
    QCOMPARE(f.selectedPosition(), 0);
    QVERIFY(!f.controller.isEnabled(Command::Edit));
    f.finder.setActive(false);
    QVERIFY(f.view.shown.empty());
    QCOMPARE(f.view.status, QString());
}

QTEST_MAIN(EntryFinderTest)
#include "tst_entryfinder.moc"
