// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/text/CodePageTables.h"

namespace wendaro {

// The stand-ins of CodePage: U+F700 + byte for a byte that stands for no
// character. A header of its own, since the code-page generator, which
// builds without the rest of the core, needs them too.
constexpr char16_t standIn(unsigned char byte)
{
    return char16_t(CodePage::EscapeBase + byte);
}

constexpr bool isStandIn(char16_t c)
{
    return c >= CodePage::EscapeBase && c < CodePage::EscapeBase + CodePageTables::ByteCount;
}

} // namespace wendaro
