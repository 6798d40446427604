#pragma once
// Typing into the settings forms' boxes on the offscreen platform.
#include <QApplication>
#include <QLineEdit>
#include <QTest>
#include <QWidget>

#include "gui/gui_keys.h"

namespace vemora::test {

// Puts the focus in a box the way a user does, by clicking it, and types over its text.
inline void typeInto(QLineEdit* box, const QString& text) {
    QTest::mouseClick(box, Qt::LeftButton);
    box->setFocus(Qt::MouseFocusReason);
    settle();
    QTest::keyClick(box, Qt::Key_A, Qt::ControlModifier);
    if (text.isEmpty()) QTest::keyClick(box, Qt::Key_Backspace);
    else QTest::keyClicks(box, text);
}

// Leaves the box with Enter, which the forms turn into a move to the next field.
inline void leave(QWidget* box) {
    QTest::keyClick(box, Qt::Key_Return);
    settle();
}

}  // namespace vemora::test
