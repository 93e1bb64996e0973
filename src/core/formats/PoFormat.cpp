// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/formats/PoFormat.h"

#include "core/text/CharacterName.h"
#include "core/formats/GettextPo.h"
#include "core/text/Number.h"
#include "core/translation/LanguageCode.h"
#include "core/translation/TranslationCatalog.h"
#include "core/translation/TranslatorText.h"

#include <QFile>
#include <QHash>
#include <QSet>
#include <QStringDecoder>
#include <QTemporaryFile>

#include <algorithm>
#include <optional>
#include <vector>

namespace wendaro {

namespace {

// A text written in the CR LF form (see TranslatorText.h) carries one of
// these lines in its message's comments, and reading takes the form from
// them. The msgid's mark is an extracted comment ("#."), which msgmerge
// takes from the template together with the msgid; the msgstr's mark is a
// translator comment ("# "), which msgmerge keeps from the old PO together
// with the msgstr. So each mark travels with the text it describes.
const QString SourceMark = QStringLiteral("wendaro: msgid line breaks are CR LF");
const QString TargetMark = QStringLiteral("wendaro: msgstr line breaks are CR LF");
// The entry's name, shown to the translator beside the source. It is not
// data: reading ignores it.
const QString NamePrefix = QStringLiteral("name: ");

// The form of a text read. The library's po_message_comments() and
// po_message_extracted_comments() return a joined copy that nobody frees
// (a known leak of gettext-po.c; freeing it ourselves would rely on the
// library's inside). Only a text with an LF reads differently in the two
// forms, so only then are the comments asked for.
LineBreakForm formOf(const QString &text, po_message_t message, const char *(*comments)(po_message_t),
                     const QString &mark)
{
    if (!text.contains(QLatin1Char('\n')))
        return LineBreakForm::Plain;
    const QStringList lines = QString::fromUtf8(comments(message)).split(QLatin1Char('\n'));
    for (const QString &line : lines)
        if (line.trimmed() == mark)
            return LineBreakForm::CrLf;
    return LineBreakForm::Plain;
}

// A comment line cannot hold a line break; the name shows CR and LF as
// escapes so that it stays one line and cannot pose as a mark.
QString nameComment(const QString &name)
{
    QString shown = name;
    shown.replace(QLatin1Char('\r'), QStringLiteral("\\r")).replace(QLatin1Char('\n'), QStringLiteral("\\n"));
    return NamePrefix + shown + QLatin1Char('\n');
}

// The position of the first character PO cannot carry, or -1: a NUL ends
// a string in the library's C interface, and an unpaired surrogate has no
// UTF-8 form.
qsizetype unwritable(const QString &text)
{
    const qsizetype nul = text.indexOf(QChar::Null);
    const qsizetype lone = firstLoneSurrogate(text);
    return nul < 0 ? lone : lone < 0 ? nul : qMin(nul, lone);
}

QString header(const TranslationCatalog &catalog)
{
    QString original = catalog.original;
    original.replace(QLatin1Char('\r'), QLatin1Char(' ')).replace(QLatin1Char('\n'), QLatin1Char(' '));
    // Poedit and Weblate read the source's language from this header of theirs.
    const QString sourceLanguage = catalog.sourceLanguage.isEmpty()
                                       ? QString()
                                       : QStringLiteral("X-Source-Language: %1\n").arg(catalog.sourceLanguage);
    // The dates are gettext's placeholders: the file is the same for the
    // same table, and a PO editor fills PO-Revision-Date when a translator
    // saves. POT-Creation-Date is left out for the same reason.
    return QStringLiteral("Project-Id-Version: %1\n"
                          "PO-Revision-Date: YEAR-MO-DA HO:MI+ZONE\n"
                          "Last-Translator: \n"
                          "Language-Team: \n"
                          "Language: %2\n"
                          "MIME-Version: 1.0\n"
                          "Content-Type: text/plain; charset=UTF-8\n"
                          "Content-Transfer-Encoding: 8bit\n"
                          "X-Generator: Wendaro\n%3")
        .arg(original, gettextLanguage(catalog.targetLanguage), sourceLanguage);
}

// What a message's msgstr holds: the unit's translation, or for a unit
// still to translate its best suggestion, fuzzy (gettext's mark of a
// guess that a translator must review, which import skips unless told).
// Nullopt for an empty msgstr: an empty translation has no form of its own
// in PO, an empty msgstr is an untranslated message.
struct Msgstr
{
    QString text;
    bool fuzzy = false;
    const UnitSuggestion *guess = nullptr; // the suggestion taken, if one was
};

std::optional<Msgstr> msgstrOf(const TranslationUnit &unit, const TranslationCatalog &catalog)
{
    if (!unit.suggestions.isEmpty()) {
        const UnitSuggestion &best = unit.suggestions.constFirst();
        return Msgstr{best.target, true, &best};
    }
    if (!unit.translated || catalog.isTemplate || unit.target.isEmpty())
        return std::nullopt;
    // gettext writes the fuzzy flag only beside a translation: without
    // one there is nothing to review.
    return Msgstr{unit.target, unit.fuzzy, nullptr};
}

// The translator comment that says where a guessed msgstr came from and how
// alike its source is, "87 % tm.tmx": a comment line holds no line break.
QString guessComment(const UnitSuggestion &guess)
{
    QString origin = guess.origin;
    origin.replace(QLatin1Char('\r'), QLatin1Char(' ')).replace(QLatin1Char('\n'), QLatin1Char(' '));
    return QStringLiteral("%1 % %2\n").arg(QString::number(guess.score), origin);
}

po_message_t newMessage(const QByteArray *context, const QByteArray &id, const QByteArray &str)
{
    po_message_t message = po_message_create();
    po_message_set_msgctxt(message, context ? context->constData() : nullptr);
    po_message_set_msgid(message, id.constData());
    po_message_set_msgstr(message, str.constData());
    return message;
}

// The library gives no line of a message, only of an error. The lines
// where messages start are found here by their first keyword: a msgctxt,
// or a msgid that no msgctxt precedes. Obsolete messages ("#~") are
// comments to this count, as they are skipped when read.
std::vector<size_t> messageLines(QByteArrayView data)
{
    std::vector<size_t> lines;
    bool afterContext = false;
    size_t number = 0;
    qsizetype start = 0;
    while (start <= data.size()) {
        qsizetype end = data.indexOf('\n', start);
        if (end < 0)
            end = data.size();
        ++number;
        const QByteArrayView line = data.sliced(start, end - start).trimmed();
        if (line.startsWith("msgctxt")) {
            lines.push_back(number);
            afterContext = true;
        } else if (line.startsWith("msgid") && !line.startsWith("msgid_plural")) {
            if (!afterContext)
                lines.push_back(number);
            afterContext = false;
        } else if (line.startsWith("msg")) {
            afterContext = false;
        }
        start = end + 1;
    }
    return lines;
}

bool isUtf8Charset(const QByteArray &charset)
{
    // "CHARSET" is the placeholder of a template that xgettext made; ASCII
    // is a part of UTF-8.
    static const QList<QByteArray> known = {"utf-8", "utf8", "us-ascii", "ascii", "charset"};
    return known.contains(charset.toLower());
}

bool isHeader(po_message_t message)
{
    return !po_message_msgctxt(message) && !*po_message_msgid(message);
}

// The charset the header names, or an empty string. The header is taken
// from its message rather than from po_file_domain_header(), which hands
// out a copy that nobody frees.
QByteArray charsetOf(const std::vector<po_message_t> &messages)
{
    const auto header = std::find_if(messages.begin(), messages.end(), isHeader);
    if (header == messages.end())
        return QByteArray();
    char *field = po_header_field(po_message_msgstr(*header), "Content-Type");
    const QByteArray contentType(field);
    free(field);
    const qsizetype at = contentType.toLower().indexOf("charset=");
    if (at < 0)
        return QByteArray();
    QByteArray charset = contentType.mid(at + 8);
    const qsizetype stop = charset.indexOf(';');
    return (stop < 0 ? charset : charset.left(stop)).trimmed();
}

// A strict decoding: an invalid sequence is an error, and a leading
// U+FEFF is a character of the text, not a byte order mark.
bool decode(const char *bytes, QString &text)
{
    QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::ConvertInitialBom);
    text = decoder(QByteArrayView(bytes));
    return !decoder.hasError();
}

// The messages of the catalog, after a header.
PoFile messagesOf(const TranslationCatalog &catalog)
{
    PoFile file(po_file_create());
    po_message_iterator_t iterator = po_message_iterator(file.get(), nullptr);
    po_message_t head = newMessage(nullptr, QByteArray(""), header(catalog).toUtf8());
    // As xgettext marks a template's header, until a translator fills it.
    po_message_set_fuzzy(head, catalog.isTemplate);
    po_message_insert(iterator, head);
    // Every message has a context, the index: it keeps messages with the
    // same source apart, lets msgmerge match a unit by its index, and keeps
    // a unit with an empty source from being taken for the header (gettext
    // takes only a message without a context for it). A lone CR needs no
    // escape of ours: gettext writes it as "\r", and msgfmt --check takes
    // it. A source and its translation that differ in a leading or trailing
    // line break are written as they are; msgfmt --check reports that
    // against the translation.
    for (const TranslationUnit &unit : catalog.units) {
        const QByteArray context = QByteArray::number(unit.index);
        const LineBreakForm sourceForm = lineBreakFormFor(unit.source);
        const std::optional<Msgstr> msgstr = msgstrOf(unit, catalog);
        const LineBreakForm targetForm = msgstr ? lineBreakFormFor(msgstr->text) : LineBreakForm::Plain;
        po_message_t message = newMessage(&context, toTranslatorText(unit.source, sourceForm).toUtf8(),
                                          msgstr ? toTranslatorText(msgstr->text, targetForm).toUtf8()
                                                 : QByteArray(""));
        QString extracted;
        if (!unit.name.isEmpty())
            extracted += nameComment(unit.name);
        if (sourceForm == LineBreakForm::CrLf)
            extracted += SourceMark + QLatin1Char('\n');
        po_message_set_extracted_comments(message, extracted.toUtf8().constData());
        QString comments;
        if (msgstr && msgstr->guess)
            comments += guessComment(*msgstr->guess);
        if (targetForm == LineBreakForm::CrLf)
            comments += TargetMark + QLatin1Char('\n');
        if (!comments.isEmpty())
            po_message_set_comments(message, comments.toUtf8().constData());
        po_message_set_fuzzy(message, msgstr && msgstr->fuzzy);
        po_message_insert(iterator, message);
    }
    po_message_iterator_free(iterator);
    return file;
}

// What the file read back lost of the catalog, or an empty string. The
// library does not notice a write that failed (a full disk), and a value
// that gettext altered on its way would be lost without a word.
QString firstLoss(const TranslationCatalog &catalog, const TranslationCatalog &back)
{
    if (back.units.size() != catalog.units.size())
        return QStringLiteral("書き出した PO ファイルにはメッセージが %1 個しかありません（%2 個のはずです）。"
                              "ディスクの空きが足りないのかもしれません。")
            .arg(back.units.size())
            .arg(catalog.units.size());
    for (qsizetype i = 0; i < catalog.units.size(); ++i) {
        const TranslationUnit &meant = catalog.units.at(i);
        const TranslationUnit &got = back.units.at(i);
        const std::optional<Msgstr> msgstr = msgstrOf(meant, catalog);
        const bool same = got.index == meant.index && got.source == meant.source
                          && got.fuzzy == (msgstr && msgstr->fuzzy) && got.translated == msgstr.has_value()
                          && (!msgstr || got.target == msgstr->text);
        if (!same)
            return QStringLiteral("インデックス %1 の項目が、書き出した PO ファイルから元どおりに読み返せません。")
                .arg(meant.index);
    }
    return QString();
}

} // namespace

