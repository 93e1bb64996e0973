// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "control/tasks/LatestTask.h"

#include "core/translation/FuzzyIndex.h"
#include "core/translation/Suggestions.h"

#include <QObject>
#include <QString>
#include <QStringList>

#include <memory>
#include <vector>

namespace wendaro {

class Document;
class EntryList;
class UserInterface;

// The translation memories of the open table and the suggestions they make
// for the selected row. The memories are TMX files opened beside an
// original, remembered for the table (by its absolute path) and opened
// again with it; the table is a memory too, each translated row a unit from
// its original's value to its value, as it is now. The selected row's
// suggestions are looked up on a worker; moving to another row drops the
// lookup under way.
class MemorySuggestions : public QObject
{
    Q_OBJECT
public:
    MemorySuggestions(Document &state, UserInterface &ui);
    ~MemorySuggestions() override;

    // The least score a suggestion needs.
    void setMinMatch(int percent);
    // Files to open as memories once an original is open (the command line's).
    void openWithOriginal(const QStringList &paths) { m_pending = paths; }
    // Ctrl+M: the file dialog, then openMemories. Nothing without an original.
    void chooseMemories();
    // Reads each TMX file as a memory of the table, asking for the language
    // of the translations where a file holds several. A file that cannot be
    // read gets the load's message box and changes nothing.
    void openMemories(const QStringList &paths);

    // The memory of a project's tables, each unit keyed by its table's
    // number; name is how a suggestion names where it comes from. It stays
    // open from table to table. self: the table open, whose own units the
    // table's rows already offer as they are now.
    void setProjectMemory(std::shared_ptr<const FuzzyIndex> index, const QString &name, qint32 self);
    void setProjectTable(qint32 self);

    // The units of the open memories, the table's own rows aside.
    qsizetype unitCount() const;
    // The language the first memory's translations are in, or empty.
    QString translationLanguage() const
    {
        return m_memories.empty() ? QString() : m_memories.front().translationLanguage;
    }
    // A lookup is under way or about to start; or the table's rows are
    // still being indexed.
    bool isLookingUp() const { return m_lookupQueued || m_lookup.isRunning(); }
    bool isIndexing() const { return m_tableIndexing.isRunning(); }
    // The selected row's suggestions, best first; empty while looking up.
    const std::vector<Suggestion> &suggestions() const { return m_suggestions; }
    // Ctrl+1 to Ctrl+5 (number from 0): the suggestion's translation becomes
    // the selected row's value, one command of the history. False when
    // nothing changed.
    bool useSuggestion(qsizetype number);

signals:
    // A memory was opened or they all closed.
    void memoriesChanged();
    // A lookup began or ended.
    void suggestionsChanged();

private:
    struct OpenMemory
    {
        QString path;
        QString language; // of its translations, as chosen; empty when it holds one
        std::shared_ptr<const FuzzyIndex> index;
        QString translationLanguage; // what its translations are in
    };
    // Reads one file; remembered for the table when it is opened.
    bool openMemory(const QString &path, QString language, bool askLanguage);
    void statesReset();
    void originalOpened(bool open);
    void indexTable();
    void lookUpSoon();
    void lookUp();
    void takeSuggestions(std::vector<Suggestion> found, qsizetype row);
    void remember() const;

    Document &m_state;
    UserInterface &m_ui;
    int m_minMatch = DefaultMinMatch;
    QStringList m_pending;
    std::vector<OpenMemory> m_memories;
    QString m_tablePath;                          // the table the memories are of
    const EntryList *m_indexedOriginal = nullptr; // the original m_table was made of
    std::shared_ptr<const FuzzyIndex> m_table;
    std::shared_ptr<const FuzzyIndex> m_project;
    QString m_projectName;
    qint32 m_projectSelf = -1;
    std::vector<Suggestion> m_suggestions;
    qsizetype m_suggestionsRow = -1;
    bool m_lookupQueued = false;
    QString m_dialogFileName;
    LatestTask m_tableIndexing{*this};
    LatestTask m_lookup{*this};
};

} // namespace wendaro
