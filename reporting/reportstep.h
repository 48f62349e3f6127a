#pragma once

#include <QList>
#include <QString>
#include <QStringList>

namespace dorvik::reporting {

// One statement of a report run and where the progress bar stands after it; an empty
// statement only moves the bar, a negative position leaves it where it is.
struct ReportStep {
    QString sql;
    int position = -1;
};

// A statement given as pieces: the pieces as lines, the empty ones (filters not asked for) left out.
QString sqlLines(const QStringList& pieces);

} // namespace dorvik::reporting
