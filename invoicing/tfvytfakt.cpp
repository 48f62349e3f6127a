#include "invoicing/tfvytfakt.h"

#include "common/dateedit.h"
#include "common/displayformat.h"
#include "common/errordisplay.h"
#include "common/routines.h"
#include "db/connection.h"
#include "db/savecheck.h"
#include "invoicing/invoicebuilder.h"
#include "invoicing/invoicegeneration.h"

#include <QComboBox>
#include <QDateEdit>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QShowEvent>
#include <QSpinBox>
#include <QTimer>
#include <QVBoxLayout>
#include <utility>

namespace dorvik::invoicing {

namespace {

const QString transferOrder = QStringLiteral("Převodním příkazem");
const QString cash = QStringLiteral("Hotově");
const QString cashOnDelivery = QStringLiteral("Dobírkou");
const QString card = QStringLiteral("Kartou");

QLineEdit* lineEdit(const char* name, bool readOnly) {
    auto* e = new QLineEdit;
    e->setObjectName(QLatin1String(name));
    e->setReadOnly(readOnly);
    return e;
}

} // namespace

TFvytfakt::TFvytfakt(const common::RegisterContext& context, qint64 invoiceNumber, QWidget* parent,
                     QString settingsPath)
    : QDialog(parent), context_(context), invoiceNumber_(invoiceNumber), settingsPath_(std::move(settingsPath)) {
    build();
}

void TFvytfakt::build() {
    setObjectName(QStringLiteral("Fvytfakt"));
    setWindowTitle(QStringLiteral("Vytvoření faktury"));
    setModal(true);

    EditICO = lineEdit("EditICO", true);
    DBEdit8 = lineEdit("DBEdit8", true);
    DBEdit10 = lineEdit("DBEdit10", true);
    DBEdit7 = lineEdit("DBEdit7", true);
    DBEdit7->setAccessibleName(QStringLiteral("Ulice a číslo"));
    DateEdit1 = new common::DateEdit(QStringLiteral("DateEdit1"));
    DateEdit1->setReadOnly(true);
    DateEdit2 = new common::DateEdit(QStringLiteral("DateEdit2"));
    RxSpinEdit1 = new QSpinBox;
    RxSpinEdit1->setObjectName(QStringLiteral("RxSpinEdit1"));
    RxSpinEdit1->setRange(0, 9999);
    RxSpinEdit1->setValue(14);
    suiComboBox1 = new QComboBox;
    suiComboBox1->setObjectName(QStringLiteral("suiComboBox1"));
    suiComboBox1->setEditable(true);
    suiComboBox1->setInsertPolicy(QComboBox::NoInsert);
    suiComboBox1->addItems({transferOrder, cash, cashOnDelivery, card});
    suiComboBox1->setCurrentText(transferOrder);
    suiComboBox1->setAccessibleName(QStringLiteral("Způsob úhrady"));
    DateEdit3 = new common::DateEdit(QStringLiteral("DateEdit3"));
    // The header shown and the lines invoiced must come from one document: the number is
    // the register's current document, not a field to type another into.
    EditCisloDL = lineEdit("EditCisloDL", true);
    suiEditCisFa = lineEdit("suiEditCisFa", true);
    EditCelkemDPH = lineEdit("EditCelkemDPH", true);
    EditCelkemDPH->setAlignment(Qt::AlignRight);
    Button1 = new QPushButton(QStringLiteral("V&ytvořit"));
    Button1->setObjectName(QStringLiteral("Button1"));
    Button2 = new QPushButton(QStringLiteral("&Zpět"));
    Button2->setObjectName(QStringLiteral("Button2"));
    // Enter in a field must not issue an invoice.
    for (QPushButton* b : {Button1, Button2}) b->setAutoDefault(false);

    auto* form = new QFormLayout;
    const auto row = [form](const QString& caption, QWidget* field) {
        auto* label = new QLabel(caption);
        label->setBuddy(field);
        form->addRow(label, field);
    };
    row(QStringLiteral("&IČO"), EditICO);
    row(QStringLiteral("&Název"), DBEdit8);
    row(QStringLiteral("&Sídlo"), DBEdit10);
    form->addRow(QString(), DBEdit7);
    row(QStringLiteral("Datum D&PH"), DateEdit1);
    row(QStringLiteral("Datum &vystavení"), DateEdit2);
    row(QStringLiteral("Spla&tnost"), RxSpinEdit1);
    form->addRow(QString(), suiComboBox1);
    row(QStringLiteral("Datum spl&atnosti"), DateEdit3);
    row(QStringLiteral("&Doklad"), EditCisloDL);
    row(QStringLiteral("&Faktura"), suiEditCisFa);
    row(QStringLiteral("Celkem s DPH"), EditCelkemDPH);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(Button1);
    buttons->addWidget(Button2);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addLayout(buttons);

    connect(DateEdit2, &QDateEdit::dateChanged, this, common::guard(this, &TFvytfakt::DateEdit2Change));
    connect(RxSpinEdit1, &QSpinBox::valueChanged, this, common::guard(this, &TFvytfakt::RxSpinEdit1Change));
    // Only the user's choice or typing counts; the rewrite sets the text without it.
    connect(suiComboBox1, &QComboBox::textActivated, this, common::guard(this, &TFvytfakt::suiComboBox1Change));
    connect(suiComboBox1->lineEdit(), &QLineEdit::textEdited, this, common::guard(this, &TFvytfakt::suiComboBox1Change));
    connect(Button1, &QPushButton::clicked, this, common::guard(this, &TFvytfakt::Button1Click));
    connect(Button2, &QPushButton::clicked, this, &QDialog::reject);
}

void TFvytfakt::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (shown_) return;
    shown_ = true;
    if (common::guarded([this] { FormShow(); }) && invoiceNumber_ > 0)
        QTimer::singleShot(0, this, common::guard(this, &TFvytfakt::Button1Click));
}

