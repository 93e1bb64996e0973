// Whatever a reader accepts, the writer of the same format writes, and that
// file reads back as the same rows; writing those rows again gives the same
// bytes. The input is tried as an STF file and as a text file.
#include "FuzzSupport.h"
#include "StfLayout.h"
#include "StfReader.h"
#include "StfWriter.h"
#include "TextFields.h"
#include "TextReader.h"
#include "TextWriter.h"

using namespace wendaro;

namespace {

void stfRoundTrip(QByteArrayView input)
{
    const CodePage &codePage = fuzz::defaultCodePage();
    StfReader reader;
    EntryList first;
    qint16 largestIndex = 1;
    if (!reader.read(input, codePage, first, largestIndex))
        return;

    StfWriter writer;
    QByteArray written;
    const bool wrote = writer.write(first, codePage, written);
    // The reader allows one value record more than the next-index field
    // leaves room for; nothing else that was read may be refused.
    fuzz::require(wrote || first.count() > stf::MaxEntryCount, "a table read from STF is written as STF");
    if (!wrote)
        return;

    EntryList second;
    fuzz::require(reader.read(written, codePage, second, largestIndex), "a written STF file reads back");
    fuzz::require(fuzz::sameRows(first, second), "a written STF file reads back as the same rows");
    QByteArray again;
    fuzz::require(writer.write(second, codePage, again) && again == written, "writing STF again gives the same bytes");
}

void textRoundTrip(QByteArrayView input)
{
    const CodePage &codePage = fuzz::defaultCodePage();
    TextReader reader;
    EntryList first;
    TextFields firstFields;
    qint16 largestIndex = 1;
    if (!reader.read(input, codePage, first, firstFields, largestIndex))
        return;

    // Everything the code page decodes it also encodes, so nothing read can
    // be refused.
    TextWriter writer;
    QByteArray written;
    fuzz::require(writer.write(first, firstFields, codePage, written), "a table read from text is written as text");

    EntryList second;
    TextFields secondFields;
    fuzz::require(reader.read(written, codePage, second, secondFields, largestIndex), "a written text file reads back");
    fuzz::require(fuzz::sameRows(first, second), "a written text file reads back as the same rows");
    QByteArray again;
    fuzz::require(writer.write(second, secondFields, codePage, again) && again == written,
                  "writing text again gives the same bytes");
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArrayView input = fuzz::bytesOf(data, size);
    stfRoundTrip(input);
    textRoundTrip(input);
    return 0;
}
