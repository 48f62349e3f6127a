#pragma once

#include "common/gridmodel.h"
#include "db/connection.h"

#include <QDialog>
#include <QKeySequence>
#include <QList>
#include <QPoint>
#include <functional>
#include <optional>

class QPushButton;
class QShortcut;

namespace dorvik::common {
class GridView;
}

namespace dorvik::pickers {

// Where the goods and address pickers open "Hledat".
inline constexpr QPoint SearchPosition{600, 200};

// What the three shared pickers have in common: a read-only list, "Převzít" (Button1, also
// a double-click) and "Zpět" (Button2), hot keys that work only while the picker is shown,
// and the taken / not taken result. The caller sets the inputs, calls choose() and then
// reads the chosen row:
//
//   picker.setQuery(goodsQuery(centre));
//   if (picker.choose()) code = picker.text("JKPOV");
class Picker : public QDialog {
    Q_OBJECT
public:
    // Shows the picker modally; true when the user took a row.
    bool choose();
    bool taken() const { return taken_; }

    // The chosen row is the list's current row; both read empty / 0 while the list is empty.
    bool hasRow() const { return model_->currentRow() >= 0; }
    QString text(const QString& field) const;
    double number(const QString& field) const;
    common::GridModel& list() { return *model_; }
    const common::GridModel& list() const { return *model_; }

    void Button1Click(); // Převzít
    void Button2Click(); // Zpět

protected:
    Picker(db::Connection& connection, const QList<common::GridColumn>& columns, QWidget* parent);

    // Opening steps of the window; runs under the error display each time it is shown.
    virtual void FormShow() = 0;

    void addHotKey(const QKeySequence& key, std::function<void()> handler);
    void setHotKeysEnabled(bool on);
    // Sorts by the field's column and opens "Hledat" there, with the hot keys off meanwhile.
    void searchColumn(const QString& field, std::optional<QPoint> position);

    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;

    db::Connection& connection_;
    common::GridModel* model_;
    common::GridView* DBGrid1;
    QPushButton* Button1;
    QPushButton* Button2;

private:
    bool taken_ = false;
    QList<QShortcut*> hotKeys_;
};

} // namespace dorvik::pickers
