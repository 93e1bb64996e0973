// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/formats/CsvFormat.h"

#include "core/text/CharacterName.h"
#include "core/text/LineBreaks.h"
#include "core/text/Number.h"
#include "core/text/Spaces.h"
#include "core/text/Utf8.h"
#include "core/translation/TranslationCatalog.h"

#include <algorithm>
#include <array>
#include <optional>

namespace wendaro {

namespace {

const char ByteOrderMark[] = "\xEF\xBB\xBF";

// Splits the text into records. Inside quotes every character is data, CR
// and LF included; outside them a record ends at CR LF or LF, and a lone CR
// is refused, since no writer of this format puts one there and guessing
// its meaning could split or join values silently.
class RecordParser
{
public:
    explicit RecordParser(QStringView source) : text(source), n(source.size()) {}

    std::optional<QList<CsvRecord>> parse(QString *error)
    {
        QList<CsvRecord> records;
        while (i < n) {
            CsvRecord record;
            if (!readRecord(record, error))
                return std::nullopt;
            if (!record.blank)
                records.append(record);
        }
        return records;
    }

private:
    qsizetype column(qsizetype at) const { return at - lineStart + 1; }

    // One record, through the line break that ends it.
    bool readRecord(CsvRecord &record, QString *error)
    {
        record.line = line;
        for (;;) {
            const qsizetype fieldNumber = record.fields.size() + 1;
            QString field;
            const bool quoted = i < n && text[i] == u'"';
            if (quoted ? !readQuotedField(fieldNumber, field, error) : !readPlainField(fieldNumber, field, error))
                return false;
            record.fields.append(field);
            if (i >= n) {
                record.blank = !quoted && record.fields.size() == 1 && field.isEmpty();
                return true;
            }
            if (text[i] == u',') {
                ++i;
                continue;
            }
            if (text[i] == u'\r') {
                if (i + 1 >= n || text[i + 1] != u'\n') {
                    *error = QStringLiteral("%1 行目 %2 文字目: 引用符の外に LF の付かない CR（U+000D）があります。"
                                            "レコードの区切りは CR LF か LF です。")
                                 .arg(line)
                                 .arg(column(i));
                    return false;
                }
                ++i;
            }
            ++i;
            ++line;
            lineStart = i;
            record.blank = !quoted && record.fields.size() == 1 && field.isEmpty();
            return true;
        }
    }

    // From the opening quote, at i, to the character after the closing one.
    bool readQuotedField(qsizetype fieldNumber, QString &field, QString *error)
    {
        const qsizetype openLine = line;
        const qsizetype openColumn = column(i);
        ++i;
        for (;;) {
            if (i >= n) {
                *error = QStringLiteral("%1 行目 %2 文字目で始まる %3 番目のフィールドの引用符が閉じられないまま、"
                                        "ファイルが終わっています。")
                             .arg(openLine)
                             .arg(openColumn)
                             .arg(fieldNumber);
                return false;
            }
            const QChar c = text[i++];
            if (c == u'"') {
                if (i < n && text[i] == u'"') {
                    field += c;
                    ++i;
                    continue;
                }
                break;
            }
            if (c == u'\n') {
                ++line;
                lineStart = i;
            }
            field += c;
        }
        if (i < n && text[i] != u',' && text[i] != u'\r' && text[i] != u'\n') {
            *error = QStringLiteral("%1 行目 %2 文字目: %3 番目のフィールドの閉じる引用符の後に %4 があります。"
                                    "引用符の中の引用符は 2 つ重ねて書きます。")
                         .arg(line)
                         .arg(column(i))
                         .arg(fieldNumber)
                         .arg(characterName(text.toString(), i));
            return false;
        }
        return true;
    }

    // Up to the comma or line break that ends the field.
    bool readPlainField(qsizetype fieldNumber, QString &field, QString *error)
    {
        while (i < n && text[i] != u',' && text[i] != u'\r' && text[i] != u'\n') {
            if (text[i] == u'"') {
                *error = QStringLiteral(
                             "%1 行目 %2 文字目: 引用符で囲まれていない %3 番目のフィールドに引用符があります。"
                             "引用符を含むフィールドは全体を引用符で囲み、中の引用符を 2 つ重ねて書きます。")
                             .arg(line)
                             .arg(column(i))
                             .arg(fieldNumber);
                return false;
            }
            field += text[i++];
        }
        return true;
    }

