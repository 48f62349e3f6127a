#pragma once

#include "common/displayformat.h"
#include "db/resultset.h"

#include <QAbstractTableModel>
#include <QList>
#include <QVariant>
#include <vector>

namespace dorvik::common {

// A column a list shows: the result's field, its title (empty: the field name), its width
// in pixels and, for numbers, its display format (empty: the plain number).
struct GridColumn {
    QString field;
    QString title;
    int width = 64;
    QString format;
};

// The read-only model of every list: the rows of one result, shown through the list's
// columns. Cells are converted when the view asks for them; the model holds the result
// and one permutation of its rows, nothing per cell.
//
//   model.setResult(db.query(sql));
//   model.locate("CISLODOKLA", n);
//   const int r = model.sourceRow(model.currentRow()); // read the current record: result().text(r, ...)
class GridModel : public QAbstractTableModel {
    Q_OBJECT
public:
    explicit GridModel(QObject* parent = nullptr);

    // The columns shown; without any, every column of the result with its name as title.
    void setColumns(QList<GridColumn> columns);
    const QList<GridColumn>& columns() const { return shown_; }
    // The shown column of a field, without regard to case; -1 when it is not shown.
    int columnOf(const QString& field) const;

    // Replaces the rows, in the result's own order; the first row becomes current.
    // A column whose field the result lacks raises DbError.
    void setResult(const db::ResultSet& result);
    const db::ResultSet& result() const { return result_; }

    // The result's row shown at a list row, and back.
    int sourceRow(int row) const { return order_[size_t(row)]; }
    int rowOf(int sourceRow) const { return position_[size_t(sourceRow)]; }

    // -1 only while the list is empty.
    int currentRow() const { return current_; }
    void setCurrentRow(int row);
    // Makes the first row (in the list's order) whose field equals the value current and
    // returns it; -1 and no move when there is none. Texts match exactly, numbers by value.
    int locate(const QString& field, const QVariant& value);

    // Stable: rows with equal values keep the result's order, also when descending.
    // Texts sort in Czech order (č after c, ch after h, accents and case only break ties),
    // empty values (NULL) first. The current record stays current.
    void sort(int column, Qt::SortOrder order = Qt::AscendingOrder) override;

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

signals:
    // The current row or the record at it changed (a new result, a sort, a move).
    void currentRowChanged(int row);

private:
    void applyColumns(QList<GridColumn> shown, std::vector<int> fieldIndexes);
    QString displayText(int sourceRow, int column) const;

    QList<GridColumn> requested_;
    QList<GridColumn> shown_;
    std::vector<DisplayFormat> formats_;
    std::vector<int> fieldIndex_; // shown column -> result column
    db::ResultSet result_;
    std::vector<int> order_;
    std::vector<int> position_;
    int current_ = -1;
};

} // namespace dorvik::common
