#pragma once

#include "pickers/picker.h"

class QCheckBox;

namespace dorvik::pickers {

// "Zboží": the goods picker of the issue document editor. The list is read on the first
// showing after the query was set and stays loaded, with its current row, until the caller
// closes it; "zobrazit NC" keeps its state for the whole run.
//
//   goods.setQuery(goodsQuery(centre));   // when the editor loads its code lists
//   goods.setWorkstation(pc);
//   goods.setRecalculateStock(settings.prepocitatStav == "A");
//   if (goods.choose()) code = goods.text("JKPOV");
//   goods.closeList();                    // when the editor closes
class TFnabzbozi : public Picker {
    Q_OBJECT
public:
    explicit TFnabzbozi(db::Connection& connection, QWidget* parent = nullptr);

    // A new query closes the list; the next showing reads it.
    void setQuery(const QString& sql);
    const QString& query() const { return query_; }
    void closeList();
    bool isLoaded() const { return loaded_; }
    // Handed on to the item history.
    void setWorkstation(const QString& workstation) { workstation_ = workstation; }
    // Recalculate the stock at every opening before the user chooses.
    void setRecalculateStock(bool on) { recalculateStock_ = on; }

    void suiButton1Click();  // Přepočítat stav
    void suiButton2Click();  // Historie
    void suiCheckBox1Click(); // zobrazit NC
    void F3Press();

protected:
    void FormShow() override;

private:
    void load();

    QString query_;
    QString workstation_;
    bool loaded_ = false;
    bool recalculateStock_ = false;
    QCheckBox* suiCheckBox1;
    QPushButton* suiButton1;
    QPushButton* suiButton2;
};

} // namespace dorvik::pickers
