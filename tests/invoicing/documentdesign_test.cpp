#include "invoicing/documentprint.h"

#include "reporting/designerwindow.h"
#include "reporting/reportrunner.h"
#include "support/dbfixture.h"

#include <QApplication>
#include <QListWidget>
#include <QTimer>

namespace dorvik::invoicing {
namespace {

class DocumentDesign : public test::DbTest {
protected:
    void SetUp() override {
        DbTest::SetUp();
        resetTables({"dl", "dlrad", "strediska"});
        exec("INSERT INTO strediska (STREDISKO, NAZEV, ICO, FIRMA) VALUES ('11', 'Prodejna Brno', '27354911', 'Tarvik s.r.o.')");
        exec("INSERT INTO dl (CISLODOKLA, STREDISKO, DATUM, ICO, NAZEVPODNI) VALUES (11000123, '11', '2024-03-05 10:00:00', '44556677', 'Stavby Novák')");
        exec("INSERT INTO dlrad (CISLODOKLA, STREDISKO, JKPOV, NAZEV, MJ, MNOZ, PC, PCR, DPH) VALUES"
             " (11000123, '11', 'A100', 'Cement 25 kg', 'ks', 4, 120.5, 482, 21)");
    }
    void TearDown() override { reporting::ReportRunner::installDesigner(reporting::designReport); }
};

TEST_F(DocumentDesign, DesignerSwitchOpensTheDesignerOnTheChosenTemplateAndPrintsNothing) {
    reporting::ReportRunner::installDesigner(reporting::designReport);
    reporting::ReportRunner runner(nullptr, {"dorvik", "/ES"});
    int previews = 0;
    runner.setPreview([&](const reporting::PreparedReport&, QWidget*) { ++previews; });
    QString opened;
    QStringList fields;
    bool modal = false;
    QTimer::singleShot(0, [&] {
        auto* w = qobject_cast<reporting::DesignerWindow*>(QApplication::activeModalWidget());
        if (!w) return;
        modal = w->isModal();
        opened = w->model().path();
        auto* list = w->findChild<QListWidget*>("SeznamPoli");
        for (int i = 0; i < list->count(); ++i) fields << list->item(i)->text();
        w->reject();
    });
    printIssueDocument(db(), runner, "11000123", 1);
    EXPECT_TRUE(modal);
    EXPECT_TRUE(opened.endsWith("fr3/vyd1.fr3")) << opened.toStdString();
    EXPECT_TRUE(fields.contains("NAZEV")) << "the document's result set is bound";
    EXPECT_TRUE(fields.contains("CISLODOKLA"));
    EXPECT_EQ(previews, 0);
}

} // namespace
} // namespace dorvik::invoicing
