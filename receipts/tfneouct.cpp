#include "receipts/tfneouct.h"

#include "common/tracefile.h"
#include "receipts/receiptsql.h"

#include <QCheckBox>
#include <QDateEdit>
#include <QLineEdit>

namespace dorvik::receipts {

TFneouct::TFneouct(const common::RegisterContext& context, QWidget* parent)
    : ReportWindow(context,
                   {.objectName = QStringLiteral("Fneouct"),
                    .caption = QStringLiteral("Neodepsané položky účtenek"),
                    .dateLabels = {QStringLiteral("Datum &do")},
                    .stateSection = {},
                    .runCaption = QStringLiteral("&Tisk"),
                    .closingDrops = {}},
                   parent) {
    // A list of cost centres: "11,12".
    suiEdit2->setMaxLength(100);
    suiEdit2->setToolTip(QStringLiteral("Kódy středisek oddělené čárkami; prázdné = všechna střediska"));
    suiCheckBox1 = new QCheckBox(QStringLiteral("&pouze součty"));
    suiCheckBox1->setObjectName(QStringLiteral("suiCheckBox1"));
    addControl(suiCheckBox1);
    resize(420, 170);
}

void TFneouct::Button1Click() {
    const std::optional<QString> list = costCentreList(suiEdit2->text());
    if (!list) {
        message_.show(QStringLiteral("Středisko: zadejte kódy středisek oddělené čárkami, například 11,12."),
                      common::MessageIcon::Stop);
        return;
    }
    run([&] {
        const QString sql = unwrittenSelect(dateField(0)->date(), *list);
        common::writeTrace(QStringLiteral("a.txt"), sql);
        openResult(sql);
        handOff(suiCheckBox1->isChecked() ? QStringLiteral("neouct2.fr3") : QStringLiteral("neouct1.fr3"),
                {{QStringLiteral("dodata"), dateField(0)->text()}});
        endRun();
    });
}

} // namespace dorvik::receipts
