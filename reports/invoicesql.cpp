#include "reports/invoicesql.h"

#include "common/routines.h"
#include "db/scratchtable.h"
#include "db/sqltext.h"
#include "reporting/reportstep.h"

#include <QDateTime>

namespace dorvik::reports {

namespace {

QString midnight(const QDate& date) {
    return db::sqlQuoted(common::sqlDateTime(QDateTime(date, QTime(0, 0))));
}

QStringList dateCondition(const InvoiceRequest& r) {
    const QString column = r.supplyDate ? QStringLiteral("plneni") : QStringLiteral("vystaveni");
    return {QStringLiteral(" where %1>=").arg(column) + midnight(r.from), QStringLiteral(" and %1<=").arg(column) + midnight(r.to)};
}

QString centre(const InvoiceRequest& r) {
    return r.centre.isEmpty() ? QString() : QStringLiteral(" and STREDISKO=") + db::sqlQuoted(r.centre);
}

QString paymentCondition(PaymentMethod payment) {
    const char* letters = " PHDK";
    if (payment == PaymentMethod::All) return {};
    return QStringLiteral(" and LEFT(UHRADA,1)=\"%1\"").arg(QLatin1Char(letters[int(payment)]));
}

QString perInvoice(const InvoiceRequest& r) {
    return db::scratchTable(r.workstation, QStringLiteral("sest1"));
}

} // namespace

QStringList invoiceSteps(const InvoiceRequest& r) {
    if (r.report == InvoiceReport::Invoices) return {};
    // One row per invoice, so that the sums count each invoice once however many lines it has.
    return {QStringLiteral("DROP TABLE IF EXISTS ") + perInvoice(r),
            reporting::sqlLines(QStringList{QStringLiteral("CREATE TABLE ") + perInvoice(r), QStringLiteral("select * from fakt")} + dateCondition(r)
                         + QStringList{centre(r), QStringLiteral(" group by CFAKT"), QStringLiteral(" order by UHRADA")})};
}

QString invoiceFinalSelect(const InvoiceRequest& r) {
    if (r.report == InvoiceReport::Invoices)
        return reporting::sqlLines(QStringList{QStringLiteral("select * from fakt")} + dateCondition(r)
                            + QStringList{centre(r), paymentCondition(r.payment), QStringLiteral(" group by CFAKT"), QStringLiteral(" order by CFAKT")});
    const QString last = r.report == InvoiceReport::ByPayment
                             ? QStringLiteral(" from %1 group by STREDISKO,UHRADA order by STREDISKO,UHRADA DESC").arg(perInvoice(r))
                             : QStringLiteral(" from %1 group by STREDISKO,CFAKT order by STREDISKO,CFAKT ").arg(perInvoice(r));
    return reporting::sqlLines({QStringLiteral("select CFAKT,odb1,STREDISKO,UHRADA,SUM(SUMA_Z0) as Z0,SUM(SUMA_ZN) as ZN,SUM(SUMA_ZV) as ZV,"),
                         QStringLiteral(" SUM(SUMA_DPHN) as DN,SUM(SUMA_DPHV) as DV,SUM(SUMA_FA) as FA,SUM(ZAOK) as ZAOK,"),
                         QStringLiteral(" SUM(SUMA_ZS) as ZS,SUM(SUMA_DPHS) as DS"), last});
}

QString invoiceTemplate(const InvoiceRequest& r) {
    switch (r.report) {
    case InvoiceReport::Invoices: return QStringLiteral("sestf1.fr3");
    case InvoiceReport::ByPayment: return QStringLiteral("sestf2.fr3");
    case InvoiceReport::WithVat: return QStringLiteral("sestf3.fr3");
    }
    Q_UNREACHABLE();
}

QString invoicePeriodCaption(const InvoiceRequest& r, const QString& fromText, const QString& toText) {
    return (r.supplyDate ? QStringLiteral("Datum DPH ") : QStringLiteral("Datum vystaveni ")) + fromText + QStringLiteral(" - ") + toText;
}

} // namespace dorvik::reports
