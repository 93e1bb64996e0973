// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/formats/FileFormat.h"

namespace wendaro {

// GNU gettext's PO and POT files, read and written by gettext's own
// library, so that msgfmt, msgmerge and PO editors take what we write.
class PoFormat final : public FileFormat
{
public:
    PoFormat();
    bool readCatalog(QByteArrayView data, TranslationCatalog &catalog, QString *error) const override;
    bool writeCatalog(const TranslationCatalog &catalog, QByteArray &out, QString *error) const override;
};

} // namespace wendaro
