#include "reporting/zoomactions.h"

#include <QAction>
#include <QToolBar>

namespace dorvik::reporting {

void addZoomActions(QToolBar* tools, std::function<double()> zoom, std::function<void(double)> setZoom) {
    QAction* zoomIn = tools->addAction(QStringLiteral("Zvětšit"));
    zoomIn->setObjectName(QStringLiteral("Zvetsit"));
    zoomIn->setShortcuts({QKeySequence(Qt::CTRL | Qt::Key_Plus), QKeySequence(Qt::CTRL | Qt::Key_Equal)});
    QObject::connect(zoomIn, &QAction::triggered, tools, [zoom, setZoom] { setZoom(zoom() * 1.25); });
    QAction* zoomOut = tools->addAction(QStringLiteral("Zmenšit"));
    zoomOut->setObjectName(QStringLiteral("Zmensit"));
    zoomOut->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Minus));
    QObject::connect(zoomOut, &QAction::triggered, tools, [zoom, setZoom] { setZoom(zoom() / 1.25); });
    QObject::connect(tools->addAction(QStringLiteral("100 %")), &QAction::triggered, tools, [setZoom] { setZoom(1.0); });
}

} // namespace dorvik::reporting
