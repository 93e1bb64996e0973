// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArrayView>

#include <functional>
#include <initializer_list>
#include <vector>

namespace wendaro {

class CodePage;

// Where each row of a table read from a file came from, in the order the
// reader made the rows, for messages an editor can jump to. A second pass
// over the bytes, so that reading stays as fast as it is for the window.

// The byte offset of each value record of an STF file image.
std::vector<qint64> stfRowOffsets(QByteArrayView data);
// The line (from 1, every CR LF, CR and LF ending one) of each row of a
// text file image.
std::vector<qint64> textRowLines(QByteArrayView data, const CodePage &codePage);

// The places of a table's rows, position 1 first. Found only when a
// message first needs one: a table with nothing to report never walks its
// file a second time.
class RowPlaces
{
public:
    RowPlaces() = default;                // a table from no file: no row has a place
    RowPlaces(std::vector<qint64> places) // NOLINT(google-explicit-constructor): places known already
        : m_places(std::move(places)), m_known(true)
    {
    }
    RowPlaces(std::initializer_list<qint64> places) : RowPlaces(std::vector<qint64>(places)) {}
    // find gives the places when first asked for; if it runs out of
    // memory, the rows have none and messages name their positions.
    static RowPlaces foundBy(std::function<std::vector<qint64>()> find);

    // The place of the row at position, or -1.
    qint64 of(qsizetype position) const;

private:
    mutable std::function<std::vector<qint64>()> m_find;
    mutable std::vector<qint64> m_places;
    mutable bool m_known = false;
};

} // namespace wendaro
