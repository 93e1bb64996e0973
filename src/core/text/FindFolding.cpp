// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/text/FindFolding.h"

#include <QChar>

#include <array>
#include <memory>

namespace wendaro {

namespace {

struct FoldTables
{
    std::array<char16_t, 0x10000> width;
    std::array<char16_t, 0x10000> widthAndCase;
};

const FoldTables &foldTables()
{
    static const std::unique_ptr<const FoldTables> tables = [] {
        auto made = std::make_unique<FoldTables>();
        for (char32_t c = 0; c < 0x10000; ++c) {
            const char16_t narrow = narrowedWidth(char16_t(c));
            made->width[c] = narrow;
            made->widthAndCase[c] = QChar(narrow).toCaseFolded().unicode();
        }
        return made;
    }();
    return *tables;
}

} // namespace

const char16_t *widthFolding()
{
    return foldTables().width.data();
}

const char16_t *widthAndCaseFolding()
{
    return foldTables().widthAndCase.data();
}

QString foldedForFind(QStringView text)
{
    const char16_t *fold = widthAndCaseFolding();
    QString result(text.size(), Qt::Uninitialized);
    char16_t *out = reinterpret_cast<char16_t *>(result.data());
    for (const QChar c : text)
        *out++ = fold[c.unicode()];
    return result;
}

} // namespace wendaro
