#pragma once

#include "common/gridmodel.h"
#include "common/prompter.h"
#include "db/connection.h"
#include "db/editabletable.h"
#include "masterdata/copyedit.h"

#include <QDialog>
#include <QList>
#include <QSet>

class QComboBox;
class QDateEdit;
class QGridLayout;
class QLabel;
class QLineEdit;
class QPushButton;
class QVBoxLayout;

namespace dorvik::common {
class GridView;
}
namespace dorvik::pickers {
class TFnabadres;
}

namespace dorvik::masterdata {

// What makes one master-data window of the copy-edit kind.
struct CopyEditSetup {
    QString objectName;
    QString caption;
    QString messageCaption;
    CopyEditTable table;
    QString listQuery;
    QList<common::GridColumn> columns;
    QString editButtonName; // the object name of "Opravit"
    bool doubleClickEdits = false;
    bool dropScratchOnClose = false;
};

// A list over a master table and an edit panel over a scratch copy of one row:
// "Přidat" and "Opravit" make the copy, the panel's fields change it, "Zapsat" puts it in
// place of the master row in one transaction, "Zpět" drops it. A title click sorts the
// list and opens "Hledat". The windows add their fields and buttons to the panel.
class CopyEditWindow : public QDialog {
    Q_OBJECT
public:
    ~CopyEditWindow() override;

    void FormShow();
    void Button2Click();      // Přidat
    void ButtonOpravitClick(); // Opravit
    void Button4Click();      // Zapsat
    void Button5Click();      // Zpět
    void Button6Click();      // Nabídka

    bool editing() const;
    common::GridModel& list() { return *model_; }
    const QString& scratchTable() const { return scratch_.table(); }

protected:
    // With an address picker the panel has "Nabídka", which takes the row's partner from it.
    CopyEditWindow(db::Connection& connection, const QString& workstation, CopyEditSetup setup,
                   pickers::TFnabadres* addresses, QWidget* parent);

    // Panel fields in the panel's grid at (row, col), each with its label as buddy. A field
    // without a label is the second of a pair: it joins the field added before it, and the
    // caller gives it an accessible name.
    QLineEdit* addTextField(const QString& name, const QString& label, const QString& column, int row, int col = 0);
    QLineEdit* addNumberField(const QString& name, const QString& label, const QString& column, int row, int col = 0);
    QDateEdit* addDateField(const QString& name, const QString& label, const QString& column, int row, int col = 0);
    QComboBox* addChoiceField(const QString& name, const QString& label, const QString& column, const QStringList& items,
                              int row, int col = 0);
    QPushButton* addListButton(const QString& name, const QString& caption);
    void setFirstField(QWidget* field) { firstField_ = field; }
    // Tab order: the panel's fields in the order they were added, then its buttons.
    void finishPanel();

    // The list's current row in result order, -1 when the list is empty.
    int currentRow() const;
    qint64 currentId() const;
    void loadList(qint64 locateId = -1);
    // Sets a column of the scratch row (entering editing of it) and shows it.
    void setScratch(const QString& column, const QVariant& value);
    QWidget* fieldOf(const QString& column) const;

    // Runs inside the write's transaction after the insert, with the row as stored in the
    // scratch table and the id the row has now; false refuses the write (rolled back).
    virtual bool afterInsert(const db::ResultSet& scratchRow, qint64 id);

    void done(int result) override;
    void showEvent(QShowEvent* event) override;

    db::Connection& connection_;
    const QString workstation_;
    const CopyEditSetup setup_;
    common::MessageBox messages_;
    common::GridModel* model_;
    common::GridView* DBGrid1;
    QPushButton* Button1;
    QPushButton* Button2;
    QPushButton* ButtonOpravit;
    QWidget* Panel1;
    QPushButton* Button4;
    QPushButton* Button5;
    QPushButton* Button6 = nullptr;

private:
    enum class Kind { Text, Number, Date, Choice };
    struct Field {
        QWidget* widget;
        QString column;
        Kind kind;
    };
    QLabel* labelFor(const QString& text, QWidget* field);
    void addField(QWidget* widget, const QString& label, const QString& column, Kind kind, int row, int col);
    // A field's new value goes into the scratch row while it is being edited.
    void changed(const QString& column, const QVariant& value);
    void openScratch();
    void showScratch();
    void storeNumbers();
    void closePanel();

    pickers::TFnabadres* addresses_;
    db::EditableTable scratch_;
    QList<Field> fields_;
    QSet<QString> typedNumbers_;
    QGridLayout* fieldGrid_;
    QVBoxLayout* listButtons_;
    QList<QPushButton*> panelButtons_;
    QWidget* firstField_ = nullptr;
    bool filling_ = false;
};

} // namespace dorvik::masterdata
