#pragma once
// The fixed report season in a main window, for the print dialog and viewer tests, with the
// settings store in a folder of the test's own.
#include <QAction>
#include <QApplication>
#include <QMdiSubWindow>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>

#include "gui/app/mainwindow.h"
#include "gui/reports/reportform.h"
#include "gui/reports/udskriv.h"
#include "support/reportseason.h"
#include "support/testdb.h"

namespace vemora::test {

struct PrintSeason {
    TestApp t;
    QTemporaryDir settings;
    PrintSeason() {
        loadReportSeason(t.db());
        copyReportDefinitions(t.app.appPath);
        QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, settings.path());
        QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, settings.path());
        QSettings().clear();
    }
};

// A shown main window of the given size.
inline std::unique_ptr<gui::MainWindow> mainWindow(AppState& app, QSize size = {1200, 900}) {
    auto w = std::make_unique<gui::MainWindow>(app);
    w->resize(size);
    w->show();
    (void)QTest::qWaitForWindowExposed(w.get());
    return w;
}

// Filer -> Udskriv, and the dialog it opened.
inline gui::Udskriv* openPrintDialog(gui::MainWindow& w) {
    w.findChild<QAction*>("mnuUdskriv")->trigger();
    QApplication::processEvents();
    return w.findChild<gui::Udskriv*>("Udskriv");
}

inline std::vector<gui::ReportForm*> viewers(gui::MainWindow& w) {
    std::vector<gui::ReportForm*> out;
    for (QMdiSubWindow* sw : w.mdiArea()->subWindowList())
        if (auto* f = qobject_cast<gui::ReportForm*>(sw->widget())) out.push_back(f);
    return out;
}

}  // namespace vemora::test
