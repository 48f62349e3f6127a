#include "common/screenfit.h"

#include <QCoreApplication>
#include <QEvent>
#include <QScreen>
#include <QWidget>
#include <algorithm>

namespace dorvik::common {
namespace {

class ScreenFit : public QObject {
public:
    bool eventFilter(QObject* object, QEvent* event) override {
        if (event->type() != QEvent::Show || !object->isWidgetType()) return false;
        auto* widget = static_cast<QWidget*>(object);
        const Qt::WindowType type = widget->windowType();
        if (widget->isWindow() && (type == Qt::Window || type == Qt::Dialog))
            if (const QScreen* screen = widget->screen()) fitIntoArea(widget, screen->availableGeometry());
        return false;
    }
};

} // namespace

void fitIntoArea(QWidget* window, const QRect& available) {
    const QRect outer = window->frameGeometry(), inner = window->geometry();
    QMargins frame(inner.left() - outer.left(), inner.top() - outer.top(), outer.right() - inner.right(), outer.bottom() - inner.bottom());
    if (frame.isNull()) frame = QMargins(4, 30, 4, 4);
    const QSize room = available.marginsRemoved(frame).size();
    const QSize size = window->size().boundedTo(room);
    if (size != window->size()) {
        window->setMinimumSize(window->minimumSize().boundedTo(room));
        window->resize(size);
    }
    const QSize whole = window->size().grownBy(frame);
    const int x = std::clamp(outer.x(), available.left(), std::max(available.left(), available.right() + 1 - whole.width()));
    const int y = std::clamp(outer.y(), available.top(), std::max(available.top(), available.bottom() + 1 - whole.height()));
    if (QPoint(x, y) != outer.topLeft()) window->move(x, y);
}

void keepWindowsOnScreen() {
    static ScreenFit* filter = nullptr;
    if (filter) return;
    filter = new ScreenFit;
    QCoreApplication::instance()->installEventFilter(filter);
}

} // namespace dorvik::common
