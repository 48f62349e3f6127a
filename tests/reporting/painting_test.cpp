#include "reportfixture.h"

#include "reporting/preparedreport.h"
#include "support/files.h"

#include <QImage>
#include <QPainter>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace dorvik::reporting {
namespace {

using test::findText;
using test::templateXml;

// One band without a dataset around the given memos.
PreparedPage preparedPage(const QString& memos) {
    const PreparedReport r = prepareReport(parseTemplate(templateXml(
                                               "<TfrxMasterData Name=\"MasterData1\" Top=\"100\" Height=\"40\" RowCount=\"1\">" + memos + "</TfrxMasterData>")),
                                           db::ResultSet());
    return r.pages.at(0);
}

// Columns of the sheet, at 96 dpi, that hold ink within a strip of it.
QList<int> inkedColumns(const QImage& sheet, const QRectF& strip) {
    QList<int> columns;
    for (int x = int(strip.left()); x <= int(strip.right()); ++x)
        for (int y = int(strip.top()); y <= int(strip.bottom()); ++y)
            if (qGray(sheet.pixel(x, y)) < 160) {
                columns << x;
                break;
            }
    return columns;
}

TEST(Painting, OnlyTextThatReachesOutIsClippedAndAlignmentUsesMeasuredWidths) {
    const QString wide = QString("W").repeated(30);
    const PreparedPage page = preparedPage(
        "<TfrxMemoView Left=\"0\" Width=\"60\" Height=\"20\" WordWrap=\"False\" Text=\"" + wide + "\"/>"
        "<TfrxMemoView Left=\"0\" Top=\"20\" Width=\"60\" Height=\"20\" WordWrap=\"False\" Clipped=\"False\" Text=\"" + wide + "\"/>"
        "<TfrxMemoView Left=\"500\" Width=\"200\" Height=\"20\" HAlign=\"haRight\" Text=\"1 234,56\"/>"
        "<TfrxMemoView Left=\"500\" Top=\"20\" Width=\"200\" Height=\"20\" HAlign=\"haCenter\" Text=\"střed\"/>");
    QImage sheet(page.size.toSize(), QImage::Format_RGB32);
    {
        QPainter p(&sheet);
        paintPage(p, page);
    }
    const QRectF clipped = page.items[0].rect, open = page.items[1].rect;
    // The strips reach beyond the memos to the right, short of the other column.
    const auto strip = [](const QRectF& r) { return QRectF(r.left(), r.top() + 2, 400, r.height() - 4); };
    const QList<int> clippedInk = inkedColumns(sheet, strip(clipped));
    ASSERT_FALSE(clippedInk.isEmpty());
    EXPECT_LE(clippedInk.last(), clipped.right() + 1) << "clipped text stays in its memo";
    EXPECT_GT(inkedColumns(sheet, strip(open)).last(), open.right() + 100) << "unclipped text runs on";

    const PreparedItem* right = findText(page, "1 234,56");
    const QList<int> rightInk = inkedColumns(sheet, right->rect.adjusted(0, 2, 0, -2));
    EXPECT_NEAR(rightInk.last(), right->rect.right() - right->gapX, 2.0);
    EXPECT_GT(rightInk.first(), right->rect.left() + 100);
    const PreparedItem* centred = findText(page, "střed");
    const QList<int> centredInk = inkedColumns(sheet, centred->rect.adjusted(0, 2, 0, -2));
    EXPECT_NEAR((centredInk.first() + centredInk.last()) / 2.0, centred->rect.center().x(), 2.0);
}

TEST(Painting, PdfCarriesCzechTextAndCharactersFromFallbackFonts) {
    const PreparedPage page = preparedPage(
        "<TfrxMemoView Width=\"400\" Height=\"20\" Font.Name=\"Arial\" ParentFont=\"False\" Text=\"Příliš žluťoučký kůň úpěl ďábelské ódy\"/>"
        "<TfrxMemoView Top=\"20\" Width=\"400\" Height=\"20\" Text=\"✓ vyřízeno → sklad\"/>");
    QTemporaryDir dir;
    const QString path = dir.filePath("text.pdf");
    writePdf(PreparedReport{{page}, {}}, path);
    const QString text = test::pdfText(path);
    EXPECT_TRUE(text.contains("Příliš žluťoučký kůň úpěl ďábelské ódy")) << text.toStdString();
    EXPECT_TRUE(text.contains("✓ vyřízeno → sklad")) << text.toStdString();
}

TEST(Painting, BarcodesEncodeWhatTheirSymbologyCarriesAndShowTheRestAsText) {
    struct Case {
        const char* type;
        const char* data;
        const char* caption; // empty: no bars, the data shows as text
    };
    const Case cases[] = {
        {"bcCodeEAN13", "859400000001", "8594000000013"}, // check digit added
        {"bcCodeEAN13", "8594000000013", "8594000000013"},
        {"bcCodeEAN13", "8594000000016", ""},             // wrong check digit
        {"bcCodeEAN13", "1234567", ""},                   // would be an EAN-8
        {"bcCodeEAN8", "8594000", "85940000"},
        {"bcCodeEAN8", "859400000001", ""},
        {"bcCode128A", "ABC-12", "ABC-12"},
        {"bcCode128A", "abc", ""},
        {"bcCode128B", "Sklad 7b", "Sklad 7b"},
        {"bcCode128C", "123456", "123456"},
        {"bcCode128C", "12A4", ""},
        {"bcCode128", "AB12345678", "AB12345678"},
        {"bcCode39", "A-12", "*A-12*"},
    };
    for (const Case& c : cases) {
        const PreparedPage page = preparedPage(QStringLiteral("<TfrxBarCodeView Width=\"200\" Height=\"40\" BarType=\"%1\" Text=\"%2\"/>").arg(c.type, c.data));
        const PreparedItem& item = page.items.at(0);
        const bool bars = *c.caption != 0;
        EXPECT_EQ(!item.bars.isEmpty(), bars) << c.type << " " << c.data;
        EXPECT_EQ(item.caption, bars ? QString(c.caption) : QString(c.data)) << c.type << " " << c.data;
        for (const QRectF& bar : item.bars) EXPECT_TRUE(QRectF(0, 0, 200.01, 40.01).contains(bar)) << c.type << " bar outside";
    }
}

} // namespace
} // namespace dorvik::reporting
