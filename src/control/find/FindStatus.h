// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QTimer>

#include <functional>
#include <optional>
#include <vector>

namespace wendaro {

inline const QString FindNothingStatus = QStringLiteral("見つかりません");
inline const QString FindSearchingStatus = QStringLiteral("検索中…");
inline const QString FindWrappedForwardNote = QStringLiteral("先頭から検索しました");
inline const QString FindWrappedBackwardNote = QStringLiteral("末尾から検索しました");

// What the find bar's count says: the place of the selected row among the
// matches and their number, what is wrong with the text to find, a note on
// how the row was found, and, while a count takes long, that it searches.
// A count outdated by a change of rows goes on showing until the next one.
// Something told (a replace's result) stands instead until the text to
// find, the selection or the bar changes, or a step is asked for.
class FindStatus
{
public:
    // The matches counted over the rows as they are now.
    struct Count
    {
        const std::vector<bool> *rows = nullptr; // flag i for position i
        qsizetype total = 0;
        qsizetype selected = -1;
    };
    // What the finder holds when the text is made.
    struct Now
    {
        std::optional<Count> count; // of the rows as they are now, when there is one
        bool counting = false;      // a count runs
    };
    // now: asked each time the text is made; show: the text, each time it
    // changes.
    FindStatus(std::function<Now()> now, std::function<void(const QString &)> show);

    // Whether there is a text to find in an open bar: nothing is said without.
    void setSearched(bool searched) { m_searched = searched; }
    // What is wrong with the text to find, or empty.
    void setError(const QString &error);
    // A text to find that is not counted yet says nothing of the last one.
    void forgetCount() { m_lastCount.clear(); }
    // The note on the row found, shown after the count.
    void setNote(const QString &note) { m_note = note; }
    QString told() const { return m_told; }
    void setTold(const QString &message) { m_told = message; }
    // The note and what was told go.
    void clearNotes();

    // A count started (superseding any): one that takes longer than a
    // moment says so.
    void countStarted() { m_searchingNote.start(); }
    // Nothing is searched any more: the note's delay, which matters only
    // while a count runs, is let go.
    void searchesSettled() { m_searchingNote.stop(); }

    // Makes the text again and shows it if it changed.
    void update();

private:
    QString compose();
    // Also kept as the last count, shown while the next one runs.
    QString countText(const Count &count);

    std::function<Now()> m_now;
    std::function<void(const QString &)> m_show;
    bool m_searched = false;
    QString m_error;
    QString m_note;
    QString m_told;
    QString m_lastCount;
    QString m_text; // as shown
    // A short count shows no "searching" in between.
    QTimer m_searchingNote;
};

} // namespace wendaro
