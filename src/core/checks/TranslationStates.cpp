// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/checks/TranslationStates.h"

#include "core/checks/SaveRules.h"
#include "core/model/TextFields.h"
#include "core/text/Number.h"

namespace wendaro {

QString rowStateWord(RowState state)
{
    switch (state) {
    case RowState::NoOriginal: return QStringLiteral("原文なし");
    case RowState::Untranslated: return QStringLiteral("未訳");
    case RowState::NeedsReview: return QStringLiteral("要確認");
    case RowState::Problem: return QStringLiteral("問題");
    case RowState::Translated: break;
    }
    return {};
}

std::optional<qint16> rowIndex(const Entry &row)
{
    const Int16Conversion index = toInt16(row.indexText);
    if (index.status != Int16Conversion::Status::Ok)
        return std::nullopt;
    return index.value;
}

FirstRows::FirstRows(const EntryList &rows) : m_rows(&rows)
{
    for (qsizetype position = 0; position < rows.count(); ++position) {
        const std::optional<qint16> index = rowIndex(rows.at(position));
        if (index && m_positions.value(*index) < 0) {
            m_positions.insert(*index, position);
            m_indexes.push_back(*index);
        }
    }
}

const Entry *FirstRows::rowOf(qint16 index) const
{
    const qsizetype position = positionOf(index);
    return position < 0 ? nullptr : &m_rows->at(position);
}

bool Originals::changed(qint16 index) const
{
    if (old.isEmpty())
        return false;
    const Entry *before = old.rowOf(index);
    const Entry *now = current.rowOf(index);
    if (!now)
        return false;
    return !before || before->value != now->value;
}

RowState rowState(const Entry &row, const Originals &originals, bool reviewed, bool unsavable)
{
    const std::optional<qint16> index = rowIndex(row);
    const Entry *original = index ? originals.current.rowOf(*index) : nullptr;
    if (!original)
        return RowState::NoOriginal;
    const QString originalText = original->value.toString();
    const QString text = row.value.toString();
    if (isUntranslated(originalText, text))
        return RowState::Untranslated;
    if (!reviewed && originals.changed(*index))
        return RowState::NeedsReview;
    if (unsavable || !compareTranslation(originalText, text, originals.settings).isEmpty())
        return RowState::Problem;
    return RowState::Translated;
}

QStringList rowFindings(const Entry &row, const FirstRows &original, const QStringList &refusals,
                        const CheckSettings &settings)
{
    QStringList found;
    const std::optional<qint16> index = rowIndex(row);
    if (const Entry *source = index ? original.rowOf(*index) : nullptr) {
        for (const TextFinding &finding : compareTranslation(source->value.toString(), row.value.toString(), settings))
            found << finding.message;
    } else {
        found << QStringLiteral("原文にないインデックスです。");
    }
    return found + refusals;
}

namespace {

class RefusalsByRow final : public SaveRefusalSink
{
public:
    explicit RefusalsByRow(qsizetype rows) : m_refusals(size_t(rows)) {}
    bool wantsAll() const override { return true; }
    bool refuse(SaveRefusal refusal) override
    {
        if (refusal.position >= 0 && size_t(refusal.position) < m_refusals.size())
            m_refusals[size_t(refusal.position)] << refusal.message;
        return true;
    }
    std::vector<QStringList> take() { return std::move(m_refusals); }

private:
    std::vector<QStringList> m_refusals;
};

} // namespace

std::vector<QStringList> stfRefusalsByRow(const EntryList &rows, const CodePage &codePage)
{
    RefusalsByRow sink(rows.count());
    walkSaveRules(rows, TextFields{}, codePage, SaveForms::Stf, sink);
    return sink.take();
}

QString StateCounts::progressLine() const
{
    return QStringLiteral("翻訳済み %1 / %2（%3 %）").arg(translated).arg(originals).arg(percent());
}

QList<std::pair<QString, qsizetype>> StateCounts::words() const
{
    return {{rowStateWord(RowState::Untranslated), of(RowState::Untranslated)},
            {rowStateWord(RowState::NeedsReview), of(RowState::NeedsReview)},
            {rowStateWord(RowState::Problem), of(RowState::Problem)},
            {rowStateWord(RowState::NoOriginal), of(RowState::NoOriginal)},
            {QStringLiteral("不足"), missing}};
}

StateCounts countStates(const EntryList &translation, const Originals &originals, const CodePage &codePage)
{
    const std::vector<QStringList> refusals = stfRefusalsByRow(translation, codePage);
    StateCounts counts;
    std::vector<RowState> states(size_t(translation.count()));
    for (qsizetype position = 0; position < translation.count(); ++position) {
        states[size_t(position)] = rowState(translation.at(position), originals, false,
                                            !refusals[size_t(position)].isEmpty());
        ++counts.rows[size_t(states[size_t(position)])];
    }
    counts.originals = qsizetype(originals.current.indexes().size());
    // By the original's indexes, not by rows: a repeated index would count
    // more translated rows than the original has.
    const FirstRows present(translation);
    for (const qint16 index : originals.current.indexes()) {
        const qsizetype position = present.positionOf(index);
        if (position < 0)
            ++counts.missing;
        else if (states[size_t(position)] == RowState::Translated)
            ++counts.translated;
    }
    return counts;
}

} // namespace wendaro
