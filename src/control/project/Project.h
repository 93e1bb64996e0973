// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "control/project/ProjectTableModel.h"

#include "core/text/CodePage.h"

#include <QFuture>
#include <QObject>
#include <QString>
#include <QThreadPool>

#include <atomic>
#include <memory>
#include <mutex>
#include <vector>

namespace wendaro {

class Document;
class DocumentSession;
class MemorySuggestions;
class TranslationEditing;
class UserInterface;

// A translation of many tables: the folder of originals and the folder of
// their translations, every table of either paired by its path inside. The
// tables are counted on workers, each as soon as it is read; the one open
// in the window follows its rows. Their pairs of texts become a memory of
// the suggestions once all are read. The last five projects are
// remembered.
class Project : public QObject
{
    Q_OBJECT
public:
    Project(Document &state, DocumentSession &session, TranslationEditing &translation, MemorySuggestions &suggestions,
            UserInterface &ui, CodePage codePage);
    ~Project() override;

    bool isOpen() const { return !m_translations.isEmpty(); }
    QString originalsFolder() const { return m_originals; }
    QString translationsFolder() const { return m_translations; }
    ProjectTableModel &model() { return m_model; }
    // Tables are still being counted.
    bool isCounting() const { return m_uncounted > 0; }
    // The table open in the window, or -1.
    qsizetype currentTable() const { return m_current; }

    // Ctrl+Shift+O: a remembered project or two folder dialogs, then open.
    void choose();
    // Opens the project of the two folders, replacing the one open. A path
    // that is no folder gets a box and changes nothing.
    bool open(const QString &originals, const QString &translations);
    // The project opened last, if any; false when none is remembered.
    bool reopenLast();
    // Double click or Enter on a row: its translation with its original,
    // after the save prompt. A table with no translation yet becomes a new
    // one at its place in the translations' folder, every row of the
    // original to translate, written there by the first save.
    void openTable(qsizetype number);
    // Ctrl+PageDown / Ctrl+PageUp: the next or previous table in the
    // panel's order with rows to work on, at its first such row.
    void goToTable(int step);

    // The projects remembered, newest first, as pairs of folders.
    static std::vector<std::pair<QString, QString>> recentProjects();

signals:
    // A project was opened (its rows are in the model).
    void opened();
    // Another table of the project (or none) is open in the window.
    void currentTableChanged();

private:
    void countTables();
    void takeProgress(quint64 generation, qsizetype number, TableProgress progress);
    void buildMemory();
    void pathChanged(const QString &path);
    void followCounts();
    void recount(qsizetype number);
    void goToFirstWork();
    void remember() const;
    QString originalPath(qsizetype number) const;
    QString translationPath(qsizetype number) const;

    Document &m_state;
    DocumentSession &m_session;
    TranslationEditing &m_translation;
    MemorySuggestions &m_suggestions;
    UserInterface &m_ui;
    CodePage m_codePage;
    QString m_originals;
    QString m_translations;
    ProjectTableModel m_model;
    qsizetype m_current = -1;
    qsizetype m_uncounted = 0;
    bool m_countsQueued = false;
    quint64 m_generation = 0;
    std::shared_ptr<std::atomic<bool>> m_stop;
    std::vector<QFuture<void>> m_running;
    // The counts run on a pool of their own: Qt paints through the shared
    // one, and a window whose painting waits behind a project's tables
    // freezes until they are all counted.
    QThreadPool m_pool;
    // The pairs of texts of the tables counted so far, each distinct pair
    // once, gathered on the workers until the memory is built.
    struct Gathered
    {
        std::mutex mutex;
        MemoryGathering gathering;
    };
    std::shared_ptr<Gathered> m_gathered;
};

} // namespace wendaro
