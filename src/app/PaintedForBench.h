// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

class QMainWindow;

namespace wendaro {

// For the cold benchmark of `./dev bench`, which times the window as a person
// sees it, from the process's start: with WENDARO_BENCH_PAINTED set, the
// window prints "painted" on stdout once its list has painted rows (started
// without a file: once it has painted at all) and quits. Unset, it does
// nothing.
void quitWhenPaintedForBench(QMainWindow &window, bool rowsWanted);

} // namespace wendaro
