#include "app/costcentredialog.h"

#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace dorvik::app {

CostCentreDialog::CostCentreDialog(const QStringList& centres, const QString& current, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::WindowTitleHint | Qt::WindowCloseButtonHint), comboBox_(new QComboBox) {
    setObjectName(QStringLiteral("Fstredisko"));
    setWindowTitle(QStringLiteral("Vyber číslo střediska"));
    comboBox_->setObjectName(QStringLiteral("ComboBoxStredisko"));
    comboBox_->setEditable(true);
    comboBox_->setInsertPolicy(QComboBox::NoInsert);
    comboBox_->addItems(centres);
    comboBox_->setEditText(current);
    comboBox_->setAccessibleName(QStringLiteral("Středisko"));
    auto* ok = new QPushButton(QStringLiteral("OK"));
    ok->setObjectName(QStringLiteral("ButtonOK"));
    ok->setDefault(true);
    auto* layout = new QVBoxLayout(this);
    auto* label = new QLabel(QStringLiteral("&Středisko"));
    label->setBuddy(comboBox_);
    layout->addWidget(label);
    layout->addWidget(comboBox_);
    layout->addWidget(ok, 0, Qt::AlignRight);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
    resize(260, 110);
}

QString CostCentreDialog::centre() const {
    return comboBox_->currentText();
}

} // namespace dorvik::app
