// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/MainToolbar.h"

#include "ui/CommandPlace.h"
#include "ui/MainLayout.h"
#include "ui/Twips.h"
#include "ui/WindowFonts.h"

#include "control/commands/CommandActions.h"

#include <QAction>
#include <QEvent>
#include <QLayout>
#include <QToolButton>
#include <algorithm>

namespace wendaro {

namespace {

struct Button
{
    const char16_t *key; // nullptr: the placeholder gap
    const char16_t *caption;
    const char *image;
    Command command;
};

constexpr Button Buttons[] = {
    {u"New", u"新規作成", ":/wendaro/new.png", Command::New},
    {u"Open", u"開く", ":/wendaro/open.png", Command::Open},
    {u"Save", u"上書保存", ":/wendaro/save.png", Command::Save},
    {u"Close", u"閉じる", ":/wendaro/close.png", Command::Close},
    {nullptr, nullptr, nullptr, Command::New},
    {u"Add", u"追加", ":/wendaro/add.png", Command::Add},
    {u"Edit", u"編集", ":/wendaro/edit.png", Command::Edit},
    {u"Remove", u"削除", ":/wendaro/remove.png", Command::Remove},
};

// The gap between the file and the entry buttons.
constexpr float PlaceholderWidth = 120;

} // namespace

MainToolbar::MainToolbar(const CommandActions &commands, QWidget *parent) : QToolBar(parent)
{
    setObjectName(QStringLiteral("Toolbar1"));
    setMovable(false);
    setFloatable(false);
    setContextMenuPolicy(Qt::PreventContextMenu);
    setIconSize(QSize(32, 32));
    setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
    setContentsMargins(0, 0, 0, 0);
    fitButtonsInBar();

    const QSize buttonSize = pixelSize(MainGeometry::ToolButtonWidth, MainGeometry::ToolButtonHeight);
    for (const Button &button : Buttons) {
        if (!button.key) {
            auto *gap = new QWidget(this);
            gap->setFixedSize(pixelsFromTwips(PlaceholderWidth), buttonSize.height());
            addWidget(gap);
            continue;
        }
        const QString key = QString::fromUtf16(button.key);
        const QString caption = QString::fromUtf16(button.caption);
        QAction *action = addAction(QIcon(QString::fromLatin1(button.image)), caption);
        action->setObjectName(key);
        action->setToolTip(caption);
        QWidget *shown = widgetForAction(action);
        shown->setObjectName(QStringLiteral("button") + key);
        shown->setFixedSize(buttonSize);
        shown->setFont(windowFont());
        shown->setFocusPolicy(Qt::NoFocus);
        placeCommand(*action, commands.action(button.command));
    }
}

void MainToolbar::fitButtonsInBar()
{
    // The style's margin (item margin plus frame width) is meant for buttons
    // sized by the bar; these buttons keep their fixed height, so a larger
    // margin pushes their lower edge, hover frame and all, out of the bar.
    // The bar's margin is applied to all four sides alike.
    const int room = pixelsFromTwips(MainGeometry::ToolbarHeight) - pixelsFromTwips(MainGeometry::ToolButtonHeight);
    const int margin = std::max(0, room / 2);
    layout()->setContentsMargins(margin, margin, margin, margin);
    layout()->setSpacing(0);
}

void MainToolbar::changeEvent(QEvent *event)
{
    QToolBar::changeEvent(event);
    // A style change sets the style's margin and spacing again.
    if (event->type() == QEvent::StyleChange)
        fitButtonsInBar();
}

} // namespace wendaro
