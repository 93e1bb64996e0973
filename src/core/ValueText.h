#pragma once

#include <QByteArray>
#include <QString>
#include <QStringView>

namespace wendaro {

// A row's value. Either text of its own, or code units that stay where they
// were read: inside the bytes of a whole file, which every row read from it
// shares. A table read from a large binary file then costs little more
// memory than the file, and a value is copied only where someone needs a
// string of their own (the editor, a report), never to show or sort it.
class ValueText
{
public:
    ValueText() = default;
    ValueText(QString text) // NOLINT(google-explicit-constructor): a value is set from any string
        : m_text(std::move(text))
    {
    }
    // The size code units at units, which must lie inside file and stay
    // there as long as file is not changed. file is kept alive by the value.
    static ValueText inFile(const QByteArray &file, const char16_t *units, qsizetype size);

    QStringView view() const { return m_units ? QStringView(m_units, m_size) : QStringView(m_text); }
    operator QStringView() const { return view(); } // NOLINT(google-explicit-constructor)
    // A string of the caller's own, copied out of the file if need be.
    QString toString() const { return m_units ? view().toString() : m_text; }

    qsizetype size() const { return m_units ? m_size : m_text.size(); }
    bool isEmpty() const { return size() == 0; }
    QChar at(qsizetype i) const { return view().at(i); }
    // Whether the code units are still those of a file.
    bool isInFile() const { return m_units != nullptr; }

    friend bool operator==(const ValueText &a, const ValueText &b) { return a.view() == b.view(); }
    friend bool operator==(const ValueText &a, QStringView b) { return a.view() == b; }
    friend bool operator==(const ValueText &a, const QString &b) { return a.view() == QStringView(b); }

private:
    QString m_text;
    QByteArray m_file;
    const char16_t *m_units = nullptr;
    qsizetype m_size = 0;
};

} // namespace wendaro
