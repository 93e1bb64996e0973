// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

namespace wendaro {

// The two texts of a document that only the text format has room for.
struct TextFields
{
    QString outputFile; // the output-file path, the ">file" line
    QString memo;       // the one-line memo, the ">//" line
};

} // namespace wendaro
