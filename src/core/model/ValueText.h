// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QString>
#include <QStringView>

#include <optional>

namespace wendaro {

// A row's value. Either text of its own, or the little-endian UTF-16 code
// units of a value record that stay where they were read: inside the bytes
// of a whole file, which every row read from it shares. A table read from a
// large binary file then costs little more memory than the file, and a value
// is decoded only where someone needs it as a string: to show, edit or
// report it, never to hold it.
//
// In a file a line break is CR LF; as a value it is "<br>" (see
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
    // The codeUnits UTF-16 code units at bytes, which lie inside file and
    // stay there as long as file is not changed; file is kept alive by the
    // value.
    static ValueText inFile(const QByteArray &file, const char *bytes, qsizetype codeUnits);
    // The part of text, which is kept alive by the value: a whole decoded
    // file whose rows all point into it.
    static ValueText inText(const QString &text, QStringView part);

    qsizetype size() const { return m_size; }
    bool isEmpty() const { return m_size == 0; }
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

    // The code units of a value still in its file, line breaks as CR LF
    // there, where they can be read as characters in place.
    std::optional<QStringView> fileUnits() const;

    // How many code units the value takes in a binary file, line breaks as CR LF.
    qsizetype fileLength() const;
    // Writes those code units, little-endian, at out; returns their end.
    char *writeUtf16(char *out) const;

    friend bool operator==(const ValueText &a, const ValueText &b);
    friend bool operator==(const ValueText &a, QStringView b);
    friend bool operator==(const ValueText &a, const QString &b) { return a == QStringView(b); }

private:
    QString m_text;                   // the value, or the text it is part of
    QByteArray m_file;                // the binary file it is in
    const char *m_bytes = nullptr;    // its code units in m_file, line breaks as CR LF
    const char16_t *m_part = nullptr; // the value as it is, in m_text or m_file
    qsizetype m_fileLength = 0;       // code units at m_bytes
    qsizetype m_size = 0;
};

} // namespace wendaro
