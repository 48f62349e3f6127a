#include "pickers/pickerqueries.h"

#include "common/routines.h"
#include "db/scratchtable.h"
#include "db/sqltext.h"

namespace dorvik::pickers {

using db::sqlQuoted;

QString goodsQuery(const QString& costCentre) {
    return QStringList{QStringLiteral("select * from seznam"), QStringLiteral(" where STREDISKO=") + sqlQuoted(costCentre),
                       QStringLiteral(" and AKTIVNI=\"A\""), QStringLiteral(" order by nazev;")}
        .join(u'\n');
}

QString defaultAddressQuery() { return QStringLiteral("select * from adresar order by ico"); }

QString addressQuery(bool internal) {
    return QStringList{QStringLiteral("select * from adresar"),
                       internal ? QStringLiteral("where LENGTH(ICO)<4") : QStringLiteral("where LENGTH(ICO)>3"),
                       QStringLiteral(" order by ico")}
        .join(u'\n');
}

QString orderQuery(bool openOnly, bool customerOnly, const QString& customerIco) {
    QStringList lines{QStringLiteral("select * from zakazky where zakazka<>\"\"")};
    if (openOnly) lines << QStringLiteral(" and datumdo>=NOW()");
    if (customerOnly) lines << QStringLiteral(" and ico=") + sqlQuoted(customerIco);
    lines << QStringLiteral("order by zakazka");
    return lines.join(u'\n');
}

QString customerCaption(const QString& ico, const QString& name) {
    return QStringLiteral("pouze pro ") + ico + u' ' + name;
}

QString historyTable(const QString& workstation) { return db::scratchTable(workstation, QStringLiteral("histo")); }

QStringList historyFillStatements(const QString& workstation, const QString& item, const QString& costCentre) {
    const QString table = historyTable(workstation);
    const QString j = sqlQuoted(item);
    const QString s = sqlQuoted(costCentre);
    return {
        QStringLiteral("DROP TABLE IF EXISTS ") + table,
        QStringLiteral("CREATE TABLE ") + table +
            QStringLiteral("\nselect r.CISLODOKLA,\"P\" as TYP,h.DATUM,r.MNOZ,r.NC,r.ZUSTATEK,r.STREDISKO,h.NAZEVPODNI,r.NAZEV"
                           " from prirad r, prijem h\n where (h.CISLODOKLA=r.CISLODOKLA) and r.JKPOV=") +
            j + QStringLiteral(" and r.stredisko=") + s,
        QStringLiteral("insert into ") + table +
            QStringLiteral("\nselect cisuctenky,\"U\",DATUM,MNOZ,NC,0,STREDISKO,\"\",nazev from uctenky\n where JKPOV=") + j +
            QStringLiteral(" and stredisko=") + s,
        QStringLiteral("insert into ") + table +
            QStringLiteral("\nselect r.CISLODOKLA,\"V\" as TYP,h.DATUM,r.MNOZ,r.NC,0,r.STREDISKO,h.NAZEVPODNI,r.nazev"
                           " from dlrad r, dl h\n where (h.CISLODOKLA=r.CISLODOKLA) and r.JKPOV=") +
            j + QStringLiteral(" and r.stredisko=") + s,
    };
}

QString historyTotalsQuery(const QString& workstation) {
    return QStringLiteral("select typ,sum(mnoz) as summa from ") + historyTable(workstation) + QStringLiteral("\n group by typ");
}

QString historyListQuery(const QString& workstation, const HistoryFilter& filter) {
    // "X" never occurs, so with no type ticked the list is empty.
    QStringList lines{QStringLiteral("select * from ") + historyTable(workstation), QStringLiteral(" where (TYP=\"X\"")};
    if (filter.receipts) lines << QStringLiteral(" OR TYP=\"P\"");
    if (filter.issues) lines << QStringLiteral(" OR TYP=\"V\"");
    if (filter.sales) lines << QStringLiteral(" OR TYP=\"U\"");
    lines << QStringLiteral(")");
    if (filter.from) lines << QStringLiteral(" and datum>=") + sqlQuoted(common::sqlDate(*filter.from));
    lines << QStringLiteral(" ORDER BY DATUM,cislodokla");
    return lines.join(u'\n');
}

} // namespace dorvik::pickers
