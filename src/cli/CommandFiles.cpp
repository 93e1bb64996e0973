// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/CommandFiles.h"

#include "cli/Console.h"
#include "cli/ExitCode.h"

#include <QFile>

namespace wendaro::cli {

QString escapedPath(const QByteArray &bytes)
{
    QString shown;
    qsizetype at = 0;
    while (at < bytes.size()) {
        const uchar lead = uchar(bytes[at]);
        const qsizetype length = lead < 0x80 ? 1 : lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : lead >= 0xC0 ? 2 : 0;
        if (length > 0) {
            const QByteArray sequence = bytes.mid(at, length);
            const QString decoded = QString::fromUtf8(sequence);
            if (sequence.size() == length && decoded.toUtf8() == sequence) {
                shown += decoded;
                at += length;
                continue;
            }
        }
        shown += QStringLiteral("\\x") + QString::number(lead, 16).toUpper().rightJustified(2, QLatin1Char('0'));
        ++at;
    }
    return shown;
}


std::optional<QString> fileName(const QByteArray &bytes, const QString &message, const QString &action)
{
    const QString name = QFile::decodeName(bytes);
    if (QFile::encodeName(name) == bytes)
        return name;
    printError(message, QStringLiteral("パス「%1」のバイト列はこのシステムのファイル名の文字コード（UTF-8）として"
                                       "正しくないので、%2。ファイルの名前を変えてください。")
                            .arg(escapedPath(bytes), action));
    return std::nullopt;
}

std::optional<LoadedDocument> load(const QByteArray &path, const CodePage &codePage)
{
    const std::optional<QString> name = fileName(path, ReadErrorMessage, QStringLiteral("読み込めません"));
    if (!name)
        return std::nullopt;
    LoadedDocument document;
    QString error;
    if (!loadDocument(*name, codePage, document, &error)) {
        printError(ReadErrorMessage, error);
        return std::nullopt;
    }
    return document;
}

std::optional<QString> outputName(const QByteArray &bytes)
{
    return fileName(bytes, WriteErrorMessage, QStringLiteral("その名前では保存できません"));
}

int saveTable(const QString &name, const EntryList &rows, const TextFields &fields, const CodePage &codePage)
{
    QString error;
    if (!saveDocument(name, rows, fields, true, codePage, &error)) {
        printError(WriteErrorMessage, error);
        return WriteFailed;
    }
    return Done;
}

} // namespace wendaro::cli
