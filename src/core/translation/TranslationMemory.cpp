// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/translation/TranslationMemory.h"

#include "core/checks/StfLimits.h"
#include "core/checks/TranslationChecks.h"
#include "core/model/EntryList.h"
#include "core/text/LineBreaks.h"
#include "core/translation/LanguageCode.h"
#include "core/translation/TableIndexes.h"
#include "core/translation/TranslatorText.h"

#include <algorithm>
#include <tuple>
#include <vector>

namespace wendaro {

namespace {

// A translation's row: its index and the position of the original's row of
// that index (-1: the original has none).
struct MatchedRow
{
    qint16 index;
    qsizetype original;
};

// Each row of translation matched by index, or nullopt when either table
// repeats an index (*error says which).
std::optional<std::vector<MatchedRow>> matchRows(const EntryList &original, const QString &originalName,
                                                 const EntryList &translation, const QString &translationName,
                                                 QString *error)
{
    const std::optional<TableIndexes> indexes = tableIndexes(translation, translationName, error);
    if (!indexes)
        return std::nullopt;
    const std::optional<TableIndexes> originalIndexes = tableIndexes(original, originalName, error);
    if (!originalIndexes)
        return std::nullopt;
    std::vector<MatchedRow> rows;
    rows.reserve(size_t(translation.count()));
    for (qsizetype p = 0; p < translation.count(); ++p) {
        const qint16 index = indexes->byPosition[p];
        rows.push_back({index, originalIndexes->positionOf.value(index, -1)});
    }
    return rows;
}

} // namespace

std::optional<TablePairs> memoryPairs(const EntryList &original, const QString &originalName,
                                      const EntryList &translation, const QString &translationName, QString *error)
{
    const std::optional<std::vector<MatchedRow>> rows = matchRows(original, originalName, translation, translationName,
                                                                  error);
    if (!rows)
        return std::nullopt;
    TablePairs found;
    for (qsizetype p = 0; p < translation.count(); ++p) {
        const ValueText &value = translation.at(p).value;
        const qsizetype at = (*rows)[size_t(p)].original;
        if (at < 0 || value.isEmpty() || original.at(at).value.isEmpty())
            continue;
        TablePairs::Pair pair;
        pair.source = original.at(at).value.toString();
        pair.target = value.toString();
        if (pair.source == pair.target)
            continue;
        pair.hash = qHashMulti(0, pair.source, pair.target);
        pair.index = (*rows)[size_t(p)].index;
        found.pairs.push_back(std::move(pair));
    }
    return found;
}

void MemoryGathering::add(TablePairs pairs, qint32 table)
{
    for (TablePairs::Pair &pair : pairs.pairs) {
        const auto [first, last] = m_byHash.equal_range(pair.hash);
        const auto same = std::find_if(first, last, [&](const auto &entry) {
            const MemoryUnit &unit = m_units[entry.second];
            return unit.source == pair.source && unit.target == pair.target;
        });
        if (same != last) {
            m_units[same->second].places.push_back({table, pair.index});
            continue;
        }
        m_byHash.emplace(pair.hash, m_units.size());
        m_units.push_back({std::move(pair.source), std::move(pair.target), {{table, pair.index}}});
    }
}

std::vector<MemoryUnit> MemoryGathering::takeUnits()
{
    m_byHash.clear();
    return std::move(m_units);
}

qsizetype variantIn(const ReadUnit &unit, const QString &language, qsizetype skip)
{
    for (qsizetype i = 0; i < unit.variants.size(); ++i) {
        if (i != skip && sameLanguage(unit.variants[i].language, language))
            return i;
    }
    const QString primary = primaryLanguage(language);
    for (qsizetype i = 0; i < unit.variants.size(); ++i) {
        if (i != skip && primaryLanguage(unit.variants[i].language) == primary)
            return i;
    }
    return -1;
}

QString listValueOf(const ReadVariant &variant)
{
    return fromTranslatorText(variant.text, variant.crLf ? LineBreakForm::CrLf : LineBreakForm::Plain);
}

std::optional<Pretranslation> Pretranslation::prepare(const EntryList &original, const QString &originalName,
                                                      const EntryList &translation, const QString &translationName,
                                                      const QString &sourceLanguage, const QString &targetLanguage,
                                                      QString *error)
{
    const std::optional<std::vector<MatchedRow>> rows = matchRows(original, originalName, translation, translationName,
                                                                  error);
    if (!rows)
        return std::nullopt;
    Pretranslation made;
    made.m_sourceLanguage = sourceLanguage;
    made.m_targetLanguage = targetLanguage;
    for (qsizetype p = 0; p < translation.count(); ++p) {
        const auto [index, at] = (*rows)[size_t(p)];
        if (at < 0) {
            made.m_counts.notInOriginal.append(index);
            continue;
        }
        const QString source = original.at(at).value.toString();
        if (!isUntranslated(source, translation.at(p).value.toString())) {
            ++made.m_counts.translated;
            continue;
        }
        const auto slot = made.m_bySource.constFind(source);
        if (slot == made.m_bySource.cend()) {
            made.m_bySource.insert(source, qsizetype(made.m_wanted.size()));
            made.m_wanted.push_back({{{p, index}}, {}});
        } else {
            made.m_wanted[size_t(*slot)].entries.push_back({p, index});
        }
    }
    return made;
}

QString targetLanguageToChoose(const QStringList &languages)
{
    return QStringLiteral("メモリに訳の言語が %1 つあります（%2）。--target-lang でどれを使うか指定してください。")
        .arg(languages.size())
        .arg(languages.join(QStringLiteral(", ")));
}

qsizetype Pretranslation::pickSource(const ReadUnit &unit) const
{
    const QString &language = m_sourceLanguage.isEmpty() ? unit.sourceLanguage : m_sourceLanguage;
    return language.isEmpty() ? -1 : variantIn(unit, language);
}

qsizetype Pretranslation::pickTarget(const ReadUnit &unit, qsizetype source) const
{
    return variantIn(unit, m_targetLanguage, source);
}

void Pretranslation::offer(const ReadUnit &unit)
{
    const qsizetype source = pickSource(unit);
    if (source < 0)
        return;
    const QString sourceLanguage = primaryLanguage(unit.variants[source].language);
    if (m_targetLanguage.isEmpty()) {
        for (qsizetype i = 0; i < unit.variants.size(); ++i) {
            if (i != source && primaryLanguage(unit.variants[i].language) != sourceLanguage)
                m_languages.insert(unit.variants[i].language.toLower());
        }
    }
    const auto wanted = m_bySource.constFind(listValueOf(unit.variants[source]));
    if (wanted == m_bySource.cend())
        return;
    Wanted &slot = m_wanted[size_t(*wanted)];
    const auto consider = [&](const ReadVariant &variant, const QString &language) {
        Candidate candidate{language, listValueOf(variant), unit.places,
                            variant.changeDate.isEmpty() ? unit.changeDate : variant.changeDate};
        if (candidate.target.isEmpty() || candidate.target == wanted.key())
            return;
        if (fileLengthOfListValue(candidate.target) > stf::MaxLength) {
            ++m_counts.tooLong;
            return;
        }
        slot.candidates.push_back(std::move(candidate));
    };
    if (!m_targetLanguage.isEmpty()) {
        if (const qsizetype target = pickTarget(unit, source); target >= 0)
            consider(unit.variants[target], QString());
        return;
    }
    for (qsizetype i = 0; i < unit.variants.size(); ++i) {
        if (i != source && primaryLanguage(unit.variants[i].language) != sourceLanguage)
            consider(unit.variants[i], unit.variants[i].language.toLower());
    }
}

bool Pretranslation::fill(EntryList &translation, PretranslateReport &report, QString *error) const
{
    if (m_targetLanguage.isEmpty() && m_languages.size() > 1) {
        QStringList languages = m_languages.values();
        languages.sort();
        *error = targetLanguageToChoose(languages);
        return false;
    }
    report = m_counts;
    std::vector<std::pair<qsizetype, QString>> fills;
    std::vector<std::pair<qsizetype, qint16>> ambiguous;
    for (const Wanted &wanted : m_wanted) {
        if (wanted.candidates.empty()) {
            report.noMatch += qsizetype(wanted.entries.size());
            continue;
        }
        // Each distinct translation with its places added up, its latest
        // date and the last time it was read.
        struct Total
        {
            qsizetype places = 0;
            QString changeDate;
            size_t last = 0;
        };
        QHash<QString, Total> totals;
        for (size_t i = 0; i < wanted.candidates.size(); ++i) {
            const Candidate &candidate = wanted.candidates[i];
            Total &total = totals[candidate.target];
            total.places += candidate.places;
            total.changeDate = std::max(total.changeDate, candidate.changeDate);
            total.last = i;
        }
        const auto best = std::max_element(totals.cbegin(), totals.cend(), [](const Total &a, const Total &b) {
            return std::tie(a.places, a.changeDate, a.last) < std::tie(b.places, b.changeDate, b.last);
        });
        for (const auto &entry : wanted.entries) {
            fills.emplace_back(entry.first, best.key());
            if (totals.size() > 1)
                ambiguous.push_back(entry);
        }
    }
    std::sort(ambiguous.begin(), ambiguous.end());
    for (const auto &entry : ambiguous)
        report.ambiguous.append(entry.second);
    report.filled = qsizetype(fills.size());
    for (auto &[position, value] : fills)
        translation.setValue(position, std::move(value));
    return true;
}

} // namespace wendaro
