// SPDX-License-Identifier: GPL-3.0-or-later
// Writes the journal fuzzer's seed files: the journals a window writes while
// a person changes the table of JournalTable.h, each also cut inside its
// last record, as a crash leaves it.
//
//   fuzz_journal_seeds JOURNAL_DIR
#include "FuzzSupport.h"
#include "JournalTable.h"

#include "control/document/Document.h"
#include "control/document/RowCommands.h"

#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QTemporaryDir>
#include <cstdio>
#include <functional>
#include <vector>

using namespace wendaro;

namespace {

struct Seed
{
    const char *name;
    std::function<void(Document &)> play;
};

void put(Document &state, qsizetype at, const char *name, const char *value)
{
    std::vector<PlacedEntry> rows{
        {at, Entry{indexText(qint16(20 + at)), QString::fromUtf8(name), QString::fromUtf8(value), std::nullopt, 0}}};
    state.change(RowsCommand::putIn(state.entries(), state.selection(), std::move(rows), QStringLiteral("追加")));
}

void edit(Document &state, qsizetype at, const char *name, const char *value)
{
    state.change(new EditCommand(state.entries(), state.selection(), at,
                                 Entry{indexText(qint16(30 + at)), QString::fromUtf8(name), QString::fromUtf8(value),
                                       std::nullopt, 0}));
}

void remove(Document &state, const std::vector<qsizetype> &positions)
{
    state.change(RowsCommand::takeOut(state.entries(), state.selection(), positions, QStringLiteral("削除")));
}

void sortBy(Document &state, SortColumn column)
{
    state.entries().setSortKey(column);
    state.entries().setSorted(true);
}

const std::vector<Seed> &seeds()
{
    static const std::vector<Seed> all{
        {"add", [](Document &s) { put(s, 1, "n", "v"); }},
        {"edit", [](Document &s) { edit(s, 2, "x", "y<br>z"); }},
        {"remove",
         [](Document &s) {
             remove(s, {0, 3});
         }},
        {"paste",
         [](Document &s) {
             put(s, 3, "p", "P");
             put(s, 4, "q", "Q");
         }},
        {"fields",
         [](Document &s) {
             s.setFieldText(Field::Memo, QStringLiteral("メモ"));
             s.setFieldText(Field::File, QStringLiteral("out.stf"));
         }},
        {"undo-redo",
         [](Document &s) {
             put(s, 5, "n", "v");
             remove(s, {0});
             s.undo();
             edit(s, 1, "e", "E");
             s.undo();
             s.redo();
         }},
        {"sorts-between",
         [](Document &s) {
             sortBy(s, SortColumn::Name);
             remove(s, {1});
             put(s, 0, "z", "Z");
             sortBy(s, SortColumn::Value);
             edit(s, 2, "d", "D");
         }},
    };
    return all;
}

// Plays the seed on the table as if read from tablePath; the journal it
// left, empty when none.
QByteArray journalOf(const Seed &seed, const QString &tablePath)
{
    fuzz::QuietInterface ui;
    Document state(ui, fuzz::defaultCodePage());
    fuzz::fillJournalTable(state.entries());
    state.journal().follow(tablePath, std::nullopt);
    state.markSaved();
    seed.play(state);
    QFile file(state.journal().filePath());
    QByteArray bytes = file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    state.journal().stop();
    return bytes;
}

} // namespace

int main(int argc, char **argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: fuzz_journal_seeds JOURNAL_DIR\n");
        return 64;
    }
    // The journals go where the window writes them: a folder of this run's own.
    const QTemporaryDir state;
    qputenv("XDG_STATE_HOME", state.path().toLocal8Bit());
    qputenv("QT_QPA_PLATFORM", "offscreen");
    int qtArgc = 1;
    const QGuiApplication app(qtArgc, argv);
    const QDir out(QString::fromLocal8Bit(argv[1]));
    bool ok = true;
    for (const Seed &seed : seeds()) {
        const QByteArray journal = journalOf(seed, state.filePath(QStringLiteral("table.stf")));
        if (journal.isEmpty()) {
            std::fprintf(stderr, "fuzz_journal_seeds: %s left no journal\n", seed.name);
            return 1;
        }
        const QString name = QString::fromLatin1(seed.name);
        ok &= fuzz::writeSeed("fuzz_journal_seeds", out.filePath(name + QStringLiteral(".journal")), journal);
        ok &= fuzz::writeSeed("fuzz_journal_seeds", out.filePath(name + QStringLiteral("-cut.journal")),
                              journal.left(journal.size() - 3));
    }
    return ok ? 0 : 1;
}
