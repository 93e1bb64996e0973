// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

namespace wendaro {

// Names the application and sets its font, before the window is made. No
// display name is set: once one is, Qt appends it to the title of every other
// window on X11 ("追加 — Wendaro"), and each title is to read as given.
void setUpApplication();

} // namespace wendaro
