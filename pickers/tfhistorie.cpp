#include "pickers/tfhistorie.h"

#include "common/dateedit.h"
#include "common/displayformat.h"
#include "common/errordisplay.h"
#include "common/gridview.h"
#include "common/progresswindow.h"
#include "common/routines.h"
#include "common/tracefile.h"
#include "reporting/reportrunner.h"

#include <QCheckBox>
#include <QDateEdit>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QShowEvent>
#include <QSignalBlocker>
#include <QVBoxLayout>

namespace dorvik::pickers {
namespace {

QList<common::GridColumn> historyColumns() {
    return {
        {QStringLiteral("CISLODOKLA"), QStringLiteral("Číslo dokladu"), 100, {}},
        {QStringLiteral("TYP"), QStringLiteral("TYP"), 36, {}},
        {QStringLiteral("DATUM"), QStringLiteral("Datum"), 80, {}},
        {QStringLiteral("MNOZ"), QStringLiteral("Množství"), 80, {}},
        {QStringLiteral("NC"), QStringLiteral("NC"), 80, common::MoneyFormat},
        {QStringLiteral("NAZEVPODNI"), QStringLiteral("      Podnik"), 240, {}},
    };
}

QLabel* total(const char* name, const QString& accessible) {
    auto* label = new QLabel(QStringLiteral("0"));
    label->setObjectName(QLatin1String(name));
    label->setAccessibleName(accessible);
    label->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    label->setMinimumWidth(70);
    return label;
}

} // namespace

TFhistorie::TFhistorie(db::Connection& connection, QString workstation, QString item, QString itemName,
                       QString costCentre, QWidget* parent)
    : QDialog(parent),
      connection_(connection),
      workstation_(std::move(workstation)),
      item_(std::move(item)),
      itemName_(std::move(itemName)),
      costCentre_(std::move(costCentre)),
      model_(new common::GridModel(this)) {
    setObjectName(QStringLiteral("Fhistorie"));
    setWindowTitle(QStringLiteral("Historie zboží"));
    model_->setColumns(historyColumns());
    DBGrid1 = new common::GridView(model_);
    DBGrid1->setObjectName(QStringLiteral("DBGrid1"));
    DBGrid1->setAccessibleName(QStringLiteral("Pohyby"));
    DBGrid1->applyColumnWidths();
    DBGrid1->enableColumnSearch();

    Label1 = new QLabel(item_);
    Label1->setObjectName(QStringLiteral("Label1"));
    Label2 = new QLabel(itemName_);
    Label2->setObjectName(QStringLiteral("Label2"));
    QFont title = Label1->font();
    title.setBold(true);
    title.setPointSizeF(title.pointSizeF() * 1.2);
    Label1->setFont(title);
    Label2->setFont(title);

    auto* suiCheckGroup1 = new QGroupBox(QStringLiteral("Doklady"));
    suiCheckGroup1->setObjectName(QStringLiteral("suiCheckGroup1"));
    checkReceipts_ = new QCheckBox(QStringLiteral("příjem"));
    checkReceipts_->setObjectName(QStringLiteral("CheckBoxP"));
    checkIssues_ = new QCheckBox(QStringLiteral("výdej, fakturace"));
    checkIssues_->setObjectName(QStringLiteral("CheckBoxV"));
    checkSales_ = new QCheckBox(QStringLiteral("účtenky"));
    checkSales_->setObjectName(QStringLiteral("CheckBoxU"));
    Label3 = total("Label3", QStringLiteral("Celkem příjem"));
    Label4 = total("Label4", QStringLiteral("Celkem výdej, fakturace"));
    Label5 = total("Label5", QStringLiteral("Celkem účtenky"));
    auto* types = new QGridLayout(suiCheckGroup1);
    types->addWidget(checkReceipts_, 0, 0);
    types->addWidget(Label3, 0, 1);
    types->addWidget(checkIssues_, 1, 0);
    types->addWidget(Label4, 1, 1);
    types->addWidget(checkSales_, 2, 0);
    types->addWidget(Label5, 2, 1);

    suiCheckBox1 = new QCheckBox(QStringLiteral("od data"));
    suiCheckBox1->setObjectName(QStringLiteral("suiCheckBox1"));
    DateEdit1 = new common::DateEdit(QStringLiteral("DateEdit1"));
    DateEdit1->setAccessibleName(QStringLiteral("od data"));
    suiButton1 = new QPushButton(QStringLiteral("Tisk"));
    suiButton1->setObjectName(QStringLiteral("suiButton1"));
    Button2 = new QPushButton(QStringLiteral("Zpět"));
    Button2->setObjectName(QStringLiteral("Button2"));

    auto* dates = new QHBoxLayout;
    dates->addWidget(suiCheckBox1);
    dates->addWidget(DateEdit1);
    dates->addStretch();
    auto* side = new QVBoxLayout;
    side->addWidget(suiCheckGroup1);
    side->addLayout(dates);
    side->addStretch();
    side->addWidget(suiButton1);
    side->addWidget(Button2);
    auto* titles = new QVBoxLayout;
    titles->addWidget(Label1);
    titles->addWidget(Label2);
    titles->addWidget(DBGrid1, 1);
    auto* layout = new QHBoxLayout(this);
    layout->addLayout(titles, 1);
    layout->addLayout(side);
    setFixedSize(960, 520);

    for (QCheckBox* box : {checkReceipts_, checkIssues_, checkSales_, suiCheckBox1})
        connect(box, &QCheckBox::clicked, this, common::guard(this, &TFhistorie::UdelejSQL));
    connect(DateEdit1, &QDateEdit::dateChanged, this, common::guard(this, &TFhistorie::UdelejSQL));
    connect(suiButton1, &QPushButton::clicked, this, common::guard(this, &TFhistorie::suiButton1Click));
    connect(Button2, &QPushButton::clicked, this, common::guard(this, &TFhistorie::Button2Click));
}

void TFhistorie::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (opened_ || event->spontaneous()) return;
    opened_ = true;
    common::guarded([this] { FormShow(); });
}

