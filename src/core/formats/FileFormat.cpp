// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/formats/FileFormat.h"

namespace wendaro {

bool FileFormat::beginsWithMark(QByteArrayView) const
{
    return false;
}

// A format is asked only for what its capabilities() name; these stand for
// the calls a format does not answer.

bool FileFormat::readTable(QByteArrayView, const CodePage &, Table &, qint64 *, QString *) const
{
    Q_ASSERT_X(false, "FileFormat::readTable", "the format reads no tables");
    return false;
}

bool FileFormat::writeTable(const EntryList &, const TextFields &, const CodePage &, ByteSink &, QString *) const
{
    Q_ASSERT_X(false, "FileFormat::writeTable", "the format writes no tables");
    return false;
}

bool FileFormat::readCatalog(QByteArrayView, TranslationCatalog &, QString *) const
{
    Q_ASSERT_X(false, "FileFormat::readCatalog", "the format reads no catalogs");
    return false;
}

bool FileFormat::writeCatalog(const TranslationCatalog &, QByteArray &, QString *) const
{
    Q_ASSERT_X(false, "FileFormat::writeCatalog", "the format writes no catalogs");
    return false;
}

} // namespace wendaro
