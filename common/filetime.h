#pragma once

#include <QDateTime>
#include <QString>
#include <optional>

namespace dorvik::common {

// The file's last change in local time, to two seconds (seconds rounded down to even, no
// milliseconds), as the published version timestamps are written. Empty when the file does
// not exist; the caller decides what stands for "no file".
std::optional<QDateTime> fileTimestamp(const QString& fileName);

} // namespace dorvik::common
