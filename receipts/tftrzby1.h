#pragma once

#include "receipts/revenuesql.h"
#include "reporting/reportwindow.h"

class QButtonGroup;
class QGroupBox;
class QLineEdit;

namespace dorvik::receipts {

// "Tržby za období": the till's revenue for a period in nine kinds, partly through scratch
// tables of the workstation. Both dates start at today each time; nothing is remembered.
class TFtrzby1 : public reporting::ReportWindow {
    Q_OBJECT
public:
    explicit TFtrzby1(const common::RegisterContext& context, QWidget* parent = nullptr);

    void Button1Click() override;

    // What the fields ask for now.
    RevenueRequest request() const;

private:
    QLineEdit* suiEdit3;
    QGroupBox* RadioGroup1;
    QButtonGroup* kind_;
};

} // namespace dorvik::receipts
