// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The STF tables that the cold benchmark times, each with the most entries a
// file holds (32,766), written once into a cache folder and reused while
// present: the generator is deterministic, so a cached table is the table.

#include <QString>

namespace wendaro {
class CodePage;
}

namespace wendaro::bench {

// Which values a table holds: the generated ones, their translation (each
// value with "訳 " before it, the memory bench's translated table), or
// none (every value empty, the table pretranslate fills). The names and
// indexes are the same in all three.
enum class Values { Original, Translated, Empty };

// valueLength 0: the values of the in-process benches' table (0 to 400 code
// units); otherwise every value has exactly that many code units in the file.
// Returns false and sets error when the file cannot be written.
bool writeStfTable(const QString &path, int valueLength, const CodePage &codePage, QString *error,
                   Values values = Values::Original);

// The translation a Values::Translated table holds of a value.
QString translatedValue(const QString &value);

} // namespace wendaro::bench
