#pragma once

#include <QByteArrayView>
#include <QString>

namespace wendaro {

class CodePage;
class EntryList;
struct TextFields;

// Reads the tab-separated text format: a header line, ">file" and ">//"
// directives, one line per entry.
class TextReader
{
public:
    // Appends the entries to rows, sets fields from the directives and raises
    // largestIndex. On an error returns false; what was read before it stays,
    // and errorString() names the line.
    bool read(QByteArrayView data, const CodePage &codePage, EntryList &rows, TextFields &fields,
              qint16 &largestIndex);
    QString errorString() const { return m_error; }

private:
    QString m_error;
};

} // namespace wendaro
