#include "reporting/reportstep.h"

namespace dorvik::reporting {

QString sqlLines(const QStringList& pieces) {
    QStringList kept;
    for (const QString& p : pieces)
        if (!p.isEmpty()) kept << p;
    return kept.join(QLatin1Char('\n'));
}

} // namespace dorvik::reporting
