#include "masterdata/tfzakarty.h"

#include "common/errordisplay.h"

#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>

namespace dorvik::masterdata {
namespace {

CopyEditSetup cards() {
    CopyEditSetup s;
    s.objectName = QStringLiteral("Fzakarty");
    s.caption = QStringLiteral("Seznam zákaznických karet");
    s.messageCaption = s.caption;
    s.table = {QStringLiteral("zakarty"), QStringLiteral("zka"), QStringLiteral(" ENGINE=MyISAM"),
               {QStringLiteral("id"), QStringLiteral("ICO"), QStringLiteral("NAZEVPODNI"), QStringLiteral("SLEVA"),
                QStringLiteral("DATUMZAL"), QStringLiteral("PLATI")},
               QStringLiteral("0,\"\",\"\",0,NOW(),\"A\"")};
    s.listQuery = QStringLiteral("select * from zakarty order by nazevpodni");
    s.columns = {{QStringLiteral("CISLOKARTY"), {}, 90, {}}, {QStringLiteral("PLATI"), {}, 45, {}},
                 {QStringLiteral("ICO"), {}, 80, {}},        {QStringLiteral("NAZEVPODNI"), {}, 230, {}},
                 {QStringLiteral("DATUMZAL"), {}, 140, {}},  {QStringLiteral("SLEVA"), {}, 55, {}},
                 {QStringLiteral("SUMAKC"), {}, 90, {}}};
    s.editButtonName = QStringLiteral("ButtonOpravit");
    s.doubleClickEdits = true;
    return s;
}

} // namespace

TFzakarty::TFzakarty(db::Connection& connection, const QString& workstation, pickers::TFnabadres& addresses,
                     QWidget* parent)
    : CopyEditWindow(connection, workstation, cards(), &addresses, parent), report_(this) {
    suiButton1 = addListButton(QStringLiteral("suiButton1"), QStringLiteral("T&isk"));
    connect(suiButton1, &QPushButton::clicked, this, common::guard(this, &TFzakarty::suiButton1Click));

    addTextField(QStringLiteral("EditICO"), QStringLiteral("I&ČO"), QStringLiteral("ICO"), 0);
    addTextField(QStringLiteral("DBEdit8"), QStringLiteral("Náz&ev"), QStringLiteral("NAZEVPODNI"), 1);
    QLineEdit* discount = addNumberField(QStringLiteral("DBEdit10"), QStringLiteral("S&leva %"), QStringLiteral("SLEVA"), 0, 1);
    discount->setMaximumWidth(70);
    setFirstField(discount);
    addChoiceField(QStringLiteral("suiDBComboBox1"), QStringLiteral("Pl&atí"), QStringLiteral("PLATI"),
                   {QStringLiteral("A"), QStringLiteral("N")}, 1, 1)
        ->setMaximumWidth(70);
    // The number is given when the card is written, never typed.
    addTextField(QStringLiteral("suiDBEdit1"), QStringLiteral("Číslo &karty"), QStringLiteral("CISLOKARTY"), 2)->setReadOnly(true);
    finishPanel();
    resize(880, 560);
}

bool TFzakarty::afterInsert(const db::ResultSet& scratchRow, qint64 id) {
    if (!scratchRow.text(0, QStringLiteral("CISLOKARTY")).isEmpty()) return true;
    // Five digits hold the id; beyond them a number would be cut into another card's.
    if (id > HighestNumberedCard) {
        messages_.show(QStringLiteral("Kartu nelze zapsat: číslo karty pojme id nejvýše %1, tato karta má id %2.")
                           .arg(HighestNumberedCard)
                           .arg(id),
                       common::MessageIcon::Stop);
        return false;
    }
    connection_.execute(cardNumberStatement(id));
    return true;
}

void TFzakarty::suiButton1Click() {
    if (currentRow() < 0) return;
    report_.setDataset(connection_.query(QStringLiteral(" select * from zakarty\n where id = ") + QString::number(currentId())));
    report_.loadTemplate(QStringLiteral("fr3/zka1.fr3"));
    report_.show();
    report_.setDataset(db::ResultSet());
}

} // namespace dorvik::masterdata
