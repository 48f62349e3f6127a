#pragma once

#include <QStringList>

namespace dorvik::db {

class Connection;

// Sends a batch statement by statement. When a statement fails while a transaction the
// batch opened is still open, ROLLBACK goes out before the error is raised, so a batch
// from START TRANSACTION to COMMIT is written whole or not at all.
void runScript(Connection& connection, const QStringList& statements);

} // namespace dorvik::db
