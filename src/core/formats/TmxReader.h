// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QXmlStreamReader>

#include <functional>

class QIODevice;

namespace wendaro {

struct ReadUnit;

// Reads a TMX document (any version: 1.4's xml:lang, 1.1's lang) from a
// device as it comes, handing each tu to take: its variants with their
// languages and texts, its x-wendaro-entry places and its change date. A
// segment's inline markup (ph, bpt, ept, it, hi, ut, sub) is taken as its
// text content; a tuv marked "x-wendaro-breaks" "crlf" is in the CR LF form.
//
// Refused, with *error saying why and *errorLine where (from 1): XML that
// is not well-formed, a document whose root element is not tmx, a DOCTYPE
// that declares entities (never expanded, however few are used), an entity
// reference that is not resolved, and a header without a source language
// (srclang missing or "*all*") unless the caller has one of its own.
class TmxReader
{
public:
    using Take = std::function<void(const ReadUnit &unit)>;
    bool read(QIODevice &device, bool sourceLanguageGiven, const Take &take, qint64 *errorLine, QString *error);
    // Called from take: the read ends after this unit and returns false,
    // *error untouched.
    void stop() { m_stopped = true; }

private:
    bool next();
    bool fail(const QString &what);
    bool readHeader(bool sourceLanguageGiven);
    bool readUnit(const Take &take);
    bool readVariant(ReadUnit &unit);
    bool readText(QString &text);

    QXmlStreamReader m_xml;
    QString m_sourceLanguage;
    QString m_creationDate;
    qint64 m_errorLine = 0;
    QString m_error;
    bool m_stopped = false;
};

} // namespace wendaro
