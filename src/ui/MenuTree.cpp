// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/MenuTree.h"

#include "ui/CommandPlace.h"

#include "control/commands/CommandActions.h"

#include <QMenu>
#include <QMenuBar>

namespace wendaro {

namespace {

struct Item
{
    const char16_t *name;
    const char16_t *caption; // nullptr: a separator line
    Command command = Command::New;
};

// An item of the menu; a null caption is a separator line.
void addItem(QMenu &menu, const QString &name, const char16_t *caption, Command command, const CommandActions &commands)
{
    QAction *action = caption ? menu.addAction(QString::fromUtf16(caption)) : menu.addSeparator();
    action->setObjectName(name);
    action->setMenuRole(QAction::NoRole);
    if (caption)
        placeCommand(*action, commands.action(command));
}

void fill(QMenu &menu, std::initializer_list<Item> items, const CommandActions &commands)
{
    for (const Item &item : items)
        addItem(menu, QString::fromUtf16(item.name), item.caption, item.command, commands);
}

QMenu *menu(const char16_t *name, const char16_t *caption, QWidget &owner)
{
    auto *created = new QMenu(QString::fromUtf16(caption), &owner);
    created->setObjectName(QString::fromUtf16(name));
    created->menuAction()->setObjectName(QString::fromUtf16(name));
    return created;
}

// The Edit menu and the list's context menu hold the same three commands,
// each place named after its menu ("mEdit_Add", "mPopup_Add").
void fillEditCommands(QMenu &menu, const CommandActions &commands)
{
    const Item items[] = {{u"Add", u"追加(&A)", Command::Add},
                          {u"Edit", u"編集(&E)", Command::Edit},
                          {u"Remove", u"削除(&R)", Command::Remove}};
    for (const Item &item : items)
        addItem(menu, menu.objectName() + QLatin1Char('_') + QString::fromUtf16(item.name), item.caption, item.command,
                commands);
}

} // namespace

QMenu *buildMenuTree(QMenuBar &bar, QWidget &owner, const CommandActions &commands)
{
    QMenu *files = menu(u"mFiles", u"ファイル(&F)", owner);
    fill(*files,
         {{u"mFiles_New", u"新規作成(&N)", Command::New},
          {u"mFiles_Open", u"開く(&O)", Command::Open},
          {u"mFiles_Close", u"閉じる(&C)", Command::Close},
          {u"mSep00", nullptr},
          {u"mFiles_Save", u"上書保存(&S)", Command::Save},
          {u"mFiles_SaveAs", u"名前を付けて保存(&A)", Command::SaveAs},
          {u"mSep01", nullptr},
          {u"mFiles_Exit", u"終了(&X)", Command::Exit}},
         commands);
    // The File menu's commands answer their keys anywhere in the window.
    for (const Command command :
         {Command::New, Command::Open, Command::Close, Command::Save, Command::SaveAs, Command::Exit})
        owner.addAction(&commands.action(command));
    QMenu *edit = menu(u"mEdit", u"編集(&E)", owner);
    fillEditCommands(*edit, commands);
    QMenu *help = menu(u"mHelp", u"ヘルプ(&H)", owner);
    fill(*help, {{u"mHelp_Version", u"バージョン情報(&A)", Command::Version}}, commands);
    QMenu *popup = menu(u"mPopup", u"ポップアップ", owner);
    fillEditCommands(*popup, commands);

    bar.addMenu(files);
    bar.addMenu(edit);
    bar.addMenu(help);
    return popup;
}

} // namespace wendaro
