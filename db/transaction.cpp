#include "db/transaction.h"

#include "db/dberror.h"

namespace dorvik::db {

Transaction::Transaction(Connection& connection) : connection_(connection) {
    // The start may still reopen a connection found lost; from here on nothing may.
    connection_.execute(QStringLiteral("START TRANSACTION"));
    scope_.emplace(connection_);
}

Transaction::~Transaction() {
    if (done_ || !connection_.isOpen() || !connection_.inTransaction()) return;
    try {
        connection_.execute(QStringLiteral("ROLLBACK"));
    } catch (const DbError&) {
        // The server rolls back an open transaction when the connection drops anyway.
    }
}

void Transaction::commit() {
    connection_.execute(QStringLiteral("COMMIT"));
    done_ = true;
}

} // namespace dorvik::db
