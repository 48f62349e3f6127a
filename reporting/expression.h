#pragma once

#include <QDateTime>
#include <QList>
#include <QString>
#include <memory>
#include <stdexcept>

namespace dorvik::reporting {

class ExpressionError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// A value of the expression language; NULL prints as empty.
struct Value {
    enum class Kind { Null, Number, Text, Bool, Date };
    Kind kind = Kind::Null;
    double number = 0;
    QString text;
    QDateTime date;

    static Value ofNumber(double v) { Value r; r.kind = Kind::Number; r.number = v; return r; }
    static Value ofText(QString v) { Value r; r.kind = Kind::Text; r.text = std::move(v); return r; }
    static Value ofBool(bool v) { Value r; r.kind = Kind::Bool; r.number = v ? 1 : 0; return r; }
    static Value ofDate(QDateTime v) { Value r; r.kind = Kind::Date; r.date = std::move(v); return r; }

    bool isNull() const { return kind == Kind::Null; }
    double toNumber() const;
    bool toBool() const;
    // The text a memo shows without a display format.
    QString toText() const;
};

struct Expr;
using ExprPtr = std::shared_ptr<const Expr>;

struct Expr {
    enum class Type { Literal, Field, Variable, Call, Unary, Binary, Aggregate, Array };
    Type type = Type::Literal;
    Value literal;
    QString name;     // field, variable, function, operator or aggregate function (upper case)
    QString dataset;  // of a field
    QString band;     // of an aggregate
    int flags = 0;    // of an aggregate: 1 counts invisible bands, 2 keeps a running total
    QList<ExprPtr> args;
};

// What an expression reads from the report being prepared.
class EvalContext {
public:
    virtual ~EvalContext() = default;
    virtual Value field(const QString& dataset, const QString& field) = 0;
    // Report variables and the system ones (Page#, TotalPages#, Line#, Date, Time ...).
    virtual Value variable(const QString& name) = 0;
    virtual Value aggregate(const Expr& node) = 0;
};

ExprPtr parseExpression(const QString& text);
Value evaluate(const Expr& e, EvalContext& context);

// Walks an expression tree.
bool mentionsTotalPages(const Expr& e);
void collectAggregates(const ExprPtr& e, QList<ExprPtr>& out);

// A memo text split into literal runs and [expressions], each with an optional inline
// format tag (#n..., #d...). Brackets inside quoted strings do not count.
struct TextPart {
    QString literal;
    ExprPtr expression;     // null for a literal run
    QChar formatKind;       // 'n', 'd', 'b' or null
    QString format;
};
QList<TextPart> splitMemoText(const QString& text);

// Delphi's Format for one argument list, with the Czech decimal comma and space grouping.
QString delphiFormat(const QString& format, const QList<Value>& args);
// A value through a display format: 'n' a number format (Delphi Format "%2.2n" or a
// FormatFloat pattern "# ##0.00"), 'd' a FormatDateTime pattern, 'b' "False,True" words.
// Values of another kind show as they are.
QString formatValue(const Value& value, QChar kind, const QString& format);
// Delphi's FormatDateTime patterns (dd.mm.yyyy, hh:nn:ss ...).
QString delphiFormatDateTime(const QString& format, const QDateTime& value);

} // namespace dorvik::reporting