void TFvytfakt::showCurrentDocument() {
    const db::ResultSet& list = context_.documents;
    const int row = context_.currentDocument;
    if (row < 0 || row >= list.rowCount()) return;
    EditCisloDL->setText(list.text(row, QStringLiteral("cislodokla")));
    EditICO->setText(list.text(row, QStringLiteral("ICO")));
    DBEdit8->setText(list.text(row, QStringLiteral("NAZEVPODNI")));
    DBEdit10->setText(list.text(row, QStringLiteral("SIDLO")));
    DBEdit7->setText(list.text(row, QStringLiteral("ULICECISLO")));
}

void TFvytfakt::FormShow() {
    showCurrentDocument();
    db::Connection& connection = context_.connection;
    header_ = connection.query(documentHeaderSql(EditCisloDL->text()));
    if (header_.rowCount() > 0) DateEdit1->setDate(header_.dateTime(0, QStringLiteral("datum")).date());
    // What the invoice will carry as its total, computed the way the invoice computes it.
    const db::ResultSet lines = connection.query(documentLinesSql(EditCisloDL->text()));
    EditCelkemDPH->setText(common::formatNumber(totalWithVat(lines, DateEdit1->date().year()), common::MoneyFormat));
    DateEdit2->setDate(QDate::currentDate());
    DateEdit2Change(); // the field may have held today's date already
    const db::ResultSet closed = connection.query(closedPeriodSql());
    uzavreneuo_ = closed.rowCount() > 0 ? closed.text(0, 0) : QString();
    if (invoiceNumber_ <= 0) return;
    const db::ResultSet existing = connection.query(existingInvoiceSql(invoiceNumber_));
    if (existing.rowCount() > 0) {
        DateEdit2->setDate(existing.dateTime(0, QStringLiteral("VYSTAVENI")).date());
        DateEdit3->setDate(existing.dateTime(0, QStringLiteral("SPLATNOST")).date());
        suiComboBox1->setCurrentText(existing.text(0, QStringLiteral("UHRADA")));
    }
    suiEditCisFa->setText(QString::number(invoiceNumber_));
}

void TFvytfakt::DateEdit2Change() {
    DateEdit3->setDate(DateEdit2->date().addDays(RxSpinEdit1->value()));
}

void TFvytfakt::RxSpinEdit1Change() {
    DateEdit2Change();
}

void TFvytfakt::suiComboBox1Change() {
    const QString kind = suiComboBox1->currentText();
    if (kind != cash && kind != card) return;
    RxSpinEdit1->setValue(0);
    DateEdit2Change();
}

void TFvytfakt::Button1Click() {
    if (header_.rowCount() == 0) {
        messages_.show(QStringLiteral("Doklad %1 nebyl nalezen.").arg(EditCisloDL->text()), common::MessageIcon::Stop,
                       {QStringLiteral("Zpět")});
        return;
    }
    // The due date may fall in the next year; the dates that number and tax the invoice may not.
    const std::pair<QString, QDateEdit*> dates[] = {{QStringLiteral("Datum DPH"), DateEdit1},
                                                     {QStringLiteral("Datum vystavení"), DateEdit2}};
    for (const auto& [field, date] : dates) {
        if (const QString refusal = common::laterYearRefusal(field, date->date()); !refusal.isEmpty()) {
            messages_.show(refusal, common::MessageIcon::Stop, {QStringLiteral("Zpět")});
            date->setFocus();
            return;
        }
    }
    if (!periodOpen(DateEdit1->date(), uzavreneuo_)) {
        messages_.show(QStringLiteral("Datum DPH je v již uzavřeném ÚO!"), common::MessageIcon::Stop,
                       {QStringLiteral("Zpět")});
        return;
    }
    InvoiceRequest request;
    request.workstation = context_.workstation();
    request.documentText = EditCisloDL->text();
    request.document = DocumentHeader::fromRow(header_, 0);
    request.plneni = DateEdit1->date();
    request.vystaveni = DateEdit2->date();
    request.splatnost = DateEdit3->date();
    request.uhrada = suiComboBox1->currentText();
    request.ownIco = context_.ownIco;
    request.existingNumber = invoiceNumber_;
    request.settingsPath = settingsPath_;
    qint64 number = 0;
    try {
        number = generateInvoice(context_.connection, request);
    } catch (const InvoiceRefused& refused) {
        messages_.show(refused.text(), common::MessageIcon::Stop, {QStringLiteral("Zpět")});
        return;
    } catch (const db::NotStored& notStored) {
        messages_.show(notStored.message(), common::MessageIcon::Stop, {QStringLiteral("Zpět")});
        return;
    }
    messages_.show(QStringLiteral("Vytvořena faktura ") + QString::number(number), common::MessageIcon::Information);
    accept();
}

} // namespace dorvik::invoicing
