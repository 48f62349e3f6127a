#include "reporting/expression.h"

#include "common/displayformat.h"
#include "common/routines.h"

#include <QLocale>
#include <cmath>

namespace dorvik::reporting {

double Value::toNumber() const {
    switch (kind) {
    case Kind::Null: return 0;
    case Kind::Number: case Kind::Bool: return number;
    case Kind::Date: return date.isValid() ? QDateTime(QDate(1899, 12, 30), QTime(0, 0)).msecsTo(date) / 86400000.0 : 0;
    case Kind::Text: {
        bool ok = false;
        const double v = QString(text).trimmed().replace(QLatin1Char(','), QLatin1Char('.')).toDouble(&ok);
        if (!ok && !text.trimmed().isEmpty())
            throw ExpressionError(QStringLiteral("'%1' není platné číslo").arg(text).toStdString());
        return ok ? v : 0;
    }
    }
    return 0;
}

bool Value::toBool() const {
    if (kind == Kind::Text) return text.compare(QLatin1String("True"), Qt::CaseInsensitive) == 0;
    return kind != Kind::Null && toNumber() != 0;
}

QString Value::toText() const {
    switch (kind) {
    case Kind::Null: return {};
    case Kind::Number: return common::generalDecimal(number);
    case Kind::Bool: return number != 0 ? QStringLiteral("True") : QStringLiteral("False");
    case Kind::Date: return common::formatDateTime(date);
    case Kind::Text: return text;
    }
    return {};
}

namespace {

[[noreturn]] void fail(const QString& message) { throw ExpressionError(message.toStdString()); }

ExprPtr make(Expr e) { return std::make_shared<const Expr>(std::move(e)); }

bool isIdentStart(QChar c) { return c.isLetter() || c == QLatin1Char('_'); }
bool isIdentChar(QChar c) { return c.isLetterOrNumber() || c == QLatin1Char('_') || c == QLatin1Char('#'); }

// Recursive descent with Pascal's precedence: comparisons < additive (+ - or) < multiplicative
// (* / div mod and) < unary (not -).
class Parser {
public:
    explicit Parser(const QString& s) : s_(s) {}

    ExprPtr parseAll() {
        ExprPtr e = comparison();
        skipSpace();
        if (pos_ < s_.size()) fail(QStringLiteral("Nečekaný znak '%1' ve výrazu %2").arg(s_[pos_]).arg(s_));
        return e;
    }

private:
    void skipSpace() {
        while (pos_ < s_.size() && s_[pos_].isSpace()) ++pos_;
    }
    bool peek(QLatin1String op) {
        skipSpace();
        return s_.mid(pos_, op.size()) == op;
    }
    bool accept(QLatin1String op) {
        if (!peek(op)) return false;
        pos_ += op.size();
        return true;
    }
    // A keyword operator (div, mod, and, or, not), not the start of a longer identifier.
    bool acceptWord(QLatin1String word) {
        skipSpace();
        if (s_.mid(pos_, word.size()).compare(word, Qt::CaseInsensitive) != 0) return false;
        const qsizetype end = pos_ + word.size();
        if (end < s_.size() && isIdentChar(s_[end])) return false;
        pos_ = end;
        return true;
    }
    void expect(QLatin1String op) {
        if (!accept(op)) fail(QStringLiteral("Ve výrazu %1 chybí '%2'").arg(s_, op));
    }
    static ExprPtr binary(const QString& op, ExprPtr a, ExprPtr b) {
        Expr e;
        e.type = Expr::Type::Binary;
        e.name = op;
        e.args = {std::move(a), std::move(b)};
        return make(std::move(e));
    }

