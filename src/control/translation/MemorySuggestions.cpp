// SPDX-License-Identifier: GPL-3.0-or-later
#include "control/translation/MemorySuggestions.h"

#include "control/document/Document.h"
#include "control/document/RowCommands.h"
#include "control/translation/TableSettings.h"
#include "control/window/FileDialogSetup.h"
#include "control/window/MessageBoxes.h"

#include "core/checks/TranslationStates.h"
#include "core/document/DocumentFile.h"
#include "core/document/MemoryFile.h"

#include <QDir>
#include <QFileInfo>

#include <algorithm>

namespace wendaro {

namespace {

constexpr qsizetype IndexSlots = 65536; // every qint16, at index + 32768

const QString SettingsGroup = QStringLiteral("memories");

// What a lookup on a worker reads: its own copies and shared, unchanging indexes.
struct LookupInput
{
    QString text;
    std::optional<qint16> self;
    std::vector<std::pair<std::shared_ptr<const FuzzyIndex>, QString>> memories; // with their names
    std::shared_ptr<const FuzzyIndex> table;
    std::shared_ptr<const FuzzyIndex> project; // keyed by table, never self
    QString projectName;
    qint32 projectSelf = -1;
    std::shared_ptr<const std::vector<qint32>> translatedAt; // a translated row's position, by index + 32768
    int minMatch = DefaultMinMatch;
};

std::vector<Suggestion> findSuggestions(const LookupInput &in, const std::atomic<bool> &stopped)
{
    thread_local FuzzyIndex::Scratch scratch;
    const MatchTokens tokens = matchTokens(in.text);
    std::vector<Suggestion> found;
    for (const auto &[index, name] : in.memories) {
        if (stopped.load())
            return {};
        appendSuggestions(*index, index->find(in.text, tokens, in.minMatch, scratch, {}, &stopped), name,
                          SuggestionLimit, found);
    }
    if (in.project && !stopped.load()) {
        const auto other = [&](qint32 key) { return key < 0 || key != in.projectSelf; };
        appendSuggestions(*in.project, in.project->find(in.text, tokens, in.minMatch, scratch, other, &stopped),
                          in.projectName, SuggestionLimit, found);
    }
    if (!in.table || stopped.load())
        return found;
    // The table's rows: translated ones only, never the row itself; their
    // translations are taken on the window's thread, as they are then.
    const auto accept = [&](qint32 key) { return key != in.self && (*in.translatedAt)[size_t(key + 32768)] >= 0; };
    std::vector<FuzzyHit> hits = in.table->find(in.text, tokens, in.minMatch, scratch, accept, &stopped);
    const size_t keep = std::min(hits.size(), size_t(SuggestionLimit) * 4);
    std::partial_sort(hits.begin(), hits.begin() + qsizetype(keep), hits.end(),
                      [](const FuzzyHit &a, const FuzzyHit &b) { return a.score > b.score; });
    hits.resize(keep);
    for (const FuzzyHit &hit : hits) {
        const auto index = qint16(in.table->key(hit.unit));
        found.push_back({hit.score, QString(), in.table->source(hit.unit), tableOrigin(index), 1, 0, true, index});
    }
    return found;
}

} // namespace

MemorySuggestions::MemorySuggestions(Document &state, UserInterface &ui) : m_state(state), m_ui(ui)
{
    TranslationStatus &status = m_state.translationStatus();
    connect(&status, &TranslationStatus::openChanged, this, &MemorySuggestions::originalOpened);
    connect(&status, &TranslationStatus::statesReset, this, &MemorySuggestions::statesReset);
    connect(&m_state.selection().model(), &QItemSelectionModel::currentChanged, this, &MemorySuggestions::lookUpSoon);
}

MemorySuggestions::~MemorySuggestions() = default;

void MemorySuggestions::setMinMatch(int percent)
{
    m_minMatch = std::clamp(percent, 0, 100);
    lookUpSoon();
}

void MemorySuggestions::setProjectMemory(std::shared_ptr<const FuzzyIndex> index, const QString &name, qint32 self)
{
    m_project = std::move(index);
    m_projectName = name;
    m_projectSelf = self;
    lookUpSoon();
}

void MemorySuggestions::setProjectTable(qint32 self)
{
    m_projectSelf = self;
}

qsizetype MemorySuggestions::unitCount() const
{
    qsizetype units = 0;
    for (const OpenMemory &memory : m_memories)
        units += memory.index->size();
    return units;
}

void MemorySuggestions::chooseMemories()
{
    if (!m_state.isTranslating())
        return;
    const QStringList chosen = m_ui.showOpenFilesDialog(besideTableDialog(QStringLiteral("翻訳メモリを開く"),
                                                                          QStringLiteral("TMX ファイル (*.tmx)"),
                                                                          m_state.currentPath(), m_dialogFileName));
    if (chosen.isEmpty())
        return;
    m_dialogFileName = chosen.first();
    openMemories(chosen);
}

void MemorySuggestions::openMemories(const QStringList &paths)
{
    if (!m_state.isTranslating())
        return;
    bool opened = false;
    for (const QString &path : paths)
        opened = openMemory(path, QString(), true) || opened;
    if (!opened)
        return;
    remember();
    emit memoriesChanged();
    lookUpSoon();
}

bool MemorySuggestions::openMemory(const QString &path, QString language, bool askLanguage)
{
    const QString absolute = QFileInfo(path).absoluteFilePath();
    const auto same = [&](const OpenMemory &memory) { return memory.path == absolute; };
    if (std::any_of(m_memories.cbegin(), m_memories.cend(), same))
        return false;
    const QString shown = QDir::toNativeSeparators(path);
    for (;;) {
        MemoryFileRead read;
        QString error;
        bool ok = false;
        m_ui.runLongTask(QStringLiteral("翻訳メモリ「%1」を読み込んでいます…").arg(shown), [&](LoadProgress &progress) {
            ok = readMemoryFile(absolute, QString(), language, read, &error, &progress);
        });
        if (read.cancelled)
            return false;
        if (!ok) {
            const QString place = read.line > 0 ? QStringLiteral(":%1").arg(read.line) : QString();
            const QString text = errorBoxText(ReadErrorMessage, shown + place + QStringLiteral(": ") + error);
            if (askLanguage)
                m_ui.showMessage(fileErrorBox(text));
            else
                m_ui.showStatus(text.simplified());
            return false;
        }
        if (read.index) {
            m_memories.push_back({absolute, language, std::move(read.index), read.language});
            return true;
        }
        // Several languages of translations: the person picks one, once.
        const std::optional<QString> chosen =
            askLanguage
                ? m_ui.chooseItem(QStringLiteral("翻訳メモリの言語"),
                                  QStringLiteral("「%1」には訳の言語が %2 つあります。使う言語を選んでください。")
                                      .arg(QFileInfo(path).fileName())
                                      .arg(read.languages.size()),
                                  read.languages)
                : std::nullopt;
        if (!chosen)
            return false;
        language = *chosen;
    }
}

void MemorySuggestions::remember() const
{
    if (m_tablePath.isEmpty())
        return;
    QStringList pairs;
    for (const OpenMemory &memory : m_memories)
        pairs << memory.path << memory.language;
    rememberFor(SettingsGroup, m_tablePath, pairs);
}

void MemorySuggestions::originalOpened(bool open)
{
    m_lookup.cancel();
    m_tableIndexing.cancel();
    m_memories.clear();
    m_table.reset();
    m_indexedOriginal = nullptr;
    m_suggestions.clear();
    m_tablePath.clear();
    if (open) {
        const QString path = m_state.currentPath();
        m_tablePath = path.isEmpty() ? QString() : QFileInfo(path).absoluteFilePath();
        if (!m_tablePath.isEmpty()) {
            const QStringList remembered = rememberedFor(SettingsGroup, m_tablePath);
            for (qsizetype i = 0; i + 1 < remembered.size(); i += 2)
                openMemory(remembered[i], remembered[i + 1], false);
        }
        if (!m_pending.isEmpty()) {
            const QStringList pending = std::exchange(m_pending, {});
            for (const QString &file : pending)
                openMemory(file, QString(), true);
            remember();
        }
        indexTable();
    }
    emit memoriesChanged();
    emit suggestionsChanged();
}

void MemorySuggestions::statesReset()
{
    // Another original may have taken the place of the one indexed.
    const std::shared_ptr<const EntryList> original = m_state.translationStatus().originalRows();
    if (original && original.get() != m_indexedOriginal)
        indexTable();
    lookUpSoon();
}

void MemorySuggestions::indexTable()
{
    const std::shared_ptr<const EntryList> original = m_state.translationStatus().originalRows();
    m_indexedOriginal = original.get();
    if (!original)
        return;
    m_tableIndexing.start(
        [original](const std::atomic<bool> &stopped) {
            auto index = std::make_shared<FuzzyIndex>();
            for (qsizetype p = 0; p < original->count() && !stopped.load(); ++p) {
                const Entry &row = original->at(p);
                const std::optional<qint16> number = rowIndex(row);
                if (number && row.value.size() <= LongestMemoryText)
                    index->add(row.value.toString(), QString(), 1, QString(), *number);
            }
            index->finish();
            return std::shared_ptr<const FuzzyIndex>(std::move(index));
        },
        [this](std::shared_ptr<const FuzzyIndex> index) {
            m_table = std::move(index);
            lookUpSoon();
        });
}

void MemorySuggestions::lookUpSoon()
{
    if (std::exchange(m_lookupQueued, true))
        return;
    QMetaObject::invokeMethod(
        this,
        [this] {
            m_lookupQueued = false;
            lookUp();
        },
        Qt::QueuedConnection);
}

void MemorySuggestions::lookUp()
{
    const TranslationStatus &status = m_state.translationStatus();
    const EntryList &entries = m_state.entries();
    const qsizetype row = status.isOpen() ? m_state.selection().row() : -1;
    const Entry *original = row >= 0 ? status.originalOf(row) : nullptr;
    m_lookup.cancel();
    m_suggestions.clear();
    m_suggestionsRow = row;
    if (!original || (m_memories.empty() && !m_table && !m_project)) {
        emit suggestionsChanged();
        return;
    }
    LookupInput in;
    in.text = original->value.toString();
    in.self = rowIndex(entries.at(row));
    in.minMatch = m_minMatch;
    for (const OpenMemory &memory : m_memories)
        in.memories.emplace_back(memory.index, QFileInfo(memory.path).fileName());
    in.table = m_table;
    in.project = m_project;
    in.projectName = m_projectName;
    in.projectSelf = m_projectSelf;
    if (m_table) {
        auto translatedAt = std::make_shared<std::vector<qint32>>(size_t(IndexSlots), -1);
        for (qsizetype p = 0; p < entries.count(); ++p) {
            if (status.state(p) != RowState::Translated)
                continue;
            if (const std::optional<qint16> index = rowIndex(entries.at(p));
                index && (*translatedAt)[size_t(*index + 32768)] < 0)
                (*translatedAt)[size_t(*index + 32768)] = qint32(p);
        }
        in.translatedAt = std::move(translatedAt);
    }
    auto positions = in.translatedAt;
    m_lookup.start([in = std::move(in)](const std::atomic<bool> &stopped) { return findSuggestions(in, stopped); },
                   [this, row, positions](std::vector<Suggestion> found) {
                       // The table's rows as they are now: still there, still translated.
                       const EntryList &rows = m_state.entries();
                       const TranslationStatus &now = m_state.translationStatus();
                       std::erase_if(found, [&](Suggestion &s) {
                           if (!s.fromTable)
                               return false;
                           const qint32 at = (*positions)[size_t(s.index + 32768)];
                           if (at >= rows.count() || rowIndex(rows.at(at)) != s.index
                               || now.state(at) != RowState::Translated)
                               return true;
                           s.target = rows.at(at).value.toString();
                           return false;
                       });
                       takeSuggestions(std::move(found), row);
                   });
    emit suggestionsChanged();
}

void MemorySuggestions::takeSuggestions(std::vector<Suggestion> found, qsizetype row)
{
    if (row != m_state.selection().row())
        return;
    rankSuggestions(found, SuggestionLimit);
    m_suggestions = std::move(found);
    m_suggestionsRow = row;
    emit suggestionsChanged();
}

bool MemorySuggestions::useSuggestion(qsizetype number)
{
    const qsizetype position = m_state.selection().row();
    if (!m_state.isTranslating() || position < 0 || position != m_suggestionsRow || number < 0
        || number >= qsizetype(m_suggestions.size()))
        return false;
    const QString &value = m_suggestions[size_t(number)].target;
    if (m_state.entries().at(position).value == value)
        return false;
    m_state.change(new ValueCommand(m_state.entries(), m_state.selection(), position, value, 0));
    return true;
}

} // namespace wendaro
