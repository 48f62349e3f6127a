#include "db/cp1250.h"

#include <QHash>
#include <QStringDecoder>
#include <array>

namespace dorvik::db {
namespace {

struct Tables {
    std::array<char16_t, 256> toUnicode{};
    QHash<char16_t, char> fromUnicode;

    Tables() {
        QStringDecoder decoder("windows-1250");
        for (int b = 0; b < 256; ++b) {
            const char byte = char(b);
            const QString decoded = decoder.decode(QByteArrayView(&byte, 1));
            // Bytes cp1250 leaves undefined keep their own code point, so they survive a round trip.
            const char16_t unit = decoded.size() == 1 && decoded[0] != QChar::ReplacementCharacter
                                      ? decoded[0].unicode()
                                      : char16_t(b);
            toUnicode[b] = unit;
            if (b >= 0x80) fromUnicode.insert(unit, byte);
        }
    }
};

const Tables& tables() {
    static const Tables t;
    return t;
}

} // namespace

QByteArray toCp1250(const QString& text) {
    const Tables& t = tables();
    QByteArray out(text.size(), Qt::Uninitialized);
    char* to = out.data();
    for (const QChar c : text) {
        const char16_t u = c.unicode();
        *to++ = u < 0x80 ? char(u) : t.fromUnicode.value(u, '?');
    }
    return out;
}

QString fromCp1250(const char* bytes, qsizetype length) {
    const Tables& t = tables();
    QString out(length, Qt::Uninitialized);
    QChar* to = out.data();
    for (qsizetype i = 0; i < length; ++i) to[i] = QChar(t.toUnicode[static_cast<unsigned char>(bytes[i])]);
    return out;
}

} // namespace dorvik::db
