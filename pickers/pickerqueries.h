#pragma once

#include <QDate>
#include <QString>
#include <QStringList>
#include <optional>

namespace dorvik::pickers {

// The goods picker's list: the active goods of a cost centre by name.
QString goodsQuery(const QString& costCentre);

// The address picker's list until a caller sets another.
QString defaultAddressQuery();
// The issue document editor's address list: internal issue slips take partners whose IČO
// has at most three characters, delivery notes the others.
QString addressQuery(bool internal);

// The order picker's list: orders with a code, optionally only the open ones and only
// those of the customer.
QString orderQuery(bool openOnly, bool customerOnly, const QString& customerIco);
// The caption of the order picker's second check box.
QString customerCaption(const QString& ico, const QString& name);

// The item history: the statements that fill tmp<PC>histo with the receipts, POS sales
// and issues of item J in cost centre S, each to be run on its own.
QString historyTable(const QString& workstation);
QStringList historyFillStatements(const QString& workstation, const QString& item, const QString& costCentre);
QString historyTotalsQuery(const QString& workstation);

struct HistoryFilter {
    bool receipts = true; // "P"
    bool issues = true;   // "V"
    bool sales = true;    // "U"
    std::optional<QDate> from;
};
QString historyListQuery(const QString& workstation, const HistoryFilter& filter);

} // namespace dorvik::pickers
