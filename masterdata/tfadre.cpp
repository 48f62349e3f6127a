#include "masterdata/tfadre.h"

#include "common/errordisplay.h"

#include <QLineEdit>
#include <QPushButton>

namespace dorvik::masterdata {
namespace {

CopyEditSetup addressBook() {
    CopyEditSetup s;
    s.objectName = QStringLiteral("Fadre");
    s.caption = QStringLiteral("Adresář partnerů");
    s.messageCaption = QStringLiteral("Příjem vnitro");
    s.table = {QStringLiteral("adresar"), QStringLiteral("adr"), QString(),
               {QStringLiteral("id"), QStringLiteral("ICO"), QStringLiteral("NAZEVPODNI"), QStringLiteral("SIDLO"),
                QStringLiteral("ULICECISLO"), QStringLiteral("PSC"), QStringLiteral("POSTA")},
               QStringLiteral("0,\"\",\"\",\"\",\"\",\"\",\"\"")};
    s.listQuery = QStringLiteral("select * from adresar order by nazevpodni");
    s.columns = {{QStringLiteral("ICO"), {}, 75, {}},        {QStringLiteral("NAZEVPODNI"), {}, 220, {}},
                 {QStringLiteral("SIDLO"), {}, 125, {}},     {QStringLiteral("ULICECISLO"), {}, 150, {}},
                 {QStringLiteral("PSC"), {}, 50, {}},        {QStringLiteral("POSTA"), {}, 115, {}},
                 {QStringLiteral("TELEFON"), {}, 95, {}},    {QStringLiteral("KOD_PLATCE"), {}, 100, {}}};
    s.editButtonName = QStringLiteral("Button3");
    s.dropScratchOnClose = true;
    return s;
}

} // namespace

TFadre::TFadre(db::Connection& connection, const QString& workstation, QWidget* parent)
    : CopyEditWindow(connection, workstation, addressBook(), nullptr, parent) {
    suiButton1 = addListButton(QStringLiteral("suiButton1"), QStringLiteral("Z&rušit"));
    connect(suiButton1, &QPushButton::clicked, this, common::guard(this, &TFadre::suiButton1Click));

    setFirstField(addTextField(QStringLiteral("EditICO"), QStringLiteral("&IČO"), QStringLiteral("ICO"), 0));
    addTextField(QStringLiteral("DBEdit8"), QStringLiteral("&Název"), QStringLiteral("NAZEVPODNI"), 1);
    addTextField(QStringLiteral("DBEdit10"), QStringLiteral("&Sídlo"), QStringLiteral("SIDLO"), 2);
    addTextField(QStringLiteral("DBEdit7"), QStringLiteral("&Ulice"), QStringLiteral("ULICECISLO"), 3);
    addTextField(QStringLiteral("DBEdit1"), QStringLiteral("PS&Č, Pošta"), QStringLiteral("PSC"), 4)->setMaximumWidth(70);
    addTextField(QStringLiteral("DBEdit2"), QString(), QStringLiteral("POSTA"), 4)->setAccessibleName(QStringLiteral("Pošta"));
    addTextField(QStringLiteral("suiDBEdit1"), QStringLiteral("&DIČ"), QStringLiteral("KOD_PLATCE"), 0, 1);
    addTextField(QStringLiteral("suiDBEdit2"), QStringLiteral("&E-mail"), QStringLiteral("EMAILOBJ"), 1, 1);
    addNumberField(QStringLiteral("suiDBEdit3"), QStringLiteral("S&leva %"), QStringLiteral("SLEVA"), 2, 1)->setMaximumWidth(70);
    finishPanel();
    resize(1100, 600);
}

void TFadre::suiButton1Click() {
    if (currentRow() < 0) return;
    if (!messages_.show(QStringLiteral("Opravdu zrušit adresu?"), common::MessageIcon::Question,
                        {QStringLiteral("Zrušit"), QStringLiteral("Ne")}))
        return;
    connection_.execute(QStringLiteral("delete from adresar where id = ") + QString::number(currentId()));
    loadList();
}

} // namespace dorvik::masterdata
