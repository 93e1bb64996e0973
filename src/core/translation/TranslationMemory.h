// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QHash>
#include <QList>
#include <QSet>
#include <QString>
#include <QStringList>

#include <optional>
#include <unordered_map>
#include <vector>

namespace wendaro {

class EntryList;

// A translation memory: how each text of the originals was translated,
// gathered from pairs of tables (memory) and looked up to fill untranslated
// entries (pretranslate). Texts are in the list's form, line breaks as
// "<br>"; the TMX reader and writer (core/formats/Tmx*) map them to a
// translator's text as PO and XLIFF do (TranslatorText.h).

// Where a pair of texts occurs: a table of the memory and an index there.
struct MemoryPlace
{
    qint32 table = 0; // in TranslationMemory::tables
    qint16 index = 0;
};

struct MemoryUnit
{
    QString source;
    QString target;
    std::vector<MemoryPlace> places; // in the order met
};

// The pairs one original and its translation give a memory, in the
// translation's row order: each index both hold where the translation is
// neither empty nor identical to the original, and the original not empty
// (nothing would ever look an empty text up). Made on a worker; hash is
// the pair's, so that the gathering needs only compare.
struct TablePairs
{
    struct Pair
    {
        size_t hash = 0;
        QString source;
        QString target;
        qint16 index = 0;
    };
    std::vector<Pair> pairs;
};

// Nullopt with *error when either table holds an index text that is no
// index or a repeated index (as export refuses them); the names are how
// the message calls the two tables.
std::optional<TablePairs> memoryPairs(const EntryList &original, const QString &originalName,
                                      const EntryList &translation, const QString &translationName, QString *error);

struct TranslationMemory
{
    QString sourceLanguage; // BCP 47 tags
    QString targetLanguage;
    QString toolVersion;           // the creating program's, for the header
    QString creationDate;          // "20240517T093000Z", or empty for none
    QStringList tables;            // the translation of each pair as the person named it
    std::vector<MemoryUnit> units; // each distinct pair once, in the order first met
};

// Gathers the pairs of the tables in the order given into distinct units.
class MemoryGathering
{
public:
    // table: the place of the pair's translation in TranslationMemory::tables.
    void add(TablePairs pairs, qint32 table);
    std::vector<MemoryUnit> takeUnits();

private:
    std::vector<MemoryUnit> m_units;
    std::unordered_multimap<size_t, size_t> m_byHash; // a pair's hash -> its unit
};

// One variant of a unit read from a memory file: its text in one language.
struct ReadVariant
{
    QString language;   // as the file has it
    QString text;       // as a translator sees it (TranslatorText.h)
    bool crLf = false;  // the text is in the CR LF line-break form
    QString changeDate; // the variant's own, or empty
};

struct ReadUnit
{
    QList<ReadVariant> variants;
    qsizetype places = 1;   // its x-wendaro-entry props, 1 for a unit without
    QString changeDate;     // the unit's, else the header's creation date, or empty
    QString sourceLanguage; // the file's srclang, unless the person gave one
};

// The variant of unit in language: the tag itself, else the first of its
// primary language; -1 for none. skip is a variant not to take.
qsizetype variantIn(const ReadUnit &unit, const QString &language, qsizetype skip = -1);
// A variant's text in the list's form.
QString listValueOf(const ReadVariant &variant);
// What the person is told when the memories hold translations in several
// languages, sorted, and no target language was named.
QString targetLanguageToChoose(const QStringList &languages);

struct PretranslateReport
{
    qsizetype filled = 0;        // untranslated entries that took a translation
    qsizetype translated = 0;    // entries already translated, left alone
    qsizetype noMatch = 0;       // untranslated entries whose original no memory holds
    qsizetype tooLong = 0;       // matching units whose translation no value can hold, skipped
    QList<qint16> ambiguous;     // filled entries for whose original the memories hold several translations
    QList<qint16> notInOriginal; // entries of the translation whose index the original lacks
};

// Fills the untranslated entries of a translation (isUntranslated: empty,
// or identical to an original with a letter) with a memory's translation of
// the original's exact text. Units are offered in the order read: memories
// in the order given, units in file order.
//
// A unit's source is its variant in the source language, its translation
// the one in the target language: a tag equal ignoring case, else one of
// the same primary language ("pt" for "pt-BR"). Without a target language
// every other language of the memories is a candidate, and they must be one.
// Of several translations of one text the one with the most places wins,
// then the latest change date, then the last read; the entry is ambiguous.
class Pretranslation
{
public:
    // Nullopt with *error when either table's indexes are not unique.
    static std::optional<Pretranslation> prepare(const EntryList &original, const QString &originalName,
                                                 const EntryList &translation, const QString &translationName,
                                                 const QString &sourceLanguage, const QString &targetLanguage,
                                                 QString *error);

    void offer(const ReadUnit &unit);
    // Sets the values; false with *error, translation untouched, when no
    // target language was given and the memories hold several.
    bool fill(EntryList &translation, PretranslateReport &report, QString *error) const;

private:
    struct Candidate
    {
        QString language; // lower-case; empty when the target language was given
        QString target;
        qsizetype places = 0;
        QString changeDate;
    };
    struct Wanted
    {
        std::vector<std::pair<qsizetype, qint16>> entries; // the translation's positions and indexes, in row order
        std::vector<Candidate> candidates;                 // in the order offered
    };
    qsizetype pickSource(const ReadUnit &unit) const;
    qsizetype pickTarget(const ReadUnit &unit, qsizetype source) const;

    QString m_sourceLanguage;
    QString m_targetLanguage;
    QHash<QString, qsizetype> m_bySource; // an original's text -> its place in m_wanted
    std::vector<Wanted> m_wanted;
    QSet<QString> m_languages; // every target language met, lower-case, without a target language given
    PretranslateReport m_counts;
};

} // namespace wendaro
