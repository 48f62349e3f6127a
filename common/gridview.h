#pragma once

#include <QPoint>
#include <QTableView>
#include <optional>

namespace dorvik::common {

class GridModel;

// The read-only list every window shows: whole-row selection, column widths from the
// model's columns, the view's current row and the model's current row kept as one.
// With a search position set, a click on a column title sorts and opens "Hledat".
// Ctrl+C copies the selected rows, with the column titles, as tab-separated text.
class GridView : public QTableView {
    Q_OBJECT
public:
    explicit GridView(GridModel* model, QWidget* parent = nullptr);

    GridModel* gridModel() const { return model_; }
    // Applies the model's column widths (after its columns are set).
    void applyColumnWidths();
    // Switches the title-click search on; without a position the dialog opens centred on the window.
    void enableColumnSearch(std::optional<QPoint> dialogPosition = std::nullopt);

    // The selected rows (the current one when none is) as a spreadsheet pastes them.
    QString selectedRowsText() const;

signals:
    // After the column search closed (taken or not): callers reload what depends on the row.
    void columnSearchFinished();

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    void headerClicked(int column);
    void showModelCurrent(int row);

    GridModel* model_;
    bool searchEnabled_ = false;
    std::optional<QPoint> searchPosition_;
};

} // namespace dorvik::common
