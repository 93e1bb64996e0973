// SPDX-License-Identifier: GPL-3.0-or-later
#include "control/find/RowReplacer.h"

#include "control/find/RowFinder.h"
#include "control/window/MessageBoxes.h"
#include "control/document/RowCommands.h"
#include "control/window/UserInterface.h"
#include "control/document/Document.h"

#include "core/checks/SaveRefusals.h"
#include "core/checks/StfLimits.h"
#include "core/text/LineBreaks.h"
#include "core/text/Spaces.h"

namespace wendaro {

namespace {

// Fewer rows are replaced within a frame or two, however long their values,
// as a sort is.
constexpr size_t ReplaceAsideRows = 4096;
// How often the worker tells its progress and looks for Cancel.
constexpr qsizetype ProgressEvery = 256;

const QString NothingReplaced = QStringLiteral("何も置換しませんでした。");

} // namespace

QString replacedStatus(qsizetype count)
{
    return QStringLiteral("%1 件を置換しました").arg(count);
}

struct RowReplacer::Plan
{
    std::vector<TextsCommand::Texts> rows; // the rows that change, by position
    qsizetype replaced = 0;                // matches
    QString refusal;                       // set: nothing changes
    bool stopped = false;                  // the person stopped it
};

RowReplacer::RowReplacer(Document &state, UserInterface &ui, RowFinder &finder, CodePage codePage)
    : m_state(state), m_ui(ui), m_finder(finder), m_codePage(std::move(codePage))
{
}

bool RowReplacer::replacesIn(FindColumns columns)
{
    return columns == FindColumns::All || columns == FindColumns::Name || columns == FindColumns::Value;
}

RowReplacer::Plan RowReplacer::plan(const RowMatcher &matcher, FindColumns columns,
                                    const std::vector<qsizetype> &positions, const QString &replacement,
                                    LoadProgress *progress) const
{
    const bool names = columns != FindColumns::Value;
    const bool values = columns != FindColumns::Name;
    const EntryList &entries = m_state.entries();
    const auto rowCount = qsizetype(positions.size());
    Plan plan;
    QByteArray encoded;
    for (qsizetype i = 0; i < rowCount; ++i) {
        if (progress && i % ProgressEvery == 0 && !progress->reached(i, rowCount)) {
            plan.stopped = true;
            return plan;
        }
        const qsizetype position = positions[size_t(i)];
        const Entry &row = entries.at(position);
        const QStringView index = trimSpaces(row.indexText);
        TextsCommand::Texts texts{position, 0, std::nullopt, std::nullopt};
        if (names) {
            QString name = row.name;
            if (const qsizetype replaced = matcher.replaceIn(name, replacement)) {
                // The editor and the code page hold no more than this.
                encoded.clear();
                const qsizetype unwritable = m_codePage.encode(name, encoded);
                if (unwritable >= 0) {
                    plan.refusal = refusal::unrepresentable(refusal::rowPart(position, index, QStringLiteral("名前")),
                                                            name, unwritable, m_codePage)
                                   + NothingReplaced;
                } else if (name.size() > stf::MaxLength) {
                    plan.refusal = refusal::rowPart(position, index, QStringLiteral("名前"))
                                   + QStringLiteral("は置換すると %1 文字になります。入力できるのは %2 文字までです。")
                                         .arg(name.size())
                                         .arg(stf::MaxLength)
                                   + NothingReplaced;
                }
                if (!plan.refusal.isEmpty())
                    return plan;
                texts.name = std::move(name);
                plan.replaced += replaced;
            }
        }
        if (values) {
            QString value = row.value.toString();
            if (const qsizetype replaced = matcher.replaceIn(value, replacement)) {
                const qsizetype length = fileLengthOfListValue(value);
                if (length > stf::MaxLength) {
                    plan.refusal =
                        refusal::rowPart(position, index, QStringLiteral("値"))
                        + QStringLiteral(
                              "は置換すると改行を CR LF にして %1 文字になります。入力できるのは %2 文字までです。")
                              .arg(length)
                              .arg(stf::MaxLength)
                        + NothingReplaced;
                    return plan;
                }
                texts.value = ValueText(std::move(value));
                plan.replaced += replaced;
            }
        }
        if (texts.name || texts.value)
            plan.rows.push_back(std::move(texts));
    }
    return plan;
}

void RowReplacer::replaceSelected(const QString &replacement)
{
    const std::optional<RowMatcher> matcher = RowMatcher::create(m_finder.query(), nullptr);
    if (!matcher || !replacesIn(m_finder.query().columns))
        return;
    RowSelection &selection = m_state.selection();
    Plan planned;
    if (selection.hasRow())
        planned = plan(*matcher, m_finder.query().columns, {selection.row()}, replacement, nullptr);
    if (!planned.refusal.isEmpty()) {
        m_ui.showMessage(noticeBox(planned.refusal));
        return;
    }
    if (!planned.rows.empty()) {
        EntryList &entries = m_state.entries();
        const TextsCommand::Texts &texts = planned.rows.front();
        const Entry &row = entries.at(texts.position);
        Entry fields{row.indexText, texts.name.value_or(row.name), texts.value.value_or(row.value), std::nullopt};
        m_state.change(new EditCommand(entries, selection, texts.position, std::move(fields)));
    }
    m_finder.findNext();
    if (planned.replaced > 0)
        m_finder.tell(replacedStatus(planned.replaced));
}

void RowReplacer::replaceAll(const QString &replacement)
{
    const std::optional<RowMatcher> matcher = RowMatcher::create(m_finder.query(), nullptr);
    if (!matcher || !replacesIn(m_finder.query().columns))
        return;
    const EntryList &entries = m_state.entries();
    std::vector<qsizetype> positions;
    positions.reserve(size_t(entries.count()));
    for (qsizetype position = 0; position < entries.count(); ++position) {
        if (m_finder.isRowShown(position))
            positions.push_back(position);
    }
    Plan planned;
    const FindColumns columns = m_finder.query().columns;
    if (positions.size() < ReplaceAsideRows) {
        planned = plan(*matcher, columns, positions, replacement, nullptr);
    } else {
        // The new texts are made on a worker while the window keeps painting
        // the rows, which nothing changes meanwhile; only then are they put in.
        m_ui.runLongTask(QStringLiteral("置換しています…"), [&](LoadProgress &progress) {
            planned = plan(*matcher, columns, positions, replacement, &progress);
            planned.stopped |= progress.isCancelled();
        });
    }
    if (planned.stopped)
        return;
    if (!planned.refusal.isEmpty()) {
        m_ui.showMessage(noticeBox(planned.refusal));
        return;
    }
    if (!planned.rows.empty()) {
        m_state.change(new TextsCommand(m_state.entries(), m_state.translationStatus(), std::move(planned.rows),
                                        QStringLiteral("置換")));
    }
    m_finder.tell(replacedStatus(planned.replaced));
}

} // namespace wendaro