    ExprPtr comparison() {
        ExprPtr left = additive();
        for (;;) {
            QString op;
            for (const char* candidate : {"<>", "<=", ">=", "=", "<", ">"})
                if (accept(QLatin1String(candidate))) {
                    op = QLatin1String(candidate);
                    break;
                }
            if (op.isEmpty()) return left;
            left = binary(op, left, additive());
        }
    }
    ExprPtr additive() {
        ExprPtr left = multiplicative();
        for (;;) {
            if (accept(QLatin1String("+"))) left = binary(QStringLiteral("+"), left, multiplicative());
            else if (accept(QLatin1String("-"))) left = binary(QStringLiteral("-"), left, multiplicative());
            else if (acceptWord(QLatin1String("or"))) left = binary(QStringLiteral("or"), left, multiplicative());
            else return left;
        }
    }
    ExprPtr multiplicative() {
        ExprPtr left = unary();
        for (;;) {
            if (accept(QLatin1String("*"))) left = binary(QStringLiteral("*"), left, unary());
            else if (accept(QLatin1String("/"))) left = binary(QStringLiteral("/"), left, unary());
            else if (acceptWord(QLatin1String("div"))) left = binary(QStringLiteral("div"), left, unary());
            else if (acceptWord(QLatin1String("mod"))) left = binary(QStringLiteral("mod"), left, unary());
            else if (acceptWord(QLatin1String("and"))) left = binary(QStringLiteral("and"), left, unary());
            else return left;
        }
    }
    ExprPtr unary() {
        Expr e;
        e.type = Expr::Type::Unary;
        if (acceptWord(QLatin1String("not"))) e.name = QStringLiteral("not");
        else if (accept(QLatin1String("-"))) e.name = QStringLiteral("-");
        else if (accept(QLatin1String("+"))) return unary();
        else return primary();
        e.args = {unary()};
        return make(std::move(e));
    }

    QString quoted(QChar q) {
        QString out;
        ++pos_;
        for (;;) {
            if (pos_ >= s_.size()) fail(QStringLiteral("Neukončený text ve výrazu %1").arg(s_));
            if (s_[pos_] == q) {
                if (pos_ + 1 < s_.size() && s_[pos_ + 1] == q) {
                    out += q;
                    pos_ += 2;
                    continue;
                }
                ++pos_;
                return out;
            }
            out += s_[pos_++];
        }
    }
    QString identifier() {
        skipSpace();
        const qsizetype start = pos_;
        if (pos_ >= s_.size() || !isIdentStart(s_[pos_])) fail(QStringLiteral("Ve výrazu %1 chybí jméno").arg(s_));
        while (pos_ < s_.size() && isIdentChar(s_[pos_])) ++pos_;
        return s_.mid(start, pos_ - start);
    }

    // name, name."FIELD" or a system name; inside <...> or bare.
    ExprPtr reference(const QString& name) {
        Expr e;
        skipSpace();
        if (pos_ < s_.size() && s_[pos_] == QLatin1Char('.')) {
            ++pos_;
            skipSpace();
            if (pos_ < s_.size() && s_[pos_] == QLatin1Char('"')) e.name = quoted(QLatin1Char('"'));
            else e.name = identifier();
            e.type = Expr::Type::Field;
            e.dataset = name;
            return make(std::move(e));
        }
        if (name.compare(QLatin1String("True"), Qt::CaseInsensitive) == 0) return literal(Value::ofBool(true));
        if (name.compare(QLatin1String("False"), Qt::CaseInsensitive) == 0) return literal(Value::ofBool(false));
        e.type = Expr::Type::Variable;
        e.name = name;
        return make(std::move(e));
    }
    static ExprPtr literal(Value v) {
        Expr e;
        e.literal = std::move(v);
        return make(std::move(e));
    }

