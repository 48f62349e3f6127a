// The issue document editor at the counter: a scan to a filled line with 100 000 goods and
// 300 000 EANs, the save of a 500-line document, and 8 workstations saving 50 new documents
// each of one series at once. Runs against velmo on 127.0.0.1:DORVIK_TEST_PORT; uses its own
// cost centres 8 (goods) and 9 (documents) and leaves other data alone.
#include "common/registercontext.h"
#include "common/startupsettings.h"
#include "db/connection.h"
#include "db/scriptrunner.h"
#include "issue/documentsave.h"
#include "issue/issuesql.h"
#include "issue/tfvydej.h"
#include "pickers/tfnabadres.h"
#include "pickers/tfnabzakaz.h"
#include "pickers/tfnabzbozi.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <algorithm>
#include <cstdio>
#include <thread>
#include <vector>

using namespace dorvik;

namespace {

db::ConnectionSettings settings() {
    db::ConnectionSettings s;
    s.host = QStringLiteral("127.0.0.1");
    s.port = qEnvironmentVariableIntValue("DORVIK_TEST_PORT");
    return s;
}

void fillGoods(db::Connection& c) {
    if (c.query("select count(*) from seznam where STREDISKO='8'").integer(0, 0) == 100000 &&
        c.query("select count(*) from seznamean where STREDISKO='8'").integer(0, 0) == 300000)
        return;
    c.execute("delete from seznam where STREDISKO='8'");
    c.execute("delete from seznamean where STREDISKO='8'");
    c.execute("insert into seznam (STREDISKO, JKPOV, NAZEV, MJ, PC, DPH, NC, EAN, FOFRCISLO, ZUSTATEK)"
              " select '8', concat('J', seq), concat('Zboží ', seq), 'ks', 10 + seq % 100, 21, 5, 8590000000000 + seq,"
              " if(seq <= 9999, seq, 0), 1000 from seq_1_to_100000");
    c.execute("insert into seznamean (STREDISKO, EAN, JKPOV)"
              " select '8', 2000000000000 + seq, concat('J', 1 + seq % 100000) from seq_1_to_300000");
}

double percentile(std::vector<double> v, double p) {
    std::sort(v.begin(), v.end());
    return v[size_t(std::min<double>(double(v.size() - 1), p * double(v.size() - 1) + 0.5))];
}

void benchScan(db::Connection& c) {
    fillGoods(c);
    common::StartupSettings startup;
    startup.workstation = QStringLiteral("81");
    common::RegisterContext context{c, startup, QStringLiteral("8"), QStringLiteral("11111111"), false, {}, -1};
    pickers::TFnabzbozi goods(c);
    pickers::TFnabadres addresses(c);
    pickers::TFnabzakaz orders(c);
    issue::TFvydej w(context, u'N', 0, false, false, issue::EditorPickers{goods, addresses, orders});
    w.show();
    QApplication::setActiveWindow(&w);
    (void)QTest::qWaitForWindowActive(&w); // the offscreen platform may never report it active
    auto* add = w.findChild<QPushButton*>("Button2");
    auto* back = w.findChild<QPushButton*>("Button5");
    auto* item = w.findChild<QLineEdit*>("EditJKP");
    std::vector<double> ms;
    for (int i = 0; i < 300; ++i) {
        add->click();
        QWidget* entry = QApplication::focusWidget();
        // Own EANs and extra EANs in turn, spread over the whole list.
        const qint64 ean = i % 2 ? 8590000000000 + (i * 331) % 100000 + 1 : 2000000000000 + (i * 997) % 300000 + 1;
        QElapsedTimer t;
        t.start();
        QTest::keyClicks(entry, QString::number(ean));
        QTest::keyClick(entry, Qt::Key_Return);
        ms.push_back(double(t.nsecsElapsed()) / 1e6);
        if (item->text().isEmpty()) std::printf("scan %lld not found\n", ean);
        back->click();
    }
    std::printf("issue_scan_median_ms %.2f\nissue_scan_p95_ms %.2f\n", percentile(ms, 0.5), percentile(ms, 0.95));
    w.reject();
}

void prepare(db::Connection& c, const QString& pc, int lines) {
    for (const QString& sql : issue::newHeaderStatements(pc) + issue::newLinesStatements(pc)) c.execute(sql);
    c.execute(QStringLiteral("insert into tmp%1dl (STREDISKO, DATUM) values ('9', '2024-06-01 08:00:00')").arg(pc));
    c.execute(QStringLiteral("insert into tmp%1dlrad (STREDISKO, JKPOV, NAZEV, MNOZ, PC, PCR, DPH)"
                             " select '9', concat('J', seq), concat('Zboží ', seq), 1, 10, 10, 21 from seq_1_to_%2")
                  .arg(pc)
                  .arg(lines));
}

void clearCentre(db::Connection& c) {
    c.execute("delete from dlrad where STREDISKO='9'");
    c.execute("delete from dl where STREDISKO='9'");
}

void benchSave(db::Connection& c) {
    clearCentre(c);
    std::vector<double> ms;
    for (int i = 0; i < 10; ++i) {
        prepare(c, "91", 500);
        QElapsedTimer t;
        t.start();
        issue::saveDocument(c, {"91", "9", u'N', 0, false, {}, {}});
        ms.push_back(double(t.nsecsElapsed()) / 1e6);
    }
    db::runScript(c, issue::closeBatch("91"));
    std::printf("issue_save_500_lines_median_ms %.1f\nissue_save_500_lines_max_ms %.1f\n", percentile(ms, 0.5),
                *std::max_element(ms.begin(), ms.end()));
}

bool benchConcurrentSaves(db::Connection& c) {
    clearCentre(c);
    constexpr int workstations = 8, documents = 50;
    std::vector<std::unique_ptr<db::Connection>> connections;
    for (int i = 0; i < workstations; ++i) {
        connections.push_back(std::make_unique<db::Connection>());
        connections.back()->setSettings(settings());
        connections.back()->open();
    }
    std::vector<std::vector<qint64>> numbers(workstations);
    std::vector<QString> failures(workstations);
    QElapsedTimer t;
    t.start();
    std::vector<std::thread> threads;
    for (int i = 0; i < workstations; ++i)
        threads.emplace_back([&, i] {
            const QString pc = QStringLiteral("9%1").arg(i + 2);
            try {
                for (int d = 0; d < documents; ++d) {
                    prepare(*connections[size_t(i)], pc, 3);
                    numbers[size_t(i)].push_back(issue::saveDocument(*connections[size_t(i)], {pc, "9", u'N', 0, false, {}, {}}).number);
                }
                db::runScript(*connections[size_t(i)], issue::closeBatch(pc));
            } catch (const std::exception& e) {
                failures[size_t(i)] = QString::fromUtf8(e.what());
            }
        });
    for (std::thread& th : threads) th.join();
    const double seconds = double(t.elapsed()) / 1000;
    std::vector<qint64> all;
    for (const auto& n : numbers) all.insert(all.end(), n.begin(), n.end());
    std::sort(all.begin(), all.end());
    const bool distinct = std::adjacent_find(all.begin(), all.end()) == all.end();
    const bool consecutive = !all.empty() && all.back() - all.front() + 1 == qint64(all.size());
    const qint64 stored = c.query("select count(*) from dl where STREDISKO='9'").integer(0, 0);
    const qint64 storedLines = c.query("select count(*) from dlrad where STREDISKO='9'").integer(0, 0);
    for (const QString& f : failures)
        if (!f.isEmpty()) std::printf("issue_concurrent_failure %s\n", qPrintable(f));
    std::printf("issue_concurrent_saved %zu\nissue_concurrent_stored %lld\nissue_concurrent_lines %lld\n"
                "issue_concurrent_distinct %d\nissue_concurrent_consecutive %d\nissue_concurrent_seconds %.2f\n",
                all.size(), stored, storedLines, distinct, consecutive, seconds);
    clearCentre(c);
    return all.size() == size_t(workstations * documents) && stored == qint64(all.size()) && distinct && consecutive;
}

} // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    if (settings().port == 0) {
        std::fprintf(stderr, "DORVIK_TEST_PORT is not set\n");
        return 2;
    }
    db::Connection c;
    c.setSettings(settings());
    c.open();
    benchScan(c);
    benchSave(c);
    return benchConcurrentSaves(c) ? 0 : 1;
}
