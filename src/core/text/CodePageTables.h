// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/text/CodePage.h"

#include <QByteArray>
#include <QString>
#include <array>
#include <memory>
#include <vector>

namespace wendaro {

// How a code page of one- and two-byte characters is read and written. Made
// once and not changed after: CodePage copies share it across threads.
struct CodePageTables
{
    static constexpr int ByteCount = 256;
    static constexpr int PairCount = ByteCount * ByteCount;

    // In the pair table: the second byte is a trail byte of the code page,
    // but the two bytes stand for no character (or for one whose canonical
    // bytes differ): both are read as stand-ins so that they survive.
    static constexpr char16_t PairWithoutCharacter = CodePage::EscapeBase;

    // In the writing table: how a character is written, as the byte count in
    // bits 24 and up, then the first byte and the second byte (of a pair).
    // Unmapped characters and stand-ins carry Special: the writer's loop
    // tests one bit for both.
    static constexpr quint32 Special = 1 << 16;
    static constexpr quint32 Unmapped = Special;
    static constexpr quint32 OneByte = 1 << 24;
    static constexpr quint32 TwoBytes = 2 << 24;

    CodePageTables() = default;
    CodePageTables(const CodePageTables &) = delete;
    CodePageTables &operator=(const CodePageTables &) = delete;

    // The writing table made from the reading tables, into ownBytesOf.
    void makeBytesOf();

    QByteArray name;
    // UTF-8 is converted by rule; the tables below stay empty.
    bool utf8 = false;
    // What a byte stands for on its own: its character or its stand-in.
    std::array<char16_t, ByteCount> single{};
    // The row of pairs for a byte that begins two-byte characters; row 0,
    // all zeros, for every other byte.
    std::array<quint16, ByteCount> pairRow{};
    // [row * 256 + next]: the character of the pair, PairWithoutCharacter,
    // or 0 when next is no trail byte (the lead byte then stands alone).
    // Points into ownPairs, or at tables built into the program.
    const char16_t *pairs = nullptr;
    qsizetype pairsSize = 0;
    std::vector<char16_t> ownPairs;
    // [character]: Unmapped, or OneByte or TwoBytes with the bytes; a
    // stand-in is its byte. Points into ownBytesOf, or at the table built
    // into the program.
    const quint32 *bytesOf = nullptr;
    std::vector<quint32> ownBytesOf;
};

// The tables of the code page that the system's converters know by name,
// built by converting every byte, pair and character; nullptr and an error
// text for an unknown name and for a code page whose characters cannot all
// be held exactly. Not for UTF-8, which needs no tables.
std::shared_ptr<CodePageTables> tablesFromConverters(const QByteArray &name, QString *error);

// A code page's tables as the build wrote them into the program. The
// writing table is among them, although it follows from the others: the
// program's read-only data costs a start far less than the same table made
// in fresh memory.
struct BuiltInCodePage
{
    const char *name;
    const char16_t *single; // 256
    const quint16 *pairRow; // 256
    const char16_t *pairs;  // pairsSize
    qsizetype pairsSize;
    const quint32 *bytesOf; // 65536
};

// The default code page as the converters of the build machine gave it, or
// nullptr when they had none for it; then it is built at run time.
const BuiltInCodePage *builtInDefaultCodePage();

// Tables that point at the built-in ones instead of copying them.
std::shared_ptr<const CodePageTables> tablesFromBuiltIn(const BuiltInCodePage &builtIn);

} // namespace wendaro
