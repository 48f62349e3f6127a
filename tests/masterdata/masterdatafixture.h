#pragma once

#include "common/gridmodel.h"
#include "masterdata/copyeditwindow.h"
#include "pickers/pickerfixture.h"
#include "pickers/tfnabadres.h"
#include "support/typing.h"

#include <QLineEdit>
#include <QPushButton>
#include <QTableView>
#include <QTest>

namespace dorvik::test {

inline const QString Workstation = QStringLiteral("97");

// A master-data window test: the window is shown (not modal) and driven by its controls.
class MasterDataTest : public PickerTest {
protected:
    void SetUp() override {
        PickerTest::SetUp();
        for (const char* suffix : {"adr", "zak", "zka"}) exec(QStringLiteral("DROP TABLE IF EXISTS tmp97%1").arg(QLatin1String(suffix)));
    }

    template <typename T = QLineEdit>
    static T* child(QWidget* w, const char* name) {
        T* c = w->findChild<T*>(QLatin1String(name));
        EXPECT_NE(c, nullptr) << name;
        return c;
    }
    static void press(QWidget* w, const char* name) { child<QPushButton>(w, name)->click(); }
    static void retype(QWidget* w, const char* name, const QString& text) {
        QLineEdit* field = child(w, name);
        field->selectAll();
        QTest::keyClick(field, Qt::Key_Delete);
        typeText(field, text);
    }
    static void doubleClickCurrent(QWidget* w) {
        auto* grid = child<QTableView>(w, "DBGrid1");
        emit grid->doubleClicked(grid->currentIndex());
    }
    static bool panelShown(QWidget* w) { return child<QWidget>(w, "Panel1")->isVisible(); }

    // Every column of the row, as text; empty when there is no such row.
    QStringList row(const QString& table, qint64 id) {
        const db::ResultSet r = query(QStringLiteral("select * from %1 where id = %2").arg(table).arg(id));
        QStringList out;
        for (int c = 0; r.rowCount() == 1 && c < r.columnCount(); ++c) out << (r.isNull(0, c) ? QStringLiteral("<NULL>") : r.text(0, c));
        return out;
    }
    qint64 count(const QString& sql) { return query(sql).integer(0, 0); }
    bool tableExists(const QString& name) { return query(QStringLiteral("SHOW TABLES LIKE '%1'").arg(name)).rowCount() == 1; }

    // Makes the list's row with this id current.
    static void select(masterdata::CopyEditWindow& w, qint64 id) { ASSERT_GE(w.list().locate("id", id), 0) << id; }

    // A master table that refuses every insert while the guard lives.
    struct RefusedInserts {
        RefusedInserts(MasterDataTest& t, const QString& table) : t_(t), table_(table) {
            t_.exec(QStringLiteral("CREATE TRIGGER refuse_%1 BEFORE INSERT ON %1 FOR EACH ROW "
                                   "SIGNAL SQLSTATE '45000' SET MESSAGE_TEXT = 'insert refused'").arg(table));
        }
        ~RefusedInserts() { t_.exec(QStringLiteral("DROP TRIGGER IF EXISTS refuse_%1").arg(table_)); }
        MasterDataTest& t_;
        QString table_;
    };

    pickers::TFnabadres addresses{db()};
};

} // namespace dorvik::test
