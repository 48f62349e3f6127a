#pragma once

#include <functional>

class QAbstractScrollArea;
class QToolBar;

namespace dorvik::reporting {

// "Zvětšit" (Ctrl+plus), "Zmenšit" (Ctrl+minus) and "100 %" on a window's tool bar; Ctrl with
// the mouse wheel over the view zooms by the same steps.
void addZoomActions(QToolBar* tools, QAbstractScrollArea* view, std::function<double()> zoom, std::function<void(double)> setZoom);

} // namespace dorvik::reporting
