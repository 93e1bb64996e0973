// SPDX-License-Identifier: GPL-3.0-or-later
#include "ControlFixture.h"

#include "control/find/RowFinder.h"
#include "control/find/FindView.h"

#include "core/model/IndexText.h"

#include <QThread>

using namespace wendaro;

Q_DECLARE_METATYPE(wendaro::FindColumns)

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
    RowFinder &finder = controller.finder();
    bool searching = false;

    explicit FinderFixture(const QList<TestRow> &rows = Rows)
    {
        QObject::connect(&finder, &RowFinder::searchesChanged,
                         [this](bool finding, bool counting) { searching = finding || counting; });
        open(QStringLiteral("a.txt"), rows);
        finder.setView(&view);
        finder.setActive(true);
    }
    void find(const QString &text, bool regex = false)
    {
        finder.setQuery({text, false, regex, FindColumns::All});
        settle();
    }
    void settle() const { QTRY_VERIFY(!searching); }
    // Names and values, "|" between rows.
    QString texts(bool values) const
    {
        QStringList texts;
        for (qsizetype p = 0; p < controller.entries().count(); ++p)
            texts << (values ? controller.entries().at(p).value.toString() : controller.entries().at(p).name);
        return texts.join(u'|');
    }
    // An original whose value of index i is values[i - 1].
    void openOriginal(const QStringList &values)
    {
        EntryList original;
        for (qsizetype i = 0; i < values.size(); ++i)
            original.setValue(original.append(indexText(qint16(i + 1))), values[i]);
        controller.translationStatus().openOriginal(std::move(original));
    }
};

// Row 2's value is full-width.
const QList<TestRow> ReplaceRows = {{1, "alpha", "an alpha<br>Alpha"},
                                    {2, "beta", "ａｌｐｈａ x"},
                                    {3, "ALPHABET", "z"}};

} // namespace

class TestRowFinder : public QObject
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
    void reviewColumns_data();
    void reviewColumns();
    void replaceAll_data();
    void replaceAll();
    void replaceOnlyInShownRows();
    void replaceSelectedThenNext();
    void replaceStoppedChangesNothing();
    void searchingNoteWaits_data();
    void searchingNoteWaits();
};

void TestRowFinder::findAsYouType_data()
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

void TestRowFinder::findAsYouType()
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

void TestRowFinder::steps_data()
{
    QTest::addColumn<QString>("keys"); // n: next, p: previous
    QTest::addColumn<QList<qsizetype>>("positions");
    QTest::addColumn<QString>("status");
    QTest::newRow("next") << "nn" << QList<qsizetype>{2, 4} << "3 / 3 件";
    QTest::newRow("next wraps to the top") << "nnn" << QList<qsizetype>{2, 4, 1} << "1 / 3 件（先頭から検索しました）";
    QTest::newRow("previous wraps to the end") << "p" << QList<qsizetype>{4} << "3 / 3 件（末尾から検索しました）";
    QTest::newRow("there and back") << "np" << QList<qsizetype>{2, 1} << "1 / 3 件";
}

void TestRowFinder::steps()
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

void TestRowFinder::filterChangesNothingElse()
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

void TestRowFinder::filterKeepsEditedAndAddedRows()
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

void TestRowFinder::filterHidesNoSelectedRow()
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

void TestRowFinder::reviewColumns_data()
{
    QTest::addColumn<FindColumns>("columns");
    QTest::addColumn<QString>("text");
    QTest::addColumn<qsizetype>("found");
    QTest::newRow("state") << FindColumns::State << "未訳" << qsizetype(1);
    QTest::newRow("original") << FindColumns::Original << "ＺＥＴＡ" << qsizetype(3);
    QTest::newRow("every column sees the original") << FindColumns::All << "zeta" << qsizetype(3);
    QTest::newRow("and the state") << FindColumns::All << "原文なし" << qsizetype(4);
}

