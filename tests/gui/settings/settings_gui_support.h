#pragma once
// Helpers for driving the settings forms on the offscreen platform.
#include <QApplication>
#include <QLineEdit>
#include <QTest>
#include <QWidget>

#include "core/base/ui.h"

namespace vemora::test {

// Lets the deferred work of the shared behaviours (select on focus, focus taken back) run:
// it is queued for the next turn of the event loop, which processing the events gives it.
inline void settle() {
    QApplication::processEvents();
    QApplication::processEvents();
}

inline void activate(QWidget* w) {
    w->show();
    QApplication::setActiveWindow(w);
    (void)QTest::qWaitForWindowActive(w);
    settle();
}

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

inline std::string lastMessage(const ScriptedUi& ui) {
    return ui.shown.empty() ? std::string() : ui.shown.back().title + ": " + ui.shown.back().text;
}

}  // namespace vemora::test
