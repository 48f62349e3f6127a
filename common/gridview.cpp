#include "common/gridview.h"

#include "common/columnsearchdialog.h"
#include "common/errordisplay.h"
#include "common/gridmodel.h"

#include <QHeaderView>

namespace dorvik::common {

GridView::GridView(GridModel* model, QWidget* parent) : QTableView(parent), model_(model) {
    setModel(model);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setSortingEnabled(false);
    setWordWrap(false);
    verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 4);
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    horizontalHeader()->setSectionsClickable(false);
    horizontalHeader()->setHighlightSections(false);
    connect(selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            [this](const QModelIndex& current) { model_->setCurrentRow(current.row()); });
    connect(model_, &GridModel::currentRowChanged, this, &GridView::showModelCurrent);
    connect(model_, &QAbstractItemModel::modelReset, this, [this] { showModelCurrent(model_->currentRow()); });
    connect(horizontalHeader(), &QHeaderView::sectionClicked, this, &GridView::headerClicked);
}

void GridView::applyColumnWidths() {
    const auto& columns = model_->columns();
    for (int c = 0; c < columns.size(); ++c) setColumnWidth(c, columns[c].width);
}

void GridView::enableColumnSearch(std::optional<QPoint> dialogPosition) {
    searchEnabled_ = true;
    searchPosition_ = dialogPosition;
    horizontalHeader()->setSectionsClickable(true);
}

void GridView::headerClicked(int column) {
    if (!searchEnabled_ || model_->rowCount() == 0) return;
    guarded([&] { ColumnSearchDialog::searchColumn(this, column, searchPosition_); });
    emit columnSearchFinished();
}

void GridView::showModelCurrent(int row) {
    if (row < 0) return;
    if (currentIndex().row() == row) return;
    const QModelIndex index = model_->index(row, std::max(currentIndex().column(), 0));
    selectionModel()->setCurrentIndex(index, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    scrollTo(index);
}

} // namespace dorvik::common
