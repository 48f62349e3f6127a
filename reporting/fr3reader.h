#pragma once

#include "reporting/template.h"

#include <QByteArray>
#include <QString>
#include <stdexcept>

namespace dorvik::reporting {

// A template that cannot be read; the message names the line and column.
class TemplateError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// Reads the .fr3 subset the engine knows. Raises TemplateError.
Template parseTemplate(const QByteArray& bytes);
Template readTemplate(const QString& path);

// Datasets and variables out of a root PropData blob (hex text of a Delphi property stream).
void readPropData(const QString& hex, Template& into);

} // namespace dorvik::reporting
