#pragma once

#include <QDate>
#include <QDateTime>
#include <QString>
#include <QStringView>

namespace dorvik::common {

// How the lists show quantities and money.
inline const QString QuantityFormat = QStringLiteral("### ###.####");
inline const QString MoneyFormat = QStringLiteral("### ### ##0.00");

// A number's display format in the Delphi style the program's columns are written in:
//   0   a digit that is always shown      #   a digit shown only when it is significant
//   .   the decimal comma                 , or a space between integer digits: group thousands
// Text before the first and after the last placeholder is shown as it stands. Grouped thousands
// use a space, the decimal separator is a comma, whatever the locale. Decimals are cut by
// rounding half away from zero on the value's 15 significant digits, so a double that reads
// 2.675 shows "2,68" with two decimals. Like Delphi, a pattern of optional digits shows nothing for 0
// ("### ###.####" gives "" for 0 and ",5" for 0.5). Without a pattern a number shows as Delphi
// shows a float field without a display format: up to 15 significant digits, no grouping.
class DisplayFormat {
public:
    DisplayFormat() = default;
    explicit DisplayFormat(QStringView pattern);

    bool isGeneral() const { return general_; }
    QString format(double value) const;

private:
    bool general_ = true;
    QString prefix_;
    QString suffix_;
    int minIntegerDigits_ = 0;
    int minDecimals_ = 0;
    int maxDecimals_ = 0;
    bool grouping_ = false;
};

// One-off formatting; a column keeps its DisplayFormat instead of parsing the pattern per cell.
inline QString formatNumber(double value, QStringView pattern) { return DisplayFormat(pattern).format(value); }

// Dates as dd.MM.yyyy; a date-time adds " hh:mm:ss" unless its time is midnight, as Delphi
// shows a date-time field. Invalid (zero) dates show nothing.
QString formatDate(const QDate& date);
QString formatDateTime(const QDateTime& dateTime);

} // namespace dorvik::common
