// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QByteArrayList>
#include <QList>
#include <QRegularExpression>

#include <optional>

namespace wendaro {
class CodePage;
}

namespace wendaro::cli {

struct StatusOptions
{
    QByteArray against;                    // the original that the table translates
    std::optional<QByteArray> oldOriginal; // the original the translation was made from
    bool json = false;                     // one JSON object on stdout instead of lines
    std::optional<QByteArray> glossary;    // a glossary whose terms the translation must keep
};

// Prints how far table translates its original, the counts the window's
// translation panel shows: "翻訳済み T / N（P %）", then "word count" for
// 未訳, 要確認, 問題, 原文なし and 不足. Exit 0, or 1 after a read error, or
// 2 when stdout could not be written.
int status(const QByteArray &table, const StatusOptions &options, const CodePage &codePage);

// status --pairs-from: the counts of every table of two folders, paired by
// their paths inside (the originals' folder first), one line each, then
// the total; a table that cannot be read is told on stderr and the others
// are still counted. Exit 0, 1 after a read error, 2 when stdout could not
// be written.
int projectStatus(const QByteArrayList &operands, const QList<QRegularExpression> &includes, bool json,
                  const CodePage &codePage);

} // namespace wendaro::cli
