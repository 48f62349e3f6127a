#include "common/routines.h"

#include <QCoreApplication>
#include <QDesktopServices>
#include <QLocale>
#include <QProcess>
#include <QUrl>
#include <cmath>
#include <stdexcept>

namespace dorvik::common {

QString normaliseKeys(const QString& text) {
    QString out = text.left(255);
    for (QChar& c : out) {
        switch (c.unicode()) {
        case u'+': case u'!': c = u'1'; break;
        case u'ě': case u'@': c = u'2'; break;
        case u'š': case u'#': c = u'3'; break;
        case u'č': case u'$': c = u'4'; break;
        case u'ř': case u'%': c = u'5'; break;
        case u'ž': case u'^': c = u'6'; break;
        case u'ý': case u'&': c = u'7'; break;
        case u'á': case u'*': c = u'8'; break;
        case u'í': case u'(': c = u'9'; break;
        case u'é': case u')': c = u'0'; break;
        // The item code entry takes the degree sign as its prefix character.
        case u'~': c = u'°'; break;
        default: break;
        }
    }
    return out;
}

double roundHalfAwayFromZero(double x) {
    // In extended precision the half is added exactly: in double 0.49999999999999994 + 0.5
    // would become 1, and odd integers above 2^52 would move to the next even one.
    const long double shifted = x >= 0 ? static_cast<long double>(x) + 0.5L : static_cast<long double>(x) - 0.5L;
    return static_cast<double>(std::trunc(shifted));
}

double roundTo(qint16 places, double x) {
    long double p = 1.0L;
    for (int i = 0; i < std::abs(int(places)); ++i) p *= 10.0L;
    if (places < 0) p = 1.0L / p;
    const double y = static_cast<double>(p * static_cast<long double>(x));
    const double r = roundHalfAwayFromZero(y);
    return static_cast<double>(static_cast<long double>(r) / p);
}

QString sqlDate(const QDate& date) {
    return date.toString(QStringLiteral("yyyy-MM-dd"));
}

QString sqlDateTime(const QDateTime& dateTime) {
    return dateTime.toString(QStringLiteral("yyyy-MM-dd hh:mm:ss"));
}

int yearOf(const QDate& date) {
    return date.year();
}

QString laterYearRefusal(const QString& field, const QDate& date, const QDate& today) {
    if (date.year() <= today.year()) return {};
    return QStringLiteral("%1 %2 je v pozdějším roce než dnešní datum. Opravte ho, nic nebylo uloženo.")
        .arg(field, date.toString(QStringLiteral("dd.MM.yyyy")));
}

QString programFolder() {
    return QCoreApplication::applicationDirPath() + u'/';
}

QString leftPart(const QString& text, qsizetype n) {
    return n <= 0 ? QString() : text.left(n);
}

QString rightPart(const QString& text, qsizetype n) {
    return n <= 0 ? QString() : text.right(n);
}

QString token(const QString& text, QChar separator, qsizetype n) {
    if (n < 0) return {};
    qsizetype start = 0;
    for (qsizetype i = 0; i < n; ++i) {
        const qsizetype at = text.indexOf(separator, start);
        if (at < 0) return {};
        start = at + 1;
    }
    const qsizetype end = text.indexOf(separator, start);
    return text.mid(start, end < 0 ? -1 : end - start);
}

QString replaceChar(const QString& text, QChar from, const QString& to) {
    return QString(text).replace(from, to);
}

QString replaceIgnoringCase(const QString& text, const QString& from, const QString& to) {
    // An empty pattern would otherwise be inserted between every two characters.
    if (from.isEmpty()) return text;
    return QString(text).replace(from, to, Qt::CaseInsensitive);
}

QString upperCase(const QString& text) {
    return QLocale().toUpper(text);
}

double parseNumber(const QString& text) {
    QString t = text.trimmed();
    t.remove(u' ');
    t.remove(QChar(0xA0));
    if (t.isEmpty()) return 0;
    t.replace(u',', u'.');
    bool ok = false;
    const double value = t.toDouble(&ok);
    if (!ok || !std::isfinite(value)) throw std::invalid_argument(QStringLiteral("'%1' není platné číslo").arg(text).toStdString());
    return value;
}

QString generalDecimal(double x) {
    if (std::isnan(x)) return QStringLiteral("NAN");
    if (std::isinf(x)) return x > 0 ? QStringLiteral("INF") : QStringLiteral("-INF");
    if (x == 0) return QStringLiteral("0");

    // "-d.dddddddddddddde±xx": the 15 significant digits and the exponent, rounded once.
    const QString e = QString::number(x, 'e', 14);
    const bool negative = e.startsWith(u'-');
    const qsizetype ePos = e.indexOf(u'e');
    QString digits = e.mid(negative ? 1 : 0, ePos - (negative ? 1 : 0)).remove(u'.');
    const int exponent = e.mid(ePos + 1).toInt();
    while (digits.size() > 1 && digits.endsWith(u'0')) digits.chop(1);

    QString out = negative ? QStringLiteral("-") : QString();
    if (exponent > 14 || exponent < -5) {
        out += digits.front();
        if (digits.size() > 1) out += u',' + digits.mid(1);
        return out + u'E' + QString::number(exponent);
    }
    if (exponent < 0) return out + QStringLiteral("0,") + QString(-exponent - 1, u'0') + digits;
    if (digits.size() <= exponent + 1) return out + digits + QString(exponent + 1 - digits.size(), u'0');
    return out + digits.left(exponent + 1) + u',' + digits.mid(exponent + 1);
}

bool openDocument(const QString& path) {
    return QDesktopServices::openUrl(QUrl::fromLocalFile(path));
}

bool startProgram(const QString& program, const QStringList& arguments, bool wait) {
    if (!wait) return QProcess::startDetached(program, arguments);
    // -2: the program could not be started; any other value is its end.
    return QProcess::execute(program, arguments) != -2;
}

} // namespace dorvik::common
