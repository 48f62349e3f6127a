#pragma once

#include "reporting/reportwindow.h"
#include "reports/invoicesql.h"

class QButtonGroup;
class QGroupBox;

namespace dorvik::reports {

// "Sestavy faktury": the invoices of a period by issue date or date of taxable supply, as a
// list, summed per payment text, or with their tax bases and VAT.
class TFsest4 : public reporting::ReportWindow {
    Q_OBJECT
public:
    explicit TFsest4(const common::RegisterContext& context, QWidget* parent = nullptr);

    void Button1Click() override;
    void RadioGroupTypClick();

    // What the fields ask for now.
    InvoiceRequest request() const;

private:
    QGroupBox* RadioGroupTyp;
    QGroupBox* RadioGroup2;
    QGroupBox* suiRadioGroup1;
    QButtonGroup* report_;
    QButtonGroup* payment_;
    QButtonGroup* dates_;
};

} // namespace dorvik::reports
