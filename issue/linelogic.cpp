#include "issue/linelogic.h"

#include "common/displayformat.h"
#include "common/routines.h"

#include <cmath>
#include <limits>
#include <stdexcept>

namespace dorvik::issue {

EntryCode parseEntry(const QString& typed) {
    EntryCode entry;
    entry.text = common::normaliseKeys(typed);
    const QString mark = QStringLiteral("°°");
    const qsizetype at = entry.text.indexOf(mark);
    entry.code = at < 0 ? entry.text : entry.text.mid(at + mark.size(), 20);
    if (at > 0) {
        QString prefix = entry.text.left(at);
        prefix.replace(u',', u'.');
        bool ok = false;
        const double quantity = prefix.toDouble(&ok);
        if (ok && std::isfinite(quantity) && quantity > 0) entry.quantity = quantity;
    }
    return entry;
}

bool isFastNumber(const QString& code) { return code.size() >= 1 && code.size() <= 4; }
bool isEan(const QString& code) { return code.size() == 8 || code.size() == 13; }

void Totals::add(int dph, double pcr) {
    if (dph == 10)
        s += pcr;
    else if (dph >= 17)
        v += pcr;
    else
        n += pcr;
}

QString totalText(double value) {
    // At most 12 significant digits, as the fields show them.
    return common::formatNumber(QString::number(value, 'g', 12).toDouble(), common::MoneyFormat);
}

QString discountText(double sleva) { return QStringLiteral("Sleva ") + common::generalDecimal(sleva) + QStringLiteral(" %"); }

bool breaksPieceRule(const QString& povaha, double quantity) {
    return povaha == u'K' && common::generalDecimal(quantity).contains(u',');
}

QString stockMessage(double stock, const QString& unit) {
    return QStringLiteral("Nelze. Na skladě pouze ") + common::generalDecimal(stock) + u' ' + unit;
}

qint32 numberBase(int year, bool internal, const QString& centre) {
    const int prefix = year - 2000 + (internal ? 400 : 300);
    bool ok = false;
    const qint64 head = (QString::number(prefix) + centre).toLongLong(&ok);
    const qint64 base = head * 1000;
    if (!ok || centre.isEmpty() || head > std::numeric_limits<qint32>::max() || base > std::numeric_limits<qint32>::max() ||
        base < std::numeric_limits<qint32>::min())
        throw std::invalid_argument(
            QStringLiteral("'%1' není platné celé číslo").arg(QString::number(prefix) + centre).toStdString());
    return qint32(base);
}

bool inClosedPeriod(const QString& closedMonth, const QString& documentMonth) { return closedMonth >= documentMonth; }

} // namespace dorvik::issue
