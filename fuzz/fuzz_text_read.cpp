// SPDX-License-Identifier: GPL-3.0-or-later
// Any bytes given to the text reader: it either reads them or names an error.
#include "FuzzSupport.h"
#include "core/model/TextFields.h"
#include "core/checks/RowPlaces.h"
#include "core/checks/TableProblems.h"
#include "core/formats/RowPlacesInFile.h"
#include "core/formats/TextReader.h"

using namespace wendaro;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    EntryList rows;
    TextFields fields;
    qint16 largestIndex = 1;
    qint64 errorLine = -1;
    QString error;
    const bool read = TextReader().read(fuzz::bytesOf(data, size), fuzz::defaultCodePage(), rows, fields, largestIndex,
                                        &errorLine, &error);
    fuzz::require(read == error.isEmpty(), "an error comes with a description, success without");
    fuzz::require(read == (errorLine == -1), "an error names its line, success none");
    const QByteArrayView bytes = fuzz::bytesOf(data, size);
    fuzz::require(fuzz::defaultCodePage().decodedSize(bytes) == fuzz::defaultCodePage().decode(bytes).size(),
                  "the code units counted are the code units decoded");
    if (read) {
        const std::vector<qint64> lines = textRowLines(fuzz::bytesOf(data, size), fuzz::defaultCodePage());
        fuzz::require(qsizetype(lines.size()) == rows.count(), "the walk over the lines finds one line for each row");
        tableProblems(rows, fields, fuzz::defaultCodePage(), lines, PlaceKind::Line);
    }
    return 0;
}
