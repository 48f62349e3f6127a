#pragma once

#include <QString>

namespace dorvik::common {

// Whether the program was already started today, by the marker file "./<name>.ini" in the
// current directory (section Dnes, key Datum, yyyyMMdd). Today is recorded before the answer,
// so only the first call of a day returns false. A missing file or key counts as not yet
// started; a file that cannot be written changes nothing in the answer.
bool startedToday(const QString& name);

} // namespace dorvik::common
