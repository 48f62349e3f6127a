#pragma once

#include "masterdata/copyeditwindow.h"

namespace dorvik::masterdata {

// "Adresář partnerů": the address book. No double-click editing here; the scratch copy
// is dropped when the window closes.
class TFadre : public CopyEditWindow {
    Q_OBJECT
public:
    TFadre(db::Connection& connection, const QString& workstation, QWidget* parent = nullptr);

    void suiButton1Click(); // Zrušit

private:
    QPushButton* suiButton1;
};

} // namespace dorvik::masterdata
