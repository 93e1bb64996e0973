#include "TextFormat.h"

#include "ByteSink.h"
#include "CodePage.h"
#include "Table.h"
#include "TextReader.h"
#include "TextWriter.h"

namespace wendaro {

QString TextFormat::shortName() const
{
    return QStringLiteral("text");
}

QString TextFormat::nameFilter() const
{
    return QStringLiteral("テキスト (タブ区切り) (*.txt)");
}

QStringList TextFormat::suffixes() const
{
    return {QStringLiteral("txt")};
}

bool TextFormat::read(QByteArrayView data, const CodePage &codePage, Table &table)
{
    return readText(codePage.decode(data), table);
}

bool TextFormat::readTaking(QByteArray data, const CodePage &codePage, Table &table)
{
    // The rows are taken from the decoded text: the file's bytes may go
    // before the rows are built, one copy of the table fewer at the peak.
    const QString text = codePage.decode(data);
    data = QByteArray();
    return readText(text, table);
}

bool TextFormat::readText(const QString &text, Table &table)
{
    TextReader reader;
    reader.setProgress(table.progress);
    const bool ok = reader.readKeeping(text, table.rows, table.fields, table.largestIndex);
    m_error = reader.errorString();
    m_errorPlace = reader.errorLine() > 0 ? reader.errorLine() : -1;
    return ok;
}

bool TextFormat::write(const EntryList &rows, const TextFields &fields, const CodePage &codePage, ByteSink &out)
{
    TextWriter writer;
    const bool ok = writer.write(rows, fields, codePage, out);
    m_error = writer.errorString();
    return ok;
}

} // namespace wendaro
