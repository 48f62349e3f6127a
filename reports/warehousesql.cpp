#include "reports/warehousesql.h"

#include "common/routines.h"
#include "db/scratchtable.h"
#include "db/sqltext.h"

#include <QStringList>

namespace dorvik::reports {

namespace {

using reporting::sqlLines;

struct Column {
    const char* name;
    const char* type;
    const char* defaultValue; // nullptr: NOT NULL without a default
};

// Movement lines of the three movement kinds.
const Column movementColumns[] = {
    {"CISLODOKLA", "INT(10)", "0"},       {"STREDISKO", "VARCHAR(10)", ""},   {"DATUM", "DATE", nullptr},
    {"JKPOV", "VARCHAR(20)", ""},         {"NAZEV", "VARCHAR(40)", ""},       {"MJ", "CHAR(3)", ""},
    {"SKUPINA", "VARCHAR(10)", ""},       {"POVAHA", "CHAR(1)", ""},          {"POC", "DECIMAL(12,4)", "0.0000"},
    {"POCNC", "DECIMAL(12,2)", "0.00"},   {"POCVO", "DECIMAL(12,2)", "0.00"}, {"PRI", "DECIMAL(12,4)", "0.0000"},
    {"PRINC", "DECIMAL(12,2)", "0.00"},   {"VYD", "DECIMAL(12,4)", "0.0000"}, {"VYDNC", "DECIMAL(12,2)", "0.00"},
    {"VYDVO", "DECIMAL(12,2)", "0.00"},   {"ZUS", "DECIMAL(12,4)", "0.0000"}, {"ZUSNC", "DECIMAL(12,2)", "0.00"},
    {"MNOZ", "DECIMAL(12,4)", "0.0000"},  {"NC", "DECIMAL(12,2)", "0.00"},    {"CENAR", "DECIMAL(12,2)", "0.00"},
    {"POLOZKA", "CHAR(20)", ""},          {"ZUSTATEK", "DECIMAL(12,4)", "0.0000"},
};

// Totals per cost centre and item.
const char* const totalColumns[] = {"CISLODOKLA", "STREDISKO", "JKPOV", "NAZEV", "MJ",    "SKUPINA", "POVAHA",
                                    "NC",         "POC",       "POCNC", "PRI",   "PRINC", "VYD",     "VYDNC",
                                    "ZUS",        "ZUSNC",     "MNOZ",  "CENAR", "POLOZKA"};

const Column& movementColumn(const QString& name) {
    for (const Column& c : movementColumns)
        if (name == QLatin1String(c.name)) return c;
    Q_UNREACHABLE();
}

QString createTable(const QString& table, const QList<const Column*>& columns) {
    QStringList lines{QStringLiteral("CREATE TABLE ") + table + QStringLiteral(" (")};
    for (qsizetype i = 0; i < columns.size(); ++i) {
        const Column& c = *columns[i];
        QString line = QStringLiteral("\t`%1` %2 NOT NULL").arg(QLatin1String(c.name), QLatin1String(c.type));
        if (c.defaultValue) line += QStringLiteral(" DEFAULT \"%1\"").arg(QLatin1String(c.defaultValue));
        if (i + 1 < columns.size()) line += QLatin1Char(',');
        lines << line;
    }
    lines << QStringLiteral(") ENGINE=MyISAM DEFAULT CHARSET=cp1250");
    return lines.join(QLatin1Char('\n'));
}

QString createMovementTable(const QString& table) {
    QList<const Column*> columns;
    for (const Column& c : movementColumns) columns << &c;
    return createTable(table, columns);
}

QString createTotalsTable(const QString& table) {
    QList<const Column*> columns;
    for (const char* name : totalColumns) columns << &movementColumn(QLatin1String(name));
    return createTable(table, columns);
}

class Statements {
public:
    explicit Statements(const WarehouseRequest& r) : r_(r) {}

