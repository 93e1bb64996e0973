// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <array>
#include <memory>
#include <optional>

namespace wendaro {

struct CodePageTables;

// The narrow code page of names in STF files and of whole text files: a code
// page of one- and two-byte characters known to the system's converters, or
// UTF-8.
//
// Conversions are byte-exact: a byte (or byte sequence) that stands for no
// character of the code page is held as a stand-in character of its own,
// U+F700 + byte, and written back as that byte. So every file is written back
// byte for byte as it was read, whatever it held.
class CodePage
{
public:
    static constexpr char16_t EscapeBase = 0xF700;
    static constexpr const char *DefaultName = "windows-932";
    static constexpr const char *EnvironmentVariable = "WENDARO_CODEPAGE";

    // A code page by name ("windows-932", "windows-1252", "UTF-8", ...);
    // nullopt and an error text for an unknown name and for a code page whose
    // characters cannot all be held exactly.
    static std::optional<CodePage> open(const QByteArray &name, QString *error);
    // The code page that WENDARO_CODEPAGE names, or the default.
    static std::optional<CodePage> fromEnvironment(QString *error);

    QString name() const;

    // Multi-byte characters of the code page are one character; bytes that
    // are no character become stand-ins.
    QString decode(QByteArrayView bytes) const;
    // The same, appended to text; a text with room enough is not moved.
    void decodeAppending(QByteArrayView bytes, QString &text) const;
    // How many code units decode() gives, without making them.
    qsizetype decodedSize(QByteArrayView bytes) const;
    // Writes what decode() gives as little-endian UTF-16 at out, which may
    // be at any address and has room for 2 * bytes.size() bytes (never less
    // than the units written: room to store runs of ASCII a block at a
    // time); returns the end.
    char *decodeUtf16(QByteArrayView bytes, char *out) const;
    // Whether a text file's TAB, LF and CR and the "<br>" of a value are
    // found among its bytes as they are among its characters, so that its
    // fields can be told apart before any is decoded. Not for a code page
    // that could take one of those bytes into a character of two.
    bool marksFieldsInBytes() const;
    // Whether both read and write every byte alike.
    bool sameAs(const CodePage &other) const;
    // Whether bytes may be decoded in two parts split after this byte and
    // give what they give whole: it ends every character it is part of.
    bool endsCharacters(char byte) const;
    // True when every character of text has bytes of its own in the code
    // page, so that encode() would write all of them; false may also mean
    // only that the quick look cannot tell (stand-ins, UTF-8).
    bool writesPlainly(QStringView text) const;
    // writesPlainly() of any text of ASCII alone, known without a look: a
    // code page that reads every ASCII byte as itself writes it so.
    bool writesAsciiPlainly() const { return m_asciiAsIs; }
    // Appends the encoded text to out. Returns the offset in text of the first
    // character that cannot be written, or -1 when all were written; out then
    // holds the characters before it. A stand-in cannot be written where its
    // byte would read back as something else, alone or with its neighbours.
    qsizetype encode(QStringView text, QByteArray &out) const;
    // The quick part of encode(): appends the bytes of text when every
    // character has bytes of its own, which are then what encode() writes,
    // and returns true; false for anything else (a stand-in, a character the
    // code page lacks, UTF-8), with out to be cut back by the caller. Each
    // CR LF of text is written as crLfAs is.
    bool encodePlainly(QStringView text, QByteArray &out, QStringView crLfAs = {}) const;

private:
    explicit CodePage(std::shared_ptr<const CodePageTables> tables);
    template<typename Put>
    void decodeWith(QByteArrayView bytes, Put put) const;

    std::shared_ptr<const CodePageTables> m_tables;
    // Every ASCII byte is its own character and begins no pair.
    bool m_asciiAsIs = false;
    bool m_marksFieldsInBytes = false;
};

} // namespace wendaro
