// SPDX-License-Identifier: GPL-3.0-or-later
#include "control/find/FindStatus.h"

#include <algorithm>

namespace wendaro {

namespace {

// A count that takes longer says so.
constexpr int SearchingNoteDelayMs = 300;

} // namespace

FindStatus::FindStatus(std::function<Now()> now, std::function<void(const QString &)> show)
    : m_now(std::move(now)), m_show(std::move(show))
{
    m_searchingNote.setSingleShot(true);
    m_searchingNote.setInterval(SearchingNoteDelayMs);
    QObject::connect(&m_searchingNote, &QTimer::timeout, [this] { update(); });
}

void FindStatus::setError(const QString &error)
{
    m_error = error;
}

void FindStatus::clearNotes()
{
    m_note.clear();
    m_told.clear();
}

QString FindStatus::countText(const Count &count)
{
    if (count.total == 0) {
        m_lastCount = FindNothingStatus;
    } else if (count.selected >= 0 && (*count.rows)[size_t(count.selected)]) {
        // The selected row counts itself: the first match is "1 / n".
        const auto ordinal = std::count(count.rows->begin(), count.rows->begin() + count.selected + 1, true);
        m_lastCount = QStringLiteral("%1 / %2 件").arg(ordinal).arg(count.total);
    } else {
        m_lastCount = QStringLiteral("%1 件").arg(count.total);
    }
    return m_lastCount;
}

QString FindStatus::compose()
{
    if (!m_searched)
        return {};
    if (!m_told.isEmpty())
        return m_told;
    QString text;
    const Now now = m_now();
    if (!m_error.isEmpty())
        text = m_error;
    else if (now.count)
        text = countText(*now.count);
    else if (now.counting && !m_searchingNote.isActive())
        text = FindSearchingStatus;
    else
        text = m_lastCount;
    if (!text.isEmpty() && !m_note.isEmpty())
        text += QStringLiteral("（%1）").arg(m_note);
    return text;
}

void FindStatus::update()
{
    QString text = compose();
    if (text == m_text)
        return;
    m_text = std::move(text);
    m_show(m_text);
}

} // namespace wendaro
