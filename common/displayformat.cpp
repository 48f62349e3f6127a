#include "common/displayformat.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>

namespace dorvik::common {
namespace {

// A value as Delphi holds it for display: 15 significant decimal digits,
// value = 0.d1d2d3... x 10^exponent, no trailing zeros; count 0 means zero.
struct Digits {
    bool negative = false;
    char d[16] = {};
    int count = 0;
    int exponent = 0;

    void dropTrailingZeros() {
        while (count > 0 && d[count - 1] == '0') --count;
    }
    char at(int i) const { return i >= 0 && i < count ? d[i] : '0'; }
};

Digits digitsOf(double value) {
    Digits r;
    if (value == 0) return r;
    r.negative = value < 0;
    char buf[32];
    std::snprintf(buf, sizeof buf, "%.14e", std::fabs(value)); // "d.dddddddddddddde+XX"
    r.d[0] = buf[0];
    for (int i = 1; i < 15; ++i) r.d[i] = buf[i + 1];
    r.count = 15;
    r.exponent = std::atoi(buf + 17) + 1;
    r.dropTrailingZeros();
    return r;
}

// Keeps `decimals` places, the dropped part rounded half away from zero.
void roundTo(Digits& r, int decimals) {
    const int keep = r.exponent + decimals;
    if (keep >= r.count) return;
    if (keep < 0) {
        r.count = 0;
        return;
    }
    const bool up = r.d[keep] >= '5';
    r.count = keep;
    if (up) {
        int i = keep - 1;
        while (i >= 0 && r.d[i] == '9') --i;
        if (i < 0) {
            r.d[0] = '1';
            r.count = 1;
            ++r.exponent;
        } else {
            ++r.d[i];
            r.count = i + 1;
        }
    }
    r.dropTrailingZeros();
}

// Delphi's FloatToStr: fixed notation from 0.00001 up to 15 integer digits, scientific outside.
QString general(const Digits& r) {
    if (r.count == 0) return QStringLiteral("0");
    std::string out;
    if (r.negative) out += '-';
    if (r.exponent > 15 || r.exponent < -4) {
        out += r.d[0];
        if (r.count > 1) {
            out += ',';
            out.append(r.d + 1, size_t(r.count - 1));
        }
        out += 'E';
        out += std::to_string(r.exponent - 1);
        return QString::fromLatin1(out.data(), qsizetype(out.size()));
    }
    if (r.exponent <= 0) out += '0';
    for (int i = 0; i < r.exponent; ++i) out += r.at(i);
    if (r.count > r.exponent) {
        out += ',';
        for (int i = r.exponent; i < r.count; ++i) out += i < 0 ? '0' : r.d[i];
    }
    return QString::fromLatin1(out.data(), qsizetype(out.size()));
}

bool isNumberChar(QChar c) {
    return c == u'#' || c == u'0' || c == u'.' || c == u',';
}

} // namespace

DisplayFormat::DisplayFormat(QStringView pattern) : general_(pattern.isEmpty()) {
    qsizetype begin = 0;
    qsizetype end = pattern.size();
    while (begin < end && !isNumberChar(pattern[begin])) ++begin;
    while (end > begin && !isNumberChar(pattern[end - 1])) --end;
    prefix_ = pattern.first(begin).toString();
    suffix_ = pattern.sliced(end).toString();

    bool inDecimals = false;
    int integerPlaceholders = 0;
    int firstZero = 0; // 1-based position of the leftmost '0' among the integer placeholders
    for (qsizetype i = begin; i < end; ++i) {
        const QChar c = pattern[i];
        if (c == u'.' && !inDecimals) {
            inDecimals = true;
        } else if (c == u'#' || c == u'0') {
            if (inDecimals) {
                ++maxDecimals_;
                if (c == u'0') minDecimals_ = maxDecimals_;
            } else {
                ++integerPlaceholders;
                if (c == u'0' && firstZero == 0) firstZero = integerPlaceholders;
            }
        } else if (!inDecimals && (c == u' ' || c == u',')) {
            grouping_ = true;
        }
    }
    minIntegerDigits_ = firstZero ? integerPlaceholders - firstZero + 1 : 0;
}

QString DisplayFormat::format(double value) const {
    if (!std::isfinite(value)) return QString::number(value);
    Digits r = digitsOf(value);
    if (general_) return general(r);
    roundTo(r, maxDecimals_);

    std::string digits;
    const int integerDigits = std::max(r.exponent, minIntegerDigits_);
    for (int k = 0; k < integerDigits; ++k) {
        if (grouping_ && k > 0 && (integerDigits - k) % 3 == 0) digits += ' ';
        digits += r.at(r.exponent - integerDigits + k);
    }
    int decimals = maxDecimals_;
    while (decimals > minDecimals_ && r.at(r.exponent + decimals - 1) == '0') --decimals;
    if (decimals > 0) {
        digits += ',';
        for (int p = 0; p < decimals; ++p) digits += r.at(r.exponent + p);
    }
    // A value rounded to zero loses its sign.
    QString out = r.negative && r.count > 0 ? QStringLiteral("-") : QString();
    out += prefix_;
    out += QLatin1StringView(digits.data(), qsizetype(digits.size()));
    out += suffix_;
    return out;
}

QString formatDate(const QDate& date) {
    return date.isValid() ? date.toString(QStringLiteral("dd.MM.yyyy")) : QString();
}

QString formatDateTime(const QDateTime& dateTime) {
    if (!dateTime.isValid()) return QString();
    if (dateTime.time() == QTime(0, 0)) return formatDate(dateTime.date());
    return dateTime.toString(QStringLiteral("dd.MM.yyyy hh:mm:ss"));
}

} // namespace dorvik::common
