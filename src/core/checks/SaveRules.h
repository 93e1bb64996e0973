// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/checks/Problem.h"

#include <QString>

#include <optional>
#include <vector>

namespace wendaro {

class CodePage;
class EntryList;
struct TextFields;

// The forms a table is to be saved in.
enum class SaveForms { Stf = 1, Text = 2, StfAndText = Stf | Text };

// Every limit a save applies. Listed in the order in which check tells a
// row's refusals; those about the table as a whole come first.
enum class SaveRule {
    EntryCount,
    OutputFileSeparator,
    MemoSeparator,
    OutputFileCharacter,
    MemoCharacter,
    IndexNotNumber,
    IndexSeparator,
    SharedIndex,
    NameCharacter,
    NameLength,
    ValueLength,
    NameSeparator,
    ValueSeparator,
    ValueCharacter,
};

// One reason the table cannot be saved.
struct SaveRefusal
{
    Problem::Kind kind; // the forms it keeps the table from
    SaveRule rule;
    qsizetype position;          // the row's; -1 for the table's size and its fields
    std::optional<qint16> index; // the row's index, when it has one
    QString message;             // complete, without a label
};

// Where a walk over the rows tells its refusals.
class SaveRefusalSink
{
public:
    virtual ~SaveRefusalSink() = default;
    // True for check, which wants every refusal, each with how many more of
    // its sort the text holds and an index shared by rows told once with all
    // of them. A writer only needs the first, worded alone: what check adds
    // costs a look at the rest of the text, or at every other row.
    virtual bool wantsAll() const = 0;
    // Returns whether the walk goes on.
    virtual bool refuse(SaveRefusal refusal) = 0;
    // How a refusal about several rows names the one at position; asked
    // only when all are wanted. By default, by its position counted from 1.
    virtual QString rowPlace(qsizetype position) const;
};

// A writer's sink: the first refusal stops the walk, its message kept.
class FirstSaveRefusal final : public SaveRefusalSink
{
public:
    bool wantsAll() const override { return false; }
    bool refuse(SaveRefusal refusal) override;
    QString message() const { return m_message; }

private:
    QString m_message;
};

// What a walk for STF found that the STF writer writes, so that no index
// is read twice; complete only when nothing was refused. A value is
// measured as it is written.
struct StfRowFields
{
    std::vector<std::optional<qint16>> indexes; // each row's, by position
};

// Applies every limit of forms to the rows (and, for the text form, to
// fields), telling each refusal to sink, and returns false when sink
// stopped the walk. One walk for the writers and for check, so that they
// cannot disagree: the rules come in the order in which the writer of each
// form meets them, the STF writer's rows once for their indexes, once for
// their values and once for their names, the text writer's row by row.
//
// Characters the code page lacks are looked for in the STF names always;
// in what the text form writes only when sink wants all, since the text
// writer meets them as it encodes, in the file's order. stf, when given,
// receives what the STF writer needs.
bool walkSaveRules(const EntryList &rows, const TextFields &fields, const CodePage &codePage, SaveForms forms,
                   SaveRefusalSink &sink, StfRowFields *stf = nullptr);

} // namespace wendaro
