#include "reporting/zoomactions.h"

#include <QAbstractScrollArea>
#include <QAction>
#include <QToolBar>
#include <QWheelEvent>

namespace dorvik::reporting {
namespace {

constexpr double ZoomStep = 1.25;

class WheelZoom : public QObject {
public:
    WheelZoom(QWidget* viewport, std::function<double()> zoom, std::function<void(double)> setZoom)
        : QObject(viewport), zoom_(std::move(zoom)), setZoom_(std::move(setZoom)) {
        viewport->installEventFilter(this);
    }

    bool eventFilter(QObject*, QEvent* e) override {
        if (e->type() != QEvent::Wheel) return false;
        const auto* wheel = static_cast<QWheelEvent*>(e);
        if (!(wheel->modifiers() & Qt::ControlModifier)) return false;
        const int delta = wheel->angleDelta().y();
        if (delta != 0) setZoom_(delta > 0 ? zoom_() * ZoomStep : zoom_() / ZoomStep);
        return true;
    }

private:
    std::function<double()> zoom_;
    std::function<void(double)> setZoom_;
};

} // namespace

void addZoomActions(QToolBar* tools, QAbstractScrollArea* view, std::function<double()> zoom, std::function<void(double)> setZoom) {
    QAction* zoomIn = tools->addAction(QStringLiteral("Zvětšit"));
    zoomIn->setObjectName(QStringLiteral("Zvetsit"));
    zoomIn->setShortcuts({QKeySequence(Qt::CTRL | Qt::Key_Plus), QKeySequence(Qt::CTRL | Qt::Key_Equal)});
    QObject::connect(zoomIn, &QAction::triggered, tools, [zoom, setZoom] { setZoom(zoom() * ZoomStep); });
    QAction* zoomOut = tools->addAction(QStringLiteral("Zmenšit"));
    zoomOut->setObjectName(QStringLiteral("Zmensit"));
    zoomOut->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Minus));
    QObject::connect(zoomOut, &QAction::triggered, tools, [zoom, setZoom] { setZoom(zoom() / ZoomStep); });
    QObject::connect(tools->addAction(QStringLiteral("100 %")), &QAction::triggered, tools, [setZoom] { setZoom(1.0); });
    new WheelZoom(view->viewport(), std::move(zoom), std::move(setZoom));
}

} // namespace dorvik::reporting
