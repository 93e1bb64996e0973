// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/checks/SaveRules.h"

#include "core/checks/SaveRefusals.h"
#include "core/checks/StfLimits.h"
#include "core/model/EntryList.h"
#include "core/model/IndexText.h"
#include "core/model/TextFields.h"
#include "core/text/CodePage.h"
#include "core/text/Spaces.h"

#include <QByteArray>
#include <QStringList>

namespace wendaro {

QString SaveRefusalSink::rowPlace(qsizetype position) const
{
    return QStringLiteral("%1 番目の項目").arg(position + 1);
}

bool FirstSaveRefusal::refuse(SaveRefusal refusal)
{
    m_message = std::move(refusal.message);
    return false;
}

namespace {

using Kind = Problem::Kind;

// The characters of a text that the code page cannot hold: the first one,
// how many there are, and the bytes the others take.
struct Unwritable
{
    qsizetype first = -1;
    qsizetype count = 0;
    qsizetype bytes = 0;
};

// scratch is the caller's, so that one allocation serves every text of a
// table. Without all, the look stops at the first such character.
Unwritable scan(QStringView text, const CodePage &codePage, QByteArray &scratch, bool all)
{
    Unwritable found;
    qsizetype from = 0;
    for (;;) {
        scratch.resize(0); // keeps the capacity
        const qsizetype bad = codePage.encode(text.sliced(from), scratch);
        found.bytes += scratch.size();
        if (bad < 0)
            return found;
        if (found.first < 0)
            found.first = from + bad;
        ++found.count;
        if (!all)
            return found;
        from += bad + 1;
        // A surrogate pair is refused as one character.
        if (from < text.size() && text[from - 1].isHighSurrogate() && text[from].isLowSurrogate())
            ++from;
    }
}

class RuleWalk
{
public:
    RuleWalk(const EntryList &rows, const CodePage &codePage, SaveForms forms, SaveRefusalSink &sink, StfRowFields *stf)
        : m_rows(rows), m_codePage(codePage), m_sink(sink), m_stf(stf), m_all(sink.wantsAll()),
          m_forStf(int(forms) & int(SaveForms::Stf)), m_forText(int(forms) & int(SaveForms::Text)),
          m_bothKind(m_forStf && m_forText ? Kind::StfAndText
                     : m_forStf            ? Kind::Stf
                                           : Kind::Text)
    {
    }

    bool run(const TextFields &fields);

private:
    bool tableRules(const TextFields &fields);
    bool rowsInOrder();
    bool sharedIndexesTold();
    bool valueLengths();
    bool names();
    bool refuse(Kind kind, SaveRule rule, qsizetype position, std::optional<qint16> index,
                std::optional<QString> message)
    {
        return !message || m_sink.refuse({kind, rule, position, index, std::move(*message)});
    }
    bool fieldRules(SaveRule separatorRule, SaveRule characterRule, const QString &text, QStringView written,
                    const QString &what);
    bool indexRules(qsizetype position, const Entry &entry, std::optional<qint16> &index);
    bool sharedIndex(qsizetype position, qint16 index);
    bool textRules(qsizetype position, const Entry &entry, std::optional<qint16> index);
    QString rowPart(qsizetype position, const QString &part) const;
    template<typename What>
    std::optional<QString> separators(const What &what, QStringView text, QStringView separators) const;
    Unwritable scan(QStringView text) { return wendaro::scan(text, m_codePage, m_scratch, m_all); }
    template<typename What>
    std::optional<QString> unwritable(const What &what, QStringView text, const Unwritable &found) const;

