#pragma once

#include "db/resultset.h"
#include "reporting/template.h"

#include <QByteArray>
#include <QList>
#include <QString>

namespace dorvik::reporting {

// What a preview exports besides its pages: the template with its variables set, the data it
// was prepared from, and the report's title for suggested file names.
struct ReportSource {
    Template report;
    db::ResultSet data;
    QString title;
};

// A dataset column as a spreadsheet gets it. The columns the template prints come first, in
// the order they stand on the page (bands top down, objects top down and left to right),
// then the rest in the dataset's order.
struct ExportColumn {
    int field = 0;        // column of the dataset
    QString name;
    QString numberFormat; // the template's number format: a FormatFloat pattern or a Format "%2.2n"; empty: none
};
QList<ExportColumn> exportColumns(const Template& report, const db::ResultSet& data);

// A template number format as a spreadsheet number format code ("# ##0.00" -> "#,##0.00");
// "General" where the spreadsheet has no equal (only optional decimals would leave a bare comma).
QString spreadsheetNumberFormat(const QString& format);

// One sheet: bold, frozen column heads, numbers as numbers in the template's format, dates as
// dates, texts as texts. Raises std::runtime_error when the file cannot be written.
void writeXlsx(const ReportSource& source, const QString& path);
// The same rows as CSV: UTF-8 with a byte-order mark, ";" between fields, the decimal comma,
// fields with ";", quotes or line breaks quoted.
QByteArray csvBytes(const ReportSource& source);
void writeCsv(const ReportSource& source, const QString& path);

// The template's report name followed by the texts of the variables the program set
// (dates as yyyy-mm-dd): "Obrat skladu 2026-12-01 – 2026-12-11".
QString reportTitle(const Template& report);
// A file name from a title, with the characters file systems refuse replaced.
QString suggestedFileName(const QString& title, const QString& extension);

} // namespace dorvik::reporting
