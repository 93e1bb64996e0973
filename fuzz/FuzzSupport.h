#pragma once

#include "CodePage.h"
#include "EntryList.h"
#include "IndexText.h"
#include "TextFields.h"

#include <QByteArrayView>
#include <QString>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

namespace wendaro::fuzz {

// The harnesses read as the program does when nothing else is configured.
inline const CodePage &defaultCodePage()
{
    static const CodePage page = [] {
        QString error;
        std::optional<CodePage> opened = CodePage::open(CodePage::DefaultName, &error);
        if (!opened) {
            std::fprintf(stderr, "%s\n", qPrintable(error));
            std::abort();
        }
        return *opened;
    }();
    return page;
}

inline QByteArrayView bytesOf(const uint8_t *data, size_t size)
{
    return QByteArrayView(reinterpret_cast<const char *>(data), qsizetype(size));
}

// A broken promise is a finding: aborting makes libFuzzer keep the input.
inline void require(bool holds, const char *promise)
{
    if (!holds) {
        std::fprintf(stderr, "broken: %s\n", promise);
        std::abort();
    }
}

inline bool sameRows(const EntryList &a, const EntryList &b)
{
    if (a.count() != b.count())
        return false;
    for (qsizetype p = 1; p <= a.count(); ++p) {
        const Entry &x = a.at(p);
        const Entry &y = b.at(p);
        if (x.indexText != y.indexText || x.name != y.name || x.value != y.value || x.key != y.key)
            return false;
    }
    return true;
}

// Builds a table from the fuzz input, byte by byte; the same bytes always
// give the same table, and an exhausted input reads as zeros. The texts lean
// towards what the formats treat specially: separators, spaces, "<br>", the
// directives, the characters of numbers, stand-ins, double-byte characters
// and surrogates.
class TableInput
{
public:
    explicit TableInput(QByteArrayView bytes) : m_bytes(bytes) {}

    void build(EntryList &rows, TextFields &fields)
    {
        fields.outputFile = text();
        fields.memo = text();
        const int count = byte() % 9;
        for (int i = 0; i < count; ++i) {
            const qsizetype p = rows.append(indexText());
            rows.setName(p, text());
            rows.setValue(p, text());
        }
    }

private:
    quint8 byte() { return m_at < m_bytes.size() ? quint8(m_bytes[m_at++]) : 0; }
    quint16 word()
    {
        const quint8 high = byte();
        return quint16(high << 8 | byte());
    }

    // Mostly a well-formed index as the program makes them, else any text
    // (numbers with TAB, exponents, signs and spaces are likely).
    QString indexText()
    {
        const quint8 kind = byte();
        if (kind % 3 == 0)
            return wendaro::indexText(qint16(word()));
        return text();
    }

    QString text()
    {
        const int length = byte() % 12;
        QString out;
        for (int i = 0; i < length; ++i)
            appendPiece(out);
        return out;
    }

    void appendPiece(QString &out)
    {
        static const char16_t Special[] = u"\t\r\n  +-.eE";
        static const char16_t Japanese[] = u"あ漢表ソ能ー～￥①㈱ｱ";
        static const QString Tokens[] = {QStringLiteral("<br>"), QStringLiteral(">file"), QStringLiteral(">//"),
                                         QStringLiteral("\r\n"), QStringLiteral("1e-400")};
        const quint8 kind = byte();
        const quint8 arg = byte();
        switch (kind % 12) {
        case 0:
        case 1:
            out += QChar(Special[arg % (std::size(Special) - 1)]);
            break;
        case 2:
            out += QChar(u'0' + arg % 10);
            break;
        case 3:
            out += Tokens[arg % std::size(Tokens)];
            break;
        case 4:
            out += QChar(char16_t(CodePage::EscapeBase + arg));
            break;
        case 5:
            out += QChar(Japanese[arg % (std::size(Japanese) - 1)]);
            break;
        case 6: // a lone high or low surrogate, or a pair
            if (arg % 3 != 1)
                out += QChar(char16_t(0xD800 + (arg << 2)));
            if (arg % 3 != 0)
                out += QChar(char16_t(0xDC00 + arg));
            break;
        case 7:
        case 8:
            out += QChar(char16_t(0x20 + arg % 0x5F));
            break;
        case 9:
            out += QChar(char16_t(0xFF61 + arg % 0x3F)); // half-width katakana, one byte
            break;
        default:
            out += QChar(char16_t(arg << 8 | byte()));
            break;
        }
    }

    QByteArrayView m_bytes;
    qsizetype m_at = 0;
};

} // namespace wendaro::fuzz
