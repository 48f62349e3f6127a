#include "common/dailymarker.h"

#include "common/inifile.h"

#include <QDate>

namespace dorvik::common {

bool startedToday(const QString& name) {
    const QString format = QStringLiteral("yyyyMMdd");
    const QDate today = QDate::currentDate();
    IniFile marker(QStringLiteral("./") + name + QStringLiteral(".ini"));
    const QString section = QStringLiteral("Dnes");
    const QString key = QStringLiteral("Datum");
    const QString last = marker.readString(section, key, today.addDays(-999).toString(format));
    marker.writeString(section, key, today.toString(format));
    return last == today.toString(format);
}

} // namespace dorvik::common
