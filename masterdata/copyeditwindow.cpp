#include "masterdata/copyeditwindow.h"

#include "common/displayformat.h"
#include "common/errordisplay.h"
#include "common/gridview.h"
#include "common/progresswindow.h"
#include "common/routines.h"
#include "db/dberror.h"
#include "db/transaction.h"
#include "pickers/tfnabadres.h"

#include <QComboBox>
#include <QDateEdit>
#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QShowEvent>
#include <QVBoxLayout>

namespace dorvik::masterdata {
namespace {

QPushButton* button(const QString& name, const QString& caption) {
    auto* b = new QPushButton(caption);
    b->setObjectName(name);
    // Enter in a field must not press a button behind the user's back.
    b->setAutoDefault(false);
    return b;
}

QDateTime asDateTime(const QVariant& value) {
    if (value.typeId() == QMetaType::QDateTime) return value.toDateTime();
    return QDateTime::fromString(value.toString(), QStringLiteral("yyyy-MM-dd hh:mm:ss"));
}

} // namespace

CopyEditWindow::CopyEditWindow(db::Connection& connection, const QString& workstation, CopyEditSetup setup,
                               pickers::TFnabadres* addresses, QWidget* parent)
    : QDialog(parent),
      connection_(connection),
      workstation_(workstation),
      setup_(std::move(setup)),
      messages_(setup_.messageCaption),
      model_(new common::GridModel(this)),
      addresses_(addresses),
      scratch_(connection, scratchName(setup_.table, workstation)) {
    setObjectName(setup_.objectName);
    setWindowTitle(setup_.caption);
    setSizeGripEnabled(true);

    model_->setColumns(setup_.columns);
    DBGrid1 = new common::GridView(model_);
    DBGrid1->setObjectName(QStringLiteral("DBGrid1"));
    DBGrid1->setAccessibleName(setup_.caption);
    DBGrid1->applyColumnWidths();
    DBGrid1->enableColumnSearch();

    Button1 = button(QStringLiteral("Button1"), QStringLiteral("OK"));
    Button2 = button(QStringLiteral("Button2"), QStringLiteral("&Přidat"));
    ButtonOpravit = button(setup_.editButtonName, QStringLiteral("&Opravit"));
    Button4 = button(QStringLiteral("Button4"), QStringLiteral("&Zapsat"));
    Button5 = button(QStringLiteral("Button5"), QStringLiteral("Zpě&t"));
    panelButtons_ << Button4 << Button5;
    if (addresses_) {
        Button6 = button(QStringLiteral("Button6"), QStringLiteral("&Nabídka"));
        panelButtons_ << Button6;
        connect(Button6, &QPushButton::clicked, this, common::guard(this, &CopyEditWindow::Button6Click));
    }

    listButtons_ = new QVBoxLayout;
    listButtons_->addWidget(Button2);
    listButtons_->addWidget(ButtonOpravit);
    auto* top = new QHBoxLayout;
    top->addWidget(DBGrid1, 1);
    top->addLayout(listButtons_);

    auto* panel = new QFrame;
    panel->setFrameShape(QFrame::StyledPanel);
    Panel1 = panel;
    Panel1->setObjectName(QStringLiteral("Panel1"));
    fieldGrid_ = new QGridLayout;
    fieldGrid_->setHorizontalSpacing(10);
    fieldGrid_->setColumnStretch(1, 1);
    fieldGrid_->setColumnStretch(3, 1);
    auto* panelLayout = new QHBoxLayout(Panel1);
    panelLayout->addLayout(fieldGrid_, 1);
    Panel1->hide();

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top, 1);
    layout->addWidget(Panel1);

    connect(Button1, &QPushButton::clicked, this, &QDialog::accept);
    connect(Button2, &QPushButton::clicked, this, common::guard(this, &CopyEditWindow::Button2Click));
    connect(ButtonOpravit, &QPushButton::clicked, this, common::guard(this, &CopyEditWindow::ButtonOpravitClick));
    connect(Button4, &QPushButton::clicked, this, common::guard(this, &CopyEditWindow::Button4Click));
    connect(Button5, &QPushButton::clicked, this, common::guard(this, &CopyEditWindow::Button5Click));
    if (setup_.doubleClickEdits)
        connect(DBGrid1, &QAbstractItemView::doubleClicked, this, common::guard(this, &CopyEditWindow::ButtonOpravitClick));
}

CopyEditWindow::~CopyEditWindow() = default;

QLabel* CopyEditWindow::labelFor(const QString& text, QWidget* field) {
    auto* label = new QLabel(text);
    label->setBuddy(field);
    return label;
}

