#pragma once

#include <QDate>
#include <QStringList>

namespace dorvik::reports {

enum class InvoiceReport { Invoices = 0, ByPayment = 1, WithVat = 2 };
// " Typ platby ": the first letter of the invoice's payment text.
enum class PaymentMethod { All = 0, Transfer = 1, Cash = 2, CashOnDelivery = 3, Card = 4 };

// The inputs of one invoice report run, as the window's fields hold them.
struct InvoiceRequest {
    QString workstation;
    InvoiceReport report = InvoiceReport::Invoices;
    QDate from;
    QDate to;               // invoice dates carry no time: midnight of the to-date ends the range
    bool supplyDate = false; // " Datumy " "Zdanit.plnění": plneni instead of vystaveni
    QString centre;         // empty: every cost centre
    PaymentMethod payment = PaymentMethod::All; // the invoice list only
};

// What runs before the final select: the one-row-per-invoice table of the two summing kinds.
QStringList invoiceSteps(const InvoiceRequest& request);
QString invoiceFinalSelect(const InvoiceRequest& request);
QString invoiceTemplate(const InvoiceRequest& request);
// oddata: which date selects and the two date fields' texts.
QString invoicePeriodCaption(const InvoiceRequest& request, const QString& fromText, const QString& toText);

} // namespace dorvik::reports
