// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/TextQuoting.h"

namespace wendaro::cli {

namespace {

QString hex(char16_t unit, int digits)
{
    return QString::number(unit, 16).toUpper().rightJustified(digits, QLatin1Char('0'));
}

bool pairedAt(QStringView text, qsizetype i)
{
    const char16_t unit = text[i].unicode();
    if (QChar::isHighSurrogate(unit))
        return i + 1 < text.size() && text[i + 1].isLowSurrogate();
    return i > 0 && text[i - 1].isHighSurrogate();
}

} // namespace

QString quotedText(QStringView text)
{
    QString shown;
    shown.reserve(text.size() + 2);
    shown += QLatin1Char('"');
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char16_t unit = text[i].unicode();
        switch (unit) {
        case u'\\': shown += QLatin1String("\\\\"); continue;
        case u'"': shown += QLatin1String("\\\""); continue;
        case u'\t': shown += QLatin1String("\\t"); continue;
        case u'\r': shown += QLatin1String("\\r"); continue;
        case u'\n': shown += QLatin1String("\\n"); continue;
        default: break;
        }
        if (unit < 0x20 || (unit >= 0x7F && unit <= 0x9F))
            shown += QLatin1String("\\x") + hex(unit, 2);
        else if (unit == 0x2028 || unit == 0x2029 || (QChar::isSurrogate(unit) && !pairedAt(text, i)))
            shown += QLatin1String("\\u") + hex(unit, 4);
        else
            shown += QChar(unit);
    }
    shown += QLatin1Char('"');
    return shown;
}

QByteArray jsonString(QStringView text)
{
    QByteArray json;
    json.reserve(text.size() + 2);
    json += '"';
    qsizetype plainStart = 0; // a run of units that UTF-8 carries as they are
    const auto flush = [&](qsizetype end) { json += text.sliced(plainStart, end - plainStart).toUtf8(); };
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char16_t unit = text[i].unicode();
        const char *escape = nullptr;
        switch (unit) {
        case u'"': escape = "\\\""; break;
        case u'\\': escape = "\\\\"; break;
        case u'\n': escape = "\\n"; break;
        case u'\r': escape = "\\r"; break;
        case u'\t': escape = "\\t"; break;
        default: break;
        }
        const bool lone = QChar::isSurrogate(unit) && !pairedAt(text, i);
        if (!escape && unit >= 0x20 && !lone)
            continue;
        flush(i);
        if (escape)
            json += escape;
        else
            json += "\\u" + hex(unit, 4).toLatin1();
        plainStart = i + 1;
    }
    flush(text.size());
    json += '"';
    return json;
}

} // namespace wendaro::cli
