// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "control/window/UserInterface.h"

#include <QMessageBox>

namespace wendaro {

// A message box of the document control as a Qt message box: its icon, its
// buttons with Japanese captions, its title, its default button and the
// answer of Esc and the close button.
class MessageDialog : public QMessageBox
{
    Q_OBJECT
public:
    MessageDialog(const wendaro::MessageBox &box, QWidget *parent);

    // The answer of the button that closed the box; the escape answer when
    // no button did.
    MessageAnswer answer() const;

private:
    MessageAnswer m_escapeAnswer;
};

} // namespace wendaro
