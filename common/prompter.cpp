#include "common/prompter.h"

#include <QApplication>
#include <QMessageBox>
#include <QPushButton>
#include <QScreen>

namespace dorvik::common {
namespace {

Prompter* installed = nullptr;

QMessageBox::Icon iconOf(MessageIcon icon) {
    switch (icon) {
    case MessageIcon::Information: return QMessageBox::Information;
    case MessageIcon::Stop: return QMessageBox::Critical;
    case MessageIcon::Question: return QMessageBox::Question;
    case MessageIcon::None: break;
    }
    return QMessageBox::NoIcon;
}

} // namespace

Prompter& Prompter::current() {
    static DialogPrompter onScreen;
    return installed ? *installed : onScreen;
}

Prompter* Prompter::install(Prompter* prompter) {
    Prompter* previous = installed;
    installed = prompter;
    return previous;
}

int DialogPrompter::ask(const MessageRequest& request) {
    QMessageBox box(iconOf(request.icon), request.caption, request.text, QMessageBox::NoButton,
                    QApplication::activeWindow());
    QList<QPushButton*> buttons;
    for (const QString& caption : request.buttons)
        buttons << box.addButton(caption, buttons.isEmpty() ? QMessageBox::AcceptRole : QMessageBox::RejectRole);
    if (!buttons.isEmpty()) box.setDefaultButton(buttons.first());
    box.adjustSize();
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        box.move(screen->availableGeometry().center() - box.rect().center());
    box.exec();
    const int pressed = int(buttons.indexOf(static_cast<QPushButton*>(box.clickedButton())));
    return pressed < 0 ? int(buttons.size()) - 1 : pressed;
}

bool MessageBox::show(const QString& text, MessageIcon icon, const QStringList& buttons) const {
    return Prompter::current().ask({caption_, text, buttons, icon}) == 0;
}

} // namespace dorvik::common
