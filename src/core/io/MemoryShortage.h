// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

#include <new>

namespace wendaro {

// Runs step, a fallible call that returns false after putting its own
// description in *error. Running out of memory on the way is one more
// failure of the step, told by shortage(), which says what could not be
// done for want of memory: a file bigger than the memory at hand must end
// neither the window, with every unsaved change in it, nor a command before
// it told its error and gave its exit code. This is the one place that
// catches the shortage; RowPlaces only falls back to knowing no places.
template<typename Step, typename Shortage>
bool withinMemory(Step &&step, Shortage &&shortage, QString *error)
{
    try {
        return step();
    } catch (const std::bad_alloc &) {
        *error = shortage();
        return false;
    }
}

} // namespace wendaro
