#pragma once

#include "reporting/reportwindow.h"
#include "reports/documentsql.h"

class QButtonGroup;
class QGroupBox;

namespace dorvik::reports {

// "Sestavy výdej": the issue documents of a period as a list, broken down into their lines,
// or as the items issued; each report is one select.
class TFsest3 : public reporting::ReportWindow {
    Q_OBJECT
public:
    explicit TFsest3(const common::RegisterContext& context, QWidget* parent = nullptr);

    void Button1Click() override;
    void RadioGroupTypClick();

    // What the fields ask for now.
    IssueRequest request() const;

private:
    QGroupBox* RadioGroupTyp;
    QGroupBox* RadioGroupJake;
    QGroupBox* RadioGroup2;
    QButtonGroup* report_;
    QButtonGroup* documents_;
    QButtonGroup* summing_;
};

} // namespace dorvik::reports
