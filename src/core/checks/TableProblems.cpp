// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/checks/TableProblems.h"

#include "core/text/CodePage.h"
#include "core/model/EntryList.h"
#include "core/model/IndexText.h"
#include "core/text/LineBreaks.h"
#include "core/text/Spaces.h"
#include "core/model/TextFields.h"
#include "core/checks/SaveRefusals.h"

#include <QByteArray>
#include <QStringList>

namespace wendaro {

namespace {

// The characters of a text that the code page cannot hold: the first one,
// how many there are, and the bytes the others take.
struct Unwritable
{
    qsizetype first = -1;
    qsizetype count = 0;
    qsizetype bytes = 0;
};

// scratch is the caller's, so that one allocation serves every text of a table.
Unwritable scan(QStringView text, const CodePage &codePage, QByteArray &scratch)
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
        from += bad + 1;
        // A surrogate pair is refused as one character.
        if (from < text.size() && text[from - 1].isHighSurrogate() && text[from].isLowSurrogate())
            ++from;
    }
}

QString andMore(qsizetype more, const QString &what)
{
    return more <= 0 ? QString() : QStringLiteral("%1にはほかにも %2 か所あります。").arg(what).arg(more);
}

// What a refusal is about is named only once there is one: building
// "N 番目の項目（インデックス I）の名前" for every row would cost more than
// looking at the row. what is called for the name.
//
// The separator refusal for the first of them in text, and how many more there are.
template<typename What>
std::optional<QString> separators(const What &what, QStringView text, QStringView separators)
{
    const qsizetype at = refusal::firstOf(text, separators);
    if (at < 0)
        return std::nullopt;
    qsizetype more = 0;
    for (qsizetype i = at + 1; i < text.size(); ++i)
        more += separators.contains(text[i]) ? 1 : 0;
    const QString named = what();
    return refusal::textSeparator(named, at, text[at]) + andMore(more, named);
}

template<typename What>
std::optional<QString> unwritable(const What &what, QStringView text, const Unwritable &found,
                                  const CodePage &codePage)
{
    if (found.count == 0)
        return std::nullopt;
    const QString named = what();
    return refusal::unrepresentable(named, text, found.first, codePage) + andMore(found.count - 1, named);
}

QString label(Problem::Kind kind)
{
    switch (kind) {
    case Problem::Kind::Stf:
        return QStringLiteral("STF に保存できません: ");
    case Problem::Kind::Text:
        return QStringLiteral("テキスト形式に保存できません: ");
    case Problem::Kind::StfAndText:
        return QStringLiteral("STF にもテキスト形式にも保存できません: ");
    case Problem::Kind::Read:
    case Problem::Kind::Translation:
        break;
    }
    return QString();
}

class Collector
{
public:
    Collector(const EntryList &rows, const RowPlaces &places, PlaceKind placeKind)
        : m_rows(rows), m_places(places), m_placeKind(placeKind)
    {
    }

    qint64 placeOf(qsizetype position) const
    {
        return m_places.of(position);
    }

    // How a message names the row: by its place in the file, else by position.
    QString rowPlace(qsizetype position) const
    {
        const qint64 place = placeOf(position);
        if (place < 0)
            return QStringLiteral("%1 番目の項目").arg(position);
        return m_placeKind == PlaceKind::Line ? QStringLiteral("%1 行目").arg(place)
                                              : QStringLiteral("オフセット %1").arg(place);
    }

    void add(Problem::Kind kind, qsizetype position, std::optional<qint16> index, const std::optional<QString> &what)
    {
        if (!what)
            return;
        Problem problem;
        problem.kind = kind;
        problem.place = placeOf(position);
        problem.index = index;
        if (position > 0)
            problem.name = m_rows.at(position).name;
        problem.message = label(kind) + *what;
        problems.append(std::move(problem));
    }

    QList<Problem> problems;

private:
    const EntryList &m_rows;
    const RowPlaces &m_places;
    PlaceKind m_placeKind;
};

} // namespace

