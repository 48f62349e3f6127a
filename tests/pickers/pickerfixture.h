#pragma once

#include "common/gridmodel.h"
#include "support/dbfixture.h"
#include "support/scriptedprompter.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTimer>
#include <QWidget>
#include <functional>

namespace dorvik::test {

// A picker test: its own working directory (the windows leave a.txt there) and a prompter
// that answers the error display.
class PickerTest : public DbTest {
protected:
    void SetUp() override {
        DbTest::SetUp();
        ASSERT_TRUE(dir_.isValid());
        previousDir_ = QDir::currentPath();
        QDir::setCurrent(dir_.path());
    }
    void TearDown() override { QDir::setCurrent(previousDir_); }

    // Runs `inside` on the modal window that is about to open; closes it afterwards if
    // `inside` left it open, so a failed expectation cannot hang the test.
    static void whenModal(std::function<void(QWidget*)> inside) {
        QTimer::singleShot(0, [inside] {
            QWidget* w = QApplication::activeModalWidget();
            ASSERT_NE(w, nullptr);
            QApplication::setActiveWindow(w);
            inside(w);
            if (w->isVisible()) w->close();
        });
    }

    // The field's texts in the list's order.
    static QStringList listed(const common::GridModel& m, const QString& field) {
        QStringList out;
        for (int r = 0; r < m.rowCount(); ++r) out << m.result().text(m.sourceRow(r), field);
        return out;
    }
    static QString currentText(const common::GridModel& m, const QString& field) {
        return m.currentRow() < 0 ? QString() : m.result().text(m.sourceRow(m.currentRow()), field);
    }

    static QString trace() {
        QFile f(QStringLiteral("a.txt"));
        return f.open(QIODevice::ReadOnly) ? QString::fromLatin1(f.readAll()) : QString();
    }

    ScriptedPrompter prompter;

private:
    QTemporaryDir dir_;
    QString previousDir_;
};

} // namespace dorvik::test
