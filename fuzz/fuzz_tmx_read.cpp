// SPDX-License-Identifier: GPL-3.0-or-later
// Two promises of the translation memory, the first byte choosing which:
// - any bytes given to the TMX reader are read or refused with a
//   description and a line, never more;
// - the rest as UTF-16 texts, pairs of an original and its translation:
//   memory then pretranslate into the translation emptied gives back every
//   value the memory holds with one translation, or the writer refuses a
//   character XML cannot hold.
#include "FuzzSupport.h"
#include "core/formats/TmxReader.h"
#include "core/formats/TmxWriter.h"
#include "core/io/ByteSink.h"
#include "core/text/LineBreaks.h"
#include "core/translation/TranslationMemory.h"

#include <QBuffer>
#include <QHash>
#include <QSet>

using namespace wendaro;

namespace {

void readAny(QByteArray bytes)
{
    QBuffer device(&bytes);
    device.open(QIODevice::ReadOnly);
    qint64 line = 0;
    QString error;
    qsizetype units = 0;
    const bool read = TmxReader().read(
        device, false, [&](const ReadUnit &) { ++units; }, &line, &error);
    fuzz::require(read == error.isEmpty(), "an error comes with a description, success without");
    fuzz::require(read || line >= 1, "an error names its line");
}

EntryList rowsOf(const QStringList &values)
{
    EntryList rows;
    for (qsizetype i = 0; i < values.size(); ++i)
        rows.setValue(rows.append(indexText(qint16(i + 1))), values[i]);
    return rows;
}

void roundTrip(QByteArrayView bytes)
{
    // Texts split at U+0000, as a table holds them (a file's CR LF is "<br>").
    const QString all = QString(reinterpret_cast<const QChar *>(bytes.data()), bytes.size() / 2);
    QStringList original, translation;
    for (const QString &text : all.split(QChar(0))) {
        (original.size() == translation.size() ? original : translation) << lineBreaksToList(text);
    }
    while (translation.size() < original.size())
        translation << QString();
    QString error;
    const EntryList originalRows = rowsOf(original);
    std::optional<TablePairs> pairs = memoryPairs(originalRows, "o", rowsOf(translation), "t", &error);
    fuzz::require(pairs.has_value(), "unique indexes pair");
    TranslationMemory memory{QStringLiteral("en"), QStringLiteral("ja"), QStringLiteral("0"), {}, {"t"}, {}};
    MemoryGathering gathering;
    gathering.add(std::move(*pairs), 0);
    memory.units = gathering.takeUnits();
    QByteArray tmx;
    ArraySink sink(tmx);
    if (!writeTmx(memory, sink, &error)) {
        fuzz::require(!error.isEmpty() && tmx.isEmpty(), "a refusal says why and writes nothing");
        return;
    }
    QHash<QString, QSet<QString>> held;
    for (const MemoryUnit &unit : memory.units)
        held[unit.source].insert(unit.target);

    EntryList emptied = rowsOf(QStringList(translation.size(), QString()));
    std::optional<Pretranslation> work = Pretranslation::prepare(originalRows, "o", emptied, "t", QString(), QString(),
                                                                 &error);
    fuzz::require(work.has_value(), "unique indexes prepare");
    QBuffer device(&tmx);
    device.open(QIODevice::ReadOnly);
    qint64 line = 0;
    fuzz::require(TmxReader().read(
                      device, false, [&](const ReadUnit &unit) { work->offer(unit); }, &line, &error),
                  "what the writer wrote reads back");
    PretranslateReport report;
    fuzz::require(work->fill(emptied, report, &error), "one target language");
    for (qsizetype i = 0; i < original.size(); ++i) {
        const QSet<QString> targets = held.value(original[i]);
        if (targets.size() == 1)
            fuzz::require(emptied.at(i).value.toString() == *targets.begin(), "a value the memory holds comes back");
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    if (size == 0)
        return 0;
    const QByteArrayView rest = fuzz::bytesOf(data + 1, size - 1);
    if (data[0] % 2 == 0)
        readAny(rest.toByteArray());
    else
        roundTrip(rest);
    return 0;
}
