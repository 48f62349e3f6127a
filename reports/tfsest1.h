#pragma once

#include "reporting/reportwindow.h"
#include "reports/warehousesql.h"

class QLineEdit;
class QRadioButton;
class QButtonGroup;
class QGroupBox;

namespace dorvik::reports {

// "Sestavy sklad": stock turnover, valuation, card list and stock control of one or every
// cost centre, computed in scratch tables from the whole suite's movement tables.
class TFsest1 : public reporting::ReportWindow {
    Q_OBJECT
public:
    explicit TFsest1(const common::RegisterContext& context, QWidget* parent = nullptr);

    void Button1Click() override;
    void RadioGroupTypClick();

    // What the fields ask for now.
    WarehouseRequest request() const;

private:
    QLineEdit* suiEdit1;
    QLineEdit* suiEdit3;
    QGroupBox* RadioGroupTyp;
    QGroupBox* RadioGroup2;
    QGroupBox* suiRadioGroupTridit;
    QButtonGroup* kind_;
    QButtonGroup* grouping_;
    QButtonGroup* sort_;
};

} // namespace dorvik::reports
