#include "TextWriter.h"

#include "CharacterName.h"
#include "CodePage.h"
#include "EntryList.h"
#include "IndexText.h"
#include "Spaces.h"
#include "TextFields.h"

namespace wendaro {

namespace {

const QString Header = QStringLiteral("Index\tName\tValue");
const QString LineEnd = QStringLiteral("\r\n");

bool hasOutputFileLine(const TextFields &fields)
{
    return !trimSpaces(fields.outputFile).isEmpty();
}

bool hasMemoLine(const TextFields &fields)
{
    return !trimSpaces(fields.memo).isEmpty();
}

// The first character of text that is one of separators, or -1.
qsizetype firstOf(QStringView text, QStringView separators)
{
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (separators.contains(text.at(i)))
            return i;
    }
    return -1;
}

QString separatorName(QChar c)
{
    if (c == u'\t')
        return QStringLiteral("TAB");
    return c == u'\r' ? QStringLiteral("CR") : QStringLiteral("LF");
}

} // namespace

QString TextWriter::layout(const EntryList &rows, const TextFields &fields)
{
    QString text;
    text.reserve(64 + rows.count() * 64);
    text += Header + LineEnd;
    if (hasOutputFileLine(fields))
        text += QStringLiteral(">file ") + trimSpaces(fields.outputFile).toString() + LineEnd;
    if (hasMemoLine(fields))
        text += QStringLiteral(">//") + fields.memo + LineEnd;
    for (qsizetype position = 1; position <= rows.count(); ++position) {
        const Entry &entry = rows.at(position);
        text += trimSpaces(entry.indexText);
        text += u'\t';
        text += entry.name;
        text += u'\t';
        text += entry.value;
        text += LineEnd;
    }
    return text;
}

bool TextWriter::checkFields(const EntryList &rows, const TextFields &fields)
{
    const auto refuse = [this](const QString &what, qsizetype at, QChar c) {
        m_error = QStringLiteral("%1の %2 文字目に %3 があります。テキスト形式では行や項目の区切りになるため、保存できません。")
                      .arg(what)
                      .arg(at + 1)
                      .arg(separatorName(c));
        return false;
    };
    const QStringView lineBreaks = u"\r\n";
    if (const qsizetype at = firstOf(fields.outputFile, lineBreaks); at >= 0)
        return refuse(QStringLiteral("出力先ファイル"), at, fields.outputFile.at(at));
    if (const qsizetype at = firstOf(fields.memo, lineBreaks); at >= 0)
        return refuse(QStringLiteral("メモ"), at, fields.memo.at(at));

    const QStringView separators = u"\t\r\n";
    for (qsizetype position = 1; position <= rows.count(); ++position) {
        const Entry &entry = rows.at(position);
        // The reader makes a row of a line only when its first field is a
        // number; any other index would lose the row or shift its fields.
        const QStringView index = trimSpaces(entry.indexText);
        if (const qsizetype at = firstOf(index, separators); at >= 0)
            return refuse(QStringLiteral("%1 番目の項目のインデックス").arg(position), at, index.at(at));
        if (!indexToSave(position, entry.indexText, &m_error))
            return false;

        const auto where = [&](const QString &part) {
            return QStringLiteral("%1 番目の項目（インデックス %2）の%3").arg(position).arg(index, part);
        };
        if (const qsizetype at = firstOf(entry.name, separators); at >= 0)
            return refuse(where(QStringLiteral("名前")), at, entry.name.at(at));
        if (const qsizetype at = firstOf(entry.value, separators); at >= 0)
            return refuse(where(QStringLiteral("値")), at, entry.value.at(at));
    }
    return true;
}

QString TextWriter::describeUnrepresentable(const QString &text, qsizetype at, const EntryList &rows,
                                            const CodePage &codePage) const
{
    // No index, name, value or field holds a line break (checkFields), so the
    // line and the field follow from the separators before the character.
    const QStringView before = QStringView(text).first(at);
    const qsizetype lastLineEnd = before.lastIndexOf(LineEnd);
    const qsizetype lineStart = lastLineEnd < 0 ? 0 : lastLineEnd + LineEnd.size();
    const qsizetype line = before.count(LineEnd);
    const qsizetype linesBeforeRows = QStringView(text).count(LineEnd) - rows.count();
    const QStringView inLine = before.sliced(lineStart);

    QString what;
    qsizetype fieldStart = lineStart;
    if (line == 0) {
        what = QStringLiteral("見出し行");
    } else if (line < linesBeforeRows) {
        const bool outputFileLine = inLine.startsWith(u">file ");
        what = outputFileLine ? QStringLiteral("出力先ファイル") : QStringLiteral("メモ");
        fieldStart += outputFileLine ? 6 : 3;
    } else {
        const qsizetype position = line - linesBeforeRows + 1;
        const qsizetype tabs = inLine.count(u'\t');
        const QString part = tabs == 0   ? QStringLiteral("インデックス")
                             : tabs == 1 ? QStringLiteral("名前")
                                         : QStringLiteral("値");
        what = QStringLiteral("%1 番目の項目（インデックス %2）の%3")
                   .arg(position)
                   .arg(trimSpaces(rows.at(position).indexText).toString(), part);
        if (tabs > 0)
            fieldStart += inLine.lastIndexOf(u'\t') + 1;
    }
    return QStringLiteral("%1の %2 文字目 %3 は、コードページ %4 で表せません。")
        .arg(what)
        .arg(at - fieldStart + 1)
        .arg(characterName(text, at), codePage.name());
}

bool TextWriter::write(const EntryList &rows, const TextFields &fields, const CodePage &codePage, QByteArray &out)
{
    m_error.clear();
    if (!checkFields(rows, fields))
        return false;
    const QString text = layout(rows, fields);
    QByteArray bytes;
    bytes.reserve(text.size() + text.size() / 2);
    const qsizetype bad = codePage.encode(text, bytes);
    if (bad >= 0) {
        m_error = describeUnrepresentable(text, bad, rows, codePage);
        return false;
    }
    out = std::move(bytes);
    return true;
}

} // namespace wendaro
