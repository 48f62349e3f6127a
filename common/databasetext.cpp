#include "common/databasetext.h"

#include "common/prompter.h"
#include "db/cp1250.h"

#include <QLineEdit>
#include <QPointer>
#include <QTimer>
#include <QValidator>

namespace dorvik::common {
namespace {

class DatabaseTextValidator : public QValidator {
public:
    DatabaseTextValidator(QLineEdit* field, const MessageBox& box) : QValidator(field), field_(field), box_(box) {}

    State validate(QString& input, int&) const override {
        const QString foreign = db::charactersOutsideCp1250(input);
        if (foreign.isEmpty()) return Acceptable;
        // Told once the edit is over: a box must not open while the field is changing.
        QTimer::singleShot(0, field_, [field = field_, &box = box_, foreign] {
            if (field) box.show(db::outsideCp1250Message(foreign) + u'.', MessageIcon::Stop);
        });
        return Invalid;
    }

private:
    QPointer<QLineEdit> field_;
    const MessageBox& box_;
};

} // namespace

void keepToDatabaseCharacters(QLineEdit* field, const MessageBox& box) {
    field->setValidator(new DatabaseTextValidator(field, box));
}

} // namespace dorvik::common