PoFormat::PoFormat()
    : FileFormat({.shortName = QStringLiteral("po"),
                  .nameFilter = QStringLiteral("PO (*.po *.pot)"),
                  .suffixes = {QStringLiteral("po"), QStringLiteral("pot")},
                  .capabilities = ReadsCatalogs | WritesCatalogs | WritesSuggestions})
{
}

bool PoFormat::writeCatalog(const TranslationCatalog &catalog, QByteArray &out, QString *error) const
{
    QSet<qint16> seen;
    for (const TranslationUnit &unit : catalog.units) {
        if (seen.contains(unit.index)) {
            *error = QStringLiteral(
                         "インデックス %1 の項目が二つあります。PO ではインデックスでメッセージを見分けるため、"
                         "書き出せません。")
                         .arg(unit.index);
            return false;
        }
        seen.insert(unit.index);
        const std::optional<Msgstr> msgstr = msgstrOf(unit, catalog);
        const std::pair<const QString *, QString> parts[] = {
            {&unit.name, QStringLiteral("名前")},
            {&unit.source, QStringLiteral("原文")},
            {msgstr ? &msgstr->text : nullptr,
             msgstr && msgstr->guess ? QStringLiteral("訳の候補") : QStringLiteral("訳文")},
        };
        for (const auto &[text, part] : parts) {
            if (!text)
                continue;
            const qsizetype at = unwritable(*text);
            if (at >= 0) {
                *error = QStringLiteral("インデックス %1 の%2の %3 文字目 %4 は PO ファイルに書けません（%5）。")
                             .arg(unit.index)
                             .arg(part)
                             .arg(at + 1)
                             .arg(characterName(*text, at),
                                  text->at(at).isNull()
                                      ? QStringLiteral("PO の文字列は NUL を含められません")
                                      : QStringLiteral("対になっていないサロゲートは UTF-8 で表せません"));
                return false;
            }
        }
    }

    QTemporaryFile temporary;
    if (!temporary.open()) {
        *error = QStringLiteral("PO ファイルを作る一時ファイルを開けません（%1）。").arg(temporary.errorString());
        return false;
    }
    {
        GettextPo library;
        const PoFile file = messagesOf(catalog);
        if (!library.write(file.get(), QFile::encodeName(temporary.fileName()))) {
            *error = QStringLiteral("gettext のライブラリーが PO ファイルを書けませんでした: %1").arg(library.error());
            return false;
        }
    }
    // The library wrote through a file of its own; ours still stands at 0.
    const QByteArray written = temporary.readAll();
    if (temporary.error() != QFileDevice::NoError) {
        *error = QStringLiteral("書き出した PO ファイルを読み返せません（%1）。").arg(temporary.errorString());
        return false;
    }
    TranslationCatalog back;
    if (!readCatalog(written, back, error)) {
        *error = QStringLiteral("書き出した PO ファイルが読めません。ディスクの空きが足りないのかもしれません: %1")
                     .arg(*error);
        return false;
    }
    if (const QString loss = firstLoss(catalog, back); !loss.isEmpty()) {
        *error = loss;
        return false;
    }
    out = written;
    return true;
}