    ExprPtr primary() {
        skipSpace();
        if (pos_ >= s_.size()) fail(QStringLiteral("Neúplný výraz %1").arg(s_));
        const QChar c = s_[pos_];
        if (c == QLatin1Char('(')) {
            ++pos_;
            ExprPtr e = comparison();
            expect(QLatin1String(")"));
            return e;
        }
        if (c == QLatin1Char('\'')) return literal(Value::ofText(quoted(c)));
        if (c == QLatin1Char('[')) {
            ++pos_;
            Expr e;
            e.type = Expr::Type::Array;
            if (!accept(QLatin1String("]"))) {
                do e.args << comparison();
                while (accept(QLatin1String(",")));
                expect(QLatin1String("]"));
            }
            return make(std::move(e));
        }
        if (c == QLatin1Char('<')) {
            ++pos_;
            const QString name = identifier();
            ExprPtr r = reference(name);
            expect(QLatin1String(">"));
            return r;
        }
        if (c.isDigit() || (c == QLatin1Char('.') && pos_ + 1 < s_.size() && s_[pos_ + 1].isDigit())) {
            const qsizetype start = pos_;
            while (pos_ < s_.size() && (s_[pos_].isDigit() || s_[pos_] == QLatin1Char('.'))) ++pos_;
            if (pos_ < s_.size() && (s_[pos_] == QLatin1Char('e') || s_[pos_] == QLatin1Char('E'))) {
                ++pos_;
                if (pos_ < s_.size() && (s_[pos_] == QLatin1Char('-') || s_[pos_] == QLatin1Char('+'))) ++pos_;
                while (pos_ < s_.size() && s_[pos_].isDigit()) ++pos_;
            }
            return literal(Value::ofNumber(s_.mid(start, pos_ - start).toDouble()));
        }
        const QString name = identifier();
        if (!accept(QLatin1String("("))) return reference(name);
        const QString upper = name.toUpper();
        if (upper == QLatin1String("SUM") || upper == QLatin1String("MIN") || upper == QLatin1String("MAX")
            || upper == QLatin1String("AVG") || upper == QLatin1String("COUNT")) {
            Expr e;
            e.type = Expr::Type::Aggregate;
            e.name = upper;
            if (upper != QLatin1String("COUNT")) {
                e.args << comparison();
                if (accept(QLatin1String(","))) e.band = identifier();
            } else {
                e.band = identifier();
            }
            if (accept(QLatin1String(","))) e.flags = int(evaluateConstant(comparison()));
            expect(QLatin1String(")"));
            return make(std::move(e));
        }
        Expr e;
        e.type = Expr::Type::Call;
        e.name = upper;
        if (!accept(QLatin1String(")"))) {
            do e.args << comparison();
            while (accept(QLatin1String(",")));
            expect(QLatin1String(")"));
        }
        return make(std::move(e));
    }
    static double evaluateConstant(const ExprPtr& e) {
        if (e->type != Expr::Type::Literal) fail(QStringLiteral("Příznak souhrnu musí být číslo"));
        return e->literal.toNumber();
    }

