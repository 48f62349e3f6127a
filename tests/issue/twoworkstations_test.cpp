#include "editorfixture.h"

#include "invoicing/invoicebuilder.h"
#include "invoicing/invoicegeneration.h"
#include "support/loopbackproxy.h"

#include <QDateEdit>
#include <QThread>

using namespace dorvik;
using test::EditorTest;

namespace {

// Another workstation of the shop: its own connection and workstation number.
class TwoWorkstationsTest : public EditorTest {
protected:
    void SetUp() override {
        EditorTest::SetUp();
        resetTables({"fakt"});
        other.setSettings(test::testServerSettings());
        other.open();
        otherSettings.workstation = QStringLiteral("02");
        exec("INSERT INTO dl (CISLODOKLA, STREDISKO, DATUM, ICO, CISLOFAKT) VALUES (3241005, '1', '2024-05-02 10:00:00',"
             " '12345678', '')");
        exec("INSERT INTO dlrad (CISLODOKLA, STREDISKO, JKPOV, MNOZ, PC, PCR, DPH) VALUES (3241005, '1', 'STARA', 1, 5, 5, 21)");
    }
    // The other workstation makes the document's invoice.
    qint64 invoiceOnOther() {
        invoicing::InvoiceRequest r;
        r.workstation = otherSettings.workstation;
        r.documentText = QStringLiteral("3241005");
        r.document = invoicing::DocumentHeader::fromRow(other.query(invoicing::documentHeaderSql(r.documentText)), 0);
        r.plneni = r.document.datum;
        r.vystaveni = r.splatnost = QDate(2024, 5, 3);
        r.uhrada = QStringLiteral("Hotově");
        r.settingsPath = QStringLiteral("/nonexistent/velmo.ini");
        return invoicing::generateInvoice(other, r);
    }
    QStringList storedLines() {
        QStringList items;
        const db::ResultSet r = query("select JKPOV from dlrad where CISLODOKLA=3241005 order by JKPOV");
        for (int i = 0; i < r.rowCount(); ++i) items << r.text(i, 0);
        return items;
    }

