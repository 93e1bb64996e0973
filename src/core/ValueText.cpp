#include "ValueText.h"

namespace wendaro {

ValueText ValueText::inFile(const QByteArray &file, const char16_t *units, qsizetype size)
{
    Q_ASSERT(reinterpret_cast<const char *>(units) >= file.constData()
             && reinterpret_cast<const char *>(units + size) <= file.constData() + file.size());
    ValueText value;
    // An empty value needs nothing of the file: not keeping it lets the
    // file go as soon as no value with characters is left in it.
    if (size > 0) {
        value.m_file = file;
        value.m_units = units;
        value.m_size = size;
    }
    return value;
}

} // namespace wendaro
