// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QStringList>
#include <QStringView>

#include <optional>

namespace wendaro {

class CodePage;

// Why a table cannot be saved: the limits both writers enforce and the
// wording of each refusal, for the one walk over the rows that the writers
// and check share (SaveRules.h).
namespace refusal {

// A row is given by its position in the list; a message names it counted
// from 1, as the person reading it counts rows.

// "N 番目の項目（インデックス I）の" + part: the row a refusal is about.
QString rowPart(qsizetype position, QStringView index, const QString &part);
// "N 番目の項目のインデックス": a row whose index text is the problem.
QString rowIndex(qsizetype position);
// The character at of text, within what (a row part or a field), that the
// code page cannot represent.
QString unrepresentable(const QString &what, QStringView text, qsizetype at, const CodePage &codePage);

// check's addition to a refusal about what: how many more of its sort it holds.
QString andMore(qsizetype more, const QString &what);

// STF: too many rows for the count fields.
std::optional<QString> stfEntryCount(qsizetype count);
// STF: two rows of one index, which a reader could not tell apart.
QString stfSharedIndex(qsizetype firstPosition, qsizetype position, qint16 index);
// STF, as check tells it: the rows of one index, where names them.
QString stfIndexOnRows(qint16 index, qsizetype rows, const QStringList &where);
// STF: savedLength is the value's length with its line breaks as CR LF.
std::optional<QString> stfValueLength(qsizetype position, qint16 index, qsizetype savedLength);
// STF: the name's byte count in the code page.
std::optional<QString> stfNameLength(qsizetype position, qint16 index, qsizetype byteCount, const CodePage &codePage);

// Text: the characters that would split a row's line or its fields, and
// those that would split a directive line.
inline constexpr QStringView TextFieldSeparators = u"\t\r\n";
inline constexpr QStringView TextLineBreaks = u"\r\n";
// The first character of text that is one of separators, or -1.
qsizetype firstOf(QStringView text, QStringView separators);
// "TAB", "CR" or "LF": how a refusal names one of those characters.
QString separatorName(QChar c);
// Text: a separator c at of what.
QString textSeparator(const QString &what, qsizetype at, QChar c);

} // namespace refusal

} // namespace wendaro
