#include "IndexCheck.h"

#include <Number.h>

namespace wendaro {

IndexCheck checkIndexField(QStringView text)
{
    const std::optional<double> number = parseNumber(text);
    if (!number)
        return IndexCheck::NotNumeric;
    const double rounded = roundHalfToEven(*number);
    if (!(rounded >= 0.0 && rounded <= 32767.0))
        return IndexCheck::OutOfRange;
    return IndexCheck::Ok;
}

} // namespace wendaro
