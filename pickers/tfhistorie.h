#pragma once

#include "common/gridmodel.h"
#include "db/connection.h"
#include "pickers/pickerqueries.h"

#include <QDialog>

class QCheckBox;
class QDateEdit;
class QLabel;
class QPushButton;

namespace dorvik::common {
class GridView;
}

namespace dorvik::pickers {

// "Historie zboží": every receipt, issue and POS sale of one item in one cost centre,
// collected into tmp<PC>histo when the window opens and dropped when it closes. Made by
// the goods picker, shown modally, freed afterwards.
class TFhistorie : public QDialog {
    Q_OBJECT
public:
    TFhistorie(db::Connection& connection, QString workstation, QString item, QString itemName, QString costCentre,
               QWidget* parent = nullptr);

    common::GridModel& list() { return *model_; }
    HistoryFilter filter() const;

    void FormShow();
    void suiButton1Click(); // Tisk
    void Button2Click();    // Zpět
    // Any type box, "od data" or the date: the list again.
    void UdelejSQL();

    void done(int result) override;

protected:
    void showEvent(QShowEvent* event) override;

private:
    db::Connection& connection_;
    QString workstation_;
    QString item_;
    QString itemName_;
    QString costCentre_;
    bool opened_ = false;

    common::GridModel* model_;
    common::GridView* DBGrid1;
    QLabel* Label1;
    QLabel* Label2;
    QCheckBox* checkReceipts_;
    QCheckBox* checkIssues_;
    QCheckBox* checkSales_;
    QLabel* Label3;
    QLabel* Label4;
    QLabel* Label5;
    QCheckBox* suiCheckBox1;
    QDateEdit* DateEdit1;
    QPushButton* suiButton1;
    QPushButton* Button2;
};

} // namespace dorvik::pickers
