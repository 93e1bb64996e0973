// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/MenuTree.h"

#include <QMenu>
#include <QMenuBar>

namespace wendaro {

namespace {

struct Item
{
    const char16_t *name;
    const char16_t *caption; // nullptr: a separator line
};

void fill(QMenu &menu, std::initializer_list<Item> items)
{
    for (const Item &item : items) {
        QAction *action = item.caption ? menu.addAction(QString::fromUtf16(item.caption)) : menu.addSeparator();
        action->setObjectName(QString::fromUtf16(item.name));
        action->setMenuRole(QAction::NoRole);
    }
}

QMenu *menu(const char16_t *name, const char16_t *caption, QWidget &owner)
{
    auto *created = new QMenu(QString::fromUtf16(caption), &owner);
    created->setObjectName(QString::fromUtf16(name));
    created->menuAction()->setObjectName(QString::fromUtf16(name));
    return created;
}

} // namespace

QMenu *buildMenuTree(QMenuBar &bar, QWidget &owner)
{
    QMenu *files = menu(u"mFiles", u"ファイル(&F)", owner);
    fill(*files, {{u"mFiles_New", u"新規作成(&N)"},
                  {u"mFiles_Open", u"開く(&O)"},
                  {u"mFiles_Close", u"閉じる(&C)"},
                  {u"mSep00", nullptr},
                  {u"mFiles_Save", u"上書保存(&S)"},
                  {u"mFiles_SaveAs", u"名前を付けて保存(&A)"},
                  {u"mSep01", nullptr},
                  {u"mFiles_Exit", u"終了(&X)"}});
    QMenu *edit = menu(u"mEdit", u"編集(&E)", owner);
    fill(*edit, {{u"mEdit_Add", u"追加(&A)"}, {u"mEdit_Edit", u"編集(&E)"}, {u"mEdit_Remove", u"削除(&R)"}});
    QMenu *help = menu(u"mHelp", u"ヘルプ(&H)", owner);
    fill(*help, {{u"mHelp_Version", u"バージョン情報(&A)"}});
    QMenu *popup = menu(u"mPopup", u"ポップアップ", owner);
    fill(*popup, {{u"mPopup_Add", u"追加(&A)"}, {u"mPopup_Edit", u"編集(&E)"}, {u"mPopup_Remove", u"削除(&R)"}});

    bar.addMenu(files);
    bar.addMenu(edit);
    bar.addMenu(help);
    return popup;
}

} // namespace wendaro
