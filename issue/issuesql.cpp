#include "issue/issuesql.h"

#include "db/scratchtable.h"
#include "db/sqltext.h"

namespace dorvik::issue {

using db::scratchTable;
using db::sqlNumber;
using db::sqlQuoted;

namespace {
QString lines(const QStringList& pieces) { return pieces.join(u'\n'); }
} // namespace

QStringList stockSnapshotBatch(const QString& pc, const QString& centre) {
    const QString t = scratchTable(pc, QStringLiteral("stav"));
    return {QStringLiteral("START TRANSACTION;"),
            QStringLiteral("DROP TABLE IF EXISTS %1;").arg(t),
            lines({QStringLiteral("CREATE TABLE %1 COLLATE cp1250_general_ci ENGINE=MyISAM").arg(t),
                   QStringLiteral("(select jkpov,polozka,nc,zustatek,mj,id from prirad"),
                   QStringLiteral("WHERE stredisko=") + sqlQuoted(centre),
                   QStringLiteral(" AND zustatek>0 order by jkpov);")}),
            lines({QStringLiteral("ALTER TABLE %1").arg(t),
                   QStringLiteral(" ADD INDEX `jkpov` (`jkpov`),  ADD INDEX `id` (`id`);")}),
            QStringLiteral("COMMIT;")};
}

namespace {
QStringList emptyCopy(const QString& table, const QString& source) {
    return {QStringLiteral("DROP TABLE IF EXISTS %1").arg(table),
            QStringLiteral("CREATE TABLE %1 COLLATE cp1250_general_ci ENGINE=MyISAM (select * from %2 LIMIT 0,0)")
                .arg(table, source),
            QStringLiteral("DELETE from %1").arg(table)};
}
} // namespace

QStringList newHeaderStatements(const QString& pc) { return emptyCopy(scratchTable(pc, QStringLiteral("dl")), QStringLiteral("dl")); }

QStringList newLinesStatements(const QString& pc) {
    return emptyCopy(scratchTable(pc, QStringLiteral("dlrad")), QStringLiteral("dlrad"));
}

QStringList correctionHeaderStatements(const QString& pc, qint64 number) {
    const QString t = scratchTable(pc, QStringLiteral("dl"));
    return {QStringLiteral("DROP TABLE IF EXISTS %1").arg(t),
            lines({QStringLiteral("CREATE TABLE %1 COLLATE cp1250_general_ci ENGINE=MyISAM ").arg(t),
                   QStringLiteral("(select * from dl WHERE cislodokla = ") + sqlNumber(number) + u')'})};
}

QStringList correctionLinesStatements(const QString& pc, qint64 number) {
    const QString t = scratchTable(pc, QStringLiteral("dlrad"));
    return {QStringLiteral("DROP TABLE IF EXISTS %1").arg(t),
            lines({QStringLiteral("CREATE TABLE %1 COLLATE cp1250_general_ci ENGINE=MyISAM").arg(t),
                   QStringLiteral("(select * from dlrad WHERE cislodokla = ") + sqlNumber(number) + u')'})};
}

QString fastNumberListSql(const QString& centre) {
    return lines({QStringLiteral("select FOFRCISLO,JKPOV from seznam"), QStringLiteral(" where STREDISKO=") + sqlQuoted(centre),
                  QStringLiteral(" and FOFRCISLO>0"), QStringLiteral(" and AKTIVNI=\"A\""),
                  QStringLiteral(" order by FOFRCISLO;")});
}

QStringList closeBatch(const QString& pc) {
    QStringList batch{QStringLiteral("START TRANSACTION;")};
    for (const char* suffix : {"stav", "dl", "dlrad", "dlrad10"})
        batch << QStringLiteral("DROP TABLE IF EXISTS %1;").arg(scratchTable(pc, QLatin1String(suffix)));
    batch << QStringLiteral("COMMIT;");
    return batch;
}

QString eanSql(const QString& centre, const QString& code) {
    return lines({QStringLiteral("select EAN,JKPOV from seznamean"), QStringLiteral(" where STREDISKO=") + sqlQuoted(centre),
                  QStringLiteral(" and EAN=") + sqlQuoted(code), QStringLiteral("UNION "),
                  QStringLiteral("select EAN,JKPOV from seznam"), QStringLiteral(" where STREDISKO=") + sqlQuoted(centre),
                  QStringLiteral(" and EAN=") + sqlQuoted(code), QStringLiteral(" and AKTIVNI=\"A\"")});
}

QString itemSql(const QString& centre, const QString& code) {
    return lines({QStringLiteral("select * from seznam"), QStringLiteral(" where STREDISKO=") + sqlQuoted(centre),
                  QStringLiteral(" and JKPOV=") + sqlQuoted(code)});
}

QString closedPeriodSql() { return QStringLiteral("select uzavreneuo from velmo"); }

QString lastNumberSql(const QString& centre, qint32 base, bool internal) {
    return lines({QStringLiteral("select cislodokla from dl"),
                  QStringLiteral(" where stredisko = ") + sqlQuoted(centre) + QStringLiteral(" and cislodokla > ") +
                      sqlNumber(qint64(base)),
                  internal ? QStringLiteral(" and vnitro > 0") : QStringLiteral(" and vnitro = 0"),
                  QStringLiteral(" order by cislodokla DESC")});
}

QStringList storedDocumentSql(qint64 number) {
    return {QStringLiteral("select * from dl where cislodokla = ") + sqlNumber(number),
            QStringLiteral("select * from dlrad where cislodokla = ") + sqlNumber(number)};
}

QStringList copiedDocumentSql(const QString& pc) {
    return {QStringLiteral("select * from ") + scratchTable(pc, QStringLiteral("dl")),
            QStringLiteral("select * from ") + scratchTable(pc, QStringLiteral("dlrad"))};
}

QStringList saveBatch(const QString& pc, const QString& centre, QChar documentMode, qint64 number,
                      const QString& terminalKey) {
    const QString dl = scratchTable(pc, QStringLiteral("dl"));
    const QString dlrad = scratchTable(pc, QStringLiteral("dlrad"));
    QStringList batch{QStringLiteral("START TRANSACTION;")};
    if (documentMode == u'O')
        batch << QStringLiteral("DELETE from dl WHERE cislodokla = ") + sqlNumber(number) + u';'
              << QStringLiteral("DELETE from dlrad WHERE cislodokla = ") + sqlNumber(number) + u';';
    batch << lines({QStringLiteral("UPDATE %1").arg(dlrad), QStringLiteral(" SET cislodokla = ") + sqlNumber(number) + u';'});
    batch << QStringLiteral("insert into dl select * from %1;").arg(dl)
          << QStringLiteral("insert into dlrad select * from %1;").arg(dlrad);
    if (!terminalKey.isEmpty())
        batch << lines({QStringLiteral("DELETE from dlterm"),
                        QStringLiteral(" where stredisko=") + sqlQuoted(centre) + QStringLiteral(" and odberatel=") +
                            sqlQuoted(terminalKey) + u';'});
    batch << QStringLiteral("COMMIT;");
    return batch;
}

QString refreshTerminalSql() {
    return QStringLiteral("UPDATE dlterm t, seznam s SET t.NAZEV=s.NAZEV, t.MJ=s.MJ, t.PC=s.PC, t.DPH=s.DPH, t.PCSD=s.PCSD"
                          " where t.JKPOV=s.JKPOV and t.STREDISKO=s.STREDISKO;");
}

QString terminalListsSql(const QString& centre) {
    return lines({QStringLiteral("select id, datum, odberatel, max(cas) as cas, SUM(mnoz*pc) as suma, SUM(mnoz*pcsd) as sumasd"),
                  QStringLiteral(" from dlterm where stredisko=") + sqlQuoted(centre),
                  QStringLiteral(" group by odberatel order by datumcas;")});
}

QString terminalLinesSql(const QString& centre, const QString& customer) {
    return lines({QStringLiteral("select * from dlterm where stredisko=") + sqlQuoted(centre),
                  QStringLiteral(" and odberatel=") + sqlQuoted(customer)});
}

QString deleteTerminalSql(const QString& centre, const QString& customer) {
    return lines({QStringLiteral("DELETE from dlterm where stredisko=") + sqlQuoted(centre),
                  QStringLiteral(" and odberatel=") + sqlQuoted(customer)});
}

QStringList terminalImportBatch(const QString& pc, const QString& centre, const QString& customer, bool internal) {
    const QString t = scratchTable(pc, QStringLiteral("dlrad"));
    QStringList update{QStringLiteral("UPDATE %1 SET ").arg(t)};
    if (internal) update << QStringLiteral(" dph=0, pc=nc,");
    // The line value the totals, prints and reports read, rounded half away from zero
    // as line entry rounds it (DECIMAL rounding; ROUND of a double would round half to even).
    update << QStringLiteral(" cenar=nc*mnoz,") << QStringLiteral(" pcr=ROUND(CAST(pc*mnoz AS DECIMAL(30,10)),2);");
    return {QStringLiteral("START TRANSACTION;"),
            QStringLiteral("DELETE from %1;").arg(t),
            lines({QStringLiteral("INSERT into %1").arg(t), QStringLiteral(" (STREDISKO,JKPOV,MNOZ,NAZEV,MJ,PC,DPH,PCSD)"),
                   QStringLiteral(" (select STREDISKO,JKPOV,MNOZ,NAZEV,MJ,PC,DPH,PCSD from dlterm"),
                   QStringLiteral(" where stredisko=") + sqlQuoted(centre),
                   QStringLiteral(" and odberatel=") + sqlQuoted(customer) + QStringLiteral(");")}),
            lines({QStringLiteral("UPDATE %1 u, seznam s SET").arg(t),
                   QStringLiteral(" u.EAN=s.EAN, u.FOFRCISLO=s.FOFRCISLO, u.POVAHA=s.POVAHA, u.NC=s.NC"),
                   QStringLiteral(" where u.STREDISKO=s.STREDISKO and u.JKPOV=s.JKPOV;")}),
            lines(update),
            QStringLiteral("commit;")};
}

} // namespace dorvik::issue
