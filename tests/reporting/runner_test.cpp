#include "reportfixture.h"

#include "common/routines.h"
#include "reporting/previewwindow.h"
#include "reporting/reportrunner.h"
#include "support/files.h"
#include "support/scriptedprompter.h"

#include <QApplication>
#include <QDesktopServices>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QScrollArea>
#include <QSpinBox>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QUrl>
#include <QWheelEvent>

namespace dorvik::reporting {
namespace {

using test::pageTexts;

// A template of the runner's own, written beside the test program as fr3/<name>.
void writeTemplate(const QString& name, const QByteArray& xml) {
    QDir().mkpath(common::programFolder() + "fr3");
    QFile f(common::programFolder() + "fr3/" + name);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(xml);
}

class Runner : public test::DbTest {
protected:
    void SetUp() override {
        DbTest::SetUp();
        previousDir = QDir::currentPath();
        QDir::setCurrent(dir.path());
    }
    void TearDown() override {
        QDir::setCurrent(previousDir);
        ReportRunner::installDesigner({});
    }
    ReportRunner runner(const QStringList& args, QList<PreparedReport>& shown) {
        ReportRunner r(nullptr, args);
        r.setPreview([&shown](const PreparedReport& report, QWidget*) { shown << report; });
        return r;
    }
    QTemporaryDir dir;
    QString previousDir;
};

TEST_F(Runner, VariablesArriveAsTextAndMissingTemplatesAreEmpty) {
    writeTemplate("runner_var.fr3", test::templateXml(
        "<TfrxReportTitle Name=\"T\" Height=\"20\"><TfrxMemoView Width=\"400\" Height=\"20\" Text=\"[tex1]|[&lt;oddata&gt;]\"/></TfrxReportTitle>")
        .replace("<TfrxReport>", "<TfrxReport><Variables><item Name=\"oddata\" Value=\"'x'\"/></Variables>"));
    test::ScriptedPrompter prompter;
    QList<PreparedReport> shown;
    ReportRunner r = runner({"dorvik"}, shown);
    r.loadTemplate("fr3/runner_var.fr3");
    r.setDataset(query("select 1 as N"));
    r.setVariable("tex1", "Pekař's [klíč] ''");
    r.setVariable("oddata", "1.3.2024");
    r.show();
    ASSERT_EQ(shown.size(), 1);
    EXPECT_EQ(pageTexts(shown[0].pages.at(0)), QStringList({"Pekař's [klíč] ''|1.3.2024"}));

    r.loadTemplate("fr3/neni_takova.fr3");
    EXPECT_TRUE(r.report().isEmpty()) << "the earlier template is cleared";
    r.show();
    ASSERT_EQ(shown.size(), 2);
    EXPECT_TRUE(shown[1].pages.isEmpty());
    EXPECT_TRUE(prompter.asked.isEmpty());
}

TEST_F(Runner, AFieldTheDataLackIsNamedWithTheTemplate) {
    writeTemplate("runner_field.fr3", test::templateXml(
        "<TfrxReportTitle Name=\"T\" Height=\"20\"><TfrxMemoView Width=\"400\" Height=\"20\" Text=\"[frxDBDataset1.&quot;TELEFON&quot;]\"/></TfrxReportTitle>"));
    QList<PreparedReport> shown;
    ReportRunner r = runner({"dorvik"}, shown);
    r.loadTemplate("fr3/runner_field.fr3");
    r.setDataset(query("select 1 as N"));
    try {
        r.show();
        FAIL() << "a missing field must not print";
    } catch (const ExpressionError& e) {
        const QString message = QString::fromUtf8(e.what());
        EXPECT_TRUE(message.contains("TELEFON")) << message.toStdString();
        EXPECT_TRUE(message.contains("runner_field.fr3")) << message.toStdString();
    }
    EXPECT_TRUE(shown.isEmpty());
}

TEST_F(Runner, OnlyAnExactFirstArgumentOpensTheDesigner) {
    writeTemplate("runner_es.fr3", test::templateXml(""));
    QStringList designed;
    ReportRunner::installDesigner([&](const QString& path, Template& t, const db::ResultSet& data, QWidget*) {
        designed << path;
        EXPECT_NE(t.variable("tex1"), nullptr);
        EXPECT_EQ(data.rowCount(), 1);
    });
    const struct {
        QStringList args;
        bool design;
    } cases[] = {
        {{"dorvik", "/ES"}, true},
        {{"dorvik", "/es"}, false},
        {{"dorvik"}, false},
        {{"dorvik", "x", "/ES"}, false},
    };
    for (const auto& c : cases) {
        QList<PreparedReport> shown;
        designed.clear();
        ReportRunner r = runner(c.args, shown);
        r.loadTemplate("fr3/runner_es.fr3");
        r.setDataset(query("select 1 as N"));
        r.setVariable("tex1", "a");
        r.show();
        EXPECT_EQ(designed.size(), c.design ? 1 : 0) << c.args.join(' ').toStdString();
        EXPECT_EQ(shown.size(), c.design ? 0 : 1) << c.args.join(' ').toStdString();
        if (c.design) {
            EXPECT_EQ(designed.value(0), common::programFolder() + "fr3/runner_es.fr3");
        }
    }
    // Without a designer "/ES" shows nothing at all.
    ReportRunner::installDesigner({});
    QList<PreparedReport> shown;
    ReportRunner r = runner({"dorvik", "/ES"}, shown);
    r.loadTemplate("fr3/runner_es.fr3");
    r.show();
    EXPECT_TRUE(shown.isEmpty());
}

// Records what the preview hands to the system viewer.
TEST_F(Runner, PageSetupLaysTheReportOutAgainOnTheChosenPaper) {
    writeTemplate("runner_paper.fr3", test::templateXml(
        "<TfrxMasterData Name=\"MasterData1\" Top=\"100\" Height=\"100\" DataSet=\"frxDBDataset1\" DataSetName=\"frxDBDataset1\">"
        "<TfrxMemoView Width=\"300\" Height=\"20\" Text=\"[frxDBDataset1.&quot;N&quot;]\"/></TfrxMasterData>",
        "LeftMargin=\"15\""));
    ReportRunner r(nullptr, {"dorvik"});
    r.loadTemplate("fr3/runner_paper.fr3");
    r.setDataset(query("with recursive r(n) as (select 1 union all select n + 1 from r where n < 25) select n as N from r"));
    const QPageLayout before = r.report().pageLayout();
    EXPECT_EQ(before.pageSize().id(), QPageSize::A4);
    EXPECT_EQ(before.orientation(), QPageLayout::Portrait);
    EXPECT_EQ(before.margins(QPageLayout::Millimeter), QMarginsF(15, 10, 10, 10));

    PreparedReport portrait, landscape;
    QTimer::singleShot(0, [&] {
        auto* w = qobject_cast<PreviewWindow*>(QApplication::activeModalWidget());
        ASSERT_TRUE(w);
        portrait = w->report();
        w->showPage(2);
        w->applyPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Landscape, QMarginsF(20, 5, 20, 5), QPageLayout::Millimeter));
        landscape = w->report();
        EXPECT_EQ(w->pageIndex(), 2);
        EXPECT_EQ(w->findChild<QSpinBox*>("CisloStranky")->maximum(), landscape.pages.size());
        w->reject();
    });
    r.show();
    ASSERT_EQ(portrait.pages.size(), 3);
    EXPECT_NEAR(portrait.pages[0].items[0].rect.left(), 15 * 96 / 25.4, 0.01);
    // 210 mm less 10 mm of margins leave room for seven 100 px rows a page.
    ASSERT_EQ(landscape.pages.size(), 4);
    EXPECT_NEAR(landscape.pages[0].size.width(), 297 * 96 / 25.4, 0.1);
    EXPECT_NEAR(landscape.pages[0].size.height(), 210 * 96 / 25.4, 0.1);
    EXPECT_NEAR(landscape.pages[0].items[0].rect.left(), 20 * 96 / 25.4, 0.01);
    EXPECT_NEAR(landscape.pages[0].items[0].rect.top(), 5 * 96 / 25.4, 0.01);
    EXPECT_EQ(landscape.pages[1].items[0].plainText(), "8");
    EXPECT_EQ(r.report().pageLayout(), before) << "the template itself stays on its paper";
}

