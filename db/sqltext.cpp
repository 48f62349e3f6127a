#include "db/sqltext.h"

#include <QLocale>
#include <cmath>
#include <stdexcept>

namespace dorvik::db {

QString sqlQuoted(const QString& text) {
    QString out;
    out.reserve(text.size() + 2);
    out += u'\'';
    for (const QChar c : text) {
        switch (c.unicode()) {
        case u'\'': out += QLatin1String("''"); break;
        case u'\\': out += QLatin1String("\\\\"); break;
        case u'\0': out += QLatin1String("\\0"); break;
        case u'\n': out += QLatin1String("\\n"); break;
        case u'\r': out += QLatin1String("\\r"); break;
        case u'\x1a': out += QLatin1String("\\Z"); break;
        default: out += c;
        }
    }
    out += u'\'';
    return out;
}

QString sqlNumber(double value) {
    if (!std::isfinite(value)) throw std::invalid_argument(QStringLiteral("'%1' není platné číslo").arg(value).toStdString());
    return QString::number(value, 'g', QLocale::FloatingPointShortest);
}

QString sqlNumber(qint64 value) {
    return QString::number(value);
}

} // namespace dorvik::db
