#include "invoicing/tfvytfakt.h"
#include "invoicingfixture.h"

#include <QApplication>
#include <QComboBox>
#include <QDateEdit>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QTest>

using namespace dorvik;
using invoicing::TFvytfakt;
using test::InvoicingTest;

namespace {

class WindowTest : public InvoicingTest {
protected:
    std::unique_ptr<TFvytfakt> openWindow(int document, qint64 invoiceNumber = 0) {
        auto w = std::make_unique<TFvytfakt>(contextFor(document), invoiceNumber, nullptr, iniPath());
        w->show();
        QApplication::processEvents();
        return w;
    }
    template <typename T> static T* field(TFvytfakt& w, const char* name) {
        T* f = w.findChild<T*>(name);
        EXPECT_NE(f, nullptr) << name;
        return f;
    }
    static QDate date(TFvytfakt& w, const char* name) { return field<QDateEdit>(w, name)->date(); }
    static void choosePayment(TFvytfakt& w, const QString& kind) {
        QLineEdit* edit = field<QComboBox>(w, "suiComboBox1")->lineEdit();
        edit->selectAll();
        // Typed as the user would; keyClicks takes ASCII only.
        for (const QChar c : kind) QTest::sendKeyEvent(QTest::Click, edit, Qt::Key_unknown, QString(c), Qt::NoModifier);
    }
};

TEST_F(WindowTest, ShowsTheDocumentAndTheDueDateFollowsIssueDateDaysAndPaymentKind) {
    addDocument(3261001, "2026-03-10");
    addLine(3261001, "Hřebík", 21, 100);
    auto w = openWindow(3261001);
    EXPECT_EQ(w->windowTitle(), "Vytvoření faktury");
    EXPECT_EQ(field<QLineEdit>(*w, "EditCisloDL")->text(), "3261001");
    EXPECT_EQ(field<QLineEdit>(*w, "EditICO")->text(), "44556677");
    EXPECT_EQ(field<QLineEdit>(*w, "DBEdit8")->text(), "Stavby Novák");
    EXPECT_EQ(field<QLineEdit>(*w, "DBEdit7")->text(), "Dlouhá 5");
    EXPECT_EQ(field<QLineEdit>(*w, "suiEditCisFa")->text(), "");
    EXPECT_EQ(date(*w, "DateEdit1"), QDate(2026, 3, 10));
    EXPECT_EQ(date(*w, "DateEdit2"), QDate::currentDate());
    EXPECT_EQ(date(*w, "DateEdit3"), QDate::currentDate().addDays(14));
    EXPECT_EQ(field<QComboBox>(*w, "suiComboBox1")->currentText(), "Převodním příkazem");

    auto* days = field<QSpinBox>(*w, "RxSpinEdit1");
    choosePayment(*w, "Dobírkou");
    EXPECT_EQ(days->value(), 14);
    choosePayment(*w, "Kartou");
    EXPECT_EQ(days->value(), 0);
    EXPECT_EQ(date(*w, "DateEdit3"), date(*w, "DateEdit2"));
    field<QDateEdit>(*w, "DateEdit2")->setDate(QDate(2026, 3, 20));
    EXPECT_EQ(date(*w, "DateEdit3"), QDate(2026, 3, 20));
    days->setValue(7);
    EXPECT_EQ(date(*w, "DateEdit3"), QDate(2026, 3, 27));

    writePrefix(2); // read when the number is taken, not when the window opens
    field<QPushButton>(*w, "Button1")->click();
    EXPECT_EQ(prompter.lastText(), "Vytvořena faktura 2062611001");
    EXPECT_EQ(prompter.asked.last().caption, "Vezorar fakturace");
    EXPECT_EQ(prompter.asked.last().icon, common::MessageIcon::Information);
    EXPECT_FALSE(w->isVisible());
    const db::ResultSet rows = invoice(2062611001);
    ASSERT_EQ(rows.rowCount(), 2);
    EXPECT_EQ(rows.text(0, "UHRADA"), "Kartou");
    EXPECT_EQ(rows.date(0, rows.columnIndex("VYSTAVENI")), QDate(2026, 3, 20));
    EXPECT_EQ(rows.date(0, rows.columnIndex("SPLATNOST")), QDate(2026, 3, 27));
}

TEST_F(WindowTest, EveryFieldCarriesItsLabel) {
    addDocument(3261001, "2026-03-10");
    auto w = openWindow(3261001);
    const std::pair<const char*, const char*> labelled[] = {
        {"EditICO", "IČO"}, {"DBEdit8", "Název"}, {"DBEdit10", "Sídlo"}, {"DateEdit1", "Datum DPH"},
        {"DateEdit2", "Datum vystavení"}, {"RxSpinEdit1", "Splatnost"}, {"DateEdit3", "Datum splatnosti"},
        {"EditCisloDL", "Doklad"}, {"suiEditCisFa", "Faktura"}, {"EditCelkemDPH", "Celkem s DPH"}};
    for (const auto& [name, caption] : labelled) {
        QWidget* f = field<QWidget>(*w, name);
        QString found;
        for (QLabel* l : w->findChildren<QLabel*>())
            if (l->buddy() == f) found = l->text().remove(u'&');
        EXPECT_EQ(found, QString::fromUtf8(caption)) << name;
    }
    EXPECT_FALSE(field<QWidget>(*w, "DBEdit7")->accessibleName().isEmpty());
    EXPECT_FALSE(field<QWidget>(*w, "suiComboBox1")->accessibleName().isEmpty());
}

TEST_F(WindowTest, AClosedPeriodRefusesTheInvoiceAndKeepsTheWindowOpen) {
    exec("UPDATE velmo SET uzavreneuo = '201312'");
    addDocument(3131001, "2013-12-31 23:59:00");
    addDocument(3141001, "2014-01-01");
    {
        auto w = openWindow(3131001);
        field<QPushButton>(*w, "Button1")->click();
        EXPECT_EQ(prompter.lastText(), "Datum DPH je v již uzavřeném ÚO!");
        EXPECT_EQ(prompter.asked.last().buttons, QStringList({"Zpět"}));
        EXPECT_EQ(prompter.asked.last().icon, common::MessageIcon::Stop);
        EXPECT_TRUE(w->isVisible());
        EXPECT_EQ(count("select count(*) from fakt"), 0);
        EXPECT_EQ(invoiceMark(3131001), " ");
    }
    auto w = openWindow(3141001);
    field<QPushButton>(*w, "Button1")->click();
    EXPECT_TRUE(prompter.lastText().startsWith("Vytvořena faktura 626"));
    EXPECT_EQ(invoiceMark(3141001), prompter.lastText().section(u' ', 2));
}

TEST_F(WindowTest, DatesInALaterYearAreRefusedButTheDueDateMayFallThere) {
    const QDate today = QDate::currentDate();
    const QDate nextYear = today.addYears(1);
    addDocument(3261001, nextYear.toString("yyyy-MM-dd"));
    addDocument(3261002, today.toString("yyyy-MM-dd"));
    const struct {
        int document;
        QDate issued;
        const char* field;
    } cases[] = {{3261001, today, "DateEdit1"}, {3261002, nextYear, "DateEdit2"}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.field);
        auto w = openWindow(c.document);
        field<QDateEdit>(*w, "DateEdit2")->setDate(c.issued);
        field<QPushButton>(*w, "Button1")->click();
        EXPECT_TRUE(prompter.lastText().contains("je v pozdějším roce")) << prompter.lastText().toStdString();
        EXPECT_EQ(prompter.asked.last().icon, common::MessageIcon::Stop);
        EXPECT_TRUE(w->isVisible());
        EXPECT_EQ(QApplication::focusWidget(), field<QDateEdit>(*w, c.field));
        EXPECT_EQ(count("select count(*) from fakt"), 0);
        EXPECT_EQ(invoiceMark(c.document), " ");
    }
    auto w = openWindow(3261002);
    field<QDateEdit>(*w, "DateEdit2")->setDate(QDate(today.year(), 12, 31));
    field<QSpinBox>(*w, "RxSpinEdit1")->setValue(14);
    field<QPushButton>(*w, "Button1")->click();
    EXPECT_TRUE(prompter.lastText().startsWith("Vytvořena faktura")) << prompter.lastText().toStdString();
}

