#include "common/dateedit.h"

namespace dorvik::common {

DateEdit::DateEdit(const QString& objectName, QWidget* parent) : QDateEdit(QDate::currentDate(), parent) {
    setObjectName(objectName);
    setDisplayFormat(QStringLiteral("dd.MM.yyyy"));
    setCalendarPopup(true);
}

bool DateEdit::focusNextPrevChild(bool next) {
    // QDateTimeEdit moves between its sections here; the user means the next field.
    return QWidget::focusNextPrevChild(next);
}

} // namespace dorvik::common
