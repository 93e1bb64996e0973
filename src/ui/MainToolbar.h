// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QToolBar>

namespace wendaro {

class CommandActions;

// Toolbar1: New, Open, Save, Close, a placeholder gap, Add, Edit, Remove.
// Each button is a QAction named by its key ("New", ...), its 32 x 32 image
// above its caption, its tooltip the caption, and a place of its command
// (see CommandPlace.h); the gap has no key and raises nothing.
class MainToolbar : public QToolBar
{
    Q_OBJECT
public:
    explicit MainToolbar(const CommandActions &commands, QWidget *parent = nullptr);

protected:
    void changeEvent(QEvent *event) override;

private:
    void fitButtonsInBar();
};

} // namespace wendaro
