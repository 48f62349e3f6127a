// The register on a large cost centre: the document list of 100 000 delivery notes
// loaded by the window (statement, grid, first screen) against the mariadb client fetching
// the same statement, and the "Hledat" dialog filtering 100 000 values per keystroke.
//   register_cli_ms, register_cli_compress_ms   the client, plain and compressed (best of 5)
//   register_load_ms                            the window's list load (best of 5)
//   register_load_ratio_vs_cli                  target at most 1.5
//   register_load_ratio_vs_cli_compress         against the client compressing as we do
//   register_search_keystroke_median_ms, _max_ms  filtering per typed character; target under 50
// The documents go to a cost centre of their own ("998") and are removed afterwards.

#include "app/registerlogic.h"
#include "app/tform1.h"
#include "bench/benchsupport.h"
#include "common/columnsearchdialog.h"
#include "common/gridmodel.h"

#include <QApplication>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>
#include <cstdio>

using namespace dorvik;

namespace {

constexpr int Documents = 100000;
const QString centre = QStringLiteral("998");

void createDocuments(db::Connection& db) {
    db.execute("DELETE FROM dl WHERE stredisko = '998'");
    db.execute(QString::fromUtf8(
                   "INSERT INTO dl (CISLODOKLA, STREDISKO, DATUM, CISLOFAKT, VNITRO, KODPAR, ICO, NAZEVPODNI, SIDLO,"
                   " ULICECISLO, PSC, POSTA, DIC, OBJEDNAVKA, ZAKAZKA)"
                   " SELECT 1900000000 + seq, '998', '2026-01-01' + INTERVAL seq MINUTE, '', 0, CONCAT('O', seq % 700),"
                   " LPAD(seq * 7919 % 100000000, 8, '0'),"
                   " CONCAT(ELT(1 + seq % 6, 'Novák', 'Dvořák', 'Kovanov', 'Šťastný', 'Řezníček', 'Černý'), ' ', seq % 977,"
                   " ' s.r.o.'), ELT(1 + seq % 4, 'Třebíč', 'Jihlava', 'Brno', 'Velké Meziříčí'), CONCAT('Hlavní ', seq % 200),"
                   " '674 01', 'Třebíč', CONCAT('CZ', seq), CONCAT('OBJ-', seq % 999), ''"
                   " FROM seq_1_to_%1")
                   .arg(Documents));
}

} // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    using bench::timed;
    QTemporaryDir dir;
    qputenv("DORVIK_STATE_DIR", dir.path().toUtf8());
    db::Connection db;
    db.setSettings(bench::serverSettings());
    try {
        db.open();
        createDocuments(db);
        QFile ini(dir.filePath("velmo.ini"));
        if (!ini.open(QIODevice::WriteOnly)) throw std::runtime_error("no settings file");
        ini.write(QStringLiteral("[LogON]\nIP=127.0.0.1\nSQLport=%1\nStredisko=%2\ntestovatVerzi=N\n")
                      .arg(bench::serverPort())
                      .arg(centre)
                      .toUtf8());
        ini.close();

        app::TForm1 form(dir.filePath("velmo.ini"));
        form.show();
        const QString statement = app::documentListSql(centre, QString(), app::RegisterMode::DL);
        auto* fa = form.findChild<QPushButton*>("ButtonFA");
        auto* dl = form.findChild<QPushButton*>("ButtonDL");
        const bench::ClientComparison load = bench::compareWithClient(
            statement, [&] { fa->click(); }, // an empty list
            [&] {
                dl->click();
                QCoreApplication::processEvents(); // the first screen painted
            });
        if (form.documents().rowCount() != Documents) throw std::runtime_error("the list did not load");

        auto* list = form.findChild<QTableView*>("DBGrid1");
        common::ColumnSearchDialog dialog(list);
        dialog.setColumn(form.documents().columnOf("NAZEVPODNI"));
        dialog.show();
        auto* edit = dialog.findChild<QLineEdit*>("EditHledat");
        std::vector<double> keystrokes;
        for (const QChar c : QStringLiteral("kovanov 12")) keystrokes.push_back(timed([&] { QTest::keyClicks(edit, c); }));
        std::sort(keystrokes.begin(), keystrokes.end());

        bench::printComparison("register", "load", load);
        std::printf("register_search_keystroke_median_ms %.1f\n", keystrokes[keystrokes.size() / 2]);
        std::printf("register_search_keystroke_max_ms %.1f\n", keystrokes.back());
        db.execute("DELETE FROM dl WHERE stredisko = '998'");
    } catch (const std::exception& e) {
        std::fprintf(stderr, "bench_register: %s\n", e.what());
        return 1;
    }
    return 0;
}
