// Any bytes given to the text reader: it either reads them or names an error.
#include "FuzzSupport.h"
#include "TextFields.h"
#include "formats/TextReader.h"

using namespace wendaro;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    EntryList rows;
    TextFields fields;
    qint16 largestIndex = 1;
    TextReader reader;
    const bool read = reader.read(fuzz::bytesOf(data, size), fuzz::defaultCodePage(), rows, fields, largestIndex);
    fuzz::require(read == reader.errorString().isEmpty(), "an error comes with a description, success without");
    return 0;
}
