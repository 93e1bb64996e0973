// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/text/CodePage.h"
#include "core/model/EntryList.h"
#include "core/model/IndexText.h"
#include "core/model/TextFields.h"

#include <QByteArrayView>
#include <QFile>
#include <QString>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

namespace wendaro::fuzz {

// The harnesses read as the program does: in the code page that
// WENDARO_CODEPAGE names, or the default.
inline const CodePage &defaultCodePage()
{
    static const CodePage page = [] {
        QString error;
        std::optional<CodePage> opened = CodePage::fromEnvironment(&error);
        if (!opened) {
            std::fprintf(stderr, "%s\n", qPrintable(error));
            std::abort();
        }
        return *opened;
    }();
    return page;
}

// Writes a seed; program names the writer in the message of a failure.
inline bool writeSeed(const char *program, const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(bytes) != bytes.size()) {
        std::fprintf(stderr, "%s: cannot write %s\n", program, qPrintable(path));
        return false;
    }
    return true;
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
    for (qsizetype p = 0; p < a.count(); ++p) {
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
        // Most tables with any character at all are refused by both writers;
        // a table of tame characters is written and its reading is tested.
        m_tame = byte() % 2 == 0;
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

    // A well-formed index as the program makes them, a number as a person
    // might type one, or (tame or not) a text that may or may not be a number.
    QString indexText()
    {
        const quint8 kind = byte() % 8;
        if (kind < 3)
            return wendaro::indexText(qint16(word()));
        if (kind < 6)
            return typedNumber();
        if (kind == 7 || !m_tame)
            return text();
        static const QString NumberPieces[] = {QStringLiteral(" "), QStringLiteral("-"), QStringLiteral("+"),
                                               QStringLiteral("."), QStringLiteral("e"), QStringLiteral("1e-400"),
                                               QStringLiteral("0"), QStringLiteral("5"), QStringLiteral("9")};
        QString out;
        for (int length = byte() % 8; length > 0; --length)
            out += NumberPieces[byte() % std::size(NumberPieces)];
        return out;
    }

    // Spaces, a sign, digits, a fraction, an exponent, spaces: each part there
    // or not as the bits of one byte say.
    QString typedNumber()
    {
        const quint8 parts = byte();
        const auto digits = [this] {
            QString out;
            for (int length = 1 + byte() % 4; length > 0; --length)
                out += QChar(u'0' + byte() % 10);
            return out;
        };
        QString out;
        if (parts & 1)
            out += QStringLiteral("  ");
        if (parts & 2)
            out += (parts & 4) ? u'-' : u'+';
        out += digits();
        if (parts & 8)
            out += u'.' + digits();
        if (parts & 16)
            out += ((parts & 32) ? QStringLiteral("e-") : QStringLiteral("E")) + digits();
        if (parts & 64)
            out += QStringLiteral(" ");
        if ((parts & 128) && !m_tame)
            out += (parts & 1) ? u'\t' : u'\n';
        return out;
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
                                         QStringLiteral("1e-400"), QStringLiteral("\r\n")};
        const quint8 kind = byte();
        const quint8 arg = byte();
        // Tame: no separators, no surrogates, no code unit at random.
        switch (m_tame ? kind % 10 : kind % 12) {
        case 0:
        case 1:
            out += QChar(m_tame ? Special[3 + arg % (std::size(Special) - 4)]
                                : Special[arg % (std::size(Special) - 1)]);
            break;
        case 2: out += QChar(u'0' + arg % 10); break;
        case 3: out += Tokens[arg % (std::size(Tokens) - (m_tame ? 1 : 0))]; break;
        case 4: out += QChar(char16_t(CodePage::EscapeBase + arg)); break;
        case 5: out += QChar(Japanese[arg % (std::size(Japanese) - 1)]); break;
        case 6: // a lone high or low surrogate, or a pair; tame: none
            if (m_tame)
                out += QChar(u'-');
            if (!m_tame && arg % 3 != 1)
                out += QChar(char16_t(0xD800 + (arg << 2)));
            if (!m_tame && arg % 3 != 0)
                out += QChar(char16_t(0xDC00 + arg));
            break;
        case 7:
        case 8: out += QChar(char16_t(0x20 + arg % 0x5F)); break;
        case 9:
            out += QChar(char16_t(0xFF61 + arg % 0x3F)); // half-width katakana, one byte
            break;
        default: out += QChar(char16_t(arg << 8 | byte())); break;
        }
    }

    QByteArrayView m_bytes;
    qsizetype m_at = 0;
    bool m_tame = false;
};

} // namespace wendaro::fuzz
