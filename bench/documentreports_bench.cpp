// The issue-document, invoice and order reports on the large data set, every cost centre and
// one month: "Seznam dokladů", "Seznam s DPH" and "Rozpis dokladů", from "OK" to the prepared
// report, with the rows and pages it made and the share spent in the server.
//   documents_<report>_s              seconds from "OK" to the prepared report
//   documents_<report>_rows           rows of the final select
//   documents_<report>_pages          pages of the prepared report
//   documents_<report>_server_share   part of the time spent in the server
// Target: each under 5 s.

#include "bench/benchsupport.h"
#include "reporting/preparedreport.h"
#include "reports/tfsest3.h"
#include "reports/tfsest4.h"
#include "reports/tfsest6.h"

#include <QApplication>
#include <QDateEdit>
#include <QElapsedTimer>
#include <QGroupBox>
#include <QPushButton>
#include <QRadioButton>
#include <cstdio>
#include <functional>
#include <memory>

using namespace dorvik;

namespace {

struct Report {
    const char* name;
    std::function<std::unique_ptr<reporting::ReportWindow>(const common::RegisterContext&)> make;
    int kind; // "Typ sestavy "
};

} // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    bench::WindowBench bench("document reports bench");
    db::Connection& db = bench.db;
    try {
        db.open();
        bench::ensureLargeDataSet(db);
        const common::RegisterContext context = bench.context(QStringLiteral("1"), true);
        const Report reports[] = {
            {"issue_list", [](const auto& c) { return std::make_unique<reports::TFsest3>(c); }, 0},
            {"invoice_vat_list", [](const auto& c) { return std::make_unique<reports::TFsest4>(c); }, 2},
            {"order_breakdown", [](const auto& c) { return std::make_unique<reports::TFsest6>(c); }, 2},
        };
        for (const Report& report : reports) {
            auto w = report.make(context);
            w->show();
            w->findChild<QDateEdit*>("DateEdit1")->setDate(QDate(2026, 6, 1));
            w->findChild<QDateEdit*>("DateEdit2")->setDate(QDate(2026, 6, 30));
            w->findChild<QGroupBox*>("RadioGroupTyp")->findChildren<QRadioButton*>().at(report.kind)->click();
            QElapsedTimer clock;
            double total = 0, prepare = 0;
            int rows = 0;
            qsizetype pages = 0;
            w->report().setPreview([&](const reporting::PreparedReport& prepared, QWidget*) {
                total = double(clock.nsecsElapsed()) / 1e9;
                rows = w->result().rowCount();
                pages = prepared.pages.size();
                prepare = bench::timed([&] { w->report().prepare(); }) / 1e3;
            });
            clock.start();
            w->findChild<QPushButton*>("Button1")->click();
            if (total == 0) throw std::runtime_error("the report did not reach the preview");
            std::printf("documents_%s_s %.2f\n", report.name, total);
            std::printf("documents_%s_rows %d\n", report.name, rows);
            std::printf("documents_%s_pages %lld\n", report.name, qint64(pages));
            std::printf("documents_%s_server_share %.2f\n", report.name, (total - prepare) / total);
            std::fflush(stdout);
            w->close();
        }
    } catch (const std::exception& e) {
        std::fprintf(stderr, "document reports bench: %s\n", e.what());
        return 1;
    }
    return 0;
}
