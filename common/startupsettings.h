#pragma once

#include "db/connection.h"

#include <QString>

namespace dorvik::common {

// The workstation's start-up settings: section LogON of velmo.ini, read once at start;
// the program never writes that file. Text values are kept as written and compared exactly.
struct StartupSettings {
    QString host = QStringLiteral("localhost"); // IP
    QString user = QStringLiteral("root");      // User
    QString password;                           // Password
    int port = 3306;                            // SQLport
    QString workstation = QStringLiteral("00"); // CisloPC, part of every scratch table name
    QString costCentre = QStringLiteral("777"); // Stredisko
    QString centrumMode = QStringLiteral("N");  // centrum: "A" enables cost-centre switching
    QString recalculateStock = QStringLiteral("N"); // prepocitatStav
    QString versionTestMode = QStringLiteral("A");  // testovatVerzi: "A" auto check, "X" hidden
    qint16 terminal = 0;           // Terminal: non-zero enables the terminal-list import
    qint16 deliveryNoteLayout = 1; // typvydejky: 2 selects the second delivery-note template
    // adresaVerze: the https address of the folder the maker publishes updates in. It belongs
    // to the deployment; without it the version check has nothing to ask.
    QString updateAddress;

    db::ConnectionSettings connectionSettings() const;
};

// velmo.ini in the program's folder, not the current directory.
QString startupSettingsPath();

// Missing file, section or key, or an integer key that is not an integer: the default.
// The 16-bit keys keep the low 16 bits of a larger integer (65537 -> 1), as the suite's
// other programs assign them.
StartupSettings readStartupSettings(const QString& iniPath);

// prefixFakt of the same section (default 0), read afresh for every invoice; a 32-bit
// integer key like the others.
qint64 readPrefixFakt(const QString& iniPath);

} // namespace dorvik::common
