#pragma once

#include "common/prompter.h"

#include <QDialog>

class QPushButton;

namespace dorvik::db {
class Connection;
}

namespace dorvik::common {
class GridModel;
class GridView;
} // namespace dorvik::common

namespace dorvik::issue {

// "Seznam pro vytvoření dodacího listu": the cost centre's terminal lists (the dlterm rows
// of one customer key each) with the lines of the current one. "VYTVOŘIT" accepts the
// current list, "ZPĚT" rejects, "SMAZAT" deletes the current list.
class TFterm : public QDialog {
    Q_OBJECT
public:
    TFterm(db::Connection& connection, QString costCentre, QWidget* parent = nullptr);

    // The customer key (odberatel) of the current list; empty when there is none.
    QString currentCustomer() const;
    common::GridModel& lists() { return *listsModel_; }
    common::GridModel& lines() { return *linesModel_; }

    // The handlers, named after their controls.
    void FormShow();
    void suiButton2Click(); // SMAZAT
    void suiDBGrid1Scroll(); // the current list changed

protected:
    void showEvent(QShowEvent* event) override;

private:
    void openLists();

    db::Connection& connection_;
    QString costCentre_;
    bool shown_ = false;
    common::MessageBox messages_{QStringLiteral("Vezorar výdej")};
    common::GridModel* listsModel_;
    common::GridModel* linesModel_;
    common::GridView* suiDBGrid1;
    common::GridView* suiDBGrid2;
    QPushButton* suiButton1;
    QPushButton* suiButton2;
    QPushButton* Button5;
};

} // namespace dorvik::issue
