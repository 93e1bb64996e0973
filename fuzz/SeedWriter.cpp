// SPDX-License-Identifier: GPL-3.0-or-later
// Writes the fuzzers' seed files: a few tables, each saved by the STF writer
// and, where the text format can hold it, by the text writer, the text files
// once more with LF line ends.
//
//   fuzz_seeds STF_DIR TEXT_DIR
#include "core/text/CodePage.h"
#include "core/model/EntryList.h"
#include "FuzzSupport.h"
#include "core/model/IndexText.h"
#include "core/formats/StfWriter.h"
#include "core/model/TextFields.h"
#include "core/formats/TextWriter.h"

#include <QDir>
#include <QFile>
#include <cstdio>
#include <functional>
#include <vector>

using namespace wendaro;

namespace {

struct Seed
{
    const char *name;
    std::function<void(EntryList &, TextFields &)> build;
};

void add(EntryList &rows, qint16 index, const QString &name, const QString &value)
{
    const qsizetype p = rows.append(indexText(index));
    rows.setName(p, name);
    rows.setValue(p, value);
}

const std::vector<Seed> &seeds()
{
    static const std::vector<Seed> all{
        {"empty", [](EntryList &, TextFields &) {}},
        {"one-entry", [](EntryList &rows, TextFields &) { add(rows, 3, QStringLiteral("ab"), QStringLiteral("x")); }},
        {"line-breaks",
         [](EntryList &rows, TextFields &fields) {
             add(rows, 1, QStringLiteral("greeting"), QStringLiteral("Hello<br>World"));
             add(rows, 2, QStringLiteral("upper"), QStringLiteral("c<BR>d"));
             add(rows, 12, QStringLiteral("farewell"), QStringLiteral("Bye<br><br>"));
             fields.outputFile = QStringLiteral("C:\\out\\table.stf");
             fields.memo = QStringLiteral("  notes of 2 May");
         }},
        {"lone-line-ends",
         [](EntryList &rows, TextFields &) { add(rows, 1, QStringLiteral("lone"), QStringLiteral("a\nb\rc\n\r")); }},
        {"indexes",
         [](EntryList &rows, TextFields &) {
             for (const qint16 index :
                  {qint16(0), qint16(-5), qint16(-25536), qint16(32767), qint16(-32768), qint16(9)})
                 add(rows, index, QStringLiteral("n%1").arg(index), QString());
         }},
        {"japanese",
         [](EntryList &rows, TextFields &fields) {
             add(rows, 1, QStringLiteral("ｱｲｳ"), QStringLiteral("日本語<br>テキスト"));
             add(rows, 2, QStringLiteral("kana"), QStringLiteral("～ ￥ ①"));
             fields.memo = QStringLiteral("メモ");
         }},
        {"every-byte",
         [](EntryList &rows, TextFields &) {
             const CodePage &codePage = fuzz::defaultCodePage();
             for (int byte = 0; byte < 256; ++byte)
                 add(rows, qint16(byte), codePage.decode(QByteArray(1, char(byte))), QString());
         }},
        {"display-order",
         [](EntryList &rows, TextFields &) {
             for (int i = 0; i < 40; ++i)
                 add(rows, qint16((i * 37) % 101), QStringLiteral("name%1").arg(i), QStringLiteral("value %1").arg(i));
         }},
    };
    return all;
}

} // namespace

int main(int argc, char **argv)
{
    if (argc != 3) {
        std::fprintf(stderr, "usage: fuzz_seeds STF_DIR TEXT_DIR\n");
        return 64;
    }
    const QDir stfDir(QString::fromLocal8Bit(argv[1]));
    const QDir textDir(QString::fromLocal8Bit(argv[2]));
    const CodePage &codePage = fuzz::defaultCodePage();
    bool ok = true;
    for (const Seed &seed : seeds()) {
        EntryList rows;
        TextFields fields;
        seed.build(rows, fields);
        const QString name = QString::fromLatin1(seed.name);

        StfWriter stfWriter;
        QByteArray stf;
        QString error;
        if (!stfWriter.write(rows, codePage, stf, &error)) {
            std::fprintf(stderr, "fuzz_seeds: %s: %s\n", seed.name, qPrintable(error));
            return 1;
        }
        ok &= fuzz::writeSeed("fuzz_seeds", stfDir.filePath(name + QStringLiteral(".stf")), stf);

        // The text format cannot hold a lone CR or LF; such a table seeds
        // only the STF fuzzers.
        TextWriter textWriter;
        QByteArray text;
        if (!textWriter.write(rows, fields, codePage, text, &error))
            continue;
        ok &= fuzz::writeSeed("fuzz_seeds", textDir.filePath(name + QStringLiteral(".txt")), text);
        ok &= fuzz::writeSeed("fuzz_seeds", textDir.filePath(name + QStringLiteral("-lf.txt")),
                              QByteArray(text).replace("\r\n", "\n"));
    }
    return ok ? 0 : 1;
}
