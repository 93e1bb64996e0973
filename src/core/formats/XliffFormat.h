// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/formats/FileFormat.h"

namespace wendaro {

// XLIFF 1.2, the exchange format of OmegaT, Trados and memoQ: one
// trans-unit per entry, its id the index, its resname the name.
class XliffFormat final : public FileFormat
{
public:
    XliffFormat();
    bool readCatalog(QByteArrayView data, TranslationCatalog &catalog, QString *error) const override;
    bool writeCatalog(const TranslationCatalog &catalog, QByteArray &out, QString *error) const override;
};

} // namespace wendaro
