// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/io/LoadProgress.h"

#include <QString>
#include <functional>

class QWidget;

namespace wendaro {

// Runs task on a worker thread and returns when it has ended, keeping the
// event loop turning meanwhile. A task that lasts longer than a quarter of a
// second gets a modal progress dialog over parent with a Cancel button, which
// asks the task to stop through its LoadProgress. Until the dialog shows, and
// after Cancel, the windows paint but take no input, so nothing the task
// leads to can be started twice. An exception of the task is thrown again here.
void runWithProgressDialog(QWidget *parent, const QString &label, const std::function<void(LoadProgress &)> &task);

} // namespace wendaro
