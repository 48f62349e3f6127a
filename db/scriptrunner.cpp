#include "db/scriptrunner.h"

#include "db/connection.h"
#include "db/dberror.h"

namespace dorvik::db {

void runScript(Connection& connection, const QStringList& statements) {
    Connection::BatchScope scope(connection);
    bool opened = false;
    for (const QString& statement : statements) {
        try {
            connection.execute(statement);
        } catch (const DbError&) {
            if (opened && connection.isOpen() && connection.inTransaction()) {
                try {
                    connection.execute(QStringLiteral("ROLLBACK"));
                } catch (const DbError&) {
                    // The server rolls back an open transaction when the connection drops anyway.
                }
            }
            throw;
        }
        opened = connection.inTransaction();
    }
}

} // namespace dorvik::db
