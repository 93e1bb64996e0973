// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "control/window/UserInterface.h"

#include <QDialog>
#include <functional>

class QLabel;
class QPushButton;

namespace wendaro {

class LimitedLineEdit;
class ValueEdit;

// frmEdit: the modal dialog in which one entry is added or edited. Its OK
// hands the fields to accept, which checks them, applies the entry and says
// whether the dialog may close; Cancel and the window's close apply nothing.
// Enter and Esc mean nothing to the dialog as a whole: neither button is a
// default or cancel button, and Enter in the value field adds a line break.
class EntryEditor : public QDialog
{
    Q_OBJECT
public:
    using Accept = std::function<bool(EditMode mode, const QString &index, const QString &name, const QString &value)>;

    EntryEditor(const EditorFill &fill, Accept accept, QWidget *parent = nullptr);

    // Centres the dialog on the owner's outer rectangle; the dialog's own
    // frame is taken to be as wide as the owner's.
    void placeOver(const QWidget &owner);

protected:
    void keyPressEvent(QKeyEvent *event) override;

private:
    void ok();

    EditMode m_mode;
    Accept m_accept;
    LimitedLineEdit *m_index;
    LimitedLineEdit *m_name;
    ValueEdit *m_value;
};

} // namespace wendaro
