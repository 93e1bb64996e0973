// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/JsonDump.h"

#include "cli/CommandFiles.h"
#include "cli/Console.h"
#include "cli/ExitCode.h"
#include "cli/TextQuoting.h"

#include "core/io/ByteSink.h"
#include "core/model/IndexText.h"
#include "core/text/CodePage.h"
#include "core/text/LineBreaks.h"
#include "core/text/Spaces.h"
#include "core/text/StandIn.h"

#include <algorithm>

namespace wendaro::cli {

namespace {

// The index as a JSON number; an index text that is no number (only a list
// being edited holds one) as a string, as diff writes it.
QByteArray jsonIndex(qsizetype position, const QString &indexText)
{
    QString unused;
    if (const std::optional<qint16> index = indexToSave(position, indexText, &unused))
        return QByteArray::number(*index);
    return jsonString(trimSpaces(indexText));
}

// A lone half of a surrogate pair is valid in a JSON text as an escape, but
// readers differ on it: jq 1.6 refuses the whole document. Such a value is
// written with U+FFFD in its place, and exactly as its UTF-16 code units,
// four hexadecimal digits each, in "valueUtf16".
void appendValue(QByteArray &out, QStringView value)
{
    if (value.isValidUtf16()) {
        out += jsonString(value);
        return;
    }
    QString readable = value.toString();
    QByteArray units;
    for (qsizetype i = 0; i < value.size(); ++i) {
        const char16_t unit = value[i].unicode();
        units += QByteArray::number(unit, 16).rightJustified(4, '0');
        const bool paired = QChar::isHighSurrogate(unit) ? i + 1 < value.size() && value[i + 1].isLowSurrogate()
                                                         : i > 0 && value[i - 1].isHighSurrogate();
        if (QChar::isSurrogate(unit) && !paired)
            readable[i] = QChar::ReplacementCharacter;
    }
    out += jsonString(readable) + ", \"valueUtf16\": \"" + units + '"';
}

void appendEntry(QByteArray &out, qsizetype position, const Entry &entry, const CodePage &codePage)
{
    out += position == 0 ? "\n{\"index\": " : ",\n{\"index\": ";
    out += jsonIndex(position, entry.indexText);
    out += ", \"name\": ";
    out += jsonString(entry.name);
    if (std::any_of(entry.name.cbegin(), entry.name.cend(), [](QChar c) { return isStandIn(c.unicode()); })) {
        QByteArray bytes;
        codePage.encode(entry.name, bytes);
        out += ", \"nameBytes\": \"" + bytes.toHex() + '"';
    }
    out += ", \"value\": ";
    if (const std::optional<QStringView> units = entry.value.fileUnits())
        appendValue(out, *units);
    else
        appendValue(out, lineBreaksFromList(entry.value.toString()));
    out += '}';
}

} // namespace

int dumpJson(const QByteArray &file, const CodePage &codePage)
{
    const std::optional<LoadedDocument> document = load(file, codePage);
    if (!document)
        return ReadFailed;
    StdoutSink out;
    SinkBuffer buffer(out);
    QByteArray &bytes = buffer.bytes();
    bytes += "{\"outputFile\": " + jsonString(document->fields.outputFile);
    bytes += ", \"memo\": " + jsonString(document->fields.memo);
    bytes += ", \"entries\": [";
    bool written = true;
    const EntryList &rows = document->rows;
    for (qsizetype position = 0; written && position < rows.count(); ++position) {
        appendEntry(bytes, position, rows.at(position), codePage);
        written = buffer.handOnIfFull();
    }
    if (written) {
        bytes += rows.isEmpty() ? "]}\n" : "\n]}\n";
        written = buffer.finish();
    }
    if (!written) {
        printError(WriteErrorMessage, QStringLiteral("標準出力に書き込めませんでした。"));
        return WriteFailed;
    }
    return Done;
}

} // namespace wendaro::cli
