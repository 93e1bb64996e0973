// SPDX-License-Identifier: GPL-3.0-or-later
#include "SuggestTexts.h"

#include <QSet>
#include <QStringList>

#include <algorithm>

namespace wendaro::bench {

namespace {

// The words a game's texts use most, most common first: they head the
// vocabulary, so that the longest posting lists are of real words.
const char *const CommonWords[] =
    {"the",    "of",       "to",       "and",      "a",      "you",     "in",     "is",      "your",   "it",
     "for",    "on",       "with",     "this",     "be",     "not",     "have",   "can",     "at",     "from",
     "will",   "all",      "an",       "by",       "or",     "item",    "level",  "are",     "has",    "enemy",
     "attack", "damage",   "sword",    "fire",     "iron",   "gold",    "shield", "potion",  "quest",  "magic",
     "health", "one",      "use",      "more",     "when",   "no",      "armor",  "ring",    "key",    "door",
     "open",   "find",     "get",      "return",   "talk",   "village", "king",   "dragon",  "stone",  "ice",
     "dark",   "light",    "water",    "wind",     "earth",  "power",   "speed",  "skill",   "points", "time",
     "map",    "boss",     "battle",   "party",    "member", "equip",   "buy",    "sell",    "shop",   "town",
     "castle", "cave",     "forest",   "north",    "south",  "east",    "west",   "old",     "new",    "great",
     "small",  "red",      "blue",     "green",    "silver", "steel",   "bronze", "leather", "cloth",  "bow",
     "arrow",  "staff",    "axe",      "spear",    "dagger", "helm",    "boots",  "gloves",  "cloak",  "amulet",
     "scroll", "book",     "chest",    "coin",     "gem",    "crystal", "heart",  "soul",    "blood",  "bone",
     "shadow", "holy",     "cursed",   "ancient",  "hero",   "warrior", "mage",   "thief",   "priest", "knight",
     "guard",  "merchant", "been",     "enough",   "cannot", "must",    "please", "select",  "save",   "load",
     "game",   "file",     "settings", "continue", "yes",    "back",    "cancel", "confirm", "was",    "were",
     "there",  "their",    "what",     "which",    "who",    "if",      "then",   "than",    "into",   "out",
     "up",     "down",     "over",     "after",    "before", "bring",   "me",     "my",      "we",     "our"};

// Hiragana words and endings that most Japanese sentences hold.
const char16_t *const CommonKana[] = {u"の",   u"に",   u"を",   u"は",   u"が",   u"で",     u"と",
                                      u"も",   u"た",   u"て",   u"です", u"ます", u"した",   u"する",
                                      u"して", u"ない", u"この", u"その", u"から", u"まで",   u"より",
                                      u"へ",   u"や",   u"か",   u"ね",   u"よ",   u"ません", u"ください",
                                      u"こと", u"もの", u"れる", u"られ", u"でき", u"いる"};

const char *const Onsets[] = {"b", "c", "d", "f",  "g",  "h",  "k",  "l",  "m",  "n",  "p",  "r",  "s",
                              "t", "v", "w", "br", "cr", "dr", "gr", "st", "th", "sh", "ch", "tr", "pl"};
const char *const Vowels[] = {"a", "e", "i", "o", "u", "ai", "ea", "ou", "io"};
const char *const Codas[] = {"", "", "", "n", "r", "s", "l", "nd", "st", "th", "x"};

constexpr char16_t FirstKanji = 0x4E00;
constexpr int KanjiCount = 2500;
constexpr int KanjiStride = 7; // spreads the pool over the block

QChar kanji(size_t rank)
{
    return QChar(char16_t(FirstKanji + (rank % KanjiCount) * KanjiStride));
}

// Weights for picking 0 to count - 1, rank r with a weight of 1 / (r + 1), summed.
std::vector<double> zipfWeights(size_t count)
{
    std::vector<double> cumulative(count);
    double sum = 0;
    for (size_t r = 0; r < count; ++r)
        cumulative[r] = sum += 1.0 / double(r + 1);
    return cumulative;
}

size_t zipfPick(const std::vector<double> &cumulative, std::mt19937 &random)
{
    const double at = double(random()) / 4294967296.0 * cumulative.back();
    const auto found = std::upper_bound(cumulative.cbegin(), cumulative.cend(), at);
    return std::min(size_t(found - cumulative.cbegin()), cumulative.size() - 1);
}

// A made-up word of one to three syllables, from the bits of seed.
QString syllableWord(quint64 seed)
{
    QString made;
    const int syllables = 1 + int(seed % 3);
    seed /= 3;
    for (int s = 0; s < syllables; ++s) {
        made += QLatin1String(Onsets[seed % std::size(Onsets)]);
        seed /= std::size(Onsets);
        made += QLatin1String(Vowels[seed % std::size(Vowels)]);
        seed /= std::size(Vowels);
        if (s + 1 == syllables)
            made += QLatin1String(Codas[seed % std::size(Codas)]);
        seed = seed * 6364136223846793005ULL + 1442695040888963407ULL;
    }
    return made;
}

std::vector<QString> wordVocabulary(std::mt19937 &random, size_t size)
{
    std::vector<QString> words;
    QSet<QString> taken;
    for (const char *common : CommonWords) {
        if (!taken.contains(QLatin1String(common)))
            words.push_back(*taken.insert(QLatin1String(common)));
    }
    while (words.size() < size) {
        const quint64 high = random();
        const QString made = syllableWord((high << 32) | random());
        if (!taken.contains(made))
            words.push_back(*taken.insert(made));
    }
    return words;
}

// Kanji compounds (their characters the common ones more often), katakana
// loanwords and hiragana words, after the common kana.
std::vector<QString> cjkVocabulary(std::mt19937 &random, size_t size)
{
    std::vector<QString> words;
    QSet<QString> taken;
    for (const char16_t *common : CommonKana)
        words.push_back(*taken.insert(QString::fromUtf16(common)));
    const std::vector<double> kanjiWeights = zipfWeights(KanjiCount);
    while (words.size() < size) {
        QString made;
        const unsigned kind = random() % 10;
        if (kind < 6) {
            // Two characters mostly, one or three a seventh of the time each.
            const unsigned r = random() % 7;
            for (unsigned i = r == 0 ? 1 : r == 1 ? 3 : 2; i > 0; --i)
                made += kanji(zipfPick(kanjiWeights, random));
        } else {
            const bool katakana = kind < 8;
            for (unsigned i = katakana ? 3 + random() % 4 : 2 + random() % 3; i > 0; --i)
                made += QChar(char16_t((katakana ? 0x30A2 : 0x3042) + random() % 82));
        }
        if (!taken.contains(made))
            words.push_back(*taken.insert(made));
    }
    return words;
}

bool endsWithStop(const QString &text)
{
    return text.endsWith(u'.') || text.endsWith(u'!') || text.endsWith(u'?') || text.endsWith(u'。')
           || text.endsWith(u'！');
}

QString capitalised(QString word)
{
    if (!word.isEmpty())
        word[0] = word[0].toUpper();
    return word;
}

// FNV-1a over the code units: qHash mixes in a seed of the process, and the
// texts must be the same on every run.
quint64 textHash(QStringView text)
{
    quint64 hash = 14695981039346656037ULL;
    for (const QChar c : text)
        hash = (hash ^ c.unicode()) * 1099511628211ULL;
    return hash;
}

// Kana and kanji standing for one word, the same for the same word.
QString japaneseWord(const QString &word)
{
    quint64 seed = textHash(word.toLower());
    QString made;
    for (int length = 1 + int(seed % 3); length > 0; --length) {
        seed = seed * 6364136223846793005ULL + 1442695040888963407ULL;
        const auto bits = quint32(seed >> 33);
        made += bits % 3 == 0 ? kanji(bits / 3) : QChar(char16_t(0x3042 + bits / 3 % 82));
    }
    return made;
}

bool keptInTranslation(const QString &chunk)
{
    return chunk.startsWith(u'%') || chunk.startsWith(u'{') || (!chunk.isEmpty() && chunk[0].isDigit());
}

} // namespace

SuggestTexts::SuggestTexts(Script script, quint32 seed) : m_script(script), m_random(seed)
{
    m_vocabulary = script == Script::Words ? wordVocabulary(m_random, 40000) : cjkVocabulary(m_random, 20000);
    m_weights = zipfWeights(m_vocabulary.size());
}

const QString &SuggestTexts::word()
{
    return m_vocabulary[zipfPick(m_weights, m_random)];
}

QString SuggestTexts::fresh()
{
    return m_script == Script::Words ? freshWords() : freshCjk();
}

QString SuggestTexts::variant(const QString &text)
{
    const size_t r = pick(20);
    const int changes = r < 14 ? 1 : r < 19 ? 2 : 3;
    QString made = text;
    for (int i = 0; i < changes; ++i)
        made = m_script == Script::Words ? variantOfWords(made) : variantOfCjk(made);
    return made;
}

// Names (up to four words, each capitalised) and sentences with a stop,
// sometimes a comma, a number, a placeholder or a line break.
QString SuggestTexts::freshWords()
{
    const size_t r = pick(20);
    const size_t count = r < 7 ? 2 + pick(3) : r < 15 ? 5 + pick(8) : 13 + pick(18);
    const bool name = count <= 4 && pick(3) != 0;
    QString made;
    for (size_t i = 0; i < count; ++i) {
        QString next = word();
        if (name || i == 0)
            next = capitalised(next);
        if (!name && pick(10) == 0)
            next = pick(2) ? QString::number(pick(1000)) : QString::fromLatin1(pick(2) ? "%d" : "{0}");
        if (i > 0)
            made += count > 16 && i == count / 2 && pick(4) == 0 ? QStringLiteral(".<br>") : QStringLiteral(" ");
        made += next;
        if (!name && i + 1 < count && pick(10) == 0)
            made += u',';
    }
    if (!name)
        made += QLatin1Char(".....!!?"[pick(8)]);
    return made;
}

// Words of the vocabulary run together up to 5 to 60 characters, sometimes
// with a comma or a number, mostly with a stop.
QString SuggestTexts::freshCjk()
{
    const size_t r = pick(20);
    const qsizetype length = qsizetype(r < 8 ? 5 + pick(11) : r < 16 ? 16 + pick(20) : 36 + pick(25));
    QString made;
    while (made.size() < length) {
        made += pick(12) == 0 ? QString::number(pick(100)) : word();
        if (pick(10) == 0)
            made += u'、';
    }
    made.truncate(length);
    const size_t stop = pick(10);
    if (stop < 6)
        made += stop < 5 ? u'。' : u'！';
    return made;
}

QString SuggestTexts::variantOfWords(const QString &text)
{
    QStringList chunks = text.split(u' ');
    const auto at = [&](qsizetype extra) { return qsizetype(pick(size_t(chunks.size() + extra))); };
    switch (pick(8)) {
    case 0:
    case 1: {
        // "Iron Sword" -> "Iron Sword of Fire", the stop kept at the end.
        QString last = chunks.takeLast();
        const QString stop = endsWithStop(last) ? last.right(1) : QString();
        last.chop(stop.size());
        chunks << last << (pick(2) ? QStringLiteral("of") : QStringLiteral("with")) << capitalised(word());
        if (pick(3) == 0)
            chunks << word();
        chunks.last() += stop;
        break;
    }
    case 2: chunks[at(0)] = word(); break;
    case 3:
        if (chunks.size() > 2)
            chunks.removeAt(at(0));
        break;
    case 4: {
        const qsizetype i = at(1);
        chunks.insert(i, word());
        break;
    }
    case 5:
        if (chunks.size() > 1) {
            const qsizetype i = at(-1);
            chunks.swapItemsAt(i, i + 1);
        }
        break;
    case 6: chunks.prepend(pick(2) ? QStringLiteral("New") : capitalised(word())); break;
    default:
        // Another case or another stop: tokens alike, characters not.
        chunks.first() = chunks.first().isUpper() ? chunks.first().toLower() : chunks.first().toUpper();
        break;
    }
    return chunks.join(u' ');
}

QString SuggestTexts::variantOfCjk(const QString &text)
{
    QString made = text;
    const auto at = [&] { return qsizetype(pick(size_t(made.size()))); };
    switch (pick(7)) {
    case 0:
    case 1: {
        const bool stop = endsWithStop(made);
        const QChar last = made.back();
        if (stop)
            made.chop(1);
        if (pick(2))
            made += u'の';
        made += word();
        if (stop)
            made += last;
        break;
    }
    case 2: {
        const qsizetype i = at();
        const qsizetype length = 1 + qsizetype(pick(2));
        made.replace(i, length, word());
        break;
    }
    case 3:
        if (made.size() > 6) {
            const qsizetype i = at();
            made.remove(i, 1 + qsizetype(pick(2)));
        }
        break;
    case 4: {
        const qsizetype i = at();
        made.insert(i, word());
        break;
    }
    case 5: made.prepend(word() + QStringLiteral("の")); break;
    default:
        if (endsWithStop(made))
            made.chop(1);
        else
            made += u'。';
        break;
    }
    return made;
}

QString SuggestTexts::translation(const QString &source) const
{
    if (m_script == Script::Cjk) {
        // A made-up word for every two characters.
        QStringList words;
        for (qsizetype i = 0; i < source.size(); i += 2)
            words << syllableWord(textHash(QStringView(source).mid(i, 2)));
        words.first() = capitalised(words.first());
        return words.join(u' ') + (endsWithStop(source) ? QStringLiteral(".") : QString());
    }
    QStringList lines = source.split(QStringLiteral("<br>"));
    for (QString &line : lines) {
        QString made;
        for (QString chunk : line.split(u' ', Qt::SkipEmptyParts)) {
            while (!chunk.isEmpty() && (chunk.back() == u',' || endsWithStop(chunk)))
                chunk.chop(1);
            made += keptInTranslation(chunk) ? chunk : japaneseWord(chunk);
        }
        line = made + (endsWithStop(line) ? QStringLiteral("。") : QString());
    }
    return lines.join(QStringLiteral("<br>"));
}

namespace {

// Each original at most once as it is, or once or twice as a near copy.
void addNearOriginals(SuggestTexts &texts, const std::vector<QString> &originals, std::mt19937 &random,
                      std::vector<QString> &sources)
{
    for (const QString &original : originals) {
        const unsigned r = random() % 100;
        if (r < 25)
            sources.push_back(original);
        else if (r < 60)
            for (unsigned n = 1 + random() % 2; n > 0; --n)
                sources.push_back(texts.variant(original));
    }
}

} // namespace

SuggestData makeSuggestData(Script script, int originals, int units)
{
    SuggestTexts texts(script, script == Script::Words ? 20240517 : 20240518);
    std::mt19937 random(1234567);
    SuggestData data;
    data.originals.reserve(size_t(originals));
    for (int i = 0; i < originals; ++i)
        data.originals.push_back(i > 0 && random() % 5 == 0 ? texts.variant(data.originals[random() % unsigned(i)])
                                                            : texts.fresh());
    std::vector<QString> sources;
    sources.reserve(size_t(units));
    addNearOriginals(texts, data.originals, random, sources);
    while (sources.size() < size_t(units)) {
        sources.push_back(!sources.empty() && random() % 100 < 40 ? texts.variant(sources[random() % sources.size()])
                                                                  : texts.fresh());
    }
    sources.resize(size_t(units));
    std::shuffle(sources.begin(), sources.end(), random);

    TranslationMemory &memory = data.memory;
    memory.sourceLanguage = script == Script::Words ? QStringLiteral("en") : QStringLiteral("ja");
    memory.targetLanguage = script == Script::Words ? QStringLiteral("ja") : QStringLiteral("en");
    memory.toolVersion = QStringLiteral("bench");
    memory.creationDate = QStringLiteral("20240517T093000Z");
    memory.tables = {QStringLiteral("bench.stf")};
    memory.units.reserve(sources.size());
    for (QString &source : sources) {
        MemoryUnit unit{{}, texts.translation(source), {{0, qint16(1 + random() % 32766)}}};
        if (random() % 10 == 0)
            unit.places.push_back({0, qint16(1 + random() % 32766)});
        unit.source = std::move(source);
        memory.units.push_back(std::move(unit));
    }
    return data;
}

} // namespace wendaro::bench
