// SPDX-License-Identifier: GPL-3.0-or-later
// A journal is a file on disk that a crash, a full disk or another program
// may have cut or garbled. Whatever it holds: the reader takes the whole
// records and stops; each record is refused or decodes to what encodes back
// to it; and the replay onto the table the seeds were begun from touches no
// row that is not there, and leaves rows that one undo takes back to the
// table's, whatever sorts came between.
#include "FuzzSupport.h"
#include "JournalTable.h"

#include "control/document/Document.h"
#include "control/recovery/JournalReplay.h"

#include "core/io/JournalFile.h"
#include "core/io/JournalRecordCodec.h"

#include <QFile>
#include <QGuiApplication>
#include <QTemporaryDir>

using namespace wendaro;

namespace {

// The reader reads files: the input is one, in a folder of this run's own.
QString inputFile(QByteArrayView input)
{
    static const QTemporaryDir dir;
    QString path = dir.filePath(QStringLiteral("input.journal"));
    QFile file(path);
    fuzz::require(file.open(QIODevice::WriteOnly | QIODevice::Truncate)
                      && file.write(input.data(), input.size()) == input.size(),
                  "the input is written to a file");
    return path;
}

// The rows as texts, in no particular order: a sort is no step, and no undo
// takes it back.
QStringList rowsInAnyOrder(const EntryList &rows)
{
    QStringList out;
    for (qsizetype p = 0; p < rows.count(); ++p) {
        const Entry &entry = rows.at(p);
        out << entry.indexText + u'\t' + entry.name + u'\t' + entry.value.toString();
    }
    out.sort();
    return out;
}

void decodeEach(const JournalContents &contents)
{
    for (const QByteArray &record : contents.records) {
        const std::optional<JournalRecordData> decoded = decodeJournalRecord(record);
        if (decoded)
            fuzz::require(decodeJournalRecord(encodeJournalRecord(*decoded)) == decoded,
                          "a decoded record encodes as bytes that decode to it");
    }
}

void replayOntoTheTable(const JournalContents &contents)
{
    fuzz::QuietInterface ui;
    Document state(ui, fuzz::defaultCodePage());
    fuzz::fillJournalTable(state.entries());
    state.markSaved();
    const QStringList table = rowsInAnyOrder(state.entries());
    replayJournal(state, contents);
    state.undo();
    fuzz::require(rowsInAnyOrder(state.entries()) == table, "one undo takes a replay back to the table's rows");
    recoveredRows(contents);
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int *, char ***)
{
    // The document's commands are QActions, which need a QGuiApplication;
    // it gets no screen, and none of libFuzzer's arguments.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    static int argc = 1;
    static char name[] = "fuzz_journal_read";
    static char *argv[] = {name, nullptr};
    static const QGuiApplication app(argc, argv);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    QString error;
    const std::optional<JournalContents> contents = readJournal(inputFile(fuzz::bytesOf(data, size)), &error);
    if (!contents) {
        fuzz::require(!error.isEmpty(), "a file that is no journal is refused with a reason");
        return 0;
    }
    decodeEach(*contents);
    replayOntoTheTable(*contents);
    return 0;
}
