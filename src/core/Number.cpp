#include "Number.h"

#include "Spaces.h"

#include <QString>
#include <algorithm>
#include <cmath>

namespace wendaro {

namespace {

// Only the space: a TAB around a number would be written into the text
// form as a field separator and read back as another row.
bool isBlank(QChar c)
{
    return c == QLatin1Char(' ');
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

// The power of ten of the first non-zero digit of a number already checked
// to have the numeric form (sign, digits, fraction, exponent), or nullopt
// when every digit is zero. Only its sign matters to the caller, so the
// exponent is clamped instead of overflowing.
std::optional<qint64> leadingPowerOfTen(QStringView number)
{
    constexpr qint64 Clamp = 1'000'000'000;
    qsizetype i = 0;
    if (number[i] == QLatin1Char('+') || number[i] == QLatin1Char('-'))
        ++i;
    std::optional<qint64> power;
    qint64 integerDigits = 0;
    for (; i < number.size() && isDigit(number[i]); ++i) {
        if (power)
            ++integerDigits;
        else if (number[i] != QLatin1Char('0'))
            power = integerDigits = 0;
    }
    if (power)
        power = qMin(integerDigits, Clamp);
    if (i < number.size() && number[i] == QLatin1Char('.')) {
        qint64 fractionDigits = 0;
        for (++i; i < number.size() && isDigit(number[i]); ++i) {
            fractionDigits = qMin(fractionDigits + 1, Clamp);
            if (!power && number[i] != QLatin1Char('0'))
                power = -fractionDigits;
        }
    }
    if (!power)
        return std::nullopt;
    if (i < number.size()) { // the exponent
        ++i;
        const bool negative = number[i] == QLatin1Char('-');
        if (number[i] == QLatin1Char('+') || negative)
            ++i;
        qint64 exponent = 0;
        for (; i < number.size(); ++i)
            exponent = qMin(exponent * 10 + (number[i].unicode() - u'0'), Clamp);
        *power += negative ? -exponent : exponent;
    }
    return power;
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

    // Whole numbers of up to 15 digits, as every saved index is, are exact
    // in a double: no need for the general conversion and its copy.
    const bool negative = number.startsWith(QLatin1Char('-'));
    const qsizetype sign = negative || number.startsWith(QLatin1Char('+')) ? 1 : 0;
    if (number.size() - sign <= 15 && digits == number.size() - sign) {
        double whole = 0;
        for (qsizetype d = sign; d < number.size(); ++d)
            whole = whole * 10 + (number[d].unicode() - u'0');
        return negative ? -whole : whole;
    }

    bool ok = false;
    const double value = number.toString().toDouble(&ok);
    if (ok)
        return value;
    // toDouble refuses what a double cannot hold, far too large (1e999) and
    // far too small (1e-999) alike. Both are numbers: the large one is out of
    // every range, the small one is zero to every caller.
    const std::optional<qint64> power = leadingPowerOfTen(number);
    if (power && *power >= 0)
        return negative ? -HUGE_VAL : HUGE_VAL;
    return negative ? -0.0 : 0.0;
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
    const std::optional<double> number = parseNumber(text);
    if (!number)
        return std::nullopt;
    const double magnitude = std::fabs(*number);
    const double down = std::floor(magnitude);
    if (magnitude - down != 0.5)
        return roundHalfToEven(*number);

    // The double nearest to the text lies on a half, but the text may lie a
    // little above or below it (2.50000000000000000001, 3.49999999999999999999):
    // only its own digits tell. They are the mantissa's digits with the point
    // moved by the exponent; the first one after the point is 4 or 5.
    const QStringView written = trimSpaces(text);
    QString digits;
    qsizetype integerDigits = 0;
    qsizetype i = 0;
    if (written[i] == QLatin1Char('+') || written[i] == QLatin1Char('-'))
        ++i;
    bool inFraction = false;
    for (; i < written.size() && written[i] != QLatin1Char('e') && written[i] != QLatin1Char('E'); ++i) {
        if (written[i] == QLatin1Char('.')) {
            inFraction = true;
            continue;
        }
        digits += written[i];
        if (!inFraction)
            ++integerDigits;
    }
    // A number on a half between -32768 and 32767 has a small exponent; a
    // larger one is clamped and cannot move the point into the digits.
    const qint64 exponent =
        i < written.size() ? qBound(qint64(-100000), written.sliced(i + 1).toLongLong(), qint64(100000)) : 0;
    const qint64 point = integerDigits + exponent;
    const QStringView fraction =
        point >= 0 && point < digits.size() ? QStringView(digits).sliced(point) : QStringView();
    bool up;
    if (fraction.isEmpty() || fraction.front() < QLatin1Char('5'))
        up = false;
    else if (fraction.front() > QLatin1Char('5')
             || std::any_of(fraction.begin() + 1, fraction.end(), [](QChar c) { return c != QLatin1Char('0'); }))
        up = true;
    else
        up = std::fmod(down, 2.0) != 0.0;
    const double rounded = up ? down + 1.0 : down;
    return *number < 0 ? -rounded : rounded;
}

Int16Conversion toInt16(QStringView text)
{
    const std::optional<double> number = parseRounded(text);
    if (!number)
        return {Int16Conversion::Status::NotNumeric, 0};
    const double rounded = *number;
    if (!(rounded >= -32768.0 && rounded <= 32767.0))
        return {Int16Conversion::Status::Overflow, 0};
    return {Int16Conversion::Status::Ok, qint16(rounded)};
}

} // namespace wendaro
