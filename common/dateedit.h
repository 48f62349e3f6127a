#pragma once

#include <QDateEdit>

namespace dorvik::common {

// A date field as every window shows it: "dd.MM.yyyy" with a calendar. Tab and Shift+Tab
// leave the field as Enter does instead of walking from day to month to year, so a value
// typed after a Tab never lands in the year; a typed "." still moves to the next part.
class DateEdit : public QDateEdit {
    Q_OBJECT
public:
    explicit DateEdit(const QString& objectName, QWidget* parent = nullptr);

protected:
    bool event(QEvent* event) override;
};

} // namespace dorvik::common
