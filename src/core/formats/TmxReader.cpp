// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/formats/TmxReader.h"

#include "core/formats/TmxVocabulary.h"
#include "core/translation/TranslationMemory.h"

namespace wendaro {

namespace {

const QString XmlNamespace = QStringLiteral("http://www.w3.org/XML/1998/namespace");

} // namespace

bool TmxReader::read(QIODevice &device, bool sourceLanguageGiven, const Take &take, qint64 *errorLine, QString *error)
{
    m_xml.clear();
    m_xml.setDevice(&device);
    m_error.clear();
    m_sourceLanguage.clear();
    m_creationDate.clear();
    m_stopped = false;
    bool seenRoot = false;
    bool seenHeader = false;
    while (next()) {
        if (m_xml.tokenType() == QXmlStreamReader::DTD && !m_xml.entityDeclarations().isEmpty()) {
            fail(QStringLiteral("DOCTYPE で実体が宣言されています。実体は展開しないので、このファイルは読めません。"));
            break;
        }
        if (!m_xml.isStartElement())
            continue;
        if (!seenRoot) {
            seenRoot = true;
            if (m_xml.name() != u"tmx" || !m_xml.namespaceUri().isEmpty()) {
                fail(QStringLiteral("TMX の文書ではありません（最初の要素が <%1>）。").arg(m_xml.qualifiedName()));
                break;
            }
        } else if (m_xml.name() == u"header" && !seenHeader) {
            seenHeader = true;
            if (!readHeader(sourceLanguageGiven))
                break;
        } else if (m_xml.name() == u"tu") {
            if (!readUnit(take))
                break;
        } else if (m_xml.name() != u"body") {
            m_xml.skipCurrentElement();
        }
    }
    if (m_stopped)
        return false;
    if (m_error.isEmpty() && !seenRoot)
        fail(QStringLiteral("TMX の文書ではありません（要素がありません）。"));
    if (m_error.isEmpty())
        return true;
    *errorLine = m_errorLine;
    *error = m_error;
    return false;
}

bool TmxReader::next()
{
    if (!m_error.isEmpty() || m_stopped)
        return false;
    const QXmlStreamReader::TokenType token = m_xml.readNext();
    if (m_xml.hasError())
        return fail(QStringLiteral("XML として読めません（%1）。").arg(m_xml.errorString()));
    if (token == QXmlStreamReader::EntityReference)
        return fail(QStringLiteral("宣言されていない実体 &%1; があります。").arg(m_xml.name()));
    return token != QXmlStreamReader::EndDocument;
}

bool TmxReader::fail(const QString &what)
{
    if (m_error.isEmpty()) {
        m_errorLine = m_xml.lineNumber();
        m_error = what;
    }
    return false;
}

bool TmxReader::readHeader(bool sourceLanguageGiven)
{
    const QXmlStreamAttributes attributes = m_xml.attributes();
    m_sourceLanguage = attributes.value(QStringLiteral("srclang")).toString();
    m_creationDate = attributes.value(QStringLiteral("creationdate")).toString();
    if (m_sourceLanguage == u"*all*")
        m_sourceLanguage.clear();
    if (m_sourceLanguage.isEmpty() && !sourceLanguageGiven)
        return fail(QStringLiteral("header に原文の言語（srclang）がありません。--source-lang で指定してください。"));
    m_xml.skipCurrentElement();
    return true;
}

bool TmxReader::readUnit(const Take &take)
{
    ReadUnit unit;
    unit.places = 0;
    unit.sourceLanguage = m_sourceLanguage;
    const QXmlStreamAttributes attributes = m_xml.attributes();
    unit.changeDate = attributes.value(QStringLiteral("changedate")).toString();
    if (unit.changeDate.isEmpty())
        unit.changeDate = m_creationDate;
    while (next()) {
        if (m_xml.isEndElement())
            break;
        if (!m_xml.isStartElement())
            continue;
        if (m_xml.name() == u"tuv") {
            if (!readVariant(unit))
                return false;
        } else if (m_xml.name() == u"prop" && m_xml.attributes().value(QStringLiteral("type")) == tmx::EntryProp) {
            ++unit.places;
            QString ignored;
            if (!readText(ignored))
                return false;
        } else {
            m_xml.skipCurrentElement();
        }
    }
    if (!m_error.isEmpty())
        return false;
    unit.places = std::max<qsizetype>(unit.places, 1);
    take(unit);
    return true;
}

bool TmxReader::readVariant(ReadUnit &unit)
{
    ReadVariant variant;
    const QXmlStreamAttributes attributes = m_xml.attributes();
    variant.language = attributes.value(XmlNamespace, QStringLiteral("lang")).toString();
    if (variant.language.isEmpty())
        variant.language = attributes.value(QStringLiteral("lang")).toString();
    variant.changeDate = attributes.value(QStringLiteral("changedate")).toString();
    bool hasSegment = false;
    while (next()) {
        if (m_xml.isEndElement())
            break;
        if (!m_xml.isStartElement())
            continue;
        if (m_xml.name() == u"seg" && !hasSegment) {
            hasSegment = true;
            if (!readText(variant.text))
                return false;
        } else if (m_xml.name() == u"prop" && m_xml.attributes().value(QStringLiteral("type")) == tmx::LineBreaksProp) {
            QString form;
            if (!readText(form))
                return false;
            variant.crLf = form.trimmed() == tmx::CrLfForm;
        } else {
            m_xml.skipCurrentElement();
        }
    }
    if (!m_error.isEmpty())
        return false;
    if (hasSegment)
        unit.variants.append(std::move(variant));
    return true;
}

bool TmxReader::readText(QString &text)
{
    // Inline elements are counted rather than followed by recursion: a file
    // may nest them deeper than the stack reaches.
    qsizetype open = 0;
    while (next()) {
        switch (m_xml.tokenType()) {
        case QXmlStreamReader::Characters: text += m_xml.text(); break;
        case QXmlStreamReader::StartElement: ++open; break;
        case QXmlStreamReader::EndElement:
            if (open-- == 0)
                return true;
            break;
        default: break;
        }
    }
    return false;
}

} // namespace wendaro
