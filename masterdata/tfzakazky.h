#pragma once

#include "masterdata/copyeditwindow.h"

namespace dorvik::masterdata {

// "Seznam zakázek": the orders. A double-click edits; the scratch copy stays after closing.
class TFzakazky : public CopyEditWindow {
    Q_OBJECT
public:
    TFzakazky(db::Connection& connection, const QString& workstation, pickers::TFnabadres& addresses,
              QWidget* parent = nullptr);
};

} // namespace dorvik::masterdata
