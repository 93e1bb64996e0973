#include "Number.h"

#include <QString>
#include <cmath>

namespace wendaro {

namespace {

bool isBlank(QChar c)
{
    return c == QLatin1Char(' ') || c == QLatin1Char('\t');
}

bool isDigit(QChar c)
{
    return c >= QLatin1Char('0') && c <= QLatin1Char('9');
}

// Skips a run of digits and returns how many there were.
qsizetype skipDigits(QStringView text, qsizetype &i)
{
    const qsizetype start = i;
    while (i < text.size() && isDigit(text[i]))
        ++i;
    return i - start;
}

} // namespace

std::optional<double> parseNumber(QStringView text)
{
    qsizetype begin = 0;
    qsizetype end = text.size();
    while (begin < end && isBlank(text[begin]))
        ++begin;
    while (end > begin && isBlank(text[end - 1]))
        --end;
    const QStringView number = text.sliced(begin, end - begin);

    // Check the form ourselves: the conversion below would also take
    // "inf", "nan" and hexadecimal forms.
    qsizetype i = 0;
    if (i < number.size() && (number[i] == QLatin1Char('+') || number[i] == QLatin1Char('-')))
        ++i;
    qsizetype digits = skipDigits(number, i);
    if (i < number.size() && number[i] == QLatin1Char('.')) {
        ++i;
        digits += skipDigits(number, i);
    }
    if (digits == 0)
        return std::nullopt;
    if (i < number.size() && (number[i] == QLatin1Char('e') || number[i] == QLatin1Char('E'))) {
        ++i;
        if (i < number.size() && (number[i] == QLatin1Char('+') || number[i] == QLatin1Char('-')))
            ++i;
        if (skipDigits(number, i) == 0)
            return std::nullopt;
    }
    if (i != number.size())
        return std::nullopt;

    bool ok = false;
    const double value = number.toString().toDouble(&ok);
    // toDouble refuses only what overflows a double (1e999): still a number,
    // just far out of every range.
    if (!ok)
        return number.startsWith(QLatin1Char('-')) ? -HUGE_VAL : HUGE_VAL;
    return value;
}

bool isNumeric(QStringView text)
{
    return parseNumber(text).has_value();
}

double roundHalfToEven(double value)
{
    const double down = std::floor(value);
    const double fraction = value - down;
    if (fraction < 0.5)
        return down;
    if (fraction > 0.5)
        return down + 1.0;
    return std::fmod(down, 2.0) == 0.0 ? down : down + 1.0;
}

Int16Conversion toInt16(QStringView text)
{
    const std::optional<double> number = parseNumber(text);
    if (!number)
        return {Int16Conversion::Status::NotNumeric, 0};
    const double rounded = roundHalfToEven(*number);
    if (!(rounded >= -32768.0 && rounded <= 32767.0))
        return {Int16Conversion::Status::Overflow, 0};
    return {Int16Conversion::Status::Ok, qint16(rounded)};
}

} // namespace wendaro
