#include "common/columnsearchdialog.h"

#include "common/gridroles.h"

#include <QAbstractListModel>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QPushButton>
#include <QTableView>
#include <QVBoxLayout>

namespace dorvik::common {

// The displayed texts of one column, and the rows that pass the filter.
class FilteredValuesModel : public QAbstractListModel {
public:
    using QAbstractListModel::QAbstractListModel;

    void setValues(QStringList values) {
        beginResetModel();
        values_ = std::move(values);
        upper_.clear();
        upper_.reserve(values_.size());
        for (const QString& v : values_) upper_ << v.toUpper();
        shown_.resize(size_t(values_.size()));
        for (size_t i = 0; i < shown_.size(); ++i) shown_[i] = int(i);
        endResetModel();
    }

    // Keeps the entries that hold the needle (anywhere, or at the start); returns the first match.
    int filter(const QString& upperNeedle, bool anywhere, bool onlyMatches) {
        const auto matches = [&](int i) {
            return upperNeedle.isEmpty() || (anywhere ? upper_[i].contains(upperNeedle) : upper_[i].startsWith(upperNeedle));
        };
        beginResetModel();
        shown_.clear();
        int first = -1;
        for (int i = 0; i < int(values_.size()); ++i) {
            if (matches(i)) {
                if (first < 0) first = int(shown_.size());
                shown_.push_back(i);
            } else if (!onlyMatches) {
                shown_.push_back(i);
            }
        }
        if (!onlyMatches && first >= 0) first = shown_[size_t(first)];
        endResetModel();
        return first;
    }

    int listRow(int entry) const { return entry >= 0 && entry < int(shown_.size()) ? shown_[size_t(entry)] : -1; }
    int entryOf(int listRow) const {
        const auto it = std::find(shown_.begin(), shown_.end(), listRow);
        return it == shown_.end() ? -1 : int(it - shown_.begin());
    }

    int rowCount(const QModelIndex& parent = {}) const override { return parent.isValid() ? 0 : int(shown_.size()); }
    QVariant data(const QModelIndex& index, int role) const override {
        if (role != Qt::DisplayRole || !index.isValid()) return {};
        return values_[shown_[size_t(index.row())]];
    }

private:
    QStringList values_;
    QStringList upper_;
    std::vector<int> shown_;
};

ColumnSearchDialog::ColumnSearchDialog(QTableView* list, QWidget* parent)
    : QDialog(parent ? parent : list->window()),
      list_(list),
      startRow_(list->currentIndex().row()),
      columnChoice_(new QComboBox),
      searchText_(new QLineEdit),
      values_(new QListView),
      showSelection_(new QCheckBox(QStringLiteral("zobrazit výběr"))),
      searchParts_(new QCheckBox(QStringLiteral("hledat i části"))),
      valuesModel_(new FilteredValuesModel(this)) {
    setObjectName(QStringLiteral("Fhledat"));
    setWindowTitle(QStringLiteral("Hledat"));
    columnChoice_->setObjectName(QStringLiteral("ComboBoxPole"));
    searchText_->setObjectName(QStringLiteral("EditHledat"));
    values_->setObjectName(QStringLiteral("ListHodnoty"));
    values_->setAccessibleName(QStringLiteral("Hodnoty"));
    values_->setModel(valuesModel_);
    values_->setUniformItemSizes(true);
    values_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    showSelection_->setChecked(true);
    searchParts_->setChecked(true);

    const QAbstractItemModel* model = list_->model();
    for (int c = 0; c < model->columnCount(); ++c) {
        if (list_->isColumnHidden(c)) continue;
        visibleColumns_.push_back(c);
        QVariant name = model->headerData(c, Qt::Horizontal, FieldNameRole);
        if (!name.isValid()) name = model->headerData(c, Qt::Horizontal, Qt::DisplayRole);
        columnChoice_->addItem(name.toString());
    }

    auto* form = new QFormLayout;
    auto* columnLabel = new QLabel(QStringLiteral("&Prohledávat"));
    columnLabel->setBuddy(columnChoice_);
    form->addRow(columnLabel, columnChoice_);
    auto* searchLabel = new QLabel(QStringLiteral("&Co hledat"));
    searchLabel->setBuddy(searchText_);
    form->addRow(searchLabel, searchText_);

    auto* buttons = new QDialogButtonBox;
    QPushButton* take = buttons->addButton(QStringLiteral("převzít"), QDialogButtonBox::AcceptRole);
    QPushButton* cancel = buttons->addButton(QStringLiteral("storno"), QDialogButtonBox::RejectRole);
    take->setObjectName(QStringLiteral("ButtonPrevzit"));
    cancel->setObjectName(QStringLiteral("ButtonStorno"));
    take->setDefault(true);
    take->setAutoDefault(true);
    cancel->setAutoDefault(false);

    auto* checks = new QHBoxLayout;
    checks->addWidget(showSelection_);
    checks->addWidget(searchParts_);
    checks->addStretch();

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(values_, 1);
    layout->addLayout(checks);
    layout->addWidget(buttons);
    resize(360, 420);

    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &ColumnSearchDialog::reject);
    connect(values_, &QListView::doubleClicked, this, &QDialog::accept);
    connect(columnChoice_, &QComboBox::currentIndexChanged, this, &ColumnSearchDialog::rebuildValues);
    connect(searchText_, &QLineEdit::textChanged, this, &ColumnSearchDialog::applyFilter);
    connect(showSelection_, &QCheckBox::toggled, this, &ColumnSearchDialog::applyFilter);
    connect(searchParts_, &QCheckBox::toggled, this, &ColumnSearchDialog::applyFilter);
    connect(values_->selectionModel(), &QItemSelectionModel::currentChanged, this, &ColumnSearchDialog::followSelection);
    searchText_->installEventFilter(this);
    rebuildValues();
    // The user opened it to type; the column choice is one Shift+Tab away.
    searchText_->setFocus();
}

