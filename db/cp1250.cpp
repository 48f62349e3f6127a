#include "db/cp1250.h"

#include <QHash>
#include <QStringDecoder>
#include <QStringList>
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

QString charactersOutsideCp1250(const QString& text) {
    const Tables& t = tables();
    QString missing;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char16_t u = text[i].unicode();
        if (u < 0x80 || t.fromUnicode.contains(u)) continue;
        // An emoji and other characters beyond the basic plane are a surrogate pair.
        const qsizetype length = text[i].isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate() ? 2 : 1;
        const QString character = text.mid(i, length);
        if (!missing.contains(character)) missing += character;
        i += length - 1;
    }
    return missing;
}

QString outsideCp1250Message(const QString& characters) {
    QStringList each;
    for (qsizetype i = 0; i < characters.size(); ++i) {
        const qsizetype length = characters[i].isHighSurrogate() && i + 1 < characters.size() ? 2 : 1;
        each << characters.mid(i, length);
        i += length - 1;
    }
    return QStringLiteral("Text obsahuje znaky, které databáze neumí uložit (znaková sada cp1250): %1")
        .arg(each.join(u' '));
}

QString fromCp1250(const char* bytes, qsizetype length) {
    const Tables& t = tables();
    QString out(length, Qt::Uninitialized);
    QChar* to = out.data();
    for (qsizetype i = 0; i < length; ++i) to[i] = QChar(t.toUnicode[static_cast<unsigned char>(bytes[i])]);
    return out;
}

} // namespace dorvik::db
