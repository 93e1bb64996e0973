// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/MessageDialog.h"

#include <QAbstractButton>

namespace wendaro {

namespace {

QMessageBox::Icon iconOf(MessageIcon icon)
{
    switch (icon) {
    case MessageIcon::Question: return QMessageBox::Question;
    case MessageIcon::Exclamation: return QMessageBox::Warning;
    case MessageIcon::Critical: break;
    }
    return QMessageBox::Critical;
}

QMessageBox::StandardButton standardButtonOf(MessageAnswer answer)
{
    switch (answer) {
    case MessageAnswer::Yes: return QMessageBox::Yes;
    case MessageAnswer::No: return QMessageBox::No;
    case MessageAnswer::Cancel: return QMessageBox::Cancel;
    case MessageAnswer::Ok: break;
    }
    return QMessageBox::Ok;
}

QMessageBox::StandardButtons standardButtonsOf(MessageButtons buttons)
{
    switch (buttons) {
    case MessageButtons::YesNoCancel: return QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel;
    case MessageButtons::YesNo: return QMessageBox::Yes | QMessageBox::No;
    case MessageButtons::Ok: break;
    }
    return QMessageBox::Ok;
}

struct ButtonCaption
{
    QMessageBox::StandardButton button;
    MessageAnswer answer;
    const char16_t *caption;
};

constexpr ButtonCaption ButtonCaptions[] = {
    {QMessageBox::Ok, MessageAnswer::Ok, u"OK"},
    {QMessageBox::Yes, MessageAnswer::Yes, u"はい(&Y)"},
    {QMessageBox::No, MessageAnswer::No, u"いいえ(&N)"},
    {QMessageBox::Cancel, MessageAnswer::Cancel, u"キャンセル"},
};

} // namespace

MessageDialog::MessageDialog(const wendaro::MessageBox &box, QWidget *parent)
    : QMessageBox(iconOf(box.icon), box.title, box.text, standardButtonsOf(box.buttons), parent),
      m_escapeAnswer(box.escapeAnswer)
{
    for (const ButtonCaption &caption : ButtonCaptions) {
        if (QAbstractButton *shown = button(caption.button))
            shown->setText(QString::fromUtf16(caption.caption));
    }
    setDefaultButton(standardButtonOf(box.defaultAnswer));
    setEscapeButton(standardButtonOf(box.escapeAnswer));
}

MessageAnswer MessageDialog::answer() const
{
    const QMessageBox::StandardButton clicked = standardButton(clickedButton());
    for (const ButtonCaption &caption : ButtonCaptions) {
        if (caption.button == clicked)
            return caption.answer;
    }
    return m_escapeAnswer;
}

} // namespace wendaro
