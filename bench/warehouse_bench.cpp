// The warehouse reports on the large data set: each of the four kinds for one cost centre
// and one month, and for every cost centre and a whole year, from "OK" to the prepared
// report, and the share of that time spent in the server (statements and the final select;
// the rest is preparing the report).
//   warehouse_<kind>_<scope>_s              seconds from "OK" to the prepared report
//   warehouse_<kind>_<scope>_server_share   part of it spent in the server
// Targets: every kind under 10 s for one cost centre and a month, under 60 s for all and a year.
// When velmo lacks the large data set, scripts/gen-bench-data makes it (DORVIK_BENCH_SCALE, default 1).

#include "bench/benchsupport.h"
#include "reports/tfsest1.h"

#include <QApplication>
#include <QButtonGroup>
#include <QDateEdit>
#include <QElapsedTimer>
#include <QGroupBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <cstdio>

using namespace dorvik;

namespace {

struct Scope {
    const char* name;
    QString centre;
    QDate from, to;
};

} // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    bench::WindowBench bench("warehouse bench");
    db::Connection& db = bench.db;
    try {
        db.open();
        bench::ensureLargeDataSet(db);
        const common::RegisterContext context = bench.context(QStringLiteral("1"), true);
        const Scope scopes[] = {{"centre_month", QStringLiteral("1"), QDate(2026, 6, 1), QDate(2026, 6, 30)},
                                {"all_year", QString(), QDate(2026, 1, 1), QDate(2026, 12, 31)}};
        const char* kinds[] = {"turnover", "valuation", "cardlist", "control"};
        for (const Scope& scope : scopes) {
            for (int kind = 0; kind < 4; ++kind) {
                reports::TFsest1 w(context);
                w.show();
                w.findChild<QDateEdit*>("DateEdit1")->setDate(scope.from);
                w.findChild<QDateEdit*>("DateEdit2")->setDate(scope.to);
                w.findChild<QLineEdit*>("suiEdit2")->setText(scope.centre);
                w.findChild<QGroupBox*>("RadioGroupTyp")->findChildren<QRadioButton*>().at(kind)->click();
                QElapsedTimer clock;
                double total = 0, prepare = 0;
                w.report().setPreview([&](const reporting::PreparedReport&, QWidget*) {
                    total = double(clock.nsecsElapsed()) / 1e9;
                    prepare = bench::timed([&] { w.report().prepare(); }) / 1e3;
                });
                clock.start();
                w.findChild<QPushButton*>("Button1")->click();
                if (total == 0) throw std::runtime_error("the report did not reach the preview");
                std::printf("warehouse_%s_%s_s %.2f\n", kinds[kind], scope.name, total);
                std::printf("warehouse_%s_%s_server_share %.2f\n", kinds[kind], scope.name, (total - prepare) / total);
                std::fflush(stdout);
                w.close();
            }
        }
    } catch (const std::exception& e) {
        std::fprintf(stderr, "warehouse bench: %s\n", e.what());
        return 1;
    }
    return 0;
}
