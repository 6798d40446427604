#pragma once
// The base of every form: the child windows of the main window (MdiForm) and the dialogs
// (DialogForm). It owns what each form used to write for itself: activation, the one way
// of closing (the box being left is checked and finished, then CanClose decides), the table
// of controls and the fields they show, refreshing when a commit changed the form's tables,
// and what every form does when it first shows (the focus in its first field, drop-down
// lists as wide as their entries).
#include <QDialog>
#include <QWidget>
#include <functional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "core/app/appstate.h"

class QAbstractButton;

class QPushButton;
class QTabWidget;

namespace vemora::gui {

// A form's controls and the fields they show, declared once (bind) and used both ways:
// load puts each field's value into its control and save reads every control back, by the
// rules of LoadControlFromField and SaveControlToField (Null shows empty, an empty box is
// stored as Null, a check box is 1/0).
class FieldBindings {
public:
    void bind(QWidget* control, std::string field);
    // Fields the record lacks leave their controls as they are.
    void load(const Record& record) const;
    Record save() const;
    QWidget* control(std::string_view field) const;  // nullptr when the field is not bound
    const std::vector<std::pair<QWidget*, std::string>>& items() const { return items_; }

private:
    std::vector<std::pair<QWidget*, std::string>> items_;
};

class FormBase {
public:
    AppState& app() const { return app_; }
    FieldBindings& bindings() { return bindings_; }
    const FieldBindings& bindings() const { return bindings_; }

    // Runs Form_Activate once: the first time the form is shown, or earlier when called.
    void activate();
    // Every way of closing a form ends here: the box that has the focus is checked as if it
    // were left (a refused entry shows its message and keeps the form open on the box), it is
    // finished (leaveFocusedField), then CanClose decides. False keeps the form open.
    // `checkFields` false is cancelling: nothing is checked or saved.
    bool tryClose(bool checkFields = true);

    // The control that has the focus when the form opens; without one, the first field in
    // the tab order (not a button) gets it.
    void setFirstField(QWidget* field) { firstField_ = field; }
    // Brings a control into view for the user: the pages of the tabs holding it are shown
    // and it gets the focus (after a failed save that names the field).
    static void showField(QWidget* control);

protected:
    explicit FormBase(AppState& app) : app_(app) {}
    virtual ~FormBase() = default;

    // Loads the form's record into its controls.
    virtual void Form_Activate() {}
    // Saves what must be saved; false (after its message) keeps the form open.
    virtual bool CanClose() { return true; }
    // Finishes the box that has the focus before the closing reads the boxes; the checks
    // given to onLeave have already run and accepted it.
    virtual void leaveFocusedField() {}
    // The first showing of the form: focus and drop-down lists.
    void firstShown(QWidget* self);

    // Calls refresh after each commit that wrote to one of the tables, whoever made it.
    void refreshOn(std::vector<std::string> tables, std::function<void()> refresh);

private:
    AppState& app_;
    FieldBindings bindings_;
    bool activated_ = false;
    bool shown_ = false;
    QWidget* firstField_ = nullptr;
    std::vector<Subscription> subscriptions_;
};

// A child window of the main window (a list form).
class MdiForm : public QWidget, public FormBase {
    Q_OBJECT
public:
    MdiForm(AppState& app, const char* objectName, const QString& caption, QWidget* parent = nullptr);

protected:
    void showEvent(QShowEvent* e) override;
    void closeEvent(QCloseEvent* e) override;
};

// A modal dialog. Closing by the button, Esc or the window's close box all pass done().
class DialogForm : public QDialog, public FormBase {
    Q_OBJECT
public:
    DialogForm(AppState& app, const char* objectName, const QString& caption, QWidget* parent = nullptr);
    void done(int result) override;
    // The button that cancels the dialog: it closes it without checking or saving anything,
    // and so do Esc and the window's close box. Focus moving to it checks no box.
    void setCancelButton(QAbstractButton* button);

protected:
    void showEvent(QShowEvent* e) override;
    // Runs after the dialog has agreed to close, before it is hidden.
    virtual void afterClose() {}

private:
    bool cancels_ = false;
};

// The section's tabbed dialogs: the tabs fill the form, and below them on the right the "&Luk"
// button, named `buttonName`, closes it by the same path as Esc and the close box. It never
// takes Enter, which moves between the fields.
QPushButton* layOutTabsAndClose(QWidget* form, QTabWidget* tabs, const char* buttonName);

}  // namespace vemora::gui
