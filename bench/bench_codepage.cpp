// SPDX-License-Identifier: GPL-3.0-or-later
// The default code page's decoder alone, beside glibc's iconv from CP932 to
// UTF-16LE on the same bytes: the values of the benches' tables (ASCII words,
// Japanese runs, line breaks), encoded once, 64 MB in all, and a run of
// ASCII alone. Each figure is the best of several runs, in MB of input a
// second; the goal is the decoder at least as fast as iconv.

#include "BenchTable.h"
#include "BenchTiming.h"

#include "core/text/CodePage.h"

#include <QByteArray>
#include <QString>

#include <cstdio>
#include <functional>
#include <vector>

#include <iconv.h>

using namespace wendaro;
using namespace wendaro::bench;

namespace {

constexpr int Runs = 5;

// The values of the cold bench's medium table, encoded, repeated to about size bytes.
QByteArray tableText(const CodePage &codePage, qsizetype size)
{
    TableMaker maker;
    QByteArray bytes;
    bytes.reserve(size + 8192);
    while (bytes.size() < size)
        codePage.encode(maker.valueOfLength(3000), bytes);
    return bytes;
}

double bestMs(const std::function<void()> &work)
{
    Time best;
    for (int run = 0; run < Runs; ++run)
        best.keepBest(timeOnce([] {}, work));
    return best.wallMs;
}

// iconv of bytes into out, which has room for all of it; false when iconv
// stops before the end.
bool iconvInto(iconv_t cd, const QByteArray &bytes, std::vector<char> &out)
{
    iconv(cd, nullptr, nullptr, nullptr, nullptr);
    char *in = const_cast<char *>(bytes.constData());
    size_t inLeft = size_t(bytes.size());
    char *put = out.data();
    size_t outLeft = out.size();
    return iconv(cd, &in, &inLeft, &put, &outLeft) != size_t(-1) && inLeft == 0;
}

void measure(const char *what, const CodePage &codePage, const QByteArray &bytes)
{
    const double mb = double(bytes.size()) / 1e6;
    std::vector<char> out(size_t(2 * bytes.size()) + 64);
    QString text;
    text.reserve(bytes.size());
    qsizetype units = 0;
    const double decode = bestMs([&] {
        text.resize(0);
        codePage.decodeAppending(bytes, text);
    });
    const double count = bestMs([&] { units = codePage.decodedSize(bytes); });
    const double utf16 = bestMs([&] { codePage.decodeUtf16(bytes, out.data() + 1); });
    std::printf("%s, %.0f MB, %lld code units:\n", what, mb, static_cast<long long>(units));
    std::printf("  decode into a string: %.1f ms, %.0f MB/s\n", decode, mb / decode * 1e3);
    std::printf("  count the code units: %.1f ms, %.0f MB/s\n", count, mb / count * 1e3);
    std::printf("  decode as UTF-16LE at an odd address: %.1f ms, %.0f MB/s\n", utf16, mb / utf16 * 1e3);

    QByteArray encoded;
    encoded.reserve(2 * bytes.size());
    bool plain = true;
    const double encode = bestMs([&] {
        encoded.resize(0);
        plain = codePage.encodePlainly(text, encoded) && plain;
    });
    std::printf("  encode the string back: %.1f ms, %.0f MB/s%s\n", encode, mb / encode * 1e3,
                plain && encoded == bytes ? "" : " (NOT the same bytes)");
    const double check = bestMs([&] { plain = codePage.writesPlainly(text) && plain; });
    std::printf("  tell that the string is written plainly: %.1f ms, %.0f MB/s\n", check, mb / check * 1e3);

    iconv_t cd = iconv_open("UTF-16LE", "CP932");
    if (cd == iconv_t(-1)) {
        std::printf("  iconv: skipped: no CP932 converter\n");
        return;
    }
    bool whole = true;
    const double converted = bestMs([&] { whole = iconvInto(cd, bytes, out) && whole; });
    iconv_close(cd);
    const double ratio = converted / utf16;
    std::printf("  iconv CP932 to UTF-16LE: %.1f ms, %.0f MB/s%s; the decoder %.2gx as fast, goal ≥ 1x: %s\n",
                converted, mb / converted * 1e3, whole ? "" : " (stopped early)", ratio, ratio >= 1 ? "met" : "MISSED");
}

} // namespace

int main()
{
    keepHeapInProcess();
    QString error;
    const std::optional<CodePage> codePage = CodePage::open(CodePage::DefaultName, &error);
    if (!codePage) {
        std::printf("bench_codepage: %s\n", qPrintable(error));
        return 1;
    }
    constexpr qsizetype Size = qsizetype(64) << 20;
    measure("the tables' values", *codePage, tableText(*codePage, Size));
    measure("ASCII alone", *codePage, QByteArray(Size, 'x'));
    return 0;
}
