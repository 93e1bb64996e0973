// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QString>

namespace wendaro {

struct TranslationCatalog;

// Writes a catalog as one XLIFF 1.2 file, UTF-8. Every text comes back
// exactly when read: a CR goes as a character reference (an XML reader
// turns a raw CR into LF), a character XML cannot hold as a placeholder
// element, a text holding an LF in the CR LF line-break form with a mark.
class XliffWriter
{
public:
    // Builds the whole file in out. Refused, with *error naming the index
    // and the character: a name holding a character XML cannot hold. A name
    // is an attribute, and an attribute has no room for placeholders.
    bool write(const TranslationCatalog &catalog, QByteArray &out, QString *error) const;
};

} // namespace wendaro
