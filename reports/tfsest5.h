#pragma once

#include "reporting/reportwindow.h"
#include "reports/inventorysql.h"

class QButtonGroup;
class QCheckBox;
class QComboBox;
class QGroupBox;
class QLineEdit;

namespace dorvik::reports {

// "Sestava inventura - terminál": the hand terminal's counts of one cost centre beside the
// book stock and the till sales since counting; the evaluated count can be archived and an
// archived one printed again.
class TFsest5 : public reporting::ReportWindow {
    Q_OBJECT
public:
    explicit TFsest5(const common::RegisterContext& context, QWidget* parent = nullptr);

    void Button1Click() override;
    // Archives the last evaluation.
    void suiButton1Click();
    void suiCheckBox1Click();

    InventoryRequest request() const;

private:
    // The archived count the drop-down list has selected (none: an empty stamp).
    ArchiveStamp chosenStamp() const;

    QLineEdit* suiEdit1;
    QGroupBox* suiRadioGroupTridit;
    QButtonGroup* sort_;
    QCheckBox* suiCheckBox1;
    QComboBox* suiDBLookupComboBox1;
    QPushButton* suiButton1;
};

} // namespace dorvik::reports
