// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/formats/XliffWriter.h"

#include "core/text/CharacterName.h"
#include "core/translation/TranslationCatalog.h"
#include "core/translation/TranslatorText.h"
#include "core/formats/XliffVocabulary.h"

#include <QXmlStreamWriter>

namespace wendaro {

namespace {

// The text as character data that reads back as the same code units.
// QXmlStreamWriter leaves a CR raw, so it goes as a reference here.
void writeText(QXmlStreamWriter &xml, const QString &text)
{
    int placeholders = 0;
    qsizetype runStart = 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const bool cr = text.at(i) == u'\r';
        if (!cr && xliff::xmlCanHold(text, i))
            continue;
        if (i > runStart)
            xml.writeCharacters(text.sliced(runStart, i - runStart));
        runStart = i + 1;
        if (cr) {
            xml.writeEntityReference(QStringLiteral("#13"));
            continue;
        }
        xml.writeEmptyElement(QStringLiteral("x"));
        xml.writeAttribute(QStringLiteral("id"), QString::number(++placeholders));
        const QString code = QStringLiteral("%1").arg(text.at(i).unicode(), 4, 16, QLatin1Char('0')).toUpper();
        xml.writeAttribute(QStringLiteral("ctype"), xliff::CharacterCtypePrefix + code);
    }
    if (runStart < text.size())
        xml.writeCharacters(text.sliced(runStart));
}

void writeTextElement(QXmlStreamWriter &xml, const QString &element, const QString &listValue, const QString &state)
{
    xml.writeStartElement(element);
    if (!state.isEmpty())
        xml.writeAttribute(QStringLiteral("state"), state);
    const LineBreakForm form = lineBreakFormFor(listValue);
    if (form == LineBreakForm::CrLf)
        xml.writeAttribute(xliff::OwnNamespace, xliff::LineBreaksAttribute, xliff::CrLfForm);
    // Indentation inside the element would become part of the text.
    xml.setAutoFormatting(false);
    writeText(xml, toTranslatorText(listValue, form));
    xml.writeEndElement();
    xml.setAutoFormatting(true);
}

} // namespace

bool XliffWriter::write(const TranslationCatalog &catalog, QByteArray &out, QString *error) const
{
    for (const TranslationUnit &unit : catalog.units) {
        for (qsizetype i = 0; i < unit.name.size(); ++i) {
            if (!xliff::xmlCanHold(unit.name, i)) {
                *error = QStringLiteral("インデックス %1 の名前に XLIFF では書けない文字 %2 があります。")
                             .arg(unit.index)
                             .arg(characterName(unit.name, i));
                return false;
            }
        }
    }

    QByteArray image;
    QXmlStreamWriter xml(&image);
    xml.setAutoFormatting(true);
    xml.setAutoFormattingIndent(2);
    xml.writeStartDocument();
    xml.writeStartElement(QStringLiteral("xliff"));
    xml.writeDefaultNamespace(xliff::Namespace);
    xml.writeNamespace(xliff::OwnNamespace, xliff::OwnPrefix);
    xml.writeAttribute(QStringLiteral("version"), QStringLiteral("1.2"));
    xml.writeStartElement(QStringLiteral("file"));
    xml.writeAttribute(QStringLiteral("original"), xliff::holdable(catalog.original));
    xml.writeAttribute(QStringLiteral("datatype"), QStringLiteral("plaintext"));
    xml.writeAttribute(QStringLiteral("source-language"),
                       catalog.sourceLanguage.isEmpty() ? xliff::UnknownLanguage : catalog.sourceLanguage);
    if (!catalog.targetLanguage.isEmpty())
        xml.writeAttribute(QStringLiteral("target-language"), catalog.targetLanguage);
    xml.writeStartElement(QStringLiteral("body"));
    for (const TranslationUnit &unit : catalog.units) {
        const bool translated = unit.translated && !catalog.isTemplate;
        xml.writeStartElement(QStringLiteral("trans-unit"));
        xml.writeAttribute(QStringLiteral("id"), QString::number(unit.index));
        if (unit.hasName || !unit.name.isEmpty())
            xml.writeAttribute(QStringLiteral("resname"), unit.name);
        // Tools that go by approval alone (translate-toolkit) take every
        // unapproved translation for fuzzy.
        if (translated && !unit.fuzzy)
            xml.writeAttribute(QStringLiteral("approved"), QStringLiteral("yes"));
        xml.writeAttribute(QStringLiteral("xml:space"), QStringLiteral("preserve"));
        writeTextElement(xml, QStringLiteral("source"), unit.source, QString());
        if (translated)
            writeTextElement(xml, QStringLiteral("target"), unit.target,
                             unit.fuzzy ? xliff::FuzzyState : xliff::TranslatedState);
        // A CAT tool shows these beside the unit as matches to take; the
        // unit's own target is left as it is, so import reads the same.
        // translate-toolkit reads an alternative as a unit of its own, which
        // keeps its line breaks only when it says xml:space itself.
        for (const UnitSuggestion &suggestion : unit.suggestions) {
            xml.writeStartElement(QStringLiteral("alt-trans"));
            xml.writeAttribute(QStringLiteral("match-quality"), QString::number(suggestion.score));
            xml.writeAttribute(QStringLiteral("origin"), xliff::holdable(suggestion.origin));
            xml.writeAttribute(QStringLiteral("xml:space"), QStringLiteral("preserve"));
            writeTextElement(xml, QStringLiteral("source"), suggestion.source, QString());
            writeTextElement(xml, QStringLiteral("target"), suggestion.target, QString());
            xml.writeEndElement();
        }
        xml.writeEndElement();
    }
    xml.writeEndDocument();
    if (xml.hasError()) {
        *error = QStringLiteral("XLIFF を組み立てられませんでした。");
        return false;
    }
    out = image;
    return true;
}

} // namespace wendaro
