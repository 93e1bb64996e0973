// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/FileDialog.h"

#include "ui/MessageDialog.h"
#include "ui/WindowServices.h"

#include "core/formats/FileFormat.h"

#include <QDir>
#include <QFileInfo>

namespace wendaro {

FileDialog::FileDialog(const FileDialogRequest &request, WindowServices &services, QWidget *parent)
    : QFileDialog(parent), m_request(request), m_services(services)
{
    setObjectName(QStringLiteral("Dialog1"));
    // The dialog behaves the same on every desktop, and tests can answer it.
    setOption(QFileDialog::DontUseNativeDialog);
    setWindowTitle(request.title);
    setAcceptMode(request.kind == FileDialogKind::Save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    setFileMode(request.kind == FileDialogKind::Folder ? QFileDialog::Directory
                : request.fileMustExist                ? QFileDialog::ExistingFile
                                                       : QFileDialog::AnyFile);
    setOption(QFileDialog::ShowDirsOnly, request.kind == FileDialogKind::Folder);
    setOption(QFileDialog::DontConfirmOverwrite, !request.overwritePrompt);
    setOption(QFileDialog::ReadOnly, false);

    QStringList filters;
    for (const FileFormat *format : request.formats)
        filters.append(nameFilter(*format));
    filters.append(request.nameFilters);
    setNameFilters(filters);
    setDefaultSuffix(request.defaultSuffix());
    // A name typed without an extension gets the chosen filter's, which then
    // picks the format: a bare name under the text filter is a text file.
    connect(this, &QFileDialog::filterSelected, this, [this](const QString &chosen) {
        const qsizetype position = nameFilters().indexOf(chosen);
        const QList<const FileFormat *> &all = m_request.formats;
        const QString suffix = position < 0 || position >= all.size() ? QString() : suffixOf(*all[position]);
        setDefaultSuffix(suffix.isEmpty() ? m_request.defaultSuffix() : suffix);
    });

    if (request.kind == FileDialogKind::Folder && !request.fileName.isEmpty()) {
        setDirectory(request.fileName);
    } else if (!request.fileName.isEmpty()) {
        const QFileInfo start(request.fileName);
        if (start.isAbsolute())
            setDirectory(start.absolutePath());
        selectFile(start.fileName());
    }
}

QString FileDialog::nameFilter(const FileFormat &format)
{
    // Qt reads the patterns from the parentheses of the text, so the text
    // names the patterns that the filter really uses.
    QString description = format.nameFilter();
    const qsizetype open = description.lastIndexOf(u'(');
    if (open >= 0)
        description.truncate(open);
    QStringList patterns = format.suffixes();
    for (QString &pattern : patterns)
        pattern.prepend(QStringLiteral("*."));
    return description.trimmed() + QStringLiteral(" (") + patterns.join(u' ') + u')';
}

QString FileDialog::suffixOf(const FileFormat &format)
{
    const QStringList &suffixes = format.suffixes();
    return suffixes.size() == 1 ? suffixes.first() : QString();
}

QString FileDialog::chosenPath() const
{
    const QStringList files = selectedFiles();
    return result() == QDialog::Accepted && !files.isEmpty() ? QDir::toNativeSeparators(files.first()) : QString();
}

void FileDialog::accept()
{
    const QStringList files = selectedFiles();
    if (m_request.pathMustExist && !files.isEmpty()) {
        const QFileInfo chosen(files.first());
        if (!chosen.isDir() && !chosen.dir().exists()) {
            MessageDialog box({QDir::toNativeSeparators(chosen.absolutePath())
                                   + QStringLiteral("\r\nフォルダーが見つかりません。"),
                               m_request.title, MessageIcon::Exclamation, MessageButtons::Ok, MessageAnswer::Ok,
                               MessageAnswer::Ok},
                              this);
            m_services.runModal(box);
            return;
        }
    }
    QFileDialog::accept();
}

} // namespace wendaro
