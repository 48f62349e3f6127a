// The issue document editor at the counter: a scan to a filled line with 100 000 goods and
// 300 000 EANs, the save of a 500-line document, and a shop with many workstations for a
// minute: 8 save new documents of one series while 4 correct and invoice existing ones;
// every outcome is counted and the stored documents and invoices are checked at the end.
// Runs against velmo on 127.0.0.1:DORVIK_TEST_PORT; uses its own cost centres 8 (goods) and
// 9 (documents and invoices) and leaves other data alone.
#include "common/registercontext.h"
#include "common/startupsettings.h"
#include "db/connection.h"
#include "db/scriptrunner.h"
#include "db/savecheck.h"
#include "invoicing/invoicebuilder.h"
#include "invoicing/invoicegeneration.h"
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
#include <random>
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
    c.execute("delete from fakt where STREDISKO='9'");
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

// The documents the correcting workstations work on: 3249001 .. 3249000 + existingDocuments,
// two lines each; new documents continue the series above them.
constexpr int existingDocuments = 8;

void addExistingDocuments(db::Connection& c) {
    c.execute(QStringLiteral("insert into dl (CISLODOKLA, STREDISKO, DATUM, ICO, NAZEVPODNI, CISLOFAKT)"
                             " select 3249000 + seq, '9', '2024-06-01 08:00:00', '12345678', 'Odběratel', ''"
                             " from seq_1_to_%1").arg(existingDocuments));
    c.execute(QStringLiteral("insert into dlrad (CISLODOKLA, STREDISKO, JKPOV, NAZEV, MJ, MNOZ, PC, PCR, DPH)"
                             " select 3249000 + seq DIV 2, '9', 'ZAKLAD', 'Základ', 'ks', 1, 10, 10, 21"
                             " from seq_2_to_%1").arg(2 * existingDocuments + 1));
}

// What the correcting and invoicing workstations met.
struct Outcomes {
    int correctionsSaved = 0;
    int correctionsRefused = 0;      // told: another workstation changed the document
    int invoicesCreated = 0;
    int invoicesRefused = 0;         // told: it has an invoice, or it changed meanwhile
    int rewrites = 0;                // an invoiced document's invoice written again after its correction
    int rewritesRefused = 0;         // told: a later correction changed it again (and rewrites it itself)
    QStringList savedMarks;          // the line each saved correction added
    QStringList errors;              // anything else: must stay empty
};

invoicing::InvoiceRequest invoiceRequest(db::Connection& c, const QString& pc, qint64 document, qint64 existing) {
    invoicing::InvoiceRequest r;
    r.workstation = pc;
    r.documentText = QString::number(document);
    r.document = invoicing::DocumentHeader::fromRow(c.query(invoicing::documentHeaderSql(r.documentText)), 0);
    r.plneni = r.document.datum;
    r.vystaveni = r.splatnost = QDate(2025, 6, 2);
    r.uhrada = QStringLiteral("Hotově");
    r.existingNumber = existing;
    r.settingsPath = QStringLiteral("/nonexistent/velmo.ini");
    return r;
}

// A correction as the editor makes it: copy, add a line, save; an invoiced document's invoice
// is then written again from the corrected lines.
void correct(db::Connection& c, const QString& pc, qint64 document, int step, Outcomes& o) {
    for (const QString& sql : issue::correctionHeaderStatements(pc, document) + issue::correctionLinesStatements(pc, document))
        c.execute(sql);
    const QByteArray copied = issue::copiedDocumentStamp(c, pc);
    const QString invoice = c.query(QStringLiteral("select trim(CISLOFAKT) from tmp%1dl").arg(pc)).text(0, 0);
    const QString mark = QStringLiteral("K%1-%2").arg(pc).arg(step);
    c.execute(QStringLiteral("insert into tmp%1dlrad (CISLODOKLA, STREDISKO, JKPOV, NAZEV, MJ, MNOZ, PC, PCR, DPH)"
                             " values (%2, '9', '%3', 'Oprava', 'ks', 2, 5, 10, 21)")
                  .arg(pc)
                  .arg(document)
                  .arg(mark));
    std::this_thread::sleep_for(std::chrono::milliseconds(50 + step * 37 % 200)); // the user typing
    try {
        issue::saveDocument(c, {pc, "9", u'O', document, false, {}, copied});
    } catch (const db::ChangedMeanwhile&) {
        ++o.correctionsRefused;
        return;
    }
    ++o.correctionsSaved;
    o.savedMarks << mark;
    if (invoice.isEmpty()) return;
    try {
        invoicing::generateInvoice(c, invoiceRequest(c, pc, document, invoice.toLongLong()));
        ++o.rewrites;
    } catch (const invoicing::InvoiceRefused&) {
        ++o.rewritesRefused;
    }
}

