#pragma once

#include <QString>

namespace dorvik::issue {

// What code entry makes of a typed or scanned text: the normalised text (put back into the
// entry field) and the code looked up. A scanned "5°°8594001234567" gives the code after
// the first "°°" and, when what stands before it is a number above 0, that quantity.
struct EntryCode {
    QString text;
    QString code;
    double quantity = 0; // 0: no quantity came with the code
};
EntryCode parseEntry(const QString& typed);

// 1 to 4 characters: a fast number; exactly 8 or 13 after that: an EAN.
bool isFastNumber(const QString& code);
bool isEan(const QString& code);

// Sums of PCR by VAT rate: 10 is S, 17 and more V, every other rate N.
struct Totals {
    double s = 0;
    double n = 0;
    double v = 0;
    void add(int dph, double pcr);
    double total() const { return n + v + s; }
};
// Two decimals, grouped thousands, decimal comma: 1 234,50.
QString totalText(double value);

// "Sleva 8 %", "Sleva 2,5 %".
QString discountText(double sleva);
// A piece item's quantity must be whole.
bool breaksPieceRule(const QString& povaha, double quantity);
// "Nelze. Na skladě pouze 3 ks".
QString stockMessage(double stock, const QString& unit);

// The first number of a new document's series: (prefix + S) * 1000, prefix Y-2000+300 for
// delivery notes and Y-2000+400 for internal issue slips. 32-bit arithmetic: a cost centre
// that is not a number, or a base that does not fit, raises std::invalid_argument.
qint32 numberBase(int year, bool internal, const QString& centre);

// The closed accounting month "yyyymm" covers the document date.
bool inClosedPeriod(const QString& closedMonth, const QString& documentMonth);

} // namespace dorvik::issue
