#pragma once

#include <Qt>

namespace dorvik::common {

// Header roles every list model answers, so shared dialogs can work on any list.
enum GridRole {
    FieldNameRole = Qt::UserRole + 1, // header: the column's field name
    NumericColumnRole,                // header: true when the column holds numbers only
};

} // namespace dorvik::common
