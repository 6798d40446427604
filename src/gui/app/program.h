#pragma once
// Start-up of the desktop program: the program folder, CONFIG.INI, the splash window held
// for its five seconds, opening the section database, the working week and the main window.
#include <QString>
#include <functional>
#include <memory>

#include "core/app/appstate.h"
#include "gui/app/guiui.h"
#include "gui/app/mainwindow.h"

namespace vemora::gui {

struct MainOptions {
    QString folder;             // empty: the folder of the running program
    int splashHoldMs = 5000;    // the splash stays until this many ms after the start tick
    std::function<Date()> today = todayLocal;
};

// Everything that lives for the run: the state shared by the forms, the message boxes and
// the main window. Destroyed in reverse order: the window before the database it shows.
struct Program {
    AppState app;
    GuiUi ui;
    std::unique_ptr<MainWindow> window;
};

// Runs the start-up steps and returns the program with its main window shown; nullptr when
// the user ended the program during the schema upgrade.
std::unique_ptr<Program> Main(const MainOptions& options);

}  // namespace vemora::gui