TEST_F(WindowTest, DokladCannotMixTwoDocuments) {
    addDocument(3261001, "2026-03-10");
    addLine(3261001, "Hrebik", 21, 100);
    addDocument(3261002, "2026-03-10");
    addLine(3261002, "Sroub", 21, 50);
    auto w = openWindow(3261001);
    auto* number = field<QLineEdit>(*w, "EditCisloDL");
    EXPECT_TRUE(number->isReadOnly());
    number->setFocus();
    QTest::keyClick(number, Qt::Key_Backspace);
    QTest::keyClicks(number, "2");
    EXPECT_EQ(number->text(), "3261001");
    field<QPushButton>(*w, "Button1")->click();
    ASSERT_TRUE(prompter.lastText().startsWith("Vytvořena faktura")) << prompter.lastText().toStdString();
    EXPECT_EQ(count("select count(*) from fakt where TEXT like '%Sroub%'"), 0);
    EXPECT_EQ(count("select count(*) from fakt where TEXT like '%Hrebik%'"), 1);
    EXPECT_EQ(invoiceMark(3261002), " ");
    EXPECT_EQ(invoiceMark(3261001), prompter.lastText().section(u' ', 2));
}

TEST_F(WindowTest, ShowsTheTotalWithVatTheInvoiceWillCarry) {
    addDocument(3261001, "2026-03-10");
    addLine(3261001, "Hrebik", 21, 100.05); // VAT 21,0105
    addLine(3261001, "Barva", 12, 33.33);   // VAT 3,9996
    addLine(3261001, "Lak", 12, 33.33);     // with the line above 7,9992 on the rate, 8,00
    auto w = openWindow(3261001);
    EXPECT_EQ(field<QLineEdit>(*w, "EditCelkemDPH")->text(), "195,72");
    field<QPushButton>(*w, "Button1")->click();
    const db::ResultSet rows = invoice(prompter.lastText().section(u' ', 2).toLongLong());
    ASSERT_GT(rows.rowCount(), 0);
    EXPECT_NEAR(rows.number(0, "SUMA_FA"), 195.72, 1e-9);
}

