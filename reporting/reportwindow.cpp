#include "reporting/reportwindow.h"

#include "common/dateedit.h"
#include "common/errordisplay.h"
#include "common/formstorage.h"
#include "db/connection.h"
#include "db/scratchtable.h"

#include <QButtonGroup>
#include <QCoreApplication>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace dorvik::reporting {

namespace {

// Clears the running flag however the run ends.
class RunFlag {
public:
    explicit RunFlag(bool& flag) : flag_(flag) { flag_ = true; }
    ~RunFlag() { flag_ = false; }
    RunFlag(const RunFlag&) = delete;
    RunFlag& operator=(const RunFlag&) = delete;

private:
    bool& flag_;
};

QString dateKey(int index) {
    return QStringLiteral("DateEdit%1_Text").arg(index + 1);
}

} // namespace

ReportWindow::ReportWindow(const common::RegisterContext& context, ReportWindowSetup setup, QWidget* parent)
    : QDialog(parent), context_(context), setup_(std::move(setup)), report_(this) {
    setObjectName(setup_.objectName);
    setWindowTitle(setup_.caption);
    setModal(true);

    auto* top = new QVBoxLayout(this);
    // The window fits its content, and shrinks back when the progress bar hides.
    top->setSizeConstraint(QLayout::SetFixedSize);
    auto* body = new QHBoxLayout;
    top->addLayout(body);
    fields_ = new QFormLayout;
    body->addLayout(fields_);
    controls_ = new QVBoxLayout;
    body->addLayout(controls_, 1);
    fields_->setAlignment(Qt::AlignTop);

    for (int i = 0; i < setup_.dateLabels.size(); ++i) {
        auto* date = new common::DateEdit(QStringLiteral("DateEdit%1").arg(i + 1));
        dates_ << date;
        addField(setup_.dateLabels[i], date);
    }
    suiEdit2 = new QLineEdit;
    suiEdit2->setObjectName(QStringLiteral("suiEdit2"));
    suiEdit2->setMaxLength(10);
    addField(QStringLiteral("&Středisko"), suiEdit2);
    // Outside centrum mode a workstation reports its own cost centre only.
    if (!context_.centrumMode) {
        suiEdit2->setText(context_.costCentre);
        suiEdit2->setReadOnly(true);
    }

    suiProgressBar1 = new QProgressBar;
    suiProgressBar1->setObjectName(QStringLiteral("suiProgressBar1"));
    suiProgressBar1->setRange(0, 100);
    suiProgressBar1->hide();
    Label5 = new QLabel(QStringLiteral("Generace sestavy"));
    Label5->setObjectName(QStringLiteral("Label5"));
    Label5->hide();
    top->addWidget(suiProgressBar1);
    top->addWidget(Label5);

    Button1 = new QPushButton(setup_.runCaption);
    Button1->setObjectName(QStringLiteral("Button1"));
    Button1->setDefault(true);
    Button2 = new QPushButton(QStringLiteral("Zpět"));
    Button2->setObjectName(QStringLiteral("Button2"));
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(Button1);
    buttons->addWidget(Button2);
    buttons_ = buttons;
    top->addLayout(buttons);

    connect(Button1, &QPushButton::clicked, this, [this] {
        if (!running_) common::guarded([this] { Button1Click(); });
    });
    connect(Button2, &QPushButton::clicked, this, common::guard(this, &ReportWindow::Button2Click));
}

void ReportWindow::addField(const QString& label, QWidget* field) {
    auto* caption = new QLabel(label);
    caption->setBuddy(field);
    fields_->addRow(caption, field);
}

void ReportWindow::addControl(QWidget* control) {
    controls_->addWidget(control);
}

QGroupBox* ReportWindow::addRadioGroup(const char* name, const QString& title, const QStringList& items, QButtonGroup*& group) {
    auto* box = new QGroupBox(title);
    box->setObjectName(QLatin1String(name));
    auto* layout = new QVBoxLayout(box);
    group = new QButtonGroup(box);
    for (int i = 0; i < items.size(); ++i) {
        auto* button = new QRadioButton(items[i]);
        group->addButton(button, i);
        layout->addWidget(button);
    }
    group->button(0)->setChecked(true);
    addControl(box);
    return box;
}

void ReportWindow::addButton(QPushButton* button) {
    static_cast<QHBoxLayout*>(buttons_)->insertWidget(buttons_->count() - 1, button);
}

void ReportWindow::Button2Click() {
    close();
}

QString ReportWindow::scratch(const QString& suffix) const {
    return db::scratchTable(context_.workstation(), suffix);
}

void ReportWindow::run(const std::function<void()>& body) {
    RunFlag flag(running_);
    body();
}

void ReportWindow::showProgress(int position) {
    if (setup_.progressBar) {
        suiProgressBar1->show();
        if (position >= 0) suiProgressBar1->setValue(position);
    }
    QCoreApplication::processEvents();
}

void ReportWindow::step(const QString& sql, int position) {
    context_.connection.execute(sql);
    showProgress(position);
}

void ReportWindow::runSteps(const QList<ReportStep>& steps) {
    for (const ReportStep& s : steps) {
        if (s.sql.isEmpty()) showProgress(s.position);
        else step(s.sql, s.position);
    }
}

const db::ResultSet& ReportWindow::openResult(const QString& sql) {
    result_ = db::ResultSet();
    result_ = context_.connection.query(sql);
    showProgress(100);
    if (setup_.progressBar) Label5->show();
    QCoreApplication::processEvents();
    return result_;
}

ReportWindow::Variables ReportWindow::periodVariables() const {
    return {{QStringLiteral("oddata"), dates_.value(0) ? dates_[0]->text() : QString()},
            {QStringLiteral("dodata"), dates_.value(1) ? dates_[1]->text() : QString()}};
}

ReportWindow::Variables ReportWindow::costCentreVariable() const {
    return {{QStringLiteral("stredisko"), suiEdit2->text()}};
}

void ReportWindow::handOff(const QString& templateName, const Variables& variables) {
    report_.loadTemplate(QStringLiteral("fr3/") + templateName);
    report_.setDataset(result_);
    for (const auto& [name, text] : variables) report_.setVariable(name, text);
    report_.show();
}

void ReportWindow::endRun() {
    report_.setDataset({});
    result_ = db::ResultSet();
    suiProgressBar1->hide();
    Label5->hide();
}

void ReportWindow::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (shown_) return;
    shown_ = true;
    restoreDates();
}

void ReportWindow::done(int result) {
    if (running_) return;
    saveDates();
    common::guarded([this] { dropScratchTables(); });
    QDialog::done(result);
}

void ReportWindow::restoreDates() {
    if (setup_.stateSection.isEmpty()) return;
    const common::FormStorage state;
    for (int i = 0; i < dates_.size(); ++i) {
        const QDate date = QDate::fromString(state.readString(setup_.stateSection, dateKey(i), dates_[i]->text()),
                                             dates_[i]->displayFormat());
        if (date.isValid()) dates_[i]->setDate(date);
    }
}

void ReportWindow::saveDates() {
    if (setup_.stateSection.isEmpty()) return;
    common::FormStorage state;
    for (int i = 0; i < dates_.size(); ++i) state.write(setup_.stateSection, dateKey(i), dates_[i]->text());
}

void ReportWindow::dropScratchTables() {
    for (const QString& suffix : setup_.closingDrops)
        context_.connection.execute(QStringLiteral("DROP TABLE IF EXISTS ") + scratch(suffix));
}

} // namespace dorvik::reporting
