// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/text/Number.h"

#include "core/text/Spaces.h"

#include <QString>
#include <cmath>

namespace wendaro {

namespace {

bool isDigit(QChar c)
{
    return c >= QLatin1Char('0') && c <= QLatin1Char('9');
}

// Skips a run of digits and returns them.
QStringView takeDigits(QStringView text, qsizetype &i)
{
    const qsizetype start = i;
    while (i < text.size() && isDigit(text[i]))
        ++i;
    return text.sliced(start, i - start);
}

// A number as written: its digits before and after the point and its
// exponent. The exponent is clamped instead of overflowing: beyond the
// clamp no digit can reach the point, nor a value the range of a double.
struct Decimal
{
    bool negative = false;
    QStringView integer;
    QStringView fraction;
    qint64 exponent = 0;

    // Digit k of the integer and fraction digits together; '0' beyond them.
    QChar digit(qint64 k) const
    {
        if (k < 0 || k >= integer.size() + fraction.size())
            return QLatin1Char('0');
        return k < integer.size() ? integer[k] : fraction[k - integer.size()];
    }
};

// The parts of text, spaces around it allowed, when it has the numeric form
// (sign, digits, fraction, exponent); nullopt otherwise. The form is checked
// here because the conversion to double would also take "inf", "nan" and
// hexadecimal forms.
std::optional<Decimal> scanDecimal(QStringView text)
{
    // Only spaces pad a number: a TAB around it would be written into the
    // text form as a field separator and read back as another row.
    const QStringView number = trimSpaces(text);

    Decimal decimal;
    qsizetype i = 0;
    if (i < number.size() && (number[i] == QLatin1Char('+') || number[i] == QLatin1Char('-'))) {
        decimal.negative = number[i] == QLatin1Char('-');
        ++i;
    }
    decimal.integer = takeDigits(number, i);
    if (i < number.size() && number[i] == QLatin1Char('.')) {
        ++i;
        decimal.fraction = takeDigits(number, i);
    }
    if (decimal.integer.isEmpty() && decimal.fraction.isEmpty())
        return std::nullopt;
    if (i < number.size() && (number[i] == QLatin1Char('e') || number[i] == QLatin1Char('E'))) {
        ++i;
        bool negativeExponent = false;
        if (i < number.size() && (number[i] == QLatin1Char('+') || number[i] == QLatin1Char('-'))) {
            negativeExponent = number[i] == QLatin1Char('-');
            ++i;
        }
        const QStringView digits = takeDigits(number, i);
        if (digits.isEmpty())
            return std::nullopt;
        constexpr qint64 Clamp = 1'000'000'000;
        for (const QChar d : digits)
            decimal.exponent = qMin(decimal.exponent * 10 + (d.unicode() - u'0'), Clamp);
        if (negativeExponent)
            decimal.exponent = -decimal.exponent;
    }
    if (i != number.size())
        return std::nullopt;
    return decimal;
}

// The power of ten of the first non-zero digit, or nullopt when every digit
// is zero.
std::optional<qint64> leadingPowerOfTen(const Decimal &decimal)
{
    const qint64 digits = decimal.integer.size() + decimal.fraction.size();
    for (qint64 k = 0; k < digits; ++k) {
        if (decimal.digit(k) != QLatin1Char('0'))
            return decimal.integer.size() - 1 - k + decimal.exponent;
    }
    return std::nullopt;
}

double valueOf(const Decimal &decimal, QStringView text)
{
    // Whole numbers of up to 15 digits, as every saved index is, are exact
    // in a double: no need for the general conversion and its copy.
    if (decimal.fraction.isEmpty() && decimal.exponent == 0 && decimal.integer.size() <= 15) {
        double whole = 0;
        for (const QChar d : decimal.integer)
            whole = whole * 10 + (d.unicode() - u'0');
        return decimal.negative ? -whole : whole;
    }

    bool ok = false;
    const double value = trimSpaces(text).toString().toDouble(&ok);
    if (ok)
        return value;
    // toDouble refuses what a double cannot hold, far too large (1e999) and
    // far too small (1e-999) alike. Both are numbers: the large one is out of
    // every range, the small one is zero to every caller.
    const std::optional<qint64> power = leadingPowerOfTen(decimal);
    if (power && *power >= 0)
        return decimal.negative ? -HUGE_VAL : HUGE_VAL;
    return decimal.negative ? -0.0 : 0.0;
}

} // namespace

std::optional<double> parseNumber(QStringView text)
{
    const std::optional<Decimal> decimal = scanDecimal(text);
    if (!decimal)
        return std::nullopt;
    return valueOf(*decimal, text);
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

std::optional<double> parseRounded(QStringView text)
{
    const std::optional<Decimal> decimal = scanDecimal(text);
    if (!decimal)
        return std::nullopt;
    const double number = valueOf(*decimal, text);
    const double magnitude = std::fabs(number);
    const double down = std::floor(magnitude);
    if (magnitude - down != 0.5)
        return roundHalfToEven(number);

    // The double nearest to the text lies on a half, but the text may lie a
    // little above or below it (2.50000000000000000001, 3.49999999999999999999):
    // only its own digits tell. They are the digits with the point moved by
    // the exponent; the first one after the point is 4 or 5.
    const qint64 point = decimal->integer.size() + decimal->exponent;
    const qint64 digits = decimal->integer.size() + decimal->fraction.size();
    const QChar first = decimal->digit(point);
    bool up;
    if (point < 0 || first < QLatin1Char('5')) {
        up = false;
    } else if (first > QLatin1Char('5')) {
        up = true;
    } else {
        up = std::fmod(down, 2.0) != 0.0;
        for (qint64 k = point + 1; k < digits; ++k) {
            if (decimal->digit(k) != QLatin1Char('0')) {
                up = true;
                break;
            }
        }
    }
    const double rounded = up ? down + 1.0 : down;
    return number < 0 ? -rounded : rounded;
}

namespace {

// Nearly every index text is a plain integer: spaces, an optional sign,
// digits, spaces. It is converted here without the general grammar and the
// double; nullopt leaves anything else to it. Every text taken here means
// the same number there.
std::optional<Int16Conversion> plainInt16(QStringView text)
{
    const QStringView number = trimSpaces(text);
    qsizetype begin = 0;
    bool negative = false;
    if (begin < number.size() && (number[begin] == QLatin1Char('+') || number[begin] == QLatin1Char('-'))) {
        negative = number[begin] == QLatin1Char('-');
        ++begin;
    }
    if (begin == number.size())
        return std::nullopt;
    // Clamped above the range, so that no run of digits overflows.
    constexpr qint32 Clamp = 100'000;
    qint32 value = 0;
    for (qsizetype i = begin; i < number.size(); ++i) {
        const char16_t c = number[i].unicode();
        if (c < u'0' || c > u'9')
            return std::nullopt;
        value = qMin(value * 10 + qint32(c - u'0'), Clamp);
    }
    if (negative)
        value = -value;
    if (value < -32768 || value > 32767)
        return Int16Conversion{Int16Conversion::Status::Overflow, 0};
    return Int16Conversion{Int16Conversion::Status::Ok, qint16(value)};
}

} // namespace

Int16Conversion toInt16(QStringView text)
{
    if (const std::optional<Int16Conversion> plain = plainInt16(text))
        return *plain;
    const std::optional<double> number = parseRounded(text);
    if (!number)
        return {Int16Conversion::Status::NotNumeric, 0};
    const double rounded = *number;
    if (!(rounded >= -32768.0 && rounded <= 32767.0))
        return {Int16Conversion::Status::Overflow, 0};
    return {Int16Conversion::Status::Ok, qint16(rounded)};
}

std::optional<qint16> parseIndexDigits(QStringView text)
{
    const QStringView digits = text.startsWith(u'-') ? text.sliced(1) : text;
    // At most six digits, one leading zero beyond the widest index; that
    // also keeps the sum far from overflowing.
    if (digits.isEmpty() || digits.size() > 6)
        return std::nullopt;
    qint32 value = 0;
    for (const QChar c : digits) {
        if (c < u'0' || c > u'9')
            return std::nullopt;
        value = value * 10 + (c.unicode() - u'0');
    }
    if (digits.size() != text.size())
        value = -value;
    if (value < -32768 || value > 32767)
        return std::nullopt;
    return qint16(value);
}

} // namespace wendaro
