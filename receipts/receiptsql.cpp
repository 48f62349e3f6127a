#include "receipts/receiptsql.h"

#include "common/routines.h"
#include "db/sqltext.h"

#include <QStringList>

namespace dorvik::receipts {

QString writeOffSelection(const QString& centre) {
    return QStringList{QStringLiteral("select stredisko,jkpov,mnoz,id from uctenky"),
                       QStringLiteral(" where stredisko=") + db::sqlQuoted(centre) + QStringLiteral(" AND nc=0 AND povaha<>\"P\""),
                       QStringLiteral(" order by jkpov,mnoz ASC")}
        .join(QLatin1Char('\n'));
}

QString writeOffQuantity(double quantity) {
    return common::generalDecimal(quantity).replace(QLatin1Char(','), QLatin1Char('.'));
}

QString writeOffCall(const QString& centre, const QString& code, double quantity, qint64 id) {
    return QStringList{QStringLiteral("call uctenky_odpis(") + db::sqlQuoted(centre),
                       QStringLiteral(",") + db::sqlQuoted(code),
                       QStringLiteral(",") + db::sqlQuoted(writeOffQuantity(quantity)),
                       QStringLiteral(",") + db::sqlQuoted(QString::number(id)) + QStringLiteral(");")}
        .join(QLatin1Char('\n'));
}

std::optional<QString> costCentreList(const QString& text) {
    if (text.trimmed().isEmpty()) return QString();
    QStringList quoted;
    for (const QString& item : text.split(QLatin1Char(','))) {
        const QString code = item.trimmed();
        if (code.isEmpty() || code.size() > 10) return std::nullopt;
        for (const QChar c : code)
            if (!c.isLetterOrNumber()) return std::nullopt;
        quoted << db::sqlQuoted(code);
    }
    return quoted.join(QLatin1Char(','));
}

QString unwrittenSelect(const QDate& to, const QString& list) {
    QStringList lines{QStringLiteral("select * from uctenky"), QStringLiteral(" where nc=0 "),
                      QStringLiteral(" and datum<=") + db::sqlQuoted(common::sqlDate(to))};
    if (!list.isEmpty()) lines << QStringLiteral(" and stredisko IN (") + list + QStringLiteral(")");
    lines << QStringLiteral(" order by stredisko,jkpov,cisuctenky");
    return lines.join(QLatin1Char('\n'));
}

} // namespace dorvik::receipts