    const QStringView text;
    const qsizetype n;
    qsizetype i = 0;
    qsizetype line = 1;
    qsizetype lineStart = 0;
};

} // namespace

std::optional<QList<CsvRecord>> parseCsvRecords(QStringView text, QString *error)
{
    return RecordParser(text).parse(error);
}

namespace {

// The columns a catalog reads, in the order of Columns.
const QStringList &columnNames()
{
    static const QStringList names = {QStringLiteral("Index"), QStringLiteral("Name"), QStringLiteral("Source"),
                                      QStringLiteral("Value")};
    return names;
}

// Where each named column is, -1 for an absent one.
using Columns = std::array<qsizetype, 4>;

// The header's columns; Index and Value must be there, each name once.
std::optional<Columns> columnsOf(const CsvRecord &header, QString *error)
{
    const QStringList &names = columnNames();
    Columns columns = {-1, -1, -1, -1};
    for (qsizetype f = 0; f < header.fields.size(); ++f) {
        const QStringView name = trimSpaces(header.fields[f]);
        for (qsizetype k = 0; k < names.size(); ++k) {
            if (name.compare(names[k], Qt::CaseInsensitive) != 0)
                continue;
            if (columns[size_t(k)] >= 0) {
                *error = QStringLiteral("見出しの行（%1 行目）に %2 の列が 2 つあります（%3 番目と %4 番目）。")
                             .arg(header.line)
                             .arg(names[k])
                             .arg(columns[size_t(k)] + 1)
                             .arg(f + 1);
                return std::nullopt;
            }
            columns[size_t(k)] = f;
        }
    }
    for (const qsizetype k : {0, 3}) {
        if (columns[size_t(k)] < 0) {
            *error = QStringLiteral("見出しの行（%1 行目）に %2 の列がありません。"
                                    "見出しには Index, Name, Value（原文があれば Source も）の列の名前を書きます。")
                         .arg(header.line)
                         .arg(names[k]);
            return std::nullopt;
        }
    }
    return columns;
}

// A record reaches every named column and puts nothing beyond the header's.
bool fieldsFit(const CsvRecord &record, const CsvRecord &header, const Columns &columns, QString *error)
{
    for (const qsizetype k : {0, 1, 2, 3}) {
        if (columns[size_t(k)] >= record.fields.size()) {
            *error = QStringLiteral("%1 行目にはフィールドが %2 個しかなく、%3 の列（%4 番目）がありません。")
                         .arg(record.line)
                         .arg(record.fields.size())
                         .arg(columnNames()[k])
                         .arg(columns[size_t(k)] + 1);
            return false;
        }
    }
    for (qsizetype f = header.fields.size(); f < record.fields.size(); ++f) {
        if (!record.fields[f].isEmpty()) {
            *error = QStringLiteral("%1 行目の %2 番目のフィールドには見出しがありません（見出しの列は %3 個）。"
                                    "値の中のコンマや改行は、フィールド全体を引用符で囲んで書きます。")
                         .arg(record.line)
                         .arg(f + 1)
                         .arg(header.fields.size());
            return false;
        }
    }
    return true;
}

std::optional<TranslationUnit> unitOf(const CsvRecord &record, const Columns &columns, QString *error)
{
    const auto [indexColumn, nameColumn, sourceColumn, valueColumn] = columns;
    const QString &indexField = record.fields[indexColumn];
    const Int16Conversion index = toInt16(indexField);
    if (!index.ok()) {
        *error = index.status == Int16Conversion::Status::Overflow
                     ? QStringLiteral("%1 行目の Index「%2」は -32768 から 32767 の範囲を超えています。")
                     : QStringLiteral("%1 行目の Index「%2」は数値ではありません。");
        *error = error->arg(record.line).arg(trimSpaces(indexField));
        return std::nullopt;
    }
    TranslationUnit unit;
    unit.index = index.value;
    unit.hasName = nameColumn >= 0;
    if (unit.hasName)
        unit.name = record.fields[nameColumn];
    // A CR LF is a line break, which the list holds as "<br>" (as a
    // table file's CR LF reads); the writer never puts one in a value.
    if (sourceColumn >= 0)
        unit.source = lineBreaksToList(record.fields[sourceColumn]);
    unit.target = lineBreaksToList(record.fields[valueColumn]);
    unit.translated = true;
    unit.place = QStringLiteral("%1 行目").arg(record.line);
    return unit;
}

// A text field in quotes, every quote doubled: quoted always, so that the
// reader never has to guess where a value with a comma or a line break ends.
QString quoted(const QString &text)
{
    QString field = text;
    field.replace(QLatin1Char('"'), QStringLiteral("\"\""));
    return QLatin1Char('"') + field + QLatin1Char('"');
}

} // namespace

CsvFormat::CsvFormat()
    : FileFormat({.shortName = QStringLiteral("csv"),
                  .nameFilter = QStringLiteral("CSV (*.csv)"),
                  .suffixes = {QStringLiteral("csv")},
                  .capabilities = ReadsCatalogs | WritesCatalogs})
{
}

bool CsvFormat::readCatalog(QByteArrayView data, TranslationCatalog &catalog, QString *error) const
{
    const qsizetype skipped = data.startsWith(QByteArrayView(ByteOrderMark)) ? 3 : 0;
    data = data.sliced(skipped);
    const qsizetype invalid = firstInvalidUtf8(data);
    if (invalid >= 0) {
        *error = QStringLiteral("先頭から %1 バイトの位置に UTF-8 として正しくないバイトがあります。"
                                "CSV は UTF-8 で保存してください。")
                     .arg(skipped + invalid);
        return false;
    }
    const std::optional<QList<CsvRecord>> records = parseCsvRecords(QString::fromUtf8(data), error);
    if (!records)
        return false;
    if (records->isEmpty()) {
        *error = QStringLiteral("見出しの行がありません。1 行目には列の名前 Index, Name, Value を書きます。");
        return false;
    }

    const CsvRecord &header = records->first();
    const std::optional<Columns> columns = columnsOf(header, error);
    if (!columns)
        return false;

    catalog.isTemplate = false;
    catalog.hasSource = (*columns)[2] >= 0;
    for (qsizetype r = 1; r < records->size(); ++r) {
        const CsvRecord &record = records->at(r);
        if (!fieldsFit(record, header, *columns, error))
            return false;
        std::optional<TranslationUnit> unit = unitOf(record, *columns, error);
        if (!unit)
            return false;
        catalog.units.append(*unit);
    }
    return true;
}

bool CsvFormat::writeCatalog(const TranslationCatalog &catalog, QByteArray &out, QString *error) const
{
    // A template's values are the table's own; a translation puts the
    // original beside them. A catalog read from a file without sources or
    // names is written without those columns, so that it reads back the same.
    const bool withSource = !catalog.isTemplate && catalog.hasSource;
    const bool withName = catalog.units.isEmpty()
                          || std::any_of(catalog.units.cbegin(), catalog.units.cend(),
                                         [](const TranslationUnit &u) { return u.hasName; });
    QString text = QStringLiteral("Index") + (withName ? QStringLiteral(",Name") : QString())
                   + (withSource ? QStringLiteral(",Source") : QString()) + QStringLiteral(",Value\r\n");
    for (const TranslationUnit &unit : catalog.units) {
        const QString value = catalog.isTemplate ? unit.source : unit.translated ? unit.target : QString();
        const QList<QPair<QString, QString>> texts = {{QStringLiteral("名前"), unit.name},
                                                      {QStringLiteral("原文"), unit.source},
                                                      {QStringLiteral("値"), value}};
        for (const auto &[what, field] : texts) {
            const qsizetype at = firstLoneSurrogate(field);
            if (at >= 0) {
                *error = QStringLiteral("インデックス %1 の%2の %3 文字目は対になっていないサロゲート %4 なので、"
                                        "UTF-8 の CSV には書けません。")
                             .arg(unit.index)
                             .arg(what)
                             .arg(at + 1)
                             .arg(characterName(field, at));
                return false;
            }
        }
        text += QString::number(unit.index) + QLatin1Char(',');
        if (withName)
            text += quoted(unit.name) + QLatin1Char(',');
        if (withSource)
            text += quoted(unit.source) + QLatin1Char(',');
        text += quoted(value) + QStringLiteral("\r\n");
    }
    out = QByteArray(ByteOrderMark) + text.toUtf8();
    return true;
}

} // namespace wendaro
