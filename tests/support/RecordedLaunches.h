// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QList>
#include <QPair>
#include <QString>
#include <QStringList>

namespace wendaro {

// Other programs and the default viewer as a test sees them: every start is
// recorded instead of made, and succeeds while viewerStarts holds.
class RecordedLaunches
{
public:
    bool viewerStarts = true;
    QList<QPair<QString, QStringList>> started;
    QStringList openedWithDefaultViewer;

protected:
    bool recordStart(const QString &program, const QStringList &arguments)
    {
        started.append({program, arguments});
        return viewerStarts;
    }
    bool recordOpen(const QString &path)
    {
        openedWithDefaultViewer.append(path);
        return viewerStarts;
    }
};

} // namespace wendaro
