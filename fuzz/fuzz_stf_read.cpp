// Any bytes given to the STF reader: it either reads them or names an error.
#include "FuzzSupport.h"
#include "formats/StfReader.h"

using namespace wendaro;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    EntryList rows;
    qint16 largestIndex = 1;
    StfReader reader;
    const bool read = reader.read(fuzz::bytesOf(data, size), fuzz::defaultCodePage(), rows, largestIndex);
    fuzz::require(read == reader.errorString().isEmpty(), "an error comes with a description, success without");
    return 0;
}
