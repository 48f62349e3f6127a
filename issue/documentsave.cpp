#include "issue/documentsave.h"

#include "db/connection.h"
#include "db/dberror.h"
#include "db/editabletable.h"
#include "db/savecheck.h"
#include "db/scratchtable.h"
#include "db/scriptrunner.h"
#include "db/sqltext.h"
#include "issue/issuesql.h"
#include "issue/linelogic.h"

namespace dorvik::issue {

namespace {

constexpr unsigned DuplicateKey = 1062;
constexpr unsigned Deadlock = 1213;

// A named server lock per cost centre and series; released when dropped.
class SeriesLock {
public:
    SeriesLock(db::Connection& connection, const QString& centre, bool internal)
        : connection_(connection),
          name_(db::sqlQuoted(QStringLiteral("velmo.dl.%1.%2").arg(centre, internal ? u'4' : u'3'))) {
        const db::ResultSet r = connection_.query(QStringLiteral("SELECT GET_LOCK(%1, 30)").arg(name_));
        // Not granted in time: the duplicate-key retry still keeps the numbers apart.
        held_ = r.rowCount() == 1 && r.integer(0, 0) == 1;
    }
    ~SeriesLock() {
        if (!held_) return;
        try {
            connection_.query(QStringLiteral("SELECT RELEASE_LOCK(%1)").arg(name_));
        } catch (const db::DbError&) {
            // A lost connection has released it already.
        }
    }
    SeriesLock(const SeriesLock&) = delete;
    SeriesLock& operator=(const SeriesLock&) = delete;

private:
    db::Connection& connection_;
    QString name_;
    bool held_ = false;
};

// Runs the batch; a commit whose answer was lost is settled by the stored document. A batch
// the server chose as a deadlock victim was rolled back whole, so it is sent again.
bool runSave(db::Connection& connection, const SaveRequest& request, qint64 n, const std::function<void()>& check) {
    try {
        for (int attempt = 1;; ++attempt) {
            try {
                db::runScript(connection, saveBatch(request.workstation, request.costCentre, request.documentMode, n,
                                                    request.terminalKey),
                              check);
                return false;
            } catch (const db::DbError& e) {
                if (e.code() != Deadlock || attempt >= SaveAttempts) throw;
            }
        }
    } catch (const db::CommitUnknown&) {
        const bool stored = db::storedAsSent(
            connection, storedDocumentSql(n), copiedDocumentSql(request.workstation), {QStringLiteral("id")},
            QStringLiteral("Spojení se serverem se přerušilo při potvrzení uložení dokladu %1 a nelze zjistit, zda byl "
                           "uložen (%2). Než ho uložíte znovu, podívejte se do seznamu dokladů.")
                .arg(n)
                .arg(QStringLiteral("%1")));
        if (!stored)
            throw db::NotStored(QStringLiteral("Spojení se serverem se přerušilo při potvrzení uložení. Doklad nebyl "
                                               "uložen; uložte ho znovu."));
        return true;
    }
}

} // namespace

QByteArray copiedDocumentStamp(db::Connection& connection, const QString& workstation) {
    return db::rowsStamp(connection, copiedDocumentSql(workstation));
}

SaveResult saveDocument(db::Connection& connection, const SaveRequest& request, const std::function<void(qint64)>& numbered) {
    if (request.documentMode != u'N') {
        const qint64 n = request.documentNumber;
        const auto unchanged = [&] {
            if (!request.copied.isEmpty()) db::requireUnchanged(connection, storedDocumentSql(n), request.copied);
        };
        return {n, runSave(connection, request, n, unchanged)};
    }

    db::EditableTable header(connection, db::scratchTable(request.workstation, QStringLiteral("dl")));
    header.open();
    if (header.rowCount() != 1) throw db::DbError(QStringLiteral("The document header is missing"), 0, header.table());
    const int year = header.rows().dateTime(0, QStringLiteral("DATUM")).date().year();
    const qint32 base = numberBase(year, request.internal, request.costCentre);

    SeriesLock lock(connection, request.costCentre, request.internal);
    for (int attempt = 1;; ++attempt) {
        const db::ResultSet last = connection.query(lastNumberSql(request.costCentre, base, request.internal));
        const qint64 n = last.rowCount() > 0 ? last.integer(0, 0) + 1 : qint64(base) + 1;
        header.edit(0);
        header.setValue(QStringLiteral("cislodokla"), n);
        if (request.internal) header.setValue(QStringLiteral("vnitro"), 1);
        header.post();
        if (numbered) numbered(n);
        try {
            return {n, runSave(connection, request, n, {})};
        } catch (const db::DbError& e) {
            // Only the header's number can collide; any other failure is final.
            const bool numberTaken = e.code() == DuplicateKey && e.statement().startsWith(QStringLiteral("insert into dl "));
            if (!numberTaken || attempt >= SaveAttempts) throw;
        }
    }
}

} // namespace dorvik::issue
