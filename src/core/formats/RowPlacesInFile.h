// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArrayView>

#include <vector>

namespace wendaro {

class CodePage;

// Where each row of a table read from a file came from, in the order the
// reader made the rows, for messages an editor can jump to (RowPlaces
// holds them for check). A second pass over the bytes, so that reading
// stays as fast as it is for the window; it lives beside the readers, as it
// must walk the bytes the way they do.

// The byte offset of each value record of an STF file image.
std::vector<qint64> stfRowOffsets(QByteArrayView data);
// The line (from 1, every CR LF, CR and LF ending one) of each row of a
// text file image.
std::vector<qint64> textRowLines(QByteArrayView data, const CodePage &codePage);

} // namespace wendaro
