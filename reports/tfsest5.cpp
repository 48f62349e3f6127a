#include "reports/tfsest5.h"

#include "common/errordisplay.h"
#include "db/connection.h"
#include "db/scriptrunner.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLineEdit>
#include <QPushButton>

namespace dorvik::reports {

TFsest5::TFsest5(const common::RegisterContext& context, QWidget* parent)
    : ReportWindow(context,
                   {.objectName = QStringLiteral("Fsest5"),
                    .caption = QStringLiteral("Sestava inventura - terminál"),
                    .dateLabels = {},
                    .stateSection = {}, // nothing is remembered
                    .closingDrops = {QStringLiteral("sest1"), QStringLiteral("sest2"), QStringLiteral("sest3"), QStringLiteral("sest4")}},
                   parent) {
    suiEdit1 = new QLineEdit;
    suiEdit1->setObjectName(QStringLiteral("suiEdit1"));
    suiEdit1->setMaxLength(10);
    addField(QStringLiteral("S&kupina"), suiEdit1);

    suiRadioGroupTridit = addRadioGroup("suiRadioGroupTridit", QStringLiteral(" Třídit "),
                                        {QStringLiteral("JKP"), QStringLiteral("Abecedně"), QStringLiteral("Skupina, JKP"), QStringLiteral("Skupina, abecedně")},
                                        sort_);

    suiCheckBox1 = new QCheckBox(QStringLiteral("inventura z &archivu"));
    suiCheckBox1->setObjectName(QStringLiteral("suiCheckBox1"));
    addControl(suiCheckBox1);
    suiDBLookupComboBox1 = new QComboBox;
    suiDBLookupComboBox1->setObjectName(QStringLiteral("suiDBLookupComboBox1"));
    suiDBLookupComboBox1->setAccessibleName(QStringLiteral("Inventura z archivu"));
    suiDBLookupComboBox1->setEnabled(false);
    addControl(suiDBLookupComboBox1);

    suiButton1 = new QPushButton(QStringLiteral("Archiv\ninventury"));
    suiButton1->setObjectName(QStringLiteral("suiButton1"));
    suiButton1->setEnabled(false);
    addButton(suiButton1);

    connect(suiCheckBox1, &QCheckBox::clicked, this, common::guard(this, &TFsest5::suiCheckBox1Click));
    connect(suiButton1, &QPushButton::clicked, this, [this] {
        if (!running()) common::guarded([this] { suiButton1Click(); });
    });
}

InventoryRequest TFsest5::request() const {
    return {.workstation = context_.workstation(),
            .centre = suiEdit2->text(),
            .group = suiEdit1->text(),
            .sort = InventorySort(sort_->checkedId())};
}

ArchiveStamp TFsest5::chosenStamp() const {
    const int row = suiDBLookupComboBox1->currentIndex();
    if (row < 0) return {};
    return {suiDBLookupComboBox1->itemData(row, Qt::UserRole).toString(), suiDBLookupComboBox1->itemData(row, Qt::UserRole + 1).toString()};
}

void TFsest5::Button1Click() {
    run([this] {
        const InventoryRequest r = request();
        // The tables the button would archive are rebuilt now; only a finished evaluation enables it again.
        suiButton1->setEnabled(false);
        showProgress(5);
        if (suiCheckBox1->isChecked()) {
            runSteps(inventoryArchiveSteps(r, chosenStamp()));
        } else {
            runSteps(inventoryEvaluationSteps(r));
            suiButton1->setEnabled(true);
        }
        openResult(inventoryFinalSelect(r));
        handOff(inventoryTemplate(r.sort), {});
        endRun();
    });
}

void TFsest5::suiButton1Click() {
    db::runScript(connection(), inventoryArchiving(context_.workstation()));
    suiButton1->setEnabled(false);
}

void TFsest5::suiCheckBox1Click() {
    suiDBLookupComboBox1->clear();
    suiButton1->setEnabled(false);
    if (!suiCheckBox1->isChecked()) {
        suiDBLookupComboBox1->setEnabled(false);
        return;
    }
    connection().execute(inventoryTimeNames());
    const db::ResultSet list = connection().query(inventoryArchiveList(suiEdit2->text()));
    for (int row = 0; row < list.rowCount(); ++row) {
        suiDBLookupComboBox1->addItem(list.text(row, QStringLiteral("DCCZ")), list.text(row, QStringLiteral("DATUM")));
        suiDBLookupComboBox1->setItemData(row, list.text(row, QStringLiteral("CAS")), Qt::UserRole + 1);
    }
    suiDBLookupComboBox1->setEnabled(true);
}

} // namespace dorvik::reports
