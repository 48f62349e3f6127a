#include "reports/documentsql.h"

#include "common/routines.h"
#include "db/sqltext.h"
#include "reporting/reportstep.h"

#include <QStringList>

namespace dorvik::reports {

namespace {

QString documentKindCondition(DocumentKind kind) {
    switch (kind) {
    case DocumentKind::All: return {};
    case DocumentKind::NotInvoiced: return QStringLiteral(" and h.vnitro=0 and h.cislofakt=\"\"");
    case DocumentKind::Invoiced: return QStringLiteral(" and h.vnitro=0 and h.cislofakt<>\"\"");
    case DocumentKind::Internal: return QStringLiteral(" and h.vnitro=1");
    }
    Q_UNREACHABLE();
}

// dl.DATUM holds the time of day as well: the range ends before the day after the to-date,
// so the documents of the last day's afternoon count too.
QStringList period(const DocumentFilter& f) {
    return {QStringLiteral(" and h.datum>=") + db::sqlQuoted(common::sqlDate(f.from)),
            QStringLiteral(" and h.datum<") + db::sqlQuoted(common::sqlDate(f.to.addDays(1)))};
}

QString centre(const DocumentFilter& f) {
    return f.centre.isEmpty() ? QString() : QStringLiteral(" and h.STREDISKO=") + db::sqlQuoted(f.centre);
}

QStringList issueMiddle(const DocumentFilter& f) {
    return QStringList{QStringLiteral(" where (h.CISLODOKLA=r.CISLODOKLA)"), centre(f)} + period(f)
         + QStringList{documentKindCondition(f.kind)};
}

QStringList orderMiddle(const OrderRequest& r) {
    const QString order = r.order.isEmpty() ? QStringLiteral(" and h.zakazka<>\"\"") : QStringLiteral(" and h.ZAKAZKA=") + db::sqlQuoted(r.order);
    return QStringList{QStringLiteral(" where (h.CISLODOKLA=r.CISLODOKLA)"), centre(r.filter), order} + period(r.filter)
         + QStringList{documentKindCondition(r.filter.kind)};
}

const QString itemSums = QStringLiteral("select r.CISLODOKLA,r.STREDISKO,r.JKPOV,r.NAZEV,r.MJ,sum(r.MNOZ) as mnoz,sum(r.CENAR) as suma,sum(r.PCR) as sumapc from dl h, dlrad r");

} // namespace

QStringList documentKindItems() {
    return {QStringLiteral("Vše"), QStringLiteral("Neodfakturované"), QStringLiteral("Odfakturované"), QStringLiteral("Vnitropodnik")};
}

QString issueSelect(const IssueRequest& r) {
    const QStringList middle = issueMiddle(r.filter);
    switch (r.report) {
    case IssueReport::Documents:
        return reporting::sqlLines(QStringList{QStringLiteral("select h.*,sum(r.cenar) as suma,sum(r.pcr) as sumapc from dl h, dlrad r")} + middle
                            + QStringList{QStringLiteral(" group by h.CISLODOKLA"), QStringLiteral(" order by h.CISLODOKLA")});
    case IssueReport::Breakdown:
        if (!r.perItem)
            return reporting::sqlLines(QStringList{QStringLiteral("select h.ico,h.nazevpodni,h.posta,r.* from dl h, dlrad r")} + middle
                                + QStringList{QStringLiteral(" order by r.CISLODOKLA,r.JKPOV")});
        return reporting::sqlLines(QStringList{itemSums} + middle
                            + QStringList{QStringLiteral(" group by r.CISLODOKLA,r.JKPOV"), QStringLiteral(" order by r.CISLODOKLA,r.JKPOV")});
    case IssueReport::Items:
        return reporting::sqlLines(QStringList{itemSums} + middle + QStringList{QStringLiteral(" group by r.JKPOV"), QStringLiteral(" order by r.JKPOV")});
    }
    Q_UNREACHABLE();
}

QString issueTemplate(const IssueRequest& r) {
    switch (r.report) {
    case IssueReport::Documents: return QStringLiteral("sestv1.fr3");
    case IssueReport::Breakdown: return r.perItem ? QStringLiteral("sestv3.fr3") : QStringLiteral("sestv2.fr3");
    case IssueReport::Items: return QStringLiteral("sestv4.fr3");
    }
    Q_UNREACHABLE();
}

QString orderSelect(const OrderRequest& r) {
    const QStringList middle = orderMiddle(r);
    const QString orderSums = QStringLiteral("sum(r.MNOZ) as mnoz,sum(r.CENAR) as suma from dl h, dlrad r");
    switch (r.report) {
    case OrderReport::Orders:
    case OrderReport::Documents:
        return reporting::sqlLines(QStringList{QStringLiteral("select h.*,sum(r.cenar) as sumanc,sum(r.pcr) as sumapc from dl h, dlrad r")} + middle
                            + QStringList{QStringLiteral(" group by h.ZAKAZKA,h.CISLODOKLA"), QStringLiteral(" order by h.ZAKAZKA,h.CISLODOKLA")});
    case OrderReport::Breakdown:
        if (!r.perItem)
            return reporting::sqlLines(QStringList{QStringLiteral("select h.ZAKAZKA,h.ico,h.nazevpodni,h.posta,r.* from dl h, dlrad r")} + middle
                                + QStringList{QStringLiteral(" order by h.ZAKAZKA,r.CISLODOKLA,r.JKPOV")});
        return reporting::sqlLines(QStringList{QStringLiteral("select h.ZAKAZKA,r.CISLODOKLA,r.STREDISKO,r.JKPOV,r.NAZEV,r.MJ,") + orderSums} + middle
                            + QStringList{QStringLiteral(" group by h.ZAKAZKA,r.CISLODOKLA,r.JKPOV"), QStringLiteral(" order by h.ZAKAZKA,r.CISLODOKLA,r.JKPOV")});
    case OrderReport::Items:
        return reporting::sqlLines(QStringList{QStringLiteral("select r.CISLODOKLA,r.STREDISKO,r.JKPOV,r.NAZEV,r.MJ,") + orderSums} + middle
                            + QStringList{QStringLiteral(" group by h.ZAKAZKA,r.JKPOV"), QStringLiteral(" order by h.ZAKAZKA,r.JKPOV")});
    }
    Q_UNREACHABLE();
}

QString orderTemplate(const OrderRequest& r) {
    switch (r.report) {
    case OrderReport::Orders: return QStringLiteral("sestz0.fr3");
    case OrderReport::Documents: return QStringLiteral("sestz1.fr3");
    case OrderReport::Breakdown: return r.perItem ? QStringLiteral("sestz3.fr3") : QStringLiteral("sestz2.fr3");
    case OrderReport::Items: return QStringLiteral("sestz4.fr3");
    }
    Q_UNREACHABLE();
}

} // namespace dorvik::reports
