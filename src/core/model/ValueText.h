// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/text/CodePage.h"

#include <QByteArray>
#include <QString>
#include <QStringView>

#include <memory>
#include <optional>

namespace wendaro {

// The bytes of a whole file that the values read from it stay in, shared
// by all of them, and how a value is written there.
struct ValueSource
{
    QByteArray bytes;
    // None for a binary file: little-endian UTF-16, a line break as CR LF.
    // For a text file, its code page: a value's bytes are the value as the
    // list shows it, a line break as "<br>".
    std::optional<CodePage> codePage;
};

// A row's value. Either text of its own, or a value that stays where it was
// read: inside the bytes of a whole file, which every row read from it
// shares, as the code units of a value record or as the bytes of a text
// file's field. A table read from a large file then costs little more
// memory than the file, and a value is decoded only where someone needs it
// as a string: to show, edit or report it, never to hold it.
//
// In a binary file a line break is CR LF; as a value it is "<br>" (see
// LineBreaks.h). Every function here speaks of the value, never of the file
// form, except fileLength() and writeUtf16().
class ValueText
{
public:
    ValueText() = default;
    ValueText(QString text) // NOLINT(google-explicit-constructor): a value is set from any string
        : m_text(std::move(text)), m_size(m_text.size())
    {
    }
    // The codeUnits UTF-16 code units at bytes, which lie inside the bytes
    // of file, a binary one; file is kept alive by the value.
    static ValueText inFile(const std::shared_ptr<const ValueSource> &file, const char *bytes, qsizetype codeUnits);
    // The field of a text file at bytes, inside the bytes of file. Its
    // characters are not counted until someone asks for its size.
    static ValueText inTextFile(const std::shared_ptr<const ValueSource> &file, QByteArrayView bytes);
    // The part of text, which is kept alive by the value: a whole decoded
    // file whose rows all point into it.
    static ValueText inText(const QString &text, QStringView part);

    qsizetype size() const;
    bool isEmpty() const { return !m_bytes && m_size == 0; }
    // A string of the caller's own, decoded from the file if need be.
    QString toString() const;
    // The first count code units at most, as toString() would give them.
    QString left(qsizetype count) const;
    // Appends the value to text, decoding it on the way.
    void appendTo(QString &text) const;
    // The value without a copy, where it is held as it is: an own text, or
    // code units of a file with no line break among them.
    std::optional<QStringView> held() const;
    // Calls use with the value as a QStringView: what held() gives, or a
    // decoding that lives only as long as the call.
    template<typename Use>
    auto withView(Use use) const
    {
        if (const std::optional<QStringView> view = held())
            return use(*view);
        const QString decoded = toString();
        return use(QStringView(decoded));
    }

    // The code units of a value still in its binary file, line breaks as
    // CR LF there, where they can be read as characters in place.
    std::optional<QStringView> fileUnits() const;
    // Of a value still in its binary file, what was found as it was read,
    // so that no writer or check need look at its code units again: that
    // every one is ASCII, and that none is a TAB, nor a CR or LF but those
    // of its CR LF line breaks. False for any other value.
    bool fileUnitsAscii() const { return m_fileUnitsAscii; }
    bool fileUnitsWithoutSeparators() const { return m_fileUnitsWithoutSeparators; }
    // The bytes of a value still in a text file of codePage: what that code
    // page writes for the value.
    std::optional<QByteArrayView> bytesIn(const CodePage &codePage) const;

    // How many code units the value takes in a binary file, line breaks as CR LF.
    qsizetype fileLength() const;
    // No less than fileLength(), and fileLength() itself where it is known
    // without a look at the characters.
    qsizetype fileLengthAtMost() const;
    // Writes those code units, little-endian, at out; returns their end.
    char *writeUtf16(char *out) const;

    friend bool operator==(const ValueText &a, const ValueText &b);
    friend bool operator==(const ValueText &a, QStringView b);
    friend bool operator==(const ValueText &a, const QString &b) { return a == QStringView(b); }

private:
    bool inTextFile() const { return m_bytes && m_file->codePage; }

    QString m_text;                            // the value, or the text it is part of
    std::shared_ptr<const ValueSource> m_file; // the file it is in
    const char *m_bytes = nullptr;             // where it is in m_file
    const char16_t *m_part = nullptr;          // the value as it is, in m_text or m_file
    qsizetype m_stored = 0;                    // code units (binary file) or bytes (text file) at m_bytes
    qsizetype m_size = 0;                      // not kept for a value in a text file
    bool m_fileUnitsAscii = false;
    bool m_fileUnitsWithoutSeparators = false;
};

} // namespace wendaro
