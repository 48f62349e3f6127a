#pragma once

#include "reporting/reportstep.h"

#include <QDate>
#include <QString>
#include <QStringList>

namespace dorvik::receipts {

// The items of "Součet", in their order.
enum class RevenueKind {
    PaymentKinds = 0,    // "typu platby"
    DaysPaymentKinds,    // "dny, typ platby"
    Receipts,            // "doklady"
    ReceiptsLines,       // "doklady, položky"
    LinesReceipts,       // "položky, doklady "
    Groups,              // "skupiny"
    Profit,              // "zisk"
    VatRecapitulation,   // "rekapitulace DPH"
    CardDiscounts,       // "slevy, karty"
};

// The inputs of one revenue report run, as the window's fields hold them.
struct RevenueRequest {
    QString workstation;
    RevenueKind kind = RevenueKind::PaymentKinds;
    QDate from;
    QDate to;
    QString centre; // empty: every cost centre
    QString code;   // empty: every item
};

// The statements a run sends before its final select (scratch tables), in order, with the
// progress bar spread over them.
QList<reporting::ReportStep> revenueSteps(const RevenueRequest& request);
QString revenueFinalSelect(const RevenueRequest& request);
// The template file in fr3/.
QString revenueTemplate(RevenueKind kind);
// The scratch table suffixes the window drops on closing.
QStringList revenueScratchSuffixes();

} // namespace dorvik::receipts
