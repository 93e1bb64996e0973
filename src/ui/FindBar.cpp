// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/FindBar.h"

#include "ui/EntryListView.h"
#include "ui/ListKeys.h"
#include "ui/WindowFonts.h"

#include "control/window/MainWindowController.h"

#include <QCheckBox>
#include <QComboBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QToolButton>
#include <QAction>
#include <QVBoxLayout>

#include <algorithm>

namespace wendaro {

namespace {

// Every control carries its object name and the window's font.
void name(QWidget *widget, const char *objectName)
{
    widget->setObjectName(QString::fromLatin1(objectName));
    widget->setFont(windowFont());
}

} // namespace

FindBar::FindBar(MainWindowController &controller, EntryListView &list, QWidget *parent)
    : QWidget(parent), m_controller(controller), m_finder(controller.finder()), m_list(list)
{
    setObjectName(QStringLiteral("findBar"));
    setFont(windowFont());
    buildControls();
    connectKeys(*parent->window());
    followList();
    m_finder.setView(this);
    hide();
}

FindBar::~FindBar()
{
    m_finder.setView(nullptr);
}

void FindBar::buildControls()
{
    QHBoxLayout *findRow = buildFindRow();
    QHBoxLayout *options = buildOptions();
    buildReplaceRow();
    // Undo and redo work from the bar's buttons as from the list; the fields
    // keep their own.
    for (QWidget *button : std::initializer_list<QWidget *>{m_previous, m_next, m_case, m_regex, m_columns, m_filter,
                                                            m_replace, m_replaceAll})
        button->installEventFilter(this);

    auto *rows = new QVBoxLayout(this);
    rows->setContentsMargins(4, 2, 4, 2);
    rows->setSpacing(2);
    rows->addLayout(findRow);
    rows->addLayout(options);
    rows->addWidget(m_replaceRow);
    m_replaceRow->hide();
    connectControls();
}

QHBoxLayout *FindBar::buildFindRow()
{
    m_text = new QLineEdit(this);
    name(m_text, "txtFind");
    m_text->setClearButtonEnabled(true);
    m_text->installEventFilter(this);
    m_previous = new QToolButton(this);
    m_previous->setText(QStringLiteral("前へ"));
    name(m_previous, "cmdFindPrevious");
    m_next = new QToolButton(this);
    m_next->setText(QStringLiteral("次へ"));
    name(m_next, "cmdFindNext");
    for (QToolButton *button : {m_previous, m_next}) {
        button->setToolTip(button == m_next ? QStringLiteral("F3, Enter") : QStringLiteral("Shift+F3, Shift+Enter"));
    }
    m_count = new QLabel(this);
    name(m_count, "lblFindCount");
    m_count->setTextFormat(Qt::PlainText);
    // A long message must not widen the window; the tooltip holds all of it.
    m_count->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);

    auto *row = new QHBoxLayout;
    row->addWidget(m_text, 1);
    row->addWidget(m_previous);
    row->addWidget(m_next);
    row->addWidget(m_count, 1);
    return row;
}

QHBoxLayout *FindBar::buildOptions()
{
    m_case = new QCheckBox(QStringLiteral("大文字と小文字を区別"), this);
    name(m_case, "chkFindCase");
    m_regex = new QCheckBox(QStringLiteral("正規表現"), this);
    name(m_regex, "chkFindRegex");
    m_columns = new QComboBox(this);
    name(m_columns, "cboFindColumns");
    m_columns->addItems(
        {QStringLiteral("すべての列"), QStringLiteral("Index"), QStringLiteral("Name"), QStringLiteral("Value")});
    m_filter = new QCheckBox(QStringLiteral("一致する行だけ表示"), this);
    name(m_filter, "chkFindFilter");

    auto *row = new QHBoxLayout;
    row->addWidget(m_case);
    row->addWidget(m_regex);
    row->addWidget(m_columns);
    row->addWidget(m_filter);
    row->addStretch(1);
    return row;
}

void FindBar::buildReplaceRow()
{
    m_replaceRow = new QWidget(this);
    m_replaceRow->setObjectName(QStringLiteral("findReplaceRow"));
    m_replacement = new QLineEdit(m_replaceRow);
    name(m_replacement, "txtReplace");
    m_replacement->setAccessibleName(QStringLiteral("置換後の文字列"));
    m_replacement->setClearButtonEnabled(true);
    m_replace = new QToolButton(m_replaceRow);
    m_replace->setText(QStringLiteral("置換"));
    name(m_replace, "cmdReplace");
    m_replaceAll = new QToolButton(m_replaceRow);
    m_replaceAll->setText(QStringLiteral("すべて置換"));
    name(m_replaceAll, "cmdReplaceAll");
    for (QToolButton *button : {m_replace, m_replaceAll})
        button->setAccessibleName(button->text());

    auto *row = new QHBoxLayout(m_replaceRow);
    row->setContentsMargins(0, 0, 0, 0);
    row->addWidget(m_replacement, 1);
    row->addWidget(m_replace);
    row->addWidget(m_replaceAll);
    row->addStretch(1);
}

void FindBar::connectControls()
{
    connect(m_text, &QLineEdit::textChanged, this, &FindBar::queryChanged);
    connect(m_case, &QCheckBox::toggled, this, &FindBar::queryChanged);
    connect(m_regex, &QCheckBox::toggled, this, &FindBar::queryChanged);
    connect(m_columns, &QComboBox::currentIndexChanged, this, &FindBar::queryChanged);
    connect(m_filter, &QCheckBox::toggled, this, [this](bool on) { m_finder.setFiltering(on); });
    connect(m_previous, &QToolButton::clicked, this, [this] { m_finder.findPrevious(); });
    connect(m_next, &QToolButton::clicked, this, [this] { m_finder.findNext(); });
    RowReplacer &replacer = m_controller.replacer();
    connect(m_replace, &QToolButton::clicked, this,
            [this, &replacer] { replacer.replaceSelected(m_replacement->text()); });
    connect(m_replaceAll, &QToolButton::clicked, this,
            [this, &replacer] { replacer.replaceAll(m_replacement->text()); });
    const TranslationStatus &translation = m_controller.translationStatus();
    connect(&translation, &TranslationStatus::openChanged, this, &FindBar::showTranslationColumns);
    showTranslationColumns(translation.isOpen());
}

