// SPDX-License-Identifier: GPL-3.0-or-later
#include "control/window/FileDialogSetup.h"

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
    switch (mode) {
    case ChooseMode::New:
        return {.kind = FileDialogKind::Save,
                .title = QStringLiteral("新規作成"),
                .fileName = QStringLiteral("New.stf"),
                .formats = TableFormats,
                .defaultExtension = DefaultExtension,
                .overwritePrompt = true,
                .hideReadOnly = true,
                .pathMustExist = true,
                .fileMustExist = false};
    case ChooseMode::Open:
        return {.kind = FileDialogKind::Open,
                .title = QStringLiteral("開く"),
                .fileName = QString(),
                .formats = TableFormats,
                .defaultExtension = DefaultExtension,
                .overwritePrompt = false,
                .hideReadOnly = true,
                .pathMustExist = false,
                .fileMustExist = true};
    case ChooseMode::SaveAs:
        return {.kind = FileDialogKind::Save,
                .title = QStringLiteral("名前を付けて保存"),
                .fileName = pathLessExtension(currentPath, dialogFileName),
                .formats = TableFormats,
                .defaultExtension = DefaultExtension,
                .overwritePrompt = true,
                .hideReadOnly = true,
                .pathMustExist = true,
                .fileMustExist = false};
    case ChooseMode::Output:
        return {.kind = FileDialogKind::Open,
                .title = QStringLiteral("出力先を指定"),
                .fileName = pathLessExtension(currentPath, dialogFileName),
                .formats = StfOnly,
                .defaultExtension = DefaultExtension,
                .overwritePrompt = false,
                .hideReadOnly = true,
                .pathMustExist = true,
                .fileMustExist = false};
    }
    Q_UNREACHABLE();
    return {};
}

} // namespace wendaro
