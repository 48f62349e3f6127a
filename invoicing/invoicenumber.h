#pragma once

#include <QString>
#include <optional>

namespace dorvik::invoicing {

// An invoice number is prefixFakt * 10^9 + (year code text followed by the cost-centre
// text) * 1000 + a three-digit sequence: prefix 0, 2013, centre "11" gives 61311001.

// Why the centre cannot be part of an invoice number (empty when it can): the series
// value is formed in 32 bits, so only one to three digits fit.
std::optional<QString> costCentreRefusal(const QString& centre);

// The number base of the series; the centre must have passed costCentreRefusal.
qint64 invoiceNumberBase(int issueYear, const QString& centre, qint64 prefixFakt);

// The highest invoice of the centre above the base, highest first.
QString highestInvoiceSql(const QString& centre, qint64 base);

// The highest number found plus one, or the first of the series when there is none.
qint64 nextInvoiceNumber(std::optional<qint64> highest, qint64 base);

// After 999 the sequence would carry into the series code: such a number is not issued.
bool sequenceExhausted(qint64 number);

// PORADOVEC: the last three digits; RADA: the number div 1000.
QString sequenceText(qint64 number);
QString seriesText(qint64 number);

// The named server lock that one workstation holds on a centre's invoice numbering from
// reading the highest number until its invoice is committed.
QString numberingLockName(const QString& centre);

} // namespace dorvik::invoicing
