#include "gui/app/form.h"

#include <QCloseEvent>
#include <QShowEvent>

#include "core/base/text.h"
#include "gui/app/behaviours.h"

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

bool FormBase::tryClose() {
    leaveFocusedField();
    return CanClose();
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
}

void DialogForm::done(int result) {
    if (!tryClose()) return;
    afterClose();
    QDialog::done(result);
}

}  // namespace vemora::gui
