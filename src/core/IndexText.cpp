#include "IndexText.h"

namespace wendaro {

QString indexText(qint16 index)
{
    return indexTextFromTyped(QString::number(index));
}

QString indexTextFromTyped(const QString &typed)
{
    // rightJustified with truncate=false: a text of six characters (-25536)
    // stays whole instead of losing its sign.
    return typed.rightJustified(5, QLatin1Char(' '));
}

QString rowKeyText(qint16 index)
{
    return QStringLiteral("idx") + QString::number(index);
}

} // namespace wendaro
