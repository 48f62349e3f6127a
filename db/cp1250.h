#pragma once

#include <QByteArray>
#include <QString>

namespace dorvik::db {

// The connection's character set: every text crosses the wire as cp1250.
// Characters cp1250 lacks become "?" (the connection refuses such statements instead).
QByteArray toCp1250(const QString& text);
// The characters of the text that cp1250 cannot hold, each once, in the order they first
// appear; empty when it holds them all.
QString charactersOutsideCp1250(const QString& text);
// What the user is told about such characters: the message names each of them.
QString outsideCp1250Message(const QString& characters);
QString fromCp1250(const char* bytes, qsizetype length);
inline QString fromCp1250(const QByteArray& bytes) { return fromCp1250(bytes.constData(), bytes.size()); }

} // namespace dorvik::db
