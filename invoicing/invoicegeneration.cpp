#include "invoicing/invoicegeneration.h"

#include "common/startupsettings.h"
#include "common/tracefile.h"
#include "db/connection.h"
#include "db/dberror.h"
#include "db/editabletable.h"
#include "db/savecheck.h"
#include "db/scratchtable.h"
#include "db/scriptrunner.h"
#include "db/sqltext.h"
#include "invoicing/invoicenumber.h"

namespace dorvik::invoicing {

namespace {

// Another workstation numbering the same centre holds the lock only for one invoice.
constexpr int lockWaitSeconds = 30;

class NumberingLock {
public:
    NumberingLock(db::Connection& connection, const QString& centre)
        : connection_(connection), name_(db::sqlQuoted(numberingLockName(centre))) {
        const db::ResultSet r = connection_.query(QStringLiteral("SELECT GET_LOCK(%1, %2)").arg(name_).arg(lockWaitSeconds));
        if (r.isNull(0, 0) || r.integer(0, 0) != 1)
            throw InvoiceRefused(QStringLiteral("Číslování faktur střediska %1 drží jiná stanice. Zkuste to za chvíli znovu.")
                                     .arg(centre));
    }
    ~NumberingLock() {
        try {
            connection_.execute(QStringLiteral("DO RELEASE_LOCK(%1)").arg(name_));
        } catch (const db::DbError&) {
            // A dropped connection has released it already.
        }
    }
    // A reconnect in between would have dropped the lock silently; the script itself
    // never reconnects, so checking right before it is enough.
    void confirmHeld() {
        const db::ResultSet r = connection_.query(QStringLiteral("SELECT IS_USED_LOCK(%1) = CONNECTION_ID()").arg(name_));
        if (r.isNull(0, 0) || r.integer(0, 0) != 1)
            throw db::DbError(QStringLiteral("The invoice numbering lock was lost with the connection."), 0, QString());
    }
    NumberingLock(const NumberingLock&) = delete;
    NumberingLock& operator=(const NumberingLock&) = delete;

private:
    db::Connection& connection_;
    QString name_;
};

qint64 takeNumber(db::Connection& connection, const InvoiceRequest& request) {
    const QString& centre = request.document.centre;
    const qint64 base = invoiceNumberBase(request.vystaveni.year(), centre,
                                          common::readPrefixFakt(request.settingsPath));
    const QString sql = highestInvoiceSql(centre, base);
    common::writeTrace(QStringLiteral("a.txt"), sql);
    const db::ResultSet highest = connection.query(sql);
    const qint64 number = nextInvoiceNumber(
        highest.rowCount() > 0 ? std::optional<qint64>(highest.integer(0, 0)) : std::nullopt, base);
    if (sequenceExhausted(number))
        throw InvoiceRefused(QStringLiteral("Řada faktur %1 střediska %2 je vyčerpána: má již 999 faktur.")
                                 .arg(seriesText(number - 1), centre));
    return number;
}

// Each row goes in complete: its line columns (a text row's are the column defaults) and
// the header and totals that every row of the invoice repeats.
void appendRows(db::Connection& connection, const QString& scratch, const QList<InvoiceRow>& rows,
                const InvoiceHeader& header, const DocumentHeader& document, const InvoiceSums& sums) {
    db::EditableTable table(connection, scratch);
    table.open();
    for (const InvoiceRow& row : rows) {
        table.insert();
        table.setValue(QStringLiteral("TEXT"), row.text);
        table.setValue(QStringLiteral("MJ"), row.mj);
        table.setValue(QStringLiteral("MNOZSTVI"), row.mnozstvi);
        table.setValue(QStringLiteral("CENA"), row.cena);
        table.setValue(QStringLiteral("CELKEM"), row.celkem);
        table.setValue(QStringLiteral("DAN"), row.dan);
        table.setValue(QStringLiteral("DPH"), row.dph);
        table.setValue(QStringLiteral("CFAKT"), header.number);
        table.setValue(QStringLiteral("PORADOVEC"), sequenceText(header.number));
        table.setValue(QStringLiteral("RADA"), seriesText(header.number));
        table.setValue(QStringLiteral("KS"), QStringLiteral("0308"));
        table.setValue(QStringLiteral("OBJEDNAVKA"), document.objednavka);
        table.setValue(QStringLiteral("ICO"), document.ico);
        table.setValue(QStringLiteral("KODZAK"), document.kodpar);
        table.setValue(QStringLiteral("DICO"), document.dic);
        table.setValue(QStringLiteral("ODB1"), document.nazevpodni);
        table.setValue(QStringLiteral("ODB2"), document.sidlo);
        table.setValue(QStringLiteral("ODB3"), document.ulicecislo);
        table.setValue(QStringLiteral("ODBPSC"), document.psc);
        table.setValue(QStringLiteral("ODB4"), document.posta);
        table.setValue(QStringLiteral("SPLATNOST"), header.splatnost);
        table.setValue(QStringLiteral("VYSTAVENI"), header.vystaveni);
        table.setValue(QStringLiteral("PLNENI"), header.plneni);
        table.setValue(QStringLiteral("STREDISKO"), document.centre);
        table.setValue(QStringLiteral("DODACILIST"), header.documentText);
        table.setValue(QStringLiteral("UHRADA"), header.uhrada);
        table.setValue(QStringLiteral("DISPOZICE"), document.zakazka);
        table.setValue(QStringLiteral("SUMA_Z0"), sums.z0);
        table.setValue(QStringLiteral("SUMA_ZN"), sums.zn);
        table.setValue(QStringLiteral("SUMA_ZV"), sums.zv);
        table.setValue(QStringLiteral("SUMA_ZS"), sums.zs);
        if (sums.dphn) table.setValue(QStringLiteral("SUMA_DPHN"), *sums.dphn);
        if (sums.dphv) table.setValue(QStringLiteral("SUMA_DPHV"), *sums.dphv);
        if (sums.dphs) table.setValue(QStringLiteral("SUMA_DPHS"), *sums.dphs);
        table.setValue(QStringLiteral("SUMA_FA"), sums.fa);
        table.setValue(QStringLiteral("ZAOK"), sums.zaok);
        table.setValue(QStringLiteral("HALERE"), sums.halere);
        table.post();
    }
}

} // namespace

qint64 generateInvoice(db::Connection& connection, const InvoiceRequest& request) {
    const QString& centre = request.document.centre;
    if (request.existingNumber <= 0)
        if (const auto refusal = costCentreRefusal(centre)) throw InvoiceRefused(*refusal);
    NumberingLock lock(connection, centre);
    const qint64 number = request.existingNumber > 0 ? request.existingNumber : takeNumber(connection, request);

    const VatRates rates = vatRatesForYear(request.plneni.year());
    const QString scratch = db::scratchTable(request.workstation, QStringLiteral("fakt"));
    for (const QString& sql : scratchTableSql(scratch)) connection.execute(sql);
    // The document as the invoice is made from it; the transaction finds it so or writes nothing.
    const QStringList document{documentHeaderSql(request.documentText), documentLinesSql(request.documentText)};
    const QByteArray read = db::rowsStamp(connection, document);
    const db::ResultSet lines = connection.query(documentLinesSql(request.documentText));
    if (const QString unknown = unknownRateText(lines, request.plneni.year()); !unknown.isEmpty())
        throw InvoiceRefused(unknown + QStringLiteral(" Faktura nebyla vytvořena."));
    const QList<InvoiceRow> rows = invoiceRows(request.documentText, request.document, lines, request.ownIco);
    const InvoiceHeader header{number, request.documentText, request.splatnost, request.vystaveni, request.plneni,
                               request.uhrada};
    appendRows(connection, scratch, rows, header, request.document, invoiceSums(rows, rates));

    lock.confirmHeld();
    const auto documentAsRead = [&] {
        // One document, one invoice: another workstation may have invoiced it since the window opened.
        const db::ResultSet mark = connection.query(invoiceMarkSql(request.documentText));
        const QString current = mark.rowCount() > 0 ? mark.text(0, 0).trimmed() : QString();
        if (!current.isEmpty() && current != QString::number(number))
            throw InvoiceRefused(QStringLiteral("Doklad %1 už má fakturu %2. Další faktura se k němu nevystavuje.")
                                     .arg(request.documentText, current));
        try {
            db::requireUnchanged(connection, document, read);
        } catch (const db::ChangedMeanwhile&) {
            throw InvoiceRefused(QStringLiteral("Doklad %1 mezitím změnila jiná stanice. Faktura nebyla vytvořena; "
                                                "zkontrolujte doklad a vytvořte ji znovu.")
                                     .arg(request.documentText));
        }
    };
    try {
        db::runScript(connection, invoiceScript(number, scratch, request.documentText), documentAsRead);
    } catch (const db::CommitUnknown&) {
        const bool stored = db::storedAsSent(
            connection, storedInvoiceSql(number, request.documentText), sentInvoiceSql(number, scratch),
            {QStringLiteral("id")},
            QStringLiteral("Spojení se serverem se přerušilo při potvrzení faktury %1 a nelze zjistit, zda byla uložena "
                           "(%2). Než ji vytvoříte znovu, podívejte se do seznamu faktur.")
                .arg(number)
                .arg(QStringLiteral("%1")));
        if (!stored)
            throw db::NotStored(QStringLiteral("Spojení se serverem se přerušilo při potvrzení faktury. Faktura nebyla "
                                               "vytvořena; vytvořte ji znovu."));
    }
    return number;
}

} // namespace dorvik::invoicing
