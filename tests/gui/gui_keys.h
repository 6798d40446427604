#pragma once
// Driving forms with keys and clicks as a user does: every key goes to the control that has
// the focus at that moment, and the work the forms leave for the next turn of the event loop
// (a focus taken back after a refused entry, the move on after a box was typed full) runs
// before the next key, without waiting for any time to pass.
#include <QApplication>
#include <QTest>
#include <QWidget>

namespace vemora::test {

inline void settle() {
    for (int i = 0; i < 4; ++i) {
        QCoreApplication::sendPostedEvents();
        QApplication::processEvents();
    }
}

inline void showActive(QWidget* w) {
    w->show();
    QApplication::setActiveWindow(w);
    (void)QTest::qWaitForWindowActive(w);
    settle();
}

inline QWidget* focused() { return QApplication::focusWidget(); }
// Where a key goes: the focused control, or the active window when no control has the focus.
inline QWidget* keyTarget() { return focused() ? focused() : QApplication::activeWindow(); }

// Each character as a key typed into the focused control.
inline void typeKeys(const QString& text) {
    for (QChar c : text) {
        QTest::keyClicks(keyTarget(), QString(c));
        settle();
    }
}

inline void press(Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
    QTest::keyClick(keyTarget(), key, modifiers);
    settle();
}

// A click in the middle of a control (a box, a button).
inline void click(QWidget* w) {
    QTest::mouseClick(w, Qt::LeftButton, Qt::NoModifier, w->rect().center());
    settle();
}

// Clicks into a box and types over its whole text.
inline void typeOver(QWidget* box, const QString& text) {
    click(box);
    QTest::keyClick(focused(), Qt::Key_A, Qt::ControlModifier);
    if (text.isEmpty()) press(Qt::Key_Backspace);
    else typeKeys(text);
}

// Another window takes the focus and gives it back, as a message box does.
inline void messageBoxComesAndGoes(QWidget* window) {
    QWidget other;
    other.show();
    QApplication::setActiveWindow(&other);
    (void)QTest::qWaitForWindowActive(&other);
    settle();
    other.hide();
    QApplication::setActiveWindow(window);
    (void)QTest::qWaitForWindowActive(window);
    settle();
}

}  // namespace vemora::test
