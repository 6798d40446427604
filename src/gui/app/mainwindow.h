#pragma once
// The multiple-document main window: the menu that leads to every form, the logo on the
// empty background, the window arrangement commands and the start of a new season.
#include <QMainWindow>
#include <QMdiArea>
#include <QPixmap>
#include <functional>

#include "core/app/appstate.h"

class QMdiSubWindow;

namespace vemora::gui {

class MainWindow;

// A menu command's action, registered from the form's own file; commands without one stay
// visible and disabled.
using MenuCommand = std::function<void(MainWindow&)>;
struct RegisterMenuCommand {
    // `needsDatabase`: the command is refused with the engine's message while no section
    // database is open (every form but the one that can restore or repair it).
    RegisterMenuCommand(const char* actionObjectName, MenuCommand open, bool needsDatabase = true);
};

// The background with the section's logo centred (and clipped when the window is smaller).
class LogoArea : public QMdiArea {
    Q_OBJECT
public:
    using QMdiArea::QMdiArea;
    void setLogo(const QPixmap& logo);
    const QPixmap& logo() const { return logo_; }

protected:
    void paintEvent(QPaintEvent* e) override;

private:
    QPixmap logo_;
};

class MainWindow : public QMainWindow {
    Q_OBJECT
public:
    explicit MainWindow(AppState& app, QWidget* parent = nullptr);
    ~MainWindow() override;

    AppState& app() { return app_; }
    LogoArea* mdiArea() { return area_; }

    // Shows a form as a child window; a form of the same object name that is already open is
    // brought forward instead (and the new one discarded). Returns the form shown.
    QWidget* showChild(QWidget* form);
    // Brings the main window back to the front after a modal dialog.
    void bringToFront();
    // Closes every child window, each through its own closing (so a form whose CanClose
    // refuses stays open, and the others after it too). True when none is left open: the
    // whole-database backup, the restore, the repair and the report viewer need that.
    bool closeAllChildren();

    // The four arrangements of the window menu.
    void tileVertically();
    void tileHorizontally();
    void cascade();
    void arrangeIcons();

    void mnuStartSæson_Click();

private:
    void buildMenu();
    AppState& app_;
    LogoArea* area_;
};

}  // namespace vemora::gui
