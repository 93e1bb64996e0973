#pragma once

#include <QString>

namespace wendaro {

// Inside the list a line break of a value, CR LF, is held as "<br>". Both
// conversions replace every occurrence, left to right, case-sensitively; a
// lone CR or LF is not a line break and stays as it is.
QString lineBreaksToList(QString value);   // CR LF -> "<br>"
QString lineBreaksFromList(QString value); // "<br>" -> CR LF

} // namespace wendaro
