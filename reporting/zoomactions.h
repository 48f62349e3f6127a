#pragma once

#include <functional>

class QToolBar;

namespace dorvik::reporting {

// "Zvětšit" (Ctrl+plus), "Zmenšit" (Ctrl+minus) and "100 %" on a window's tool bar.
void addZoomActions(QToolBar* tools, std::function<double()> zoom, std::function<void(double)> setZoom);

} // namespace dorvik::reporting