    QString table(const char* suffix) const { return db::scratchTable(r_.workstation, QLatin1String(suffix)); }
    QString from() const { return db::sqlQuoted(common::sqlDate(r_.from)); }
    QString to() const { return db::sqlQuoted(common::sqlDate(r_.to)); }
    // Issue documents and till lines carry the time of day: the to-date counts whole.
    QString dayAfterTo() const { return db::sqlQuoted(common::sqlDate(r_.to.addDays(1))); }
    QString centre(const char* prefix) const {
        return r_.centre.isEmpty() ? QString() : QLatin1String(prefix) + db::sqlQuoted(r_.centre);
    }
    QString group(const char* prefix) const {
        return r_.group.isEmpty() ? QString() : QLatin1String(prefix) + db::sqlQuoted(r_.group);
    }
    // The whole pattern is one quoted literal, so nothing typed can end it. A backslash is
    // LIKE's escape character: doubled, it matches itself; % and _ stay wildcards.
    QString code(const char* column) const {
        if (r_.codeFragment.isEmpty()) return {};
        QString fragment = r_.codeFragment;
        fragment.replace(QLatin1Char('\\'), QStringLiteral("\\\\"));
        return QStringLiteral(" and %1 LIKE %2").arg(QLatin1String(column), db::sqlQuoted(QLatin1Char('%') + fragment + QLatin1Char('%')));
    }

private:
    const WarehouseRequest& r_;
};

QList<ReportStep> controlSteps(const Statements& s) {
    const QString sest1 = s.table("sest1");
    return {
        {QStringLiteral("call seznam_stav()"), 10},
        {QStringLiteral("CREATE TABLE %1 \n select JKPOV,STREDISKO,NAZEV,MJ,MNOZ,STAV,ZUSTATEK,NC from seznam").arg(sest1), 20},
        {QStringLiteral("UPDATE %1 SET MNOZ=0").arg(sest1), 30},
        {QStringLiteral("drop temporary table if exists aa1;"), 35},
        {QStringLiteral("drop temporary table if exists aa2;"), 40},
        {QStringLiteral("drop temporary table if exists aa3;"), 45},
        {QStringLiteral("create TEMPORARY  table aa1 select STREDISKO,JKPOV,sum(MNOZ) as MNOZ from prirad group by STREDISKO,JKPOV;"), 55},
        {QStringLiteral("ALTER TABLE `aa1` ADD INDEX `STRJKP` (`STREDISKO`,`JKPOV`);"), 60},
        {QStringLiteral("create TEMPORARY table aa2 select STREDISKO,JKPOV,sum(MNOZ) as MNOZ from dlrad group by STREDISKO,JKPOV;"), 65},
        {QStringLiteral("ALTER TABLE `aa2` ADD INDEX `STRJKP` (`STREDISKO`,`JKPOV`);"), 70},
        {QStringLiteral("create TEMPORARY table aa3 select STREDISKO,JKPOV,sum(MNOZ) as MNOZ from uctenkynakl group by STREDISKO,JKPOV;"), 75},
        {QStringLiteral("ALTER TABLE `aa3` ADD INDEX `STRJKP` (`STREDISKO`,`JKPOV`);"), 80},
        {QStringLiteral("UPDATE %1 s, aa1 p SET s.MNOZ=p.MNOZ where s.STREDISKO=p.STREDISKO and s.JKPOV=p.JKPOV;").arg(sest1), 85},
        {QStringLiteral("UPDATE %1 s, aa2 p SET s.MNOZ=s.MNOZ-p.MNOZ where s.STREDISKO=p.STREDISKO and s.JKPOV=p.JKPOV;").arg(sest1), 90},
        {QStringLiteral("UPDATE %1 s, aa3 p SET s.MNOZ=s.MNOZ-p.MNOZ where s.STREDISKO=p.STREDISKO and s.JKPOV=p.JKPOV;").arg(sest1), 95},
    };
}

QList<ReportStep> movementSteps(const Statements& s) {
    const QString sest1 = s.table("sest1");
    const QString sest2 = s.table("sest2");
    const QString receiptSelect = QStringLiteral("select p.CISLODOKLA,p.STREDISKO,p.DATUM,r.JKPOV,r.NAZEV,r.MJ,r.MNOZ,r.NC,r.CENAR");
    const QString receiptFrom = QStringLiteral(" from prijem p, prirad r where (p.CISLODOKLA=r.CISLODOKLA)");
    const QString issueFrom = QStringLiteral(" from dl p, dlrad r where (p.CISLODOKLA=r.CISLODOKLA)");
    return {
        {createMovementTable(sest1), 20},
        {QStringLiteral("DROP TABLE IF EXISTS ") + sest2, 25},
        {createTotalsTable(sest2), 30},
        {sqlLines({QStringLiteral("INSERT INTO ") + sest1, QStringLiteral("(CISLODOKLA,STREDISKO,DATUM,JKPOV,NAZEV,MJ,POC,NC,POCNC)"),
                receiptSelect, receiptFrom, s.centre(" and p.STREDISKO="), QStringLiteral(" and p.datum<") + s.from(), s.code("r.JKPOV")}),
         35},
        {sqlLines({QStringLiteral("INSERT INTO ") + sest1, QStringLiteral("(CISLODOKLA,STREDISKO,DATUM,JKPOV,NAZEV,MJ,PRI,NC,PRINC)"),
                receiptSelect, receiptFrom, s.centre(" and p.STREDISKO="), QStringLiteral(" and p.datum>=") + s.from(),
                QStringLiteral(" and p.datum<=") + s.to(), s.code("r.JKPOV")}),
         40},
        {sqlLines({QStringLiteral("INSERT INTO ") + sest1, QStringLiteral("(CISLODOKLA,STREDISKO,DATUM,JKPOV,NAZEV,MJ,POC,NC,POCNC,POCVO)"),
                QStringLiteral("select CISLODOKLA,STREDISKO,DATUM,JKPOV,NAZEV,MJ,-MNOZ,NC,-CENAR,-VOCASEK"), QStringLiteral(" from uctenkynakl"),
                QStringLiteral(" where datum<") + s.from(), s.centre(" and STREDISKO="), s.code("JKPOV")}),
         45},
        {sqlLines({QStringLiteral("INSERT INTO ") + sest1, QStringLiteral("(CISLODOKLA,STREDISKO,DATUM,JKPOV,NAZEV,MJ,VYD,NC,VYDNC,VYDVO)"),
                QStringLiteral("select CISLODOKLA,STREDISKO,DATUM,JKPOV,NAZEV,MJ,MNOZ,NC,CENAR,VOCASEK"), QStringLiteral(" from uctenkynakl"),
                QStringLiteral(" where datum>=") + s.from(), QStringLiteral(" and datum<") + s.dayAfterTo(), s.centre(" and STREDISKO="),
                s.code("JKPOV")}),
         50},
        {sqlLines({QStringLiteral("INSERT INTO ") + sest1, QStringLiteral("(CISLODOKLA,STREDISKO,DATUM,JKPOV,NAZEV,MJ,POC,NC,POCNC,POCVO)"),
                QStringLiteral("select p.CISLODOKLA,p.STREDISKO,p.DATUM,r.JKPOV,r.NAZEV,r.MJ,-r.MNOZ,r.NC,-r.CENAR,-r.VOCASEK"), issueFrom,
                s.centre(" and p.STREDISKO="), QStringLiteral(" and p.datum<") + s.from(), s.code("r.JKPOV")}),
         55},
        {sqlLines({QStringLiteral("INSERT INTO ") + sest1, QStringLiteral("(CISLODOKLA,STREDISKO,DATUM,JKPOV,NAZEV,MJ,VYD,NC,VYDNC,VYDVO)"),
                QStringLiteral("select p.CISLODOKLA,p.STREDISKO,p.DATUM,r.JKPOV,r.NAZEV,r.MJ,r.MNOZ,r.NC,r.CENAR,r.VOCASEK"), issueFrom,
                s.centre(" and p.STREDISKO="), QStringLiteral(" and p.datum>=") + s.from(), QStringLiteral(" and p.datum<") + s.dayAfterTo(),
                s.code("r.JKPOV")}),
         60},
        {sqlLines({QStringLiteral("UPDATE ") + sest1, QStringLiteral(" SET POCNC=POCNC+POCVO,VYDNC=VYDNC+VYDVO;")}), 62},
        {sqlLines({QStringLiteral("INSERT INTO ") + sest2, QStringLiteral("(STREDISKO,POLOZKA,JKPOV,NAZEV,MJ,NC,POC,PRI,VYD,POCNC,PRINC,VYDNC)"),
                QStringLiteral("select STREDISKO,POLOZKA,JKPOV,NAZEV,MJ,NC,sum(POC) as POC,"), QStringLiteral("sum(PRI) as PRI,sum(VYD) as VYD,sum(POCNC) as POCNC,"),
                QStringLiteral("sum(PRINC) as PRINC,sum(VYDNC) as VYDNC"), QStringLiteral(" from %1 group by STREDISKO,JKPOV order by stredisko,jkpov").arg(sest1)}),
         65},
        {sqlLines({QStringLiteral("DELETE from ") + sest2, QStringLiteral(" where POC=0 and PRI=0 and VYD=0 "), QStringLiteral(" and POCNC=0 and PRINC=0 and VYDNC=0")}), 70},
        {sqlLines({QStringLiteral("UPDATE ") + sest2, QStringLiteral(" SET ZUS=POC+PRI-VYD,ZUSNC=POCNC+PRINC-VYDNC")}), 75},
        {QString(), 80},
        {sqlLines({QStringLiteral("UPDATE %1 t, seznam s").arg(sest2), QStringLiteral(" SET t.SKUPINA=s.SKUPINA, t.NAZEV=s.NAZEV, t.POVAHA=s.POVAHA"),
                QStringLiteral(" where t.STREDISKO=s.STREDISKO and t.JKPOV=s.JKPOV")}),
         85},
        {sqlLines({QStringLiteral("DELETE from %1 ").arg(sest2), QStringLiteral(" where POVAHA=\"P\"")}), 87},
    };
}

QList<ReportStep> valuationTail(const Statements& s) {
    const QString sest2 = s.table("sest2");
    return {
        {sqlLines({QStringLiteral("UPDATE ") + sest2, QStringLiteral(" SET NC=ZUSNC/ZUS where ZUS<>0")}), 90},
        {sqlLines({QStringLiteral("DELETE from ") + sest2, QStringLiteral(" where ZUS=0 and ZUSNC=0")}), 95},
    };
}

QList<ReportStep> cardListTail(const Statements& s) {
    const QString sest2 = s.table("sest2");
    const QString sest3 = s.table("sest3");
    const QString sest4 = s.table("sest4");
    return {
        {QStringLiteral("DROP TABLE IF EXISTS ") + sest3, -1},
        {sqlLines({QStringLiteral("CREATE TABLE ") + sest3, QStringLiteral(" ( UNIQUE KEY `STRJKP` (`STREDISKO`, `JKPOV`)) ENGINE=MyISAM"),
                QStringLiteral("select STREDISKO, JKPOV, sum(ZUS) as ZUS from ") + sest2, QStringLiteral(" group by STREDISKO, JKPOV")}),
         80},
        {QStringLiteral("DROP TABLE IF EXISTS ") + sest4, -1},
        {sqlLines({QStringLiteral("CREATE TABLE ") + sest4, QStringLiteral(" ( UNIQUE KEY `STRJKP` (`STREDISKO`, `JKPOV`)) ENGINE=MyISAM"),
                QStringLiteral("select * from seznam"), QStringLiteral(" where AKTIVNI = \"A\""), s.centre(" and stredisko = "),
                s.group(" and skupina = "), s.code("JKPOV")}),
         90},
        {QStringLiteral("UPDATE %1 SET mnoz=0").arg(sest4), -1},
        {sqlLines({QStringLiteral("UPDATE %1 se, %2 st").arg(sest4, sest3), QStringLiteral(" SET se.MNOZ=st.ZUS"),
                QStringLiteral(" where se.STREDISKO=st.STREDISKO and se.JKPOV=st.JKPOV")}),
         95},
    };
}

// The order line of turnover and valuation.
QString totalsOrder(const WarehouseRequest& r) {
    if (r.grouped)
        return r.alphabetical ? QStringLiteral(" order by stredisko,skupina,nazev,jkpov") : QStringLiteral("order by stredisko,skupina, jkpov");
    if (r.alphabetical) return QStringLiteral(" order by stredisko,nazev,jkpov");
    return r.kind == WarehouseKind::Turnover ? QStringLiteral(" order by stredisko,jkpov") : QStringLiteral("order by stredisko,jkpov");
}

} // namespace

QList<ReportStep> warehouseSteps(const WarehouseRequest& request) {
    const Statements s(request);
    QList<ReportStep> steps{{QStringLiteral("DROP TABLE IF EXISTS ") + s.table("sest1"), 15}};
    if (request.kind == WarehouseKind::Control) return steps + controlSteps(s);
    steps += movementSteps(s);
    if (request.kind == WarehouseKind::Valuation) steps += valuationTail(s);
    if (request.kind == WarehouseKind::CardList) steps += cardListTail(s);
    return steps;
}

QString warehouseFinalSelect(const WarehouseRequest& request) {
    const Statements s(request);
    switch (request.kind) {
    case WarehouseKind::Control:
        return sqlLines({QStringLiteral("SELECT * from %1 where (mnoz<>zustatek or zustatek<>stav)").arg(s.table("sest1")),
                      s.centre(" and STREDISKO="), QStringLiteral(" order by stredisko,jkpov;")});
    case WarehouseKind::CardList:
        return sqlLines({QStringLiteral("select * from ") + s.table("sest4"),
                      request.alphabetical ? QStringLiteral(" order by stredisko,skupina,nazev,jkpov") : QStringLiteral("order by stredisko,skupina,jkpov")});
    case WarehouseKind::Turnover:
    case WarehouseKind::Valuation:
        break;
    }
    return sqlLines({QStringLiteral("select * from ") + s.table("sest2"), s.group(" where skupina = "), totalsOrder(request)});
}

QString warehouseTemplate(const WarehouseRequest& request) {
    switch (request.kind) {
    case WarehouseKind::Turnover: return request.grouped ? QStringLiteral("sest12.fr3") : QStringLiteral("sest11.fr3");
    case WarehouseKind::Valuation: return request.grouped ? QStringLiteral("sest21.fr3") : QStringLiteral("sest2.fr3");
    case WarehouseKind::CardList: return QStringLiteral("sestsez1.fr3");
    case WarehouseKind::Control: return QStringLiteral("sestkon2.fr3");
    }
    Q_UNREACHABLE();
}

} // namespace dorvik::reports
