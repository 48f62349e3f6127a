#pragma once

#include "common/prompter.h"
#include "common/registercontext.h"
#include "db/editabletable.h"
#include "db/resultset.h"

#include <QDialog>
#include <QHash>

class QDateEdit;
class QFrame;
class QLabel;
class QLineEdit;
class QPushButton;
class QShortcut;

namespace dorvik::common {
class GridModel;
class GridView;
} // namespace dorvik::common

namespace dorvik::pickers {
class TFnabadres;
class TFnabzakaz;
class TFnabzbozi;
} // namespace dorvik::pickers

namespace dorvik::issue {

// The program's shared pickers the editor sets up and shows.
struct EditorPickers {
    pickers::TFnabzbozi& goods;
    pickers::TFnabadres& addresses;
    pickers::TFnabzakaz& orders;
};

// The issue document editor ("Dorvik"): one delivery note or internal issue slip, edited
// in the workstation's scratch tables tmp<PC>dl and tmp<PC>dlrad and written back by
// "Uložit" in one transaction. Shown modally by the register:
//
//   TFvydej w(context, 'N', 0, internal, terminalEnabled, pickers);
//   w.exec();
//   return w.documentNumber(); // 0 when a new document was not saved
class TFvydej : public QDialog {
    Q_OBJECT
public:
    TFvydej(const common::RegisterContext& context, QChar documentMode, qint64 documentNumber, bool internal,
            bool terminalEnabled, const EditorPickers& pickers, QWidget* parent = nullptr);
    ~TFvydej() override;

    qint64 documentNumber() const { return number_; }
    const QString& terminalKey() const { return terminalKey_; }
    bool lineOpen() const;

    // The handlers, named after their controls.
    void FormShow();
    void EditICOExit(QWidget* next);
    void suiDBEdit1Exit(QWidget* next) { EditICOExit(next); }
    void Button8Click();  // Nabídka F3: address picker
    void Button1Click();  // Nabídka: order picker
    void Button9Click();  // Uložit
    void Button10Click(); // Zpět
    void Button2Click();  // Přidat
    void ButtonOpravitClick();
    void suiButton1Click(); // Smazat řádek
    void suiButton2Click(); // Terminál
    void Edit1Exit(QWidget* next);
    void DBEdit4Exit(QWidget* next); // also the price field's exit
    void Button3Click();  // Nabídka F3: goods picker
    void suiButton3Click(); // T
    void Button4Click();  // Zapsat
    void Button5Click();  // Zpět of the line panel
    void SoucetD();       // the totals

public slots:
    void done(int result) override;

protected:
    void showEvent(QShowEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void build();
    QWidget* buildHeader();
    QWidget* buildLinePanel();
    void PripravNovy();
    void PripravOprava();
    void nactiCiselniky();
    void setHeaderKeys(bool on);
    void setLineKeys(bool on);
    void showHeader();
    void showLine();
    void showLines(int currentRow);
    void setHeader(const QString& column, const QVariant& value);
    void takePartner(const db::ResultSet& partners, int row);
    void openPanel();
    void closeStep();
    QString lineText(const QString& column) const;
    double lineNumber(const QString& column) const;
    bool refuseEntry(const QString& text);

    common::RegisterContext context_;
    QChar mode_;
    qint64 number_;
    bool internal_;
    EditorPickers pickers_;
    QString terminalKey_;
    QByteArray copied_; // a correction: the stamp of the document as it was copied
    bool shown_ = false;
    bool closed_ = false;
    bool inExit_ = false;
    bool showing_ = false;
    common::MessageBox messages_{QStringLiteral("Vezorar výdej")};

    db::EditableTable header_;
    db::EditableTable lines_;
    db::ResultSet partners_;
    QHash<qint64, QString> fastNumbers_; // FOFRCISLO -> JKPOV, the first of each

    QDateEdit* DBDateEdit1;
    QLineEdit* EditICO;
    QLineEdit* DBEdit8;
    QLineEdit* DBEdit10;
    QLineEdit* DBEdit7;
    QLineEdit* suiDBEdit1;
    QLineEdit* DBEdit9;
    QLineEdit* DBEdit11;
    QLineEdit* suiDBEdit2;
    QLineEdit* suiDBEdit3;
    QLineEdit* suiDBEdit4;
    QPushButton* Button8;
    QPushButton* Button1;
    QPushButton* Button9;
    QPushButton* Button10;
    QLabel* Label15;
    QLabel* Label20;
    QLineEdit* EditSoucetS;
    QLineEdit* EditSoucetN;
    QLineEdit* EditSoucetV;
    QLineEdit* EditSoucetC;
    QLineEdit* EditCelkemDPH;

    common::GridModel* linesModel_;
    common::GridView* DBGrid1;
    QPushButton* Button2;
    QPushButton* ButtonOpravit;
    QPushButton* suiButton1;
    QPushButton* suiButton2;

    QFrame* PanelRadek;
    QLineEdit* Edit1;
    QPushButton* Button3;
    QLineEdit* EditJKP;
    QLineEdit* DBEdit1;
    QLineEdit* DBEdit2;
    QPushButton* suiButton3;
    QLineEdit* DBEdit4;
    QLineEdit* DBEdit3;
    QLabel* LabelDPH;
    QLineEdit* DBEdit12;
    QLabel* LabelPC;
    QLineEdit* DBEdit5;
    QLineEdit* DBEdit6;
    QPushButton* Button4;
    QPushButton* Button5;

    QList<QShortcut*> headerKeys_;
    QList<QShortcut*> lineKeys_;
};

} // namespace dorvik::issue
