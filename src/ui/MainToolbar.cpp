#include "MainToolbar.h"

#include "MainLayout.h"
#include "Twips.h"
#include "WindowFonts.h"

#include <QAction>
#include <QLayout>
#include <QToolButton>

namespace wendaro {

namespace {

struct Button
{
    const char16_t *key; // nullptr: the placeholder gap
    const char16_t *caption;
    const char *image;
};

constexpr Button Buttons[] = {
    {u"New", u"新規作成", ":/wendaro/new.png"},
    {u"Open", u"開く", ":/wendaro/open.png"},
    {u"Save", u"上書保存", ":/wendaro/save.png"},
    {u"Close", u"閉じる", ":/wendaro/close.png"},
    {nullptr, nullptr, nullptr},
    {u"Add", u"追加", ":/wendaro/add.png"},
    {u"Edit", u"編集", ":/wendaro/edit.png"},
    {u"Remove", u"削除", ":/wendaro/remove.png"},
};

// The gap between the file and the entry buttons.
constexpr float PlaceholderWidth = 120;

} // namespace

MainToolbar::MainToolbar(QWidget *parent) : QToolBar(parent)
{
    setObjectName(QStringLiteral("Toolbar1"));
    setMovable(false);
    setFloatable(false);
    setContextMenuPolicy(Qt::PreventContextMenu);
    setIconSize(QSize(32, 32));
    setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
    setContentsMargins(0, 0, 0, 0);
    layout()->setSpacing(0);

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
        connect(action, &QAction::triggered, this, [this, key] { emit keyClicked(key); });
    }
}

} // namespace wendaro
