// SPDX-License-Identifier: GPL-3.0-or-later
// The floor that `wendaro-cli pretranslate` is measured against: reading the
// memory file. It reads the TMX through QXmlStreamReader, the parser the
// program uses, token by token, and looks at every character of the text
// once, keeping nothing: the least any reader of that memory does.
//
//   tmx_walk FILE
//
// Exits 1 when the file cannot be opened or is not well-formed.

#include <QFile>
#include <QXmlStreamReader>

#include <cstdio>

int main(int argc, char **argv)
{
    if (argc != 2) {
        std::fputs("usage: tmx_walk FILE\n", stderr);
        return 64;
    }
    QFile file(QFile::decodeName(argv[1]));
    if (!file.open(QIODevice::ReadOnly)) {
        std::fprintf(stderr, "tmx_walk: %s: %s\n", argv[1], qPrintable(file.errorString()));
        return 1;
    }
    QXmlStreamReader xml(&file);
    long elements = 0;
    long units = 0;
    long characters = 0;
    long lineFeeds = 0;
    while (!xml.atEnd()) {
        switch (xml.readNext()) {
        case QXmlStreamReader::StartElement:
            ++elements;
            units += xml.name() == u"tu";
            break;
        case QXmlStreamReader::Characters:
            for (const QChar c : xml.text())
                lineFeeds += c == u'\n';
            characters += xml.text().size();
            break;
        default: break;
        }
    }
    if (xml.hasError()) {
        std::fprintf(stderr, "tmx_walk: %s:%lld: %s\n", argv[1], xml.lineNumber(), qPrintable(xml.errorString()));
        return 1;
    }
    std::printf("%ld elements, %ld tu, %ld characters of text, %ld LF\n", elements, units, characters, lineFeeds);
    return 0;
}
