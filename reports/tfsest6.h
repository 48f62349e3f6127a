#pragma once

#include "reporting/reportwindow.h"
#include "reports/documentsql.h"

class QButtonGroup;
class QGroupBox;
class QLineEdit;

namespace dorvik::reports {

// "Sestavy zakázky": the issue documents made for orders, grouped by order; one order typed
// or every document that has one.
class TFsest6 : public reporting::ReportWindow {
    Q_OBJECT
public:
    explicit TFsest6(const common::RegisterContext& context, QWidget* parent = nullptr);

    void Button1Click() override;
    void RadioGroupTypClick();

    // What the fields ask for now.
    OrderRequest request() const;

private:
    QLineEdit* suiEdit1;
    QGroupBox* RadioGroupTyp;
    QGroupBox* RadioGroupJake;
    QGroupBox* RadioGroup2;
    QButtonGroup* report_;
    QButtonGroup* documents_;
    QButtonGroup* summing_;
};

} // namespace dorvik::reports
