#pragma once
// Access keys in the multiple-document window. Qt gives the main menu's keys and those of the
// active child window's controls the same standing, so Alt+N with a "&Ny" button in the child
// opened the menu "Vi&ndue". Here, as users of multiple-document programs expect, the active
// child's own keys win; the menu keeps every key the active child does not use.
#include <QObject>

class QMdiArea;
class QWidget;

namespace vemora::gui {

class ChildAccessKeys : public QObject {
public:
    // Watches the keys typed while a child window of `area` has the focus.
    explicit ChildAccessKeys(QMdiArea* area);

protected:
    bool eventFilter(QObject* obj, QEvent* ev) override;

private:
    QWidget* activeChild() const;
    QMdiArea* area_;
};

// Carries out the access key `key` (Alt+key) among the controls of `form`: a button is
// pressed, a label's buddy gets the focus, a tab is shown. False when no control has it.
bool triggerAccessKey(QWidget* form, int key, bool dryRun = false);

}  // namespace vemora::gui
