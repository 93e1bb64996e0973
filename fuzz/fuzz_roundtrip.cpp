// SPDX-License-Identifier: GPL-3.0-or-later
// Whatever a reader accepts, the writer of the same format writes, and that
// file reads back as the same rows; writing those rows again gives the same
// bytes. The input is tried as an STF file and as a text file.
//
// And for any table at all, built from the input: each writer either refuses
// it with a reason or writes a file that reads back as the same table.
#include "FuzzSupport.h"
#include "core/text/LineBreaks.h"
#include "core/text/Number.h"
#include "core/text/Spaces.h"
#include "core/checks/StfLimits.h"
#include "core/formats/StfReader.h"
#include "core/formats/StfWriter.h"
#include "core/model/TextFields.h"
#include "core/formats/TextReader.h"
#include "core/formats/TextWriter.h"
#include "core/checks/RowPlaces.h"
#include "core/checks/TableProblems.h"

#include <cstring>

using namespace wendaro;

namespace {

void stfRoundTrip(QByteArrayView input)
{
    const CodePage &codePage = fuzz::defaultCodePage();
    StfReader reader;
    EntryList first;
    qint16 largestIndex = 1;
    qint64 errorOffset = -1;
    QString error;
    if (!reader.read(input, codePage, first, largestIndex, &errorOffset, &error))
        return;

    StfWriter writer;
    QByteArray written;
    const bool wrote = writer.write(first, codePage, written, &error);

    // Rows whose values stay in the file's bytes, aligned as characters or
    // not, are the rows copied out, and are written as the same bytes.
    for (const qsizetype shift : {0, 1}) {
        QByteArray file(shift + input.size(), Qt::Uninitialized);
        std::memcpy(file.data() + shift, input.data(), size_t(input.size()));
        file.remove(0, shift);
        EntryList kept;
        fuzz::require(reader.readKeeping(file, codePage, kept, largestIndex, &errorOffset, &error),
                      "a file read as a copy reads in place");
        fuzz::require(fuzz::sameRows(first, kept), "values kept in the file are the values copied");
        QByteArray keptWritten;
        fuzz::require(writer.write(kept, codePage, keptWritten, &error) == wrote && keptWritten == written,
                      "values kept in the file are written as the values copied");
        TextWriter textWriter;
        QByteArray copiedText;
        QByteArray keptText;
        QString copiedError;
        QString keptError;
        const bool copiedOk = textWriter.write(first, TextFields(), codePage, copiedText, &copiedError);
        fuzz::require(textWriter.write(kept, TextFields(), codePage, keptText, &keptError) == copiedOk
                          && keptText == copiedText && keptError == copiedError,
                      "values kept in the file are written as text as the values copied, or refused alike");
    }
    // The reader allows one value record more than the next-index field
    // leaves room for; nothing else that was read may be refused.
    fuzz::require(wrote || first.count() > stf::MaxEntryCount, "a table read from STF is written as STF");
    if (!wrote)
        return;

    EntryList second;
    fuzz::require(reader.read(written, codePage, second, largestIndex, &errorOffset, &error),
                  "a written STF file reads back");
    fuzz::require(fuzz::sameRows(first, second), "a written STF file reads back as the same rows");
    QByteArray again;
    fuzz::require(writer.write(second, codePage, again, &error) && again == written,
                  "writing STF again gives the same bytes");
}

// Rows whose values stay in a text file's bytes and the same rows held in
// the decoded text are written as the same bytes in both forms, or refused
// alike, and checked alike: the values in bytes are never decoded there.
void sameWrittenAndChecked(const EntryList &inBytes, const EntryList &inText, const TextFields &fields)
{
    const CodePage &codePage = fuzz::defaultCodePage();
    QByteArray a;
    QByteArray b;
    QString errorA;
    QString errorB;
    const bool stfA = StfWriter().write(inBytes, codePage, a, &errorA);
    fuzz::require(StfWriter().write(inText, codePage, b, &errorB) == stfA && a == b && errorA == errorB,
                  "values in a text file's bytes are written as STF as the values decoded");
    a.clear();
    b.clear();
    const bool textA = TextWriter().write(inBytes, fields, codePage, a, &errorA);
    fuzz::require(TextWriter().write(inText, fields, codePage, b, &errorB) == textA && a == b && errorA == errorB,
                  "values in a text file's bytes are written as text as the values decoded");
    const QList<Problem> problemsA = tableProblems(inBytes, fields, codePage, RowPlaces(), PlaceKind::Line);
    const QList<Problem> problemsB = tableProblems(inText, fields, codePage, RowPlaces(), PlaceKind::Line);
    fuzz::require(problemsA.size() == problemsB.size(), "values in a text file's bytes are checked as decoded");
    for (qsizetype i = 0; i < problemsA.size(); ++i)
        fuzz::require(problemsA[i].message == problemsB[i].message,
                      "values in a text file's bytes are checked as decoded");
}

void textRoundTrip(QByteArrayView input)
{
    const CodePage &codePage = fuzz::defaultCodePage();
    TextReader reader;
    EntryList first;
    TextFields firstFields;
    qint16 largestIndex = 1;
    qint64 errorLine = -1;
    QString error;
    if (!reader.read(input, codePage, first, firstFields, largestIndex, &errorLine, &error))
        return;
    EntryList kept;
    TextFields keptFields;
    fuzz::require(reader.readKeeping(codePage.decode(input), kept, keptFields, largestIndex, &errorLine, &error),
                  "a text read as a copy reads in place");
    fuzz::require(fuzz::sameRows(first, kept), "values kept in the decoded text are the values copied");
    sameWrittenAndChecked(first, kept, firstFields);

    // Everything the code page decodes it also encodes, so nothing read can
    // be refused.
    TextWriter writer;
    QByteArray written;
    fuzz::require(writer.write(first, firstFields, codePage, written, &error),
                  "a table read from text is written as text");

    EntryList second;
    TextFields secondFields;
    fuzz::require(reader.read(written, codePage, second, secondFields, largestIndex, &errorLine, &error),
                  "a written text file reads back");
    fuzz::require(fuzz::sameRows(first, second), "a written text file reads back as the same rows");
    QByteArray again;
    fuzz::require(writer.write(second, secondFields, codePage, again, &error) && again == written,
                  "writing text again gives the same bytes");
}

// The index that a row's index text stands for; a writer that accepted the
// row must have found one.
qint16 indexOf(const Entry &entry)
{
    const Int16Conversion index = toInt16(entry.indexText);
    fuzz::require(index.ok(), "a written row has an index of -32768..32767");
    return index.value;
}

void refusedWithReason(const QString &error, const QByteArray &out)
{
    fuzz::require(!error.isEmpty(), "a refusal comes with a description");
    fuzz::require(out == "untouched", "a refused table leaves the output as it was");
}

void anyTableAsText(const EntryList &rows, const TextFields &fields)
{
    const CodePage &codePage = fuzz::defaultCodePage();
    TextWriter writer;
    QByteArray written = "untouched";
    QString error;
    if (!writer.write(rows, fields, codePage, written, &error))
        return refusedWithReason(error, written);

    TextReader reader;
    EntryList back;
    TextFields backFields;
    qint16 largestIndex = 1;
    qint64 errorLine = -1;
    fuzz::require(reader.read(written, codePage, back, backFields, largestIndex, &errorLine, &error),
                  "any written text file reads back");
    fuzz::require(back.count() == rows.count(), "a written text file reads back as as many rows");
    for (qsizetype p = 0; p < rows.count(); ++p) {
        const Entry &was = rows.at(p);
        const Entry &is = back.at(p);
        fuzz::require(indexOf(was) == indexOf(is), "a text row reads back with its index");
        fuzz::require(was.name == is.name, "a text row reads back with its name");
        fuzz::require(was.value == is.value, "a text row reads back with its value");
    }
    fuzz::require(backFields.outputFile == trimSpaces(fields.outputFile), "the output file reads back, trimmed");
    const QString memo = trimSpaces(fields.memo).isEmpty() ? QString() : fields.memo;
    fuzz::require(backFields.memo == memo, "a memo that is not blank reads back as it was");
}

void anyTableAsStf(const EntryList &rows)
{
    const CodePage &codePage = fuzz::defaultCodePage();
    StfWriter writer;
    QByteArray written = "untouched";
    QString error;
    if (!writer.write(rows, codePage, written, &error))
        return refusedWithReason(error, written);

    StfReader reader;
    EntryList back;
    qint16 largestIndex = 1;
    qint64 errorOffset = -1;
    fuzz::require(reader.read(written, codePage, back, largestIndex, &errorOffset, &error),
                  "any written STF file reads back");
    fuzz::require(back.count() == rows.count(), "a written STF file reads back as as many rows");
    for (qsizetype p = 0; p < rows.count(); ++p) {
        const Entry &was = rows.at(p);
        const Entry &is = back.at(p);
        fuzz::require(is.key == indexOf(was) && indexOf(is) == indexOf(was), "an STF row reads back with its index");
        fuzz::require(was.name == is.name, "an STF row reads back with its name");
        // "<br>" and a raw CR LF of the list are both written as CR LF.
        fuzz::require(lineBreaksFromList(was.value.toString()) == lineBreaksFromList(is.value.toString()),
                      "an STF row reads back with its value as the file holds it");
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArrayView input = fuzz::bytesOf(data, size);
    stfRoundTrip(input);
    textRoundTrip(input);

    EntryList rows;
    TextFields fields;
    fuzz::TableInput(input).build(rows, fields);
    anyTableAsText(rows, fields);
    anyTableAsStf(rows);
    return 0;
}
