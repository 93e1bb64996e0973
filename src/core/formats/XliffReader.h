// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArrayView>
#include <QList>
#include <QString>
#include <QXmlStreamReader>

namespace wendaro {

struct TranslationCatalog;
struct TranslationUnit;

// Reads the trans-units of every file of an XLIFF 1.x document.
//
// A unit is translated when it has a non-empty target, or an empty one
// whose state says a translation exists (anything but none, "new",
// "needs-translation" and states of a tool's own, "x-..."), so that an empty
// translation comes back as one. It is fuzzy when its target's state is
// one of the "needs-..." states or the unit is marked approved="no".
//
// Refused, with the description naming line and column (for an element, where
// its start tag ends; for broken XML, where reading stopped): XML that is not well
// formed; a DOCTYPE declaring entities (their expansion is what blows up
// memory, and XLIFF has no use for them); an id that is not a decimal index
// of -32768..32767; a trans-unit without a source; an inline element other
// than <mrk> (its text counts) and our own character placeholders inside a
// source or target, rather than dropping the text it stands for.
class XliffReader
{
public:
    // Appends the units to catalog; on failure catalog stays as it was and
    // *error says what and where.
    bool read(QByteArrayView data, TranslationCatalog &catalog, QString *error);

private:
    // The read itself; its steps keep the failure in m_error, which read
    // hands out.
    bool readUnits(QByteArrayView data, TranslationCatalog &catalog);
    bool next();
    bool fail(const QString &what);
    bool failAt(qint64 line, qint64 column, const QString &what);
    bool isXliff(QStringView localName) const;
    bool readRoot();
    bool readUnit(QList<TranslationUnit> &units);
    bool readText(QString &text);

    QXmlStreamReader m_xml;
    QString m_namespace;
    QString m_error;
};

} // namespace wendaro
