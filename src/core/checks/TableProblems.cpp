// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/checks/TableProblems.h"

#include "core/checks/SaveRules.h"
#include "core/model/EntryList.h"

#include <algorithm>
#include <utility>

namespace wendaro {

namespace {

// Every refusal, each made a finding at its row's place. The walk meets the
// rules in the writers' order; findings are told row by row.
class Collector final : public SaveRefusalSink
{
public:
    Collector(const EntryList &rows, const RowPlaces &places, PlaceKind placeKind)
        : m_rows(rows), m_places(places), m_placeKind(placeKind)
    {
    }

    bool wantsAll() const override { return true; }

    bool refuse(SaveRefusal refusal) override
    {
        Problem problem;
        problem.kind = refusal.kind;
        problem.place = m_places.of(refusal.position);
        problem.index = refusal.index;
        if (refusal.position >= 0)
            problem.name = m_rows.at(refusal.position).name;
        problem.message = namesOf(refusal.kind).refusalLabel.toString() + refusal.message;
        m_found.push_back({refusal.position, refusal.rule, std::move(problem)});
        return true;
    }

    // How a message names the row: by its place in the file, else by position.
    QString rowPlace(qsizetype position) const override
    {
        const qint64 place = m_places.of(position);
        if (place < 0)
            return SaveRefusalSink::rowPlace(position);
        return m_placeKind == PlaceKind::Line ? QStringLiteral("%1 行目").arg(place)
                                              : QStringLiteral("オフセット %1").arg(place);
    }

    QList<Problem> problems()
    {
        std::stable_sort(m_found.begin(), m_found.end(), [](const Found &a, const Found &b) {
            return std::pair(a.position, a.rule) < std::pair(b.position, b.rule);
        });
        QList<Problem> problems;
        problems.reserve(qsizetype(m_found.size()));
        for (Found &found : m_found)
            problems.append(std::move(found.problem));
        return problems;
    }

private:
    struct Found
    {
        qsizetype position;
        SaveRule rule;
        Problem problem;
    };

    const EntryList &m_rows;
    const RowPlaces &m_places;
    PlaceKind m_placeKind;
    std::vector<Found> m_found;
};

} // namespace

QList<Problem> tableProblems(const EntryList &rows, const TextFields &fields, const CodePage &codePage,
                             const RowPlaces &places, PlaceKind placeKind)
{
    Collector found(rows, places, placeKind);
    walkSaveRules(rows, fields, codePage, SaveForms::StfAndText, found);
    return found.problems();
}

Problem::Severity refusalSeverity(Problem::Kind kind, bool stfFile)
{
    return stfFile && kind == Problem::Kind::Text ? Problem::Severity::Warning : Problem::Severity::Error;
}

} // namespace wendaro
