#include "Commands.h"

#include "Console.h"
#include "ExitCode.h"

#include <CodePage.h>
#include <DocumentFile.h>
#include <formats/FormatRegistry.h>
#include <formats/TextWriter.h>

#include <QFile>

#include <memory>
#include <new>
#include <optional>

namespace wendaro::cli {

namespace {

// The path for a message: what decodes as UTF-8 as it is, every other byte
// as \xNN, so that the user can tell which file is meant.
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

// The name under which Qt opens exactly the file that the bytes name, or
// nullopt after the error was reported. Qt turns bytes that are not UTF-8
// into U+FFFD, and that name would read a missing file or write a new one
// beside the one meant.
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

// The document at path, or nullopt after the read error was reported.
std::optional<LoadResult> load(const QByteArray &path, const CodePage &codePage)
{
    const std::optional<QString> name = fileName(path, ReadErrorMessage, QStringLiteral("読み込めません"));
    if (!name)
        return std::nullopt;
    LoadResult document = loadDocument(*name, codePage);
    if (!document.ok) {
        printError(ReadErrorMessage, document.errorString);
        return std::nullopt;
    }
    return document;
}

} // namespace

int convert(const QByteArray &in, const QByteArray &out, const CodePage &codePage)
{
    const std::optional<LoadResult> document = load(in, codePage);
    if (!document)
        return ReadFailed;
    const std::optional<QString> outName = fileName(out, WriteErrorMessage, QStringLiteral("その名前では保存できません"));
    if (!outName)
        return WriteFailed;
    QString error;
    if (!saveDocument(*outName, document->rows, document->fields, true, codePage, &error)) {
        printError(WriteErrorMessage, error);
        return WriteFailed;
    }
    return Done;
}

int dump(const QByteArray &file, const CodePage &codePage)
{
    const std::optional<LoadResult> document = load(file, codePage);
    if (!document)
        return ReadFailed;
    // The text form is the one the text writer lays out, only in UTF-8.
    QByteArray text;
    try {
        text = TextWriter::layout(document->rows, document->fields).toUtf8();
    } catch (const std::bad_alloc &) {
        printError(WriteErrorMessage, QStringLiteral("メモリが足りないため、%1 件の項目のテキストを作れませんでした。")
                                          .arg(document->rows.count()));
        return WriteFailed;
    }
    if (!writeOut(text)) {
        printError(WriteErrorMessage, QStringLiteral("標準出力に書き込めませんでした。"));
        return WriteFailed;
    }
    return Done;
}

int check(const QByteArray &file, const CodePage &codePage)
{
    const std::optional<LoadResult> document = load(file, codePage);
    if (!document)
        return ReadFailed;
    // Nothing is written, so the refusal is no write error: it is told as a
    // finding about the file.
    QString problem;
    try {
        QByteArray image;
        const std::unique_ptr<TableFormat> stf = FormatRegistry::byShortName(QStringLiteral("stf"));
        if (!stf->write(document->rows, document->fields, codePage, image))
            problem = stf->errorString();
    } catch (const std::bad_alloc &) {
        problem = QStringLiteral("メモリが足りないため、%1 件の項目の STF の内容を作れませんでした。")
                      .arg(document->rows.count());
    }
    if (!problem.isEmpty()) {
        printErrorLine(QFile::decodeName(file) + QStringLiteral(": ") + problem);
        return ReadFailed;
    }
    return Done;
}

} // namespace wendaro::cli
