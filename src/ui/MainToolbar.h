// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QToolBar>

namespace wendaro {

// Toolbar1: New, Open, Save, Close, a placeholder gap, Add, Edit, Remove.
// Each button is a QAction named by its key ("New", ...), its 32 x 32 image
// above its caption, its tooltip the caption. keyClicked reports the key of
// the button clicked; the gap has no key and reports nothing.
class MainToolbar : public QToolBar
{
    Q_OBJECT
public:
    explicit MainToolbar(QWidget *parent = nullptr);

signals:
    void keyClicked(const QString &key);

protected:
    void changeEvent(QEvent *event) override;

private:
    void fitButtonsInBar();
};

} // namespace wendaro
