#pragma once

#include "reporting/reportstep.h"

#include <QDate>
#include <QList>
#include <QString>

namespace dorvik::reports {

enum class WarehouseKind { Turnover = 0, Valuation = 1, CardList = 2, Control = 3 };

// The inputs of one warehouse report run, as the window's fields hold them.
struct WarehouseRequest {
    QString workstation;
    WarehouseKind kind = WarehouseKind::Turnover;
    QDate from;
    QDate to;
    QString centre;       // empty: every cost centre
    QString group;        // empty: every group
    QString codeFragment; // empty: every item code; % and _ keep their LIKE meaning
    bool grouped = false; // " Součet " "Skupiny"
    bool alphabetical = false;
};

using reporting::ReportStep;

// Everything a run sends before its final select, in order.
QList<ReportStep> warehouseSteps(const WarehouseRequest& request);
QString warehouseFinalSelect(const WarehouseRequest& request);
// The template file in fr3/.
QString warehouseTemplate(const WarehouseRequest& request);

} // namespace dorvik::reports
