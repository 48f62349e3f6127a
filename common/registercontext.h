#pragma once

#include "common/startupsettings.h"
#include "db/connection.h"
#include "db/resultset.h"

#include <QString>

namespace dorvik::common {

// What the register hands the windows it opens: the one connection, the workstation,
// the current cost centre, the own IČO and the current document row.
struct RegisterContext {
    db::Connection& connection;
    const StartupSettings& settings; // workstation number, flags and layouts of velmo.ini
    QString costCentre;              // the current one; the cost-centre choice may change it
    QString ownIco;                  // ico of the current cost centre's strediska row
    bool centrumMode = false;        // the menu "Centrum" is enabled
    db::ResultSet documents;         // the register's document list (all columns of dl)
    int currentDocument = -1;        // its current row in result order; -1 when the list is empty

    const QString& workstation() const { return settings.workstation; }
};

} // namespace dorvik::common
