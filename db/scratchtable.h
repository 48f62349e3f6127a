#pragma once

#include <QString>

namespace dorvik::db {

// A workstation's working table: "tmp" + workstation number + suffix (tmp01dl).
inline QString scratchTable(const QString& workstation, const QString& suffix) {
    return QStringLiteral("tmp") + workstation + suffix;
}

} // namespace dorvik::db