void CopyEditWindow::addField(QWidget* widget, const QString& label, const QString& column, Kind kind, int row, int col) {
    if (label.isEmpty() && !fields_.isEmpty()) {
        // The second field of a pair ("PSČ, Pošta") shares the first one's cell.
        QWidget* first = fields_.last().widget;
        int r = 0, c = 0, rows = 0, cols = 0;
        fieldGrid_->getItemPosition(fieldGrid_->indexOf(first), &r, &c, &rows, &cols);
        fieldGrid_->removeWidget(first);
        auto* pair = new QHBoxLayout;
        pair->addWidget(first);
        pair->addWidget(widget, 1);
        fieldGrid_->addLayout(pair, r, c);
    } else {
        fieldGrid_->addWidget(labelFor(label, widget), row, col * 2);
        fieldGrid_->addWidget(widget, row, col * 2 + 1);
    }
    fields_ << Field{widget, column, kind};
}

void CopyEditWindow::changed(const QString& column, const QVariant& value) {
    common::guarded([&] {
        if (editing()) scratch_.setValue(column, value);
    });
}

QLineEdit* CopyEditWindow::addTextField(const QString& name, const QString& label, const QString& column, int row, int col) {
    auto* edit = new QLineEdit;
    edit->setObjectName(name);
    addField(edit, label, column, Kind::Text, row, col);
    connect(edit, &QLineEdit::textEdited, this, [this, column](const QString& text) { changed(column, text); });
    return edit;
}

QLineEdit* CopyEditWindow::addNumberField(const QString& name, const QString& label, const QString& column, int row, int col) {
    auto* edit = new QLineEdit;
    edit->setObjectName(name);
    edit->setAlignment(Qt::AlignRight);
    addField(edit, label, column, Kind::Number, row, col);
    // Read when the row is stored, so a number half typed is not judged yet.
    connect(edit, &QLineEdit::textEdited, this, [this, column] { typedNumbers_ << column; });
    return edit;
}

QDateEdit* CopyEditWindow::addDateField(const QString& name, const QString& label, const QString& column, int row, int col) {
    auto* edit = new QDateEdit;
    edit->setObjectName(name);
    edit->setDisplayFormat(QStringLiteral("dd.MM.yyyy"));
    edit->setCalendarPopup(true);
    addField(edit, label, column, Kind::Date, row, col);
    connect(edit, &QDateEdit::dateChanged, this, [this, column](QDate date) {
        if (filling_ || !editing()) return;
        // The day changes; the time of day the row had stays.
        const QDateTime old = asDateTime(scratch_.value(column));
        changed(column, QDateTime(date, old.isValid() ? old.time() : QTime(0, 0)));
    });
    return edit;
}

QComboBox* CopyEditWindow::addChoiceField(const QString& name, const QString& label, const QString& column,
                                          const QStringList& items, int row, int col) {
    auto* choice = new QComboBox;
    choice->setObjectName(name);
    choice->addItems(items);
    addField(choice, label, column, Kind::Choice, row, col);
    connect(choice, &QComboBox::textActivated, this, [this, column](const QString& text) { changed(column, text); });
    return choice;
}

QPushButton* CopyEditWindow::addListButton(const QString& name, const QString& caption) {
    QPushButton* b = button(name, caption);
    listButtons_->addWidget(b);
    return b;
}

void CopyEditWindow::finishPanel() {
    listButtons_->addStretch();
    listButtons_->addWidget(Button1);
    auto* buttons = new QVBoxLayout;
    for (QPushButton* b : panelButtons_) buttons->addWidget(b);
    buttons->addStretch();
    static_cast<QHBoxLayout*>(Panel1->layout())->addLayout(buttons);
    QList<QWidget*> order;
    for (const Field& f : fields_) order << f.widget;
    for (QPushButton* b : panelButtons_) order << b;
    for (qsizetype i = 1; i < order.size(); ++i) setTabOrder(order[i - 1], order[i]);
}

QWidget* CopyEditWindow::fieldOf(const QString& column) const {
    for (const Field& f : fields_)
        if (f.column.compare(column, Qt::CaseInsensitive) == 0) return f.widget;
    return nullptr;
}

bool CopyEditWindow::editing() const { return scratch_.state() != db::EditableTable::State::Browse; }

int CopyEditWindow::currentRow() const {
    const int row = model_->currentRow();
    return row < 0 ? -1 : model_->sourceRow(row);
}

qint64 CopyEditWindow::currentId() const {
    const int row = currentRow();
    return row < 0 ? 0 : model_->result().integer(row, QStringLiteral("id"));
}