void invoice(db::Connection& c, const QString& pc, qint64 document, Outcomes& o) {
    try {
        invoicing::generateInvoice(c, invoiceRequest(c, pc, document, 0));
        ++o.invoicesCreated;
    } catch (const invoicing::InvoiceRefused&) {
        ++o.invoicesRefused;
    }
}

bool benchShopMinute(db::Connection& c) {
    clearCentre(c);
    addExistingDocuments(c);
    const int seconds = qEnvironmentVariableIsSet("DORVIK_BENCH_SECONDS") ? qEnvironmentVariableIntValue("DORVIK_BENCH_SECONDS") : 60;
    constexpr int savers = 8, correctors = 4;
    std::vector<std::unique_ptr<db::Connection>> connections;
    for (int i = 0; i < savers + correctors; ++i) {
        connections.push_back(std::make_unique<db::Connection>());
        connections.back()->setSettings(settings());
        connections.back()->open();
    }
    std::vector<std::vector<qint64>> numbers(savers);
    std::vector<Outcomes> outcomes(correctors);
    std::vector<QString> failures(savers);
    QElapsedTimer t;
    t.start();
    const auto running = [&] { return t.elapsed() < qint64(seconds) * 1000; };
    std::vector<std::thread> threads;
    for (int i = 0; i < savers; ++i)
        threads.emplace_back([&, i] {
            const QString pc = QStringLiteral("9%1").arg(i + 2);
            db::Connection& own = *connections[size_t(i)];
            try {
                while (running()) {
                    prepare(own, pc, 3);
                    numbers[size_t(i)].push_back(issue::saveDocument(own, {pc, "9", u'N', 0, false, {}, {}}).number);
                }
                db::runScript(own, issue::closeBatch(pc));
            } catch (const std::exception& e) {
                failures[size_t(i)] = QString::fromUtf8(e.what());
            }
        });
    for (int i = 0; i < correctors; ++i)
        threads.emplace_back([&, i] {
            const QString pc = QStringLiteral("7%1").arg(i + 1);
            db::Connection& own = *connections[size_t(savers + i)];
            Outcomes& o = outcomes[size_t(i)];
            std::mt19937 random(unsigned(i + 1));
            for (int step = 0; running(); ++step) {
                const qint64 document = 3249001 + qint64(random() % existingDocuments);
                const bool correcting = step % 2 == 0;
                try {
                    if (correcting)
                        correct(own, pc, document, step, o);
                    else
                        invoice(own, pc, document, o);
                } catch (const std::exception& e) {
                    o.errors << (correcting ? QStringLiteral("correction: ") : QStringLiteral("invoice: ")) + QString::fromUtf8(e.what());
                }
            }
            db::runScript(own, issue::closeBatch(pc));
        });
    for (std::thread& th : threads) th.join();

    std::vector<qint64> all;
    for (const auto& n : numbers) all.insert(all.end(), n.begin(), n.end());
    std::sort(all.begin(), all.end());
    const bool distinct = std::adjacent_find(all.begin(), all.end()) == all.end();
    const bool consecutive = !all.empty() && all.back() - all.front() + 1 == qint64(all.size());
    const auto count = [&](const QString& sql) { return c.query(sql).integer(0, 0); };
    const qint64 stored = count(QStringLiteral("select count(*) from dl where STREDISKO='9' and CISLODOKLA > %1")
                                    .arg(3249000 + existingDocuments));
    const qint64 broken = count(QStringLiteral("select count(*) from dl d where STREDISKO='9' and CISLODOKLA > %1 and"
                                               " (select count(*) from dlrad r where r.CISLODOKLA = d.CISLODOKLA) <> 3")
                                    .arg(3249000 + existingDocuments));
    Outcomes sum;
    for (const Outcomes& o : outcomes) {
        sum.correctionsSaved += o.correctionsSaved;
        sum.correctionsRefused += o.correctionsRefused;
        sum.invoicesCreated += o.invoicesCreated;
        sum.invoicesRefused += o.invoicesRefused;
        sum.rewrites += o.rewrites;
        sum.rewritesRefused += o.rewritesRefused;
        sum.savedMarks += o.savedMarks;
        sum.errors += o.errors;
    }
    // A saved correction's line stays (later corrections copied it); a refused one's never arrives.
    qint64 lostCorrections = count("select count(*) from dlrad where STREDISKO='9' and JKPOV like 'K%'") != sum.savedMarks.size();
    for (const QString& mark : sum.savedMarks)
        lostCorrections += count(QStringLiteral("select count(*) from dlrad where JKPOV = '%1'").arg(mark)) != 1;
    const qint64 twoInvoices = count("select count(*) from (select DODACILIST from fakt where STREDISKO='9'"
                                     " group by DODACILIST having count(distinct CFAKT) > 1) x");
    const qint64 invoices = count("select count(distinct CFAKT) from fakt where STREDISKO='9'");
    const qint64 marked = count("select count(*) from dl where STREDISKO='9' and trim(CISLOFAKT) <> ''");
    // Every invoice carries its document's lines as they are now, and the mark names it.
    const qint64 mismatched = count(
        "select count(*) from dl d where STREDISKO='9' and trim(CISLOFAKT) <> '' and"
        " ((select count(*) from fakt f where f.CFAKT = d.CISLOFAKT and f.MNOZSTVI <> 0) <>"
        "  (select count(*) from dlrad r where r.CISLODOKLA = d.CISLODOKLA)"
        "  or (select count(*) from fakt f where f.CFAKT = d.CISLOFAKT and f.DODACILIST = d.CISLODOKLA) = 0)");
    for (const QString& f : failures)
        if (!f.isEmpty()) std::printf("issue_shop_failure %s\n", qPrintable(f));
    for (const QString& e : sum.errors) std::printf("issue_shop_error %s\n", qPrintable(e));
    std::printf("issue_shop_seconds %d\n"
                "issue_shop_new_documents %zu\nissue_shop_new_documents_stored %lld\nissue_shop_new_documents_broken %lld\n"
                "issue_shop_numbers_distinct %d\nissue_shop_numbers_consecutive %d\n"
                "issue_shop_corrections_saved %d\nissue_shop_corrections_refused_with_message %d\n"
                "issue_shop_corrections_lost_without_message %lld\n"
                "issue_shop_invoices_created %d\nissue_shop_invoices_refused_with_message %d\n"
                "issue_shop_invoices_rewritten %d\nissue_shop_invoice_rewrites_refused_with_message %d\n"
                "issue_shop_documents_with_two_invoices %lld\nissue_shop_invoices_stored %lld\n"
                "issue_shop_documents_marked %lld\nissue_shop_invoices_not_matching_document %lld\n"
                "issue_shop_other_errors %lld\n",
                seconds, all.size(), stored, broken, distinct, consecutive, sum.correctionsSaved,
                sum.correctionsRefused, lostCorrections, sum.invoicesCreated, sum.invoicesRefused, sum.rewrites,
                sum.rewritesRefused, twoInvoices, invoices, marked, mismatched,
                qint64(sum.errors.size()) + qint64(std::count_if(failures.begin(), failures.end(),
                                                                  [](const QString& f) { return !f.isEmpty(); })));
    clearCentre(c);
    return stored == qint64(all.size()) && broken == 0 && distinct && consecutive && lostCorrections == 0
           && twoInvoices == 0 && invoices == sum.invoicesCreated && invoices == marked && mismatched == 0
           && sum.errors.isEmpty() && std::all_of(failures.begin(), failures.end(), [](const QString& f) { return f.isEmpty(); });
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
    return benchShopMinute(c) ? 0 : 1;
}
