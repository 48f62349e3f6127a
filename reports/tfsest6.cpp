#include "reports/tfsest6.h"

#include "common/errordisplay.h"

#include <QButtonGroup>
#include <QDateEdit>
#include <QGroupBox>
#include <QLineEdit>

namespace dorvik::reports {

TFsest6::TFsest6(const common::RegisterContext& context, QWidget* parent)
    : ReportWindow(context,
                   {.objectName = QStringLiteral("Fsest6"),
                    .caption = QStringLiteral("Sestavy zakázky"),
                    .dateLabels = {QStringLiteral("Datum &od"), QStringLiteral("Datum &do")},
                    .stateSection = QStringLiteral("TFsest6"),
                    .closingDrops = {},
                    .progressBar = false},
                   parent) {
    suiEdit1 = new QLineEdit;
    suiEdit1->setObjectName(QStringLiteral("suiEdit1"));
    suiEdit1->setMaxLength(15);
    addField(QStringLiteral("&Zakázka"), suiEdit1);

    RadioGroupTyp = addRadioGroup("RadioGroupTyp", QStringLiteral("Typ sestavy "),
                                  {QStringLiteral("Seznam zakázek"), QStringLiteral("Seznam dokladů"), QStringLiteral("Rozpis dokladů"),
                                   QStringLiteral("Seznam JKP")},
                                  report_);
    RadioGroupJake = addRadioGroup("RadioGroupJake", QStringLiteral(" Doklady "), documentKindItems(), documents_);
    RadioGroup2 = addRadioGroup("RadioGroup2", QStringLiteral(" Součet "), {QStringLiteral("Bez součtu"), QStringLiteral("Součet za JKP")}, summing_);
    RadioGroup2->setEnabled(false);
    connect(report_, &QButtonGroup::idClicked, this, common::guard(this, &TFsest6::RadioGroupTypClick));
}

void TFsest6::RadioGroupTypClick() {
    RadioGroup2->setEnabled(report_->checkedId() != int(OrderReport::Orders));
}

OrderRequest TFsest6::request() const {
    return {.filter = {.from = dateField(0)->date(),
                       .to = dateField(1)->date(),
                       .centre = suiEdit2->text(),
                       .kind = DocumentKind(documents_->checkedId())},
            .order = suiEdit1->text(),
            .report = OrderReport(report_->checkedId()),
            .perItem = summing_->checkedId() == 1};
}

void TFsest6::Button1Click() {
    run([this] {
        const OrderRequest r = request();
        openResult(orderSelect(r));
        handOff(orderTemplate(r), periodVariables() + costCentreVariable());
        endRun();
    });
}

} // namespace dorvik::reports
