#include "common/startupsettings.h"

#include "common/inifile.h"
#include "common/routines.h"

namespace dorvik::common {
namespace {

const QString section = QStringLiteral("LogON");

} // namespace

db::ConnectionSettings StartupSettings::connectionSettings() const {
    db::ConnectionSettings s;
    s.host = host;
    s.port = port;
    s.user = user;
    s.password = password;
    s.database = QStringLiteral("velmo");
    return s;
}

QString startupSettingsPath() {
    return programFolder() + QStringLiteral("velmo.ini");
}

StartupSettings readStartupSettings(const QString& iniPath) {
    const IniFile ini(iniPath);
    StartupSettings s;
    s.host = ini.readString(section, QStringLiteral("IP"), s.host);
    s.user = ini.readString(section, QStringLiteral("User"), s.user);
    s.password = ini.readString(section, QStringLiteral("Password"), s.password);
    s.port = ini.readInteger(section, QStringLiteral("SQLport"), s.port);
    s.workstation = ini.readString(section, QStringLiteral("CisloPC"), s.workstation);
    s.costCentre = ini.readString(section, QStringLiteral("Stredisko"), s.costCentre);
    s.centrumMode = ini.readString(section, QStringLiteral("centrum"), s.centrumMode);
    s.recalculateStock = ini.readString(section, QStringLiteral("prepocitatStav"), s.recalculateStock);
    s.versionTestMode = ini.readString(section, QStringLiteral("testovatVerzi"), s.versionTestMode);
    // Truncation to 16 bits is well defined (modular) since C++20.
    s.terminal = static_cast<qint16>(ini.readInteger(section, QStringLiteral("Terminal"), s.terminal));
    s.deliveryNoteLayout =
        static_cast<qint16>(ini.readInteger(section, QStringLiteral("typvydejky"), s.deliveryNoteLayout));
    s.updateAddress = ini.readString(section, QStringLiteral("adresaVerze"), s.updateAddress);
    return s;
}

qint64 readPrefixFakt(const QString& iniPath) {
    return IniFile(iniPath).readInteger(section, QStringLiteral("prefixFakt"), 0);
}

} // namespace dorvik::common