void FindBar::showTranslationColumns(bool open)
{
    constexpr int OwnColumns = 4; // すべての列, Index, Name, Value
    if ((m_columns->count() > OwnColumns) == open)
        return;
    if (open) {
        m_columns->addItems({QStringLiteral("原文"), QStringLiteral("状態")});
        return;
    }
    // A column that goes leaves the search to every column.
    if (m_columns->currentIndex() >= OwnColumns)
        m_columns->setCurrentIndex(0);
    while (m_columns->count() > OwnColumns)
        m_columns->removeItem(m_columns->count() - 1);
}

void FindBar::showReplaceRow(bool shown)
{
    if (m_replaceRow->isHidden() != shown)
        return;
    m_replaceRow->setVisible(shown);
    // The window gives the bar its new height.
    if (!isHidden())
        emit openedOrClosed();
}

void FindBar::connectKeys(QWidget &window)
{
    // The bar's keys are commands of the window: their actions carry the
    // keys, and the window holds them so that the keys work anywhere in it.
    const auto key = [this, &window](Command command, auto &&pressed) {
        QAction &action = m_controller.action(command);
        window.addAction(&action);
        connect(&action, &QAction::triggered, this, pressed);
    };
    key(Command::Find, [this] { openBar(); });
    key(Command::Replace, [this] { openBar(true); });
    key(Command::FindNext, [this] { step(true); });
    key(Command::FindPrevious, [this] { step(false); });
    key(Command::CloseFind, [this] { closeBar(); });
    // Escape is free for others while the bar is closed.
    m_controller.action(Command::CloseFind).setEnabled(false);
}

void FindBar::followList()
{
    QAbstractItemModel *model = m_list.model();
    const auto changed = [this] { m_finder.rowsChanged(false); };
    connect(model, &QAbstractItemModel::rowsInserted, this, changed);
    connect(model, &QAbstractItemModel::rowsRemoved, this, changed);
    connect(model, &QAbstractItemModel::dataChanged, this, changed);
    connect(model, &QAbstractItemModel::layoutChanged, this, changed);
    connect(model, &QAbstractItemModel::modelReset, this, [this] {
        // The list shows every row of new rows.
        m_anyHidden = false;
        m_finder.rowsChanged(true);
    });
}

void FindBar::openBar(bool replacing)
{
    if (!m_controller.isEnabled(Command::Close))
        return;
    showReplaceRow(replacing);
    if (isHidden()) {
        show();
        m_controller.action(Command::CloseFind).setEnabled(true);
        emit openedOrClosed();
        m_finder.setActive(true);
    }
    m_text->setFocus(Qt::ShortcutFocusReason);
    m_text->selectAll();
}

void FindBar::closeBar()
{
    if (isHidden())
        return;
    m_finder.setActive(false);
    m_controller.action(Command::CloseFind).setEnabled(false);
    hide();
    emit openedOrClosed();
    m_list.setFocus(Qt::OtherFocusReason);
}

void FindBar::step(bool forward)
{
    if (isHidden()) {
        openBar();
        return;
    }
    if (forward)
        m_finder.findNext();
    else
        m_finder.findPrevious();
}

void FindBar::queryChanged()
{
    FindQuery query;
    query.text = m_text->text();
    query.caseSensitive = m_case->isChecked();
    query.regularExpression = m_regex->isChecked();
    query.columns = FindColumns(std::max(m_columns->currentIndex(), 0));
    const bool replaces = RowReplacer::replacesIn(query.columns);
    m_replace->setEnabled(replaces);
    m_replaceAll->setEnabled(replaces);
    m_finder.setQuery(query);
}

bool FindBar::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() != QEvent::KeyPress)
        return QWidget::eventFilter(watched, event);
    const auto *key = static_cast<QKeyEvent *>(event);
    if (watched == m_text) {
        if (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) {
            step(!key->modifiers().testFlag(Qt::ShiftModifier));
            return true;
        }
    } else if (const std::optional<ListKey> listKey = listKeyOf(*key)) {
        if (*listKey == ListKey::Undo || *listKey == ListKey::Redo) {
            m_controller.action(commandOf(*listKey)).trigger();
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

bool FindBar::isRowShown(qsizetype position) const
{
    return !m_list.isRowHidden(int(position), {});
}

void FindBar::showRows(const std::vector<bool> &shown)
{
    if (shown.empty() && !m_anyHidden)
        return;
    const int rows = m_list.model()->rowCount();
    for (int row = 0; row < rows; ++row) {
        const bool hide = size_t(row) < shown.size() && !shown[size_t(row)];
        if (m_list.isRowHidden(row, {}) != hide)
            m_list.setRowHidden(row, {}, hide);
    }
    m_anyHidden = std::find(shown.begin(), shown.end(), false) != shown.end();
}

void FindBar::revealRow(qsizetype position)
{
    const int row = int(position);
    if (m_list.isRowHidden(row, {}))
        m_list.setRowHidden(row, {}, false);
    m_list.scrollTo(m_list.model()->index(row, 0));
}

void FindBar::findStatusChanged(const QString &status)
{
    m_count->setText(status);
    m_count->setToolTip(status);
}

} // namespace wendaro
