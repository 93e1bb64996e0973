// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/formats/XliffReader.h"

#include "core/translation/TranslationCatalog.h"
#include "core/translation/TranslatorText.h"
#include "core/formats/XliffVocabulary.h"
#include "core/text/Number.h"

#include <optional>

namespace wendaro {

namespace {

// The code unit that a placeholder's ctype carries, or nullopt when the
// ctype is not one of ours.
std::optional<QChar> placeholderCharacter(QStringView ctype)
{
    if (!ctype.startsWith(xliff::CharacterCtypePrefix))
        return std::nullopt;
    const QStringView hex = ctype.sliced(xliff::CharacterCtypePrefix.size());
    if (hex.size() != 4)
        return std::nullopt;
    for (const QChar c : hex) {
        if (!QStringView(u"0123456789ABCDEFabcdef").contains(c))
            return std::nullopt;
    }
    return QChar(char16_t(hex.toUInt(nullptr, 16)));
}

QString undeclaredEntity(QStringView name)
{
    return QStringLiteral("宣言されていない実体 &%1; があります。").arg(name);
}

bool saysTranslationExists(QStringView state)
{
    return !state.isEmpty() && state != u"new" && state != u"needs-translation" && !state.startsWith(u"x-");
}

} // namespace

bool XliffReader::read(QByteArrayView data, TranslationCatalog &catalog, QString *error)
{
    if (readUnits(data, catalog))
        return true;
    *error = m_error;
    return false;
}

bool XliffReader::readUnits(QByteArrayView data, TranslationCatalog &catalog)
{
    m_error.clear();
    m_xml.clear();
    m_xml.addData(data.toByteArray());
    m_namespace.clear();

    bool seenRoot = false;
    QString original;
    QList<TranslationUnit> units;
    while (next()) {
        switch (m_xml.tokenType()) {
        case QXmlStreamReader::DTD:
            if (!m_xml.entityDeclarations().isEmpty())
                return fail(QStringLiteral("DOCTYPE で実体が宣言されています。XLIFF では実体を使えません。"));
            break;
        case QXmlStreamReader::StartElement:
            if (!seenRoot) {
                seenRoot = true;
                if (!readRoot())
                    return false;
            } else if (isXliff(u"file")) {
                if (original.isEmpty())
                    original = m_xml.attributes().value(QStringLiteral("original")).toString();
            } else if (isXliff(u"trans-unit")) {
                if (!readUnit(units))
                    return false;
            }
            break;
        case QXmlStreamReader::EntityReference: return fail(undeclaredEntity(m_xml.name()));
        default: break;
        }
    }
    if (!m_error.isEmpty())
        return false;

    if (catalog.original.isEmpty())
        catalog.original = original;
    for (const TranslationUnit &unit : units) {
        if (unit.translated)
            catalog.isTemplate = false;
    }
    catalog.units += units;
    return true;
}

bool XliffReader::next()
{
    if (m_xml.readNext() == QXmlStreamReader::EndDocument)
        return false;
    if (!m_xml.hasError())
        return true;
    m_error = QStringLiteral("行 %1 列 %2: XML として読めません（%3）。")
                  .arg(m_xml.lineNumber())
                  .arg(m_xml.columnNumber())
                  .arg(m_xml.errorString());
    return false;
}

bool XliffReader::fail(const QString &what)
{
    return failAt(m_xml.lineNumber(), m_xml.columnNumber(), what);
}

bool XliffReader::failAt(qint64 line, qint64 column, const QString &what)
{
    m_error = QStringLiteral("行 %1 列 %2: %3").arg(line).arg(column).arg(what);
    return false;
}

bool XliffReader::isXliff(QStringView localName) const
{
    return m_xml.name() == localName && m_xml.namespaceUri() == m_namespace;
}

bool XliffReader::readRoot()
{
    // XLIFF 1.0 had no namespace; 1.1 and 1.2 read alike for what is taken here.
    m_namespace = m_xml.namespaceUri().toString();
    const bool versionOne = m_namespace.isEmpty() || m_namespace.startsWith(u"urn:oasis:names:tc:xliff:document:1.");
    if (m_xml.name() == u"xliff" && versionOne)
        return true;
    return fail(QStringLiteral("XLIFF 1.2 の文書ではありません（最初の要素が <%1>%2）。")
                    .arg(m_xml.qualifiedName(),
                         m_namespace.isEmpty() ? QString() : QStringLiteral("、名前空間 %1").arg(m_namespace)));
}

bool XliffReader::readUnit(QList<TranslationUnit> &units)
{
    const qint64 line = m_xml.lineNumber();
    const qint64 column = m_xml.columnNumber();
    const QXmlStreamAttributes attributes = m_xml.attributes();
    const QStringView id = attributes.value(QStringLiteral("id"));
    const std::optional<qint16> index = parseIndexDigits(id);
    if (!index && !attributes.hasAttribute(QStringLiteral("id")))
        return fail(QStringLiteral("trans-unit に id がありません。"));
    if (!index) {
        return fail(QStringLiteral("trans-unit の id「%1」は -32768 から 32767 の 10 進のインデックスではありません。")
                        .arg(id));
    }

    TranslationUnit unit;
    unit.index = *index;
    unit.hasName = attributes.hasAttribute(QStringLiteral("resname"));
    unit.name = attributes.value(QStringLiteral("resname")).toString();
    unit.place = QStringLiteral("行 %1").arg(line);
    bool hasSource = false;
    bool hasTarget = false;
    QString state;
    while (next()) {
        if (m_xml.isEndElement())
            break;
        if (m_xml.tokenType() == QXmlStreamReader::EntityReference)
            return fail(undeclaredEntity(m_xml.name()));
        if (!m_xml.isStartElement())
            continue;
        const bool isSource = isXliff(u"source");
        const bool isTarget = isXliff(u"target");
        if (!isSource && !isTarget) {
            // Notes, alternatives, segmented copies: not the unit's texts.
            m_xml.skipCurrentElement();
            continue;
        }
        if ((isSource && hasSource) || (isTarget && hasTarget))
            return fail(
                QStringLiteral("trans-unit（id %1）に <%2> が 2 つあります。").arg(unit.index).arg(m_xml.name()));
        const bool crLf = m_xml.attributes().value(xliff::OwnNamespace, xliff::LineBreaksAttribute) == xliff::CrLfForm;
        const LineBreakForm form = crLf ? LineBreakForm::CrLf : LineBreakForm::Plain;
        if (isTarget)
            state = m_xml.attributes().value(QStringLiteral("state")).toString();
        QString text;
        if (!readText(text))
            return false;
        (isSource ? unit.source : unit.target) = fromTranslatorText(text, form);
        (isSource ? hasSource : hasTarget) = true;
    }
    if (!m_error.isEmpty())
        return false;
    if (!hasSource)
        return failAt(line, column, QStringLiteral("trans-unit（id %1）に source がありません。").arg(unit.index));

    unit.translated = hasTarget && (!unit.target.isEmpty() || saysTranslationExists(state));
    if (!unit.translated)
        unit.target.clear();
    const bool disapproved = attributes.value(QStringLiteral("approved")) == u"no";
    unit.fuzzy = unit.translated && (state.startsWith(u"needs-") || disapproved);
    units.append(unit);
    return true;
}

bool XliffReader::readText(QString &text)
{
    // Marks are counted rather than followed by recursion: a file may nest
    // them deeper than the stack reaches.
    qsizetype openMarks = 0;
    while (next()) {
        switch (m_xml.tokenType()) {
        case QXmlStreamReader::Characters: text += m_xml.text(); break;
        case QXmlStreamReader::EndElement:
            if (openMarks-- == 0)
                return true;
            break;
        case QXmlStreamReader::EntityReference: return fail(undeclaredEntity(m_xml.name()));
        case QXmlStreamReader::StartElement: {
            if (isXliff(u"mrk")) {
                ++openMarks;
                break;
            }
            const qint64 line = m_xml.lineNumber();
            const qint64 column = m_xml.columnNumber();
            const QStringView ctype = m_xml.attributes().value(QStringLiteral("ctype"));
            const std::optional<QChar> character = isXliff(u"x") ? placeholderCharacter(ctype) : std::nullopt;
            if (!character) {
                return failAt(line, column,
                              QStringLiteral("<%1> は読めないインライン要素です。その部分のテキストを失わないよう、"
                                             "読み込みをやめました。")
                                  .arg(m_xml.qualifiedName()));
            }
            if (!next())
                return false;
            if (!m_xml.isEndElement())
                return failAt(line, column, QStringLiteral("文字の代わりの <x> に中身があります。"));
            text += *character;
            break;
        }
        default: break;
        }
    }
    return false;
}

} // namespace wendaro
