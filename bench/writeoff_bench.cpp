// The receipt write-off of 10 000 till lines of one cost centre, through the window's own loop
// (the calls, the trace file a1.txt, the progress bar and the screen events) and through the
// bare procedure calls, so the window's own share is visible.
//   writeoff_window_lines_per_s   lines per second from "Odpis" to the completion message
//   writeoff_bare_lines_per_s     lines per second of the same calls alone
//   writeoff_window_cost_ms       the window's time per line above the bare calls
// Target: the window at least 2 000 lines per second. Needs no large data set: it makes its
// own lines in cost centre 97 and puts them back between the two runs.

#include "bench/benchsupport.h"
#include "receipts/receiptsql.h"
#include "receipts/tfodpis.h"

#include <QApplication>
#include <QPushButton>
#include <cstdio>

using namespace dorvik;

namespace {

const int lineCount = 10000;
const QString centre = QStringLiteral("97");

// Ten items with a lot each, a thousand till lines per item, a tenth of them returns.
void makeLines(db::Connection& db) {
    db.execute("DELETE FROM uctenky WHERE stredisko = '97'");
    db.execute("DELETE FROM prirad WHERE STREDISKO = '97'");
    db.execute("INSERT INTO prirad (CISLODOKLA, STREDISKO, JKPOV, NAZEV, MJ, MNOZ, ZUSTATEK, NC, CENAR)"
               " SELECT 97, '97', CONCAT('B', seq), 'Zboží', 'ks', 100000, 100000, 10, 1000000 FROM seq_1_to_10");
    db.execute(QStringLiteral("INSERT INTO uctenky (cisuctenky, stredisko, datum, jkpov, nazev, mnoz, nc, CENAR, DPH)"
                              " SELECT seq, '97', '2026-11-04 10:00:00', CONCAT('B', seq mod 10 + 1), 'Zboží',"
                              " IF(seq mod 10 = 0, -1, seq mod 3 + 0.5), 0, 100, 21 FROM seq_1_to_%1")
                   .arg(lineCount));
}

void putBack(db::Connection& db) {
    db.execute("DELETE FROM uctenkynakl WHERE STREDISKO = '97'");
    db.execute("UPDATE uctenky SET nc = 0 WHERE stredisko = '97'");
    db.execute("UPDATE prirad SET ZUSTATEK = MNOZ WHERE STREDISKO = '97'");
}

} // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    bench::WindowBench bench("writeoff bench", QStringLiteral("Odpis účtenek proveden."));
    db::Connection& db = bench.db;
    try {
        db.open();
        makeLines(db);

        putBack(db);
        const double bare = bench::timed([&] {
            const db::ResultSet lines = db.query(receipts::writeOffSelection(centre));
            for (int r = 0; r < lines.rowCount(); ++r)
                db.execute(receipts::writeOffCall(lines.text(r, 0), lines.text(r, 1), lines.number(r, 2), lines.integer(r, 3)));
        });

        putBack(db);
        const common::RegisterContext context = bench.context(centre, false);
        receipts::TFodpis w(context);
        w.show();
        const double window = bench::timed([&] { w.findChild<QPushButton*>("Button1")->click(); });
        if (db.query("SELECT COUNT(*) FROM uctenky WHERE stredisko = '97' AND nc = 0").integer(0, 0) != 0)
            throw std::runtime_error("lines left unwritten");

        std::printf("writeoff_window_lines_per_s %.0f\n", lineCount / (window / 1e3));
        std::printf("writeoff_bare_lines_per_s %.0f\n", lineCount / (bare / 1e3));
        std::printf("writeoff_window_cost_ms %.3f\n", (window - bare) / lineCount);
        db.execute("DELETE FROM uctenkynakl WHERE STREDISKO = '97'");
        db.execute("DELETE FROM uctenky WHERE stredisko = '97'");
        db.execute("DELETE FROM prirad WHERE STREDISKO = '97'");
    } catch (const std::exception& e) {
        std::fprintf(stderr, "writeoff bench: %s\n", e.what());
        return 1;
    }
    return 0;
}
