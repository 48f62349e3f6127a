#pragma once

#include "db/dberror.h"

#include <QStringList>
#include <functional>

namespace dorvik::db {

class Connection;

// The connection was lost at the batch's COMMIT: the server may have committed or not.
// The caller finds out from the stored rows before it tells the user anything.
class CommitUnknown : public DbError {
public:
    explicit CommitUnknown(const DbError& lost) : DbError(lost.message(), lost.code(), lost.statement()) {}
};

// Sends a batch statement by statement. When a statement fails while a transaction the
// batch opened is still open, ROLLBACK goes out before the error is raised, so a batch
// from START TRANSACTION to COMMIT is written whole or not at all. `inTransaction`, when
// given, runs right after the statement that opened the transaction; what it raises fails
// the batch the same way (a save checking the rows it is about to replace).
void runScript(Connection& connection, const QStringList& statements,
               const std::function<void()>& inTransaction = {});

} // namespace dorvik::db
