#include "gui/app/behaviours.h"

#include "gui/app/editgrid.h"
#include "gui/app/leave.h"

#include <QAbstractButton>
#include <QAbstractItemDelegate>
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
#include <QStyle>
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

// The grid (a table, not a list or a folder tree) the widget is, or whose cell editor it is.
QAbstractItemView* enclosingGrid(QWidget* w) {
    for (QWidget* p = w; p && !p->isWindow(); p = p->parentWidget())
        if (auto* v = qobject_cast<QTableView*>(p)) return v;
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
    const bool committed = commitCellEditor(grid);
    grid->setFocus();
    if (!committed) return;
    int row = cur.isValid() ? cur.row() : 0;
    int col = cur.isValid() ? cur.column() : -1;
    bool wrapped = false;
    auto* table = qobject_cast<QTableView*>(grid);
    for (int tries = 0; tries <= cols; ++tries) {
        if (++col >= cols) {
            col = 0;
            wrapped = true;
        }
        if (!table || !table->isColumnHidden(col)) break;
    }
    if (!cur.isValid()) wrapped = false;  // Enter on a grid with no current cell starts at its first
    if (wrapped) {
        // The row is written first; a row that cannot be written keeps the grid on it.
        if (!model->submit()) return;
        // A model that offers a new line at its end has one after the row just finished.
        if (row + 1 < model->rowCount(parent)) ++row;
    }
    grid->setCurrentIndex(model->index(row, col, parent));
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

const char* kInside = "vemoraFocusInside";

bool otherWindow(Qt::FocusReason reason) {
    return reason == Qt::ActiveWindowFocusReason || reason == Qt::PopupFocusReason;
}

class FocusFilter : public QObject {
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject* obj, QEvent* ev) override {
        if (ev->type() != QEvent::FocusIn && ev->type() != QEvent::FocusOut) return false;
        auto* w = static_cast<QWidget*>(obj);
        QWidget* owner = w;
        if (auto* cb = qobject_cast<QComboBox*>(w->parentWidget())) owner = cb;
        const auto reason = static_cast<QFocusEvent*>(ev)->reason();
        if (ev->type() == QEvent::FocusOut) {
            // A message box or a popup list takes the focus for a moment; the user is still
            // in the box.
            if (!otherWindow(reason)) owner->setProperty(kInside, false);
            return false;
        }
        // Coming back from a message box is not entering the box again: the text it had when
        // the user entered it is still the one to put back (a refused entry must not become
        // the text that counts as unchanged).
        if (otherWindow(reason) && owner->property(kInside).toBool()) return false;
        owner->setProperty(kInside, true);
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
        return false;
    }
};

}  // namespace

void SelectAllOnFocus(QWidget* box) {
    auto* f = new FocusFilter(box);
    box->installEventFilter(f);
    if (auto* cb = qobject_cast<QComboBox*>(box); cb && cb->lineEdit()) cb->lineEdit()->installEventFilter(f);
}

QValidator* numberValidator(bool decimals, QObject* parent) {
    return new QRegularExpressionValidator(QRegularExpression(decimals ? "[0-9]*(,[0-9]*)?" : "[0-9]*"), parent);
}

void DigitsOnly(QLineEdit* box) { box->setValidator(numberValidator(false, box)); }
void DecimalOnly(QLineEdit* box) { box->setValidator(numberValidator(true, box)); }

void MovesOnWhenFull(QLineEdit* box) {
    QObject::connect(box, &QLineEdit::textEdited, box, [box](const QString& t) {
        if (box->maxLength() <= 0 || t.size() < box->maxLength() || !box->hasFocus()) return;
        sendEnter(box);
        // A form without the Enter behaviour still moves on (after the Enter, which comes first).
        QPointer<QLineEdit> p(box);
        QMetaObject::invokeMethod(
            box,
            [p] {
                if (p && p->hasFocus()) {
                    QKeyEvent tab(QEvent::KeyPress, Qt::Key_Tab, Qt::NoModifier);
                    QApplication::sendEvent(p, &tab);
                }
            },
            Qt::QueuedConnection);
    });
}

void ZeroPadOnLeave(QLineEdit* box, int width) {
    onLeave(box, [box, width] {
        QString t = box->text();
        if (!t.isEmpty() && t.size() < width) box->setText(t.rightJustified(width, '0'));
        return true;
    });
}

void FitDropDown(QComboBox* box) {
    if (box->property("vemoraFitsDropDown").toBool()) return;
    box->setProperty("vemoraFitsDropDown", true);
    auto fit = [box] {
        QAbstractItemView* list = box->view();
        int widest = 0;
        for (int i = 0; i < box->count(); ++i)
            widest = std::max(widest, list->sizeHintForIndex(box->model()->index(i, box->modelColumn())).width());
        // Room for the list's frame and a scroll bar, which a long list shows.
        widest += 2 * list->frameWidth() + list->style()->pixelMetric(QStyle::PM_ScrollBarExtent) + 8;
        list->setMinimumWidth(widest);
    };
    QAbstractItemModel* m = box->model();
    for (auto signal : {&QAbstractItemModel::rowsInserted, &QAbstractItemModel::rowsRemoved})
        QObject::connect(m, signal, box, fit);
    QObject::connect(m, &QAbstractItemModel::modelReset, box, fit);
    QObject::connect(m, &QAbstractItemModel::dataChanged, box, fit);
    fit();
}

void FitDropDowns(QWidget* form) {
    for (QComboBox* c : form->findChildren<QComboBox*>()) FitDropDown(c);
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
