// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/TranslationPanel.h"

#include "control/window/MainWindowController.h"
#include "ui/ValueEdit.h"
#include "ui/WindowFonts.h"

#include "core/checks/StfLimits.h"
#include "core/compare/TextChanges.h"
#include "core/text/LineBreaks.h"

#include <QGridLayout>
#include <QVBoxLayout>
#include <QLabel>
#include <QTextBrowser>

#include <utility>

namespace wendaro {

namespace {

// What the entry editor's value field lets a person type.
constexpr int ValueTypingLimit = int(stf::MaxLength);

QLabel *caption(const QString &text, QWidget *parent)
{
    auto *label = new QLabel(text, parent);
    label->setFont(windowFont());
    label->setAlignment(Qt::AlignRight | Qt::AlignTop);
    return label;
}

} // namespace

TranslationPanel::TranslationPanel(MainWindowController &controller, QWidget *parent)
    : QWidget(parent), m_controller(controller)
{
    setObjectName(QStringLiteral("TranslationPanel"));
    setAccessibleName(QStringLiteral("翻訳"));
    buildControls();
    hide();

    TranslationStatus &status = m_controller.translationStatus();
    // Filling the texts lays out the row's whole original and translation,
    // tens of milliseconds for the longest values: after the list has taken
    // the new columns, in a turn of the event loop of its own.
    connect(&status, &TranslationStatus::openChanged, this, [this](bool open) {
        setVisible(open);
        emit openedOrClosed();
        showRowSoon();
    });
    connect(&status, &TranslationStatus::statesReset, this, &TranslationPanel::showRowSoon);
    connect(&status, &TranslationStatus::rowStateChanged, this, [this](qsizetype position) {
        if (position == m_row)
            showState();
        showProgress();
    });
    connect(&m_controller.selection().model(), &QItemSelectionModel::currentChanged, this, &TranslationPanel::showRow);
    // An undo, an edit or a paste may change the row the panel shows.
    connect(&m_controller.model(), &QAbstractItemModel::dataChanged, this,
            [this](const QModelIndex &top, const QModelIndex &bottom) {
                if (m_row >= top.row() && m_row <= bottom.row())
                    showTranslation();
            });
    connect(&m_controller.model(), &QAbstractItemModel::layoutChanged, this, &TranslationPanel::showRow);
    connect(&m_controller.model(), &QAbstractItemModel::rowsRemoved, this, &TranslationPanel::showRow);
    connect(&m_controller.model(), &QAbstractItemModel::rowsInserted, this, &TranslationPanel::showRow);
    connect(&m_controller.model(), &QAbstractItemModel::modelReset, this, &TranslationPanel::showRow);

    TranslationEditing &work = m_controller.translation();
    connect(&work, &TranslationEditing::noteChanged, m_note, &QLabel::setText);
    connect(&work, &TranslationEditing::translationWanted, this, [this] {
        if (!isVisible())
            return;
        m_translation->setFocus(Qt::ShortcutFocusReason);
        m_translation->moveCursor(QTextCursor::End);
    });
}

void TranslationPanel::buildControls()
{
    const auto named = [](QWidget *widget, const char *name, const QString &accessible) {
        widget->setObjectName(QString::fromLatin1(name));
        widget->setAccessibleName(accessible);
        widget->setFont(windowFont());
    };
    // A label's accessible name is what it shows, so that a screen reader
    // reads the figures; what the label is for is its description.
    const auto shown = [](QLabel *label, const char *name, const QString &purpose) {
        label->setObjectName(QString::fromLatin1(name));
        label->setAccessibleDescription(purpose);
        label->setFont(windowFont());
        label->setTextFormat(Qt::PlainText);
    };
    m_original = new ValueEdit(ValueTypingLimit, this);
    named(m_original, "txtOriginal", QStringLiteral("原文"));
    m_original->setReadOnly(true);
    m_old = new QTextBrowser(this);
    named(m_old, "txtOldOriginal", QStringLiteral("旧原文"));
    m_old->setOpenLinks(false);
    m_translation = new ValueEdit(ValueTypingLimit, this);
    named(m_translation, "txtTranslation", QStringLiteral("訳"));
    m_findings = new QLabel(this);
    shown(m_findings, "lblFindings", QStringLiteral("指摘"));
    m_findings->setWordWrap(true);
    m_findings->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    m_progress = new QLabel(this);
    shown(m_progress, "lblProgress", QStringLiteral("進み具合"));
    m_progress->setWordWrap(true);
    m_note = new QLabel(this);
    shown(m_note, "lblTranslationNote", QStringLiteral("移動"));

    auto *grid = m_grid = new QGridLayout(this);
    grid->setContentsMargins(4, 2, 4, 2);
    grid->setSpacing(3);
    grid->addWidget(caption(QStringLiteral("原文"), this), 0, 0);
    grid->addWidget(m_original, 0, 1);
    m_oldCaption = caption(QStringLiteral("旧原文"), this);
    grid->addWidget(m_oldCaption, 1, 0);
    grid->addWidget(m_old, 1, 1);
    grid->addWidget(caption(QStringLiteral("訳"), this), 2, 0);
    grid->addWidget(m_translation, 2, 1);
    auto *side = new QVBoxLayout;
    side->addWidget(m_progress);
    side->addWidget(m_findings, 1);
    side->addWidget(m_note);
    grid->addLayout(side, 0, 2, 3, 1);
    grid->setColumnStretch(1, 3);
    grid->setColumnStretch(2, 2);
    for (int row = 0; row < 3; ++row)
        grid->setRowStretch(row, 1);

    connect(m_translation, &QPlainTextEdit::textChanged, this, &TranslationPanel::typed);
}

void TranslationPanel::showRowSoon()
{
    if (std::exchange(m_showQueued, true))
        return;
    QMetaObject::invokeMethod(
        this,
        [this] {
            m_showQueued = false;
            showRow();
        },
        Qt::QueuedConnection);
}

int TranslationPanel::wantedHeight(int listHeight) const
{
    // Two fifths of the list's place, never less than three lines a text.
    const int lines = (m_controller.translationStatus().hasOld() ? 3 : 2) * 3 * fontMetrics().lineSpacing() + 24;
    return qMin(listHeight, qMax(lines, listHeight * 2 / 5));
}

void TranslationPanel::showRow()
{
    const TranslationStatus &status = m_controller.translationStatus();
    m_row = status.isOpen() ? m_controller.selection().row() : -1;
    const bool hasOld = status.hasOld();
    m_oldCaption->setVisible(hasOld);
    m_old->setVisible(hasOld);
    m_grid->setRowStretch(1, hasOld ? 1 : 0);
    const Entry *original = m_row >= 0 ? status.originalOf(m_row) : nullptr;
    const QString originalText = original ? original->value.toString() : QString();
    m_filling = true;
    m_original->setValue(lineBreaksFromList(originalText));
    m_filling = false;
    if (hasOld) {
        const Entry *old = m_row >= 0 ? status.oldOriginalOf(m_row) : nullptr;
        const QString oldText = old ? old->value.toString() : QString();
        // What changed from the old original to the new one, marked.
        m_old->setHtml(textChangesHtml(textChanges(oldText, originalText)));
    }
    m_translation->setEnabled(m_row >= 0);
    showTranslation();
    showState();
    showProgress();
}

void TranslationPanel::showTranslation()
{
    const QString value = m_row >= 0 && m_row < m_controller.entries().count()
                              ? lineBreaksFromList(m_controller.entries().at(m_row).value.toString())
                              : QString();
    if (m_translation->value() == value)
        return;
    m_filling = true;
    m_translation->setValue(value);
    m_filling = false;
    showState();
}

void TranslationPanel::showState()
{
    m_findings->setText(m_controller.translationStatus().findings(m_row).join(u'\n'));
}

void TranslationPanel::showProgress()
{
    const StateCounts &counts = m_controller.translationStatus().counts();
    QStringList words;
    for (const auto &[word, count] : counts.words())
        words << QStringLiteral("%1 %2").arg(word).arg(count);
    const QString counting = m_controller.translationStatus().isCounting() ? QStringLiteral("（数えています…）")
                                                                           : QString();
    m_progress->setText(counts.progressLine() + counting + u'\n' + words.join(QStringLiteral("　")));
}

void TranslationPanel::typed()
{
    if (m_filling || m_row < 0)
        return;
    m_controller.translation().typeTranslation(lineBreaksToList(m_translation->value()));
}

} // namespace wendaro