// Row 1 is untranslated, row 4 has no original; then the original changes
// under unchanged rows, and goes.
void TestRowFinder::reviewColumns()
{
    QFETCH(FindColumns, columns);
    QFETCH(QString, text);
    QFETCH(qsizetype, found);
    FinderFixture f;
    f.openOriginal({QStringLiteral("x"), QStringLiteral("original two"), QStringLiteral("zeta")});
    f.finder.setQuery({text, false, false, columns});
    f.settle();
    QCOMPARE(f.selectedPosition(), found);
    QCOMPARE(f.view.status, QStringLiteral("1 / 1 件"));
    f.openOriginal({QStringLiteral("y"), QStringLiteral("two"), QStringLiteral("eta"), QStringLiteral("v")});
    f.settle();
    QCOMPARE(f.view.status, FindNothingStatus);
    f.controller.translationStatus().close();
    f.settle();
    QCOMPARE(f.view.status, FindNothingStatus);
}

void TestRowFinder::replaceAll_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("caseSensitive");
    QTest::addColumn<bool>("regex");
    QTest::addColumn<FindColumns>("columns");
    QTest::addColumn<QString>("replacement");
    QTest::addColumn<QString>("names");
    QTest::addColumn<QString>("values"); // empty: as they were
    QTest::addColumn<QString>("status"); // or the start of the message refusing it
    const auto all = FindColumns::All;
    const auto name = FindColumns::Name;
    const auto value = FindColumns::Value;
    enum { Plain = 0, Case = 1, Regex = 2 };
    const auto row = [](const char *tag, const QString &text, int flags, FindColumns columns, const QString &by,
                        const char *names, const char *values, const char *status) {
        QTest::newRow(tag) << text << bool(flags & Case) << bool(flags & Regex) << columns << by << names << values
                           << status;
    };
    row("plain, case and width folded", "alpha", Plain, all, "ω", "ω|beta|ωBET", "an ω<br>ω|ω x|z",
        "5 件を置換しました");
    row("case kept", "alpha", Case, all, "ω", "ω|beta|ALPHABET", "an ω<br>Alpha|ω x|z", "3 件を置換しました");
    row("full-width text, values only", "ＡＬＰＨＡ", Plain, value, "ω", "alpha|beta|ALPHABET", "an ω<br>ω|ω x|z",
        "3 件を置換しました");
    row("names only", "alpha", Plain, name, "ω", "ω|beta|ωBET", "", "2 件を置換しました");
    row("groups, from the text as it is", "(al)(pha)", Regex, all, "\\2-\\1", "pha-al|beta|PHA-ALBET",
        "an pha-al<br>pha-Al|ｐｈａ-ａｌ x|z", "5 件を置換しました");
    row("backslash, a missing group", "^b(e)", Regex, all, "\\\\\\9\\1", "alpha|\\eta|ALPHABET", "",
        "1 件を置換しました");
    row("plain text takes a backslash as it is", "z", Plain, all, "\\1", "alpha|beta|ALPHABET",
        "an alpha<br>Alpha|ａｌｐｈａ x|\\1", "1 件を置換しました");
    row("index never changes", "1", Plain, FindColumns::Index, "ω", "alpha|beta|ALPHABET", "", "");
    row("a name character outside the code page", "an|beta", Regex, all, "Ā", "alpha|beta|ALPHABET", "",
        "2 番目の項目（インデックス 2）の名前の 1 文字目");
    row("a value too long", "alpha", Plain, value, QString(20000, u'a'), "alpha|beta|ALPHABET", "",
        "1 番目の項目（インデックス 1）の値は置換すると改行を CR LF にして 40005 文字");
}