QList<Problem> tableProblems(const EntryList &rows, const TextFields &fields, const CodePage &codePage,
                             const RowPlaces &places, PlaceKind placeKind)
{
    using Kind = Problem::Kind;
    Collector found(rows, places, placeKind);
    const qsizetype count = rows.count();

    found.add(Kind::Stf, 0, std::nullopt, refusal::stfEntryCount(count));
    QByteArray scratch;
    const auto outputFile = [] { return QStringLiteral("出力先ファイル"); };
    const auto memo = [] { return QStringLiteral("メモ"); };
    found.add(Kind::Text, 0, std::nullopt, separators(outputFile, fields.outputFile, refusal::TextLineBreaks));
    found.add(Kind::Text, 0, std::nullopt, separators(memo, fields.memo, refusal::TextLineBreaks));
    // The output-file line holds the path without its outer spaces.
    const QStringView outputFilePath = trimSpaces(fields.outputFile);
    found.add(Kind::Text, 0, std::nullopt,
              unwritable(outputFile, outputFilePath, scan(outputFilePath, codePage, scratch), codePage));
    found.add(Kind::Text, 0, std::nullopt,
              unwritable(memo, fields.memo, scan(fields.memo, codePage, scratch), codePage));

    // Every row of an index, so that one finding names them all: how many
    // rows each index has, and from each row the next one of its index.
    std::vector<std::optional<qint16>> indexes(size_t(count) + 1);
    // Kept as the rows keep their keys: a small table needs a few blocks,
    // not a slot for every index.
    KeyPositions rowsOfIndex;
    KeyPositions lastOfIndex;
    std::vector<qsizetype> nextOfIndex(size_t(count) + 1);
    for (qsizetype position = 1; position <= count; ++position) {
        QString error;
        const std::optional<qint16> index = indexToSave(position, rows.at(position).indexText, &error);
        indexes[size_t(position)] = index;
        if (!index)
            continue;
        rowsOfIndex.insert(*index, rowsOfIndex.value(*index) + 1);
        if (const qsizetype last = lastOfIndex.value(*index))
            nextOfIndex[size_t(last)] = position;
        lastOfIndex.insert(*index, position);
    }

    for (qsizetype position = 1; position <= count; ++position) {
        const Entry &entry = rows.at(position);
        const std::optional<qint16> index = indexes[size_t(position)];
        const QStringView indexShown = trimSpaces(entry.indexText);
        const auto part = [position, indexShown](const QString &what) {
            return [position, indexShown, what] { return refusal::rowPart(position, indexShown, what); };
        };

        if (!index) {
            QString error;
            indexToSave(position, entry.indexText, &error);
            found.add(Kind::StfAndText, position, std::nullopt, error);
            found.add(Kind::Text, position, std::nullopt,
                      separators([position] { return refusal::rowIndex(position); }, indexShown,
                                 refusal::TextFieldSeparators));
        } else if (const qsizetype shared = rowsOfIndex.value(*index); shared > 1) {
            // The first row of the index reports them all; the others are skipped.
            rowsOfIndex.insert(*index, 0);
            // A file with one index on thousands of rows still gets a line one can read.
            constexpr qsizetype MaxPlacesNamed = 20;
            QStringList where;
            for (qsizetype at = position; at != 0 && where.size() < MaxPlacesNamed; at = nextOfIndex[size_t(at)])
                where << found.rowPlace(at);
            if (shared > MaxPlacesNamed)
                where << QStringLiteral("ほか %1 か所").arg(shared - MaxPlacesNamed);
            found.add(Kind::Stf, position, index,
                      QStringLiteral("インデックス %1 の項目が %2 個あります（%3）。"
                                     "同じインデックスの項目が二つ以上ある表は STF ファイルに保存できません。")
                          .arg(*index)
                          .arg(shared)
                          .arg(where.join(QStringLiteral("、"))));
        }

        const Unwritable inName = scan(entry.name, codePage, scratch);
        found.add(Kind::StfAndText, position, index,
                  unwritable(part(QStringLiteral("名前")), entry.name, inName, codePage));
        if (index) {
            found.add(Kind::Stf, position, index, refusal::stfNameLength(position, *index, inName.bytes, codePage));
            found.add(Kind::Stf, position, index,
                      refusal::stfValueLength(position, *index, entry.value.fileLength()));
        }
        found.add(Kind::Text, position, index,
                  separators(part(QStringLiteral("名前")), entry.name, refusal::TextFieldSeparators));
        // A value still in its file is looked at there, without decoding it:
        // its CR LF pairs are line breaks, "<br>" in the value, which any
        // code page writes. Only a value with something to report is
        // decoded, to say where.
        if (const std::optional<QStringView> units = entry.value.fileUnits();
            units && !refusal::holdsSeparatorBesidesLineBreaks(*units, refusal::TextFieldSeparators)
            && (codePage.writesPlainly(*units) || scan(*units, codePage, scratch).count == 0))
            continue;
        entry.value.withView([&](QStringView value) {
            found.add(Kind::Text, position, index,
                      separators(part(QStringLiteral("値")), value, refusal::TextFieldSeparators));
            found.add(Kind::Text, position, index,
                      unwritable(part(QStringLiteral("値")), value, scan(value, codePage, scratch), codePage));
        });
    }
    return found.problems;
}

} // namespace wendaro
