// SPDX-License-Identifier: GPL-3.0-or-later
// Writes the default code page's tables as C++ source for the build.
// Building them from the system's converters converts every byte pair and
// character and costs every start of the programs more time than reading a
// small table; this runs the very same building once, when the programs are
// built. Without a converter for the default code page, the source it writes
// has no tables, and the programs build them at run time as for any other
// code page, with the same error when that fails.

#include "core/text/CodePageTables.h"

#include <QFile>
#include <QSaveFile>
#include <cstdio>

using namespace wendaro;

namespace {

// Most of the writing table is Unmapped, written as U to keep the source
// small.
template<typename Value>
void appendArray(QByteArray &source, const char *type, const char *name, const Value *values, qsizetype count)
{
    source += QByteArray("const ") + type + ' ' + name + '[' + QByteArray::number(count) + "] = {";
    for (qsizetype i = 0; i < count; ++i) {
        source += i % 12 == 0 ? "\n    " : " ";
        if (quint32(values[i]) == CodePageTables::Unmapped)
            source += "U,";
        else
            source += "0x" + QByteArray::number(quint32(values[i]), 16).rightJustified(4, '0') + ',';
    }
    source += "\n};\n\n";
}

QByteArray sourceOf(const CodePageTables *tables)
{
    QByteArray source = "// Written by wendaro_codepage_generator from the system's converters; do not edit.\n\n"
                        "#include \"core/text/CodePageTables.h\"\n\n"
                        "namespace wendaro {\n\n";
    if (!tables) {
        source += "const BuiltInCodePage *builtInDefaultCodePage()\n{\n    return nullptr;\n}\n\n"
                  "} // namespace wendaro\n";
        return source;
    }
    source += "namespace {\n\nconstexpr quint32 U = CodePageTables::Unmapped;\n\n";
    appendArray(source, "char16_t", "single", tables->single.data(), CodePageTables::ByteCount);
    appendArray(source, "quint16", "pairRow", tables->pairRow.data(), CodePageTables::ByteCount);
    appendArray(source, "char16_t", "pairs", tables->pairs, tables->pairsSize);
    appendArray(source, "quint32", "bytesOf", tables->bytesOf, CodePageTables::PairCount);
    source += "const BuiltInCodePage defaultCodePage{\"" + tables->name + "\", single, pairRow, pairs, "
              + QByteArray::number(tables->pairsSize)
              + ", bytesOf};\n\n"
                "} // namespace\n\n"
                "const BuiltInCodePage *builtInDefaultCodePage()\n{\n    return &defaultCodePage;\n}\n\n"
                "} // namespace wendaro\n";
    return source;
}

} // namespace

int main(int argc, char **argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s OUTPUT.cpp\n", argv[0]);
        return 2;
    }
    QString error;
    const std::shared_ptr<const CodePageTables> tables = tablesFromConverters(CodePage::DefaultName, &error);
    if (!tables) {
        std::fprintf(stderr, "wendaro_codepage_generator: %s: the programs will build the tables at start\n",
                     qUtf8Printable(error));
    }
    const QString path = QString::fromLocal8Bit(argv[1]);
    const QByteArray source = sourceOf(tables.get());
    // An unchanged file keeps its time, so that nothing is compiled again.
    QFile old(path);
    if (old.open(QIODevice::ReadOnly) && old.readAll() == source)
        return 0;
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(source) < 0 || !file.commit()) {
        std::fprintf(stderr, "wendaro_codepage_generator: %s: %s\n", qUtf8Printable(path),
                     qUtf8Printable(file.errorString()));
        return 1;
    }
    return 0;
}
