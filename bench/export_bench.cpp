// A 10 000-row report with texts, numbers and dates exported to XLSX and CSV, as the
// preview's "Export do Excelu…" and "Export do CSV…" write them. Prints seconds, best of three.
#include "benchsupport.h"
#include "reporting/fr3reader.h"
#include "reporting/spreadsheetexport.h"

#include <QApplication>
#include <QTemporaryDir>
#include <cstdio>

using namespace dorvik;

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    db::Connection connection;
    connection.setSettings(bench::serverSettings());
    connection.open();
    const QString field = QStringLiteral("[frxDBDataset1.&quot;%1&quot;]");
    const QString memo = QStringLiteral("<TfrxMemoView Left=\"%1\" Width=\"100\" Height=\"18\" Text=\"%2\" %3/>");
    const QByteArray xml =
        ("<?xml version=\"1.0\" encoding=\"utf-8\"?><TfrxReport ReportOptions.Name=\"Obrat skladu\"><TfrxReportPage Name=\"Page1\">"
         "<TfrxMasterData Name=\"MasterData1\" Top=\"100\" Height=\"18\" DataSet=\"frxDBDataset1\" DataSetName=\"frxDBDataset1\">"
         + memo.arg(0).arg(field.arg("NAZEV"), "") + memo.arg(100).arg(field.arg("MNOZ"), "DisplayFormat.Kind=\"fkNumeric\" DisplayFormat.FormatStr=\"# ##0.###\"")
         + memo.arg(200).arg(field.arg("CENA"), "DisplayFormat.Kind=\"fkNumeric\" DisplayFormat.FormatStr=\"# ##0.00\"")
         + memo.arg(300).arg(field.arg("DATUM"), "") + "</TfrxMasterData></TfrxReportPage></TfrxReport>").toUtf8();
    const db::ResultSet rows = connection.query(QStringLiteral(
        "with d(d) as (select 0 union all select 1 union all select 2 union all select 3 union all select 4 union all"
        " select 5 union all select 6 union all select 7 union all select 8 union all select 9),"
        " r(n) as (select a.d + 10 * b.d + 100 * c.d + 1000 * e.d + 1 from d a, d b, d c, d e)"
        " select n as N, (n - 1) div 50 as SKUPINA, concat('Položka číslo ', n, '; „žluťoučký“') as NAZEV, cast(n mod 7 + 0.5 as decimal(15,4)) as MNOZ,"
        " n * 1.25e0 as CENA, date '2026-01-01' + interval (n mod 365) day as DATUM, concat('JK', n) as KOD from r order by n"));
    const reporting::ReportSource source{reporting::parseTemplate(xml), rows, QStringLiteral("Obrat skladu")};
    QTemporaryDir dir;
    const double xlsx = bench::bestOf(3, [&] { reporting::writeXlsx(source, dir.filePath(QStringLiteral("bench.xlsx"))); });
    const double csv = bench::bestOf(3, [&] { reporting::writeCsv(source, dir.filePath(QStringLiteral("bench.csv"))); });
    std::printf("export_rows %d\n", rows.rowCount());
    std::printf("export_xlsx_s %.3f\n", xlsx / 1000);
    std::printf("export_csv_s %.3f\n", csv / 1000);
    return 0;
}
