// The dialog "Eksporter" on the offscreen platform.
#include <gtest/gtest.h>

#include <QAction>
#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>

#include "core/stats/stats_fixture.h"
#include "gui/app/mainwindow.h"
#include "gui/app/removable.h"
#include "gui/stats/expstat.h"

using namespace vemora;
using namespace vemora::statstest;
using vemora::gui::ExpStat;

namespace {

QString q(const fs::path& p) { return QString::fromStdU16String(p.u16string()); }

TEST(ExpStatGui, ControlsClubsAndTheExportFolder) {
    Season s;
    fs::remove_all(s.t.app.appPath / "EXPSTAT");
    ExpStat dlg(s.t.app);
    EXPECT_EQ(dlg.windowTitle(), "Eksporter");
    EXPECT_EQ(dlg.findChild<QRadioButton*>("optTotStat")->text(), "Totalstatistik (RYX)");
    EXPECT_EQ(dlg.findChild<QRadioButton*>("optKapf")->text(), "Kapflyvningsplan");
    EXPECT_EQ(dlg.findChild<QRadioButton*>("optStat")->text(), "Statistik (Foreninger)");
    EXPECT_EQ(dlg.findChild<QPushButton*>("cmdClose")->text(), "&Luk");
    ASSERT_NE(dlg.findChild<QPushButton*>("cmdOK"), nullptr);
    auto* forening = dlg.findChild<QComboBox*>("Forening");
    QStringList entries;
    for (int i = 0; i < forening->count(); ++i) entries << forening->itemText(i);
    EXPECT_EQ(entries, (QStringList{"", "001 - Alfa", "002 - Beta", "003 - Gamma"}));
    EXPECT_TRUE(fs::is_directory(s.t.app.appPath / "EXPSTAT"));
    EXPECT_FALSE(gui::IsRemovableRoot(q(s.out)));  // a folder is no medium's root
}

TEST(ExpStatGui, OkWritesTheChosenExportIntoTheChosenFolder) {
    Season s;
    long long r = s.race("95 - Blå skema", 20, "2026-05-16");
    s.bird(r, "001-25-0001", 1500.0, "001", "001");
    s.bird(r, "002-25-0002", 1400.0, "002", "001");
    ExpStat dlg(s.t.app);
    dlg.isRemovable = [](const QString&) { return false; };
    dlg.setFolder(q(s.out));
    EXPECT_EQ(dlg.findChild<QLabel*>("lblFolder")->text(), q(s.out));
    dlg.findChild<QRadioButton*>("optStat")->click();
    dlg.findChild<QComboBox*>("Forening")->setCurrentIndex(2);
    dlg.findChild<QPushButton*>("cmdOK")->click();
    EXPECT_EQ(dlg.lastResult.outcome, ExportOutcome::Done);
    EXPECT_EQ(fileNames(s.out), std::vector<std::string>{"SEKSTA26.002"});
    EXPECT_TRUE(s.t.ui.shown.empty());  // no closing message
    EXPECT_EQ(s.t.ui.busyOn, 1);
    EXPECT_EQ(s.t.ui.busyOff, 1);

    dlg.findChild<QRadioButton*>("optKapf")->click();
    dlg.findChild<QComboBox*>("Forening")->setCurrentIndex(0);
    dlg.findChild<QPushButton*>("cmdOK")->click();
    EXPECT_EQ(fileNames(s.out), (std::vector<std::string>{"SEK001.DAT", "SEK002.DAT", "SEK003.DAT", "SEKSTA26.002"}));
}

TEST(ExpStatGui, RemovableRootAsksForTheDiskette) {
    Season s;
    fs::path stick = s.out / "stick";
    fs::create_directory(stick);
    std::ofstream(stick / "gammel.txt") << "x";
    ExpStat dlg(s.t.app);
    dlg.isRemovable = [stick](const QString& f) { return f == q(stick); };
    dlg.setFolder(q(stick));
    s.t.ui.answers = {Answer::Ok, Answer::Yes};
    dlg.findChild<QPushButton*>("cmdOK")->click();
    EXPECT_EQ(dlg.lastResult.outcome, ExportOutcome::Done);
    EXPECT_EQ(s.t.ui.messages(), (std::vector<std::string>{
                                     "Ny diskette: Indsæt diskette.",
                                     "Slet diskette: Disketten er ikke tom. Ønsker du at overskrive dens indhold?"}));
    EXPECT_EQ(fileNames(stick), std::vector<std::string>{"SEKSTA26.04"});
}

TEST(ExpStatGui, MenuCommandIsEnabled) {
    Season s;
    gui::MainWindow w(s.t.app);
    auto* a = w.findChild<QAction*>("mnuExportStat");
    ASSERT_NE(a, nullptr);
    EXPECT_TRUE(a->isEnabled());
}

}  // namespace
