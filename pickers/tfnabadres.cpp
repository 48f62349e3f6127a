#include "pickers/tfnabadres.h"

#include "common/gridview.h"
#include "common/progresswindow.h"
#include "pickers/pickerqueries.h"

#include <QHBoxLayout>
#include <QPushButton>
#include <QVBoxLayout>

namespace dorvik::pickers {
namespace {

QList<common::GridColumn> addressColumns() {
    return {
        {QStringLiteral("ICO"), QStringLiteral("IČO"), 80, {}},
        {QStringLiteral("NAZEVPODNI"), QStringLiteral("Název podniku"), 250, {}},
        {QStringLiteral("SIDLO"), QStringLiteral("Sídlo"), 140, {}},
        {QStringLiteral("ULICECISLO"), QStringLiteral("Ulice , číslo"), 160, {}},
        {QStringLiteral("PSC"), QStringLiteral("PSČ"), 50, {}},
        {QStringLiteral("POSTA"), QStringLiteral("Pošta"), 130, {}},
    };
}

} // namespace

TFnabadres::TFnabadres(db::Connection& connection, QWidget* parent)
    : Picker(connection, addressColumns(), parent), query_(defaultAddressQuery()) {
    setObjectName(QStringLiteral("Fnabadres"));
    setWindowTitle(QStringLiteral("Adresář"));
    DBGrid1->setAccessibleName(QStringLiteral("Adresář"));
    DBGrid1->enableColumnSearch(SearchPosition);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(Button1);
    buttons->addWidget(Button2);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(DBGrid1, 1);
    layout->addLayout(buttons);
    resize(860, 480);

    addHotKey(QKeySequence(Qt::Key_Return), [this] { Button1Click(); });
    addHotKey(QKeySequence(Qt::Key_Enter), [this] { Button1Click(); });
    addHotKey(QKeySequence(Qt::Key_F3), [this] { F3Press(); });
}

void TFnabadres::setQuery(const QString& sql) {
    query_ = sql;
    closeList();
}

void TFnabadres::closeList() {
    model_->setResult(db::ResultSet());
    loaded_ = false;
}

void TFnabadres::FormShow() {
    move(0, 100);
    if (loaded_) return;
    common::BusyCursor busy;
    // A failing query leaves the list empty; the next showing tries again.
    model_->setResult(db::ResultSet());
    model_->setResult(connection_.query(query_));
    loaded_ = true;
}

void TFnabadres::F3Press() { searchColumn(QStringLiteral("NAZEVPODNI"), SearchPosition); }

} // namespace dorvik::pickers
