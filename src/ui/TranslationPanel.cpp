// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/TranslationPanel.h"

#include "control/window/MainWindowController.h"
#include "ui/SpellHighlighter.h"
#include "ui/ValueEdit.h"
#include "ui/WindowFonts.h"

#include "core/checks/StfLimits.h"
#include "core/compare/TextChanges.h"
#include "core/text/LineBreaks.h"

#include <QGridLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QListWidget>
#include <QMenu>
#include <QTextBrowser>
#include <QVBoxLayout>

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
    connect(&work, &TranslationEditing::translationWanted, this, [this](bool typeOver) {
        if (!isVisible())
            return;
        m_translation->setFocus(Qt::ShortcutFocusReason);
        if (typeOver)
            m_translation->selectAll();
        else
            m_translation->moveCursor(QTextCursor::End);
    });
    // The field's own history starts at each fill of the row: what filled it
    // (Ctrl+B, a suggestion) is the table's history's to take back.
    m_translation->installEventFilter(this);

    MemorySuggestions &suggestions = m_controller.suggestions();
    connect(&suggestions, &MemorySuggestions::suggestionsChanged, this, &TranslationPanel::showSuggestions);
    connect(&suggestions, &MemorySuggestions::memoriesChanged, this, &TranslationPanel::showMemoryCount);
    connect(&m_controller.glossary(), &TableGlossary::glossariesChanged, this, &TranslationPanel::showRowSoon);
    // A double click puts the term's translation where the cursor is in 訳.
    connect(m_terms, &QListWidget::itemActivated, this, [this](QListWidgetItem *item) {
        if (!m_translation->isEnabled())
            return;
        m_translation->insertPlainText(item->data(Qt::UserRole).toString());
        m_translation->setFocus(Qt::OtherFocusReason);
    });
    connect(m_suggestions, &QListWidget::itemActivated, this, [this](QListWidgetItem *item) {
        if (item->flags() & Qt::ItemIsEnabled)
            m_controller.useSuggestion(m_suggestions->row(item));
    });
    showMemoryCount();

    // Misspelled words of 訳 underlined; its context menu offers the
    // speller's suggestions and "辞書に追加" for the word clicked.
    TranslationSpelling &spelling = m_controller.spelling();
    auto *highlighter = new SpellHighlighter(m_translation->document(), [&spelling] { return spelling.speller(); });
    connect(&spelling, &TranslationSpelling::spellerChanged, highlighter, &QSyntaxHighlighter::rehighlight);
    // A finding's check can be turned off for the table, and back on.
    m_findings->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(m_findings, &QWidget::customContextMenuRequested, this, &TranslationPanel::showChecksMenu);
    m_translation->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(m_translation, &QWidget::customContextMenuRequested, this, &TranslationPanel::showSpellingMenu);
}

bool TranslationPanel::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_translation && event->type() == QEvent::KeyPress
        && static_cast<QKeyEvent *>(event)->matches(QKeySequence::Undo) && !m_translation->document()->isUndoAvailable()
        && m_controller.translation().undoFill())
        return true;
    return QWidget::eventFilter(watched, event);
}

void TranslationPanel::showChecksMenu(const QPoint &at)
{
    QMenu menu(this);
    SkippedChecks &skipped = m_controller.skippedChecks();
    for (const TranslationCheck check : m_controller.translationStatus().findingChecks(m_row)) {
        connect(menu.addAction(QStringLiteral("この検査をしない（%1）").arg(checkCode(check))), &QAction::triggered,
                this, [&skipped, check] { skipped.skip(check); });
    }
    const std::vector<TranslationCheck> off = skipped.skipped();
    if (!off.empty()) {
        QMenu *back = menu.addMenu(QStringLiteral("しない検査を戻す"));
        for (const TranslationCheck check : off)
            connect(back->addAction(checkCode(check)), &QAction::triggered, this,
                    [&skipped, check] { skipped.restore(check); });
    }
    if (!menu.isEmpty())
        menu.exec(m_findings->mapToGlobal(at));
}