class Opened : public QObject {
    Q_OBJECT
public:
    QList<QUrl> urls;
public slots:
    void open(const QUrl& url) { urls << url; }
};

TEST_F(Runner, PreviewNavigatesFindsAndExportsWithoutAsking) {
    const PreparedReport report = prepareReport(parseTemplate(test::templateXml(
        "<TfrxMasterData Name=\"MasterData1\" Top=\"100\" Height=\"100\" DataSet=\"frxDBDataset1\" DataSetName=\"frxDBDataset1\">"
        "<TfrxMemoView Width=\"300\" Height=\"20\" Text=\"Řádek č. [frxDBDataset1.&quot;N&quot;]\"/></TfrxMasterData>")),
        query("with recursive r(n) as (select 1 union all select n + 1 from r where n < 25) select n as N from r"));
    Opened opened;
    QDesktopServices::setUrlHandler("file", &opened, "open");
    test::ScriptedPrompter prompter;
    PreviewWindow w(report);
    w.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&w));
    EXPECT_EQ(w.zoom(), 1.0);
    QTest::keyClick(&w, Qt::Key_PageDown);
    EXPECT_EQ(w.pageIndex(), 1);
    QTest::keyClick(&w, Qt::Key_End);
    EXPECT_EQ(w.pageIndex(), 2);
    QTest::keyClick(&w, Qt::Key_PageUp);
    QTest::keyClick(&w, Qt::Key_Home);
    EXPECT_EQ(w.pageIndex(), 0);
    EXPECT_EQ(w.findChild<QSpinBox*>("CisloStranky")->value(), 1);
    QTest::keyClick(&w, Qt::Key_Plus, Qt::ControlModifier);
    EXPECT_DOUBLE_EQ(w.zoom(), 1.25);
    QTest::keyClick(&w, Qt::Key_Minus, Qt::ControlModifier);
    EXPECT_DOUBLE_EQ(w.zoom(), 1.0);
    QWidget* viewport = w.findChild<QScrollArea*>()->viewport();
    for (const int delta : {120, -120}) {
        QWheelEvent wheel(QPointF(10, 10), viewport->mapToGlobal(QPointF(10, 10)), QPoint(), QPoint(0, delta), Qt::NoButton,
                          Qt::ControlModifier, Qt::NoScrollPhase, false);
        QApplication::sendEvent(viewport, &wheel);
        EXPECT_DOUBLE_EQ(w.zoom(), delta > 0 ? 1.25 : 1.0) << "Ctrl with the wheel";
    }

    QTest::keyClick(&w, Qt::Key_F, Qt::ControlModifier);
    QLineEdit* find = w.findChild<QLineEdit*>("Hledat");
    ASSERT_TRUE(find->hasFocus());
    QTest::keyClicks(find, "23");
    QTest::keyClick(find, Qt::Key_Return);
    EXPECT_EQ(w.pageIndex(), 2);
    EXPECT_FALSE(w.findNext("nikde"));

    // Export twice: the file is replaced without a question, then opened each time.
    QFile::remove("dorvik.pdf");
    QTest::keyClick(&w, Qt::Key_E, Qt::ControlModifier);
    ASSERT_TRUE(QFile::exists("dorvik.pdf"));
    QFile stale("dorvik.pdf");
    ASSERT_TRUE(stale.open(QIODevice::WriteOnly | QIODevice::Truncate));
    stale.close();
    QTest::keyClick(&w, Qt::Key_E, Qt::ControlModifier);
    EXPECT_TRUE(prompter.asked.isEmpty());
    ASSERT_EQ(opened.urls.size(), 2);
    EXPECT_EQ(opened.urls[1], QUrl::fromLocalFile(QDir::current().filePath("dorvik.pdf")));
    const QString text = test::pdfText("dorvik.pdf");
    EXPECT_TRUE(text.contains("Řádek č. 1")) << text.toStdString();
    EXPECT_TRUE(text.contains("Řádek č. 25"));
    EXPECT_EQ(text.count(QChar('\f')), 3) << "three pages";
    QDesktopServices::unsetUrlHandler("file");

    QTest::keyClick(&w, Qt::Key_Escape);
    EXPECT_FALSE(w.isVisible());
}

} // namespace
} // namespace dorvik::reporting

#include "runner_test.moc"
