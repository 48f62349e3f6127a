#pragma once

#include <QDate>
#include <QString>
#include <optional>

namespace dorvik::receipts {

// The till lines of one cost centre still to be written off (nc = 0, not a service), in the
// order they are booked: item code, then quantity ascending, so a return comes before the
// sales of its item.
QString writeOffSelection(const QString& centre);
// The quantity as the procedure takes it: the shortest decimal text, a point whatever the locale.
QString writeOffQuantity(double quantity);
// One call of the booking procedure for one line.
QString writeOffCall(const QString& centre, const QString& code, double quantity, qint64 id);

// "11" or "11, 12" as the quoted list "'11','12'"; nothing for anything else, so a typed text
// never reaches the statement as SQL. Empty for an empty text (every cost centre).
std::optional<QString> costCentreList(const QString& text);
// The lines not written off, sold before the start of `to`, of the listed cost centres
// (`list` as costCentreList gives it; empty: all).
QString unwrittenSelect(const QDate& to, const QString& list);

} // namespace dorvik::receipts
