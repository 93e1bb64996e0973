// SPDX-License-Identifier: GPL-3.0-or-later
// Any bytes given to each translation format (PO, XLIFF, CSV): it either
// reads them or names an error; what it read, written again, reads back the
// same, or the writer says why it cannot be written.
#include "FuzzSupport.h"
#include "core/formats/FormatRegistry.h"
#include "core/translation/TranslationCatalog.h"

using namespace wendaro;

namespace {

bool sameUnits(const TranslationCatalog &a, const TranslationCatalog &b)
{
    if (a.units.size() != b.units.size())
        return false;
    for (qsizetype i = 0; i < a.units.size(); ++i) {
        const TranslationUnit &x = a.units[i];
        const TranslationUnit &y = b.units[i];
        if (x.index != y.index || x.hasName != y.hasName || (x.hasName && x.name != y.name)
            || x.translated != y.translated || (x.translated && x.target != y.target) || x.fuzzy != y.fuzzy
            || (a.hasSource && x.source != y.source))
            return false;
    }
    return true;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    static const QStringList suffixes = FormatRegistry::suffixes(FileFormat::ReadsCatalogs);
    if (size == 0 || suffixes.isEmpty())
        return 0;
    // The first byte chooses the format, the rest is the file.
    const QString suffix = suffixes[data[0] % suffixes.size()];
    const QString path = QStringLiteral("in.") + suffix;
    const QByteArrayView file = fuzz::bytesOf(data + 1, size - 1);

    const FileFormat *const format = FormatRegistry::bySuffix(path, FileFormat::ReadsCatalogs);
    TranslationCatalog catalog;
    QString error;
    const bool read = format->readCatalog(file, catalog, &error);
    fuzz::require(read == error.isEmpty(), "an error comes with a description, success without");
    if (!read)
        return 0;

    QByteArray written;
    if (!format->writeCatalog(catalog, written, &error)) {
        fuzz::require(!error.isEmpty(), "a refused write says why");
        return 0;
    }
    TranslationCatalog reread;
    fuzz::require(format->readCatalog(written, reread, &error), "what the writer wrote reads back");
    fuzz::require(sameUnits(catalog, reread), "what the writer wrote reads back as the units it was given");
    return 0;
}
