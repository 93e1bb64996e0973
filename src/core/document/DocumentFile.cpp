// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/document/DocumentFile.h"

#include "core/io/MemoryAdvice.h"
#include "core/io/MemoryShortage.h"
#include "core/io/SaveFile.h"
#include "core/io/ShownPath.h"
#include "core/formats/FormatRegistry.h"
#include "core/model/Table.h"

#include <QFile>
#include <QFileInfo>
#include <limits>
#include <optional>

namespace wendaro {

namespace {

// What a load the person stopped says, whichever part of it was stopped.
QString cancelledMessage(const QString &path)
{
    return QStringLiteral("ファイル%1の読み込みを取り消しました。").arg(shown(path));
}

} // namespace

std::optional<QByteArray> readWholeFile(const QString &path, QString *error, LoadProgress *progress)
{
    const QFileInfo info(path);
    if (!info.exists()) {
        *error = QStringLiteral("ファイル%1が見つかりません。").arg(shown(path));
        // Where a name that is not UTF-8 was decoded on its way here (a file
        // dialog's listing), the replacement character marks the lost bytes.
        if (path.contains(QChar::ReplacementCharacter))
            *error += QStringLiteral(
                "名前の「\uFFFD」は、UTF-8 として正しくないバイトの代わりに表示された文字かもしれません。"
                "その場合はファイル名を UTF-8 で表せる名前に変更してください。");
        return std::nullopt;
    }
    if (info.isDir()) {
        *error = QStringLiteral("%1はファイルではなくフォルダーです。").arg(shown(path));
        return std::nullopt;
    }
    if (!info.isFile()) {
        *error = QStringLiteral("%1は通常のファイルではありません。").arg(shown(path));
        return std::nullopt;
    }
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Unbuffered)) {
        *error = info.isReadable()
                     ? QStringLiteral("ファイル%1を開けません（%2）。").arg(shown(path), file.errorString())
                     : QStringLiteral("ファイル%1を読む権限がありません。").arg(shown(path));
        return std::nullopt;
    }
    // Straight into one buffer of the file's size: each copy of a large
    // file costs its pages a first touch. The bytes start one past the
    // buffer's start: the UTF-16 values of an STF file lie at odd offsets,
    // and so they land where characters can be read in place.
    QByteArray data(file.size() + 1, Qt::Uninitialized);
    adviseLargePages(data.data(), data.size());
    qsizetype done = 0;
    // In pieces, so that a person waiting for a large file sees it come and
    // can stop it.
    constexpr qsizetype Piece = qsizetype(8) << 20;
    while (1 + done < data.size()) {
        const qint64 read = file.read(data.data() + 1 + done, qMin(Piece, data.size() - 1 - done));
        if (read <= 0)
            break;
        done += qsizetype(read);
        if (progress && !progress->reached(done, data.size() - 1)) {
            *error = cancelledMessage(path);
            return std::nullopt;
        }
    }
    // Dropping the first byte moves where the array starts, not the bytes:
    // Qt erases from the front by moving its start (QArrayDataOps::erase),
    // as it is written in Qt 6, though not promised in its documentation. No
    // documented call gives an owned array that starts at an odd address
    // without a copy. Were Qt to move the bytes instead, loading would cost
    // one more pass over the file and values would be copied instead of read
    // in place: slower, but the same rows.
    data.truncate(1 + done);
    data.remove(0, 1);
    // A file that grew since its size was taken, or one that tells no size,
    // is read to its end.
    if (file.error() == QFileDevice::NoError)
        data += file.readAll();
    if (file.error() != QFileDevice::NoError) {
        *error = QStringLiteral("ファイル%1の先頭から %2 バイトの位置で読み込みに失敗しました（%3）。")
                     .arg(shown(path))
                     .arg(data.size())
                     .arg(file.errorString());
        return std::nullopt;
    }
    return data;
}

