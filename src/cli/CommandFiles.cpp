// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/CommandFiles.h"

#include "cli/Console.h"
#include "cli/ExitCode.h"
#include "cli/ProblemReport.h"

#include "core/text/Utf8.h"

#include <QFile>
#include <QFileInfo>

namespace wendaro::cli {

QString escapedPath(const QByteArray &bytes)
{
    const auto *in = reinterpret_cast<const uchar *>(bytes.constData());
    QString shown;
    qsizetype at = 0;
    while (at < bytes.size()) {
        const int length = utf8SequenceAt(in, at, bytes.size());
        // U+FEFF would not be seen in the message: its bytes are shown, as
        // are those that begin no character.
        const bool byteOrderMark = length == 3 && in[at] == 0xEF && in[at + 1] == 0xBB && in[at + 2] == 0xBF;
        if (length > 0 && !byteOrderMark) {
            shown += QString::fromUtf8(bytes.constData() + at, length);
            at += length;
            continue;
        }
        shown += QStringLiteral("\\x") + QString::number(in[at], 16).toUpper().rightJustified(2, QLatin1Char('0'));
        ++at;
    }
    return shown;
}

void printFileError(const QString &file, const QString &message, const QString &reason, qint64 place)
{
    printErrorLine(fileLine(file, place, message + QStringLiteral(": ") + reason));
}

QByteArray fileRefused(const QString &error, std::initializer_list<LabelledFile> files)
{
    const LabelledFile *found = files.begin();
    qsizetype longest = 0; // an empty label, of a file not given, begins every error
    for (const LabelledFile &file : files) {
        if (file.label.size() > longest && error.startsWith(file.label)) {
            found = &file;
            longest = file.label.size();
        }
    }
    return found->path;
}

std::optional<QString> fileName(const QByteArray &bytes, const QString &message, const QString &action)
{
    const QString name = QFile::decodeName(bytes);
    if (QFile::encodeName(name) == bytes)
        return name;
    printFileError(escapedPath(bytes), message,
                   QStringLiteral("パス「%1」のバイト列はこのシステムのファイル名の文字コード（UTF-8）として"
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
        printFileError(escapedPath(path), ReadErrorMessage, error, document.place);
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
        printFileError(escapedPath(QFile::encodeName(name)), WriteErrorMessage, error);
        return WriteFailed;
    }
    return Done;
}

std::optional<std::pair<QString, QString>> pairsFromFolders(const QByteArrayList &operands)
{
    QString folders[2];
    for (int side = 0; side < 2; ++side) {
        const std::optional<QString> name = fileName(operands[side], ReadErrorMessage,
                                                     QStringLiteral("読み込めません"));
        if (!name)
            return std::nullopt;
        if (!QFileInfo(*name).isDir()) {
            printFileError(escapedPath(operands[side]), ReadErrorMessage,
                           QStringLiteral("フォルダではありません。--pairs-from は 2 つのフォルダをとります。"));
            return std::nullopt;
        }
        folders[side] = *name;
    }
    return std::pair{folders[0], folders[1]};
}

QList<QRegularExpression> includeGlobs(const QByteArrayList &globs)
{
    QList<QRegularExpression> includes;
    for (const QByteArray &glob : globs)
        includes << QRegularExpression::fromWildcard(QString::fromUtf8(glob), Qt::CaseSensitive);
    return includes;
}

} // namespace wendaro::cli
