// The inventory report on the large data set: a count of 20 000 items of cost centre "1"
// taken on 1 November 2026 (a tenth of the items on two shelves), evaluated against the till
// lines sold since, from "OK" to the prepared report; then the archiving of that count.
//   inventory_items, inventory_pages      items listed and pages prepared
//   inventory_evaluation_s                seconds from "OK" to the prepared report
//   inventory_evaluation_server_share     part of it spent in the server
//   inventory_sales_subquery_key          the index that serves the sales-since-counting subquery
//   inventory_archive_s                   seconds of the archive button
// Target: the evaluation under 10 s.

#include "bench/benchsupport.h"
#include "reports/tfsest5.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QPushButton>
#include <cstdio>

using namespace dorvik;

namespace {

const int countedItems = 20000;

void makeCount(db::Connection& db) {
    db.execute("TRUNCATE sklinv");
    db.execute(QStringLiteral("INSERT INTO sklinv (STREDISKO, JKPOV, DATUMCAS, STAVINV, TERMINAL)"
                              " SELECT STREDISKO, JKPOV, TIMESTAMP('2026-11-01 19:00:00') + INTERVAL MOD(id, 60) MINUTE,"
                              " GREATEST(0, ROUND(ZUSTATEK)) + MOD(id, 3) - 1, 1"
                              " FROM seznam WHERE STREDISKO = '1' AND AKTIVNI = 'A' ORDER BY JKPOV LIMIT %1")
                   .arg(countedItems));
    db.execute("INSERT INTO sklinv (STREDISKO, JKPOV, DATUMCAS, STAVINV, TERMINAL)"
               " SELECT STREDISKO, JKPOV, DATUMCAS - INTERVAL 30 MINUTE, 1, 2 FROM sklinv WHERE id % 10 = 0");
}

// The key the server chooses for the subquery of sold quantities, as EXPLAIN shows it.
QString salesSubqueryKey(db::Connection& db) {
    const db::ResultSet plan = db.query("EXPLAIN UPDATE tmp97sest1 i SET i.prodej = IFNULL((SELECT SUM(s.mnoz) from uctenky s"
                                        " where s.STREDISKO=i.STREDISKO and s.JKPOV=i.JKPOV and s.datum>i.datumcas group by s.JKPOV), 0)");
    for (int r = 0; r < plan.rowCount(); ++r)
        if (plan.text(r, "table") == QLatin1String("s")) return plan.text(r, "key") + QLatin1Char('/') + plan.text(r, "type");
    return QStringLiteral("none");
}

} // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    bench::WindowBench bench("inventory bench");
    db::Connection& db = bench.db;
    try {
        db.open();
        bench::ensureLargeDataSet(db);
        makeCount(db);
        const common::RegisterContext context = bench.context(QStringLiteral("1"), false);
        reports::TFsest5 w(context);
        w.show();
        QElapsedTimer clock;
        double total = 0, prepare = 0;
        int items = 0;
        qsizetype pages = 0;
        w.report().setPreview([&](const reporting::PreparedReport& report, QWidget*) {
            total = double(clock.nsecsElapsed()) / 1e9;
            items = w.result().rowCount();
            pages = report.pages.size();
            prepare = bench::timed([&] { w.report().prepare(); }) / 1e3;
        });
        clock.start();
        w.findChild<QPushButton*>("Button1")->click();
        if (total == 0) throw std::runtime_error("the report did not reach the preview");
        if (pages == 0) throw std::runtime_error("no pages: is fr3/sestit1.fr3 beside the program?");
        std::printf("inventory_items %d\n", items);
        std::printf("inventory_pages %lld\n", static_cast<long long>(pages));
        std::printf("inventory_evaluation_s %.2f\n", total);
        std::printf("inventory_evaluation_server_share %.2f\n", (total - prepare) / total);
        std::printf("inventory_sales_subquery_key %s\n", qPrintable(salesSubqueryKey(db)));
        std::fflush(stdout);
        const double archive = bench::timed([&] { w.findChild<QPushButton*>("suiButton1")->click(); }) / 1e3;
        if (db.query("select count(*) from sklinv").integer(0, 0) != 0) throw std::runtime_error("the count was not archived");
        std::printf("inventory_archive_s %.2f\n", archive);
        db.execute("DELETE from sklinvarch where STREDISKO = '1'");
        w.close();
    } catch (const std::exception& e) {
        std::fprintf(stderr, "inventory bench: %s\n", e.what());
        return 1;
    }
    return 0;
}
