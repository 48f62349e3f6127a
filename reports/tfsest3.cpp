#include "reports/tfsest3.h"

#include "common/errordisplay.h"

#include <QButtonGroup>
#include <QDateEdit>
#include <QGroupBox>
#include <QLineEdit>

namespace dorvik::reports {

TFsest3::TFsest3(const common::RegisterContext& context, QWidget* parent)
    : ReportWindow(context,
                   {.objectName = QStringLiteral("Fsest3"),
                    .caption = QStringLiteral("Sestavy výdej"),
                    .dateLabels = {QStringLiteral("Datum &od"), QStringLiteral("Datum &do")},
                    .stateSection = QStringLiteral("TFsest3"),
                    .closingDrops = {},
                    .progressBar = false},
                   parent) {
    RadioGroupTyp = addRadioGroup("RadioGroupTyp", QStringLiteral("Typ sestavy "),
                                  {QStringLiteral("Seznam dokladů"), QStringLiteral("Rozpis dokladů"), QStringLiteral("Seznam JKP")}, report_);
    RadioGroupJake = addRadioGroup("RadioGroupJake", QStringLiteral(" Doklady "), documentKindItems(), documents_);
    RadioGroup2 = addRadioGroup("RadioGroup2", QStringLiteral(" Součet "), {QStringLiteral("Bez součtu"), QStringLiteral("Součet za JKP")}, summing_);
    RadioGroup2->setEnabled(false);
    connect(report_, &QButtonGroup::idClicked, this, common::guard(this, &TFsest3::RadioGroupTypClick));
}

void TFsest3::RadioGroupTypClick() {
    // The document list has nothing to sum per item; the other two keep the choice.
    RadioGroup2->setEnabled(report_->checkedId() != int(IssueReport::Documents));
}

IssueRequest TFsest3::request() const {
    return {.filter = {.from = dateField(0)->date(),
                       .to = dateField(1)->date(),
                       .centre = suiEdit2->text(),
                       .kind = DocumentKind(documents_->checkedId())},
            .report = IssueReport(report_->checkedId()),
            .perItem = summing_->checkedId() == 1};
}

void TFsest3::Button1Click() {
    run([this] {
        const IssueRequest r = request();
        openResult(issueSelect(r));
        handOff(issueTemplate(r), periodVariables() + costCentreVariable());
        endRun();
    });
}

} // namespace dorvik::reports
