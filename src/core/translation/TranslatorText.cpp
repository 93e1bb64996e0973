// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/translation/TranslatorText.h"

#include "core/text/LineBreaks.h"

namespace wendaro {

LineBreakForm lineBreakFormFor(const QString &listValue)
{
    return listValue.contains(QLatin1Char('\n')) ? LineBreakForm::CrLf : LineBreakForm::Plain;
}

QString toTranslatorText(const QString &listValue, LineBreakForm form)
{
    if (form == LineBreakForm::CrLf)
        return lineBreaksFromList(listValue);
    QString text = listValue;
    return text.replace(QStringLiteral("<br>"), QStringLiteral("\n"), Qt::CaseSensitive);
}

QString fromTranslatorText(const QString &text, LineBreakForm form)
{
    if (form == LineBreakForm::CrLf)
        return lineBreaksToList(text);
    QString value = text;
    return value.replace(QLatin1Char('\n'), QStringLiteral("<br>"));
}

} // namespace wendaro
