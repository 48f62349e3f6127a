#pragma once

#include "common/prompter.h"
#include "common/registercontext.h"

#include <QDialog>

class QProgressBar;
class QPushButton;

namespace dorvik::receipts {

// "Odpis účtenek": books every till line of the register's cost centre that is not written
// off yet, one procedure call per line. The calls are not one transaction: a run stopped by
// an error leaves the earlier lines booked, and the next run takes exactly the rest.
class TFodpis : public QDialog {
    Q_OBJECT
public:
    explicit TFodpis(const common::RegisterContext& context, QWidget* parent = nullptr);

    void Button1Click();
    bool running() const { return running_; }

protected:
    // A close asked for between two calls waits: the call in flight must not lose its window.
    void done(int result) override;

private:
    void odpisUctenky();

    common::RegisterContext context_;
    common::MessageBox message_{QStringLiteral("Odpis účtenek")};
    QPushButton* Button1;
    QPushButton* suiButton1;
    QProgressBar* suiProgressBar1;
    bool running_ = false;
};

} // namespace dorvik::receipts