ColumnSearchDialog::~ColumnSearchDialog() = default;

bool ColumnSearchDialog::searchColumn(QTableView* list, int column, std::optional<QPoint> position) {
    {
        QApplication::setOverrideCursor(Qt::WaitCursor);
        list->model()->sort(column, Qt::AscendingOrder);
        QApplication::restoreOverrideCursor();
    }
    ColumnSearchDialog dialog(list);
    dialog.setColumn(column);
    if (position) dialog.move(*position);
    return dialog.exec() == QDialog::Accepted;
}

void ColumnSearchDialog::setColumn(int column) {
    const auto it = std::find(visibleColumns_.begin(), visibleColumns_.end(), column);
    if (it != visibleColumns_.end()) columnChoice_->setCurrentIndex(int(it - visibleColumns_.begin()));
}

int ColumnSearchDialog::column() const {
    const int i = columnChoice_->currentIndex();
    return i < 0 ? -1 : visibleColumns_[size_t(i)];
}

QStringList ColumnSearchDialog::shownValues() const {
    QStringList out;
    for (int r = 0; r < valuesModel_->rowCount(); ++r) out << valuesModel_->index(r).data().toString();
    return out;
}

void ColumnSearchDialog::rebuildValues() {
    const int c = column();
    if (c < 0) return;
    const QAbstractItemModel* model = list_->model();
    QStringList values;
    values.reserve(model->rowCount());
    for (int r = 0; r < model->rowCount(); ++r) values << model->index(r, c).data(Qt::DisplayRole).toString();
    valuesModel_->setValues(std::move(values));
    applyFilter();
}

void ColumnSearchDialog::applyFilter() {
    QString needle = searchText_->text();
    needle.remove(QChar(0xB0)); // the scanner's prefix character means nothing here
    const int first = valuesModel_->filter(needle.toUpper(), searchParts_->isChecked(), showSelection_->isChecked());
    if (first >= 0) values_->setCurrentIndex(valuesModel_->index(first));
}

void ColumnSearchDialog::followSelection() {
    const int row = valuesModel_->listRow(values_->currentIndex().row());
    if (row < 0) return;
    const QModelIndex target = list_->model()->index(row, std::max(column(), 0));
    list_->setCurrentIndex(target);
    list_->scrollTo(target);
}

void ColumnSearchDialog::reject() {
    if (startRow_ >= 0) {
        const int c = std::max(list_->currentIndex().column(), 0);
        list_->setCurrentIndex(list_->model()->index(startRow_, c));
    }
    QDialog::reject();
}

bool ColumnSearchDialog::columnIsNumeric() const {
    return list_->model()->headerData(column(), Qt::Horizontal, NumericColumnRole).toBool();
}

bool ColumnSearchDialog::eventFilter(QObject* watched, QEvent* event) {
    if (watched == searchText_ && event->type() == QEvent::KeyPress) {
        auto* key = static_cast<QKeyEvent*>(event);
        switch (key->key()) {
        case Qt::Key_Up:
        case Qt::Key_Down:
        case Qt::Key_PageUp:
        case Qt::Key_PageDown:
            QApplication::sendEvent(values_, event);
            return true;
        default: break;
        }
        const QString text = key->text();
        if (text.size() == 1 && text[0].isPrint()) {
            const QChar ch = text[0];
            if (ch == QChar(0xB0)) return true;
            if (columnIsNumeric() && !(ch.isDigit() || QStringLiteral(" +-,.").contains(ch))) {
                QApplication::beep();
                return true;
            }
        }
    }
    return QDialog::eventFilter(watched, event);
}

} // namespace dorvik::common
