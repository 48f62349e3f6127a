// A 10 000-row list with a group header and footer every 50 rows, prepared and written to
// PDF. Prints pages per second for preparation + PDF and the process's memory peak.
#include "db/connection.h"
#include "reporting/engine.h"
#include "reporting/fr3reader.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <cstdio>
#include <sys/resource.h>

using namespace dorvik;

namespace {

QByteArray listTemplate() {
    const QString field = QStringLiteral("[frxDBDataset1.&quot;%1&quot;]");
    const auto memo = [&](int left, int width, const QString& text, const char* extra = "") {
        return QStringLiteral("<TfrxMemoView Left=\"%1\" Width=\"%2\" Height=\"18\" %3 Text=\"%4\"/>").arg(left).arg(width).arg(QLatin1String(extra), text);
    };
    QString bands;
    bands += "<TfrxPageHeader Name=\"PH\" Top=\"0\" Height=\"30\">" + memo(0, 400, "Seznam položek") + memo(500, 218, "Strana [Page#] z [TotalPages#]", "HAlign=\"haRight\"") + "</TfrxPageHeader>";
    bands += "<TfrxGroupHeader Name=\"GH\" Top=\"50\" Height=\"22\" Condition=\"frxDBDataset1.&quot;SKUPINA&quot;\">" + memo(0, 400, "Skupina " + field.arg("SKUPINA"), "Font.Style=\"1\" Font.Name=\"Arial\" Font.Height=\"-13\" ParentFont=\"False\"") + "</TfrxGroupHeader>";
    bands += "<TfrxMasterData Name=\"MasterData1\" Top=\"100\" Height=\"18\" DataSet=\"frxDBDataset1\" DataSetName=\"frxDBDataset1\">"
             + memo(0, 80, field.arg("N")) + memo(80, 300, field.arg("NAZEV")) + memo(380, 100, field.arg("MNOZ"), "HAlign=\"haRight\" DisplayFormat.Kind=\"fkNumeric\" DisplayFormat.FormatStr=\"# ##0.###\"")
             + memo(480, 100, field.arg("CENA"), "HAlign=\"haRight\" DisplayFormat.Kind=\"fkNumeric\" DisplayFormat.FormatStr=\"%2.2n\"")
             + memo(580, 138, "[&lt;frxDBDataset1.&quot;MNOZ&quot;&gt; * &lt;frxDBDataset1.&quot;CENA&quot;&gt;]", "HAlign=\"haRight\" DisplayFormat.Kind=\"fkNumeric\" DisplayFormat.FormatStr=\"%2.2n\"")
             + "</TfrxMasterData>";
    bands += "<TfrxGroupFooter Name=\"GF\" Top=\"150\" Height=\"22\">" + memo(380, 338, "Součet [SUM(&lt;frxDBDataset1.&quot;CENA&quot;&gt;,MasterData1) #n%2.2n]", "HAlign=\"haRight\" Frame.Typ=\"4\"") + "</TfrxGroupFooter>";
    bands += "<TfrxPageFooter Name=\"PF\" Top=\"900\" Height=\"20\">" + memo(0, 718, "Strana [Page#], součet strany [SUM(&lt;frxDBDataset1.&quot;CENA&quot;&gt;,MasterData1) #n%2.2n]") + "</TfrxPageFooter>";
    return ("<?xml version=\"1.0\" encoding=\"utf-8\" standalone=\"no\"?><TfrxReport><TfrxReportPage Name=\"Page1\">" + bands + "</TfrxReportPage></TfrxReport>").toUtf8();
}

} // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    db::Connection connection;
    db::ConnectionSettings settings;
    settings.host = QStringLiteral("127.0.0.1");
    settings.port = qEnvironmentVariableIntValue("DORVIK_TEST_PORT");
    connection.setSettings(settings);
    connection.open();
    const db::ResultSet rows = connection.query(QStringLiteral(
        "with d(d) as (select 0 union all select 1 union all select 2 union all select 3 union all select 4 union all"
        " select 5 union all select 6 union all select 7 union all select 8 union all select 9),"
        " r(n) as (select a.d + 10 * b.d + 100 * c.d + 1000 * e.d + 1 from d a, d b, d c, d e)"
        " select n as N, (n - 1) div 50 as SKUPINA, concat('Položka číslo ', n) as NAZEV, n mod 7 + 0.5 as MNOZ, n * 1.25 as CENA from r order by n"));
    const reporting::Template report = reporting::parseTemplate(listTemplate());
    QTemporaryDir dir;
    QElapsedTimer timer;
    timer.start();
    const reporting::PreparedReport prepared = reporting::prepareReport(report, rows);
    const double prepareSeconds = timer.nsecsElapsed() / 1e9;
    reporting::writePdf(prepared, dir.filePath(QStringLiteral("bench.pdf")));
    const double totalSeconds = timer.nsecsElapsed() / 1e9;
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    const double pages = double(prepared.pages.size());
    std::printf("report_pages %d\n", int(pages));
    std::printf("report_prepare_pages_per_s %.0f\n", pages / prepareSeconds);
    std::printf("report_pdf_pages_per_s %.0f\n", pages / totalSeconds);
    std::printf("report_pdf_bytes %lld\n", static_cast<long long>(QFile(dir.filePath(QStringLiteral("bench.pdf"))).size()));
    std::printf("report_memory_peak_mb %.1f\n", usage.ru_maxrss / 1024.0);
    return 0;
}
