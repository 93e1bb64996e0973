// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/formats/GlossaryReader.h"

#include "core/formats/CsvFormat.h"
#include "core/translation/Glossary.h"
#include "core/translation/LanguageCode.h"

#include <QXmlStreamReader>

namespace wendaro {

namespace {

QString utf8Text(const QByteArray &bytes)
{
    return QString::fromUtf8(bytes.startsWith("\xEF\xBB\xBF") ? bytes.sliced(3) : bytes);
}

bool readTabs(const QString &text, Glossary &read, qint64 *line, QString *error)
{
    const QStringList lines = text.split(u'\n');
    for (qsizetype i = 0; i < lines.size(); ++i) {
        QString content = lines[i];
        if (content.endsWith(u'\r'))
            content.chop(1);
        if (content.trimmed().isEmpty() || content.startsWith(u'#'))
            continue;
        const QStringList fields = content.split(u'\t');
        if (fields.size() < 2 || fields[1].trimmed().isEmpty()) {
            *line = i + 1;
            *error = QStringLiteral("原文と訳がタブで区切られていません。");
            return false;
        }
        read.add({fields[0].trimmed(), fields[1].trimmed(), fields.value(2).trimmed()});
    }
    return true;
}

bool isHeader(const CsvRecord &record)
{
    static const QStringList sources = {u"source"_qs, u"src"_qs, u"term"_qs, u"原文"_qs, u"用語"_qs};
    static const QStringList targets = {u"target"_qs, u"translation"_qs, u"訳"_qs, u"訳語"_qs};
    return record.fields.size() >= 2
           && (sources.contains(record.fields[0].trimmed().toLower())
               || targets.contains(record.fields[1].trimmed().toLower()));
}

bool readCsv(const QString &text, Glossary &read, qint64 *line, QString *error)
{
    const std::optional<QList<CsvRecord>> records = parseCsvRecords(text, error);
    if (!records) {
        *line = -1;
        return false;
    }
    for (qsizetype i = 0; i < records->size(); ++i) {
        const CsvRecord &record = (*records)[i];
        if (record.blank || (i == 0 && isHeader(record)))
            continue;
        if (record.fields.size() < 2 || record.fields[1].trimmed().isEmpty()) {
            *line = record.line;
            *error = QStringLiteral("原文と訳の 2 列がありません。");
            return false;
        }
        read.add({record.fields[0].trimmed(), record.fields[1].trimmed(), record.fields.value(2).trimmed()});
    }
    return true;
}

// TBX: each entry's terms by language, then its sources and targets paired.
class TbxReader
{
public:
    TbxReader(const QByteArray &bytes, QString sourceLanguage, QString targetLanguage)
        : m_xml(bytes), m_source(std::move(sourceLanguage)), m_target(std::move(targetLanguage))
    {
    }

    bool read(Glossary &into, qint64 *line, QString *error)
    {
        while (!m_xml.atEnd()) {
            const QXmlStreamReader::TokenType token = m_xml.readNext();
            if (token == QXmlStreamReader::DTD && !m_xml.entityDeclarations().isEmpty())
                return fail(QStringLiteral(
                                "DOCTYPE で実体が宣言されています。実体は展開しないので、このファイルは読めません。"),
                            line, error);
            if (token == QXmlStreamReader::EntityReference)
                return fail(QStringLiteral("宣言されていない実体 &%1; があります。").arg(m_xml.name()), line, error);
            if (token != QXmlStreamReader::StartElement)
                continue;
            const QStringView name = m_xml.name();
            if ((name == u"martif" || name == u"tbx") && m_source.isEmpty())
                m_source = m_xml.attributes().value(QStringLiteral("xml:lang")).toString();
            else if (name == u"termEntry" || name == u"conceptEntry")
                readEntry(into);
        }
        if (m_xml.hasError())
            return fail(QStringLiteral("XML として読めません（%1）。").arg(m_xml.errorString()), line, error);
        return true;
    }

private:
    bool fail(const QString &what, qint64 *line, QString *error)
    {
        *line = m_xml.lineNumber();
        *error = what;
        return false;
    }

    void readEntry(Glossary &into)
    {
        QList<std::pair<QString, QString>> terms; // language, term
        QString comment;
        QString language;
        const int depth = 1;
        int open = depth;
        while (open > 0 && !m_xml.atEnd() && !m_xml.hasError()) {
            const QXmlStreamReader::TokenType token = m_xml.readNext();
            if (token == QXmlStreamReader::EndElement) {
                --open;
                continue;
            }
            if (token != QXmlStreamReader::StartElement)
                continue;
            ++open;
            const QStringView name = m_xml.name();
            if (name == u"langSet" || name == u"langSec") {
                language = m_xml.attributes().value(QStringLiteral("xml:lang")).toString();
            } else if (name == u"term") {
                terms.append({language, m_xml.readElementText(QXmlStreamReader::IncludeChildElements).trimmed()});
                --open;
            } else if ((name == u"descrip" || name == u"note") && comment.isEmpty()) {
                comment = m_xml.readElementText(QXmlStreamReader::IncludeChildElements).simplified();
                --open;
            }
        }
        if (m_source.isEmpty() && !terms.isEmpty())
            m_source = terms.first().first;
        for (const auto &[sourceLanguage, source] : terms) {
            if (!sameLanguage(sourceLanguage, m_source) && primaryLanguage(sourceLanguage) != primaryLanguage(m_source))
                continue;
            for (const auto &[targetLanguage, target] : terms) {
                const bool wanted = m_target.isEmpty()
                                        ? primaryLanguage(targetLanguage) != primaryLanguage(m_source)
                                        : sameLanguage(targetLanguage, m_target)
                                              || primaryLanguage(targetLanguage) == primaryLanguage(m_target);
                if (wanted)
                    into.add({source, target, comment});
            }
        }
    }

    QXmlStreamReader m_xml;
    QString m_source;
    QString m_target;
};

bool looksLikeXml(const QString &text)
{
    const QString start = text.left(512).trimmed();
    return start.startsWith(QLatin1String("<?xml")) || start.startsWith(QLatin1String("<martif"))
           || start.startsWith(QLatin1String("<tbx"));
}

} // namespace

bool readGlossary(const QString &name, const QByteArray &bytes, const QString &sourceLanguage,
                  const QString &targetLanguage, Glossary &into, qint64 *line, QString *error)
{
    Glossary read;
    const QString text = utf8Text(bytes);
    bool ok = false;
    if (looksLikeXml(text))
        ok = TbxReader(bytes, sourceLanguage, targetLanguage).read(read, line, error);
    else if (name.endsWith(QLatin1String(".csv"), Qt::CaseInsensitive))
        ok = readCsv(text, read, line, error);
    else
        ok = readTabs(text, read, line, error);
    if (ok)
        into = std::move(read);
    return ok;
}

} // namespace wendaro
