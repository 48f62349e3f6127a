#include "masterdata/tfzakazky.h"

#include "common/errordisplay.h"

#include <QDateEdit>
#include <QLineEdit>
#include <QPushButton>

namespace dorvik::masterdata {
namespace {

CopyEditSetup orders() {
    CopyEditSetup s;
    s.objectName = QStringLiteral("Fzakazky");
    s.caption = QStringLiteral("Seznam zakázek");
    s.messageCaption = s.caption;
    s.table = {QStringLiteral("zakazky"), QStringLiteral("zak"), QString(),
               {QStringLiteral("id"), QStringLiteral("ICO"), QStringLiteral("NAZEVPODNI"), QStringLiteral("POPIS"),
                QStringLiteral("ZAKAZKA"), QStringLiteral("DATUMOD"), QStringLiteral("DATUMDO")},
               QStringLiteral("0,\"\",\"\",\"\",\"\",NOW(),NOW()")};
    s.listQuery = QStringLiteral("select * from zakazky order by nazevpodni,zakazka");
    s.columns = {{QStringLiteral("ZAKAZKA"), {}, 100, {}},    {QStringLiteral("ICO"), {}, 80, {}},
                 {QStringLiteral("NAZEVPODNI"), {}, 210, {}}, {QStringLiteral("POPIS"), {}, 240, {}},
                 {QStringLiteral("DATUMOD"), {}, 125, {}},    {QStringLiteral("DATUMDO"), {}, 125, {}}};
    s.editButtonName = QStringLiteral("ButtonOpravit");
    s.doubleClickEdits = true;
    return s;
}

} // namespace

TFzakazky::TFzakazky(db::Connection& connection, const QString& workstation, pickers::TFnabadres& addresses,
                     QWidget* parent)
    : CopyEditWindow(connection, workstation, orders(), &addresses, parent) {
    setFirstField(addTextField(QStringLiteral("DBEdit10"), QStringLiteral("Zakázka &č."), QStringLiteral("ZAKAZKA"), 0));
    addTextField(QStringLiteral("DBEdit7"), QStringLiteral("Pop&is"), QStringLiteral("POPIS"), 0, 1);
    addTextField(QStringLiteral("EditICO"), QStringLiteral("I&ČO"), QStringLiteral("ICO"), 1);
    addTextField(QStringLiteral("DBEdit8"), QStringLiteral("Náz&ev"), QStringLiteral("NAZEVPODNI"), 1, 1);
    addDateField(QStringLiteral("DBDateEdit1"), QStringLiteral("Od &data"), QStringLiteral("DATUMOD"), 2);
    addDateField(QStringLiteral("DBDateEdit2"), QStringLiteral("Do d&ata"), QStringLiteral("DATUMDO"), 2, 1);
    finishPanel();
    resize(1040, 560);
}

} // namespace dorvik::masterdata
