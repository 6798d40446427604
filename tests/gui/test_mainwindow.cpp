#include <gtest/gtest.h>

#include <QAction>
#include <QMenu>
#include <QMdiSubWindow>
#include <QMenuBar>

#include "core/app/startup.h"
#include "gui/app/mainwindow.h"
#include "gui/gui_keys.h"
#include "support/testdb.h"

using namespace vemora;
using vemora::gui::MainWindow;

namespace {

QStringList captions(QMenu* m) {
    QStringList out;
    for (QAction* a : m->actions()) out << (a->isSeparator() ? QString("-") : a->text());
    return out;
}

}  // namespace

TEST(MainWindow, TitleAndMenuCaptionsAreExact) {
    test::TestApp t;
    MainWindow w(t.app);
    EXPECT_EQ(w.windowTitle(), "Tavrenia - Vemora - 21-05-2014");
    QStringList top;
    for (QAction* a : w.menuBar()->actions()) top << a->text();
    EXPECT_EQ(top, (QStringList{"&Filer", "&Vis", "Vi&ndue"}));
    EXPECT_EQ(captions(w.findChild<QMenu*>("mnuFiler")),
              (QStringList{"&Udskriv", "-", "&Importer", "&Eksporter", "&Start sæson", "&Backup", "-", "&Afslut"}));
    EXPECT_EQ(captions(w.findChild<QMenu*>("mnuVis")),
              (QStringList{"&Foreninger", "&Kapflyvninger", "&Mesterskaber", "&Indskud, præmier og sektionsdata",
                           "Importfe&jl"}));
    EXPECT_EQ(captions(w.findChild<QMenu*>("nmuVindue")),
              (QStringList{"Fordel &lodret", "Fordel &vandret", "&Overlap", "&Arranger ikoner"}));
    for (const char* always : {"mnuStartSæson", "mnuAfslut", "mnuFordelLodret", "mnuOverlap"})
        EXPECT_TRUE(w.findChild<QAction*>(always)->isEnabled()) << always;
}

TEST(MainWindow, FormsWithoutADatabaseReportInsteadOfCrashing) {
    test::TempFolder f;
    f.write("SEKDATA.MDB", std::string(2048, 'x'));  // not a database
    ScriptedUi ui;
    AppState app;
    app.ui = &ui;
    initAppState(app, f.path());
    EXPECT_FALSE(openSectionDatabase(app));
    MainWindow w(app);
    for (const char* name : {"mnuKapflyvninger", "mnuForeninger", "mnuImportFejl", "mnuIndskud", "mnuImporter"}) {
        QAction* a = w.findChild<QAction*>(name);
        ASSERT_TRUE(a);
        ui.shown.clear();
        a->trigger();
        ASSERT_FALSE(ui.shown.empty()) << name;
        EXPECT_EQ(ui.shown.back().title, "Fejl") << name;
        // Each command tries the file again and says why it still cannot be opened.
        EXPECT_NE(ui.shown.back().text.find("kan ikke åbnes: file is not a database"), std::string::npos) << name;
    }
    EXPECT_EQ(app.busyCounter, 0);
}

TEST(MainWindow, ADatabaseHeldAtStartIsOpenedOnceTheOtherProgramLetsGo) {
    test::TempFolder f;
    auto other = createSectionDatabase(f.path() / "SEKDATA.MDB");
    other->exec("BEGIN EXCLUSIVE");
    ScriptedUi ui;
    AppState app;
    app.ui = &ui;
    app.busyTimeout = std::chrono::milliseconds(20);
    initAppState(app, f.path());
    ASSERT_FALSE(openSectionDatabase(app));
    MainWindow w(app);
    other->exec("ROLLBACK");
    ui.shown.clear();
    w.findChild<QAction*>("mnuImportFejl")->trigger();
    EXPECT_TRUE(ui.shown.empty()) << ui.shown.front().text;
    ASSERT_TRUE(app.db);
    EXPECT_EQ(w.mdiArea()->subWindowList().size(), 1);
}

TEST(MainWindow, EachViewCommandOpensItsForm) {
    test::TestApp t;
    MainWindow w(t.app);
    test::showActive(&w);
    // The lists open as child windows, the settings as a dialog of their own.
    const std::pair<const char*, const char*> lists[] = {
        {"mnuForeninger", "Foreninger"}, {"mnuKapflyvninger", "Kapflyvninger"}, {"mnuMesterskaber", "Mesterskaber"},
        {"mnuImportFejl", "ImportFejl"}};
    for (const auto& [action, form] : lists) {
        w.findChild<QAction*>(action)->trigger();
        test::settle();
        ASSERT_NE(w.mdiArea()->activeSubWindow(), nullptr) << action;
        EXPECT_EQ(w.mdiArea()->activeSubWindow()->widget()->objectName(), form) << action;
    }
    EXPECT_EQ(w.mdiArea()->subWindowList().size(), 4);
    QString opened;
    test::onModal([&](QWidget* dlg) { opened = dlg->objectName(); });
    w.findChild<QAction*>("mnuIndskud")->trigger();
    EXPECT_EQ(opened, "Indskud");
}
