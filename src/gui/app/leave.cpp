#include "gui/app/leave.h"

#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPointer>
#include <vector>

namespace vemora::gui {

namespace {

const char* kLeaveChecks = "vemoraLeaveChecks";
const char* kCancels = "vemoraCancels";
const char* kRefusals = "vemoraRefusalsPending";

// A focus change caused by another window (a message box, a menu, a list popping up) does
// not leave the box: the user comes back to it.
bool leavesTheBox(Qt::FocusReason reason) {
    return reason != Qt::PopupFocusReason && reason != Qt::ActiveWindowFocusReason;
}

class LeaveChecks : public QObject {
public:
    explicit LeaveChecks(QWidget* box) : QObject(box) {}
    void add(std::function<bool()> check) { checks_.push_back(std::move(check)); }
    bool run() const {
        // A copy: a check may add checks (a form built on the fly) while it runs.
        auto checks = checks_;
        for (const auto& c : checks)
            if (!c()) return false;
        return true;
    }

protected:
    bool eventFilter(QObject*, QEvent* ev) override {
        if (ev->type() != QEvent::FocusOut || !leavesTheBox(static_cast<QFocusEvent*>(ev)->reason())) return false;
        // The application already names the control that receives the focus.
        QWidget* to = QApplication::focusWidget();
        if (to && to->property(kCancels).toBool()) return false;
        run();
        return false;
    }

private:
    std::vector<std::function<bool()>> checks_;
};

LeaveChecks* checksOf(QWidget* w) {
    return w ? static_cast<LeaveChecks*>(w->property(kLeaveChecks).value<QObject*>()) : nullptr;
}

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

void onLeave(QWidget* box, std::function<bool()> check) {
    LeaveChecks* checks = checksOf(box);
    if (!checks) {
        checks = new LeaveChecks(box);
        box->setProperty(kLeaveChecks, QVariant::fromValue<QObject*>(checks));
        box->installEventFilter(checks);
    }
    checks->add(std::move(check));
}

bool leaveFocusedBox(QWidget* form) {
    QWidget* w = form->focusWidget();
    // An inner widget (a combo box's line edit, a grid's cell editor) belongs to the box around it.
    for (; w && w != form; w = w->parentWidget())
        if (LeaveChecks* checks = checksOf(w)) return checks->run();
    return true;
}

bool refusalPending(QWidget* window) { return window->property(kRefusals).toInt() > 0; }

void markCancels(QAbstractButton* button) { button->setProperty(kCancels, true); }

void sendEnter(QWidget* box) {
    QPointer<QWidget> p(box);
    QMetaObject::invokeMethod(
        box,
        [p] {
            // The user may have moved on by other means meanwhile.
            if (!p || !p->hasFocus()) return;
            QKeyEvent enter(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);
            QApplication::sendEvent(p, &enter);
        },
        Qt::QueuedConnection);
}

void focusBack(QWidget* box) {
    QWidget* window = box->window();
    window->setProperty(kRefusals, window->property(kRefusals).toInt() + 1);
    QPointer<QWidget> p(box);
    // Taking the focus back inside the focus change that is still running would hand the
    // next control a stray focus-out; once that change is done it is safe.
    QMetaObject::invokeMethod(
        window,
        [window, p] {
            window->setProperty(kRefusals, std::max(0, window->property(kRefusals).toInt() - 1));
            if (p) p->setFocus(Qt::OtherFocusReason);
        },
        Qt::QueuedConnection);
}

void filterKeys(QWidget* box, std::function<bool(QWidget*, const QString&)> accept) {
    // An editable combo box holds the focus and hands the keys to its line edit itself.
    box->installEventFilter(new KeyFilter(box, std::move(accept)));
}

void codeComboBox(QComboBox* box, std::function<bool(const QString&)> full, std::function<bool()> check) {
    QObject::connect(box->lineEdit(), &QLineEdit::textEdited, box, [box, full](const QString& t) {
        if (full(t) && box->hasFocus()) sendEnter(box);
    });
    onLeave(box, check);
    QObject::connect(box, &QComboBox::activated, box, [check] { check(); });
}

}  // namespace vemora::gui
