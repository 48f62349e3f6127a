#pragma once

#include <QString>

namespace dorvik::db {

// The one way a text value goes into a statement: single quotes, inner quotes doubled,
// backslashes, NUL, line breaks and Ctrl+Z escaped, so no value can end the literal early.
QString sqlQuoted(const QString& text);

// Numbers always with "." as decimal separator, whatever the locale. A number that is not
// finite (nan, inf) raises std::invalid_argument: the server would read it as a column name.
QString sqlNumber(double value);
QString sqlNumber(qint64 value);
inline QString sqlNumber(int value) { return sqlNumber(qint64(value)); }

} // namespace dorvik::db
