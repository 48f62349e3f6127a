#include "masterdata/copyedit.h"

#include "db/scratchtable.h"

namespace dorvik::masterdata {

QString scratchName(const CopyEditTable& t, const QString& workstation) {
    return db::scratchTable(workstation, t.suffix);
}

static QString createLine(const CopyEditTable& t, const QString& workstation) {
    return QStringLiteral("CREATE TABLE ") + scratchName(t, workstation) + t.engine;
}

QStringList addStatements(const CopyEditTable& t, const QString& workstation) {
    QStringList quoted;
    for (const QString& c : t.newColumns) quoted << u'`' + c + u'`';
    return {QStringLiteral("DROP TABLE IF EXISTS ") + scratchName(t, workstation),
            createLine(t, workstation) + QStringLiteral("\n select * from ") + t.table + QStringLiteral(" LIMIT 0,0"),
            QStringLiteral("INSERT into ") + scratchName(t, workstation) + QStringLiteral("\n(") + quoted.join(u',')
                + QStringLiteral(")\n VALUES (") + t.newValues + u')'};
}

QStringList editStatements(const CopyEditTable& t, const QString& workstation, qint64 id) {
    return {QStringLiteral("DROP TABLE IF EXISTS ") + scratchName(t, workstation),
            createLine(t, workstation) + QStringLiteral("\n select * from ") + t.table + QStringLiteral("\n where id = ")
                + QString::number(id)};
}

QString deleteStatement(const CopyEditTable& t, qint64 id) {
    return QStringLiteral(" DELETE from ") + t.table + QStringLiteral("\n where id = ") + QString::number(id);
}

QString insertStatement(const CopyEditTable& t, const QString& workstation) {
    return QStringLiteral("INSERT into ") + t.table + QStringLiteral(" SELECT * from ") + scratchName(t, workstation);
}

QString cardNumberStatement(qint64 id) {
    return QStringLiteral("UPDATE zakarty SET cislokarty=concat(\"209\",LPAD(id,5,\"0\"))\n where id = ") + QString::number(id);
}

} // namespace dorvik::masterdata