void CopyEditWindow::loadList(qint64 locateId) {
    const int before = model_->currentRow();
    model_->setResult(db::ResultSet());
    model_->setResult(connection_.query(setup_.listQuery));
    if (locateId >= 0 && model_->locate(QStringLiteral("id"), locateId) >= 0) return;
    if (before >= 0 && before < model_->rowCount()) model_->setCurrentRow(before);
}

void CopyEditWindow::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (!event->spontaneous()) common::guarded([this] { FormShow(); });
}

void CopyEditWindow::FormShow() {
    common::BusyCursor busy;
    loadList();
    closePanel();
}

void CopyEditWindow::Button2Click() {
    scratch_.cancel();
    for (const QString& statement : addStatements(setup_.table, workstation_)) connection_.execute(statement);
    openScratch();
}

void CopyEditWindow::ButtonOpravitClick() {
    if (currentRow() < 0) return;
    scratch_.cancel();
    for (const QString& statement : editStatements(setup_.table, workstation_, currentId())) connection_.execute(statement);
    openScratch();
}

void CopyEditWindow::openScratch() {
    scratch_.open();
    if (scratch_.rowCount() == 0) {
        // Another workstation deleted the row meanwhile: the list shows it is gone.
        closePanel();
        loadList();
        return;
    }
    scratch_.edit(0);
    typedNumbers_.clear();
    showScratch();
    Panel1->show();
    if (firstField_) firstField_->setFocus();
}

void CopyEditWindow::showScratch() {
    filling_ = true;
    for (const Field& f : fields_) {
        const QVariant value = scratch_.value(f.column);
        switch (f.kind) {
        case Kind::Text: static_cast<QLineEdit*>(f.widget)->setText(value.toString()); break;
        case Kind::Number: static_cast<QLineEdit*>(f.widget)->setText(common::generalDecimal(value.toDouble())); break;
        case Kind::Date: {
            const QDateTime when = asDateTime(value);
            if (when.isValid()) static_cast<QDateEdit*>(f.widget)->setDate(when.date());
            break;
        }
        case Kind::Choice: static_cast<QComboBox*>(f.widget)->setCurrentText(value.toString()); break;
        }
    }
    filling_ = false;
}

void CopyEditWindow::setScratch(const QString& column, const QVariant& value) {
    if (!editing()) scratch_.edit(0);
    scratch_.setValue(column, value);
    typedNumbers_.remove(column);
    filling_ = true;
    if (auto* edit = qobject_cast<QLineEdit*>(fieldOf(column))) edit->setText(value.toString());
    filling_ = false;
}

// The partner taken in the picker becomes the row's ICO and NAZEVPODNI; left without one, nothing changes.
void CopyEditWindow::Button6Click() {
    if (!addresses_ || !addresses_->choose() || !addresses_->hasRow()) return;
    setScratch(QStringLiteral("ICO"), addresses_->text(QStringLiteral("ICO")));
    setScratch(QStringLiteral("NAZEVPODNI"), addresses_->text(QStringLiteral("NAZEVPODNI")));
    if (QWidget* ico = fieldOf(QStringLiteral("ICO"))) ico->setFocus();
}

void CopyEditWindow::storeNumbers() {
    for (const Field& f : fields_)
        if (f.kind == Kind::Number && typedNumbers_.contains(f.column))
            scratch_.setValue(f.column, common::parseNumber(static_cast<QLineEdit*>(f.widget)->text()));
}

bool CopyEditWindow::afterInsert(const db::ResultSet&, qint64) { return true; }

void CopyEditWindow::Button4Click() {
    if (!editing()) return;
    storeNumbers();
    scratch_.post();
    // Until the master row is written the edit stays open, whatever stops the write.
    scratch_.edit(0);
    typedNumbers_.clear();
    const qint64 id = scratch_.rows().integer(0, QStringLiteral("id"));
    qint64 written = id;
    {
        db::Transaction transaction(connection_);
        connection_.execute(deleteStatement(setup_.table, id));
        connection_.execute(insertStatement(setup_.table, workstation_));
        if (id == 0) written = qint64(connection_.lastInsertId());
        if (!afterInsert(scratch_.rows(), written)) return;
        transaction.commit();
    }
    closePanel();
    loadList(written);
}

void CopyEditWindow::Button5Click() { closePanel(); }

void CopyEditWindow::closePanel() {
    scratch_.cancel();
    typedNumbers_.clear();
    Panel1->hide();
}

void CopyEditWindow::done(int result) {
    if (setup_.dropScratchOnClose)
        common::guarded([this] { connection_.execute(QStringLiteral("DROP TABLE IF EXISTS ") + scratch_.table()); });
    QDialog::done(result);
}

} // namespace dorvik::masterdata
