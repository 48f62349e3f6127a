#include "reports/tfsest4.h"

#include "common/errordisplay.h"
#include "common/tracefile.h"

#include <QButtonGroup>
#include <QDateEdit>
#include <QGroupBox>
#include <QLineEdit>

namespace dorvik::reports {

TFsest4::TFsest4(const common::RegisterContext& context, QWidget* parent)
    : ReportWindow(context,
                   {.objectName = QStringLiteral("Fsest4"),
                    .caption = QStringLiteral("Sestavy faktury"),
                    .dateLabels = {QStringLiteral("Datum &od"), QStringLiteral("Datum &do")},
                    .stateSection = QStringLiteral("TFsest4"),
                    .closingDrops = {},
                    .progressBar = false},
                   parent) {
    RadioGroupTyp = addRadioGroup("RadioGroupTyp", QStringLiteral("Typ sestavy "),
                                  {QStringLiteral("Seznam faktur"), QStringLiteral("Součet dle platby"), QStringLiteral("Seznam s DPH")}, report_);
    RadioGroup2 = addRadioGroup("RadioGroup2", QStringLiteral(" Typ platby "),
                                {QStringLiteral("Vše"), QStringLiteral("Převodem"), QStringLiteral("Hotově"), QStringLiteral("Dobírkou"), QStringLiteral("Kartou")},
                                payment_);
    suiRadioGroup1 = addRadioGroup("suiRadioGroup1", QStringLiteral(" Datumy "), {QStringLiteral("Vystavení"), QStringLiteral("Zdanit.plnění")}, dates_);
    connect(report_, &QButtonGroup::idClicked, this, common::guard(this, &TFsest4::RadioGroupTypClick));
    connect(dates_, &QButtonGroup::idClicked, this, common::guard(this, &TFsest4::RadioGroupTypClick));
}

void TFsest4::RadioGroupTypClick() {
    // The sums per payment text take every payment method.
    RadioGroup2->setEnabled(report_->checkedId() != int(InvoiceReport::ByPayment));
}

InvoiceRequest TFsest4::request() const {
    return {.workstation = context_.workstation(),
            .report = InvoiceReport(report_->checkedId()),
            .from = dateField(0)->date(),
            .to = dateField(1)->date(),
            .supplyDate = dates_->checkedId() == 1,
            .centre = suiEdit2->text(),
            .payment = PaymentMethod(payment_->checkedId())};
}

void TFsest4::Button1Click() {
    run([this] {
        const InvoiceRequest r = request();
        for (const QString& sql : invoiceSteps(r)) step(sql, -1);
        const QString select = invoiceFinalSelect(r);
        if (r.report != InvoiceReport::Invoices) common::writeTrace(QStringLiteral("a.txt"), select);
        openResult(select);
        const QString caption = invoicePeriodCaption(r, dateField(0)->text(), dateField(1)->text());
        handOff(invoiceTemplate(r), Variables{{QStringLiteral("oddata"), caption}} + costCentreVariable());
        endRun();
    });
}

} // namespace dorvik::reports
