#pragma once

#include <QDialog>

class QComboBox;

namespace dorvik::app {

// "Vyber číslo střediska": the cost centres to choose from, or any code typed in.
// Whichever way it closes, its text is the new cost centre.
class CostCentreDialog : public QDialog {
    Q_OBJECT
public:
    CostCentreDialog(const QStringList& centres, const QString& current, QWidget* parent = nullptr);
    QString centre() const;

private:
    QComboBox* comboBox_;
};

} // namespace dorvik::app
