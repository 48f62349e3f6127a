// Times a large list: loading it into the grid model against the mariadb client fetching
// the same rows, and sorting it in memory by a text and by a number column.
//   gridmodel_cli_ms                       the mariadb client, output to /dev/null (best of 5)
//   gridmodel_cli_compress_ms              the same with --compress, as the program's connection is
//   gridmodel_load_ms                      query + setResult + the cells of the first screen (best of 5)
//   gridmodel_load_ratio_vs_cli            load against the plain client; target at most 1.5
//   gridmodel_load_ratio_vs_cli_compress   load against the compressed client
//   gridmodel_sort_text_ms                 sort by a text column; target below 150 in a Release build
//   gridmodel_sort_number_ms               sort by a number column; likewise
// The server is the one on 127.0.0.1:DORVIK_TEST_PORT (default 3317), root without a password.

#include "bench/benchsupport.h"
#include "common/gridmodel.h"
#include "db/connection.h"

#include <QCoreApplication>
#include <algorithm>
#include <cstdio>
#include <limits>

using namespace dorvik;

namespace {

const QString table = QStringLiteral("tmp99gridbench");
const QString statement = QStringLiteral("select * from tmp99gridbench");
constexpr int Rows = 100000;
constexpr int ScreenRows = 40;

// 100 000 rows of 20 columns: ints, doubles, varchars with Czech texts, date-times.
void createTable(db::Connection& db) {
    db.execute("DROP TABLE IF EXISTS " + table);
    db.execute("CREATE TABLE " + table +
               " (id INT PRIMARY KEY, i1 INT, i2 INT, i3 INT, i4 INT,"
               " d1 DOUBLE, d2 DOUBLE, d3 DOUBLE, d4 DOUBLE, d5 DOUBLE,"
               " t1 VARCHAR(50), t2 VARCHAR(50), t3 VARCHAR(40), t4 VARCHAR(30), t5 VARCHAR(20),"
               " t6 VARCHAR(20), t7 VARCHAR(10), k1 DATETIME, k2 DATETIME, k3 DATETIME)"
               " ENGINE=InnoDB DEFAULT CHARSET=cp1250");
    db.execute(QString::fromUtf8(
                   "INSERT INTO %1 SELECT seq, seq * 7 % 1000, seq % 97, seq * 31 % 100000, seq % 2,"
                   " seq * 1.25, (seq * 7919 % 100000) / 7, seq % 1000 / 3, seq * 0.0001, -seq / 9,"
                   " CONCAT(ELT(1 + seq % 10, 'Čep', 'Žárovka', 'chránič', 'Šroub', 'ocel', 'Řetěz', 'kůň',"
                   "   'Dřevo', 'hřebík', 'matice'), ' ', seq * 7919 % 100000, ' ', 'mosaz pozinkovaná'),"
                   " CONCAT('Dodavatel ', seq % 500, ' s.r.o.'), CONCAT('Ulice ', seq % 300, ', Praha'),"
                   " CONCAT('Popis ', seq), LPAD(seq * 13 % 100000, 8, '0'), 'ks', ELT(1 + seq % 3, 'A', 'B', 'C'),"
                   " '2013-01-01' + INTERVAL seq MINUTE, '2013-01-01' + INTERVAL seq % 365 DAY,"
                   " '2012-06-30 12:00:00' - INTERVAL seq SECOND"
                   " FROM seq_1_to_%2")
                   .arg(table)
                   .arg(Rows));
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    using bench::bestOf;
    db::Connection db;
    db.setSettings(bench::serverSettings());
    try {
        db.open();
        createTable(db);

        common::GridModel model;
        qsizetype touched = 0;
        const bench::ClientComparison load = bench::compareWithClient(
            statement, [&] { model.setResult(db::ResultSet()); },
            [&] {
                model.setResult(db.query(statement));
                for (int row = 0; row < ScreenRows; ++row)
                    for (int col = 0; col < model.columnCount(); ++col)
                        touched += model.data(model.index(row, col)).toString().size();
            });
        if (model.rowCount() != Rows || touched == 0) throw std::runtime_error("the list did not load");

        const double sortText = bestOf(5, [&] { model.sort(model.columnOf("t1")); });
        const double sortNumber = bestOf(5, [&] { model.sort(model.columnOf("d2")); });

        bench::printComparison("gridmodel", "load", load);
        std::printf("gridmodel_sort_text_ms %.1f\n", sortText);
        std::printf("gridmodel_sort_number_ms %.1f\n", sortNumber);
        db.execute("DROP TABLE IF EXISTS " + table);
    } catch (const std::exception& e) {
        std::fprintf(stderr, "bench_gridmodel: %s\n", e.what());
        return 1;
    }
    return 0;
}