    const EntryList &m_rows;
    const CodePage &m_codePage;
    SaveRefusalSink &m_sink;
    StfRowFields *const m_stf;
    const bool m_all;
    const bool m_forStf;
    const bool m_forText;
    const Kind m_bothKind; // a refusal that both forms would make
    QByteArray m_scratch;
    // The indexes of the rows, kept when a later walk over the rows needs them.
    std::vector<std::optional<qint16>> m_indexes;
    // The last row so far of each index; for check also how many rows have
    // it, where it is shared, and from each row the next one of its index
    // (-1 after the last). Kept as the rows keep their keys: a small table
    // needs a few blocks, not a slot for every index; an index not met yet
    // has -1 in both.
    KeyPositions m_lastOfIndex;
    KeyPositions m_rowsOfIndex;
    std::vector<qsizetype> m_nextOfIndex;
    std::vector<qsizetype> m_sharedFrom;
};

// What a refusal is about is named only once there is one: building
// "N 番目の項目（インデックス I）の名前" for every row would cost more than
// looking at the row. what is called for the name.
//
// The separator refusal for the first of them in text; for check, with how
// many more there are.
template<typename What>
std::optional<QString> RuleWalk::separators(const What &what, QStringView text, QStringView separators) const
{
    const qsizetype at = refusal::firstOf(text, separators);
    if (at < 0)
        return std::nullopt;
    const QString named = what();
    if (!m_all)
        return refusal::textSeparator(named, at, text[at]);
    qsizetype more = 0;
    for (qsizetype i = at + 1; i < text.size(); ++i)
        more += separators.contains(text[i]) ? 1 : 0;
    return refusal::textSeparator(named, at, text[at]) + refusal::andMore(more, named);
}

template<typename What>
std::optional<QString> RuleWalk::unwritable(const What &what, QStringView text, const Unwritable &found) const
{
    if (found.count == 0)
        return std::nullopt;
    const QString named = what();
    const QString refused = refusal::unrepresentable(named, text, found.first, m_codePage);
    return m_all ? refused + refusal::andMore(found.count - 1, named) : refused;
}

QString RuleWalk::rowPart(qsizetype position, const QString &part) const
{
    // An STF file holds the index as a number, which its writer names; the
    // text form holds the index text as it is.
    const QStringView indexText = trimSpaces(m_rows.at(position).indexText);
    if (m_forText)
        return refusal::rowPart(position, indexText, part);
    return refusal::rowPart(position, QString::number(*m_indexes[size_t(position)]), part);
}

bool RuleWalk::tableRules(const TextFields &fields)
{
    if (m_forStf && !refuse(Kind::Stf, SaveRule::EntryCount, -1, std::nullopt, refusal::stfEntryCount(m_rows.count())))
        return false;
    if (!m_forText)
        return true;
    // The output-file line holds the path without its outer spaces.
    return fieldRules(SaveRule::OutputFileSeparator, SaveRule::OutputFileCharacter, fields.outputFile,
                      trimSpaces(fields.outputFile), QStringLiteral("出力先ファイル"))
           && fieldRules(SaveRule::MemoSeparator, SaveRule::MemoCharacter, fields.memo, fields.memo,
                         QStringLiteral("メモ"));
}

bool RuleWalk::fieldRules(SaveRule separatorRule, SaveRule characterRule, const QString &text, QStringView written,
                          const QString &what)
{
    const auto named = [&what] { return what; };
    return refuse(Kind::Text, separatorRule, -1, std::nullopt, separators(named, text, refusal::TextLineBreaks))
           && (!m_all
               || refuse(Kind::Text, characterRule, -1, std::nullopt, unwritable(named, written, scan(written))));
}

bool RuleWalk::rowsInOrder()
{
    const qsizetype count = m_rows.count();
    // The STF writer's later walks and check's need the indexes; the text
    // writer's does not.
    const bool keepIndexes = m_forStf || m_all;
    if (keepIndexes)
        m_indexes.reserve(size_t(count));
    if (m_forStf && m_all)
        m_nextOfIndex.assign(size_t(count), -1);
    for (qsizetype position = 0; position < count; ++position) {
        const Entry &entry = m_rows.at(position);
        std::optional<qint16> index;
        if (!indexRules(position, entry, index))
            return false;
        if (keepIndexes)
            m_indexes.push_back(index);
        if (m_forStf && index && !sharedIndex(position, *index))
            return false;
        if (m_forText && !textRules(position, entry, index))
            return false;
    }
    return true;
}

bool RuleWalk::indexRules(qsizetype position, const Entry &entry, std::optional<qint16> &index)
{
    QString error;
    index = indexToSave(position, entry.indexText, &error);
    if (index)
        return true;
    // The text reader makes a row of a line only when its first field is a
    // number; any other index would lose the row or shift its fields, and a
    // separator in it would split them.
    if (m_forText) {
        const auto what = [position] { return refusal::rowIndex(position); };
        if (!refuse(Kind::Text, SaveRule::IndexSeparator, position, std::nullopt,
                    separators(what, trimSpaces(entry.indexText), refusal::TextFieldSeparators)))
            return false;
    }
    return refuse(m_bothKind, SaveRule::IndexNotNumber, position, std::nullopt, std::move(error));
}

bool RuleWalk::sharedIndex(qsizetype position, qint16 index)
{
    // Two rows of one index could not be told apart when read back. A
    // writer stops at the second; check tells every row of the index at the
    // first, once it has seen them all.
    const qsizetype last = m_lastOfIndex.value(index);
    m_lastOfIndex.insert(index, position);
    if (last < 0)
        return true;
    if (!m_all)
        return refuse(Kind::Stf, SaveRule::SharedIndex, position, index,
                      refusal::stfSharedIndex(last, position, index));
    m_nextOfIndex[size_t(last)] = position;
    const qsizetype shared = m_rowsOfIndex.value(index);
    if (shared < 0)
        m_sharedFrom.push_back(last);
    m_rowsOfIndex.insert(index, shared < 0 ? 2 : shared + 1);
    return true;
}

bool RuleWalk::sharedIndexesTold()
{
    // A file with one index on thousands of rows still gets a line one can read.
    constexpr qsizetype MaxPlacesNamed = 20;
    for (const qsizetype first : m_sharedFrom) {
        const qint16 index = *m_indexes[size_t(first)];
        const qsizetype shared = m_rowsOfIndex.value(index);
        QStringList where;
        for (qsizetype at = first; at >= 0 && where.size() < MaxPlacesNamed; at = m_nextOfIndex[size_t(at)])
            where << m_sink.rowPlace(at);
        if (shared > MaxPlacesNamed)
            where << QStringLiteral("ほか %1 か所").arg(shared - MaxPlacesNamed);
        if (!refuse(Kind::Stf, SaveRule::SharedIndex, first, index, refusal::stfIndexOnRows(index, shared, where)))
            return false;
    }
    return true;
}

bool RuleWalk::textRules(qsizetype position, const Entry &entry, std::optional<qint16> index)
{
    const QStringView fieldSeparators = refusal::TextFieldSeparators;
    const auto name = [this, position] { return rowPart(position, QStringLiteral("名前")); };
    const auto valuePart = [this, position] { return rowPart(position, QStringLiteral("値")); };
    if (!refuse(Kind::Text, SaveRule::NameSeparator, position, index, separators(name, entry.name, fieldSeparators)))
        return false;
    // A value still in a text file of this code page is written as the
    // bytes it was read from: a field, which holds no TAB, CR or LF, and
    // bytes that read back as they were read.
    if (entry.value.bytesIn(m_codePage))
        return true;
    // A value still in its binary file is looked at there, without decoding
    // it, and mostly not at all: its reading saw whether it holds a
    // separator besides its CR LF pairs, which are line breaks, "<br>" in
    // the value, which any code page writes. Only a value with something to
    // report is decoded, to say where.
    const ValueText &value = entry.value;
    if (const std::optional<QStringView> units = value.fileUnits();
        units && value.fileUnitsWithoutSeparators()
        && (!m_all || (value.fileUnitsAscii() && m_codePage.writesAsciiPlainly()) || m_codePage.writesPlainly(*units)
            || wendaro::scan(*units, m_codePage, m_scratch, false).count == 0))
        return true;
    return value.withView([&](QStringView text) {
        return refuse(Kind::Text, SaveRule::ValueSeparator, position, index,
                      separators(valuePart, text, fieldSeparators))
               && (!m_all
                   || refuse(Kind::Text, SaveRule::ValueCharacter, position, index,
                             unwritable(valuePart, text, scan(text))));
    });
}

bool RuleWalk::valueLengths()
{
    for (qsizetype position = 0; position < m_rows.count(); ++position) {
        const std::optional<qint16> index = m_indexes[size_t(position)];
        if (!index)
            continue;
        // Most values are short enough by a bound known without a look at
        // their characters; only a longer one is measured.
        const ValueText &value = m_rows.at(position).value;
        const qsizetype atMost = value.fileLengthAtMost();
        const qsizetype length = atMost > stf::MaxLength ? value.fileLength() : atMost;
        if (!refuse(Kind::Stf, SaveRule::ValueLength, position, index,
                    refusal::stfValueLength(position, *index, length)))
            return false;
    }
    return true;
}

bool RuleWalk::names()
{
    // Names are encoded here and again when written, rather than kept:
    // kept, they could take as much memory as the values.
    for (qsizetype position = 0; position < m_rows.count(); ++position) {
        const std::optional<qint16> index = m_indexes[size_t(position)];
        const QString &name = m_rows.at(position).name;
        const auto what = [this, position] { return rowPart(position, QStringLiteral("名前")); };
        const Unwritable found = scan(name);
        if (!refuse(m_bothKind, SaveRule::NameCharacter, position, index, unwritable(what, name, found)))
            return false;
        // The reader takes the length as a byte count.
        if (m_forStf && index
            && !refuse(Kind::Stf, SaveRule::NameLength, position, index,
                       refusal::stfNameLength(position, *index, found.bytes, m_codePage)))
            return false;
    }
    return true;
}

bool RuleWalk::run(const TextFields &fields)
{
    // The STF writer looks at every index before any value and at every
    // value before any name, in the order in which the file holds them; the
    // text writer looks at a row's line whole before the next.
    if (!tableRules(fields) || !rowsInOrder())
        return false;
    if (m_forStf && m_all && !sharedIndexesTold())
        return false;
    if (m_forStf && !valueLengths())
        return false;
    if ((m_forStf || m_all) && !names())
        return false;
    if (m_stf)
        m_stf->indexes = std::move(m_indexes);
    return true;
}

} // namespace

bool walkSaveRules(const EntryList &rows, const TextFields &fields, const CodePage &codePage, SaveForms forms,
                   SaveRefusalSink &sink, StfRowFields *stf)
{
    return RuleWalk(rows, codePage, forms, sink, stf).run(fields);
}

} // namespace wendaro
