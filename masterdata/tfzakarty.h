#pragma once

#include "masterdata/copyeditwindow.h"
#include "reporting/reportrunner.h"

namespace dorvik::masterdata {

// "Seznam zákaznických karet": the loyalty cards. A card without a number gets
// "209" + its id in five digits when written; "Tisk" prints the selected card.
class TFzakarty : public CopyEditWindow {
    Q_OBJECT
public:
    TFzakarty(db::Connection& connection, const QString& workstation, pickers::TFnabadres& addresses,
              QWidget* parent = nullptr);

    void suiButton1Click(); // Tisk
    reporting::ReportRunner& report() { return report_; }

protected:
    bool afterInsert(const db::ResultSet& scratchRow, qint64 id) override;

private:
    reporting::ReportRunner report_;
    QPushButton* suiButton1;
};

} // namespace dorvik::masterdata
