#pragma once

#include "db/dberror.h"
#include "db/resultset.h"

#include <QString>
#include <memory>

class QLockFile;
struct st_mysql;

namespace dorvik::db {

struct ConnectionSettings {
    QString host = QStringLiteral("localhost");
    int port = 3306;
    QString user = QStringLiteral("root");
    QString password;
    QString database = QStringLiteral("velmo");
    // Seconds. A server that accepts and then stays silent gives the client library's message
    // after these instead of hanging the program. Reads outlast the program's own waits (the
    // 30 s numbering locks), the server's row-lock waits and the largest report.
    int connectTimeout = 5;
    int readTimeout = 300;
    int writeTimeout = 60;
};

// The program's one connection: cp1250, compression on, autocommit on, the server's
// default isolation. Every failure raises DbError.
//
// A command that finds the connection closed or dead (its socket closed by the server, or no
// answer to a ping after a pause) opens it again before it is sent. A statement that fails
// because the link was lost is sent once more on a new connection only where it surely did
// not run (the link was found dead while sending it) or where it only reads; one that may
// have run is never sent twice, since an insert would be doubled. Nothing is reopened inside
// a transaction or after the first statement of a batch: the server has rolled that work
// back, so it must fail as a whole.
//
// Text that cp1250 cannot hold is refused before anything is sent, never stored as "?".
class Connection {
public:
    Connection();
    ~Connection();
    Connection(const Connection&) = delete;
    Connection& operator=(const Connection&) = delete;

    void setSettings(const ConnectionSettings& settings) { settings_ = settings; }
    const ConnectionSettings& settings() const { return settings_; }

    void open();
    void close();

    // Marks this running copy as the user of workstation number `workstation` (its scratch
    // tables are named after it), on this machine and on the server, now and after every
    // reopening. Another running copy with the number makes open() raise WorkstationInUse;
    // a copy that ended without closing (crash, power cut) does not. Once the number is
    // lost to another copy, every further command raises WorkstationInUse.
    void claimWorkstation(const QString& workstation);
    bool isOpen() const { return mysql_ != nullptr; }

    // Runs one statement and discards any result.
    void execute(const QString& sql);
    // Runs one statement and returns its whole result (empty for statements without one).
    ResultSet query(const QString& sql);

    quint64 affectedRows() const { return affectedRows_; }
    quint64 lastInsertId() const { return lastInsertId_; }
    bool inTransaction() const;
    unsigned long threadId() const;

    // Held by a batch from its second statement on: a lost connection is then not reopened
    // behind its back (the first statement may still open it, before the batch has begun).
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
    bool linkClosed() const;
    void claimOnServer();
    st_mysql* run(const QString& sql);
    [[noreturn]] void fail(const QString& sql);

    ConnectionSettings settings_;
    QString workstation_;
    std::unique_ptr<QLockFile> workstationFile_;
    bool claimed_ = false;
    QString refusal_; // set when another copy took the workstation number
    st_mysql* mysql_ = nullptr;
    quint64 affectedRows_ = 0;
    quint64 lastInsertId_ = 0;
    int batchDepth_ = 0;
    qint64 lastUsedMs_ = 0;
};

// Raised when another running copy uses the workstation number.
class WorkstationInUse : public DbError {
public:
    explicit WorkstationInUse(const QString& message) : DbError(message, 0, QString()) {}
};

// The two server locks a running copy holds: the workstation number's, and the one that
// says which machine holds it (so a leftover of this machine's crashed copy is known).
QStringList workstationLockNames(const QString& workstation);

// The session sql_mode the program's statements need, from the server's own:
// double-quoted strings, columns outside the grouping and id 0 as the next value.
QString sessionSqlMode(const QString& serverMode);

} // namespace dorvik::db
