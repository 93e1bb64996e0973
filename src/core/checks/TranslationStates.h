// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/checks/TranslationChecks.h"
#include "core/model/EntryList.h"

#include <QList>
#include <QString>
#include <QStringView>

#include <array>
#include <vector>

namespace wendaro {

class CodePage;

// Where a translated row stands, the first that applies: its index is not in
// the original; it is still to translate; its original changed since the
// translation was made and nobody has looked at it since; a check finds
// something in it (or it cannot be saved as STF); none of these.
enum class RowState : quint8 { Translated, NoOriginal, Untranslated, NeedsReview, Problem };
constexpr int RowStateCount = 5;

// The word the window and status print for a state; empty for Translated.
QString rowStateWord(RowState state);

// The index of a row as saved, or nullopt when its index text is none.
std::optional<qint16> rowIndex(const Entry &row);

// The first row of each index of a table, found in constant time, and its
// indexes in the order of their first rows. It reads the table given; a
// change of that table's rows needs a new one.
class FirstRows
{
public:
    FirstRows() = default;
    explicit FirstRows(const EntryList &rows);

    qsizetype positionOf(qint16 index) const { return m_rows ? m_positions.value(index) : -1; }
    const Entry *rowOf(qint16 index) const;
    const std::vector<qint16> &indexes() const { return m_indexes; }
    bool isEmpty() const { return m_rows == nullptr; }

private:
    const EntryList *m_rows = nullptr;
    KeyPositions m_positions;
    std::vector<qint16> m_indexes;
};

// What a row's state is measured against: the original, and the original
// the translation was made from when there is one (old is empty otherwise).
struct Originals
{
    const FirstRows &current;
    const FirstRows &old;
    CheckSettings settings = {}; // what the checks of a translated row look at

    // The original's value changed between old and current (or is new);
    // false without an old original.
    bool changed(qint16 index) const;
};

// One row's state. reviewed: the row was changed or accepted since the old
// original was opened; unsavable: the save rules refuse it for STF.
RowState rowState(const Entry &row, const Originals &originals, bool reviewed, bool unsavable);

// What the checks say of one row, one message a line, in check's words:
// its index missing from the original, compareTranslation's findings, and
// the save rules' refusals given.
QStringList rowFindings(const Entry &row, const FirstRows &original, const QStringList &refusals,
                        const CheckSettings &settings = {});

// The STF save rules' refusals of each row, by position (empty for a row
// they accept): the same walk as a save's, told every refusal.
std::vector<QStringList> stfRefusalsByRow(const EntryList &rows, const CodePage &codePage);

// How many rows are in each state, and the original's indexes: all of them,
// those whose row is translated, and those the table lacks.
struct StateCounts
{
    std::array<qsizetype, RowStateCount> rows{}; // by RowState
    qsizetype originals = 0;
    qsizetype translated = 0;
    qsizetype missing = 0;

    qsizetype of(RowState state) const { return rows[size_t(state)]; }
    // translated of originals in whole percent, rounded down: 100 only when
    // every index is translated; 0 without originals.
    qsizetype percent() const { return originals > 0 ? translated * 100 / originals : 0; }
    // "翻訳済み T / N（P %）" and the other counts, each "word count".
    QString progressLine() const;
    QList<std::pair<QString, qsizetype>> words() const;
};

// Every row's state of translation against originals, nothing reviewed,
// and the counts: what status prints.
StateCounts countStates(const EntryList &translation, const Originals &originals, const CodePage &codePage);

} // namespace wendaro
