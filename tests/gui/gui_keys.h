#pragma once
// Driving forms with keys and clicks as a user does: every key goes to the control that has
// the focus at that moment, and the work the forms leave for the next turn of the event loop
// (a focus taken back after a refused entry, the move on after a box was typed full) runs
// before the next key, without waiting for any time to pass.
#include <gtest/gtest.h>

#include <QAbstractItemView>
#include <QApplication>
#include <QComboBox>
#include <QListWidget>
#include <QTabWidget>
#include <QTest>
#include <QTimer>
#include <QWidget>

#include <functional>
#include <string>

#include "core/base/ui.h"

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

// A double click on a row as a view sees it: a press first, then the second click.
inline void doubleClick(QAbstractItemView* view, const QModelIndex& index) {
    const QPoint at = view->visualRect(index).center();
    QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, at);
    QTest::mouseDClick(view->viewport(), Qt::LeftButton, {}, at);
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

// Runs the steps on the modal dialog once it is up and active, then closes it if the steps
// left it open, so the caller's exec() returns.
inline void onModal(std::function<void(QWidget*)> steps) {
    QTimer::singleShot(0, [steps] {
        QWidget* modal = QApplication::activeModalWidget();
        if (!modal) {
            ADD_FAILURE() << "no modal dialog came up";
            return;
        }
        showActive(modal);
        steps(modal);
        if (modal->isVisible()) modal->close();
    });
}

// What a drop-down list, a list or a row of tabs shows, entry by entry.
inline QStringList entries(const QComboBox* c) {
    QStringList out;
    for (int i = 0; i < c->count(); ++i) out << c->itemText(i);
    return out;
}
inline QStringList entries(const QListWidget* l) {
    QStringList out;
    for (int i = 0; i < l->count(); ++i) out << l->item(i)->text();
    return out;
}
inline QStringList entries(const QTabWidget* t) {
    QStringList out;
    for (int i = 0; i < t->count(); ++i) out << t->tabText(i);
    return out;
}

inline std::string lastMessage(const ScriptedUi& ui) {
    return ui.shown.empty() ? std::string() : ui.shown.back().title + ": " + ui.shown.back().text;
}

}  // namespace vemora::test
