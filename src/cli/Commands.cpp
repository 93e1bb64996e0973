#include "Commands.h"

#include "Console.h"
#include "ExitCode.h"
#include "FileOperands.h"

#include <CodePage.h>
#include <DocumentFile.h>
#include <formats/FormatRegistry.h>
#include <formats/TextWriter.h>

#include <QFile>

#include <memory>
#include <new>
#include <optional>

namespace wendaro::cli {

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