namespace {

// The file parsed by the library, which reads only from a file; nullptr
// and the error for a file that it refuses and for one with a domain. The
// session stays with the caller: the whole read of the messages is one
// session, the freeing of the file included.
PoFile parsedFile(QByteArrayView data, GettextPo &library, QString *error)
{
    QTemporaryFile temporary;
    if (!temporary.open() || temporary.write(data.data(), data.size()) != data.size() || !temporary.flush()) {
        *error = QStringLiteral("PO ファイルを読む一時ファイルに書けません（%1）。").arg(temporary.errorString());
        return nullptr;
    }
    PoFile file = library.read(QFile::encodeName(temporary.fileName()));
    if (!file) {
        *error = library.line() > 0 ? QStringLiteral("%1 行目: %2").arg(library.line()).arg(library.error())
                                    : QStringLiteral("PO ファイルを読めません: %1").arg(library.error());
        return nullptr;
    }
    const char *const *domains = po_file_domains(file.get());
    if (domains[0] && (domains[1] || qstrcmp(domains[0], "messages") != 0)) {
        *error = QStringLiteral(
            "PO ファイルに domain 指定があります。一つの表は一つのドメインに書き出されるため、読めません。");
        return nullptr;
    }
    return file;
}

// The messages in file order, the obsolete ones left out.
std::vector<po_message_t> liveMessages(const PoFile &file)
{
    std::vector<po_message_t> messages;
    po_message_iterator_t iterator = po_message_iterator(file.get(), nullptr);
    while (po_message_t message = po_next_message(iterator))
        if (!po_message_is_obsolete(message))
            messages.push_back(message);
    po_message_iterator_free(iterator);
    return messages;
}

// One message as a unit, which must have an index of its own; places holds
// where each index read so far came from.
std::optional<TranslationUnit> unitOf(po_message_t message, const QString &place, QHash<qint16, QString> &places,
                                      QString *error)
{
    const char *context = po_message_msgctxt(message);
    const auto fail = [&](const QString &what) {
        *error = QStringLiteral("%1 のメッセージ%2").arg(place, what);
        return std::nullopt;
    };
    if (po_message_msgid_plural(message))
        return fail(
            QStringLiteral("は複数形（msgid_plural）を持っています。表の項目は複数形を持てないため、読めません。"));
    if (!context)
        return fail(QStringLiteral("に msgctxt がありません。msgctxt に項目のインデックスが要ります。"));
    TranslationUnit unit;
    QString contextText;
    const std::optional<qint16> index = decode(context, contextText) ? parseIndexDigits(contextText) : std::nullopt;
    if (!index)
        return fail(QStringLiteral("の msgctxt「%1」は -32768 から 32767 のインデックスではありません。")
                        .arg(QString::fromUtf8(context)));
    unit.index = *index;
    if (places.contains(unit.index))
        return fail(QStringLiteral("のインデックス %1 は%2 のメッセージと重複しています。")
                        .arg(unit.index)
                        .arg(places.value(unit.index)));
    places.insert(unit.index, place);
    QString source;
    QString target;
    if (!decode(po_message_msgid(message), source))
        return fail(QStringLiteral("の msgid に UTF-8 でないバイトがあります。"));
    if (!decode(po_message_msgstr(message), target))
        return fail(QStringLiteral("の msgstr に UTF-8 でないバイトがあります。"));
    unit.source = fromTranslatorText(source, formOf(source, message, po_message_extracted_comments, SourceMark));
    unit.target = fromTranslatorText(target, formOf(target, message, po_message_comments, TargetMark));
    unit.translated = !target.isEmpty();
    // As gettext writes it: without a translation there is nothing to review.
    unit.fuzzy = unit.translated && po_message_is_fuzzy(message);
    unit.hasName = false;
    unit.place = place;
    return unit;
}

} // namespace