    const QString& s_;
    qsizetype pos_ = 0;
};

int compareValues(const Value& a, const Value& b) {
    if (a.kind == Value::Kind::Text || b.kind == Value::Kind::Text) {
        if (a.kind != b.kind && !a.isNull() && !b.isNull() && (a.kind == Value::Kind::Number || b.kind == Value::Kind::Number)) {
            const double x = a.toNumber(), y = b.toNumber();
            return x < y ? -1 : x > y ? 1 : 0;
        }
        return a.toText().compare(b.toText());
    }
    const double x = a.toNumber(), y = b.toNumber();
    return x < y ? -1 : x > y ? 1 : 0;
}

void needArgs(const Expr& e, int min, int max) {
    if (e.args.size() < min || e.args.size() > max)
        fail(QStringLiteral("Funkce %1: nesprávný počet parametrů").arg(e.name));
}

Value call(const Expr& e, EvalContext& c) {
    QList<Value> a;
    for (const ExprPtr& arg : e.args) a << (arg->type == Expr::Type::Array ? Value() : evaluate(*arg, c));
    const QString& f = e.name;
    if (f == QLatin1String("IIF")) {
        needArgs(e, 3, 3);
        return a[0].toBool() ? a[1] : a[2];
    }
    if (f == QLatin1String("FORMATFLOAT")) {
        needArgs(e, 2, 2);
        return Value::ofText(common::formatNumber(a[1].toNumber(), a[0].toText()));
    }
    if (f == QLatin1String("FORMATDATETIME")) {
        needArgs(e, 2, 2);
        return Value::ofText(a[1].kind == Value::Kind::Date ? delphiFormatDateTime(a[0].toText(), a[1].date) : QString());
    }
    if (f == QLatin1String("FORMAT")) {
        needArgs(e, 2, 2);
        QList<Value> list;
        if (e.args[1]->type == Expr::Type::Array)
            for (const ExprPtr& item : e.args[1]->args) list << evaluate(*item, c);
        else
            list << a[1];
        return Value::ofText(delphiFormat(a[0].toText(), list));
    }
    if (f == QLatin1String("INTTOSTR")) {
        needArgs(e, 1, 1);
        return Value::ofText(QString::number(qint64(std::trunc(a[0].toNumber()))));
    }
    if (f == QLatin1String("FLOATTOSTR")) {
        needArgs(e, 1, 1);
        return Value::ofText(common::generalDecimal(a[0].toNumber()));
    }
    if (f == QLatin1String("STRTOFLOAT")) {
        needArgs(e, 1, 1);
        return Value::ofNumber(Value::ofText(a[0].toText()).toNumber());
    }
    if (f == QLatin1String("ROUND")) { // Delphi rounds halves to even
        needArgs(e, 1, 1);
        return Value::ofNumber(std::nearbyint(a[0].toNumber()));
    }
    if (f == QLatin1String("INT")) {
        needArgs(e, 1, 1);
        return Value::ofNumber(std::trunc(a[0].toNumber()));
    }
    if (f == QLatin1String("FRAC")) {
        needArgs(e, 1, 1);
        const double x = a[0].toNumber();
        return Value::ofNumber(x - std::trunc(x));
    }
    if (f == QLatin1String("COPY")) {
        needArgs(e, 3, 3);
        const QString s = a[0].toText();
        const qsizetype from = std::max<qsizetype>(1, qsizetype(a[1].toNumber()));
        const qsizetype count = qsizetype(a[2].toNumber());
        return Value::ofText(count > 0 ? s.mid(from - 1, count) : QString());
    }
    if (f == QLatin1String("POS")) {
        needArgs(e, 2, 2);
        return Value::ofNumber(double(a[1].toText().indexOf(a[0].toText()) + 1));
    }
    if (f == QLatin1String("LENGTH")) {
        needArgs(e, 1, 1);
        return Value::ofNumber(double(a[0].toText().size()));
    }
    if (f == QLatin1String("TRIM")) {
        needArgs(e, 1, 1);
        return Value::ofText(a[0].toText().trimmed());
    }
    if (f == QLatin1String("UPPERCASE")) {
        needArgs(e, 1, 1);
        return Value::ofText(common::upperCase(a[0].toText()));
    }
    if (f == QLatin1String("LOWERCASE")) {
        needArgs(e, 1, 1);
        return Value::ofText(QLocale().toLower(a[0].toText()));
    }
    if (f == QLatin1String("DATETOSTR")) {
        needArgs(e, 1, 1);
        return Value::ofText(a[0].kind == Value::Kind::Date ? common::formatDate(a[0].date.date()) : QString());
    }
    if (f == QLatin1String("DATE") || f == QLatin1String("NOW") || f == QLatin1String("TIME")) {
        needArgs(e, 0, 0);
        return c.variable(e.name);
    }
    fail(QStringLiteral("Neznámá funkce %1").arg(e.name));
}

Value binaryOp(const Expr& e, EvalContext& c) {
    const QString& op = e.name;
    const Value a = evaluate(*e.args[0], c);
    if (op == QLatin1String("and") && a.kind == Value::Kind::Bool && !a.toBool()) return Value::ofBool(false);
    if (op == QLatin1String("or") && a.kind == Value::Kind::Bool && a.toBool()) return Value::ofBool(true);
    const Value b = evaluate(*e.args[1], c);
    if (op == QLatin1String("+")) {
        if (a.kind == Value::Kind::Text || b.kind == Value::Kind::Text) return Value::ofText(a.toText() + b.toText());
        return Value::ofNumber(a.toNumber() + b.toNumber());
    }
    if (op == QLatin1String("-")) return Value::ofNumber(a.toNumber() - b.toNumber());
    if (op == QLatin1String("*")) return Value::ofNumber(a.toNumber() * b.toNumber());
    if (op == QLatin1String("/")) {
        if (b.toNumber() == 0) fail(QStringLiteral("Dělení nulou"));
        return Value::ofNumber(a.toNumber() / b.toNumber());
    }
    if (op == QLatin1String("div") || op == QLatin1String("mod")) {
        const qint64 x = qint64(std::trunc(a.toNumber())), y = qint64(std::trunc(b.toNumber()));
        if (y == 0) fail(QStringLiteral("Dělení nulou"));
        return Value::ofNumber(double(op == QLatin1String("div") ? x / y : x % y));
    }
    if (op == QLatin1String("and")) {
        if (a.kind == Value::Kind::Number && b.kind == Value::Kind::Number)
            return Value::ofNumber(double(qint64(a.number) & qint64(b.number)));
        return Value::ofBool(a.toBool() && b.toBool());
    }
    if (op == QLatin1String("or")) {
        if (a.kind == Value::Kind::Number && b.kind == Value::Kind::Number)
            return Value::ofNumber(double(qint64(a.number) | qint64(b.number)));
        return Value::ofBool(a.toBool() || b.toBool());
    }
    const int cmp = compareValues(a, b);
    if (op == QLatin1String("=")) return Value::ofBool(cmp == 0);
    if (op == QLatin1String("<>")) return Value::ofBool(cmp != 0);
    if (op == QLatin1String("<")) return Value::ofBool(cmp < 0);
    if (op == QLatin1String(">")) return Value::ofBool(cmp > 0);
    if (op == QLatin1String("<=")) return Value::ofBool(cmp <= 0);
    return Value::ofBool(cmp >= 0);
}

// Text of a number with fixed decimals, optionally grouped, through the shared formatter.
QString fixed(double value, int decimals, bool grouped) {
    QString pattern = grouped ? QStringLiteral("#,##0") : QStringLiteral("0");
    if (decimals > 0) pattern += QLatin1Char('.') + QString(decimals, QLatin1Char('0'));
    return common::formatNumber(value, pattern);
}

} // namespace

ExprPtr parseExpression(const QString& text) { return Parser(text).parseAll(); }

Value evaluate(const Expr& e, EvalContext& c) {
    switch (e.type) {
    case Expr::Type::Literal: return e.literal;
    case Expr::Type::Field: return c.field(e.dataset, e.name);
    case Expr::Type::Variable: return c.variable(e.name);
    case Expr::Type::Aggregate: return c.aggregate(e);
    case Expr::Type::Call: return call(e, c);
    case Expr::Type::Binary: return binaryOp(e, c);
    case Expr::Type::Array: fail(QStringLiteral("Pole je možné jen jako parametr funkce Format"));
    case Expr::Type::Unary: {
        const Value v = evaluate(*e.args[0], c);
        if (e.name == QLatin1String("-")) return Value::ofNumber(-v.toNumber());
        if (v.kind == Value::Kind::Number) return Value::ofNumber(double(~qint64(v.number)));
        return Value::ofBool(!v.toBool());
    }
    }
    return {};
}

bool mentionsTotalPages(const Expr& e) {
    if (e.type == Expr::Type::Variable
        && (e.name.compare(QLatin1String("TotalPages#"), Qt::CaseInsensitive) == 0
            || e.name.compare(QLatin1String("TotalPages"), Qt::CaseInsensitive) == 0))
        return true;
    for (const ExprPtr& a : e.args)
        if (mentionsTotalPages(*a)) return true;
    return false;
}

void collectAggregates(const ExprPtr& e, QList<ExprPtr>& out) {
    if (e->type == Expr::Type::Aggregate) out << e;
    for (const ExprPtr& a : e->args) collectAggregates(a, out);
}

QList<TextPart> splitMemoText(const QString& text) {
    QList<TextPart> parts;
    QString literal;
    qsizetype i = 0;
    while (i < text.size()) {
        if (text[i] != QLatin1Char('[')) {
            literal += text[i++];
            continue;
        }
        // Find the matching bracket, ignoring brackets inside quoted strings.
        int depth = 0;
        bool inQuote = false;
        qsizetype j = i;
        for (; j < text.size(); ++j) {
            const QChar ch = text[j];
            if (ch == QLatin1Char('\'')) inQuote = !inQuote;
            else if (!inQuote && ch == QLatin1Char('[')) ++depth;
            else if (!inQuote && ch == QLatin1Char(']') && --depth == 0) break;
        }
        if (j >= text.size()) { // an unmatched bracket is plain text
            literal += text.mid(i);
            break;
        }
        QString body = text.mid(i + 1, j - i - 1);
        TextPart part;
        // An inline format tag: "#n%2.2f", "#d dd.mm.yyyy" after the expression, outside quotes.
        inQuote = false;
        for (qsizetype k = 0; k + 1 < body.size(); ++k) {
            const QChar ch = body[k];
            if (ch == QLatin1Char('\'')) inQuote = !inQuote;
            if (inQuote || ch != QLatin1Char('#')) continue;
            const QChar kind = body[k + 1].toLower();
            if (kind != QLatin1Char('n') && kind != QLatin1Char('d') && kind != QLatin1Char('b')) continue;
            if (k == 0 || body[k - 1].isLetterOrNumber()) continue; // Page#, Line#
            part.formatKind = kind;
            part.format = body.mid(k + 2);
            body = body.left(k);
            break;
        }
        if (!literal.isEmpty()) parts.append({literal, nullptr, QChar(), QString()});
        literal.clear();
        part.expression = parseExpression(body);
        parts.append(part);
        i = j + 1;
    }
    if (!literal.isEmpty()) parts.append({literal, nullptr, QChar(), QString()});
    return parts;
}

QString delphiFormat(const QString& format, const QList<Value>& args) {
    QString out;
    int next = 0;
    for (qsizetype i = 0; i < format.size(); ++i) {
        if (format[i] != QLatin1Char('%')) {
            out += format[i];
            continue;
        }
        if (i + 1 < format.size() && format[i + 1] == QLatin1Char('%')) {
            out += QLatin1Char('%');
            ++i;
            continue;
        }
        qsizetype j = i + 1;
        const bool left = j < format.size() && format[j] == QLatin1Char('-');
        if (left) ++j;
        int width = 0, precision = -1;
        while (j < format.size() && format[j].isDigit()) width = width * 10 + format[j++].digitValue();
        if (j < format.size() && format[j] == QLatin1Char('.')) {
            precision = 0;
            ++j;
            while (j < format.size() && format[j].isDigit()) precision = precision * 10 + format[j++].digitValue();
        }
        if (j >= format.size()) fail(QStringLiteral("Neplatný formát %1").arg(format));
        const QChar type = format[j].toLower();
        if (next >= args.size()) fail(QStringLiteral("Formát %1: chybí hodnota").arg(format));
        const Value& v = args[next++];
        QString piece;
        switch (type.unicode()) {
        case 'd': {
            piece = QString::number(qint64(std::trunc(v.toNumber())));
            if (precision > piece.size()) piece = piece.rightJustified(precision, QLatin1Char('0'));
            break;
        }
        case 'f': piece = fixed(v.toNumber(), precision < 0 ? 2 : precision, false); break;
        case 'n': piece = fixed(v.toNumber(), precision < 0 ? 2 : precision, true); break;
        case 'm': piece = fixed(v.toNumber(), precision < 0 ? 2 : precision, true) + QStringLiteral(" Kč"); break;
        case 'g': piece = common::generalDecimal(v.toNumber()); break;
        case 'e': piece = QString::number(v.toNumber(), 'E', precision < 0 ? 15 : precision).replace(QLatin1Char('.'), QLatin1Char(',')); break;
        case 'x': piece = QString::number(qint64(v.toNumber()), 16).toUpper(); break;
        case 's': piece = v.toText(); if (precision >= 0) piece = piece.left(precision); break;
        default: fail(QStringLiteral("Neplatný formát %1").arg(format));
        }
        if (piece.size() < width) piece = left ? piece.leftJustified(width) : piece.rightJustified(width);
        out += piece;
        i = j;
    }
    return out;
}

QString formatValue(const Value& value, QChar kind, const QString& format) {
    if (value.isNull()) return {};
    if (kind == QLatin1Char('n') && (value.kind == Value::Kind::Number || value.kind == Value::Kind::Bool)) {
        if (format.contains(QLatin1Char('%'))) return delphiFormat(format, {value});
        return common::formatNumber(value.number, format);
    }
    if (kind == QLatin1Char('d') && value.kind == Value::Kind::Date) return delphiFormatDateTime(format, value.date);
    if (kind == QLatin1Char('b') && value.kind != Value::Kind::Text) {
        const QStringList words = format.split(QLatin1Char(','));
        return words.value(value.toBool() ? 1 : 0);
    }
    return value.toText();
}

QString delphiFormatDateTime(const QString& format, const QDateTime& value) {
    static const char* months[] = {"leden", "únor", "březen", "duben", "květen", "červen",
                                   "červenec", "srpen", "září", "říjen", "listopad", "prosinec"};
    static const char* days[] = {"pondělí", "úterý", "středa", "čtvrtek", "pátek", "sobota", "neděle"};
    const QDate d = value.date();
    const QTime t = value.time();
    QString out;
    bool afterHour = false;
    qsizetype i = 0;
    auto run = [&](QChar c) {
        qsizetype n = 0;
        while (i + n < format.size() && format[i + n].toLower() == c) ++n;
        return n;
    };
    while (i < format.size()) {
        const QChar c = format[i].toLower();
        if (c == QLatin1Char('"') || c == QLatin1Char('\'')) {
            const qsizetype end = format.indexOf(format[i], i + 1);
            out += format.mid(i + 1, (end < 0 ? format.size() : end) - i - 1);
            i = end < 0 ? format.size() : end + 1;
            continue;
        }
        const qsizetype n = run(c);
        if (c == QLatin1Char('y')) {
            out += n <= 2 ? QString::number(d.year() % 100).rightJustified(2, QLatin1Char('0')) : QString::number(d.year());
        } else if (c == QLatin1Char('m')) {
            if (afterHour && n <= 2) out += QString::number(t.minute()).rightJustified(n, QLatin1Char('0'));
            else if (n >= 3) out += QString::fromUtf8(months[d.month() - 1]).left(n == 3 ? 3 : 100);
            else out += QString::number(d.month()).rightJustified(n, QLatin1Char('0'));
        } else if (c == QLatin1Char('d')) {
            if (n >= 3) out += QString::fromUtf8(days[d.dayOfWeek() - 1]).left(n == 3 ? 2 : 100);
            else out += QString::number(d.day()).rightJustified(n, QLatin1Char('0'));
        } else if (c == QLatin1Char('h')) {
            out += QString::number(t.hour()).rightJustified(std::min<qsizetype>(n, 2), QLatin1Char('0'));
        } else if (c == QLatin1Char('n')) {
            out += QString::number(t.minute()).rightJustified(std::min<qsizetype>(n, 2), QLatin1Char('0'));
        } else if (c == QLatin1Char('s')) {
            out += QString::number(t.second()).rightJustified(std::min<qsizetype>(n, 2), QLatin1Char('0'));
        } else if (c == QLatin1Char('z')) {
            out += QString::number(t.msec()).rightJustified(3, QLatin1Char('0'));
        } else if (c == QLatin1Char('/')) {
            out += QLatin1Char('.');
        } else {
            out += QString(n, format[i]);
        }
        if (c.isLetter()) afterHour = c == QLatin1Char('h');
        i += n;
    }
    return out;
}

} // namespace dorvik::reporting
