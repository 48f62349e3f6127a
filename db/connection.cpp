#include "db/connection.h"

#include "db/cp1250.h"
#include "db/dberror.h"
#include "db/sqltext.h"

#include <QCryptographicHash>
#include <QDateTime>
#include <QDir>
#include <QLockFile>
#include <QRegularExpression>
#include <QStringList>
#include <QSysInfo>
#include <errmsg.h>
#include <mysql.h>
#include <poll.h>

namespace dorvik::db {
namespace {

// A connection idle this long is pinged before use, so one dropped by the server
// (restart, kill, timeout) is opened again instead of failing the user's command.
constexpr qint64 idleCheckMs = 1000;

bool isConnectionLost(unsigned code) {
    return code == CR_SERVER_GONE_ERROR || code == CR_SERVER_LOST || code == CR_CONNECTION_ERROR
           || code == CR_CONN_HOST_ERROR;
}

// A statement that changes nothing when it runs twice.
bool onlyReads(const QString& sql) {
    const QString head = sql.trimmed().left(6);
    return head.compare(QLatin1String("select"), Qt::CaseInsensitive) == 0
           || head.left(4).compare(QLatin1String("show"), Qt::CaseInsensitive) == 0;
}

QString machineName() {
    const QByteArray id = QSysInfo::machineUniqueId() + '/' + QSysInfo::machineHostName().toUtf8();
    return QString::fromLatin1(QCryptographicHash::hash(id, QCryptographicHash::Sha1).toHex().left(16));
}

QString inUseText(const QString& workstation) {
    return QStringLiteral("Číslo stanice %1 už používá jiný spuštěný Dorvik. Nastavte v souboru velmo.ini "
                          "(sekce LogON) jiné CisloPC a program spusťte znovu.")
        .arg(workstation);
}

QString takenMeanwhileText(const QString& workstation) {
    return QStringLiteral("Číslo stanice %1 mezitím převzal jiný spuštěný Dorvik. Tento program už s databází "
                          "nepracuje: nastavte v souboru velmo.ini (sekce LogON) jiné CisloPC a spusťte ho znovu.")
        .arg(workstation);
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

QStringList workstationLockNames(const QString& workstation) {
    const QString number = QStringLiteral("dorvik.velmo.pc.") + workstation;
    return {number, number + u'.' + machineName()};
}

Connection::Connection() = default;

Connection::~Connection() {
    close();
}

void Connection::open() {
    close();
    if (!refusal_.isEmpty()) throw WorkstationInUse(refusal_);
    MYSQL* m = mysql_init(nullptr);
    if (!m) throw DbError(QStringLiteral("Out of memory"), CR_OUT_OF_MEMORY, QString());
    mysql_options(m, MYSQL_SET_CHARSET_NAME, "cp1250");
    mysql_options(m, MYSQL_OPT_COMPRESS, nullptr);
    const unsigned connectTimeout = unsigned(settings_.connectTimeout);
    const unsigned readTimeout = unsigned(settings_.readTimeout);
    const unsigned writeTimeout = unsigned(settings_.writeTimeout);
    mysql_options(m, MYSQL_OPT_CONNECT_TIMEOUT, &connectTimeout);
    mysql_options(m, MYSQL_OPT_READ_TIMEOUT, &readTimeout);
    mysql_options(m, MYSQL_OPT_WRITE_TIMEOUT, &writeTimeout);
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
    if (!workstation_.isEmpty()) claimOnServer();
}

void Connection::close() {
    if (mysql_) mysql_close(mysql_);
    mysql_ = nullptr;
}

void Connection::claimWorkstation(const QString& workstation) {
    workstation_ = workstation;
    QString host = settings_.host;
    host.replace(QRegularExpression(QStringLiteral("[^A-Za-z0-9.]")), QStringLiteral("_"));
    workstationFile_ = std::make_unique<QLockFile>(
        QDir::temp().filePath(QStringLiteral("dorvik-%1-%2-%3.lock").arg(host).arg(settings_.port).arg(workstation)));
    // Only a live copy holds the file; one that crashed or lost power left a stale one behind.
    workstationFile_->setStaleLockTime(0);
    if (!workstationFile_->tryLock(0)) throw WorkstationInUse(inUseText(workstation));
    if (mysql_) claimOnServer();
}

void Connection::claimOnServer() {
    const QStringList names = workstationLockNames(workstation_);
    const QString number = sqlQuoted(names[0]);
    const QString machine = sqlQuoted(names[1]);
    const auto granted = [this](const QString& name, int seconds) {
        const ResultSet r = query(QStringLiteral("SELECT GET_LOCK(%1, %2)").arg(name).arg(seconds));
        return !r.isNull(0, 0) && r.integer(0, 0) == 1;
    };
    if (!granted(number, 0)) {
        // The holder is a leftover of this machine (this copy's own dropped connection, or a
        // copy that crashed or lost power, which the server has not noticed yet) when it also
        // holds this machine's lock: this machine has no other live copy, the file says so.
        const ResultSet holder = query(QStringLiteral("SELECT IS_USED_LOCK(%1), IS_USED_LOCK(%2)").arg(number, machine));
        const bool leftover = !holder.isNull(0, 0) && !holder.isNull(0, 1) && holder.integer(0, 0) == holder.integer(0, 1);
        if (leftover) {
            try {
                execute(QStringLiteral("KILL CONNECTION %1").arg(holder.integer(0, 0)));
            } catch (const DbError&) {
                // Not ours to end: it holds the number, and this copy stays off it.
            }
        }
        if (!leftover || !granted(number, 5)) {
            refusal_ = claimed_ ? takenMeanwhileText(workstation_) : inUseText(workstation_);
            close();
            throw WorkstationInUse(refusal_);
        }
    }
    granted(machine, 5);
    claimed_ = true;
}

bool Connection::inTransaction() const {
    return mysql_ && (mysql_->server_status & SERVER_STATUS_IN_TRANS);
}

unsigned long Connection::threadId() const {
    return mysql_ ? mysql_thread_id(mysql_) : 0;
}

// Between commands the server sends nothing; a socket that can be read is one the server
// has closed (a kill, a restart, its own timeout).
bool Connection::linkClosed() const {
    pollfd link{int(mysql_get_socket(mysql_)), POLLIN, 0};
    return poll(&link, 1, 0) > 0;
}

void Connection::ensureOpen() {
    if (!refusal_.isEmpty()) throw WorkstationInUse(refusal_);
    if (!mysql_) {
        if (batchDepth_ > 0)
            throw DbError(QStringLiteral("Lost connection to server during the batch"), CR_SERVER_LOST, QString());
        open();
        return;
    }
    if (batchDepth_ > 0 || inTransaction()) return;
    const qint64 now = QDateTime::currentMSecsSinceEpoch();
    if (linkClosed() || (now - lastUsedMs_ >= idleCheckMs && mysql_ping(mysql_) != 0)) open();
}

void Connection::fail(const QString& sql) {
    const unsigned code = mysql_errno(mysql_);
    const DbError error(fromCp1250(QByteArray(mysql_error(mysql_))), code, sql);
    // A lost connection is closed here so the next command opens it again.
    if (isConnectionLost(code)) close();
    throw error;
}

MYSQL* Connection::run(const QString& sql) {
    if (const QString foreign = charactersOutsideCp1250(sql); !foreign.isEmpty())
        throw DbError(outsideCp1250Message(foreign) + QStringLiteral(". Nic nebylo zapsáno."), 0, sql);
    const QByteArray bytes = toCp1250(sql);
    ensureOpen();
    const bool mayResend = batchDepth_ == 0 && !inTransaction();
    if (mysql_real_query(mysql_, bytes.constData(), (unsigned long)bytes.size()) != 0) {
        const unsigned code = mysql_errno(mysql_);
        // "Server has gone away": the statement never left. A lost answer to a read is harmless to repeat.
        if (!mayResend || !(code == CR_SERVER_GONE_ERROR || (code == CR_SERVER_LOST && onlyReads(sql)))) fail(sql);
        open();
        if (mysql_real_query(mysql_, bytes.constData(), (unsigned long)bytes.size()) != 0) fail(sql);
    }
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
