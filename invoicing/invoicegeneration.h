#pragma once

#include "invoicing/invoicebuilder.h"

#include <QString>
#include <stdexcept>

namespace dorvik::db {
class Connection;
}

namespace dorvik::invoicing {

// What "Vytvořit" hands over from the window.
struct InvoiceRequest {
    QString workstation;      // names the scratch table tmp<PC>fakt
    QString documentText;     // the document number as typed; selects the lines
    DocumentHeader document;  // the dl row loaded when the window opened
    QDate plneni, vystaveni, splatnost;
    QString uhrada;
    QString ownIco;
    qint64 existingNumber = 0; // > 0: rewrite this invoice
    QString settingsPath;      // velmo.ini, read for prefixFakt when a new number is taken
};

// An invoice that must not be written; the text says why. Nothing has been written.
class InvoiceRefused : public std::runtime_error {
public:
    explicit InvoiceRefused(const QString& text) : std::runtime_error(text.toStdString()), text_(text) {}
    const QString& text() const { return text_; }

private:
    QString text_;
};

// Numbers the invoice (or keeps the existing number), builds its rows in the scratch table
// and writes them with the document's mark in one transaction. The centre's numbering
// stays locked from reading the highest number to the commit, so two workstations never
// take the same number. Inside the transaction the document is read with a lock: one that
// already has another invoice, or that changed since its lines were read, gets none
// (InvoiceRefused). A commit whose answer was lost is settled by the stored invoice: not
// there, db::NotStored. Returns the invoice number.
qint64 generateInvoice(db::Connection& connection, const InvoiceRequest& request);

} // namespace dorvik::invoicing
