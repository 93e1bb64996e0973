#pragma once

#include <QByteArray>
#include <QString>

namespace wendaro {

class CodePage;
class EntryList;
struct TextFields;

// Writes the rows and the two fields as tab-separated text, CR LF after
// every line.
class TextWriter
{
public:
    // Builds the whole file in out. A character that the code page cannot
    // represent is refused: false, and errorString() names the row's index
    // (or the field) and the character as U+XXXX.
    bool write(const EntryList &rows, const TextFields &fields, const CodePage &codePage, QByteArray &out);
    QString errorString() const { return m_error; }

private:
    QString m_error;
};

} // namespace wendaro
