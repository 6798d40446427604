#include "gui/app/accesskeys.h"

#include <QAbstractButton>
#include <QApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QTabWidget>

namespace vemora::gui {

namespace {

bool hasKey(const QString& caption, int key) {
    return !caption.isEmpty() && QKeySequence::mnemonic(caption) == QKeySequence(Qt::ALT | key);
}

// Alt and a letter or digit, nothing else held: an access key.
int accessKeyOf(QEvent* ev) {
    auto* k = static_cast<QKeyEvent*>(ev);
    if ((k->modifiers() & ~Qt::KeypadModifier) != Qt::AltModifier) return 0;
    const int key = k->key();
    const bool letter = (key >= Qt::Key_A && key <= Qt::Key_Z) || (key >= Qt::Key_0 && key <= Qt::Key_9) ||
                        (key >= Qt::Key_Agrave && key <= Qt::Key_ydiaeresis);
    return letter ? key : 0;
}

bool usable(QWidget* w) { return w->isVisibleTo(w->window()) && w->isEnabled(); }

}  // namespace

bool triggerAccessKey(QWidget* form, int key, bool dryRun) {
    for (QWidget* w : form->findChildren<QWidget*>()) {
        if (!usable(w)) continue;
        if (auto* b = qobject_cast<QAbstractButton*>(w); b && hasKey(b->text(), key)) {
            if (!dryRun) {
                b->setFocus(Qt::ShortcutFocusReason);
                b->click();
            }
            return true;
        }
        if (auto* l = qobject_cast<QLabel*>(w); l && l->buddy() && usable(l->buddy()) && hasKey(l->text(), key)) {
            if (!dryRun) l->buddy()->setFocus(Qt::ShortcutFocusReason);
            return true;
        }
        if (auto* t = qobject_cast<QTabWidget*>(w)) {
            for (int i = 0; i < t->count(); ++i) {
                if (!t->isTabEnabled(i) || !hasKey(t->tabText(i), key)) continue;
                if (!dryRun) t->setCurrentIndex(i);
                return true;
            }
        }
    }
    return false;
}

ChildAccessKeys::ChildAccessKeys(QMdiArea* area) : QObject(area), area_(area) { qApp->installEventFilter(this); }

QWidget* ChildAccessKeys::activeChild() const {
    // Only while the main window is the active window (no dialog on top) and the focus is
    // inside its active child.
    if (QApplication::activeWindow() != area_->window()) return nullptr;
    QMdiSubWindow* sub = area_->activeSubWindow();
    QWidget* focus = QApplication::focusWidget();
    if (!sub || !sub->widget() || !focus || !sub->isAncestorOf(focus)) return nullptr;
    return sub->widget();
}

bool ChildAccessKeys::eventFilter(QObject*, QEvent* ev) {
    if (ev->type() != QEvent::ShortcutOverride && ev->type() != QEvent::KeyPress) return false;
    const int key = accessKeyOf(ev);
    if (!key) return false;
    QWidget* child = activeChild();
    if (!child || !triggerAccessKey(child, key, true)) return false;
    if (ev->type() == QEvent::ShortcutOverride) {
        // Accepting the override keeps the key from the shortcuts (the menu bar); it then
        // arrives as a key press, which is carried out below.
        ev->accept();
        return true;
    }
    triggerAccessKey(child, key);
    return true;
}

}  // namespace vemora::gui