void TFhistorie::FormShow() {
    common::BusyCursor busy;
    for (const QString& statement : historyFillStatements(workstation_, item_, costCentre_)) connection_.execute(statement);

    const db::ResultSet totals = connection_.query(historyTotalsQuery(workstation_));
    for (int r = 0; r < totals.rowCount(); ++r) {
        const QString type = totals.text(r, QStringLiteral("typ"));
        QLabel* label = type == u'P' ? Label3 : type == u'V' ? Label4 : type == u'U' ? Label5 : nullptr;
        if (label) label->setText(common::generalDecimal(totals.number(r, QStringLiteral("summa"))));
    }

    for (QCheckBox* box : {checkReceipts_, checkIssues_, checkSales_}) box->setChecked(true);
    suiCheckBox1->setChecked(false);
    {
        const QSignalBlocker quiet(DateEdit1);
        DateEdit1->setDate(QDate::currentDate().addDays(-30));
    }
    UdelejSQL();
}

HistoryFilter TFhistorie::filter() const {
    HistoryFilter f;
    f.receipts = checkReceipts_->isChecked();
    f.issues = checkIssues_->isChecked();
    f.sales = checkSales_->isChecked();
    if (suiCheckBox1->isChecked()) f.from = DateEdit1->date();
    return f;
}

void TFhistorie::UdelejSQL() {
    if (!opened_) return;
    const QString sql = historyListQuery(workstation_, filter());
    common::writeTrace(QStringLiteral("a.txt"), sql);
    model_->setResult(db::ResultSet());
    model_->setResult(connection_.query(sql));
}

void TFhistorie::suiButton1Click() {
    reporting::ReportRunner report(this);
    report.loadTemplate(QStringLiteral("fr3/his1.fr3"));
    report.setDataset(model_->result());
    report.setVariable(QStringLiteral("tex1"), item_);
    report.setVariable(QStringLiteral("tex2"), itemName_);
    report.show();
}

void TFhistorie::Button2Click() { close(); }

void TFhistorie::done(int result) {
    common::guarded([this] { connection_.execute(QStringLiteral("DROP TABLE IF EXISTS ") + historyTable(workstation_)); });
    QDialog::done(result);
}

} // namespace dorvik::pickers
