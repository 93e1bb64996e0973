// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/document/MemoryFile.h"

#include "core/checks/StfLimits.h"
#include "core/formats/TmxReader.h"
#include "core/io/MemoryShortage.h"
#include "core/text/LineBreaks.h"
#include "core/translation/LanguageCode.h"
#include "core/translation/TranslationMemory.h"

#include <QFile>
#include <QFileInfo>
#include <QSet>

namespace wendaro {

namespace {

// The units of a file, added to an index as they are read.
class MemoryUnits
{
public:
    MemoryUnits(QString sourceLanguage, QString targetLanguage)
        : m_sourceLanguage(std::move(sourceLanguage)), m_targetLanguage(std::move(targetLanguage)),
          m_index(std::make_shared<FuzzyIndex>())
    {
    }

    void take(const ReadUnit &unit)
    {
        const QString &language = m_sourceLanguage.isEmpty() ? unit.sourceLanguage : m_sourceLanguage;
        const qsizetype source = language.isEmpty() ? -1 : variantIn(unit, language);
        if (source < 0)
            return;
        if (!m_targetLanguage.isEmpty()) {
            if (const qsizetype target = variantIn(unit, m_targetLanguage, source); target >= 0)
                add(unit, source, target);
            return;
        }
        const QString primary = primaryLanguage(unit.variants[source].language);
        for (qsizetype i = 0; i < unit.variants.size(); ++i) {
            if (i == source || primaryLanguage(unit.variants[i].language) == primary)
                continue;
            m_languages.insert(unit.variants[i].language.toLower());
            if (m_languages.size() == 1)
                add(unit, source, i);
        }
    }

    // The index, or the languages to choose from.
    void finish(MemoryFileRead &read)
    {
        if (m_languages.size() > 1) {
            read.languages = m_languages.values();
            read.languages.sort();
            return;
        }
        m_index->finish();
        read.index = std::move(m_index);
        read.language = m_targetLanguage.isEmpty() && !m_languages.isEmpty() ? *m_languages.cbegin() : m_targetLanguage;
    }

private:
    void add(const ReadUnit &unit, qsizetype source, qsizetype target)
    {
        const ReadVariant &variant = unit.variants[target];
        const QString sourceText = listValueOf(unit.variants[source]);
        const QString targetText = listValueOf(variant);
        if (targetText.isEmpty() || targetText == sourceText || fileLengthOfListValue(targetText) > stf::MaxLength)
            return;
        m_index->add(sourceText, targetText, qint32(unit.places),
                     variant.changeDate.isEmpty() ? unit.changeDate : variant.changeDate, 0);
    }

    QString m_sourceLanguage;
    QString m_targetLanguage;
    std::shared_ptr<FuzzyIndex> m_index;
    QSet<QString> m_languages;
};

} // namespace

bool readMemoryFile(const QString &path, const QString &sourceLanguage, const QString &targetLanguage,
                    MemoryFileRead &read, QString *error, LoadProgress *progress)
{
    read = MemoryFileRead();
    QFile file(path);
    if (QFileInfo(path).isDir()) {
        *error = QStringLiteral("フォルダです。");
        return false;
    }
    if (!file.open(QIODevice::ReadOnly)) {
        *error = file.errorString();
        return false;
    }
    const qint64 size = file.size();
    const auto step = [&] {
        MemoryUnits units(sourceLanguage, targetLanguage);
        TmxReader reader;
        const auto take = [&](const ReadUnit &unit) {
            units.take(unit);
            if (progress && !progress->reached(file.pos(), size))
                reader.stop();
        };
        if (!reader.read(file, !sourceLanguage.isEmpty(), take, &read.line, error)) {
            read.cancelled = progress && progress->isCancelled();
            if (read.cancelled)
                *error = QStringLiteral("読み込みを取りやめました。");
            return false;
        }
        units.finish(read);
        return true;
    };
    const auto shortage = [&] {
        read.line = -1;
        return QStringLiteral("メモリが足りないため、読みきれませんでした。");
    };
    return withinMemory(step, shortage, error);
}

} // namespace wendaro
