#include "Commands.h"

#include "Console.h"
#include "ExitCode.h"

#include <CodePage.h>
#include <DocumentFile.h>
#include <StfWriter.h>
#include <TextWriter.h>

namespace wendaro::cli {

namespace {

// The document at path, or nullopt after the read error was reported.
std::optional<LoadResult> load(const QString &path, const CodePage &codePage)
{
    LoadResult document = loadDocument(path, codePage);
    if (!document.ok) {
        printError(ReadErrorMessage, document.errorString);
        return std::nullopt;
    }
    return document;
}

} // namespace

int convert(const QString &in, const QString &out, const CodePage &codePage)
{
    const std::optional<LoadResult> document = load(in, codePage);
    if (!document)
        return ReadFailed;
    QString error;
    if (!saveDocument(out, document->rows, document->fields, true, codePage, &error)) {
        printError(WriteErrorMessage, error);
        return WriteFailed;
    }
    return Done;
}

int dump(const QString &file, const CodePage &codePage)
{
    const std::optional<LoadResult> document = load(file, codePage);
    if (!document)
        return ReadFailed;
    // The text form is the one the text writer lays out, only in UTF-8.
    const QByteArray text = TextWriter::layout(document->rows, document->fields).toUtf8();
    if (!writeOut(text)) {
        printError(WriteErrorMessage, QStringLiteral("標準出力に書き込めませんでした。"));
        return WriteFailed;
    }
    return Done;
}

int check(const QString &file, const CodePage &codePage)
{
    const std::optional<LoadResult> document = load(file, codePage);
    if (!document)
        return ReadFailed;
    QByteArray image;
    StfWriter writer;
    if (!writer.write(document->rows, codePage, image)) {
        printError(WriteErrorMessage, writer.errorString());
        return ReadFailed;
    }
    return Done;
}

} // namespace wendaro::cli
