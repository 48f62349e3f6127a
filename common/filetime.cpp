#include "common/filetime.h"

#include <QFileInfo>

namespace dorvik::common {

std::optional<QDateTime> fileTimestamp(const QString& fileName) {
    const QFileInfo info(fileName);
    if (!info.exists()) return std::nullopt;
    const QDateTime modified = info.lastModified();
    if (!modified.isValid()) return std::nullopt;
    const QTime t = modified.time();
    return QDateTime(modified.date(), QTime(t.hour(), t.minute(), t.second() & ~1), Qt::LocalTime);
}

} // namespace dorvik::common
