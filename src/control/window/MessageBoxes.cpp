// SPDX-License-Identifier: GPL-3.0-or-later
#include "control/window/MessageBoxes.h"

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

MessageBox recoveryBox(const QString &path, int changes, const QDateTime &lastChange, bool fileChanged)
{
    QString text = QStringLiteral("「%1」には保存されていない変更があります（%2 件、最終変更 %3）。")
                       .arg(path)
                       .arg(changes)
                       .arg(lastChange.toString(QStringLiteral("yyyy-MM-dd HH:mm")));
    if (fileChanged)
        text += QStringLiteral("ファイルはその後に変更、移動または削除されたため、変更をファイルに戻せません。"
                               "変更した行をテキスト形式の表として保存しますか？");
    else
        text += QStringLiteral("復元しますか？");
    return {text,
            ApplicationTitle,
            MessageIcon::Question,
            MessageButtons::YesNoCancel,
            MessageAnswer::Yes,
            MessageAnswer::Cancel};
}

MessageBox discardChangesBox()
{
    return {QStringLiteral("変更を破棄しますか？"),
            ApplicationTitle,
            MessageIcon::Question,
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
