// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/formats/TmxWriter.h"

#include "core/formats/TmxVocabulary.h"
#include "core/formats/XliffVocabulary.h"
#include "core/io/SinkDevice.h"
#include "core/text/CharacterName.h"
#include "core/translation/TranslationMemory.h"
#include "core/translation/TranslatorText.h"

#include <QXmlStreamWriter>

namespace wendaro {

namespace {

// The text as character data that reads back as the same code units:
// QXmlStreamWriter leaves a CR raw, which a reader takes for a line end.
void writeText(QXmlStreamWriter &xml, const QString &text)
{
    qsizetype runStart = 0;
    for (qsizetype cr = text.indexOf(u'\r'); cr >= 0; cr = text.indexOf(u'\r', runStart)) {
        if (cr > runStart)
            xml.writeCharacters(text.sliced(runStart, cr - runStart));
        xml.writeEntityReference(QStringLiteral("#13"));
        runStart = cr + 1;
    }
    if (runStart == 0)
        xml.writeCharacters(text);
    else if (runStart < text.size())
        xml.writeCharacters(text.sliced(runStart));
}

qsizetype unholdable(const QString &text)
{
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (!xliff::xmlCanHold(text, i))
            return i;
    }
    return -1;
}

void writeVariant(QXmlStreamWriter &xml, const QString &language, const QString &listValue)
{
    xml.writeStartElement(QStringLiteral("tuv"));
    xml.writeAttribute(QStringLiteral("xml:lang"), language);
    const LineBreakForm form = lineBreakFormFor(listValue);
    if (form == LineBreakForm::CrLf) {
        xml.writeStartElement(QStringLiteral("prop"));
        xml.writeAttribute(QStringLiteral("type"), tmx::LineBreaksProp);
        xml.writeCharacters(tmx::CrLfForm);
        xml.writeEndElement();
    }
    xml.writeStartElement(QStringLiteral("seg"));
    // Indentation inside the segment would become part of the text.
    xml.setAutoFormatting(false);
    writeText(xml, toTranslatorText(listValue, form));
    xml.writeEndElement();
    xml.setAutoFormatting(true);
    xml.writeEndElement();
}

} // namespace

bool writeTmx(const TranslationMemory &memory, ByteSink &out, QString *error)
{
    for (const MemoryUnit &unit : memory.units) {
        for (const QString *text : {&unit.source, &unit.target}) {
            const qsizetype at = unholdable(*text);
            if (at < 0)
                continue;
            const MemoryPlace &place = unit.places.front();
            *error = QStringLiteral("%1: インデックス %2 の%3に TMX では書けない文字 %4 があります。")
                         .arg(memory.tables.value(place.table))
                         .arg(place.index)
                         .arg(text == &unit.source ? QStringLiteral("原文") : QStringLiteral("訳"))
                         .arg(characterName(*text, at));
            return false;
        }
    }

    SinkDevice device(out);
    QXmlStreamWriter xml(&device);
    xml.setAutoFormatting(true);
    xml.setAutoFormattingIndent(2);
    xml.writeStartDocument();
    xml.writeStartElement(QStringLiteral("tmx"));
    xml.writeAttribute(QStringLiteral("version"), QStringLiteral("1.4"));
    xml.writeEmptyElement(QStringLiteral("header"));
    xml.writeAttribute(QStringLiteral("creationtool"), tmx::ToolName);
    xml.writeAttribute(QStringLiteral("creationtoolversion"), memory.toolVersion);
    xml.writeAttribute(QStringLiteral("segtype"), QStringLiteral("block"));
    xml.writeAttribute(QStringLiteral("o-tmf"), tmx::ToolName);
    xml.writeAttribute(QStringLiteral("adminlang"), QStringLiteral("en"));
    xml.writeAttribute(QStringLiteral("srclang"), memory.sourceLanguage);
    xml.writeAttribute(QStringLiteral("datatype"), QStringLiteral("plaintext"));
    if (!memory.creationDate.isEmpty())
        xml.writeAttribute(QStringLiteral("creationdate"), memory.creationDate);
    xml.writeStartElement(QStringLiteral("body"));

    QStringList tables;
    for (const QString &table : memory.tables)
        tables << xliff::holdable(table) + QLatin1Char(':');
    for (const MemoryUnit &unit : memory.units) {
        xml.writeStartElement(QStringLiteral("tu"));
        for (const MemoryPlace &place : unit.places) {
            xml.writeStartElement(QStringLiteral("prop"));
            xml.writeAttribute(QStringLiteral("type"), tmx::EntryProp);
            writeText(xml, tables.at(place.table) + QString::number(place.index));
            xml.writeEndElement();
        }
        writeVariant(xml, memory.sourceLanguage, unit.source);
        writeVariant(xml, memory.targetLanguage, unit.target);
        xml.writeEndElement();
        if (device.failed())
            break;
    }
    xml.writeEndDocument();
    if (!device.finish()) {
        error->clear();
        return false;
    }
    if (xml.hasError()) {
        *error = QStringLiteral("TMX を組み立てられませんでした。");
        return false;
    }
    return true;
}

} // namespace wendaro
