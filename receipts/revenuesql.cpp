#include "receipts/revenuesql.h"

#include "common/routines.h"
#include "db/scratchtable.h"
#include "db/sqltext.h"
#include "reporting/reportstep.h"

namespace dorvik::receipts {

namespace {

class Statements {
public:
    explicit Statements(const RevenueRequest& r) : r_(r) {}

    QString table(const char* suffix) const { return db::scratchTable(r_.workstation, QLatin1String(suffix)); }
    QString from() const { return db::sqlQuoted(common::sqlDate(r_.from)); }
    // The sale times of the whole days from..to, as a range the index on datum serves
    // (date(datum) would read every till line of all time).
    QStringList period(const QString& prefix = {}) const {
        return {QStringLiteral(" where %1datum >= %2").arg(prefix, from()),
                QStringLiteral(" and %1datum < %2").arg(prefix, db::sqlQuoted(common::sqlDate(r_.to.addDays(1))))};
    }

    // The centre and item lines, when asked for; `prefix` names the table ("u.").
    QStringList optionalFilters(const QString& prefix = {}) const {
        QStringList out;
        if (!r_.centre.isEmpty()) out << QStringLiteral(" and %1STREDISKO=%2").arg(prefix, db::sqlQuoted(r_.centre));
        if (!r_.code.isEmpty()) out << QStringLiteral(" and %1JKPOV=%2").arg(prefix, db::sqlQuoted(r_.code));
        return out;
    }
    // Whole days of the sale time.
    QStringList standardFilter() const {
        return period() + optionalFilters();
    }

    QString drop(const char* suffix) const { return QStringLiteral("DROP table IF EXISTS %1;").arg(table(suffix)); }
    QString create(const char* suffix, const QStringList& select, const QString& keys = {}) const {
        const QString head = keys.isEmpty() ? QStringLiteral("CREATE table %1 ENGINE=MyISAM ").arg(table(suffix))
                                            : QStringLiteral("CREATE table %1 (%2) ENGINE=MyISAM ").arg(table(suffix), keys);
        return reporting::sqlLines(QStringList{head} + select);
    }

    // One row per receipt: its header values repeat on each of its lines.
    QStringList receiptHeaders(const QString& extra) const {
        return QStringList{QStringLiteral("select DISTINCT cisuctenky,%1stredisko,typplatby,soucetuzao,soucetu,z0,z5,z23,d5,d23,z1,d1%2 from uctenky")
                               .arg(r_.kind == RevenueKind::VatRecapitulation ? QStringLiteral("cisuctenky as cisuod,cisuctenky as cisudo,") : QString(), extra)} +
               standardFilter();
    }

    // The receipt numbers of each day and cost centre: MIN into cisuod, MAX into cisudo.
    QStringList dayRange(const char* aggregate, const char* column) const {
        return {drop("trz2"),
                // Keyed by day and cost centre: the update below looks every receipt up in it.
                create("trz2",
                       {QStringLiteral("select stredisko,%1(cisuctenky) as cisu,datumu").arg(QLatin1String(aggregate)),
                        QStringLiteral(" from ") + table("trz1"), QStringLiteral("group by datumu,stredisko")},
                       QStringLiteral("KEY DEN (datumu,stredisko)")),
                reporting::sqlLines({QStringLiteral("UPDATE %1 h, %2 p").arg(table("trz1"), table("trz2")),
                       QStringLiteral("SET h.%1=p.cisu").arg(QLatin1String(column)),
                       QStringLiteral(" where h.datumu=p.datumu and h.stredisko=p.stredisko")})};
    }

    QStringList steps() const {
        switch (r_.kind) {
        case RevenueKind::PaymentKinds:
            return {drop("trz1"), create("trz1", receiptHeaders({}))};
        case RevenueKind::DaysPaymentKinds:
            return {drop("trz1"), create("trz1", receiptHeaders(QStringLiteral(",date(datum) as datumu")))};
        case RevenueKind::Profit: {
            // The cost rows carry the sale time: the whole to-date counts, as on the revenue side.
            return {drop("trz2"),
                    create("trz2", QStringList{QStringLiteral("select stredisko,sum(cenar) as cenar from uctenkynakl")} + period() +
                                       optionalFilters() + QStringList{QStringLiteral(" group by STREDISKO")}),
                    drop("trz3"),
                    create("trz3", QStringList{QStringLiteral("select stredisko,sum(CENAR*100/(100+DPH)) as soucetu from uctenky")} +
                                       standardFilter() + QStringList{QStringLiteral(" group by STREDISKO")})};
        }
        case RevenueKind::VatRecapitulation:
            return QStringList{drop("trz1"), create("trz1", receiptHeaders(QStringLiteral(",date(datum) as datumu")))} +
                   dayRange("MIN", "cisuod") + dayRange("MAX", "cisudo") +
                   QStringList{reporting::sqlLines({QStringLiteral("UPDATE ") + table("trz1"),
                                      QStringLiteral("SET cisuctenky=CONCAT(stredisko,DATE_FORMAT(datumu,\"%y%m%d\"))")})};
        case RevenueKind::CardDiscounts:
            return {drop("trz1"),
                    create("trz1", QStringList{QStringLiteral("select * from uctenky")} + period() +
                                       QStringList{QStringLiteral(" and sleva <> 0")} + optionalFilters()),
                    reporting::sqlLines({QStringLiteral("update %1 u, zakarty k SET u.popis2=k.nazevpodni,u.slevaproc=k.sleva,u.ean=k.ico,u.povaha=\"\"").arg(table("trz1")),
                           QStringLiteral(" where u.cislokarty=k.cislokarty")}),
                    reporting::sqlLines({QStringLiteral("update %1 u, strediska s SET u.povaha=\"Z\"").arg(table("trz1")),
                           QStringLiteral(" where u.ean=s.ico")})};
        default:
            return {};
        }
    }

