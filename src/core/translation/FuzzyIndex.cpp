// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/translation/FuzzyIndex.h"

#include "core/translation/FuzzyScore.h"

#include <algorithm>
#include <numeric>

namespace wendaro {

namespace {

constexpr size_t TextBlockSize = size_t(4) << 20;

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
    // Each unit is listed once under each of its distinct tokens.
    std::vector<quint32> distinct;
    const auto distinctTokens = [&](const Unit &unit) {
        distinct.assign(tokensOf(unit), tokensOf(unit) + unit.tokenCount);
        std::sort(distinct.begin(), distinct.end());
        distinct.erase(std::unique(distinct.begin(), distinct.end()), distinct.end());
    };
    m_postingStart.assign(m_tokenTexts.size() + 1, 0);
    for (const Unit &unit : m_units) {
        distinctTokens(unit);
        for (const quint32 id : distinct)
            ++m_postingStart[id + 1];
    }
    std::partial_sum(m_postingStart.begin(), m_postingStart.end(), m_postingStart.begin());
    m_postings.assign(m_postingStart.back(), 0);
    std::vector<quint32> filled(m_postingStart.cbegin(), m_postingStart.cend() - 1);
    for (quint32 u = 0; u < quint32(m_units.size()); ++u) {
        distinctTokens(m_units[u]);
        for (const quint32 id : distinct)
            m_postings[filled[id]++] = u;
    }
    for (size_t t = 0; t + 1 < m_postingStart.size(); ++t) {
        std::stable_sort(m_postings.begin() + m_postingStart[t], m_postings.begin() + m_postingStart[t + 1],
                         [&](quint32 a, quint32 b) { return m_units[a].tokenCount < m_units[b].tokenCount; });
    }
    m_tokens.shrink_to_fit();
    m_units.shrink_to_fit();
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
    size_t bytes = m_units.capacity() * sizeof(Unit) + m_tokens.capacity() * sizeof(quint32)
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
    const qsizetype distance = tokenDistance(ids.data(), n, tokensOf(u), m, bound);
    if (distance > bound)
        return -1;
    const int score = distance == 0 && source(unit) != text ? 99 : scoreOfDistance(distance, n, m);
    return score >= minScore ? score : -1;
}

std::vector<FuzzyHit> FuzzyIndex::find(QStringView text, const MatchTokens &tokens, int minScore, Scratch &scratch,
                                       const std::function<bool(qint32 key)> &accept,
                                       const std::atomic<bool> *stop) const
{
    std::vector<FuzzyHit> hits;
    const qsizetype n = tokens.count();
    if (n == 0 || m_units.empty())
        return hits;
    const std::vector<quint32> ids = queryIds(tokens);

    // The lengths a source alike enough may have.
    const qsizetype shortest = n - distanceWithin(n, n, minScore);
    qsizetype longest = n;
    while (longest < m_longestSource && longest + 1 - distanceWithin(n, longest + 1, minScore) <= n)
        ++longest;

    // The rarest tokens, as many as the distance allows and one more.
    const auto rarity = [&](quint32 id) { return id == Unknown ? 0 : m_postingStart[id + 1] - m_postingStart[id]; };
    std::vector<quint32> probes = ids;
    std::stable_sort(probes.begin(), probes.end(), [&](quint32 a, quint32 b) { return rarity(a) < rarity(b); });
    probes.resize(size_t(std::min(n, distanceWithin(n, n, minScore) + 1)));
    std::sort(probes.begin(), probes.end());
    probes.erase(std::unique(probes.begin(), probes.end()), probes.end());

    // The marks only grow and the generation only rises, so that one
    // scratch serves indexes of any size in turn without clearing it.
    if (scratch.met.size() < m_units.size())
        scratch.met.resize(m_units.size(), 0);
    if (++scratch.generation == 0) {
        std::fill(scratch.met.begin(), scratch.met.end(), 0);
        scratch.generation = 1;
    }
    qsizetype seen = 0;
    for (const quint32 id : probes) {
        if (id == Unknown)
            continue;
        const auto first = m_postings.cbegin() + m_postingStart[id];
        const auto last = m_postings.cbegin() + m_postingStart[id + 1];
        const auto from = std::partition_point(first, last,
                                               [&](quint32 u) { return m_units[u].tokenCount < shortest; });
        for (auto it = from; it != last && m_units[*it].tokenCount <= longest; ++it) {
            if ((++seen & 1023) == 0 && stop && stop->load(std::memory_order_relaxed))
                return hits;
            const quint32 unit = *it;
            if (scratch.met[unit] == scratch.generation)
                continue;
            scratch.met[unit] = scratch.generation;
            if (accept && !accept(m_units[unit].key))
                continue;
            if (const int score = scoreOf(text, ids, unit, minScore); score >= 0)
                hits.push_back({unit, score});
        }
    }
    return hits;
}

std::vector<FuzzyHit> FuzzyIndex::scan(QStringView text, const MatchTokens &tokens, int minScore) const
{
    std::vector<FuzzyHit> hits;
    if (tokens.count() == 0)
        return hits;
    const std::vector<quint32> ids = queryIds(tokens);
    for (quint32 unit = 0; unit < quint32(m_units.size()); ++unit) {
        if (const int score = scoreOf(text, ids, unit, minScore); score >= 0)
            hits.push_back({unit, score});
    }
    return hits;
}

} // namespace wendaro
