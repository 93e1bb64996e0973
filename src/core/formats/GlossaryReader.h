// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QString>

namespace wendaro {

class Glossary;

// Reads a glossary into into, in one of three forms:
// - TBX (TBX-Basic's martif, termEntry, langSet, tig/ntig and term, or the
//   newer tbx, conceptEntry, langSec and termSec), known by its content: a
//   term's source in sourceLanguage (empty: the document's xml:lang, else
//   the first language met), its targets in targetLanguage (empty: every
//   other language), matched as pretranslate matches languages; a note or
//   descrip of the entry is the comment;
// - CSV (the name ends in ".csv"): source, target, comment, a header line
//   naming them allowed;
// - otherwise tab-separated lines, source TAB target [TAB comment], as
//   OmegaT writes them; empty lines and lines starting with "#" are none.
// All in UTF-8, a byte-order mark skipped. False with *error saying what
// is wrong and *line where (from 1), into untouched: a line without a
// target, XML that is not well-formed, a DOCTYPE that declares entities.
bool readGlossary(const QString &name, const QByteArray &bytes, const QString &sourceLanguage,
                  const QString &targetLanguage, Glossary &into, qint64 *line, QString *error);

} // namespace wendaro
