#pragma once

#include "db/resultset.h"

#include <QString>

struct st_mysql;

namespace dorvik::db {

struct ConnectionSettings {
    QString host = QStringLiteral("localhost");
    int port = 3306;
    QString user = QStringLiteral("root");
    QString password;
    QString database = QStringLiteral("velmo");
};

// The program's one connection: cp1250, compression on, autocommit on, the server's
// default isolation. Every failure raises DbError. A command that finds the connection
// closed or lost opens it again first, but never inside a transaction or a batch: the
// server has rolled that work back, so it must fail as a whole.
class Connection {
public:
    Connection() = default;
    ~Connection();
    Connection(const Connection&) = delete;
    Connection& operator=(const Connection&) = delete;

    void setSettings(const ConnectionSettings& settings) { settings_ = settings; }
    const ConnectionSettings& settings() const { return settings_; }

    void open();
    void close();
    bool isOpen() const { return mysql_ != nullptr; }

    // Runs one statement and discards any result.
    void execute(const QString& sql);
    // Runs one statement and returns its whole result (empty for statements without one).
    ResultSet query(const QString& sql);

    quint64 affectedRows() const { return affectedRows_; }
    quint64 lastInsertId() const { return lastInsertId_; }
    bool inTransaction() const;
    unsigned long threadId() const;

    // While a batch holds this, a lost connection is not reopened behind its back.
    class BatchScope {
    public:
        explicit BatchScope(Connection& c) : c_(c) { ++c_.batchDepth_; }
        ~BatchScope() { --c_.batchDepth_; }
        BatchScope(const BatchScope&) = delete;
        BatchScope& operator=(const BatchScope&) = delete;

    private:
        Connection& c_;
    };

private:
    void ensureOpen();
    st_mysql* run(const QString& sql);
    [[noreturn]] void fail(const QString& sql);

    ConnectionSettings settings_;
    st_mysql* mysql_ = nullptr;
    quint64 affectedRows_ = 0;
    quint64 lastInsertId_ = 0;
    int batchDepth_ = 0;
    qint64 lastUsedMs_ = 0;
};

// The session sql_mode the program's statements need, from the server's own:
// double-quoted strings, columns outside the grouping and id 0 as the next value.
QString sessionSqlMode(const QString& serverMode);

} // namespace dorvik::db
