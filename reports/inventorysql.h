#pragma once

#include "reporting/reportstep.h"

#include <QList>
#include <QString>
#include <QStringList>

namespace dorvik::reports {

using reporting::ReportStep;

enum class InventorySort { Code = 0, Name = 1, GroupCode = 2, GroupName = 3 };

// The inputs of one inventory run, as the window's fields hold them.
struct InventoryRequest {
    QString workstation;
    QString centre; // always a condition: empty selects the rows with an empty cost centre
    QString group;  // empty: every group, counted items only
    InventorySort sort = InventorySort::Code;
};

// An archived count: its stamp as the archive stores it ("yyyy-mm-dd", "hh:mm").
struct ArchiveStamp {
    QString datum;
    QString cas;
};

// Evaluates the counts in sklinv into tmp<PC>sest1 and records in tmp<PC>sest3 which
// sklinv rows it took in, so archiving removes exactly those.
QList<ReportStep> inventoryEvaluationSteps(const InventoryRequest& request);
// Copies one archived count of the cost centre into tmp<PC>sest1.
QList<ReportStep> inventoryArchiveSteps(const InventoryRequest& request, const ArchiveStamp& stamp);
QString inventoryFinalSelect(const InventoryRequest& request);
// The template file in fr3/.
QString inventoryTemplate(InventorySort sort);

// One batch from START TRANSACTION to COMMIT: the last evaluation's result stamped and
// archived, and the counting rows it took in removed, all or nothing.
QStringList inventoryArchiving(const QString& workstation);

// Weekday names of the archive list in Czech (stays in force on the connection).
QString inventoryTimeNames();
// The cost centre's archived counts, newest first: DATUM, CAS and the text DCCZ.
QString inventoryArchiveList(const QString& centre);

} // namespace dorvik::reports
