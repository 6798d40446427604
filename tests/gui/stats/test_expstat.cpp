// The dialog "Eksporter" on the offscreen platform.
#include <gtest/gtest.h>

#include <QAction>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>

#include "core/stats/stats_fixture.h"
#include "gui/app/mainwindow.h"
#include "gui/app/removable.h"
#include "gui/gui_keys.h"
#include "gui/stats/expstat.h"

using namespace vemora;
using namespace vemora::statstest;
using vemora::gui::ExpStat;

namespace {

QString q(const fs::path& p) { return QString::fromStdU16String(p.u16string()); }

TEST(ExpStatGui, OpensFromTheMenuWithItsClubsAndExportFolder) {
    Season s;
    fs::remove_all(s.t.app.appPath / "EXPSTAT");
    gui::MainWindow w(s.t.app);
    EXPECT_TRUE(w.findChild<QAction*>("mnuExportStat")->isEnabled());
    ExpStat dlg(s.t.app, &w);
    EXPECT_EQ(dlg.windowTitle(), "Eksporter");
    EXPECT_EQ(dlg.optTotStat->text(), "Totalstatistik (RYX)");
    EXPECT_EQ(dlg.optKapf->text(), "Kapflyvningsplan");
    EXPECT_EQ(dlg.optStat->text(), "Statistik (Foreninger)");
    EXPECT_EQ(dlg.cmdClose->text(), "&Luk");
    EXPECT_EQ(test::entries(dlg.Forening), (QStringList{"", "001 - Alfa", "002 - Beta", "003 - Gamma"}));
    EXPECT_TRUE(fs::is_directory(s.t.app.appPath / "EXPSTAT"));
    EXPECT_FALSE(gui::IsRemovableRoot(q(s.out)));  // a folder is no medium's root
}

TEST(ExpStatGui, OkWritesIntoTheChosenFolderOrAsksForTheDiskette) {
    Season s;
    long long r = s.race("95 - Blå skema", 20, "2026-05-16");
    s.bird(r, "001-25-0001", 1500.0, "001", "001");
    s.bird(r, "002-25-0002", 1400.0, "002", "001");
    fs::path stick = s.out / "stick";
    fs::create_directory(stick);
    std::ofstream(stick / "gammel.txt") << "x";
    ExpStat dlg(s.t.app);
    dlg.isRemovable = [stick](const QString& f) { return f == q(stick); };

    dlg.setFolder(q(s.out));
    EXPECT_EQ(dlg.findChild<QLabel*>("lblFolder")->text(), q(s.out));
    dlg.optStat->click();
    dlg.Forening->setCurrentIndex(2);
    dlg.cmdOK->click();
    EXPECT_EQ(dlg.lastResult.outcome, ExportOutcome::Done);
    EXPECT_EQ(fileNames(s.out), (std::vector<std::string>{"SEKSTA26.002", "stick"}));
    EXPECT_TRUE(s.t.ui.shown.empty());  // no closing message
    EXPECT_EQ(s.t.ui.busyOn, 1);
    EXPECT_EQ(s.t.ui.busyOff, 1);

    dlg.setFolder(q(stick));
    dlg.optTotStat->click();
    s.t.ui.answers = {Answer::Ok, Answer::Yes};
    dlg.cmdOK->click();
    EXPECT_EQ(dlg.lastResult.outcome, ExportOutcome::Done);
    EXPECT_EQ(s.t.ui.messages(), (std::vector<std::string>{
                                     "Ny diskette: Indsæt diskette.",
                                     "Slet diskette: Disketten er ikke tom. Ønsker du at overskrive dens indhold?"}));
    EXPECT_EQ(fileNames(stick), std::vector<std::string>{"SEKSTA26.04"});
}

}  // namespace
