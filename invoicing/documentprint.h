#pragma once

#include <QString>

namespace dorvik::db {
class Connection;
}
namespace dorvik::reporting {
class ReportRunner;
}

namespace dorvik::invoicing {

// "Tisk dokladu": the document joined with its lines and its cost centre, one row per line.
QString issueDocumentStatement(const QString& documentNumber);
// The template by the customer's IČO (fewer than 4 characters: an internal unit) and the
// delivery-note layout setting; a path relative to the program folder.
QString issueDocumentTemplate(const QString& customerIco, int layout);

// "Tisk faktury": the scratch table of the invoice rows with the supplier's data.
QString invoiceTableStatement(const QString& workstation, const QString& invoiceNumber, const QString& centre);

// Runs the print through the window's report object. Database errors propagate.
void printIssueDocument(db::Connection& db, reporting::ReportRunner& runner, const QString& documentNumber, int layout);
// The scratch table is dropped before it is made and again after the preview closes;
// the CREATE statement is left in a.txt.
void printInvoice(db::Connection& db, reporting::ReportRunner& runner, const QString& workstation,
                  const QString& invoiceNumber, const QString& centre);

} // namespace dorvik::invoicing
