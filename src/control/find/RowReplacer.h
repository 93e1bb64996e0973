// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/io/LoadProgress.h"
#include "core/model/RowMatcher.h"
#include "core/text/CodePage.h"

#include <QString>

#include <vector>

namespace wendaro {

class RowFinder;
class UserInterface;
class Document;

// "N 件を置換しました": what the find bar's count says after a replace.
QString replacedStatus(qsizetype count);

// Replace for the find bar: the finder's text and options find what is
// replaced, by the finder's own matching, in the names and values of the
// rows the list shows; an index, an original and a state are never changed.
// With a regular expression \1 to \9 in the replacement stand for the
// match's groups and \\ for a backslash.
//
// A replacement that some row cannot hold (a name character outside the code
// page, a name or value longer than the editor takes) changes no row: one
// message names the first such row. Each replace is one step of the history.
class RowReplacer
{
public:
    RowReplacer(Document &state, UserInterface &ui, RowFinder &finder, CodePage codePage);

    // Whether a replace changes anything in columns: the name, the value or both.
    static bool replacesIn(FindColumns columns);

    // Every match in the selected row, then on to the next matching row; a
    // selected row without a match only moves on.
    void replaceSelected(const QString &replacement);
    // Every match in the rows the list shows. A large table's new texts are
    // made as a long task, which the person may stop: nothing changes then.
    void replaceAll(const QString &replacement);

private:
    struct Plan;
    // The new texts of the rows at positions (ascending), or why not; on the
    // worker for a large table, so it only reads the rows.
    Plan plan(const RowMatcher &matcher, FindColumns columns, const std::vector<qsizetype> &positions,
              const QString &replacement, LoadProgress *progress) const;

    Document &m_state;
    UserInterface &m_ui;
    RowFinder &m_finder;
    CodePage m_codePage;
};

} // namespace wendaro