namespace {

bool cancelledLoad(const QString &path, LoadedDocument &into, QString *error)
{
    *error = cancelledMessage(path);
    into = LoadedDocument();
    into.cancelled = true;
    return false;
}

// Which format a load reads the file in: the one its path selects, or for
// a name that may say nothing, the one its first bytes show too.
struct FormatChoice
{
    bool byContent = false;
    const FileFormat **chosen = nullptr; // told the format, when not null
};

bool loadWithoutCatching(const QString &path, const CodePage &codePage, LoadedDocument &into, QString *error,
                         QByteArray *bytes, LoadProgress *progress, FormatChoice choice)
{
    if (progress)
        progress->steps.store(2, std::memory_order_relaxed); // the file's bytes, then its rows
    // Taken before the read: a change made while it runs counts as a change.
    into.identity = fileIdentity(path);
    std::optional<QByteArray> data = readWholeFile(path, error, progress);
    if (progress && progress->isCancelled())
        return cancelledLoad(path, into, error);
    if (!data)
        return false;
    if (progress)
        progress->nextStep();
    if (bytes)
        *bytes = *data;

    const FileFormat &format = choice.byContent ? FormatRegistry::forPathOrContent(path, *data)
                                                : FormatRegistry::forPath(path);
    if (choice.chosen)
        *choice.chosen = &format;
    Table table;
    table.progress = progress;
    const bool ok = format.readTableTaking(std::move(*data), codePage, table, &into.place, error);
    data.reset();
    // Half a table is of no use to a person who chose to stop: nothing is kept.
    if (progress && progress->isCancelled())
        return cancelledLoad(path, into, error);
    into.rows = std::move(table.rows);
    into.fields = std::move(table.fields);
    if (!ok)
        return false;
    const qint16 largestIndex = table.largestIndex;
    // A table that already uses 32767 cannot propose a higher index in 16
    // bits; it still loads, and the proposal stays at the largest index.
    into.nextIndex = largestIndex == std::numeric_limits<qint16>::max() ? largestIndex : qint16(largestIndex + 1);
    return true;
}

bool saveWithoutCatching(const QString &path, const FileFormat &format, const EntryList &rows, const TextFields &fields,
                         bool writeEntries, const CodePage &codePage, QString *error)
{
    if (!writeEntries)
        return SaveFile::write(path, QByteArrayView(), error);
    const auto produce = [&](ByteSink &sink, QString *refusal) {
        return format.writeTable(rows, fields, codePage, sink, refusal);
    };
    return SaveFile::stream(path, produce, error);
}

bool loadWithin(const QString &path, const CodePage &codePage, LoadedDocument &into, QString *error, QByteArray *bytes,
                LoadProgress *progress, FormatChoice choice)
{
    into = LoadedDocument();
    // The rows reach into only at the end of a read, so a load that ran out
    // of memory leaves it empty.
    return withinMemory([&] { return loadWithoutCatching(path, codePage, into, error, bytes, progress, choice); },
                        [&] {
                            return QStringLiteral(
                                       "メモリが足りないため、ファイル%1（%2 バイト）を読み込めませんでした。")
                                .arg(shown(path))
                                .arg(QFileInfo(path).size());
                        },
                        error);
}

bool saveWithin(const QString &path, const FileFormat &format, const EntryList &rows, const TextFields &fields,
                bool writeEntries, const CodePage &codePage, QString *error)
{
    // Running out of memory while the file is built must leave the table,
    // the program and the old file as they were.
    return withinMemory([&] { return saveWithoutCatching(path, format, rows, fields, writeEntries, codePage, error); },
                        [&] {
                            return QStringLiteral("メモリが足りないため、%1 件の項目を%2に保存できませんでした。")
                                .arg(writeEntries ? rows.count() : 0)
                                .arg(shown(path));
                        },
                        error);
}

} // namespace

QString errorBoxText(const QString &message, const QString &description)
{
    return message + QStringLiteral("\r\n") + description;
}

bool loadDocument(const QString &path, const CodePage &codePage, LoadedDocument &into, QString *error,
                  QByteArray *bytes, LoadProgress *progress)
{
    return loadWithin(path, codePage, into, error, bytes, progress, {});
}

bool loadDocumentOfAnyName(const QString &path, const CodePage &codePage, LoadedDocument &into,
                           const FileFormat **format, QString *error)
{
    return loadWithin(path, codePage, into, error, nullptr, nullptr, {true, format});
}

bool saveDocument(const QString &path, const EntryList &rows, const TextFields &fields, bool writeEntries,
                  const CodePage &codePage, QString *error)
{
    return saveWithin(path, FormatRegistry::forPath(path), rows, fields, writeEntries, codePage, error);
}

bool saveDocumentAs(const QString &path, const FileFormat &format, const EntryList &rows, const TextFields &fields,
                    const CodePage &codePage, QString *error)
{
    return saveWithin(path, format, rows, fields, true, codePage, error);
}

} // namespace wendaro