// Every change is one step, and its undo leaves the file unmodified again.
void TestRowFinder::replaceAll()
{
    QFETCH(QString, text);
    QFETCH(bool, caseSensitive);
    QFETCH(bool, regex);
    QFETCH(FindColumns, columns);
    QFETCH(QString, replacement);
    QFETCH(QString, names);
    QFETCH(QString, values);
    QFETCH(QString, status);
    FinderFixture f(ReplaceRows);
    const QString namesBefore = f.texts(false);
    const QString valuesBefore = f.texts(true);
    f.finder.setQuery({text, caseSensitive, regex, columns});
    f.settle();
    f.controller.replacer().replaceAll(replacement);
    f.settle();
    QCOMPARE(f.texts(false), names);
    QCOMPARE(f.texts(true), values.isEmpty() ? valuesBefore : values);
    const bool refused = status.contains(u'（');
    QCOMPARE(f.ui.messages.size(), qsizetype(refused));
    if (refused)
        QVERIFY2(f.ui.messages.front().text.startsWith(status), qPrintable(f.ui.messages.front().text));
    else if (!status.isEmpty())
        QCOMPARE(f.view.status, status);
    const bool changed = names != namesBefore || !values.isEmpty();
    QCOMPARE(f.controller.isModified(), changed);
    f.controller.undo();
    QCOMPARE(f.texts(false), namesBefore);
    QCOMPARE(f.texts(true), valuesBefore);
    QVERIFY(!f.controller.isModified());
    QVERIFY(!f.controller.isEnabled(Command::Undo));
}

// A row that came to match after the filter stays hidden, and unchanged.
void TestRowFinder::replaceOnlyInShownRows()
{
    FinderFixture f;
    f.find(QStringLiteral("alpha"));
    f.finder.setFiltering(true);
    f.settle();
    f.controller.entries().setName(2, QStringLiteral("alpha"));
    f.finder.rowsChanged(false);
    f.settle();
    f.controller.replacer().replaceAll(QStringLiteral("ω"));
    QCOMPARE(f.texts(false), QStringLiteral("ω|beta|alpha|ωBET"));
    QCOMPARE(f.view.shownRows(), QStringLiteral("1101"));
}

void TestRowFinder::replaceSelectedThenNext()
{
    FinderFixture f(ReplaceRows);
    f.find(QStringLiteral("alpha"));
    QCOMPARE(f.selectedPosition(), 1);
    f.controller.replacer().replaceSelected(QStringLiteral("ω"));
    f.settle();
    QCOMPARE(f.texts(false), QStringLiteral("ω|beta|ALPHABET"));
    QCOMPARE(f.texts(true), QStringLiteral("an ω<br>ω|ａｌｐｈａ x|z"));
    QCOMPARE(f.selectedPosition(), 2);
    QCOMPARE(f.view.status, replacedStatus(3));
    f.controller.undo();
    QCOMPARE(f.texts(false), QStringLiteral("alpha|beta|ALPHABET"));
    QVERIFY(!f.controller.isEnabled(Command::Undo));
}

void TestRowFinder::replaceStoppedChangesNothing()
{
    QList<TestRow> rows;
    for (qint16 i = 1; i <= 5000; ++i)
        rows.append({i, QStringLiteral("n%1").arg(i), QStringLiteral("v")});
    FinderFixture f(rows);
    f.find(QStringLiteral("v"));
    f.ui.cancelLongTasks = true;
    f.ui.longTasks.clear();
    f.controller.replacer().replaceAll(QStringLiteral("w"));
    QCOMPARE(f.ui.longTasks.size(), 1);
    QCOMPARE(f.controller.entries().at(4999).value, QStringLiteral("v"));
    QVERIFY(!f.controller.isModified());
    f.ui.cancelLongTasks = false;
    f.controller.replacer().replaceAll(QStringLiteral("w"));
    QCOMPARE(f.controller.entries().at(4999).value, QStringLiteral("w"));
}

void TestRowFinder::searchingNoteWaits_data()
{
    QTest::addColumn<int>("countMs");
    QTest::addColumn<QString>("during");
    QTest::newRow("a short count says nothing") << 0 << "";
    QTest::newRow("a long one says it searches") << 500 << FindSearchingStatus;
}

void TestRowFinder::searchingNoteWaits()
{
    QFETCH(int, countMs);
    QFETCH(QString, during);
    QString shown;
    bool counting = true;
    FindStatus status(
        [&] {
            return FindStatus::Now{std::nullopt, counting};
        },
        [&](const QString &text) { shown = text; });
    status.setSearched(true);
    status.countStarted();
    status.update();
    QTest::qWait(countMs);
    QCOMPARE(shown, during);
    counting = false;
    status.update();
    QCOMPARE(shown, QString());
}

QTEST_MAIN(TestRowFinder)
#include "tst_rowfinder.moc"
