#pragma once

#include "common/registercontext.h"
#include "db/resultset.h"
#include "reporting/reportrunner.h"
#include "reporting/reportstep.h"

#include <QDialog>
#include <QPair>
#include <QStringList>
#include <functional>

class QButtonGroup;
class QDateEdit;
class QFormLayout;
class QGroupBox;
class QLabel;
class QLineEdit;
class QProgressBar;
class QPushButton;
class QVBoxLayout;

namespace dorvik::reporting {

// What sets one report window apart from the others that share ReportWindow.
struct ReportWindowSetup {
    QString objectName;        // "Fsest1"
    QString caption;           // "Sestavy sklad"
    QStringList dateLabels;    // one date field per label: DateEdit1, DateEdit2, ...
    QString stateSection;      // remembers the date fields' texts there; empty: nothing is remembered
    QString runCaption = QStringLiteral("OK"); // Button1
    QStringList closingDrops;  // scratch table suffixes dropped, in this order, whenever the window closes
    bool progressBar = true;   // false: a run of one select shows neither the bar nor "Generace sestavy"
};

// The report-window pattern: the cost-centre field under the register's rule, date fields
// that may be remembered in the state file, statements sent one at a time with the progress
// bar and the screen kept alive, the final select handed to the report runner, and the
// scratch tables dropped on closing. "OK" and "Zpět" do nothing while a run is under way:
// a second run would drop the tables the first is still filling.
class ReportWindow : public QDialog {
    Q_OBJECT
public:
    using Variables = QList<QPair<QString, QString>>;

    ReportWindow(const common::RegisterContext& context, ReportWindowSetup setup, QWidget* parent = nullptr);

    ReportRunner& report() { return report_; }
    // The open final select (empty when none is open).
    const db::ResultSet& result() const { return result_; }
    bool running() const { return running_; }

    // The run behind Button1.
    virtual void Button1Click() = 0;
    void Button2Click();

protected:
    void showEvent(QShowEvent* event) override;
    void done(int result) override;

    // Layout: a labelled field in the fields column, anything else below it.
    void addField(const QString& label, QWidget* field);
    void addControl(QWidget* control);
    // A titled group of radio buttons, ids 0.. in the order of the items, the first checked.
    QGroupBox* addRadioGroup(const char* name, const QString& title, const QStringList& items, QButtonGroup*& group);
    // Extra buttons go beside "OK" and "Zpět".
    void addButton(QPushButton* button);

    db::Connection& connection() { return context_.connection; }
    QString scratch(const QString& suffix) const;
    QDateEdit* dateField(int index) const { return dates_.at(index); }

    // Runs `body` as one run: Button1 and Button2 are inert meanwhile; errors propagate.
    void run(const std::function<void()>& body);
    // Shows the bar at `position` (a negative one leaves it) and lets the window repaint.
    void showProgress(int position);
    // One statement, then the bar at `position`.
    void step(const QString& sql, int position);
    // The steps in order, each as step() (an empty statement only moves the bar).
    void runSteps(const QList<ReportStep>& steps);
    // Opens the final select as the window's result: the bar at 100 and "Generace sestavy".
    const db::ResultSet& openResult(const QString& sql);
    // Loads fr3/<templateName>, binds the result, sets the variables and shows the report.
    void handOff(const QString& templateName, const Variables& variables);
    // oddata and dodata: the two date fields' texts as displayed.
    Variables periodVariables() const;
    // stredisko: the cost-centre field's text, empty for every cost centre.
    Variables costCentreVariable() const;
    // Hides the bar and the label and releases the result.
    void endRun();

    common::RegisterContext context_;
    QLineEdit* suiEdit2;
    QPushButton* Button1;
    QPushButton* Button2;
    QProgressBar* suiProgressBar1;
    QLabel* Label5;

private:
    void restoreDates();
    void saveDates();
    void dropScratchTables();

    ReportWindowSetup setup_;
    QList<QDateEdit*> dates_;
    QFormLayout* fields_;
    QVBoxLayout* controls_;
    QLayout* buttons_;
    ReportRunner report_;
    db::ResultSet result_;
    bool running_ = false;
    bool shown_ = false;
};

} // namespace dorvik::reporting
