// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QFlags>
#include <QString>
#include <QStringList>

#include <utility>

namespace wendaro {

class ByteSink;
class CodePage;
class EntryList;
struct Table;
struct TextFields;
struct TranslationCatalog;

// One file format the program reads or writes: a table's own (STF, the
// text form) or a translation tool's (PO, XLIFF, CSV). A format holds no
// state, so one object of each serves every caller (see FormatRegistry).
//
// Every fallible call reports failure the same way: it returns false and
// puts the description (what and where) in *error, which must not be null
// and is left alone on success. A table read that knows where it failed
// also puts the place in *errorPlace: the byte offset of an STF record, the
// line of a text file; -1 where it knows none (and after a stop that the
// progress asked for, which returns false with an empty description).
class FileFormat
{
public:
    enum Capability {
        ReadsTables = 0x1,
        WritesTables = 0x2,
        ReadsCatalogs = 0x4,
        WritesCatalogs = 0x8,
        // Its tables keep the output-file and memo lines (TextFields) that
        // a text table carries besides its rows; without it they are not
        // written and read back empty.
        KeepsTextFields = 0x10,
        // Its catalogs carry the suggestions of a unit still to translate
        // (TranslationUnit::suggestions); without it they are not written.
        WritesSuggestions = 0x20,
    };
    Q_DECLARE_FLAGS(Capabilities, Capability)
    // What a place in a file of the format counts: readTable's errorPlace,
    // and how a message names where a row came from.
    enum class PlaceUnit { Line, ByteOffset };

    // What names a format and what it can do, given by each format once.
    struct Description
    {
        // The name a script uses for the format: "stf", "text", "po".
        QString shortName;
        // The description a file dialog shows, e.g. "STF ファイル (*.stf)".
        QString nameFilter;
        // The suffixes, lower-case and without the dot, that mark a file of this format.
        QStringList suffixes;
        // Which of the calls below the format answers; it is asked for no other.
        Capabilities capabilities;
    };

    virtual ~FileFormat() = default;
    FileFormat(const FileFormat &) = delete;
    FileFormat &operator=(const FileFormat &) = delete;

    QString shortName() const { return m_description.shortName; }
    QString nameFilter() const { return m_description.nameFilter; }
    const QStringList &suffixes() const { return m_description.suffixes; }
    Capabilities capabilities() const { return m_description.capabilities; }
    // Whether it both reads and writes tables: a format the window opens and saves.
    bool isTableFormat() const { return capabilities().testFlags(Capabilities(ReadsTables) | WritesTables); }
    virtual PlaceUnit placeUnit() const { return PlaceUnit::Line; }
    // Whether a file's first bytes mark it as this format's, for a file
    // whose name says nothing; a format without such a mark says no.
    virtual bool beginsWithMark(QByteArrayView bytes) const;

    // Appends what the file image holds to table; what was read before an
    // error stays in table.
    virtual bool readTable(QByteArrayView data, const CodePage &codePage, Table &table, qint64 *errorPlace,
                           QString *error) const;
    // The same, for a caller that needs the bytes no more: a format that
    // turns them into something else first may let them go early.
    virtual bool readTableTaking(QByteArray data, const CodePage &codePage, Table &table, qint64 *errorPlace,
                                 QString *error) const
    {
        return readTable(data, codePage, table, errorPlace, error);
    }
    // Streams the file to out. The rows and fields are passed apart, not as
    // a Table, because the window's list cannot be copied. The writers say
    // how much may have gone to out before a refusal. False with an empty
    // description when out refused bytes: its owner knows why.
    virtual bool writeTable(const EntryList &rows, const TextFields &fields, const CodePage &codePage, ByteSink &out,
                            QString *error) const;

    // Appends the units of the file image to catalog.
    virtual bool readCatalog(QByteArrayView data, TranslationCatalog &catalog, QString *error) const;
    // Builds the whole file image in out. A text the format cannot carry
    // is refused (out stays as it was) rather than written altered.
    virtual bool writeCatalog(const TranslationCatalog &catalog, QByteArray &out, QString *error) const;

protected:
    explicit FileFormat(Description description) : m_description(std::move(description)) {}

private:
    Description m_description;
};

Q_DECLARE_OPERATORS_FOR_FLAGS(FileFormat::Capabilities)

} // namespace wendaro
