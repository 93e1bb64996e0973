// SPDX-License-Identifier: GPL-3.0-or-later
#include "control/translation/SkippedChecks.h"

#include "control/document/Document.h"
#include "control/translation/TableSettings.h"

#include <QFileInfo>

namespace wendaro {

namespace {

const QString SettingsGroup = QStringLiteral("skippedChecks");

} // namespace

SkippedChecks::SkippedChecks(Document &state) : m_state(state)
{
    connect(&m_state.translationStatus(), &TranslationStatus::openChanged, this, &SkippedChecks::originalOpened);
}

void SkippedChecks::originalOpened(bool open)
{
    const QString path = m_state.currentPath();
    m_tablePath = open && !path.isEmpty() ? QFileInfo(path).absoluteFilePath() : QString();
    quint32 skipped = 0;
    if (!m_tablePath.isEmpty()) {
        for (const QString &code : rememberedFor(SettingsGroup, m_tablePath)) {
            if (const std::optional<TranslationCheck> check = checkFromCode(code))
                skipped |= 1U << unsigned(*check);
        }
    }
    m_state.translationStatus().setSkippedChecks(skipped);
}

void SkippedChecks::apply(quint32 skipped)
{
    m_state.translationStatus().setSkippedChecks(skipped);
    if (m_tablePath.isEmpty())
        return;
    QStringList codes;
    for (const TranslationCheck check : this->skipped())
        codes << checkCode(check);
    rememberFor(SettingsGroup, m_tablePath, codes);
}

void SkippedChecks::skip(TranslationCheck check)
{
    apply(m_state.translationStatus().skippedChecks() | (1U << unsigned(check)));
}

void SkippedChecks::restore(TranslationCheck check)
{
    apply(m_state.translationStatus().skippedChecks() & ~(1U << unsigned(check)));
}

std::vector<TranslationCheck> SkippedChecks::skipped() const
{
    std::vector<TranslationCheck> checks;
    const quint32 bits = m_state.translationStatus().skippedChecks();
    for (int i = 0; i < TranslationCheckCount; ++i) {
        if ((bits & (1U << unsigned(i))) != 0)
            checks.push_back(TranslationCheck(i));
    }
    return checks;
}

} // namespace wendaro
