#pragma once

#include <QByteArray>
#include <QString>

namespace dorvik::db {

// The connection's character set: every text crosses the wire as cp1250.
// Characters cp1250 lacks become "?".
QByteArray toCp1250(const QString& text);
QString fromCp1250(const char* bytes, qsizetype length);
inline QString fromCp1250(const QByteArray& bytes) { return fromCp1250(bytes.constData(), bytes.size()); }

} // namespace dorvik::db
