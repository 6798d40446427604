#include "gui/app/form.h"

#include <QAbstractButton>
#include <QCloseEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QShowEvent>
#include <QTabBar>
#include <QTabWidget>
#include <QVBoxLayout>

#include "core/base/text.h"
#include "gui/app/behaviours.h"
#include "gui/app/leave.h"

namespace vemora::gui {

void FieldBindings::bind(QWidget* control, std::string field) { items_.emplace_back(control, std::move(field)); }

void FieldBindings::load(const Record& record) const {
    for (const auto& [control, field] : items_) {
        auto it = record.find(field);
        if (it != record.end()) LoadControlFromField(control, it->second);
    }
}

Record FieldBindings::save() const {
    Record r;
    for (const auto& [control, field] : items_) r[field] = SaveControlToField(control);
    return r;
}

QWidget* FieldBindings::control(std::string_view field) const {
    for (const auto& [control, f] : items_)
        if (iequals(f, field)) return control;
    return nullptr;
}

void FormBase::activate() {
    if (activated_) return;
    activated_ = true;
    Form_Activate();
}

bool FormBase::tryClose(bool checkFields) {
    if (!checkFields) return true;
    QWidget* self = dynamic_cast<QWidget*>(this);
    if (self) {
        // A box refused an entry as the focus left it (a click on a closing button moves the
        // focus first); the focus is on its way back and the form stays.
        if (refusalPending(self->window())) return false;
        if (!leaveFocusedBox(self)) return false;
    }
    leaveFocusedField();
    return CanClose();
}

void FormBase::firstShown(QWidget* self) {
    if (shown_) return;
    shown_ = true;
    FitDropDowns(self);
    QWidget* field = firstField_;
    for (QWidget* w = self->nextInFocusChain(); !field && w && w != self; w = w->nextInFocusChain()) {
        if (!self->isAncestorOf(w) || !w->isEnabled() || w->isHidden() || !(w->focusPolicy() & Qt::TabFocus)) continue;
        // Buttons and the tabs of a tab widget are no fields.
        if (qobject_cast<QPushButton*>(w) || qobject_cast<QTabBar*>(w) || qobject_cast<QTabWidget*>(w) || w->focusProxy())
            continue;
        if (auto* e = qobject_cast<QLineEdit*>(w); e && e->isReadOnly()) continue;
        field = w;
    }
    if (field) field->setFocus(Qt::OtherFocusReason);
}

void FormBase::showField(QWidget* control) {
    for (QWidget* w = control; w; w = w->parentWidget()) {
        QWidget* page = w;
        // A tab widget's page sits in a stack inside the tab widget.
        if (auto* tabs = page->parentWidget() ? qobject_cast<QTabWidget*>(page->parentWidget()->parentWidget()) : nullptr) {
            int i = tabs->indexOf(page);
            if (i >= 0) tabs->setCurrentIndex(i);
        }
    }
    control->setFocus(Qt::OtherFocusReason);
}

void FormBase::refreshOn(std::vector<std::string> tables, std::function<void()> refresh) {
    subscriptions_.push_back(app_.observe([tables = std::move(tables), refresh = std::move(refresh)](const ChangeSet& c) {
        for (const auto& t : tables)
            if (c.touches(t)) {
                refresh();
                return;
            }
    }));
}

MdiForm::MdiForm(AppState& app, const char* objectName, const QString& caption, QWidget* parent)
    : QWidget(parent), FormBase(app) {
    setObjectName(objectName);
    setWindowTitle(caption);
}

void MdiForm::showEvent(QShowEvent* e) {
    QWidget::showEvent(e);
    activate();
    firstShown(this);
}

void MdiForm::closeEvent(QCloseEvent* e) {
    if (tryClose()) e->accept();
    else e->ignore();
}

DialogForm::DialogForm(AppState& app, const char* objectName, const QString& caption, QWidget* parent)
    : QDialog(parent), FormBase(app) {
    setObjectName(objectName);
    setWindowTitle(caption);
    setModal(true);
}

void DialogForm::showEvent(QShowEvent* e) {
    QDialog::showEvent(e);
    activate();
    firstShown(this);
}

void DialogForm::done(int result) {
    if (!tryClose(!(cancels_ && result == QDialog::Rejected))) return;
    afterClose();
    QDialog::done(result);
}

void DialogForm::setCancelButton(QAbstractButton* button) {
    cancels_ = true;
    markCancels(button);
    connect(button, &QAbstractButton::clicked, this, &QDialog::reject);
}

QPushButton* layOutTabsAndClose(QWidget* form, QTabWidget* tabs, const char* buttonName) {
    auto* close = new QPushButton("&Luk");
    close->setObjectName(buttonName);
    close->setAutoDefault(false);
    QObject::connect(close, &QPushButton::clicked, form, &QWidget::close);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(close);
    auto* layout = new QVBoxLayout(form);
    layout->addWidget(tabs);
    layout->addLayout(buttons);
    return close;
}

}  // namespace vemora::gui
