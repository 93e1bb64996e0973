// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/translation/TableIndexes.h"

#include "core/model/EntryList.h"
#include "core/model/IndexText.h"

#include <QMap>

namespace wendaro {

std::optional<TableIndexes> tableIndexes(const EntryList &rows, const QString &tableName, QString *error)
{
    TableIndexes result;
    QMap<qint16, QList<qsizetype>> repeated;
    for (qsizetype p = 0; p < rows.count(); ++p) {
        QString why;
        const std::optional<qint16> index = indexToSave(p, rows.at(p).indexText, &why);
        if (!index) {
            *error = tableName + QStringLiteral("の") + why;
            return std::nullopt;
        }
        result.byPosition.append(*index);
        const auto earlier = result.positionOf.constFind(*index);
        if (earlier == result.positionOf.cend()) {
            result.positionOf.insert(*index, p);
            continue;
        }
        QList<qsizetype> &positions = repeated[*index];
        if (positions.isEmpty())
            positions.append(*earlier);
        positions.append(p);
    }
    if (repeated.isEmpty())
        return result;

    QStringList parts;
    for (auto it = repeated.cbegin(); it != repeated.cend(); ++it) {
        QStringList positions;
        for (const qsizetype p : it.value())
            positions << QString::number(p + 1);
        parts << QStringLiteral("%1（%2 番目の項目）").arg(it.key()).arg(positions.join(QStringLiteral("、")));
    }
    *error = QStringLiteral("%1で同じインデックスが複数の項目にあります: %2。"
                            "項目はインデックスで照合するので、インデックスは項目ごとに違う値にしてください。")
                 .arg(tableName, parts.join(QStringLiteral("、")));
    return std::nullopt;
}

QString indexListText(const QList<qint16> &indexes)
{
    constexpr qsizetype Shown = 20;
    QStringList parts;
    for (qsizetype i = 0; i < indexes.size() && i < Shown; ++i)
        parts << QString::number(indexes[i]);
    QString text = parts.join(QStringLiteral(", "));
    if (indexes.size() > Shown)
        text += QStringLiteral(" ほか %1 件").arg(indexes.size() - Shown);
    return text;
}

} // namespace wendaro
