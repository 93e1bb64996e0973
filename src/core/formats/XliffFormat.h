// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/formats/TranslationFormat.h"

namespace wendaro {

// XLIFF 1.2, the exchange format of OmegaT, Trados and memoQ: one
// trans-unit per entry, its id the index, its resname the name.
class XliffFormat final : public TranslationFormat
{
public:
    QString shortName() const override;
    QString nameFilter() const override;
    QStringList suffixes() const override;
    bool read(QByteArrayView data, TranslationCatalog &catalog) override;
    bool write(const TranslationCatalog &catalog, QByteArray &out) override;
};

} // namespace wendaro
