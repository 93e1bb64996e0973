#pragma once

#include <QByteArray>
#include <QString>

namespace wendaro {

class CodePage;
class EntryList;

// Writes the rows, in display order, as the binary string-table format.
class StfWriter
{
public:
    // Builds the whole file image in out. Every limit is checked before
    // anything is produced; on failure returns false, out is unspecified and
    // errorString() names the row, the index and what is wrong.
    bool write(const EntryList &rows, const CodePage &codePage, QByteArray &out);
    QString errorString() const { return m_error; }

private:
    QString m_error;
};

} // namespace wendaro
