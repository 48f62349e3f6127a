#pragma once

#include "common/registercontext.h"
#include "db/sqltext.h"
#include "invoicing/invoicegeneration.h"
#include "support/dbfixture.h"
#include "support/scriptedprompter.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

namespace dorvik::test {

// Documents of cost centre 11 and their lines, an empty fakt, an open accounting period,
// and a working directory of its own for a.txt and velmo.ini.
class InvoicingTest : public DbTest {
protected:
    void SetUp() override {
        DbTest::SetUp();
        ASSERT_TRUE(dir.isValid());
        previousDir = QDir::currentPath();
        QDir::setCurrent(dir.path());
        resetTables({"dl", "dlrad", "fakt", "velmo"});
        exec("INSERT INTO velmo (id, uzavreneuo) VALUES (1, '')");
        settings.workstation = QStringLiteral("01");
    }
    void TearDown() override { QDir::setCurrent(previousDir); }

    QString iniPath() const { return dir.filePath("velmo.ini"); }
    void writePrefix(int prefix) {
        QFile f(iniPath());
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(QStringLiteral("[LogON]\r\nprefixFakt=%1\r\n").arg(prefix).toUtf8());
    }

    void addDocument(int number, const QString& date, const QString& centre = "11", const QString& text1 = {},
                     const QString& text2 = {}, const QString& text3 = {}) {
        exec(QStringLiteral("INSERT INTO dl (CISLODOKLA, STREDISKO, DATUM, CISLOFAKT, KODPAR, ICO, NAZEVPODNI, SIDLO,"
                            " ULICECISLO, PSC, POSTA, DIC, OBJEDNAVKA, ZAKAZKA, TEXT1, TEXT2, TEXT3) VALUES"
                            " (%1, %2, %3, ' ', 'P7', '44556677', 'Stavby Novák', 'Brno', 'Dlouhá 5', '60200',"
                            " 'Brno 2', 'CZ44556677', 'OBJ-9', 'Z-12', %4, %5, %6)")
                 .arg(number)
                 .arg(db::sqlQuoted(centre), db::sqlQuoted(date), db::sqlQuoted(text1), db::sqlQuoted(text2),
                      db::sqlQuoted(text3)));
    }
    void addLine(int document, const QString& name, int vat, double total, const QString& popis = {},
                 const QString& popis2 = {}) {
        exec(QStringLiteral("INSERT INTO dlrad (CISLODOKLA, STREDISKO, NAZEV, MJ, MNOZ, PC, PCR, DPH, POPIS, POPIS2)"
                            " VALUES (%1, '11', %2, 'ks', 2, %3, %4, %5, %6, %7)")
                 .arg(document)
                 .arg(db::sqlQuoted(name), db::sqlNumber(total / 2), db::sqlNumber(total), QString::number(vat),
                      db::sqlQuoted(popis), db::sqlQuoted(popis2)));
    }

    // What the register hands over with the document as its current row.
    common::RegisterContext contextFor(int document, const QString& ownIco = "12345678") {
        return {db(), settings, "11", ownIco, false,
                query(QStringLiteral("select * from dl where cislodokla = %1").arg(document)), 0};
    }

    invoicing::InvoiceRequest requestFor(int document, const QDate& issued, const QString& ownIco = "12345678") {
        const db::ResultSet header = query(invoicing::documentHeaderSql(QString::number(document)));
        invoicing::InvoiceRequest r;
        r.workstation = settings.workstation;
        r.documentText = QString::number(document);
        r.document = invoicing::DocumentHeader::fromRow(header, 0);
        r.plneni = r.document.datum;
        r.vystaveni = issued;
        r.splatnost = issued.addDays(14);
        r.uhrada = QStringLiteral("Převodním příkazem");
        r.ownIco = ownIco;
        r.settingsPath = iniPath();
        return r;
    }

    db::ResultSet invoice(qint64 number) {
        return query(QStringLiteral("select * from fakt where cfakt = %1 order by id").arg(number));
    }
    QString invoiceMark(int document) {
        return query(QStringLiteral("select cislofakt from dl where cislodokla = %1").arg(document)).text(0, 0);
    }
    int count(const char* sql) { return int(query(QLatin1String(sql)).integer(0, 0)); }

    QTemporaryDir dir;
    QString previousDir;
    common::StartupSettings settings;
    ScriptedPrompter prompter;
};

} // namespace dorvik::test
