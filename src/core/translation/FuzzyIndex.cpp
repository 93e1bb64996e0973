// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/translation/FuzzyIndex.h"

#include "core/translation/FuzzyScore.h"

#include <algorithm>
#include <numeric>

namespace wendaro {

namespace {

constexpr size_t TextBlockSize = size_t(4) << 20;
constexpr quint32 NoUnit = 0xFFFFFFFF;

// How many postings a lookup may read beyond the lists it must, as a
// multiple of those: counting a posting costs some nanoseconds, the
// distance of a unit passed on a microsecond or more, and each list read
// passes fewer units on.
constexpr size_t ProbeBudget = 4;

// "20240517T093000Z" as 20240517093000: its digits, as many as there are up to fourteen.
quint64 dateNumber(QStringView date)
{
    quint64 number = 0;
    int digits = 0;
    for (const QChar c : date) {
        if (digits == 14)
            break;
        if (c >= u'0' && c <= u'9') {
            number = number * 10 + quint64(c.unicode() - u'0');
            ++digits;
        }
    }
    for (; digits > 0 && digits < 14; ++digits)
        number *= 10;
    return number;
}

} // namespace

quint32 FuzzyIndex::idOf(QStringView token)
{
    const auto found = m_dictionary.constFind(token);
    if (found != m_dictionary.cend())
        return *found;
    const auto id = quint32(m_tokenTexts.size());
    m_tokenTexts.emplace_back(token.toString());
    m_dictionary.insert(QStringView(m_tokenTexts.back()), id);
    return id;
}

void FuzzyIndex::add(QStringView source, QStringView target, qint32 places, QStringView changeDate, qint32 key)
{
    const MatchTokens tokens = matchTokens(source);
    if (tokens.count() == 0)
        return;
    Unit unit;
    unit.firstToken = quint32(m_tokens.size());
    unit.tokenCount = quint32(tokens.count());
    for (qsizetype i = 0; i < tokens.count(); ++i)
        m_tokens.push_back(idOf(tokens.token(i)));
    const QByteArray sourceBytes = source.toUtf8();
    const QByteArray targetBytes = target.toUtf8();
    const size_t bytes = size_t(sourceBytes.size() + targetBytes.size());
    if (m_texts.empty() || m_texts.back().capacity() - m_texts.back().size() < bytes) {
        m_texts.emplace_back();
        m_texts.back().reserve(std::max(TextBlockSize, bytes));
    }
    std::vector<char> &block = m_texts.back();
    unit.block = quint32(m_texts.size() - 1);
    unit.offset = quint32(block.size());
    unit.sourceBytes = quint32(sourceBytes.size());
    unit.targetBytes = quint32(targetBytes.size());
    block.insert(block.end(), sourceBytes.cbegin(), sourceBytes.cend());
    block.insert(block.end(), targetBytes.cbegin(), targetBytes.cend());
    unit.places = places;
    unit.key = key;
    unit.changeDate = dateNumber(changeDate);
    m_units.push_back(unit);
    m_longestSource = std::max(m_longestSource, qsizetype(unit.tokenCount));
}

void FuzzyIndex::finish()
{
    renumberTokens();
    fillPostings();
    encodeTokens();
    m_units.shrink_to_fit();
}

// The most used tokens take the smallest numbers, and so one byte in m_tokenBytes.
void FuzzyIndex::renumberTokens()
{
    std::vector<quint64> uses(m_tokenTexts.size(), 0);
    for (const quint32 id : m_tokens)
        ++uses[id];
    std::vector<quint32> byUse(uses.size());
    std::iota(byUse.begin(), byUse.end(), 0);
    std::stable_sort(byUse.begin(), byUse.end(), [&](quint32 a, quint32 b) { return uses[a] > uses[b]; });
    std::vector<quint32> renumbered(uses.size());
    for (size_t i = 0; i < byUse.size(); ++i)
        renumbered[byUse[i]] = quint32(i);
    for (quint32 &id : m_tokens)
        id = renumbered[id];
    for (quint32 &id : m_dictionary)
        id = renumbered[id];
}

void FuzzyIndex::fillPostings()
{
    // Each unit is listed once under each of its distinct tokens: listed
    // holds the unit each token was last taken for, so that no unit's
    // tokens need sorting.
    std::vector<quint32> listed(m_tokenTexts.size(), NoUnit);
    const auto forEachDistinct = [&](quint32 u, const auto &take) {
        const Unit &unit = m_units[u];
        const quint32 *ids = addedTokensOf(unit);
        for (quint32 i = 0; i < unit.tokenCount; ++i) {
            if (listed[ids[i]] != u) {
                listed[ids[i]] = u;
                take(ids[i]);
            }
        }
    };
    m_postingStart.assign(m_tokenTexts.size() + 1, 0);
    for (quint32 u = 0; u < quint32(m_units.size()); ++u)
        forEachDistinct(u, [&](quint32 id) { ++m_postingStart[id + 1]; });
    std::partial_sum(m_postingStart.begin(), m_postingStart.end(), m_postingStart.begin());

    // The units by length, then number: each list, filled in that order, is in it.
    std::vector<quint32> lengthStart(size_t(m_longestSource) + 2, 0);
    for (const Unit &unit : m_units)
        ++lengthStart[unit.tokenCount + 1];
    std::partial_sum(lengthStart.begin(), lengthStart.end(), lengthStart.begin());
    std::vector<quint32> byLength(m_units.size());
    for (quint32 u = 0; u < quint32(m_units.size()); ++u)
        byLength[lengthStart[m_units[u].tokenCount]++] = u;

    m_postings.assign(m_postingStart.back(), 0);
    std::vector<quint32> filled(m_postingStart.cbegin(), m_postingStart.cend() - 1);
    std::fill(listed.begin(), listed.end(), NoUnit);
    for (const quint32 u : byLength)
        forEachDistinct(u, [&](quint32 id) { m_postings[filled[id]++] = u; });
}

void FuzzyIndex::encodeTokens()
{
    std::vector<quint8> bytes;
    bytes.reserve(m_tokens.size() + m_tokens.size() / 2);
    for (Unit &unit : m_units) {
        const quint32 *ids = addedTokensOf(unit);
        unit.firstToken = quint32(bytes.size());
        for (quint32 i = 0; i < unit.tokenCount; ++i) {
            quint32 id = ids[i];
            for (; id >= 0x80; id >>= 7)
                bytes.push_back(quint8(id | 0x80));
            bytes.push_back(quint8(id));
        }
    }
    bytes.shrink_to_fit();
    m_tokenBytes = std::move(bytes);
    m_tokens = std::vector<quint32>();
}

void FuzzyIndex::tokensOf(const Unit &unit, std::vector<quint32> &ids) const
{
    ids.resize(unit.tokenCount);
    const quint8 *byte = m_tokenBytes.data() + unit.firstToken;
    for (quint32 &id : ids) {
        id = 0;
        for (int shift = 0;; shift += 7) {
            id |= quint32(*byte & 0x7F) << shift;
            if ((*byte++ & 0x80) == 0)
                break;
        }
    }
}

QByteArray FuzzyIndex::bytesAt(const Unit &unit, quint32 from, quint32 length) const
{
    return QByteArray::fromRawData(m_texts[unit.block].data() + unit.offset + from, qsizetype(length));
}

QString FuzzyIndex::source(quint32 unit) const
{
    const Unit &u = m_units[unit];
    return QString::fromUtf8(bytesAt(u, 0, u.sourceBytes));
}

QString FuzzyIndex::target(quint32 unit) const
{
    const Unit &u = m_units[unit];
    return QString::fromUtf8(bytesAt(u, u.sourceBytes, u.targetBytes));
}

qsizetype FuzzyIndex::memoryUse() const
{
    size_t bytes = m_units.capacity() * sizeof(Unit) + m_tokens.capacity() * sizeof(quint32) + m_tokenBytes.capacity()
                   + (m_postings.capacity() + m_postingStart.capacity()) * sizeof(quint32);
    for (const std::vector<char> &block : m_texts)
        bytes += block.capacity();
    for (const QString &token : m_tokenTexts)
        bytes += sizeof(QString) + size_t(token.capacity()) * 2 + 32; // 32: the hash's node and the heap's header
    return qsizetype(bytes);
}

std::vector<quint32> FuzzyIndex::queryIds(const MatchTokens &tokens) const
{
    std::vector<quint32> ids;
    ids.reserve(size_t(tokens.count()));
    for (qsizetype i = 0; i < tokens.count(); ++i)
        ids.push_back(m_dictionary.value(tokens.token(i), Unknown));
    return ids;
}

int FuzzyIndex::scoreOf(QStringView text, const std::vector<quint32> &ids, quint32 unit, int minScore) const
{
    const Unit &u = m_units[unit];
    const auto n = qsizetype(ids.size());
    const auto m = qsizetype(u.tokenCount);
    const qsizetype bound = distanceWithin(n, m, minScore);
    if (std::abs(m - n) > bound) // too long or too short, without decoding its tokens
        return -1;
    thread_local std::vector<quint32> unitIds;
    tokensOf(u, unitIds);
    const qsizetype distance = tokenDistance(ids.data(), n, unitIds.data(), m, bound);
    if (distance > bound)
        return -1;
    const int score = distance == 0 && source(unit) != text ? 99 : scoreOfDistance(distance, n, m);
    return score >= minScore ? score : -1;
}

std::vector<FuzzyIndex::Probe> FuzzyIndex::probesFor(std::vector<quint32> ids, qsizetype shortest, qsizetype longest,
                                                     qsizetype distance, qsizetype &weight) const
{
    // Each distinct token once, weighing as many places of the query as it
    // holds, its units cut to the lengths allowed.
    std::sort(ids.begin(), ids.end());
    std::vector<Probe> lists;
    weight = 0;
    for (size_t i = 0; i < ids.size();) {
        const quint32 id = ids[i];
        const size_t first = i;
        while (i < ids.size() && ids[i] == id)
            ++i;
        if (id == Unknown) {
            weight += qsizetype(i - first); // places no source matches: counted without reading
            continue;
        }
        const auto begin = m_postings.cbegin() + m_postingStart[id];
        const auto end = m_postings.cbegin() + m_postingStart[id + 1];
        const auto from = std::partition_point(begin, end, [&](quint32 u) { return m_units[u].tokenCount < shortest; });
        const auto to = std::partition_point(from, end, [&](quint32 u) { return m_units[u].tokenCount <= longest; });
        lists.push_back({quint32(from - m_postings.cbegin()), quint32(to - m_postings.cbegin()), quint32(i - first)});
    }
    std::sort(lists.begin(), lists.end(), [](const Probe &a, const Probe &b) {
        return a.to - a.from != b.to - b.from ? a.to - a.from < b.to - b.from : a.from < b.from;
    });

    // The rarest, until they stand for more places than the distance allows
    // to be unmatched; then more while the postings read stay within budget.
    std::vector<Probe> probes;
    size_t read = 0;
    auto next = lists.cbegin();
    for (; next != lists.cend() && weight <= distance; ++next) {
        probes.push_back(*next);
        weight += next->weight;
        read += next->to - next->from;
    }
    const size_t budget = read * ProbeBudget;
    for (; next != lists.cend() && read + (next->to - next->from) <= budget; ++next) {
        probes.push_back(*next);
        weight += next->weight;
        read += next->to - next->from;
    }
    return probes;
}

bool FuzzyIndex::countProbes(const std::vector<Probe> &probes, quint32 base, quint32 needed, Scratch &scratch,
                             const std::atomic<bool> *stop) const
{
    std::vector<quint32> &met = scratch.met;
    scratch.candidates.clear();
    quint32 seen = 0;
    for (const Probe &probe : probes) {
        for (quint32 p = probe.from; p < probe.to; ++p) {
            if ((++seen & 4095) == 0 && stop && stop->load(std::memory_order_relaxed))
                return false;
            const quint32 unit = m_postings[p];
            quint32 &count = met[unit];
            const quint32 before = count < base ? 0 : count - base;
            count = base + before + probe.weight;
            if (before < needed && before + probe.weight >= needed)
                scratch.candidates.push_back(unit);
        }
    }
    return true;
}

std::vector<FuzzyHit> FuzzyIndex::find(QStringView text, const MatchTokens &tokens, int minScore, Scratch &scratch,
                                       const std::function<bool(qint32 key)> &accept,
                                       const std::atomic<bool> *stop) const
{
    const qsizetype n = tokens.count();
    if (n == 0 || m_units.empty())
        return {};
    const std::vector<quint32> ids = queryIds(tokens);

    // The lengths a source alike enough may have.
    const qsizetype distance = distanceWithin(n, n, minScore);
    const qsizetype shortest = n - distance;
    qsizetype longest = n;
    while (longest < m_longestSource && longest + 1 - distanceWithin(n, longest + 1, minScore) <= n)
        ++longest;

    qsizetype weight = 0;
    const std::vector<Probe> probes = probesFor(ids, shortest, longest, distance, weight);
    if (weight <= distance) // a score so low that a source sharing no token passes
        return scanUnits(text, ids, minScore, accept, stop);

    // The counts only grow from one lookup to the next, in whichever index,
    // so that one scratch serves indexes of any size in turn without
    // clearing it: a count below this lookup's base is none.
    if (scratch.met.size() < m_units.size())
        scratch.met.resize(m_units.size(), 0);
    if (quint64(scratch.base) + quint64(weight) >= 0xFFFFFFFF) {
        std::fill(scratch.met.begin(), scratch.met.end(), 0);
        scratch.base = 0;
    }
    const quint32 base = scratch.base;
    scratch.base += quint32(weight) + 1;
    std::vector<FuzzyHit> hits;
    if (!countProbes(probes, base, quint32(weight - distance), scratch, stop))
        return hits;
    for (size_t i = 0; i < scratch.candidates.size(); ++i) {
        if ((i & 63) == 63 && stop && stop->load(std::memory_order_relaxed))
            return hits;
        const quint32 unit = scratch.candidates[i];
        // Of the query's places, a source of m tokens leaves unmatched at
        // most the distance allowed less the tokens it has beyond the query's.
        const auto m = qsizetype(m_units[unit].tokenCount);
        const qsizetype unmatched = distanceWithin(n, m, minScore) - std::max<qsizetype>(0, m - n);
        if (qsizetype(scratch.met[unit] - base) < weight - unmatched)
            continue;
        if (accept && !accept(m_units[unit].key))
            continue;
        if (const int score = scoreOf(text, ids, unit, minScore); score >= 0)
            hits.push_back({unit, score});
    }
    return hits;
}

std::vector<FuzzyHit> FuzzyIndex::scanUnits(QStringView text, const std::vector<quint32> &ids, int minScore,
                                            const std::function<bool(qint32 key)> &accept,
                                            const std::atomic<bool> *stop) const
{
    std::vector<FuzzyHit> hits;
    for (quint32 unit = 0; unit < quint32(m_units.size()); ++unit) {
        if ((unit & 1023) == 1023 && stop && stop->load(std::memory_order_relaxed))
            break;
        if (accept && !accept(m_units[unit].key))
            continue;
        if (const int score = scoreOf(text, ids, unit, minScore); score >= 0)
            hits.push_back({unit, score});
    }
    return hits;
}

std::vector<FuzzyHit> FuzzyIndex::scan(QStringView text, const MatchTokens &tokens, int minScore) const
{
    if (tokens.count() == 0)
        return {};
    return scanUnits(text, queryIds(tokens), minScore, {}, nullptr);
}

} // namespace wendaro
