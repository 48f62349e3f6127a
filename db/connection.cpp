#include "db/connection.h"

#include "db/cp1250.h"
#include "db/dberror.h"
#include "db/sqltext.h"

#include <QDateTime>
#include <QStringList>
#include <errmsg.h>
#include <mysql.h>

namespace dorvik::db {
namespace {

// A connection idle this long is pinged before use, so one dropped by the server
// (restart, kill, timeout) is opened again instead of failing the user's command.
constexpr qint64 idleCheckMs = 1000;

bool isConnectionLost(unsigned code) {
    return code == CR_SERVER_GONE_ERROR || code == CR_SERVER_LOST || code == CR_CONNECTION_ERROR
           || code == CR_CONN_HOST_ERROR;
}

} // namespace

QString sessionSqlMode(const QString& serverMode) {
    static const QStringList unwanted{QStringLiteral("ANSI_QUOTES"), QStringLiteral("ONLY_FULL_GROUP_BY"),
                                      QStringLiteral("NO_AUTO_VALUE_ON_ZERO"),
                                      QStringLiteral("NO_BACKSLASH_ESCAPES"), QStringLiteral("ANSI")};
    QStringList kept;
    for (const QString& mode : serverMode.split(u',', Qt::SkipEmptyParts))
        if (!unwanted.contains(mode.trimmed(), Qt::CaseInsensitive)) kept << mode.trimmed();
    return kept.join(u',');
}

Connection::~Connection() {
    close();
}

void Connection::open() {
    close();
    MYSQL* m = mysql_init(nullptr);
    if (!m) throw DbError(QStringLiteral("Out of memory"), CR_OUT_OF_MEMORY, QString());
    mysql_options(m, MYSQL_SET_CHARSET_NAME, "cp1250");
    mysql_options(m, MYSQL_OPT_COMPRESS, nullptr);
    const QByteArray host = toCp1250(settings_.host);
    const QByteArray user = toCp1250(settings_.user);
    const QByteArray password = toCp1250(settings_.password);
    const QByteArray database = toCp1250(settings_.database);
    if (!mysql_real_connect(m, host.constData(), user.constData(), password.constData(), database.constData(),
                            unsigned(settings_.port), nullptr, CLIENT_MULTI_RESULTS | CLIENT_COMPRESS)) {
        const DbError error(fromCp1250(QByteArray(mysql_error(m))), mysql_errno(m), QString());
        mysql_close(m);
        throw error;
    }
    mysql_autocommit(m, 1);
    mysql_ = m;
    lastUsedMs_ = QDateTime::currentMSecsSinceEpoch();
    const ResultSet mode = query(QStringLiteral("SELECT @@GLOBAL.sql_mode"));
    execute(QStringLiteral("SET SESSION sql_mode = ") + sqlQuoted(sessionSqlMode(mode.text(0, 0))));
}

void Connection::close() {
    if (mysql_) mysql_close(mysql_);
    mysql_ = nullptr;
}

bool Connection::inTransaction() const {
    return mysql_ && (mysql_->server_status & SERVER_STATUS_IN_TRANS);
}

unsigned long Connection::threadId() const {
    return mysql_ ? mysql_thread_id(mysql_) : 0;
}

void Connection::ensureOpen() {
    if (!mysql_) {
        if (batchDepth_ > 0)
            throw DbError(QStringLiteral("Lost connection to server during the batch"), CR_SERVER_LOST, QString());
        open();
        return;
    }
    const qint64 now = QDateTime::currentMSecsSinceEpoch();
    if (batchDepth_ == 0 && !inTransaction() && now - lastUsedMs_ >= idleCheckMs && mysql_ping(mysql_) != 0)
        open();
}

void Connection::fail(const QString& sql) {
    const unsigned code = mysql_errno(mysql_);
    const DbError error(fromCp1250(QByteArray(mysql_error(mysql_))), code, sql);
    // A lost connection is closed here so the next command opens it again.
    if (isConnectionLost(code)) close();
    throw error;
}

MYSQL* Connection::run(const QString& sql) {
    ensureOpen();
    const QByteArray bytes = toCp1250(sql);
    if (mysql_real_query(mysql_, bytes.constData(), (unsigned long)bytes.size()) != 0) fail(sql);
    lastUsedMs_ = QDateTime::currentMSecsSinceEpoch();
    return mysql_;
}

void Connection::execute(const QString& sql) {
    query(sql);
}

ResultSet Connection::query(const QString& sql) {
    MYSQL* m = run(sql);
    ResultSet first;
    bool haveFirst = false;
    // A CALL answers with several results; the first one with rows is the statement's.
    for (;;) {
        MYSQL_RES* res = mysql_store_result(m);
        if (res) {
            if (!haveFirst) {
                first = ResultSet(res);
                haveFirst = true;
            } else {
                mysql_free_result(res);
            }
        } else if (mysql_field_count(m) != 0) {
            fail(sql);
        } else if (!haveFirst) {
            affectedRows_ = mysql_affected_rows(m);
            lastInsertId_ = mysql_insert_id(m);
        }
        const int next = mysql_next_result(m);
        if (next > 0) fail(sql);
        if (next < 0) break;
    }
    return first;
}

} // namespace dorvik::db