    QString finalSelect() const {
        const QString sums = QStringLiteral("sum(d5) as dph5,sum(d23) as dph23,sum(z1) as zakl1,sum(d1) as dph1 from ") + table("trz1");
        switch (r_.kind) {
        case RevenueKind::PaymentKinds:
            return reporting::sqlLines({QStringLiteral("select stredisko,typplatby,sum(soucetuzao) as soucet,sum(z0) as zakl0,sum(z5) as zakl5,sum(z23) as zakl23,"),
                          sums, QStringLiteral(" group by stredisko,typplatby")});
        case RevenueKind::DaysPaymentKinds:
            return reporting::sqlLines({QStringLiteral("select datumu,stredisko,typplatby,sum(soucetuzao) as soucet,sum(z0) as zakl0,sum(z5) as zakl5,sum(z23) as zakl23,"),
                          sums, QStringLiteral(" group by datumu,stredisko,typplatby")});
        case RevenueKind::Receipts:
            return reporting::sqlLines(QStringList{QStringLiteral("select stredisko,typplatby,cisuctenky,datum,soucetuzao from uctenky")} + standardFilter() +
                         QStringList{QStringLiteral(" group by stredisko,typplatby,cisuctenky"), QStringLiteral(" order by stredisko,typplatby,cisuctenky")});
        case RevenueKind::ReceiptsLines:
            return reporting::sqlLines(QStringList{QStringLiteral("select * from uctenky")} + standardFilter() +
                         QStringList{QStringLiteral(" order by stredisko,cisuctenky,id2")});
        case RevenueKind::LinesReceipts:
            return reporting::sqlLines(QStringList{QStringLiteral("select * from uctenky")} + standardFilter() +
                         QStringList{QStringLiteral(" order by stredisko,jkpov,cisuctenky")});
        case RevenueKind::Groups:
            return reporting::sqlLines(QStringList{QStringLiteral("select u.stredisko,u.jkpov,s.skupina,sum(u.CENAR*100/(100+u.DPH)) as soucet from uctenky u"),
                                     QStringLiteral(" LEFT JOIN seznam s"), QStringLiteral("  ON (s.STREDISKO=u.STREDISKO and s.JKPOV=u.JKPOV)"),
                                     } +
                         period(QStringLiteral("u.")) + optionalFilters(QStringLiteral("u.")) +
                         QStringList{QStringLiteral(" group by stredisko,skupina"), QStringLiteral(" order by stredisko,skupina")});
        case RevenueKind::Profit:
            return reporting::sqlLines({QStringLiteral("select * from %1 u").arg(table("trz3")), QStringLiteral(" LEFT JOIN %1 n").arg(table("trz2")),
                          QStringLiteral("  ON (u.STREDISKO=n.STREDISKO)")});
        case RevenueKind::VatRecapitulation:
            return reporting::sqlLines({QStringLiteral("select cisuctenky,cisuod,cisudo,datumu,stredisko,sum(soucetu) as soucet0,"),
                          QStringLiteral("sum(soucetuzao) as soucet,sum(z0) as zakl0,sum(z5) as zakl5,sum(z23) as zakl23,"), sums,
                          QStringLiteral(" group by cisuctenky"), QStringLiteral(" order by cisuctenky")});
        case RevenueKind::CardDiscounts:
            return reporting::sqlLines({QStringLiteral("select povaha,cislokarty,popis2,slevaproc,sum(cenar0) as cenar0,sum(sleva) as sleva,"),
                          QStringLiteral("sum(cenar) as cenar from ") + table("trz1"), QStringLiteral(" group by povaha,cislokarty"),
                          QStringLiteral(" order by povaha,cislokarty")});
        }
        Q_UNREACHABLE();
    }

private:
    const RevenueRequest& r_;
};

} // namespace

QList<reporting::ReportStep> revenueSteps(const RevenueRequest& request) {
    const QStringList statements = Statements(request).steps();
    QList<reporting::ReportStep> steps;
    for (qsizetype i = 0; i < statements.size(); ++i) steps.append({statements[i], int(5 + 90 * (i + 1) / statements.size())});
    return steps;
}

QString revenueFinalSelect(const RevenueRequest& request) {
    return Statements(request).finalSelect();
}

QString revenueTemplate(RevenueKind kind) {
    static const char* const names[] = {"trz1", "trz1d", "trz2", "trz3", "trz4", "trz5", "trz6", "trz7", "trz8"};
    return QLatin1String(names[int(kind)]) + QStringLiteral(".fr3");
}

QStringList revenueScratchSuffixes() {
    return {QStringLiteral("trz1"), QStringLiteral("trz2"), QStringLiteral("trz3")};
}

} // namespace dorvik::receipts
