// SPDX-License-Identifier: GPL-3.0-or-later
// Any bytes given to the STF reader: it either reads them or names an error.
#include "FuzzSupport.h"
#include "core/formats/RowPlacesInFile.h"
#include "core/formats/StfLayout.h"
#include "core/formats/StfReader.h"

using namespace wendaro;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    EntryList rows;
    qint16 largestIndex = 1;
    qint64 errorOffset = -1;
    QString error;
    const bool read = StfReader().read(fuzz::bytesOf(data, size), fuzz::defaultCodePage(), rows, largestIndex,
                                       &errorOffset, &error);
    fuzz::require(read == error.isEmpty(), "an error comes with a description, success without");
    if (read)
        fuzz::require(qsizetype(stfRowOffsets(fuzz::bytesOf(data, size)).size()) == rows.count(),
                      "the walk over the records finds one place for each row");
    else
        fuzz::require(errorOffset >= stf::HeaderSize && errorOffset < qint64(size),
                      "an error names a record's offset inside the file");
    return 0;
}
