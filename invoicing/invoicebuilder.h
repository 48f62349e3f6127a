#pragma once

#include "db/resultset.h"

#include <QDate>
#include <QList>
#include <QString>
#include <QStringList>
#include <optional>

namespace dorvik::invoicing {

// VAT rates of the four buckets; a line belongs to the bucket whose rate equals its own.
// -99 marks a bucket that does not exist in that year and so takes no line.
struct VatRates {
    int zero = 0;
    int reduced = 0;        // N
    int standard = 0;       // V
    int secondReduced = 0;  // S
};
constexpr int noRate = -99;

// By the year of taxable supply: 14/20 before 2013, 15/21 in 2013-2014, 15/21/10 in
// 2015-2023, 12/21 from 2024 (the 10 % and 15 % rates ended with 2023).
VatRates vatRatesForYear(int year);

// The columns of the dl row that the invoice takes over.
struct DocumentHeader {
    QString centre, objednavka, ico, kodpar, dic, nazevpodni, sidlo, ulicecislo, psc, posta, zakazka;
    QString text1, text2, text3;
    QDate datum;

    static DocumentHeader fromRow(const db::ResultSet& dl, int row);
};

// One fakt row's line columns; a text row has only text.
struct InvoiceRow {
    QString text;
    QString mj;
    double mnozstvi = 0;
    double cena = 0;
    double celkem = 0;
    int dan = 0;
    double dph = 0;
};

// The rows in print order: the heading, TEXT1, TEXT2, each dlrad line with its description
// (never for the own IČO 27354910), TEXT3. Empty texts and descriptions give no row.
QList<InvoiceRow> invoiceRows(const QString& documentText, const DocumentHeader& document,
                              const db::ResultSet& lines, const QString& ownIco);

// The totals every row of the invoice repeats. The VAT of a bucket is set only when its
// base is not zero.
struct InvoiceSums {
    double z0 = 0, zn = 0, zv = 0, zs = 0;
    std::optional<double> dphn, dphv, dphs;
    double fa = 0;
    double zaok = 0;
    double halere = 0;
};
InvoiceSums invoiceSums(const QList<InvoiceRow>& rows, const VatRates& rates);

// An item whose VAT rate is none of the buckets of the year of taxable supply would be
// printed but left out of every sum and of the total to pay. Names the first such item of
// the dlrad lines (columns nazev, dph) and its rate; empty when every rate has its bucket.
QString unknownRateText(const db::ResultSet& lines, int year);
// The total with VAT (SUMA_FA) an invoice of the dlrad lines (columns dph, pcr) carries when
// its taxable supply falls in the year.
double totalWithVat(const db::ResultSet& lines, int year);

// The header columns every row repeats.
struct InvoiceHeader {
    qint64 number = 0;
    QString documentText; // DODACILIST
    QDate splatnost, vystaveni, plneni;
    QString uhrada;
};

// Invoicing goes on only when the closed period lies before the month of taxable supply
// (an empty one always does); both compared as "yyyymm" texts.
bool periodOpen(const QDate& plneni, const QString& uzavreneuo);

QString documentHeaderSql(const QString& documentText);
QString closedPeriodSql();
QString existingInvoiceSql(qint64 number);
QStringList scratchTableSql(const QString& scratch);
QString documentLinesSql(const QString& documentText);
// The document's invoice mark, read with a lock inside the invoice's transaction.
QString invoiceMarkSql(const QString& documentText);
// The stored invoice and the document's mark, and what was sent for them, read the same way.
QStringList storedInvoiceSql(qint64 number, const QString& documentText);
QStringList sentInvoiceSql(qint64 number, const QString& scratch);
// Replaces the invoice's rows by the scratch rows and marks the document, in one transaction.
QStringList invoiceScript(qint64 number, const QString& scratch, const QString& documentText);

} // namespace dorvik::invoicing
