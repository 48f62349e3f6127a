#include "common/formstorage.h"

#include "common/inifile.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

namespace dorvik::common {
namespace {

const QString versionKey = QStringLiteral("FormVersion");

QString stateFolder() {
    const QString dir = qEnvironmentVariable("DORVIK_STATE_DIR");
    if (!dir.isEmpty()) return dir;
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) + QStringLiteral("/dorvik");
}

} // namespace

FormStorage::FormStorage() : path_(stateFolder() + QStringLiteral("/dorvik.INI")) {}

bool FormStorage::restorable(const QString& section) const {
    return IniFile(path_).readInteger(section, versionKey, 0) >= 0;
}

int FormStorage::readInt(const QString& section, const QString& key, int defaultValue) const {
    if (!restorable(section)) return defaultValue;
    return IniFile(path_).readInteger(section, key, defaultValue);
}

QString FormStorage::readString(const QString& section, const QString& key, const QString& defaultValue) const {
    if (!restorable(section)) return defaultValue;
    return IniFile(path_).readString(section, key, defaultValue);
}

void FormStorage::write(const QString& section, const QString& key, const QString& value) {
    QDir().mkpath(QFileInfo(path_).absolutePath());
    IniFile ini(path_);
    ini.writeString(section, key, value);
    ini.writeString(section, versionKey, QStringLiteral("0"));
}

void FormStorage::write(const QString& section, const QString& key, int value) {
    write(section, key, QString::number(value));
}

} // namespace dorvik::common
