#include "invoicing/invoicebuilder.h"

#include "common/routines.h"
#include "db/sqltext.h"

namespace dorvik::invoicing {

VatRates vatRatesForYear(int year) {
    if (year < 2013) return {0, 14, 20, noRate};
    if (year < 2015) return {0, 15, 21, noRate};
    if (year < 2024) return {0, 15, 21, 10};
    return {0, 12, 21, noRate};
}

DocumentHeader DocumentHeader::fromRow(const db::ResultSet& dl, int row) {
    const auto t = [&](const char* column) { return dl.text(row, QLatin1String(column)); };
    DocumentHeader h;
    h.centre = t("STREDISKO");
    h.objednavka = t("OBJEDNAVKA");
    h.ico = t("ICO");
    h.kodpar = t("KODPAR");
    h.dic = t("DIC");
    h.nazevpodni = t("NAZEVPODNI");
    h.sidlo = t("SIDLO");
    h.ulicecislo = t("ULICECISLO");
    h.psc = t("PSC");
    h.posta = t("POSTA");
    h.zakazka = t("ZAKAZKA");
    h.text1 = t("TEXT1");
    h.text2 = t("TEXT2");
    h.text3 = t("TEXT3");
    h.datum = dl.dateTime(row, QStringLiteral("DATUM")).date();
    return h;
}

QList<InvoiceRow> invoiceRows(const QString& documentText, const DocumentHeader& document,
                              const db::ResultSet& lines, const QString& ownIco) {
    const auto textRow = [](const QString& text) {
        InvoiceRow row;
        row.text = text;
        return row;
    };
    QList<InvoiceRow> rows;
    rows << textRow(QStringLiteral("Fakturujeme Vám podle dodacího listu číslo ") + documentText);
    if (!document.text1.isEmpty()) rows << textRow(document.text1);
    if (!document.text2.isEmpty()) rows << textRow(document.text2);
    // The shop of this IČO keeps its item descriptions off its invoices.
    const bool descriptions = ownIco != QLatin1String("27354910");
    for (int r = 0; r < lines.rowCount(); ++r) {
        InvoiceRow item;
        item.text = lines.text(r, QStringLiteral("nazev"));
        item.mj = lines.text(r, QStringLiteral("mj"));
        item.mnozstvi = lines.number(r, QStringLiteral("mnoz"));
        item.cena = lines.number(r, QStringLiteral("pc"));
        item.celkem = lines.number(r, QStringLiteral("pcr"));
        item.dan = int(lines.integer(r, QStringLiteral("dph")));
        item.dph = common::roundTo(2, item.celkem * item.dan / 100);
        rows << item;
        const QString popis = lines.text(r, QStringLiteral("popis"));
        if (!popis.isEmpty() && descriptions)
            rows << textRow(popis + u' ' + lines.text(r, QStringLiteral("popis2")));
    }
    if (!document.text3.isEmpty()) rows << textRow(document.text3);
    return rows;
}

InvoiceSums invoiceSums(const QList<InvoiceRow>& rows, const VatRates& rates) {
    InvoiceSums s;
    for (const InvoiceRow& row : rows) {
        if (row.dan == rates.zero) s.z0 += row.celkem;
        else if (row.dan == rates.reduced) s.zn += row.celkem;
        else if (row.dan == rates.standard) s.zv += row.celkem;
        else if (row.dan == rates.secondReduced) s.zs += row.celkem;
    }
    const auto vat = [](double base, int rate) -> std::optional<double> {
        if (base == 0) return std::nullopt;
        return common::roundTo(2, base * rate / 100);
    };
    s.dphn = vat(s.zn, rates.reduced);
    s.dphv = vat(s.zv, rates.standard);
    s.dphs = vat(s.zs, rates.secondReduced);
    s.fa = s.z0 + s.zn + s.zv + s.zs + s.dphs.value_or(0) + s.dphn.value_or(0) + s.dphv.value_or(0);
    s.zaok = common::roundTo(0, s.fa);
    s.halere = s.zaok - s.fa;
    return s;
}

QString unknownRateText(const db::ResultSet& lines, int year) {
    const VatRates rates = vatRatesForYear(year);
    for (int r = 0; r < lines.rowCount(); ++r) {
        const int dan = int(lines.integer(r, QStringLiteral("dph")));
        if (dan == rates.zero || dan == rates.reduced || dan == rates.standard || dan == rates.secondReduced) continue;
        return QStringLiteral("Položka %1 má sazbu DPH %2 %, která v roce %3 neplatí.")
            .arg(lines.text(r, QStringLiteral("nazev")))
            .arg(dan)
            .arg(year);
    }
    return {};
}

double totalWithVat(const db::ResultSet& lines, int year) {
    QList<InvoiceRow> rows;
    for (int r = 0; r < lines.rowCount(); ++r) {
        InvoiceRow row;
        row.dan = int(lines.integer(r, QStringLiteral("dph")));
        row.celkem = lines.number(r, QStringLiteral("pcr"));
        rows << row;
    }
    return invoiceSums(rows, vatRatesForYear(year)).fa;
}

bool periodOpen(const QDate& plneni, const QString& uzavreneuo) {
    return uzavreneuo < plneni.toString(QStringLiteral("yyyyMM"));
}

QString documentHeaderSql(const QString& documentText) {
    return QStringLiteral("select * from dl \n where cislodokla = ") + db::sqlQuoted(documentText);
}

QString closedPeriodSql() {
    return QStringLiteral("select uzavreneuo from velmo");
}

QString existingInvoiceSql(qint64 number) {
    return QStringLiteral("select SPLATNOST,VYSTAVENI,PLNENI,UHRADA from fakt\n where cfakt = ") + db::sqlNumber(number);
}

QStringList scratchTableSql(const QString& scratch) {
    return {QStringLiteral("DROP TABLE IF EXISTS ") + scratch,
            QStringLiteral("CREATE TABLE %1 (select * from fakt LIMIT 0,0)").arg(scratch)};
}

QString documentLinesSql(const QString& documentText) {
    return QStringLiteral("select * from dlrad where cislodokla = ") + db::sqlQuoted(documentText);
}

QString invoiceMarkSql(const QString& documentText) {
    return QStringLiteral("select cislofakt from dl where cislodokla = ") + db::sqlQuoted(documentText) +
           QStringLiteral(" FOR UPDATE");
}

QStringList storedInvoiceSql(qint64 number, const QString& documentText) {
    return {QStringLiteral("select * from fakt where cfakt = ") + db::sqlNumber(number),
            QStringLiteral("select cislofakt from dl where cislodokla = ") + db::sqlQuoted(documentText)};
}

QStringList sentInvoiceSql(qint64 number, const QString& scratch) {
    return {QStringLiteral("select * from ") + scratch, QStringLiteral("select ") + db::sqlQuoted(db::sqlNumber(number))};
}

QStringList invoiceScript(qint64 number, const QString& scratch, const QString& documentText) {
    const QString n = db::sqlNumber(number);
    return {QStringLiteral("START TRANSACTION;"),
            QStringLiteral("delete from fakt where cfakt = %1;").arg(n),
            QStringLiteral("insert into fakt select * from %1;").arg(scratch),
            QStringLiteral("UPDATE dl SET cislofakt = %1\n WHERE cislodokla = %2;").arg(n, db::sqlQuoted(documentText)),
            QStringLiteral("COMMIT;")};
}

} // namespace dorvik::invoicing
