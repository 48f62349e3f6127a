#include "reporting/template.h"

namespace dorvik::reporting {

bool Node::has(const QString& name) const {
    for (const Attribute& a : attributes)
        if (a.name == name) return true;
    return false;
}

QString Node::text(const QString& name, const QString& fallback) const {
    for (const Attribute& a : attributes)
        if (a.name == name) return a.value;
    return fallback;
}

double Node::number(const QString& name, double fallback) const {
    for (const Attribute& a : attributes) {
        if (a.name != name) continue;
        bool ok = false;
        const double v = QString(a.value).replace(QLatin1Char(','), QLatin1Char('.')).toDouble(&ok);
        return ok ? v : fallback;
    }
    return fallback;
}

bool Node::boolean(const QString& name, bool fallback) const {
    for (const Attribute& a : attributes)
        if (a.name == name) return a.value.compare(QLatin1String("True"), Qt::CaseInsensitive) == 0;
    return fallback;
}

void Node::set(const QString& name, const QString& value) {
    for (Attribute& a : attributes)
        if (a.name == name) {
            a.value = value;
            return;
        }
    attributes.append({name, value});
}

void Node::remove(const QString& name) {
    attributes.removeIf([&](const Attribute& a) { return a.name == name; });
}

void Template::setVariable(const QString& name, const QString& expression) {
    for (Variable& v : variables)
        if (v.name.compare(name, Qt::CaseInsensitive) == 0) {
            v.value = expression;
            return;
        }
    variables.append({name, expression});
}

const Variable* Template::variable(const QString& name) const {
    for (const Variable& v : variables)
        if (v.name.compare(name, Qt::CaseInsensitive) == 0) return &v;
    return nullptr;
}

QString quotedLiteral(const QString& text) {
    return QLatin1Char('\'') + QString(text).replace(QLatin1Char('\''), QLatin1String("''")) + QLatin1Char('\'');
}

} // namespace dorvik::reporting
