#include "common/gridview.h"

#include "common/columnsearchdialog.h"
#include "common/errordisplay.h"
#include "common/gridmodel.h"
#include "common/gridroles.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QHeaderView>
#include <QKeyEvent>
#include <algorithm>

namespace dorvik::common {

GridView::GridView(GridModel* model, QWidget* parent) : QTableView(parent), model_(model) {
    setModel(model);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setSelectionMode(QAbstractItemView::ExtendedSelection);
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

QString GridView::selectedRowsText() const {
    QList<int> rows;
    for (const QModelIndex& index : selectionModel()->selectedRows()) rows << index.row();
    if (rows.isEmpty() && currentIndex().isValid()) rows << currentIndex().row();
    std::sort(rows.begin(), rows.end());
    QList<int> columns;
    for (int c = 0; c < model_->columnCount(); ++c)
        if (!isColumnHidden(c)) columns << c;
    // A tab or line break inside a value would split the row in the spreadsheet.
    const auto cell = [](QString text) { return text.replace(QLatin1Char('\t'), QLatin1Char(' ')).replace(QLatin1Char('\n'), QLatin1Char(' ')).remove(QLatin1Char('\r')); };
    QList<bool> numeric;
    for (int c : columns) numeric << model_->headerData(c, Qt::Horizontal, NumericColumnRole).toBool();
    QStringList line;
    for (int c : columns) line << cell(model_->headerData(c, Qt::Horizontal).toString());
    QString out = line.join(QLatin1Char('\t')) + QLatin1Char('\n');
    for (int r : rows) {
        line.clear();
        for (int i = 0; i < columns.size(); ++i) {
            QString text = cell(model_->index(r, columns[i]).data().toString());
            // Numbers without their grouping spaces, so the spreadsheet reads them as numbers.
            if (numeric[i]) text.remove(QLatin1Char(' ')).remove(QChar(0xA0));
            line << text;
        }
        out += line.join(QLatin1Char('\t')) + QLatin1Char('\n');
    }
    return out;
}

void GridView::keyPressEvent(QKeyEvent* event) {
    if (event == QKeySequence::Copy) {
        QGuiApplication::clipboard()->setText(selectedRowsText());
        event->accept();
        return;
    }
    QTableView::keyPressEvent(event);
}

void GridView::showModelCurrent(int row) {
    if (row < 0) return;
    if (currentIndex().row() == row) return;
    const QModelIndex index = model_->index(row, std::max(currentIndex().column(), 0));
    selectionModel()->setCurrentIndex(index, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    scrollTo(index);
}

} // namespace dorvik::common
