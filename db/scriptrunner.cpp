#include "db/scriptrunner.h"

#include "db/connection.h"

#include <errmsg.h>
#include <optional>

namespace dorvik::db {

namespace {

bool isCommit(const QString& statement) {
    QString s = statement.trimmed();
    if (s.endsWith(u';')) s.chop(1);
    return s.trimmed().compare(QLatin1String("COMMIT"), Qt::CaseInsensitive) == 0;
}

} // namespace

void runScript(Connection& connection, const QStringList& statements, const std::function<void()>& inTransaction) {
    // The first statement may still open a dropped connection; from the second on the batch
    // has begun on this session and must not move to another.
    std::optional<Connection::BatchScope> scope;
    bool opened = false;
    for (const QString& statement : statements) {
        try {
            try {
                connection.execute(statement);
            } catch (const DbError& e) {
                const bool lost = e.code() == CR_SERVER_LOST || e.code() == CR_SERVER_GONE_ERROR;
                if (opened && lost && isCommit(statement)) throw CommitUnknown(e);
                throw;
            }
            if (!opened && connection.inTransaction()) {
                opened = true;
                if (inTransaction) inTransaction();
            }
        } catch (...) {
            if (opened && connection.isOpen() && connection.inTransaction()) {
                try {
                    connection.execute(QStringLiteral("ROLLBACK"));
                } catch (const DbError&) {
                    // The server rolls back an open transaction when the connection drops anyway.
                }
            }
            throw;
        }
        if (!scope) scope.emplace(connection);
    }
}

} // namespace dorvik::db
