#pragma once

#include <QString>
#include <QStringList>

namespace dorvik::common {

// The statement or batch about to be sent, left in a file of the current directory
// (a.txt, a1.txt, a4.txt) for whoever needs to see what went to the server. The file is
// replaced each time and written in cp1250; a batch has one statement per line, with
// "\r\n" breaks as the suite's other tools expect. A file that cannot be written raises
// std::runtime_error.
void writeTrace(const QString& fileName, const QString& statement);
void writeTrace(const QString& fileName, const QStringList& batch);

} // namespace dorvik::common
