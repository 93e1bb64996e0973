// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/checks/RowPlaces.h"

#include <new>

namespace wendaro {

RowPlaces RowPlaces::foundBy(std::function<std::vector<qint64>()> find)
{
    RowPlaces places;
    places.m_find = std::move(find);
    return places;
}

qint64 RowPlaces::of(qsizetype position) const
{
    if (!m_known) {
        m_known = true;
        // Not a failure to report: without memory for the walk the messages
        // only lose their places, so this stays apart from withinMemory.
        try {
            if (m_find)
                m_places = m_find();
        } catch (const std::bad_alloc &) {
            m_places.clear();
        }
        m_find = nullptr; // what it held, the file's bytes say, goes with it
    }
    return position >= 0 && size_t(position) < m_places.size() ? m_places[size_t(position)] : -1;
}

} // namespace wendaro
