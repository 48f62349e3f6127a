#pragma once

#include "pickers/picker.h"

class QCheckBox;

namespace dorvik::pickers {

// "Zakázky": the order picker of the editor's "Zakázka" field. Every showing ticks both
// check boxes and reads the list again; each click on a box rebuilds it.
//
//   orders.setCustomer(ico, customerCaption(ico, name));
//   if (orders.choose()) order = orders.text("zakazka");
class TFnabzakaz : public Picker {
    Q_OBJECT
public:
    explicit TFnabzakaz(db::Connection& connection, QWidget* parent = nullptr);

    // The IČO the second check box filters on, and that box's caption.
    void setCustomer(const QString& ico, const QString& caption);
    const QString& customerIco() const { return ico_; }

    void CheckBox1Click() { UdelejSQL(); }
    void CheckBox2Click() { UdelejSQL(); }
    // Builds the query from the check boxes, leaves it in a.txt and opens it.
    void UdelejSQL();

protected:
    void FormShow() override;

private:
    QString ico_;
    QCheckBox* CheckBox1;
    QCheckBox* CheckBox2;
};

} // namespace dorvik::pickers
