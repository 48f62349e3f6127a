#include "pickers/tfnabzbozi.h"

#include "common/displayformat.h"
#include "common/errordisplay.h"
#include "common/gridview.h"
#include "common/progresswindow.h"
#include "pickers/tfhistorie.h"

#include <QCheckBox>
#include <QHBoxLayout>
#include <QPushButton>
#include <QVBoxLayout>

namespace dorvik::pickers {
namespace {

constexpr int PurchasePriceWidth = 65;

QList<common::GridColumn> goodsColumns() {
    return {
        {QStringLiteral("JKPOV"), QStringLiteral("JKP"), 100, {}},
        {QStringLiteral("NAZEV"), QStringLiteral("Název"), 280, {}},
        {QStringLiteral("MJ"), QStringLiteral("MJ"), 36, {}},
        {QStringLiteral("PCSD"), QStringLiteral("Prodejní cena"), 90, common::MoneyFormat},
        {QStringLiteral("PNC"), QStringLiteral("Nákup.cena"), PurchasePriceWidth, common::MoneyFormat},
        {QStringLiteral("STAV"), QStringLiteral("Stav"), 80, {}},
    };
}

} // namespace

TFnabzbozi::TFnabzbozi(db::Connection& connection, QWidget* parent)
    : Picker(connection, goodsColumns(), parent),
      suiCheckBox1(new QCheckBox(QStringLiteral("zobrazit NC"))),
      suiButton1(new QPushButton(QStringLiteral("Přepočítat\n stav"))),
      suiButton2(new QPushButton(QStringLiteral("Historie"))) {
    setObjectName(QStringLiteral("Fnabzbozi"));
    setWindowTitle(QStringLiteral("Zboží"));
    DBGrid1->setAccessibleName(QStringLiteral("Zboží"));
    DBGrid1->enableColumnSearch(SearchPosition);
    suiCheckBox1->setObjectName(QStringLiteral("suiCheckBox1"));
    suiButton1->setObjectName(QStringLiteral("suiButton1"));
    suiButton1->setAccessibleName(QStringLiteral("Přepočítat stav"));
    suiButton2->setObjectName(QStringLiteral("suiButton2"));
    for (QPushButton* b : {suiButton1, suiButton2}) b->setAutoDefault(false);

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(suiCheckBox1);
    buttons->addStretch();
    buttons->addWidget(suiButton1);
    buttons->addWidget(suiButton2);
    buttons->addSpacing(24);
    buttons->addWidget(Button1);
    buttons->addWidget(Button2);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(DBGrid1, 1);
    layout->addLayout(buttons);
    resize(720, 560);

    addHotKey(QKeySequence(Qt::Key_Return), [this] { Button1Click(); });
    addHotKey(QKeySequence(Qt::Key_Enter), [this] { Button1Click(); });
    addHotKey(QKeySequence(Qt::Key_Escape), [this] { Button2Click(); });
    addHotKey(QKeySequence(Qt::Key_F3), [this] { F3Press(); });

    connect(suiButton1, &QPushButton::clicked, this, common::guard(this, &TFnabzbozi::suiButton1Click));
    connect(suiButton2, &QPushButton::clicked, this, common::guard(this, &TFnabzbozi::suiButton2Click));
    connect(suiCheckBox1, &QCheckBox::clicked, this, common::guard(this, &TFnabzbozi::suiCheckBox1Click));
    suiCheckBox1Click();
}

void TFnabzbozi::setQuery(const QString& sql) {
    query_ = sql;
    closeList();
}

void TFnabzbozi::closeList() {
    model_->setResult(db::ResultSet());
    loaded_ = false;
}

void TFnabzbozi::FormShow() {
    move(0, 100);
    suiCheckBox1Click();
    if (!loaded_) load();
    DBGrid1->setFocus();
    if (recalculateStock_) suiButton1Click();
}

void TFnabzbozi::load() {
    common::BusyCursor busy;
    // A failing query leaves the last content in place.
    model_->setResult(connection_.query(query_));
    loaded_ = true;
}

void TFnabzbozi::suiButton1Click() {
    common::BusyCursor busy;
    connection_.execute(QStringLiteral("call seznam_stav()"));
    if (!loaded_) return;
    // Re-read and come back to the same item; the row's position may have moved.
    const bool hasId = model_->result().columnIndex(QStringLiteral("id")) >= 0;
    const QString key = hasId ? QStringLiteral("id") : QStringLiteral("JKPOV");
    const QString current = text(key);
    const int position = model_->currentRow();
    load();
    if (position >= 0 && model_->locate(key, current) < 0)
        model_->setCurrentRow(std::min(position, model_->rowCount() - 1));
}

void TFnabzbozi::suiButton2Click() {
    if (!hasRow()) return;
    TFhistorie history(connection_, workstation_, text(QStringLiteral("JKPOV")), text(QStringLiteral("NAZEV")),
                       text(QStringLiteral("STREDISKO")), this);
    history.exec();
}

void TFnabzbozi::suiCheckBox1Click() {
    const int column = model_->columnOf(QStringLiteral("PNC"));
    DBGrid1->setColumnHidden(column, !suiCheckBox1->isChecked());
    if (suiCheckBox1->isChecked()) DBGrid1->setColumnWidth(column, PurchasePriceWidth);
}

void TFnabzbozi::F3Press() { searchColumn(QStringLiteral("NAZEV"), SearchPosition); }

} // namespace dorvik::pickers
