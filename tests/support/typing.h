#pragma once

#include <QString>
#include <QTest>
#include <QWidget>

namespace dorvik::test {

// Key presses of the text, also of characters a US keyboard does not have.
inline void typeText(QWidget* field, const QString& text) {
    for (QChar ch : text) {
        if (ch.unicode() < 128) {
            QTest::keyClick(field, ch.toLatin1());
        } else {
            QTest::sendKeyEvent(QTest::Press, field, Qt::Key_unknown, QString(ch), Qt::NoModifier);
            QTest::sendKeyEvent(QTest::Release, field, Qt::Key_unknown, QString(ch), Qt::NoModifier);
        }
    }
}

} // namespace dorvik::test
