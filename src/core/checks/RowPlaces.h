// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QtGlobal>

#include <functional>
#include <initializer_list>
#include <vector>

namespace wendaro {

// The places of a table's rows, position 0 first, for messages an editor
// can jump to. Found only when a message first needs one: a table with
// nothing to report never walks its file a second time. The walks that
// find them know the files' layouts, so they sit with the readers
// (core/formats/RowPlacesInFile.h) and come here as find.
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
