// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/formats/TextFormat.h"

#include "core/io/MemoryAdvice.h"

#include "core/io/ByteSink.h"
#include "core/text/CodePage.h"
#include "core/model/Table.h"
#include "core/formats/TextReader.h"
#include "core/formats/TextWriter.h"

namespace wendaro {

TextFormat::TextFormat()
    : FileFormat({.shortName = QStringLiteral("text"),
                  .nameFilter = QStringLiteral("テキスト (タブ区切り) (*.txt)"),
                  .suffixes = {QStringLiteral("txt")},
                  .capabilities = ReadsTables | WritesTables | KeepsTextFields})
{
}

bool TextFormat::readTable(QByteArrayView data, const CodePage &codePage, Table &table, qint64 *errorPlace,
                           QString *error) const
{
    TextReader reader;
    reader.setProgress(table.progress);
    return reader.read(data, codePage, table.rows, table.fields, table.largestIndex, errorPlace, error);
}

namespace {

// The text of the file's bytes, decoded a piece at a time. The pages of
// each piece go back to the system once it is decoded, so that the bytes
// and the text are never both whole in memory; unless someone else holds
// the bytes too.
QString decodeReleasing(QByteArray data, const CodePage &codePage)
{
    if (!data.isDetached())
        return codePage.decode(data);
    QString text;
    // Room for the most characters the bytes can give: never touched, the
    // rest costs nothing.
    text.reserve(data.size());
    constexpr qsizetype Piece = qsizetype(8) << 20;
    char *const bytes = data.data();
    qsizetype from = 0;
    while (from < data.size()) {
        qsizetype to = qMin(from + Piece, data.size());
        while (to < data.size() && !codePage.endsCharacters(bytes[to - 1]))
            ++to;
        codePage.decodeAppending(QByteArrayView(bytes + from, to - from), text);
        releasePages(bytes + from, to - from);
        from = to;
    }
    return text;
}

} // namespace

bool TextFormat::readTableTaking(QByteArray data, const CodePage &codePage, Table &table, qint64 *errorPlace,
                                 QString *error) const
{
    // The values stay in the file's bytes, where its fields can be told
    // apart there. Otherwise the rows are taken from the decoded text, which
    // the file's bytes give way to as it grows.
    if (codePage.marksFieldsInBytes()) {
        TextReader reader;
        reader.setProgress(table.progress);
        return reader.readKeeping(data, codePage, table.rows, table.fields, table.largestIndex, errorPlace, error);
    }
    return readText(decodeReleasing(std::move(data), codePage), table, errorPlace, error);
}

bool TextFormat::readText(const QString &text, Table &table, qint64 *errorPlace, QString *error)
{
    TextReader reader;
    reader.setProgress(table.progress);
    return reader.readKeeping(text, table.rows, table.fields, table.largestIndex, errorPlace, error);
}

bool TextFormat::writeTable(const EntryList &rows, const TextFields &fields, const CodePage &codePage, ByteSink &out,
                            QString *error) const
{
    return TextWriter().write(rows, fields, codePage, out, error);
}

} // namespace wendaro
