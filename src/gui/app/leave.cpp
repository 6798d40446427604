#include "gui/app/leave.h"

#include <QApplication>
#include <QComboBox>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPointer>
#include <QTimer>

namespace vemora::gui {

namespace {

class LeaveFilter : public QObject {
public:
    LeaveFilter(QObject* parent, std::function<void()> check) : QObject(parent), check_(std::move(check)) {}

protected:
    bool eventFilter(QObject*, QEvent* ev) override {
        if (ev->type() != QEvent::FocusOut) return false;
        auto reason = static_cast<QFocusEvent*>(ev)->reason();
        if (reason == Qt::PopupFocusReason || reason == Qt::ActiveWindowFocusReason) return false;
        check_();
        return false;
    }

private:
    std::function<void()> check_;
};

class KeyFilter : public QObject {
public:
    KeyFilter(QWidget* box, std::function<bool(QWidget*, const QString&)> accept)
        : QObject(box), box_(box), accept_(std::move(accept)) {}

protected:
    bool eventFilter(QObject*, QEvent* ev) override {
        if (ev->type() != QEvent::KeyPress) return false;
        auto* k = static_cast<QKeyEvent*>(ev);
        QString t = k->text();
        if (t.isEmpty() || !t.at(0).isPrint() || (k->modifiers() & (Qt::ControlModifier | Qt::AltModifier))) return false;
        return !accept_(box_, t);
    }

private:
    QWidget* box_;
    std::function<bool(QWidget*, const QString&)> accept_;
};

}  // namespace

void onLeave(QWidget* box, std::function<void()> check) { box->installEventFilter(new LeaveFilter(box, std::move(check))); }

void sendEnter(QWidget* box) {
    QKeyEvent enter(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);
    QApplication::sendEvent(box, &enter);
}

void focusBack(QWidget* box) {
    QPointer<QWidget> p(box);
    // Taking the focus back inside the focus change that is still running would hand the
    // next control a stray focus-out; the next turn of the event loop is safe.
    QTimer::singleShot(0, box, [p] {
        if (p) p->setFocus(Qt::OtherFocusReason);
    });
}

void filterKeys(QWidget* box, std::function<bool(QWidget*, const QString&)> accept) {
    // An editable combo box holds the focus and hands the keys to its line edit itself.
    box->installEventFilter(new KeyFilter(box, std::move(accept)));
}

void codeComboBox(QComboBox* box, std::function<bool(const QString&)> full, std::function<void()> check) {
    QObject::connect(box->lineEdit(), &QLineEdit::textEdited, box, [box, full](const QString& t) {
        if (full(t) && box->hasFocus()) sendEnter(box);
    });
    onLeave(box, check);
    QObject::connect(box, &QComboBox::activated, box, [check] { check(); });
}

}  // namespace vemora::gui
