// SPDX-License-Identifier: GPL-3.0-or-later
#include "control/window/FileDialogSetup.h"

#include <QFileInfo>

namespace wendaro {

namespace {

const QString DefaultExtension = QStringLiteral("*.stf");

// The current file's path without its extension (".stf" or ".txt"); a path
// too short for that leaves the name the dialog holds.
QString pathLessExtension(const QString &currentPath, const QString &dialogFileName)
{
    return currentPath.size() >= 4 ? currentPath.chopped(4) : dialogFileName;
}

} // namespace

QList<const FileFormat *> tableFormats()
{
    QList<const FileFormat *> formats;
    for (const FileFormat *format : FormatRegistry::formats()) {
        if (format->isTableFormat())
            formats.append(format);
    }
    return formats;
}

FileDialogRequest fileDialogSetup(ChooseMode mode, const QString &currentPath, const QString &dialogFileName)
{
    // Every dialog but Open's names a file that may not exist yet, in a
    // folder that must; only the Save dialogs ask before writing over one.
    const auto request = [](FileDialogKind kind, const QString &title, const QString &fileName,
                            const QList<const FileFormat *> &formats, bool opensExisting) {
        return FileDialogRequest{.kind = kind,
                                 .title = title,
                                 .fileName = fileName,
                                 .formats = formats,
                                 .nameFilters = {},
                                 .defaultExtension = DefaultExtension,
                                 .overwritePrompt = kind == FileDialogKind::Save,
                                 .hideReadOnly = true,
                                 .pathMustExist = !opensExisting,
                                 .fileMustExist = opensExisting};
    };
    switch (mode) {
    case ChooseMode::New:
        return request(FileDialogKind::Save, QStringLiteral("新規作成"), QStringLiteral("New.stf"), TableFormats,
                       false);
    case ChooseMode::Open: return request(FileDialogKind::Open, QStringLiteral("開く"), QString(), TableFormats, true);
    case ChooseMode::SaveAs:
        return request(FileDialogKind::Save, QStringLiteral("名前を付けて保存"),
                       pathLessExtension(currentPath, dialogFileName), TableFormats, false);
    case ChooseMode::Output:
        return request(FileDialogKind::Open, QStringLiteral("出力先を指定"),
                       pathLessExtension(currentPath, dialogFileName), StfOnly, false);
    }
    Q_UNREACHABLE();
    return {};
}

FileDialogRequest besideTableDialog(const QString &title, const QString &filter, const QString &currentPath,
                                    const QString &lastChosen)
{
    FileDialogRequest request;
    request.title = title;
    request.nameFilters = {filter, QStringLiteral("すべてのファイル (*)")};
    request.fileName = lastChosen.isEmpty() ? QFileInfo(currentPath).absolutePath() + u'/' : lastChosen;
    request.pathMustExist = true;
    request.fileMustExist = true;
    return request;
}

} // namespace wendaro
