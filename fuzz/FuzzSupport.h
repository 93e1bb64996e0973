#pragma once

#include "CodePage.h"
#include "EntryList.h"

#include <QByteArrayView>
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

} // namespace wendaro::fuzz
