#include "receipts/tftrzby1.h"

#include "common/tracefile.h"

#include <QButtonGroup>
#include <QDateEdit>
#include <QGroupBox>
#include <QLineEdit>
#include <QLocale>

namespace dorvik::receipts {

TFtrzby1::TFtrzby1(const common::RegisterContext& context, QWidget* parent)
    : ReportWindow(context,
                   {.objectName = QStringLiteral("Ftrzby1"),
                    .caption = QStringLiteral("Tržby za období"),
                    .dateLabels = {QStringLiteral("&Od data"), QStringLiteral("&Do data")},
                    .stateSection = {},
                    .runCaption = QStringLiteral("&Tisk"),
                    .closingDrops = revenueScratchSuffixes()},
                   parent) {
    suiEdit3 = new QLineEdit;
    suiEdit3->setObjectName(QStringLiteral("suiEdit3"));
    suiEdit3->setMaxLength(20);
    addField(QStringLiteral("&JKP"), suiEdit3);

    RadioGroup1 = addRadioGroup("RadioGroup1", QStringLiteral("Součet"),
                                {QStringLiteral("typu platby"), QStringLiteral("dny, typ platby"), QStringLiteral("doklady"),
                                 QStringLiteral("doklady, položky"), QStringLiteral("položky, doklady "), QStringLiteral("skupiny"),
                                 QStringLiteral("zisk"), QStringLiteral("rekapitulace DPH"), QStringLiteral("slevy, karty")},
                                kind_);
    resize(480, 380);
}

RevenueRequest TFtrzby1::request() const {
    return {.workstation = context_.workstation(),
            .kind = RevenueKind(kind_->checkedId()),
            .from = dateField(0)->date(),
            .to = dateField(1)->date(),
            .centre = suiEdit2->text(),
            .code = suiEdit3->text()};
}

void TFtrzby1::Button1Click() {
    run([this] {
        const RevenueRequest r = request();
        endRun();
        showProgress(5);
        runSteps(revenueSteps(r));
        const QString select = revenueFinalSelect(r);
        common::writeTrace(QStringLiteral("a.txt"), select);
        openResult(select);
        Variables period = periodVariables();
        // The receipt list with lines takes the system's date format, the others the fields' texts.
        if (r.kind == RevenueKind::ReceiptsLines)
            period = {{QStringLiteral("oddata"), QLocale::system().toString(r.from, QLocale::ShortFormat)},
                      {QStringLiteral("dodata"), QLocale::system().toString(r.to, QLocale::ShortFormat)}};
        handOff(revenueTemplate(r.kind), period);
        endRun();
    });
}

} // namespace dorvik::receipts
