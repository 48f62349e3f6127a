#include "masterdatafixture.h"
#include "masterdata/tfzakarty.h"
#include "reporting/preparedreport.h"
#include "support/files.h"

#include <QComboBox>
#include <algorithm>
#include <zint.h>

using namespace dorvik;
using masterdata::TFzakarty;

namespace {

class CardsTest : public test::MasterDataTest {
protected:
    void SetUp() override {
        MasterDataTest::SetUp();
        resetTables({"zakarty"});
        exec("INSERT INTO zakarty (id, CISLOKARTY, PLATI, ICO, NAZEVPODNI, DATUMZAL, SLEVA, SUMAKC) VALUES"
             " (12, '20900012', 'A', '45274649', 'Novák stavebniny', '2025-03-01 10:00:00', 5, 1520.5),"
             " (40, '', 'A', '', 'Karta z pokladny', '2025-04-01 09:00:00', 3, 0)");
        window.show();
    }

    // Přidat, the holder's name, Zapsat: the new card's id.
    qint64 addCard(const QString& holder) {
        press(&window, "Button2");
        test::typeText(child(&window, "DBEdit8"), holder);
        press(&window, "Button4");
        return query("select max(id) from zakarty").integer(0, 0);
    }

    TFzakarty window{db(), test::Workstation, addresses};
};

TEST_F(CardsTest, ANewCardIsNumberedFromItsIdValidAndCreatedNow) {
    EXPECT_EQ(listed(window.list(), "NAZEVPODNI"), QStringList({"Karta z pokladny", QString::fromUtf8("Novák stavebniny")}));
    press(&window, "Button2");
    EXPECT_EQ(window.focusWidget(), child(&window, "DBEdit10"));
    EXPECT_TRUE(child(&window, "suiDBEdit1")->isReadOnly());
    test::typeText(child(&window, "DBEdit8"), QString::fromUtf8("Jana Dvořáková"));
    press(&window, "Button4");
    EXPECT_TRUE(prompter.asked.isEmpty()) << prompter.lastText().toStdString();
    const db::ResultSet r = query("select id, CISLOKARTY, PLATI, SLEVA, TIMESTAMPDIFF(SECOND, DATUMZAL, NOW()) age from zakarty"
                                  " where NAZEVPODNI = 'Jana Dvořáková'");
    ASSERT_EQ(r.rowCount(), 1);
    EXPECT_EQ(r.integer(0, "id"), 41);
    EXPECT_EQ(r.text(0, "CISLOKARTY"), "20900041");
    EXPECT_EQ(r.text(0, "PLATI"), "A");
    EXPECT_EQ(r.number(0, "SLEVA"), 0);
    EXPECT_LE(r.integer(0, "age"), 5);
}

TEST_F(CardsTest, AnOldCardWithoutANumberGetsItsOwnNotTheLastInsertedOne) {
    // The connection's last generated id belongs to another card.
    exec("INSERT INTO zakarty (CISLOKARTY, NAZEVPODNI) VALUES ('POKLADNA7', 'Jiná karta')");
    const qint64 other = query("select LAST_INSERT_ID()").integer(0, 0);
    select(window, 40);
    press(&window, "ButtonOpravit");
    press(&window, "Button4");
    EXPECT_EQ(query("select CISLOKARTY from zakarty where id = 40").text(0, 0), "20900040");
    EXPECT_EQ(query(QStringLiteral("select CISLOKARTY from zakarty where id = %1").arg(other)).text(0, 0), "POKLADNA7");
}

TEST_F(CardsTest, ANumberedCardKeepsItsNumberWhenChangedOrMadeInvalid) {
    QStringList expected = row("zakarty", 12);
    doubleClickCurrent(&window); // the list starts on "Karta z pokladny"
    press(&window, "Button5");
    select(window, 12);
    doubleClickCurrent(&window);
    ASSERT_TRUE(panelShown(&window));
    EXPECT_EQ(child(&window, "suiDBEdit1")->text(), "20900012");
    retype(&window, "DBEdit10", "7,5");
    auto* valid = child<QComboBox>(&window, "suiDBComboBox1");
    valid->setCurrentIndex(1);
    emit valid->textActivated(valid->currentText());
    press(&window, "Button4");
    expected[2] = "N";
    expected[6] = "7.5";
    EXPECT_EQ(row("zakarty", 12), expected);
}

TEST_F(CardsTest, CardsBeyondFiveDigitsOfIdAreRefusedAndNothingIsWritten) {
    exec("ALTER TABLE zakarty AUTO_INCREMENT = 100000");
    press(&window, "Button2");
    test::typeText(child(&window, "DBEdit8"), "Nikdo");
    press(&window, "Button4");
    ASSERT_EQ(prompter.asked.size(), 1);
    EXPECT_EQ(prompter.asked[0].caption, QString::fromUtf8("Seznam zákaznických karet"));
    EXPECT_EQ(prompter.asked[0].icon, common::MessageIcon::Stop);
    EXPECT_TRUE(prompter.lastText().contains("99999"));
    EXPECT_TRUE(panelShown(&window));
    EXPECT_EQ(count("select count(*) from zakarty"), 2);
    EXPECT_FALSE(db().inTransaction());

    // An old card of such an id without a number keeps its row as it was.
    exec("INSERT INTO zakarty (id, CISLOKARTY, NAZEVPODNI) VALUES (100001, '', 'Stará bez čísla')");
    const QStringList before = row("zakarty", 100001);
    window.FormShow();
    select(window, 100001);
    press(&window, "ButtonOpravit");
    press(&window, "Button4");
    EXPECT_EQ(prompter.asked.size(), 2);
    EXPECT_EQ(row("zakarty", 100001), before);
}

// The bar widths in modules, from the left: bars and spaces alternating.
QList<int> moduleWidths(QList<QRectF> bars, double module) {
    std::sort(bars.begin(), bars.end(), [](const QRectF& a, const QRectF& b) { return a.left() < b.left(); });
    QList<int> widths;
    for (qsizetype i = 0; i < bars.size(); ++i) {
        if (i > 0) widths << qRound((bars[i].left() - bars[i - 1].right()) / module);
        widths << qRound(bars[i].width() / module);
    }
    return widths;
}

TEST_F(CardsTest, TiskPrintsTheSelectedCardWithItsNumberAsCode128C) {
    const qint64 id = addCard(QString::fromUtf8("Žofie Nováčková"));
    QList<reporting::PreparedPage> pages;
    window.report().setPreview([&](const reporting::PreparedReport& report, QWidget*) {
        pages = report.pages;
        reporting::writePdf(report, "card.pdf");
    });
    select(window, id);
    press(&window, "suiButton1");
    ASSERT_TRUE(prompter.asked.isEmpty()) << prompter.lastText().toStdString();
    ASSERT_EQ(pages.size(), 1);
    const reporting::PreparedPage& page = pages.first();
    EXPECT_NEAR(page.size.width() / 96 * 25.4, 80, 0.5);
    EXPECT_NEAR(page.size.height() / 96 * 25.4, 50, 0.5);
    const QString text = test::pdfText("card.pdf");
    EXPECT_TRUE(text.contains(QString::fromUtf8("Žofie Nováčková"))) << text.toStdString();
    EXPECT_TRUE(text.contains("20900041")) << text.toStdString();
    EXPECT_FALSE(text.contains(QString::fromUtf8("Novák"))) << "only the selected card";

    const auto barcode = std::find_if(page.items.cbegin(), page.items.cend(),
                                      [](const reporting::PreparedItem& i) { return i.kind == reporting::PreparedItem::Kind::Barcode; });
    ASSERT_NE(barcode, page.items.cend());
    ASSERT_FALSE(barcode->bars.isEmpty());

    // A fresh symbol of the number: the printed bars are the same, module for module.
    zint_symbol* s = ZBarcode_Create();
    s->symbology = BARCODE_CODE128;
    const QByteArray number("20900041");
    ASSERT_LT(ZBarcode_Encode(s, reinterpret_cast<const unsigned char*>(number.constData()), int(number.size())), ZINT_ERROR);
    ASSERT_LT(ZBarcode_Buffer_Vector(s, 0), ZINT_ERROR);
    QList<QRectF> fresh;
    double freshLeft = 1e9, freshRight = 0;
    for (zint_vector_rect* r = s->vector->rectangles; r; r = r->next) {
        fresh << QRectF(r->x, r->y, r->width, r->height);
        freshLeft = std::min<double>(freshLeft, r->x);
        freshRight = std::max<double>(freshRight, r->x + r->width);
    }
    ZBarcode_Delete(s);
    double left = 1e9, right = 0;
    for (const QRectF& b : barcode->bars) left = std::min(left, b.left()), right = std::max(right, b.right());
    // Start C, 4 pairs of digits, the check character and the stop: 79 modules.
    const QList<int> printed = moduleWidths(barcode->bars, (right - left) / 79);
    EXPECT_EQ(printed, moduleWidths(fresh, (freshRight - freshLeft) / 79));
    EXPECT_EQ(printed.mid(0, 6), QList<int>({2, 1, 1, 2, 3, 2})) << "starts with Start C";
    // Ten modules of quiet zone on either side, inside the card.
    const double module = (right - left) / 79;
    EXPECT_GE(barcode->rect.left() + left, 10 * module);
    EXPECT_LE(barcode->rect.left() + right + 10 * module, page.size.width());
}

} // namespace
