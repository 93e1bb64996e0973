// SPDX-License-Identifier: GPL-3.0-or-later
#include "ColdTables.h"

#include "BenchTable.h"

#include "core/text/CodePage.h"
#include "core/text/LineBreaks.h"
#include "core/formats/StfLayout.h"

#include <QFile>
#include <QtEndian>

#include <vector>

namespace wendaro::bench {

namespace {

void putField(QByteArray &out, quint32 field)
{
    char bytes[stf::FieldSize];
    qToLittleEndian<quint32>(field, bytes);
    out.append(bytes, stf::FieldSize);
}

// A 16-bit number in a 4-byte field, its upper two bytes zero.
void putNumber(QByteArray &out, int number)
{
    putField(out, quint32(quint16(qint16(number))));
}

} // namespace

// Streamed a record at a time: the largest table is 2.1 GB and is never held
// whole, in the list or as bytes.
QString translatedValue(const QString &value)
{
    return QStringLiteral("訳 ") + value;
}

bool writeStfTable(const QString &path, int valueLength, const CodePage &codePage, QString *error, Values values)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
        *error = path + QStringLiteral(": ") + file.errorString();
        return false;
    }
    TableMaker maker;
    const std::vector<int> indexes = maker.shuffledIndexes();
    std::vector<QByteArray> names;
    names.reserve(indexes.size());

    QByteArray out;
    putField(out, stf::Magic);
    out.append(char(stf::Flag));
    putNumber(out, EntryCount + 1);
    putNumber(out, EntryCount);
    for (const int index : indexes) {
        QByteArray &name = names.emplace_back();
        codePage.encode(maker.name(), name);
        QString value;
        if (valueLength == 0) {
            value = lineBreaksFromList(maker.value());
        } else {
            // Each "<br>" shrinks to CR LF in the file; letters fill the rest.
            value = lineBreaksFromList(maker.valueOfLength(valueLength));
            value.append(QString(valueLength - value.size(), QLatin1Char('x')));
        }
        if (values == Values::Translated)
            value = translatedValue(value);
        else if (values == Values::Empty)
            value.clear();
        putNumber(out, index);
        putField(out, stf::ValueKey);
        putNumber(out, int(value.size()));
        const qsizetype at = out.size();
        out.resize(at + 2 * value.size());
        qToLittleEndian<char16_t>(value.utf16(), value.size(), out.data() + at);
        if (out.size() >= (1 << 20)) {
            if (file.write(out) != out.size()) {
                *error = path + QStringLiteral(": ") + file.errorString();
                return false;
            }
            out.resize(0);
        }
    }
    for (size_t i = 0; i < indexes.size(); ++i) {
        putNumber(out, indexes[i]);
        putNumber(out, int(names[i].size()));
        out.append(names[i]);
    }
    if (file.write(out) != out.size() || !file.flush()) {
        *error = path + QStringLiteral(": ") + file.errorString();
        return false;
    }
    return true;
}

} // namespace wendaro::bench