bool PoFormat::readCatalog(QByteArrayView data, TranslationCatalog &catalog, QString *error) const
{
    GettextPo library;
    const PoFile file = parsedFile(data, library, error);
    if (!file)
        return false;
    const std::vector<po_message_t> messages = liveMessages(file);
    const QByteArray charset = charsetOf(messages);
    if (!charset.isEmpty() && !isUtf8Charset(charset)) {
        *error = QStringLiteral("PO ファイルの文字コード %1 は読めません。UTF-8 に変換してから読み込んでください"
                                "（msgconv --to-code=UTF-8）。")
                     .arg(QString::fromLatin1(charset));
        return false;
    }

    const std::vector<size_t> lines = messageLines(data);
    const bool linesKnown = lines.size() == messages.size();

    QList<TranslationUnit> units;
    QHash<qint16, QString> places;
    for (size_t n = 0; n < messages.size(); ++n) {
        po_message_t message = messages[n];
        if (isHeader(message))
            continue;
        const QString place = linesKnown ? QStringLiteral("行 %1").arg(lines[n])
                                         : QStringLiteral("%1 番目のメッセージ").arg(n + 1);
        std::optional<TranslationUnit> unit = unitOf(message, place, places, error);
        if (!unit)
            return false;
        units.append(*unit);
    }
    bool anyTranslated = false;
    for (const TranslationUnit &unit : units)
        anyTranslated = anyTranslated || unit.translated;
    catalog.isTemplate = !anyTranslated;
    catalog.hasSource = true;
    catalog.units += units;
    return true;
}

} // namespace wendaro
