#include "common/columnsearchdialog.h"
#include "common/gridroles.h"

#include <QLineEdit>
#include <QListView>
#include <QPushButton>
#include <QStandardItemModel>
#include <QTableView>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

#include <functional>
#include <vector>

using dorvik::common::ColumnSearchDialog;

namespace {

class ColumnSearchTest : public ::testing::Test {
protected:
    void SetUp() override {
        model.setColumnCount(2);
        model.setHeaderData(0, Qt::Horizontal, "NAZEVPODNI", dorvik::common::FieldNameRole);
        model.setHeaderData(1, Qt::Horizontal, "ICO", dorvik::common::FieldNameRole);
        model.setHeaderData(1, Qt::Horizontal, true, dorvik::common::NumericColumnRole);
        const char* names[] = {"Novák", "Dvořák", "Kovanov", "Nováková"};
        for (int i = 0; i < 4; ++i)
            model.appendRow({new QStandardItem(QString::fromUtf8(names[i])), new QStandardItem(QString::number(100 + i))});
        view.setModel(&model);
        model.sort(0);
        view.setCurrentIndex(model.index(0, 0)); // Dvořák
    }
    QString currentName() const { return view.currentIndex().siblingAtColumn(0).data().toString(); }

    QStandardItemModel model;
    QTableView view;
};

TEST_F(ColumnSearchTest, TypingFiltersInUpperCaseAndTheListFollows) {
    ColumnSearchDialog dialog(&view);
    dialog.setColumn(0);
    dialog.show();
    auto* edit = dialog.findChild<QLineEdit*>("EditHledat");
    QTest::keyClicks(edit, QString::fromUtf8("nov°"));
    EXPECT_EQ(edit->text(), "nov");
    EXPECT_EQ(dialog.shownValues(), QStringList({"Kovanov", QString::fromUtf8("Novák"), QString::fromUtf8("Nováková")}));
    EXPECT_EQ(currentName(), "Kovanov");
    QTest::keyClick(edit, Qt::Key_Down);
    EXPECT_EQ(currentName(), QString::fromUtf8("Novák"));
    QTest::keyClick(edit, Qt::Key_PageDown);
    EXPECT_EQ(currentName(), QString::fromUtf8("Nováková"));
    edit->clear();
    EXPECT_EQ(dialog.shownValues().size(), 4);
}

TEST_F(ColumnSearchTest, LeavingWithoutTakingReturnsToTheRowThatWasCurrent) {
    // "storno", Esc and the close box all leave without taking.
    const std::vector<std::function<void(ColumnSearchDialog&)>> leaves = {
        [](ColumnSearchDialog& d) { d.findChild<QPushButton*>("ButtonStorno")->click(); },
        [](ColumnSearchDialog& d) { QTest::keyClick(d.findChild<QLineEdit*>("EditHledat"), Qt::Key_Escape); },
        [](ColumnSearchDialog& d) { d.close(); },
    };
    for (size_t i = 0; i < leaves.size(); ++i) {
        SCOPED_TRACE(i);
        view.setCurrentIndex(model.index(0, 0));
        ColumnSearchDialog dialog(&view);
        dialog.show();
        QTest::keyClicks(dialog.findChild<QLineEdit*>("EditHledat"), "kova");
        EXPECT_EQ(currentName(), "Kovanov");
        leaves[i](dialog);
        EXPECT_FALSE(dialog.isVisible());
        EXPECT_EQ(currentName(), QString::fromUtf8("Dvořák"));
    }
}

TEST_F(ColumnSearchTest, OpensWithTheFocusInCoHledat) {
    ColumnSearchDialog dialog(&view);
    dialog.show();
    QApplication::setActiveWindow(&dialog);
    auto* edit = dialog.findChild<QLineEdit*>("EditHledat");
    EXPECT_EQ(dialog.focusWidget(), edit);
    QTest::keyClick(edit, Qt::Key_Backtab);
    EXPECT_EQ(dialog.focusWidget()->objectName(), "ComboBoxPole");
}

TEST_F(ColumnSearchTest, NumericColumnRefusesLetters) {
    ColumnSearchDialog dialog(&view);
    dialog.setColumn(1);
    dialog.show();
    auto* edit = dialog.findChild<QLineEdit*>("EditHledat");
    QTest::keyClicks(edit, "1x0-2");
    EXPECT_EQ(edit->text(), "10-2");
}

TEST_F(ColumnSearchTest, TitleClickSortsThenTakesTheChosenRow) {
    model.sort(0, Qt::DescendingOrder);
    QTimer::singleShot(0, [] {
        auto* dialog = qobject_cast<ColumnSearchDialog*>(QApplication::activeModalWidget());
        ASSERT_NE(dialog, nullptr);
        EXPECT_EQ(dialog->windowTitle(), "Hledat");
        EXPECT_EQ(dialog->pos(), QPoint(600, 200));
        auto* edit = dialog->findChild<QLineEdit*>("EditHledat");
        QTest::keyClicks(edit, "103");
        QTest::keyClick(edit, Qt::Key_Return);
    });
    EXPECT_TRUE(ColumnSearchDialog::searchColumn(&view, 1, QPoint(600, 200)));
    EXPECT_EQ(model.index(0, 1).data().toString(), "100"); // sorted ascending by the clicked column
    EXPECT_EQ(currentName(), QString::fromUtf8("Nováková"));
}

} // namespace
