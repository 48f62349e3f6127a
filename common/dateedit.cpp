#include "common/dateedit.h"

#include <QKeyEvent>

namespace dorvik::common {

DateEdit::DateEdit(const QString& objectName, QWidget* parent) : QDateEdit(QDate::currentDate(), parent) {
    setObjectName(objectName);
    setDisplayFormat(QStringLiteral("dd.MM.yyyy"));
    setCalendarPopup(true);
}

bool DateEdit::event(QEvent* event) {
    // QDateTimeEdit turns Tab into a move to its next section; the user means the next field.
    if (event->type() == QEvent::KeyPress) {
        const auto* key = static_cast<QKeyEvent*>(event);
        const bool plain = !(key->modifiers() & (Qt::ControlModifier | Qt::AltModifier));
        if (plain && (key->key() == Qt::Key_Tab || key->key() == Qt::Key_Backtab)) {
            const bool forward = key->key() == Qt::Key_Tab && !(key->modifiers() & Qt::ShiftModifier);
            QWidget::focusNextPrevChild(forward);
            return true;
        }
    }
    return QDateEdit::event(event);
}

} // namespace dorvik::common
