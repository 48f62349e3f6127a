#pragma once

#include "db/resultset.h"
#include "reporting/preparedreport.h"
#include "reporting/template.h"

#include <optional>

namespace dorvik::reporting {

// The one dataset name every template of the program addresses.
inline const QString DatasetName = QStringLiteral("frxDBDataset1");

// Lays a template out over a result set into pages. Bands break pages only at their
// boundaries; TotalPages# costs a second pass only when the template mentions it.
// Raises ExpressionError or TemplateError for a template the data does not fit.
PreparedReport prepareReport(const Template& report, const db::ResultSet& data,
                             const QString& datasetName = DatasetName);

// An object of a band as the designer draws it: the text as written, nothing evaluated.
// Empty for elements the engine does not draw.
std::optional<PreparedItem> designItem(const Node& object, const Node& band);

} // namespace dorvik::reporting
