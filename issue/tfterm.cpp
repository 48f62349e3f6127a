#include "issue/tfterm.h"

#include "common/errordisplay.h"
#include "common/gridmodel.h"
#include "common/gridview.h"
#include "db/connection.h"
#include "issue/issuesql.h"

#include <QHBoxLayout>
#include <QPushButton>
#include <QVBoxLayout>

namespace dorvik::issue {

TFterm::TFterm(db::Connection& connection, QString costCentre, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint), connection_(connection),
      costCentre_(std::move(costCentre)) {
    setObjectName(QStringLiteral("Fterm"));
    setWindowTitle(QStringLiteral("Seznam pro vytvoření dodacího listu"));

    listsModel_ = new common::GridModel(this);
    listsModel_->setColumns({{QStringLiteral("datum"), QStringLiteral("datum"), 80, {}},
                             {QStringLiteral("cas"), QStringLiteral("čas"), 50, {}},
                             {QStringLiteral("odberatel"), QStringLiteral("odběratel"), 100, {}},
                             {QStringLiteral("suma"), QStringLiteral("bez DPH"), 100, common::MoneyFormat},
                             {QStringLiteral("sumasd"), QStringLiteral("celkem"), 100, common::MoneyFormat}});
    linesModel_ = new common::GridModel(this);
    linesModel_->setColumns({{QStringLiteral("CAS"), QStringLiteral("čas"), 50, {}},
                             {QStringLiteral("JKPOV"), QStringLiteral("JKPOV"), 100, {}},
                             {QStringLiteral("NAZEV"), QStringLiteral("     název"), 220, {}},
                             {QStringLiteral("MNOZ"), QStringLiteral("množství"), 80, QStringLiteral("### ### ##0.####")},
                             {QStringLiteral("MJ"), QStringLiteral("MJ"), 40, {}},
                             {QStringLiteral("PC"), QStringLiteral("PC"), 80, common::MoneyFormat},
                             {QStringLiteral("DPH"), QStringLiteral("DPH"), 40, {}},
                             {QStringLiteral("PCSD"), QStringLiteral("PCSD"), 80, common::MoneyFormat}});
    suiDBGrid1 = new common::GridView(listsModel_, this);
    suiDBGrid1->setObjectName(QStringLiteral("suiDBGrid1"));
    suiDBGrid1->setAccessibleName(QStringLiteral("Seznamy"));
    suiDBGrid1->applyColumnWidths();
    suiDBGrid2 = new common::GridView(linesModel_, this);
    suiDBGrid2->setObjectName(QStringLiteral("suiDBGrid2"));
    suiDBGrid2->setAccessibleName(QStringLiteral("Řádky seznamu"));
    suiDBGrid2->applyColumnWidths();

    const auto button = [this](const char* name, const QString& caption) {
        auto* b = new QPushButton(caption, this);
        b->setObjectName(QLatin1String(name));
        b->setAutoDefault(false);
        return b;
    };
    suiButton1 = button("suiButton1", QStringLiteral("VYTVOŘIT"));
    suiButton2 = button("suiButton2", QStringLiteral("SMAZAT"));
    Button5 = button("Button5", QStringLiteral("ZPĚT"));

    auto* layout = new QVBoxLayout(this);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(suiButton1);
    buttons->addWidget(suiButton2);
    buttons->addStretch();
    buttons->addWidget(Button5);
    layout->addLayout(buttons);
    layout->addWidget(suiDBGrid1, 1);
    layout->addWidget(suiDBGrid2, 2);
    setFixedSize(760, 560);

    connect(suiButton1, &QPushButton::clicked, this, &QDialog::accept);
    connect(Button5, &QPushButton::clicked, this, &QDialog::reject);
    connect(suiButton2, &QPushButton::clicked, this, common::guard(this, &TFterm::suiButton2Click));
    connect(listsModel_, &common::GridModel::currentRowChanged, this, common::guard(this, &TFterm::suiDBGrid1Scroll));
}

void TFterm::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (shown_) return;
    shown_ = true;
    common::guarded([this] { FormShow(); });
}

void TFterm::FormShow() {
    connection_.execute(refreshTerminalSql());
    openLists();
}

void TFterm::openLists() {
    listsModel_->setResult(connection_.query(terminalListsSql(costCentre_)));
    suiDBGrid1Scroll();
}

QString TFterm::currentCustomer() const {
    const int row = listsModel_->currentRow();
    if (row < 0) return {};
    return listsModel_->result().text(listsModel_->sourceRow(row), QStringLiteral("odberatel"));
}

void TFterm::suiDBGrid1Scroll() {
    linesModel_->setResult(connection_.query(terminalLinesSql(costCentre_, currentCustomer())));
}

void TFterm::suiButton2Click() {
    if (!messages_.show(QStringLiteral("Opravdu smazat záznam?"), common::MessageIcon::Question,
                        {QStringLiteral("Smazat"), QStringLiteral("Ne")}))
        return;
    connection_.execute(deleteTerminalSql(costCentre_, currentCustomer()));
    openLists();
}

} // namespace dorvik::issue
