// SPDX-License-Identifier: GPL-3.0-or-later
#include "control/translation/TableSettings.h"

#include <QSettings>

namespace wendaro {

namespace {

QSettings settings()
{
    return QSettings(QSettings::IniFormat, QSettings::UserScope, QStringLiteral("wendaro"), QStringLiteral("wendaro"));
}

// A path holds "/" and any other character, which a settings key may not:
// it is kept as base64.
QString keyOf(const QString &group, const QString &tablePath)
{
    return group + u'/'
           + QString::fromLatin1(
               tablePath.toUtf8().toBase64(QByteArray::Base64UrlEncoding | QByteArray::OmitTrailingEquals));
}

} // namespace

QStringList rememberedFor(const QString &group, const QString &tablePath)
{
    return settings().value(keyOf(group, tablePath)).toStringList();
}

void rememberFor(const QString &group, const QString &tablePath, const QStringList &values)
{
    settings().setValue(keyOf(group, tablePath), values);
}

} // namespace wendaro
