#pragma once

#include <QDialog>
#include <QPoint>
#include <optional>
#include <vector>

class QCheckBox;
class QComboBox;
class QLineEdit;
class QListView;
class QTableView;

namespace dorvik::common {

class FilteredValuesModel;

// "Hledat": sorts a list by the clicked column and lets the user find a row by typing.
// The list's row follows the selected value at once; leaving without taking ("storno", Esc,
// the close box) returns to the row that was current when the dialog opened.
class ColumnSearchDialog : public QDialog {
    Q_OBJECT
public:
    explicit ColumnSearchDialog(QTableView* list, QWidget* parent = nullptr);
    ~ColumnSearchDialog() override;

    // What a click on a column title does in every list: sort ascending, then search.
    // Returns true when the user took a row over. A position places the dialog on the screen.
    static bool searchColumn(QTableView* list, int column, std::optional<QPoint> position = std::nullopt);

    void setColumn(int column);
    int column() const;
    // The values the list of values shows now, in order.
    QStringList shownValues() const;

    void reject() override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void rebuildValues();
    void applyFilter();
    void followSelection();
    bool columnIsNumeric() const;

    QTableView* list_;
    int startRow_;
    std::vector<int> visibleColumns_;
    QComboBox* columnChoice_;
    QLineEdit* searchText_;
    QListView* values_;
    QCheckBox* showSelection_;
    QCheckBox* searchParts_;
    FilteredValuesModel* valuesModel_;
};

} // namespace dorvik::common