TEST_F(WindowTest, TabAndShiftTabLeaveTheDateFields) {
    addDocument(3261001, "2026-03-10");
    auto w = openWindow(3261001);
    QApplication::setActiveWindow(w.get());
    auto* issued = field<QDateEdit>(*w, "DateEdit2");
    const QDate before = issued->date();
    issued->setFocus();
    QTest::keyClick(issued, Qt::Key_Tab);
    EXPECT_NE(QApplication::focusWidget(), issued);
    QTest::keyClicks(QApplication::focusWidget(), "44");
    issued->setFocus();
    QTest::keyClick(issued, Qt::Key_Backtab);
    EXPECT_NE(QApplication::focusWidget(), issued);
    EXPECT_EQ(issued->date(), before);
}

TEST_F(WindowTest, ARewriteKeepsTheInvoicesDatesAndPaymentAndRunsAtOnce) {
    exec("INSERT INTO fakt (CFAKT, STREDISKO, TEXT, VYSTAVENI, SPLATNOST, PLNENI, UHRADA) VALUES"
         " (61311001, '11', 'old', '2013-05-10', '2013-05-24', '2013-05-02', 'Dobírkou'),"
         " (61311001, '11', 'old', '2013-05-10', '2013-05-24', '2013-05-02', 'Dobírkou')");
    addDocument(3131001, "2013-05-03");
    exec("UPDATE dl SET cislofakt = '61311001' WHERE cislodokla = 3131001");
    addLine(3131001, "Opravený řádek", 21, 100);
    addLine(3131001, "Druhý řádek", 21, 100);

    auto w = openWindow(3131001, 61311001);
    QApplication::processEvents();
    EXPECT_EQ(prompter.lastText(), "Vytvořena faktura 61311001");
    EXPECT_FALSE(w->isVisible());
    EXPECT_EQ(w->result(), QDialog::Accepted);
    EXPECT_EQ(field<QLineEdit>(*w, "suiEditCisFa")->text(), "61311001");
    const db::ResultSet rows = invoice(61311001);
    ASSERT_EQ(rows.rowCount(), 3);
    EXPECT_EQ(rows.text(1, "TEXT"), "Opravený řádek");
    EXPECT_EQ(rows.date(0, rows.columnIndex("VYSTAVENI")), QDate(2013, 5, 10));
    EXPECT_EQ(rows.date(0, rows.columnIndex("SPLATNOST")), QDate(2013, 5, 24));
    EXPECT_EQ(rows.date(0, rows.columnIndex("PLNENI")), QDate(2013, 5, 3));
    EXPECT_EQ(rows.text(0, "UHRADA"), "Dobírkou");
    EXPECT_EQ(invoiceMark(3131001), "61311001");
}

TEST_F(WindowTest, ARefusedNumberIsShownInTheWindowsBox) {
    addDocument(3261001, "2026-03-10", "1234");
    auto w = openWindow(3261001);
    field<QPushButton>(*w, "Button1")->click();
    EXPECT_EQ(prompter.asked.last().caption, "Vezorar fakturace");
    EXPECT_EQ(prompter.asked.last().icon, common::MessageIcon::Stop);
    EXPECT_TRUE(prompter.lastText().contains("1234"));
    EXPECT_TRUE(w->isVisible());
    EXPECT_EQ(count("select count(*) from fakt"), 0);
}

} // namespace
