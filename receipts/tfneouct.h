#pragma once

#include "common/prompter.h"
#include "reporting/reportwindow.h"

class QCheckBox;

namespace dorvik::receipts {

// "Neodepsané položky účtenek": the till lines not written off yet, sold before a day, of
// one or several cost centres, line by line or as sums.
class TFneouct : public reporting::ReportWindow {
    Q_OBJECT
public:
    explicit TFneouct(const common::RegisterContext& context, QWidget* parent = nullptr);

    void Button1Click() override;

private:
    common::MessageBox message_{QStringLiteral("Neodepsané položky účtenek")};
    QCheckBox* suiCheckBox1;
};

} // namespace dorvik::receipts
