#include "reports/inventorysql.h"

#include "db/scratchtable.h"
#include "db/sqltext.h"

namespace dorvik::reports {

namespace {

using reporting::sqlLines;

QString table(const InventoryRequest& r, const char* suffix) {
    return db::scratchTable(r.workstation, QLatin1String(suffix));
}

QString centreCondition(const QString& centre) {
    return QStringLiteral(" where STREDISKO=") + db::sqlQuoted(centre);
}

QList<ReportStep> dropSteps(const InventoryRequest& r) {
    return {{QStringLiteral("DROP TABLE IF EXISTS ") + table(r, "sest1"), 10},
            {QStringLiteral("DROP TABLE IF EXISTS ") + table(r, "sest2"), 15},
            {QStringLiteral("DROP TABLE IF EXISTS ") + table(r, "sest3"), 17},
            {QString(), 20}};
}

// The counting rows this evaluation takes in: with a group, those of the group's active
// cards (the ones it lists); without one, all of the cost centre. Taken before the sums,
// so a row the terminal uploads meanwhile is neither summed nor archived.
ReportStep recordStep(const InventoryRequest& r) {
    const QString create = QStringLiteral("CREATE TABLE %1 (PRIMARY KEY (id))").arg(table(r, "sest3"));
    if (r.group.isEmpty()) return {sqlLines({create, QStringLiteral("select id from sklinv"), centreCondition(r.centre)}), -1};
    return {sqlLines({create, QStringLiteral("select i.id from sklinv i, seznam s"),
                      QStringLiteral(" where i.STREDISKO=s.STREDISKO and i.JKPOV=s.JKPOV"),
                      QStringLiteral(" and s.STREDISKO=") + db::sqlQuoted(r.centre),
                      QStringLiteral(" and s.SKUPINA=") + db::sqlQuoted(r.group), QStringLiteral(" and s.AKTIVNI=\"A\"")}),
            -1};
}

// The counted totals per item, from the recorded rows only.
QString countedTotals(const InventoryRequest& r, const QString& into, const QString& columns, const QString& select) {
    return sqlLines({QStringLiteral("INSERT INTO %1 (%2) ").arg(into, columns), select, centreCondition(r.centre),
                     QStringLiteral(" and id in (select id from %1)").arg(table(r, "sest3")),
                     QStringLiteral(" group by jkpov order by datumcas desc")});
}

} // namespace

QList<ReportStep> inventoryEvaluationSteps(const InventoryRequest& r) {
    const QString sest1 = table(r, "sest1");
    const QString sest2 = table(r, "sest2");
    QList<ReportStep> steps = dropSteps(r);
    steps += {
        {QStringLiteral("CREATE TABLE %1 select * from sklinv LIMIT 0,0;").arg(sest1), 30},
        // Keyed for the joined update of the counted totals.
        {QStringLiteral("CREATE TABLE %1 (KEY STRJKP (STREDISKO, JKPOV)) select * from sklinv LIMIT 0,0;").arg(sest2), 33},
        {QStringLiteral("UPDATE sklinv SET skupina=\"\""), 36},
        {sqlLines({QStringLiteral("UPDATE sklinv i, seznam s "), QStringLiteral("SET i.skupina=s.skupina"),
                   QStringLiteral("where i.STREDISKO=s.STREDISKO and i.JKPOV=s.JKPOV")}),
         40},
        recordStep(r),
    };
    if (!r.group.isEmpty()) {
        steps += {
            {sqlLines({QStringLiteral("INSERT INTO %1 (STREDISKO,JKPOV,DATUMCAS,mj,zustatekpc,nazev,povaha,skupina) ").arg(sest1),
                       QStringLiteral("select STREDISKO,JKPOV,NOW(),mj,zustatek,nazev,povaha,skupina from seznam"),
                       centreCondition(r.centre), QStringLiteral(" and SKUPINA=") + db::sqlQuoted(r.group),
                       QStringLiteral(" and AKTIVNI=\"A\"")}),
             50},
            {countedTotals(r, sest2, QStringLiteral("STREDISKO,JKPOV,DATUMCAS,STAVINV"),
                           QStringLiteral("select STREDISKO,JKPOV,MIN(DATUMCAS) as DATUMCAS,sum(stavinv) AS STAVINV from sklinv")),
             60},
            {sqlLines({QStringLiteral("UPDATE %1 i, %2 s ").arg(sest1, sest2), QStringLiteral(" SET i.DATUMCAS=s.DATUMCAS, i.STAVINV=s.STAVINV"),
                       QStringLiteral("where i.STREDISKO=s.STREDISKO and i.JKPOV=s.JKPOV")}),
             70},
        };
    } else {
        steps += {
            {countedTotals(r, sest1, QStringLiteral("STREDISKO,JKPOV,DATUMCAS,STAVINV,SKUPINA"),
                           QStringLiteral("select STREDISKO,JKPOV,MIN(DATUMCAS) as DATUMCAS,sum(stavinv) AS STAVINV,SKUPINA from sklinv")),
             50},
            {sqlLines({QStringLiteral("UPDATE %1 i, seznam s ").arg(sest1), QStringLiteral("SET i.mj=s.mj, i.nazev=s.nazev,"),
                       QStringLiteral(" i.povaha=s.povaha, i.zustatekpc=s.zustatek"),
                       QStringLiteral("where i.STREDISKO=s.STREDISKO and i.JKPOV=s.JKPOV")}),
             60},
        };
    }
    steps += {
        // No sale after the counting is 0 sold, not an unknown quantity: the difference
        // must come out for every item.
        {sqlLines({QStringLiteral("UPDATE %1 i  ").arg(sest1), QStringLiteral("SET i.prodej = IFNULL((SELECT SUM(s.mnoz) from uctenky s "),
                   QStringLiteral("where s.STREDISKO=i.STREDISKO and s.JKPOV=i.JKPOV and s.datum>i.datumcas"),
                   QStringLiteral(" group by s.JKPOV), 0)")}),
         80},
        {sqlLines({QStringLiteral("UPDATE %1 i").arg(sest1), QStringLiteral("SET i.rozdil=i.stavinv-i.prodej-i.zustatekpc")}), 90},
    };
    return steps;
}

QList<ReportStep> inventoryArchiveSteps(const InventoryRequest& r, const ArchiveStamp& stamp) {
    // By stamp and cost centre: another shop archived in the same minute is not this count.
    return dropSteps(r) + QList<ReportStep>{
        {sqlLines({QStringLiteral("CREATE TABLE ") + table(r, "sest1"), QStringLiteral(" select * from sklinvarch"),
                   QStringLiteral(" where datum = ") + db::sqlQuoted(stamp.datum), QStringLiteral(" and cas = ") + db::sqlQuoted(stamp.cas),
                   QStringLiteral(" and STREDISKO=") + db::sqlQuoted(r.centre)}),
         30}};
}

QString inventoryFinalSelect(const InventoryRequest& r) {
    QString order;
    switch (r.sort) {
    case InventorySort::Code: order = QStringLiteral("order by stredisko,jkpov"); break;
    case InventorySort::Name: order = QStringLiteral(" order by stredisko,nazev,jkpov"); break;
    case InventorySort::GroupCode: order = QStringLiteral(" order by stredisko,skupina,jkpov"); break;
    case InventorySort::GroupName: order = QStringLiteral(" order by stredisko,skupina,nazev,jkpov"); break;
    }
    return sqlLines({QStringLiteral("select * from ") + table(r, "sest1"), order});
}

QString inventoryTemplate(InventorySort sort) {
    return sort == InventorySort::Code || sort == InventorySort::Name ? QStringLiteral("sestit1.fr3") : QStringLiteral("sestit2.fr3");
}

QStringList inventoryArchiving(const QString& workstation) {
    const QString sest1 = db::scratchTable(workstation, QStringLiteral("sest1"));
    const QString sest3 = db::scratchTable(workstation, QStringLiteral("sest3"));
    return {QStringLiteral("START TRANSACTION;"),
            sqlLines({QStringLiteral("UPDATE %1 ").arg(sest1),
                      QStringLiteral(" set datum = DATE_FORMAT(NOW(),\"%Y-%m-%d\"), cas = DATE_FORMAT(NOW(),\"%H:%i\");")}),
            QStringLiteral("INSERT into sklinvarch select * from %1;").arg(sest1),
            // The recorded rows, whatever the fields say now.
            QStringLiteral("DELETE from sklinv where id in (select id from %1);").arg(sest3),
            QStringLiteral("COMMIT;")};
}

QString inventoryTimeNames() {
    return QStringLiteral("set lc_time_names=\"cs_CZ\";");
}

QString inventoryArchiveList(const QString& centre) {
    return sqlLines({QStringLiteral("select DISTINCT DATUM, CAS, CONCAT(DATE_FORMAT(DATUM,\"%W\"),\"  \",DATE_FORMAT(datum,\"%e.%c.%Y\"),\"  \",CAS) as DCCZ from sklinvarch"),
                     centreCondition(centre), QStringLiteral("  order by datum DESC, cas DESC")});
}

} // namespace dorvik::reports
