#include "gui/app/behaviours.h"

#include "gui/app/leave.h"

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QKeyEvent>
#include <QKeySequence>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPlainTextEdit>
#include <QPointer>
#include <QRadioButton>
#include <QRegularExpressionValidator>
#include <QTableView>
#include <QTextEdit>
#include <QTimer>

namespace vemora::gui {

namespace {

const char* kTextAtFocus = "vemoraTextAtFocus";

bool isEnter(QKeyEvent* k) {
    return (k->key() == Qt::Key_Return || k->key() == Qt::Key_Enter) &&
           (k->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier;
}

QAbstractItemView* enclosingGrid(QWidget* w) {
    for (QWidget* p = w; p; p = p->parentWidget())
        if (auto* v = qobject_cast<QAbstractItemView*>(p)) return v;
    return nullptr;
}

// Installed on the form and on each of its descendants: the form sees the key first, as
// with the form-level key preview the forms were designed around.
class EnterFilter : public QObject {
public:
    explicit EnterFilter(QWidget* form) : QObject(form), form_(form) {}

    void cover(QWidget* w) {
        w->installEventFilter(this);
        for (QWidget* c : w->findChildren<QWidget*>()) c->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject* obj, QEvent* ev) override {
        if (ev->type() == QEvent::ChildAdded) {
            QObject* child = static_cast<QChildEvent*>(ev)->child();
            // The filter goes on at once, so an Enter in the same turn (a grid's cell editor
            // opening) is seen; the child's own children announce themselves the same way.
            child->installEventFilter(this);
            if (auto* c = qobject_cast<QWidget*>(child)) {
                QPointer<QWidget> pc(c);
                // A widget built elsewhere and moved in brings its children along.
                QTimer::singleShot(0, this, [this, pc] {
                    if (pc) cover(pc);
                });
            }
            return false;
        }
        if (ev->type() != QEvent::KeyPress) return false;
        auto* k = static_cast<QKeyEvent*>(ev);
        if (!isEnter(k)) return false;
        QWidget* focus = QApplication::focusWidget();
        if (!focus || obj != focus) return false;  // act once, for the widget that has the key
        if (auto* grid = enclosingGrid(focus)) {
            GridEnterKey(grid);
            return true;
        }
        if (qobject_cast<QAbstractButton*>(focus) && !qobject_cast<QCheckBox*>(focus) &&
            !qobject_cast<QRadioButton*>(focus)) {
            static_cast<QAbstractButton*>(focus)->animateClick();
            return true;
        }
        if (auto* combo = qobject_cast<QComboBox*>(focus->parentWidget() ? focus->parentWidget() : focus))
            if (combo->view() && combo->view()->isVisible()) return false;
        QKeyEvent tab(QEvent::KeyPress, Qt::Key_Tab, Qt::NoModifier);
        if (qobject_cast<QPlainTextEdit*>(focus) || qobject_cast<QTextEdit*>(focus)) {
            focus->nextInFocusChain()->setFocus(Qt::TabFocusReason);
            return true;
        }
        QApplication::sendEvent(focus, &tab);
        return true;
    }

private:
    QWidget* form_;
};

}  // namespace

namespace {

// Installed on the form and its descendants. Qt sees a button's access key and the same key
// of the main window's menu bar as one key for two shortcuts and presses neither; while the
// focus is inside the form, the form's button wins, as the user looking at it expects.
class AccessKeyFilter : public QObject {
public:
    explicit AccessKeyFilter(QWidget* form) : QObject(form), form_(form) { cover(form); }

protected:
    bool eventFilter(QObject* obj, QEvent* ev) override {
        if (ev->type() == QEvent::ChildAdded) {
            if (auto* c = qobject_cast<QWidget*>(static_cast<QChildEvent*>(ev)->child())) cover(c);
            return false;
        }
        if (ev->type() != QEvent::ShortcutOverride && ev->type() != QEvent::KeyPress) return false;
        if (obj != QApplication::focusWidget()) return false;
        auto* k = static_cast<QKeyEvent*>(ev);
        if ((k->modifiers() & ~Qt::KeypadModifier) != Qt::AltModifier) return false;
        QAbstractButton* button = buttonFor(k->key());
        if (!button) return false;
        // Accepting the override keeps the key from the shortcuts; the key press that follows
        // presses the button.
        ev->accept();
        if (ev->type() == QEvent::KeyPress) {
            button->setFocus(Qt::ShortcutFocusReason);
            button->click();
        }
        return true;
    }

private:
    void cover(QWidget* w) {
        w->installEventFilter(this);
        for (QWidget* c : w->findChildren<QWidget*>()) c->installEventFilter(this);
    }
    QAbstractButton* buttonFor(int key) const {
        const QKeySequence pressed(QKeyCombination(Qt::AltModifier, static_cast<Qt::Key>(key)));
        for (QAbstractButton* b : form_->findChildren<QAbstractButton*>())
            if (b->isVisible() && b->isEnabled() && QKeySequence::mnemonic(b->text()) == pressed) return b;
        return nullptr;
    }
    QWidget* form_;
};

}  // namespace

void OwnAccessKeysFirst(QWidget* form) {
    if (form->property("vemoraOwnAccessKeys").toBool()) return;
    form->setProperty("vemoraOwnAccessKeys", true);
    new AccessKeyFilter(form);
}

void EnterAsTab(QWidget* form) {
    if (form->property("vemoraEnterAsTab").toBool()) return;
    form->setProperty("vemoraEnterAsTab", true);
    auto* f = new EnterFilter(form);
    f->cover(form);
}

void GridEnterKey(QAbstractItemView* grid) {
    auto* model = grid->model();
    if (!model) return;
    QModelIndex cur = grid->currentIndex();
    QModelIndex parent = cur.parent();
    int cols = model->columnCount(parent);
    if (cols == 0) return;
    int row = cur.isValid() ? cur.row() : 0;
    int col = cur.isValid() ? cur.column() : -1;
    bool wrapped = false;
    for (int tries = 0; tries <= cols; ++tries) {
        if (++col >= cols) {
            col = 0;
            wrapped = true;
        }
        auto* table = qobject_cast<QTableView*>(grid);
        if (!table || !table->isColumnHidden(col)) break;
    }
    // Moving the current cell commits an open editor, as the data control saved the cell.
    grid->setCurrentIndex(model->index(row, col, parent));
    if (wrapped) {
        // The row is written, then the next row (a model that offers a new row at its end
        // provides one) becomes current.
        model->submit();
        if (row + 1 < model->rowCount(parent)) grid->setCurrentIndex(model->index(row + 1, col, parent));
    }
    grid->setFocus();
}

void SelectAllText(QWidget* box) {
    if (auto* le = qobject_cast<QLineEdit*>(box)) le->selectAll();
    else if (auto* cb = qobject_cast<QComboBox*>(box); cb && cb->lineEdit()) cb->lineEdit()->selectAll();
}

static QString currentText(QWidget* box) {
    if (auto* le = qobject_cast<QLineEdit*>(box)) return le->text();
    if (auto* cb = qobject_cast<QComboBox*>(box)) return cb->currentText();
    if (auto* pe = qobject_cast<QPlainTextEdit*>(box)) return pe->toPlainText();
    return {};
}

QString textAtFocus(QWidget* box) { return box->property(kTextAtFocus).toString(); }
void setTextAtFocus(QWidget* box, const QString& text) { box->setProperty(kTextAtFocus, text); }

namespace {
class FocusFilter : public QObject {
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject* obj, QEvent* ev) override {
        if (ev->type() == QEvent::FocusIn) {
            auto* w = static_cast<QWidget*>(obj);
            QWidget* owner = w;
            if (auto* cb = qobject_cast<QComboBox*>(w->parentWidget())) owner = cb;
            setTextAtFocus(owner, currentText(owner));
            QPointer<QWidget> p(owner);
            // After a mouse click Qt places the cursor; selecting on the next turn wins.
            QTimer::singleShot(0, owner, [p] {
                if (p && p->hasFocus()) SelectAllText(p);
                else if (p) {
                    if (auto* cb = qobject_cast<QComboBox*>(p.data()); cb && cb->lineEdit() && cb->lineEdit()->hasFocus())
                        SelectAllText(p);
                }
            });
        }
        return false;
    }
};
}  // namespace

void SelectAllOnFocus(QWidget* box) {
    auto* f = new FocusFilter(box);
    box->installEventFilter(f);
    if (auto* cb = qobject_cast<QComboBox*>(box); cb && cb->lineEdit()) cb->lineEdit()->installEventFilter(f);
}

void DigitsOnly(QLineEdit* box, const QString& extra) {
    QString set = "0-9" + QRegularExpression::escape(extra);
    box->setValidator(new QRegularExpressionValidator(QRegularExpression("[" + set + "]*"), box));
}

void MovesOnWhenFull(QLineEdit* box) {
    QObject::connect(box, &QLineEdit::textEdited, box, [box](const QString& t) {
        if (box->maxLength() > 0 && t.size() >= box->maxLength() && box->hasFocus()) {
            sendEnter(box);
            if (box->hasFocus()) {
                // A form without the Enter behaviour still moves on.
                QKeyEvent tab(QEvent::KeyPress, Qt::Key_Tab, Qt::NoModifier);
                QApplication::sendEvent(box, &tab);
            }
        }
    });
}

void ZeroPadOnLeave(QLineEdit* box, int width) {
    QObject::connect(box, &QLineEdit::editingFinished, box, [box, width] {
        QString t = box->text();
        if (!t.isEmpty() && t.size() < width) box->setText(t.rightJustified(width, '0'));
    });
}

void LoadControlFromField(QWidget* control, const Value& field) {
    if (auto* cb = qobject_cast<QCheckBox*>(control)) {
        cb->setChecked(field.toBool());
        return;
    }
    QString text = field.isNull() ? QString() : QString::fromStdString(field.toText());
    if (auto* le = qobject_cast<QLineEdit*>(control)) le->setText(text);
    else if (auto* combo = qobject_cast<QComboBox*>(control)) {
        int i = combo->findText(text);
        if (combo->isEditable()) combo->setEditText(text);
        else combo->setCurrentIndex(i);
    } else if (auto* pe = qobject_cast<QPlainTextEdit*>(control)) pe->setPlainText(text);
}

Value SaveControlToField(QWidget* control) {
    if (auto* cb = qobject_cast<QCheckBox*>(control)) return Value(cb->isChecked() ? 1 : 0);
    QString text = currentText(control);
    if (text.isEmpty()) return Value();
    return Value(text.toStdString());
}

QWidget* findLoadedForm(const QString& objectName) {
    for (QWidget* top : QApplication::topLevelWidgets()) {
        if (top->objectName() == objectName && top->isVisible()) return top;
        if (auto* mdi = top->findChild<QMdiArea*>()) {
            for (QMdiSubWindow* sw : mdi->subWindowList())
                if (sw->widget() && sw->widget()->objectName() == objectName) return sw->widget();
        }
    }
    return nullptr;
}

bool IsFormLoaded(const QString& objectName) { return findLoadedForm(objectName) != nullptr; }

void FillMainWindow(QWidget* form) {
    auto* sub = qobject_cast<QMdiSubWindow*>(form->parentWidget());
    if (!sub || !sub->mdiArea()) return;
    QSize area = sub->mdiArea()->viewport()->size();
    sub->setGeometry(0, 0, area.width(), area.height());
}

}  // namespace vemora::gui
