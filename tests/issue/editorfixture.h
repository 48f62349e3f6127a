#pragma once

#include "common/registercontext.h"
#include "common/startupsettings.h"
#include "issue/tfvydej.h"
#include "pickers/tfnabadres.h"
#include "pickers/tfnabzakaz.h"
#include "pickers/tfnabzbozi.h"
#include "support/dbfixture.h"
#include "support/scriptedprompter.h"
#include "support/typing.h"

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <memory>

namespace dorvik::test {

// The editor on workstation 01, cost centre 1, against a small shop: goods with fast
// numbers and EANs, partners of both kinds, an open accounting period.
class EditorTest : public DbTest {
protected:
    void SetUp() override {
        DbTest::SetUp();
        resetTables({"dl", "dlrad", "dlterm", "seznam", "seznamean", "adresar", "velmo", "prirad", "zakazky"});
        exec("INSERT INTO velmo (id, uzavreneuo) VALUES (1, '')");
        exec("INSERT INTO seznam (STREDISKO, JKPOV, NAZEV, POVAHA, MJ, PC, DPH, NC, EAN, FOFRCISLO, ZUSTATEK, AKTIVNI, POPIS)"
             " VALUES ('1', 'HREBIK', 'Hřebík 40', '', 'ks', 10, 21, 6, '8594001234567', 7, 3, 'A', 'popis'),"
             " ('1', 'SROUB', 'Šroub M6', 'K', 'ks', 2.5, 21, 1, '12345670', 2345, 10, 'A', ''),"
             " ('1', 'NULOVY', 'Vyprodáno', '', 'ks', 1, 21, 1, '', 0, 0, 'A', ''),"
             " ('1', 'MINUS', 'Do mínusu', '', 'kg', 1, 15, 1, '', 0, -2, 'A', ''),"
             " ('1', 'STARY', 'Neaktivní', '', 'ks', 4, 10, 2, '8590000000019', 99, 5, 'N', ''),"
             " ('1', 'PRACE', 'Montáž', 'P', 'hod', 300, 21, 0, '', 0, 0, 'A', ''),"
             " ('1', 'BEZNC', 'Bez ceny', '', 'ks', 5, 21, 0, '', 0, 5, 'A', ''),"
             " ('1', 'XYZ12345', 'Kód jako EAN', '', 'ks', 1, 21, 1, '', 0, 5, 'A', ''),"
             " ('2', 'HREBIK', 'Jiné středisko', '', 'ks', 99, 21, 6, '8594001234567', 7, 3, 'A', '')");
        exec("INSERT INTO seznamean (STREDISKO, EAN, JKPOV) VALUES ('1', '8590000000026', 'STARY')");
        exec("INSERT INTO adresar (ICO, NAZEVPODNI, SIDLO, ULICECISLO, PSC, POSTA, KOD_PLATCE, SLEVA) VALUES"
             " ('12345678', 'Stavebniny s.r.o.', 'Brno', 'Dlouhá 1', '60200', 'Brno 2', 'CZ12345678', 8),"
             " ('87654321', 'Zahrady a.s.', 'Zlín', 'Krátká 2', '76001', 'Zlín', 'CZ87654321', 2.5),"
             " ('11223344', 'Bez slevy', 'Praha', '', '', '', '', 0),"
             " ('5', 'Dílna', 'Brno', '', '', '', '', 0)");
        settings.workstation = QStringLiteral("01");
    }

    std::unique_ptr<issue::TFvydej> openEditor(QChar mode = u'N', qint64 number = 0, bool internal = false,
                                               bool terminal = true) {
        return openEditorOn(db(), settings, mode, number, internal, terminal);
    }
    // The editor of another workstation: its own connection and workstation number.
    std::unique_ptr<issue::TFvydej> openEditorOn(db::Connection& connection, const common::StartupSettings& workstation,
                                                 QChar mode, qint64 number, bool internal = false, bool terminal = true) {
        common::RegisterContext context{connection, workstation, QStringLiteral("1"), ownIco, false, {}, -1};
        auto w = std::make_unique<issue::TFvydej>(context, mode, number, internal, terminal,
                                                  issue::EditorPickers{goods, addresses, orders});
        w->show();
        QApplication::setActiveWindow(w.get());
        EXPECT_TRUE(QTest::qWaitForWindowActive(w.get()));
        return w;
    }

    template <typename T = QLineEdit>
    static T* child(QWidget* w, const char* name) {
        T* c = w->findChild<T*>(QLatin1String(name));
        EXPECT_NE(c, nullptr) << name;
        return c;
    }
    static QString text(QWidget* w, const char* name) { return child(w, name)->text(); }
    static void press(QWidget* w, const char* name) { child<QPushButton>(w, name)->click(); }
    static void type(QWidget* field, const QString& text) { typeText(field, text); }
    // Types into the focused field and leaves it with Enter, as a scanner does.
    static void scan(QWidget* w, const QString& code) {
        QWidget* field = QApplication::focusWidget();
        type(field, code);
        QTest::keyClick(field, Qt::Key_Return);
        Q_UNUSED(w);
    }
    // Adds a line by its code with a quantity; the quantity is left with Enter.
    void addLine(QWidget* w, const QString& code, const QString& quantity) {
        press(w, "Button2");
        scan(w, code);
        QLineEdit* q = child(w, "DBEdit4");
        q->selectAll();
        QTest::keyClicks(q, quantity);
        QTest::keyClick(q, Qt::Key_Return, Qt::ControlModifier);
    }
    int count(const QString& sql) { return int(query(sql).integer(0, 0)); }

    common::StartupSettings settings;
    QString ownIco = QStringLiteral("11111111");
    pickers::TFnabzbozi goods{db()};
    pickers::TFnabadres addresses{db()};
    pickers::TFnabzakaz orders{db()};
    ScriptedPrompter prompter;
};

} // namespace dorvik::test
