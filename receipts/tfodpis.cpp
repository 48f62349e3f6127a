#include "receipts/tfodpis.h"

#include "common/errordisplay.h"
#include "common/tracefile.h"
#include "db/connection.h"
#include "receipts/receiptsql.h"

#include <QCoreApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QScopeGuard>
#include <QScopedValueRollback>
#include <QVBoxLayout>

namespace dorvik::receipts {

TFodpis::TFodpis(const common::RegisterContext& context, QWidget* parent) : QDialog(parent), context_(context) {
    setObjectName(QStringLiteral("Fodpis"));
    setWindowTitle(QStringLiteral("Odpis účtenek"));
    setModal(true);

    auto* top = new QVBoxLayout(this);
    auto* label = new QLabel(QStringLiteral("Odepíše ze skladu položky účtenek střediska %1, které ještě nejsou odepsané.")
                                 .arg(context_.costCentre));
    label->setObjectName(QStringLiteral("Label1"));
    label->setWordWrap(true);
    top->addWidget(label);

    suiProgressBar1 = new QProgressBar;
    suiProgressBar1->setObjectName(QStringLiteral("suiProgressBar1"));
    suiProgressBar1->setFormat(QStringLiteral("%p %"));
    suiProgressBar1->setTextVisible(true);
    suiProgressBar1->hide();
    top->addWidget(suiProgressBar1);
    top->addStretch();

    Button1 = new QPushButton(QStringLiteral("&Odpis"));
    Button1->setObjectName(QStringLiteral("Button1"));
    Button1->setDefault(true);
    suiButton1 = new QPushButton(QStringLiteral("Zpět"));
    suiButton1->setObjectName(QStringLiteral("suiButton1"));
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(Button1);
    buttons->addWidget(suiButton1);
    top->addLayout(buttons);

    connect(Button1, &QPushButton::clicked, this, common::guard(this, &TFodpis::Button1Click));
    connect(suiButton1, &QPushButton::clicked, this, &QDialog::reject);
    resize(420, 150);
}

void TFodpis::Button1Click() {
    {
        const QScopedValueRollback<bool> flag(running_, true);
        // The screen events let through between calls could otherwise start a second run
        // inside the first.
        Button1->setEnabled(false);
        suiButton1->setEnabled(false);
        const auto enable = qScopeGuard([this] {
            Button1->setEnabled(true);
            suiButton1->setEnabled(true);
        });
        odpisUctenky();
    }
    message_.show(QStringLiteral("Odpis účtenek proveden."), common::MessageIcon::Information);
    accept();
}

void TFodpis::odpisUctenky() {
    const QString selection = writeOffSelection(context_.costCentre);
    common::writeTrace(QStringLiteral("a.txt"), selection);
    const db::ResultSet lines = context_.connection.query(selection);
    // An empty range would show the busy animation instead of an empty bar.
    suiProgressBar1->setRange(0, qMax(1, lines.rowCount()));
    suiProgressBar1->setValue(0);
    suiProgressBar1->show();
    for (int row = 0; row < lines.rowCount(); ++row) {
        suiProgressBar1->setValue(row + 1);
        QCoreApplication::processEvents();
        const QString call = writeOffCall(lines.text(row, 0), lines.text(row, 1), lines.number(row, 2), lines.integer(row, 3));
        common::writeTrace(QStringLiteral("a1.txt"), call);
        context_.connection.execute(call);
    }
    QCoreApplication::processEvents();
}

void TFodpis::done(int result) {
    if (running_) return;
    QDialog::done(result);
}

} // namespace dorvik::receipts
