#include "db/savecheck.h"

#include "db/connection.h"

#include <QCryptographicHash>
#include <algorithm>
#include <vector>

namespace dorvik::db {

QByteArray rowsStamp(Connection& connection, const QStringList& selects, const QStringList& ignored) {
    QCryptographicHash all(QCryptographicHash::Sha256);
    for (const QString& select : selects) {
        const ResultSet rows = connection.query(select);
        std::vector<int> columns;
        for (int c = 0; c < rows.columnCount(); ++c)
            if (!ignored.contains(rows.column(c).name, Qt::CaseInsensitive)) columns.push_back(c);
        std::vector<QByteArray> rowStamps;
        rowStamps.reserve(size_t(rows.rowCount()));
        for (int r = 0; r < rows.rowCount(); ++r) {
            QCryptographicHash row(QCryptographicHash::Sha256);
            for (const int c : columns) {
                // Length first, so neighbouring values cannot run into each other; NULL apart from ''.
                const qint64 length = rows.isNull(r, c) ? -1 : qint64(rows.cellLength(r, c));
                row.addData(QByteArrayView(reinterpret_cast<const char*>(&length), sizeof length));
                if (length > 0) row.addData(QByteArrayView(rows.cell(r, c), length));
            }
            rowStamps.push_back(row.result());
        }
        std::sort(rowStamps.begin(), rowStamps.end());
        const qint64 count = qint64(rowStamps.size());
        all.addData(QByteArrayView(reinterpret_cast<const char*>(&count), sizeof count));
        for (const QByteArray& stamp : rowStamps) all.addData(stamp);
    }
    return all.result();
}

void requireUnchanged(Connection& connection, const QStringList& storedSelects, const QByteArray& copied) {
    QStringList reads = storedSelects;
    if (!reads.isEmpty()) reads.first() += QStringLiteral(" FOR UPDATE");
    if (rowsStamp(connection, reads) != copied) throw ChangedMeanwhile();
}

bool storedAsSent(Connection& connection, const QStringList& storedSelects, const QStringList& sentSelects,
                  const QStringList& ignored, const QString& unknownText) {
    try {
        return rowsStamp(connection, storedSelects, ignored) == rowsStamp(connection, sentSelects, ignored);
    } catch (const DbError& e) {
        throw DbError(unknownText.arg(e.message()), e.code(), e.statement());
    }
}

} // namespace dorvik::db
