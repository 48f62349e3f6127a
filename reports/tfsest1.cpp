#include "reports/tfsest1.h"

#include "common/errordisplay.h"

#include <QAbstractButton>
#include <QButtonGroup>
#include <QDateEdit>
#include <QGroupBox>
#include <QLineEdit>

namespace dorvik::reports {

TFsest1::TFsest1(const common::RegisterContext& context, QWidget* parent)
    : ReportWindow(context,
                   {.objectName = QStringLiteral("Fsest1"),
                    .caption = QStringLiteral("Sestavy sklad"),
                    .dateLabels = {QStringLiteral("Datum &od"), QStringLiteral("Datum &do")},
                    .stateSection = QStringLiteral("TFsest1"),
                    .closingDrops = {QStringLiteral("sest1"), QStringLiteral("sest2"), QStringLiteral("sest3"), QStringLiteral("sest4")}},
                   parent) {
    suiEdit1 = new QLineEdit;
    suiEdit1->setObjectName(QStringLiteral("suiEdit1"));
    suiEdit1->setMaxLength(10);
    addField(QStringLiteral("S&kupina"), suiEdit1);
    suiEdit3 = new QLineEdit;
    suiEdit3->setObjectName(QStringLiteral("suiEdit3"));
    suiEdit3->setMaxLength(20);
    addField(QStringLiteral("&JKP"), suiEdit3);

    RadioGroupTyp = addRadioGroup("RadioGroupTyp", QStringLiteral("Typ sestavy "),
                               {QStringLiteral("Obrat skladu"), QStringLiteral("Inventura"), QStringLiteral("Seznam karet"), QStringLiteral("Kontrola")}, kind_);
    RadioGroup2 = addRadioGroup("RadioGroup2", QStringLiteral(" Součet "), {QStringLiteral("Bez součtu"), QStringLiteral("Skupiny")}, grouping_);
    suiRadioGroupTridit = addRadioGroup("suiRadioGroupTridit", QStringLiteral(" Třídit "), {QStringLiteral("JKP"), QStringLiteral("Abecedně")}, sort_);
    connect(kind_, &QButtonGroup::idClicked, this, common::guard(this, &TFsest1::RadioGroupTypClick));
}

void TFsest1::RadioGroupTypClick() {
    // The card list has no group sums.
    const bool cardList = kind_->checkedId() == int(WarehouseKind::CardList);
    if (cardList) grouping_->button(0)->setChecked(true);
    RadioGroup2->setEnabled(!cardList);
}

WarehouseRequest TFsest1::request() const {
    return {.workstation = context_.workstation(),
            .kind = WarehouseKind(kind_->checkedId()),
            .from = dateField(0)->date(),
            .to = dateField(1)->date(),
            .centre = suiEdit2->text(),
            .group = suiEdit1->text(),
            .codeFragment = suiEdit3->text(),
            .grouped = grouping_->checkedId() == 1,
            .alphabetical = sort_->checkedId() == 1};
}

void TFsest1::Button1Click() {
    run([this] {
        const WarehouseRequest r = request();
        // The control report's result stays open until the next run.
        endRun();
        showProgress(5);
        runSteps(warehouseSteps(r));
        openResult(warehouseFinalSelect(r));
        handOff(warehouseTemplate(r), periodVariables());
        if (r.kind != WarehouseKind::Control) endRun();
    });
}

} // namespace dorvik::reports