void TranslationPanel::showSpellingMenu(const QPoint &at)
{
    std::unique_ptr<QMenu> menu(m_translation->createStandardContextMenu(at));
    const Speller *speller = m_controller.spelling().speller();
    QTextCursor cursor = m_translation->cursorForPosition(at);
    const QString block = cursor.block().text();
    const int inBlock = cursor.positionInBlock();
    const std::vector<WordSpan> wrong = speller ? speller->misspelled(block) : std::vector<WordSpan>{};
    const auto word = std::find_if(wrong.cbegin(), wrong.cend(), [&](const WordSpan &span) {
        return inBlock >= span.start && inBlock <= span.start + span.length;
    });
    if (word != wrong.cend()) {
        const QString text = block.mid(word->start, word->length);
        QAction *first = menu->actions().value(0);
        const QStringList suggestions = speller->suggestions(text).mid(0, 7);
        for (const QString &suggestion : suggestions) {
            auto *replace = new QAction(suggestion, menu.get());
            connect(replace, &QAction::triggered, this, [this, cursor, word = *word, suggestion]() mutable {
                cursor.setPosition(cursor.block().position() + int(word.start));
                cursor.setPosition(cursor.block().position() + int(word.start + word.length), QTextCursor::KeepAnchor);
                cursor.insertText(suggestion);
            });
            menu->insertAction(first, replace);
        }
        auto *add = new QAction(QStringLiteral("辞書に追加"), menu.get());
        connect(add, &QAction::triggered, this, [this, text] { m_controller.spelling().addWord(text); });
        menu->insertAction(first, add);
        menu->insertSeparator(first);
    }
    menu->exec(m_translation->mapToGlobal(at));
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
    m_memoryCount = new QLabel(this);
    shown(m_memoryCount, "lblMemoryCount", QStringLiteral("翻訳メモリの件数"));
    m_terms = new QListWidget(this);
    named(m_terms, "lstTerms", QStringLiteral("用語"));
    m_terms->setAccessibleDescription(QStringLiteral("ダブルクリックで訳のカーソルの位置に入れます"));
    m_terms->setWordWrap(true);
    m_terms->hide();
    m_suggestions = new QListWidget(this);
    named(m_suggestions, "lstSuggestions", QStringLiteral("候補"));
    m_suggestions->setAccessibleDescription(QStringLiteral("Ctrl+1 から Ctrl+5、またはダブルクリックで訳に入れます"));
    m_suggestions->setWordWrap(true);
    m_suggestions->setVerticalScrollMode(QAbstractItemView::ScrollPerPixel);

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
    grid->addWidget(caption(QStringLiteral("候補"), this), 3, 0);
    grid->addWidget(m_suggestions, 3, 1);
    auto *side = new QVBoxLayout;
    side->addWidget(m_progress);
    side->addWidget(m_memoryCount);
    side->addWidget(m_findings, 1);
    side->addWidget(m_terms, 1);
    side->addWidget(m_note);
    grid->addLayout(side, 0, 2, 4, 1);
    grid->setColumnStretch(1, 3);
    grid->setColumnStretch(2, 2);
    for (int row = 0; row < 4; ++row)
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
    const int lines = (m_controller.translationStatus().hasOld() ? 4 : 3) * 3 * fontMetrics().lineSpacing() + 24;
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
    showSuggestions();
    showTerms();
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
    const QStringList findings = m_controller.translationStatus().findings(m_row)
                                 + m_controller.glossary().findingsOf(m_row);
    m_findings->setText(findings.join(u'\n'));
}

void TranslationPanel::showTerms()
{
    m_terms->clear();
    const std::vector<GlossaryTerm> terms = m_controller.glossary().termsOf(m_row);
    m_terms->setVisible(m_controller.glossary().termCount() > 0);
    for (const GlossaryTerm &term : terms) {
        QString text = term.source + QStringLiteral(" → ") + term.target;
        if (!term.comment.isEmpty())
            text += QStringLiteral("（") + term.comment + QStringLiteral("）");
        auto *item = new QListWidgetItem(text, m_terms);
        item->setData(Qt::UserRole, term.target);
    }
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

namespace {

// A text of the list for rich text: escaped, its line breaks as lines.
QString richText(const QString &listText)
{
    return listText.toHtmlEscaped().replace(QStringLiteral("&lt;br&gt;"), QStringLiteral("<br>"));
}

QListWidgetItem *noteItem(const QString &text)
{
    auto *item = new QListWidgetItem(text);
    item->setFlags(Qt::NoItemFlags);
    return item;
}

} // namespace

void TranslationPanel::showSuggestions()
{
    const MemorySuggestions &suggestions = m_controller.suggestions();
    m_suggestions->clear();
    if (m_row < 0)
        return;
    if (suggestions.isLookingUp()) {
        m_suggestions->addItem(noteItem(QStringLiteral("検索中…")));
        return;
    }
    if (suggestions.suggestions().empty()) {
        m_suggestions->addItem(noteItem(QStringLiteral("候補なし")));
        return;
    }
    const Entry *original = m_controller.translationStatus().originalOf(m_row);
    const QString originalText = original ? original->value.toString() : QString();
    int number = 1;
    for (const Suggestion &suggestion : suggestions.suggestions()) {
        // The source beside the row's original: what the memory's text has
        // that the original lacks is struck, what it lacks is marked.
        const QString html = QStringLiteral("<b>%1 %</b>&nbsp;&nbsp;%2<br><small>%3&nbsp;&nbsp;— %4</small>")
                                 .arg(suggestion.score)
                                 .arg(richText(suggestion.target),
                                      textChangesHtml(textChanges(suggestion.source, originalText)),
                                      suggestion.origin.toHtmlEscaped());
        auto *item = new QListWidgetItem;
        item->setData(Qt::AccessibleTextRole, QStringLiteral("%1: %2 %、%3（%4）")
                                                  .arg(number++)
                                                  .arg(suggestion.score)
                                                  .arg(suggestion.target, suggestion.origin));
        auto *label = new QLabel(html);
        label->setFont(windowFont());
        label->setTextFormat(Qt::RichText);
        label->setWordWrap(true);
        label->setContentsMargins(3, 2, 3, 2);
        label->setAttribute(Qt::WA_TransparentForMouseEvents);
        m_suggestions->addItem(item);
        m_suggestions->setItemWidget(item, label);
        item->setSizeHint(QSize(0, label->heightForWidth(m_suggestions->viewport()->width() - 4)));
    }
}

void TranslationPanel::showMemoryCount()
{
    m_memoryCount->setText(QStringLiteral("翻訳メモリ: %1 件").arg(m_controller.suggestions().unitCount()));
}

} // namespace wendaro
