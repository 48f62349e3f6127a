#include "pickers/tfnabzakaz.h"

#include "common/errordisplay.h"
#include "common/gridview.h"
#include "common/progresswindow.h"
#include "common/tracefile.h"
#include "pickers/pickerqueries.h"

#include <QCheckBox>
#include <QHBoxLayout>
#include <QPushButton>
#include <QVBoxLayout>

namespace dorvik::pickers {
namespace {

QList<common::GridColumn> orderColumns() {
    return {
        {QStringLiteral("ZAKAZKA"), QStringLiteral("ZAKAZKA"), 100, {}},
        {QStringLiteral("POPIS"), QStringLiteral("POPIS"), 220, {}},
        {QStringLiteral("ICO"), QStringLiteral("ICO"), 80, {}},
        {QStringLiteral("NAZEVPODNI"), QStringLiteral("  Název"), 200, {}},
        {QStringLiteral("DATUMOD"), QStringLiteral("Platí od"), 140, {}},
        {QStringLiteral("DATUMDO"), QStringLiteral("Platí do"), 140, {}},
    };
}

} // namespace

TFnabzakaz::TFnabzakaz(db::Connection& connection, QWidget* parent)
    : Picker(connection, orderColumns(), parent),
      CheckBox1(new QCheckBox(QStringLiteral("pouze otevřené"))),
      CheckBox2(new QCheckBox) {
    setObjectName(QStringLiteral("Fnabzakaz"));
    setWindowTitle(QStringLiteral("Zakázky"));
    DBGrid1->setAccessibleName(QStringLiteral("Zakázky"));
    DBGrid1->enableColumnSearch();
    CheckBox1->setObjectName(QStringLiteral("CheckBox1"));
    CheckBox2->setObjectName(QStringLiteral("CheckBox2"));

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(CheckBox1);
    buttons->addWidget(CheckBox2);
    buttons->addStretch();
    buttons->addWidget(Button1);
    buttons->addWidget(Button2);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(DBGrid1, 1);
    layout->addLayout(buttons);
    resize(920, 440);

    connect(CheckBox1, &QCheckBox::clicked, this, common::guard(this, &TFnabzakaz::CheckBox1Click));
    connect(CheckBox2, &QCheckBox::clicked, this, common::guard(this, &TFnabzakaz::CheckBox2Click));
}

void TFnabzakaz::setCustomer(const QString& ico, const QString& caption) {
    ico_ = ico;
    CheckBox2->setText(caption);
}

void TFnabzakaz::FormShow() {
    CheckBox1->setChecked(true);
    CheckBox2->setChecked(true);
    UdelejSQL();
}

void TFnabzakaz::UdelejSQL() {
    const QString sql = orderQuery(CheckBox1->isChecked(), CheckBox2->isChecked(), ico_);
    common::writeTrace(QStringLiteral("a.txt"), sql);
    common::BusyCursor busy;
    // A failing query leaves the list empty.
    model_->setResult(db::ResultSet());
    model_->setResult(connection_.query(sql));
}

} // namespace dorvik::pickers
