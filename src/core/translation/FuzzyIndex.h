// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/translation/MatchTokens.h"

#include <QHash>
#include <QString>
#include <QStringView>

#include <atomic>
#include <deque>
#include <functional>
#include <memory>
#include <vector>

namespace wendaro {

// One unit found alike: its number in the index and its score.
struct FuzzyHit
{
    quint32 unit = 0;
    int score = 0;
};

// The units of a memory (a source text, its translation, how many places
// use it and when it last changed) indexed by their sources' tokens, so
// that the units whose source is most like a text are found without
// looking at every unit.
//
// A lookup reads only the posting lists of the query's rarer tokens,
// within the lengths the score allows. A source alike enough leaves at
// most d of the query's tokens unmatched (d: the distance the score
// allows), so of any d + k of the query's places it holds at least k
// tokens: a unit that holds fewer of the lists' tokens is never looked at.
// Counting costs a few nanoseconds a unit, the distance of a unit
// microseconds, so the lookup reads more lists than the d + 1 it must
// while they cost little beside the first ones: each raises k and passes
// fewer units on. Built once (add, then finish), an index only reads: any
// number of threads may look up at once, each with its own Scratch.
class FuzzyIndex
{
public:
    // What one thread's lookups reuse, in any index: how many of the
    // lookup's tokens each unit holds, counted up from base (a count below
    // base is an earlier lookup's: none), and the units that hold enough.
    struct Scratch
    {
        std::vector<quint32> met;
        std::vector<quint32> candidates;
        quint32 base = 0;
    };

    // source and target in the list's form; key is the caller's (a table's
    // index), changeDate a TMX date as "20240517T093000Z" or empty. A
    // source without tokens is never found.
    void add(QStringView source, QStringView target, qint32 places, QStringView changeDate, qint32 key);
    // Builds the lists the lookups read; no add after it.
    void finish();

    qsizetype size() const { return qsizetype(m_units.size()); }
    QString source(quint32 unit) const;
    QString target(quint32 unit) const;
    qint32 places(quint32 unit) const { return m_units[unit].places; }
    // yyyyMMddHHmmss as a number, 0 for none: later is larger.
    quint64 changeDate(quint32 unit) const { return m_units[unit].changeDate; }
    qint32 key(quint32 unit) const { return m_units[unit].key; }
    // The bytes the index holds, for the bench.
    qsizetype memoryUse() const;

    // Every unit whose source scores at least minScore against text
    // (tokens: matchTokens(text)) and that accept takes (null: all), in no
    // order. Stops early, with what it found, once stop is set.
    std::vector<FuzzyHit> find(QStringView text, const MatchTokens &tokens, int minScore, Scratch &scratch,
                               const std::function<bool(qint32 key)> &accept = {},
                               const std::atomic<bool> *stop = nullptr) const;
    // The same by looking at every unit, for measuring the index against.
    std::vector<FuzzyHit> scan(QStringView text, const MatchTokens &tokens, int minScore) const;

private:
    struct Unit
    {
        quint32 block = 0;  // in m_texts
        quint32 offset = 0; // of the source's UTF-8 bytes there, the target's after them
        quint32 sourceBytes = 0;
        quint32 targetBytes = 0;
        quint32 firstToken = 0; // in m_tokens while adding, the offset of its bytes in m_tokenBytes after finish
        quint32 tokenCount = 0;
        qint32 places = 1;
        qint32 key = 0;
        quint64 changeDate = 0;
    };
    static constexpr quint32 Unknown = 0xFFFFFFFF; // a query token no source has

    // A token of the query as a lookup reads it: its units of the lengths
    // allowed, m_postings[from .. to), and how many of the query's places it
    // stands for.
    struct Probe
    {
        quint32 from = 0;
        quint32 to = 0;
        quint32 weight = 0;
    };

    quint32 idOf(QStringView token);
    std::vector<quint32> queryIds(const MatchTokens &tokens) const;
    std::vector<Probe> probesFor(std::vector<quint32> ids, qsizetype shortest, qsizetype longest, qsizetype distance,
                                 qsizetype &weight) const;
    // Counts in scratch.met, from base, the places each unit of the probes'
    // lists holds, and puts in scratch.candidates the units whose count
    // reaches needed. False when stop was set.
    bool countProbes(const std::vector<Probe> &probes, quint32 base, quint32 needed, Scratch &scratch,
                     const std::atomic<bool> *stop) const;
    std::vector<FuzzyHit> scanUnits(QStringView text, const std::vector<quint32> &ids, int minScore,
                                    const std::function<bool(qint32 key)> &accept, const std::atomic<bool> *stop) const;
    void renumberTokens();
    void fillPostings();
    void encodeTokens();
    const quint32 *addedTokensOf(const Unit &unit) const { return m_tokens.data() + unit.firstToken; }
    // A finished unit's token ids, decoded into ids.
    void tokensOf(const Unit &unit, std::vector<quint32> &ids) const;
    int scoreOf(QStringView text, const std::vector<quint32> &ids, quint32 unit, int minScore) const;
    QByteArray bytesAt(const Unit &unit, quint32 from, quint32 length) const;

    std::vector<Unit> m_units;
    std::vector<std::vector<char>> m_texts; // blocks of UTF-8, never moved once filled
    std::vector<quint32> m_tokens;          // each unit's token ids, in order, until finish
    // The same once finished, each id in groups of seven bits, the least
    // significant first, the high bit set on all but the last; the ids
    // numbered by use, the most used first, so that most take one byte.
    std::vector<quint8> m_tokenBytes;
    std::deque<QString> m_tokenTexts; // the dictionary's keys point into them
    QHash<QStringView, quint32> m_dictionary;
    // The units holding each token, by length then number: the units of
    // token t are m_postings[m_postingStart[t] .. m_postingStart[t + 1]).
    std::vector<quint32> m_postingStart;
    std::vector<quint32> m_postings;
    qsizetype m_longestSource = 0; // in tokens
};

} // namespace wendaro
