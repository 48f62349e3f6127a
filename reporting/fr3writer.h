#pragma once

#include "reporting/template.h"

#include <QByteArray>
#include <QString>

namespace dorvik::reporting {

// Writes a template in the subset the reader knows: UTF-8 with the "standalone" header,
// elements and attributes in the order they were read, the datasets and variables where
// they came from (child elements or the root's PropData). Numbers of sizes and positions
// get a decimal point.
QByteArray templateXml(const Template& report);
// Replaces the file, making its folder when missing. Raises TemplateError.
void writeTemplate(const Template& report, const QString& path);

// A number as the format writes it: a decimal point, at most five decimals, no trailing zeros.
QString formatNumber(double value);

} // namespace dorvik::reporting
