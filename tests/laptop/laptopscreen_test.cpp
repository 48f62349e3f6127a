#include "common/screenfit.h"
#include "reporting/engine.h"
#include "reporting/fr3reader.h"
#include "reporting/previewwindow.h"
#include "support/dbfixture.h"

#include <QAction>
#include <QDialog>
#include <QGuiApplication>
#include <QScreen>
#include <QScrollArea>
#include <QTest>
#include <gtest/gtest.h>

// These tests run on an offscreen screen of 1366 × 768 pixels (tests/laptop/screen-1366x768.json).
namespace dorvik {
namespace {

class LaptopScreen : public test::DbTest {
protected:
    void SetUp() override {
        DbTest::SetUp();
        common::keepWindowsOnScreen();
        screen = QGuiApplication::primaryScreen()->availableGeometry();
        ASSERT_EQ(screen.size(), QSize(1366, 768)) << "run with the laptop screen configuration";
    }
    QRect screen;
};

TEST_F(LaptopScreen, PreviewFitsAndShowsAWholePage) {
    const QByteArray xml =
        "<?xml version=\"1.0\" encoding=\"utf-8\"?><TfrxReport><TfrxReportPage Name=\"Page1\" PaperWidth=\"210\" PaperHeight=\"297\">"
        "<TfrxMasterData Name=\"MasterData1\" Top=\"100\" Height=\"20\" DataSet=\"frxDBDataset1\" DataSetName=\"frxDBDataset1\">"
        "<TfrxMemoView Width=\"300\" Height=\"20\" Text=\"[frxDBDataset1.&quot;N&quot;]\"/></TfrxMasterData></TfrxReportPage></TfrxReport>";
    reporting::PreviewWindow w(reporting::prepareReport(reporting::parseTemplate(xml), query("select 1 as N")));
    w.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&w));
    EXPECT_TRUE(screen.contains(w.frameGeometry())) << "frame " << w.frameGeometry().height() << " high";
    EXPECT_EQ(w.zoom(), 1.0) << "it still opens at 100 %";

    for (QAction* a : w.findChildren<QAction*>())
        if (a->text() == QString("Celá stránka")) a->trigger();
    auto* scroll = w.findChild<QScrollArea*>();
    const QSize page = scroll->widget()->size();
    EXPECT_LE(page.width(), scroll->viewport()->width());
    EXPECT_LE(page.height(), scroll->viewport()->height());
    EXPECT_GT(page.height(), scroll->viewport()->height() * 9 / 10) << "as large as the room allows";
}

TEST_F(LaptopScreen, LargerWindowsShrinkAndMoveIn) {
    QDialog fixed;
    fixed.setFixedSize(1400, 900);
    fixed.move(200, 100);
    fixed.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&fixed));
    EXPECT_TRUE(screen.contains(fixed.frameGeometry()));

    QDialog small;
    small.resize(400, 300);
    small.move(1200, 600); // sticks out to the right and below
    small.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&small));
    EXPECT_EQ(small.size(), QSize(400, 300)) << "a window that fits keeps its size";
    EXPECT_TRUE(screen.contains(small.frameGeometry()));
}

} // namespace
} // namespace dorvik
