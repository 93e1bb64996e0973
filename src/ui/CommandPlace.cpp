// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/CommandPlace.h"

#include <QAbstractButton>
#include <QAction>

namespace wendaro {

void placeCommand(QAction &place, QAction &command)
{
    place.setEnabled(command.isEnabled());
    QObject::connect(&command, &QAction::enabledChanged, &place, &QAction::setEnabled);
    QObject::connect(&place, &QAction::triggered, &command, [&command] { command.trigger(); });
}

void placeCommand(QAbstractButton &place, QAction &command)
{
    place.setEnabled(command.isEnabled());
    QObject::connect(&command, &QAction::enabledChanged, &place, &QWidget::setEnabled);
    QObject::connect(&place, &QAbstractButton::clicked, &command, [&command] { command.trigger(); });
}

} // namespace wendaro
