#include "invoicing/documentprint.h"

#include "common/tracefile.h"
#include "db/connection.h"
#include "db/scratchtable.h"
#include "db/sqltext.h"
#include "reporting/reportrunner.h"

#include <QStringList>

namespace dorvik::invoicing {

QString issueDocumentStatement(const QString& documentNumber) {
    return QStringList{
        QStringLiteral("select * from dl"),
        QStringLiteral(" LEFT JOIN dlrad"),
        QStringLiteral(" ON (dl.cislodokla=dlrad.cislodokla)"),
        QStringLiteral(" LEFT JOIN strediska"),
        QStringLiteral(" ON (dl.stredisko=strediska.stredisko)"),
        QStringLiteral(" where dl.CISLODOKLA = ") + db::sqlQuoted(documentNumber),
    }.join(QLatin1Char('\n'));
}

QString issueDocumentTemplate(const QString& customerIco, int layout) {
    if (customerIco.size() < 4) return QStringLiteral("fr3/vydv1.fr3");
    return layout == 2 ? QStringLiteral("fr3/vyd2.fr3") : QStringLiteral("fr3/vyd1.fr3");
}

QString invoiceTableStatement(const QString& workstation, const QString& invoiceNumber, const QString& centre) {
    return QStringList{
        QStringLiteral("CREATE table ") + db::scratchTable(workstation, QStringLiteral("fa")),
        QStringLiteral(" select f.*,a.ico as F_ICO,a.DIC as F_DIC,a.FIRMA as F_ADR1,a.ADR2 as F_ADR2,"),
        QStringLiteral(" a.ADR3 as F_ADR3,a.ADR4 as F_ADR4, a.BANKA, a.UCET, a.OBRE from fakt f, strediska a"),
        QStringLiteral(" where f.cfakt=") + db::sqlQuoted(invoiceNumber),
        QStringLiteral(" and a.stredisko=") + db::sqlQuoted(centre),
    }.join(QLatin1Char('\n'));
}

void printIssueDocument(db::Connection& db, reporting::ReportRunner& runner, const QString& documentNumber, int layout) {
    db::ResultSet rows = db.query(issueDocumentStatement(documentNumber));
    // The first ICO column of the join is the document's own.
    const QString ico = rows.rowCount() > 0 ? rows.text(0, QStringLiteral("ico")) : QString();
    const QString templatePath = issueDocumentTemplate(ico, layout);
    runner.loadTemplate(templatePath);
    runner.setTitle((templatePath.endsWith(QLatin1String("vydv1.fr3")) ? QStringLiteral("Výdejka ") : QStringLiteral("Dodací list ")) + documentNumber);
    runner.setDataset(rows);
    runner.show();
    runner.setDataset({});
}

void printInvoice(db::Connection& db, reporting::ReportRunner& runner, const QString& workstation,
                  const QString& invoiceNumber, const QString& centre) {
    const QString table = db::scratchTable(workstation, QStringLiteral("fa"));
    const QString drop = QStringLiteral("DROP table if exists ") + table + QLatin1Char(';');
    db.execute(drop);
    const QString create = invoiceTableStatement(workstation, invoiceNumber, centre);
    common::writeTrace(QStringLiteral("a.txt"), create);
    db.execute(create);
    runner.loadTemplate(QStringLiteral("fr3/fa1.fr3"));
    runner.setTitle(QStringLiteral("Faktura ") + invoiceNumber);
    runner.setDataset(db.query(QStringLiteral("select * from ") + table + QStringLiteral("\n order by id;")));
    runner.show();
    runner.setDataset({});
    db.execute(drop);
}

} // namespace dorvik::invoicing
