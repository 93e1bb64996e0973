// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/formats/TranslationFormat.h"

namespace wendaro {

// GNU gettext's PO and POT files, read and written by gettext's own
// library, so that msgfmt, msgmerge and PO editors take what we write.
class PoFormat final : public TranslationFormat
{
public:
    QString shortName() const override;
    QString nameFilter() const override;
    QStringList suffixes() const override;
    bool read(QByteArrayView data, TranslationCatalog &catalog) override;
    bool write(const TranslationCatalog &catalog, QByteArray &out) override;
};

} // namespace wendaro
