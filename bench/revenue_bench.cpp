// The revenue reports on the large data set: kinds "typu platby", "skupiny" and
// "rekapitulace DPH" over one month of every cost centre's till lines, from "Tisk" to the
// prepared report.
//   revenue_<kind>_month_s   seconds from "Tisk" to the prepared report
// Target: each under 5 s. When velmo lacks the large data set, scripts/gen-bench-data makes
// it (DORVIK_BENCH_SCALE, default 1).

#include "bench/benchsupport.h"
#include "receipts/tftrzby1.h"

#include <QApplication>
#include <QButtonGroup>
#include <QDateEdit>
#include <QElapsedTimer>
#include <QGroupBox>
#include <QPushButton>
#include <QRadioButton>
#include <cstdio>

using namespace dorvik;

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    bench::WindowBench bench("revenue bench");
    db::Connection& db = bench.db;
    try {
        db.open();
        bench::ensureLargeDataSet(db);
        const common::RegisterContext context = bench.context(QStringLiteral("1"), true);
        const struct {
            const char* name;
            int item;
        } kinds[] = {{"paymentkinds", 0}, {"groups", 5}, {"vatrecapitulation", 7}};
        for (const auto& kind : kinds) {
            receipts::TFtrzby1 w(context);
            w.show();
            w.findChild<QDateEdit*>("DateEdit1")->setDate(QDate(2026, 6, 1));
            w.findChild<QDateEdit*>("DateEdit2")->setDate(QDate(2026, 6, 30));
            w.findChild<QGroupBox*>("RadioGroup1")->findChildren<QRadioButton*>().at(kind.item)->click();
            QElapsedTimer clock;
            double total = 0;
            w.report().setPreview([&](const reporting::PreparedReport&, QWidget*) { total = double(clock.nsecsElapsed()) / 1e9; });
            clock.start();
            w.findChild<QPushButton*>("Button1")->click();
            if (total == 0) throw std::runtime_error("the report did not reach the preview");
            std::printf("revenue_%s_month_s %.2f\n", kind.name, total);
            std::fflush(stdout);
            w.close();
        }
    } catch (const std::exception& e) {
        std::fprintf(stderr, "revenue bench: %s\n", e.what());
        return 1;
    }
    return 0;
}
