#include "invoicing/invoicenumber.h"

#include "common/routines.h"
#include "db/sqltext.h"

namespace dorvik::invoicing {

std::optional<QString> costCentreRefusal(const QString& centre) {
    bool digits = !centre.isEmpty() && centre.size() <= 3;
    for (const QChar c : centre) digits = digits && c >= u'0' && c <= u'9';
    if (digits) return std::nullopt;
    return QStringLiteral("Středisko \"%1\" nelze použít v čísle faktury: číslo faktury pojme jen středisko "
                          "o jedné až třech číslicích.")
        .arg(centre);
}

qint64 invoiceNumberBase(int issueYear, const QString& centre, qint64 prefixFakt) {
    const qint32 series = (QString::number(issueYear - 1400) + centre).toInt();
    return prefixFakt * 1000000000LL + qint64(series * 1000);
}

QString highestInvoiceSql(const QString& centre, qint64 base) {
    return QStringLiteral("select cfakt from fakt\n where stredisko = ") + db::sqlQuoted(centre) +
           QStringLiteral("\n and cfakt > ") + db::sqlNumber(base) + QStringLiteral("\n order by cfakt DESC");
}

qint64 nextInvoiceNumber(std::optional<qint64> highest, qint64 base) {
    return highest ? *highest + 1 : base + 1;
}

bool sequenceExhausted(qint64 number) {
    return number % 1000 == 0;
}

QString sequenceText(qint64 number) {
    return common::rightPart(QString::number(number), 3);
}

QString seriesText(qint64 number) {
    return QString::number(number / 1000);
}

QString numberingLockName(const QString& centre) {
    return QStringLiteral("velmo.fakt.") + centre;
}

} // namespace dorvik::invoicing
