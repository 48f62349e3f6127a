#include "common/errordisplay.h"

#include "common/prompter.h"
#include "db/dberror.h"

#include <QCoreApplication>
#include <exception>

namespace dorvik::common {

void showError(const QString& text) {
    Prompter::current().ask({QStringLiteral("Dorvik"), text, {QStringLiteral("OK")}, MessageIcon::Stop});
}

bool guarded(const std::function<void()>& handler) {
    try {
        handler();
        return true;
    } catch (const db::DbError& e) {
        showError(e.message());
    } catch (const std::exception& e) {
        showError(QString::fromUtf8(e.what()));
    } catch (...) {
        showError(QStringLiteral("Unknown error"));
    }
    return false;
}

} // namespace dorvik::common
