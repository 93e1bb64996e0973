// SPDX-License-Identifier: GPL-3.0-or-later
#include "control/project/Project.h"

#include "control/document/Document.h"
#include "control/document/DocumentSession.h"
#include "control/translation/MemorySuggestions.h"
#include "control/translation/TranslationEditing.h"
#include "control/window/MessageBoxes.h"
#include "control/window/UserInterface.h"

#include "core/document/DocumentFile.h"
#include "core/translation/FuzzyIndex.h"
#include "core/translation/Suggestions.h"

#include <QDir>
#include <QFileInfo>
#include <QSettings>
#include <QtConcurrent/QtConcurrentRun>

namespace wendaro {

namespace {

const QString RecentKey = QStringLiteral("projects/recent");
constexpr qsizetype RecentCount = 5;
const QString OtherFolders = QStringLiteral("別のフォルダーを選ぶ…");

QString absoluteFolder(const QString &path)
{
    return QDir::cleanPath(QFileInfo(path).absoluteFilePath());
}

QString projectName(const std::pair<QString, QString> &folders)
{
    return QDir::toNativeSeparators(folders.first) + QStringLiteral(" → ") + QDir::toNativeSeparators(folders.second);
}

} // namespace

Project::Project(Document &state, DocumentSession &session, TranslationEditing &translation,
                 MemorySuggestions &suggestions, UserInterface &ui, CodePage codePage)
    : m_state(state), m_session(session), m_translation(translation), m_suggestions(suggestions), m_ui(ui),
      m_codePage(std::move(codePage))
{
    TranslationStatus &status = m_state.translationStatus();
    connect(&status, &TranslationStatus::rowStateChanged, this, &Project::followCounts);
    connect(&status, &TranslationStatus::statesReset, this, &Project::followCounts);
    connect(&m_state, &Document::pathChanged, this, &Project::pathChanged);
    connect(&m_state, &Document::saved, this, &Project::followCounts);
}

Project::~Project()
{
    if (m_stop)
        m_stop->store(true);
    for (QFuture<void> &running : m_running)
        running.waitForFinished();
}

std::vector<std::pair<QString, QString>> Project::recentProjects()
{
    const QStringList folders = QSettings().value(RecentKey).toStringList();
    std::vector<std::pair<QString, QString>> projects;
    for (qsizetype i = 0; i + 1 < folders.size(); i += 2)
        projects.emplace_back(folders[i], folders[i + 1]);
    return projects;
}

void Project::remember() const
{
    QStringList folders{m_originals, m_translations};
    for (const auto &[originals, translations] : recentProjects()) {
        if (folders.size() >= 2 * RecentCount)
            break;
        if (originals != m_originals || translations != m_translations)
            folders << originals << translations;
    }
    QSettings().setValue(RecentKey, folders);
}

void Project::choose()
{
    const std::vector<std::pair<QString, QString>> recent = recentProjects();
    if (!recent.empty()) {
        QStringList items;
        for (const auto &folders : recent)
            items << projectName(folders);
        items << OtherFolders;
        const std::optional<QString> chosen = m_ui.chooseItem(QStringLiteral("プロジェクトを開く"),
                                                              QStringLiteral("開くプロジェクトを選んでください。"),
                                                              items);
        if (!chosen)
            return;
        const qsizetype at = items.indexOf(*chosen);
        if (at >= 0 && at < qsizetype(recent.size())) {
            open(recent[size_t(at)].first, recent[size_t(at)].second);
            return;
        }
    }
    FileDialogRequest request;
    request.kind = FileDialogKind::Folder;
    request.title = QStringLiteral("原文のフォルダー");
    request.fileName = m_originals;
    const std::optional<QString> originals = m_ui.showFileDialog(request);
    if (!originals)
        return;
    request.title = QStringLiteral("訳のフォルダー");
    request.fileName = m_translations.isEmpty() ? QFileInfo(*originals).absolutePath() : m_translations;
    const std::optional<QString> translations = m_ui.showFileDialog(request);
    if (translations)
        open(*originals, *translations);
}

bool Project::reopenLast()
{
    const std::vector<std::pair<QString, QString>> recent = recentProjects();
    return !recent.empty() && open(recent.front().first, recent.front().second);
}

bool Project::open(const QString &originals, const QString &translations)
{
    for (const QString &folder : {originals, translations}) {
        if (!QFileInfo(folder).isDir()) {
            m_ui.showMessage(fileErrorBox(
                errorBoxText(ReadErrorMessage,
                             QStringLiteral("%1: フォルダーではありません。").arg(QDir::toNativeSeparators(folder)))));
            return false;
        }
    }
    m_originals = absoluteFolder(originals);
    m_translations = absoluteFolder(translations);
    m_model.reset(projectTables(m_originals, m_translations));
    remember();
    countTables();
    pathChanged(m_state.currentPath());
    emit opened();
    return true;
}

QString Project::originalPath(qsizetype number) const
{
    return pathInFolder(m_originals, m_model.table(number).path);
}

QString Project::translationPath(qsizetype number) const
{
    return pathInFolder(m_translations, m_model.table(number).path);
}

void Project::countTables()
{
    if (m_stop)
        m_stop->store(true);
    m_stop = std::make_shared<std::atomic<bool>>(false);
    const quint64 generation = ++m_generation;
    std::erase_if(m_running, [](const QFuture<void> &f) { return f.isFinished(); });
    m_uncounted = m_model.tableCount();
    m_gathered = std::make_shared<Gathered>();
    // Every table a job of the pool, which runs one per core; each result
    // comes back on this thread as soon as it is counted.
    for (qsizetype number = 0; number < m_model.tableCount(); ++number) {
        m_running.push_back(QtConcurrent::run(&m_pool, [this, stop = m_stop, gathered = m_gathered, generation, number,
                                                        table = m_model.table(number), originals = m_originals,
                                                        translations = m_translations, codePage = m_codePage] {
            if (stop->load())
                return;
            TableProgress progress = countProjectTable(originals, translations, table, codePage, true);
            std::erase_if(progress.pairs.pairs,
                          [](const TablePairs::Pair &pair) { return pair.source.size() > LongestMemoryText; });
            {
                const std::lock_guard lock(gathered->mutex);
                gathered->gathering.add(std::exchange(progress.pairs, {}), qint32(number));
            }
            if (stop->load())
                return;
            QMetaObject::invokeMethod(
                this,
                [this, generation, number, progress = std::move(progress)]() mutable {
                    takeProgress(generation, number, std::move(progress));
                },
                Qt::QueuedConnection);
        }));
    }
}

void Project::takeProgress(quint64 generation, qsizetype number, TableProgress progress)
{
    if (generation != m_generation)
        return;
    // The table open in the window counts as its rows are now, not as saved.
    if (number == m_current && m_state.translationStatus().isOpen())
        progress.counts = m_state.translationStatus().counts();
    m_model.setProgress(number, std::move(progress));
    if (--m_uncounted == 0)
        buildMemory();
}

void Project::buildMemory()
{
    const quint64 generation = m_generation;
    m_running.push_back(
        QtConcurrent::run(&m_pool, [this, stop = m_stop, gathered = std::exchange(m_gathered, {}), generation] {
            const std::vector<MemoryUnit> units = gathered->gathering.takeUnits();
            auto index = std::make_shared<FuzzyIndex>();
            for (const MemoryUnit &unit : units) {
                if (stop->load())
                    return;
                // A pair of one table is never offered in that table, whose own
                // rows the table's memory offers as they are now.
                const qint32 table = unit.places.front().table;
                const bool oneTable = std::all_of(unit.places.cbegin(), unit.places.cend(),
                                                  [&](const MemoryPlace &place) { return place.table == table; });
                index->add(unit.source, unit.target, qint32(unit.places.size()), QString(), oneTable ? table : -1);
            }
            index->finish();
            if (stop->load())
                return;
            QMetaObject::invokeMethod(
                this,
                [this, generation, index = std::shared_ptr<const FuzzyIndex>(std::move(index))] {
                    if (generation == m_generation)
                        m_suggestions.setProjectMemory(index, QFileInfo(m_translations).fileName(), qint32(m_current));
                },
                Qt::QueuedConnection);
        }));
}

void Project::pathChanged(const QString &path)
{
    const qsizetype left = m_current;
    m_current = -1;
    if (isOpen() && !path.isEmpty()) {
        const QString absolute = QDir::cleanPath(QFileInfo(path).absoluteFilePath());
        for (qsizetype number = 0; number < m_model.tableCount(); ++number) {
            if (translationPath(number) == absolute)
                m_current = number;
        }
    }
    m_suggestions.setProjectTable(qint32(m_current));
    if (left != m_current)
        emit currentTableChanged();
    // What the table left holds on disk, its unsaved changes given up or saved.
    if (left >= 0 && left != m_current)
        recount(left);
}

void Project::followCounts()
{
    if (m_current < 0 || std::exchange(m_countsQueued, true))
        return;
    // A recount of a whole table reports every row: the panel takes the
    // counts once they are all in.
    QMetaObject::invokeMethod(
        this,
        [this] {
            m_countsQueued = false;
            const TranslationStatus &status = m_state.translationStatus();
            if (m_current < 0 || !status.isOpen() || status.isCounting())
                return;
            if (!m_model.table(m_current).hasTranslation && QFileInfo::exists(translationPath(m_current)))
                m_model.setTranslated(m_current);
            m_model.setCounts(m_current, status.counts());
        },
        Qt::QueuedConnection);
}

void Project::recount(qsizetype number)
{
    ProjectTable table = m_model.table(number);
    table.hasTranslation = QFileInfo::exists(translationPath(number));
    if (table.hasTranslation && !m_model.table(number).hasTranslation)
        m_model.setTranslated(number);
    const quint64 generation = m_generation;
    ++m_uncounted;
    m_running.push_back(
        QtConcurrent::run(&m_pool, [this, stop = m_stop, generation, number, table, originals = m_originals,
                                    translations = m_translations, codePage = m_codePage] {
            TableProgress progress = countProjectTable(originals, translations, table, codePage);
            if (stop->load())
                return;
            QMetaObject::invokeMethod(
                this,
                [this, generation, number, progress = std::move(progress)]() mutable {
                    if (generation != m_generation)
                        return;
                    --m_uncounted;
                    if (number != m_current)
                        m_model.setProgress(number, std::move(progress));
                },
                Qt::QueuedConnection);
        }));
}

void Project::openTable(qsizetype number)
{
    if (number < 0 || number >= m_model.tableCount())
        return;
    const ProjectTable &table = m_model.table(number);
    const QString translation = translationPath(number);
    const bool made = !table.hasTranslation && !QFileInfo::exists(translation);
    if (!(made ? m_session.startNewFile(translation) : m_session.openFile(translation)))
        return;
    if (!table.hasOriginal || !m_translation.openOriginal(originalPath(number), false))
        return;
    // The new translation: the original's rows, every one to translate.
    if (made)
        m_translation.addMissingRows();
}

void Project::goToTable(int step)
{
    const qsizetype count = m_model.tableCount();
    if (!isOpen() || count == 0)
        return;
    const int from = m_current >= 0 ? m_model.rowOf(m_current) : (step > 0 ? -1 : int(count));
    for (qsizetype i = 1; i <= count; ++i) {
        const auto row = int(((from + step * i) % count + count) % count);
        const qsizetype number = m_model.tableAt(row);
        if (number == m_current || !m_model.hasWork(number))
            continue;
        openTable(number);
        if (m_current == number)
            goToFirstWork();
        return;
    }
    m_ui.showStatus(QStringLiteral("ほかに作業の残る表はありません。"));
}

void Project::goToFirstWork()
{
    TranslationStatus &status = m_state.translationStatus();
    if (status.isCounting()) {
        connect(&status, &TranslationStatus::statesReset, this, &Project::goToFirstWork, Qt::SingleShotConnection);
        return;
    }
    m_state.selection().clear();
    m_translation.goToWork(+1);
}

} // namespace wendaro
