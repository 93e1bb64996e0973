// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/EntryEditor.h"

#include "ui/DialogPlacement.h"
#include "ui/LimitedLineEdit.h"
#include "ui/Twips.h"
#include "ui/ValueEdit.h"
#include "ui/WindowFonts.h"

#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>

namespace wendaro {

namespace {

constexpr float ClientWidth = 6015;
constexpr float ClientHeight = 2325;
constexpr int IndexTypingLimit = 5;
constexpr int TextTypingLimit = 32767;

QLabel *label(const QString &name, const QString &caption, float top, QWidget *parent)
{
    auto *widget = new QLabel(caption, parent);
    widget->setObjectName(name);
    widget->setFont(windowFont());
    widget->setGeometry(pixelRect(120, top, 615, 255));
    return widget;
}

QPushButton *button(const QString &name, const QString &caption, float left, QWidget *parent)
{
    auto *widget = new QPushButton(caption, parent);
    widget->setObjectName(name);
    widget->setAutoDefault(false);
    widget->setDefault(false);
    widget->setGeometry(pixelRect(left, 1800, 2415, 420));
    return widget;
}

} // namespace

EntryEditor::EntryEditor(const EditorFill &fill, Accept accept, QWidget *parent)
    : QDialog(parent, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint
                          | Qt::WindowCloseButtonHint),
      m_mode(fill.mode), m_accept(std::move(accept)), m_index(new LimitedLineEdit(IndexTypingLimit, this)),
      m_name(new LimitedLineEdit(TextTypingLimit, this)), m_value(new ValueEdit(TextTypingLimit, this))
{
    setObjectName(QStringLiteral("frmEdit"));
    setModal(true);
    setSizeGripEnabled(false);
    setFixedSize(pixelSize(ClientWidth, ClientHeight));

    m_index->setObjectName(QStringLiteral("txtIndex"));
    m_index->setFont(windowFont());
    m_index->setGeometry(pixelRect(840, 120, 1095, 285));
    m_name->setObjectName(QStringLiteral("txtName"));
    m_name->setFont(windowFont());
    m_name->setGeometry(pixelRect(840, 480, 5055, 285));
    m_value->setObjectName(QStringLiteral("txtValue"));
    m_value->setFont(windowFont());
    m_value->setGeometry(pixelRect(840, 840, 5055, 765));

    QPushButton *okButton = button(QStringLiteral("cmdOK"), QStringLiteral("OK"), 840, this);
    QPushButton *cancelButton = button(QStringLiteral("cmdCancel"), QStringLiteral("キャンセル"), 3480, this);
    label(QStringLiteral("Label1"), QStringLiteral("Index :"), 120, this);
    label(QStringLiteral("Label2"), QStringLiteral("Name :"), 480, this);
    label(QStringLiteral("Label3"), QStringLiteral("Value :"), 840, this);

    setTabOrder(m_index, m_name);
    setTabOrder(m_name, m_value);
    setTabOrder(m_value, okButton);
    setTabOrder(okButton, cancelButton);
    connect(okButton, &QPushButton::clicked, this, &EntryEditor::ok);
    connect(cancelButton, &QPushButton::clicked, this, &QDialog::reject);

    m_index->setProgramText(fill.index);
    m_name->setProgramText(fill.name);
    m_value->setValue(fill.value);
    setWindowTitle(fill.title);
    m_index->setFocus(Qt::OtherFocusReason);
}

void EntryEditor::placeOver(const QWidget &owner)
{
    const QRect ownerOuter = owner.frameGeometry();
    const QSize frame = ownerOuter.size() - owner.geometry().size();
    move(centredTopLeft(ownerOuter, size() + frame));
}

void EntryEditor::keyPressEvent(QKeyEvent *event)
{
    switch (event->key()) {
    case Qt::Key_Escape:
    case Qt::Key_Return:
    case Qt::Key_Enter: event->ignore(); return;
    default: QDialog::keyPressEvent(event);
    }
}

void EntryEditor::ok()
{
    if (m_accept(m_mode, m_index->text(), m_name->text(), m_value->value()))
        accept();
}

} // namespace wendaro
