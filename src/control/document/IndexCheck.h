// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QStringView>

namespace wendaro {

inline const QString IndexNotNumericMessage = QStringLiteral("Indexは数字で入力して下さい。");
inline const QString IndexOutOfRangeMessage = QStringLiteral("Indexは0～32767の範囲で入力して下さい。");

enum class IndexCheck { Ok, NotNumeric, OutOfRange };

// The entry editor's test of its index field: a number that rounds (halves to
// the even neighbour) to 0..32767.
IndexCheck checkIndexField(QStringView text);

} // namespace wendaro
