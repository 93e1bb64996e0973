#include "SaveFile.h"

#include <QDir>
#include <QFileInfo>
#include <QSaveFile>

namespace wendaro {

namespace {

QString shown(const QString &path)
{
    return QStringLiteral("「%1」").arg(QDir::toNativeSeparators(path));
}

// Why a device refused bytes: a full disk in the program's words, anything
// else as the system words it.
QString reasonOf(const QIODevice &device)
{
    const auto *file = qobject_cast<const QFileDevice *>(&device);
    if (file && file->error() == QFileDevice::ResourceError)
        return QStringLiteral("ディスクの空きが足りません");
    return device.errorString();
}

// The temporary file could not be created beside the target; find out which
// part of the path is to blame, nearest first.
QString describeOpenFailure(const QString &path, const QSaveFile &file)
{
    const QFileInfo target(path);
    if (target.isDir())
        return QStringLiteral("%1はフォルダーなので、ファイルとして保存できません。").arg(shown(path));

    QFileInfo folder(target.absolutePath());
    if (!folder.exists()) {
        QString missing = folder.absoluteFilePath();
        QFileInfo above(folder.absolutePath());
        while (!above.exists() && above.absolutePath() != above.absoluteFilePath()) {
            missing = above.absoluteFilePath();
            above = QFileInfo(above.absolutePath());
        }
        if (above.exists() && !above.isDir())
            return QStringLiteral("%1はフォルダーではなくファイルなので、その中に保存できません。")
                .arg(shown(above.absoluteFilePath()));
        return QStringLiteral("保存先のフォルダー%1がありません。").arg(shown(missing));
    }
    if (!folder.isDir())
        return QStringLiteral("%1はフォルダーではなくファイルなので、その中に保存できません。")
            .arg(shown(folder.absoluteFilePath()));
    if (target.exists() && !target.isWritable())
        return QStringLiteral("%1は書き込みが禁止されています。").arg(shown(path));
    if (!folder.isWritable())
        return QStringLiteral("フォルダー%1にファイルを作る権限がありません。").arg(shown(folder.absoluteFilePath()));
    return QStringLiteral("%1を保存のために開けません（%2）。").arg(shown(path), file.errorString());
}

} // namespace

bool SaveFile::writeAll(QIODevice &device, QByteArrayView data, QString *error)
{
    qsizetype done = 0;
    while (done < data.size()) {
        const qint64 written = device.write(data.data() + done, data.size() - done);
        if (written <= 0) {
            *error = QStringLiteral("先頭から %1 バイトの位置で書き込みに失敗しました（%2）。")
                         .arg(done)
                         .arg(reasonOf(device));
            return false;
        }
        done += qsizetype(written);
    }
    return true;
}

bool SaveFile::write(const QString &path, QByteArrayView data, QString *error)
{
    // QSaveFile follows a symbolic link to the file it names, so the link
    // stays and the file behind it is replaced; it gives the new file the old
    // one's permissions. Writing in place when no temporary file can be
    // created would destroy the old file on a failure, so that is refused.
    QSaveFile file(path);
    file.setDirectWriteFallback(false);
    if (!file.open(QIODevice::WriteOnly)) {
        *error = describeOpenFailure(path, file);
        return false;
    }
    // Returning without commit() removes the temporary file.
    QString detail;
    if (!writeAll(file, data, &detail)) {
        *error = QStringLiteral("%1の%2").arg(shown(path), detail);
        return false;
    }
    if (!file.flush()) {
        *error = QStringLiteral("%1への書き込みを終えられませんでした（%2）。").arg(shown(path), reasonOf(file));
        return false;
    }
    if (!file.commit()) {
        *error = QStringLiteral("%1を新しい内容に置き換えられませんでした（%2）。").arg(shown(path), reasonOf(file));
        return false;
    }
    return true;
}

} // namespace wendaro
