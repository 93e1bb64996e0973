// SPDX-License-Identifier: GPL-3.0-or-later
#include "control/MessageBoxes.h"

namespace wendaro {

MessageBox fileErrorBox(const QString &text)
{
    return {text, ApplicationTitle, MessageIcon::Critical, MessageButtons::Ok, MessageAnswer::Ok, MessageAnswer::Ok};
}

MessageBox savePromptBox(const QString &path)
{
    return {path + QStringLiteral("への変更を保存しますか？"),
            ApplicationTitle,
            MessageIcon::Question,
            MessageButtons::YesNoCancel,
            MessageAnswer::Yes,
            MessageAnswer::Cancel};
}

MessageBox changedOnDiskBox(const QString &path)
{
    return {QStringLiteral("「%1」は、開いた後にほかのプログラムによって変更されています。上書きしますか？").arg(path),
            ApplicationTitle,
            MessageIcon::Exclamation,
            MessageButtons::YesNo,
            MessageAnswer::No,
            MessageAnswer::No};
}

MessageBox noticeBox(const QString &text)
{
    return {text, ApplicationTitle, MessageIcon::Exclamation, MessageButtons::Ok, MessageAnswer::Ok, MessageAnswer::Ok};
}

MessageBox indexErrorBox(const QString &text)
{
    return {text,
            QStringLiteral("エラー"),
            MessageIcon::Exclamation,
            MessageButtons::Ok,
            MessageAnswer::Ok,
            MessageAnswer::Ok};
}

} // namespace wendaro