    db::Connection other;
    common::StartupSettings otherSettings;
};

TEST_F(TwoWorkstationsTest, ACorrectionSavedAfterTheOtherInvoicedTheDocumentWritesNothing) {
    auto w = openEditor(u'O', 3241005);
    addLine(w.get(), "7", "1");
    const qint64 invoice = invoiceOnOther();
    press(w.get(), "Button9");
    EXPECT_TRUE(prompter.lastText().contains(QString::fromUtf8("mezitím změnila jiná stanice"))) << prompter.lastText().toStdString();
    EXPECT_TRUE(w->isVisible());
    EXPECT_EQ(query("select CISLOFAKT from dl where CISLODOKLA=3241005").text(0, 0), QString::number(invoice));
    EXPECT_EQ(storedLines(), QStringList({"STARA"}));
    // The document keeps its one invoice: another one is refused.
    EXPECT_THROW(invoiceOnOther(), invoicing::InvoiceRefused);
    EXPECT_EQ(count("select count(distinct CFAKT) from fakt"), 1);
}

TEST_F(TwoWorkstationsTest, OfTwoCorrectionsTheLaterIsRefusedAndTheEarlierKept) {
    auto mine = openEditor(u'O', 3241005);
    auto theirs = openEditorOn(other, otherSettings, u'O', 3241005);
    addLine(theirs.get(), "7", "1");
    press(theirs.get(), "Button9");
    EXPECT_FALSE(theirs->isVisible());
    QApplication::setActiveWindow(mine.get());
    addLine(mine.get(), "2345", "2");
    press(mine.get(), "Button9");
    EXPECT_TRUE(prompter.lastText().contains(QString::fromUtf8("mezitím změnila jiná stanice")));
    EXPECT_TRUE(mine->isVisible());
    EXPECT_EQ(storedLines(), QStringList({"HREBIK", "STARA"}));
}

TEST_F(TwoWorkstationsTest, TwoWorkstationsInvoicingOneDocumentAtOnceMakeOneInvoice) {
    struct Outcome {
        qint64 number = 0;
        QString refusal;
    } outcomes[2];
    db::Connection second;
    second.setSettings(test::testServerSettings());
    second.open();
    invoicing::InvoiceRequest r;
    r.documentText = QStringLiteral("3241005");
    r.document = invoicing::DocumentHeader::fromRow(query(invoicing::documentHeaderSql(r.documentText)), 0);
    r.plneni = r.document.datum;
    r.vystaveni = r.splatnost = QDate(2024, 5, 3);
    r.settingsPath = QStringLiteral("/nonexistent/velmo.ini");
    const auto run = [&](db::Connection& c, const QString& pc, Outcome& o) {
        invoicing::InvoiceRequest mine = r;
        mine.workstation = pc;
        try {
            o.number = invoicing::generateInvoice(c, mine);
        } catch (const invoicing::InvoiceRefused& e) {
            o.refusal = e.text();
        }
    };
    std::thread a([&] { run(other, "02", outcomes[0]); });
    std::thread b([&] { run(second, "03", outcomes[1]); });
    a.join();
    b.join();
    EXPECT_EQ((outcomes[0].number > 0) + (outcomes[1].number > 0), 1);
    EXPECT_TRUE((outcomes[0].refusal + outcomes[1].refusal).contains(QString::fromUtf8("už má fakturu")));
    EXPECT_EQ(count("select count(distinct CFAKT) from fakt"), 1);
    // Its own invoice is still rewritten under the same number.
    const qint64 number = outcomes[0].number + outcomes[1].number;
    r.existingNumber = number;
    r.workstation = QStringLiteral("02");
    EXPECT_EQ(invoicing::generateInvoice(other, r), number);
}

TEST_F(EditorTest, AConnectionKilledJustBeforeUlozitStillSaves) {
    auto w = openEditor();
    addLine(w.get(), "7", "1");
    db::Connection other;
    other.setSettings(test::testServerSettings());
    other.open();
    other.execute(QStringLiteral("KILL %1").arg(db().threadId()));
    QThread::msleep(100);
    press(w.get(), "Button9");
    EXPECT_FALSE(w->isVisible()) << prompter.lastText().toStdString();
    EXPECT_EQ(count(QStringLiteral("select count(*) from dlrad where CISLODOKLA=%1 and JKPOV='HREBIK'").arg(w->documentNumber())), 1);
}

TEST_F(EditorTest, ASaveWhoseCommitAnswerIsLostIsToldAsItEnded) {
    struct Case {
        bool reachesServer;
        const char* told;
        bool saved;
    };
    const Case cases[] = {{true, "doklad 3241001 ale byl uložen", true}, {false, "Doklad nebyl uložen", false}};
    for (const Case& k : cases) {
        SCOPED_TRACE(k.told);
        resetTables({"dl", "dlrad"});
        test::LoopbackProxy proxy(test::testServerSettings().port);
        db::Connection relayed;
        db::ConnectionSettings s = test::testServerSettings();
        s.port = proxy.port();
        relayed.setSettings(s);
        relayed.open();
        auto w = openEditorOn(relayed, settings, u'N', 0);
        addLine(w.get(), "7", "1");
        w->findChild<QDateEdit*>("DBDateEdit1")->setDate(QDate(2024, 6, 1));
        proxy.loseAnswerTo("COMMIT", k.reachesServer);
        press(w.get(), "Button9");
        EXPECT_TRUE(prompter.lastText().contains(QString::fromUtf8(k.told))) << prompter.lastText().toStdString();
        EXPECT_EQ(count("select count(*) from dl"), k.saved ? 1 : 0);
        EXPECT_EQ(w->isVisible(), !k.saved);
        if (k.saved) continue;
        // Nothing was written and nothing typed is lost: the same save goes through now.
        EXPECT_TRUE(child<QPushButton>(w.get(), "Button9")->isEnabled());
        press(w.get(), "Button9");
        EXPECT_FALSE(w->isVisible());
        EXPECT_EQ(w->documentNumber(), 3241001);
        EXPECT_EQ(count("select count(*) from dlrad where CISLODOKLA=3241001 and JKPOV='HREBIK'"), 1);
    }
}

TEST_F(EditorTest, CharactersTheDatabaseCannotHoldAreRefusedWhereTyped) {
    auto w = openEditor();
    QLineEdit* text = child(w.get(), "suiDBEdit2");
    text->setFocus();
    type(text, QString::fromUtf8("Děkujeme"));
    for (const char* foreign : {"😀", "日", "Д"}) {
        SCOPED_TRACE(foreign);
        // One key, as a keyboard or input method gives it (an emoji is two UTF-16 units).
        QTest::sendKeyEvent(QTest::Press, text, Qt::Key_unknown, QString::fromUtf8(foreign), Qt::NoModifier);
        QCoreApplication::processEvents();
        EXPECT_EQ(text->text(), QString::fromUtf8("Děkujeme"));
        EXPECT_TRUE(prompter.lastText().contains(QString::fromUtf8(foreign))) << prompter.lastText().toStdString();
    }
    addLine(w.get(), "7", "1");
    press(w.get(), "Button9");
    EXPECT_EQ(query("select TEXT1 from dl").text(0, 0), QString::fromUtf8("Děkujeme"));
}

TEST_F(EditorTest, NanAndInfAreNoQuantities) {
    auto w = openEditor();
    for (const char* notANumber : {"nan", "inf"}) {
        SCOPED_TRACE(notANumber);
        addLine(w.get(), "7", notANumber);
        EXPECT_EQ(prompter.lastText(), QStringLiteral("'%1' není platné číslo").arg(notANumber));
        press(w.get(), "Button5");
    }
    EXPECT_EQ(count("select count(*) from tmp01dlrad"), 0);
}

} // namespace
