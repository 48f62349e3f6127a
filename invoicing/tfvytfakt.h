#pragma once

#include "common/prompter.h"
#include "common/registercontext.h"
#include "common/startupsettings.h"
#include "db/resultset.h"

#include <QDialog>

class QComboBox;
class QDateEdit;
class QLineEdit;
class QPushButton;
class QSpinBox;

namespace dorvik::invoicing {

// "Vytvoření faktury": the invoice of the register's current document. With an invoice
// number above 0 it rewrites that invoice from the document's lines at once, keeping its
// dates and payment kind.
class TFvytfakt : public QDialog {
    Q_OBJECT
public:
    // prefixFakt is read from settingsPath (velmo.ini) whenever a new number is taken.
    TFvytfakt(const common::RegisterContext& context, qint64 invoiceNumber, QWidget* parent = nullptr,
              QString settingsPath = common::startupSettingsPath());

    // The handlers, named after their controls.
    void FormShow();
    void Button1Click();
    void DateEdit2Change();
    void RxSpinEdit1Change();
    void suiComboBox1Change();

protected:
    void showEvent(QShowEvent* event) override;

private:
    void build();
    void showCurrentDocument();

    common::RegisterContext context_;
    qint64 invoiceNumber_;
    QString settingsPath_;
    bool shown_ = false;
    db::ResultSet header_;
    QString uzavreneuo_;
    common::MessageBox messages_{QStringLiteral("Vezorar fakturace")};

    QLineEdit* EditICO;
    QLineEdit* DBEdit8;
    QLineEdit* DBEdit10;
    QLineEdit* DBEdit7;
    QDateEdit* DateEdit1;
    QDateEdit* DateEdit2;
    QSpinBox* RxSpinEdit1;
    QComboBox* suiComboBox1;
    QDateEdit* DateEdit3;
    QLineEdit* EditCisloDL;
    QLineEdit* suiEditCisFa;
    QLineEdit* EditCelkemDPH;
    QPushButton* Button1;
    QPushButton* Button2;
};

} // namespace dorvik::invoicing
