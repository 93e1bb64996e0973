// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QString>

namespace wendaro {

class ByteSink;
class CodePage;
class EntryList;

// Writes the rows, in display order, as the binary string-table format.
class StfWriter
{
public:
    // Builds the whole file image in out. Every limit is checked while the
    // image is built aside (entry count, lengths, name characters, index
    // texts, indexes that two rows share); on failure returns false, out is
    // left as it was and *error names the row, the index and what is wrong.
    bool write(const EntryList &rows, const CodePage &codePage, QByteArray &out, QString *error);
    // Streams the file to out. Every limit is checked before the first byte
    // is handed to out, so a refused table hands it nothing. False with an
    // empty description when out refused bytes: its owner knows why.
    bool write(const EntryList &rows, const CodePage &codePage, ByteSink &out, QString *error);

private:
    // The write itself; its steps keep a refusal in m_error, which write
    // hands out.
    bool stream(const EntryList &rows, const CodePage &codePage, ByteSink &out);
    bool fail(QString description);

    QString m_error;
};

} // namespace wendaro
