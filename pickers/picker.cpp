#include "pickers/picker.h"

#include "common/columnsearchdialog.h"
#include "common/errordisplay.h"
#include "common/gridview.h"

#include <QHideEvent>
#include <QPushButton>
#include <QShortcut>
#include <QShowEvent>

namespace dorvik::pickers {

Picker::Picker(db::Connection& connection, const QList<common::GridColumn>& columns, QWidget* parent)
    : QDialog(parent),
      connection_(connection),
      model_(new common::GridModel(this)),
      Button1(new QPushButton(QStringLiteral("Převzít"))),
      Button2(new QPushButton(QStringLiteral("Zpět"))) {
    model_->setColumns(columns);
    DBGrid1 = new common::GridView(model_);
    DBGrid1->setObjectName(QStringLiteral("DBGrid1"));
    DBGrid1->applyColumnWidths();
    Button1->setObjectName(QStringLiteral("Button1"));
    Button2->setObjectName(QStringLiteral("Button2"));
    // Enter is a hot key of its own where a picker has one; no default button competes with it.
    for (QPushButton* b : {Button1, Button2}) {
        b->setAutoDefault(false);
        b->setDefault(false);
    }
    connect(Button1, &QPushButton::clicked, this, common::guard(this, &Picker::Button1Click));
    connect(Button2, &QPushButton::clicked, this, common::guard(this, &Picker::Button2Click));
    connect(DBGrid1, &QAbstractItemView::doubleClicked, this, common::guard(this, &Picker::Button1Click));
}

bool Picker::choose() {
    taken_ = false;
    exec();
    return taken_;
}

QString Picker::text(const QString& field) const {
    const int row = model_->currentRow();
    return row < 0 ? QString() : model_->result().text(model_->sourceRow(row), field);
}

double Picker::number(const QString& field) const {
    const int row = model_->currentRow();
    return row < 0 ? 0.0 : model_->result().number(model_->sourceRow(row), field);
}

void Picker::Button1Click() {
    taken_ = true;
    accept();
}

void Picker::Button2Click() { reject(); }

void Picker::addHotKey(const QKeySequence& key, std::function<void()> handler) {
    auto* shortcut = new QShortcut(key, this);
    shortcut->setEnabled(false);
    connect(shortcut, &QShortcut::activated, this, [handler = std::move(handler)] { common::guarded(handler); });
    hotKeys_ << shortcut;
}

void Picker::setHotKeysEnabled(bool on) {
    for (QShortcut* s : hotKeys_) s->setEnabled(on);
}

void Picker::searchColumn(const QString& field, std::optional<QPoint> position) {
    const int column = model_->columnOf(field);
    if (column < 0 || model_->rowCount() == 0) return;
    setHotKeysEnabled(false);
    common::guarded([&] { common::ColumnSearchDialog::searchColumn(DBGrid1, column, position); });
    setHotKeysEnabled(isVisible());
}

void Picker::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (event->spontaneous()) return; // the window system showing it again, not a new opening
    setHotKeysEnabled(true);
    common::guarded([this] { FormShow(); });
}

void Picker::hideEvent(QHideEvent* event) {
    if (!event->spontaneous()) setHotKeysEnabled(false);
    QDialog::hideEvent(event);
}

} // namespace dorvik::pickers
