#pragma once

#include <QString>

namespace dorvik::db {

// The one way a text value goes into a statement: single quotes, inner quotes doubled,
// backslashes, NUL, line breaks and Ctrl+Z escaped, so no value can end the literal early.
QString sqlQuoted(const QString& text);

// Numbers always with "." as decimal separator, whatever the locale.
QString sqlNumber(double value);
QString sqlNumber(qint64 value);
inline QString sqlNumber(int value) { return sqlNumber(qint64(value)); }

} // namespace dorvik::db
