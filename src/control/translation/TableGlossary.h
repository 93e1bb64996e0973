// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/translation/Glossary.h"

#include <QObject>
#include <QString>
#include <QStringList>

#include <vector>

namespace wendaro {

class Document;
class UserInterface;

// The glossaries of the open table: files of terms opened beside an
// original (Ctrl+G, --glossary), remembered for the table as its memories
// are and opened again with it, closed with the original. All their terms
// are one glossary, in the order opened.
class TableGlossary : public QObject
{
    Q_OBJECT
public:
    TableGlossary(Document &state, UserInterface &ui);

    // Files to open once an original is open (the command line's).
    void openWithOriginal(const QStringList &paths) { m_pending = paths; }
    // Ctrl+G: the file dialog, then openGlossaries. Nothing without an original.
    void chooseGlossaries();
    // Reads each file as a glossary of the table; one that cannot be read
    // gets the load's message box and changes nothing.
    void openGlossaries(const QStringList &paths);

    qsizetype termCount() const { return m_glossary.size(); }
    // The terms of the row's original, in their order there.
    std::vector<GlossaryTerm> termsOf(qsizetype position) const;
    // The glossary check's findings for the row.
    QStringList findingsOf(qsizetype position) const;

signals:
    // A glossary was opened, or they all closed.
    void glossariesChanged();

private:
    bool openGlossary(const QString &path, bool boxOnError);
    void originalOpened(bool open);

    Document &m_state;
    UserInterface &m_ui;
    QStringList m_pending;
    QStringList m_paths; // absolute, in the order opened
    QString m_tablePath;
    Glossary m_glossary;
    QString m_dialogFileName;
};

} // namespace wendaro
