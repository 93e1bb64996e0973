#include "TextWriter.h"

#include "CharacterName.h"
#include "CodePage.h"
#include "EntryList.h"
#include "Spaces.h"
#include "TextFields.h"

namespace wendaro {

namespace {

const QString Header = QStringLiteral("Index\tName\tValue");

} // namespace

bool TextWriter::write(const EntryList &rows, const TextFields &fields, const CodePage &codePage, QByteArray &out)
{
    m_error.clear();
    QByteArray text;
    QByteArray tab;
    QByteArray lineEnd;
    codePage.encode(u"\t", tab);
    codePage.encode(u"\r\n", lineEnd);

    // Appends one part of a line; what is wrong is named by whatPart.
    const auto append = [&](const QString &part, auto whatPart) {
        const qsizetype bad = codePage.encode(part, text);
        if (bad < 0)
            return true;
        m_error = QStringLiteral("%1の %2 文字目 %3 は、コードページ %4 で表せません。")
                      .arg(whatPart())
                      .arg(bad + 1)
                      .arg(characterName(part, bad), codePage.name());
        return false;
    };

    if (!append(Header, [] { return QStringLiteral("見出し行"); }))
        return false;
    text.append(lineEnd);

    const QStringView outputFile = trimSpaces(fields.outputFile);
    if (!outputFile.isEmpty()) {
        if (!append(QStringLiteral(">file ") + outputFile.toString(), [] { return QStringLiteral(">file 行"); }))
            return false;
        text.append(lineEnd);
    }
    if (!trimSpaces(fields.memo).isEmpty()) {
        if (!append(QStringLiteral(">//") + fields.memo, [] { return QStringLiteral(">// 行（メモ）"); }))
            return false;
        text.append(lineEnd);
    }

    for (qsizetype position = 1; position <= rows.count(); ++position) {
        const Entry &entry = rows.at(position);
        const QString index = trimSpaces(entry.indexText).toString();
        const auto where = [&](const char *part) {
            return QStringLiteral("%1 行目（インデックス %2）の%3").arg(position).arg(index, QString::fromUtf8(part));
        };
        if (!append(index, [&] { return where("インデックス"); }))
            return false;
        text.append(tab);
        if (!append(entry.name, [&] { return where("名前"); }))
            return false;
        text.append(tab);
        if (!append(entry.value, [&] { return where("値"); }))
            return false;
        text.append(lineEnd);
    }

    out = std::move(text);
    return true;
}

} // namespace wendaro
