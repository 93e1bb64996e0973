#include "LineBreaks.h"

namespace wendaro {

namespace {
const QString ListLineBreak = QStringLiteral("<br>");
const QString FileLineBreak = QStringLiteral("\r\n");
} // namespace

QString lineBreaksToList(QString value)
{
    return value.replace(FileLineBreak, ListLineBreak, Qt::CaseSensitive);
}

QString lineBreaksFromList(QString value)
{
    return value.replace(ListLineBreak, FileLineBreak, Qt::CaseSensitive);
}

} // namespace wendaro
