// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QList>
#include <QPair>
#include <QString>
#include <QStringList>

namespace wendaro {

// Other programs and the default viewer as a test sees them, for either
// interface that starts them (the controller's person, the window's
// desktop): every start is recorded instead of made, and succeeds while
// viewerStarts holds.
template<class Launcher>
class RecordedLaunches : public Launcher
{
public:
    bool viewerStarts = true;
    QList<QPair<QString, QStringList>> started;
    QStringList openedWithDefaultViewer;

    bool startDetached(const QString &program, const QStringList &arguments) override
    {
        started.append({program, arguments});
        return viewerStarts;
    }
    bool openWithDefaultViewer(const QString &path) override
    {
        openedWithDefaultViewer.append(path);
        return viewerStarts;
    }
};

} // namespace wendaro
