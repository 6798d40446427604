// The dialog "Backup" on the offscreen platform.
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QComboBox>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPushButton>
#include <QSettings>
#include <QTemporaryDir>

#include "gui/app/mainwindow.h"
#include "gui/backup/backupdialog.h"
#include "gui/gui_keys.h"
#include "support/testdb.h"

using namespace vemora;
using vemora::gui::Backup;
namespace fs = std::filesystem;

namespace {

QString q(const fs::path& p) { return QString::fromStdU16String(p.u16string()); }

// The settings of these tests live in a folder of their own.
struct OwnSettings {
    QTemporaryDir dir;
    OwnSettings() {
        QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, dir.path());
        QSettings().remove("Backup");
    }
};

// A child window that will not close, as a form whose CanClose refuses.
class Stubborn : public QWidget {
protected:
    void closeEvent(QCloseEvent* e) override { e->ignore(); }
};

}  // namespace

TEST(BackupDialog, RemembersItsFolderAndStartsWithTotal) {
    OwnSettings settings;
    test::TestApp t;
    QSettings().setValue("Backup/BackupFolder", "/media/usb0");
    {
        Backup dlg(t.app);
        EXPECT_EQ(dlg.objectName(), "Backup");
        EXPECT_EQ(dlg.txtDestination->text(), "/media/usb0");
        EXPECT_EQ(dlg.Uge->currentText(), "Total");
        EXPECT_EQ(dlg.cmdBrowse->text(), "Gennemse");
        EXPECT_EQ(dlg.cmdGem->text(), "Gem");
        EXPECT_EQ(dlg.cmdIndlæs->text(), "Indlæs");
        EXPECT_EQ(dlg.cmdLuk->text(), "&Luk");
        dlg.txtDestination->setText("/srv/backup");
        dlg.cmdLuk->click();
    }
    EXPECT_EQ(QSettings().value("Backup/BackupFolder").toString(), "/srv/backup");
}

TEST(BackupDialog, SavesAndReadsBackAWeekAndRefusesAMissingWeek) {
    OwnSettings settings;
    test::TestApp t;
    t.db().exec(
        "INSERT INTO Kapflyvninger (Nr, Uge, Farvekode) VALUES (4, 20, '95 - Blå skema');"
        "INSERT INTO Deltagere (Kapflyvning, Ringnummer) VALUES (4, 'DK-01-0001')");
    test::TempFolder dest;
    Backup dlg(t.app);
    dlg.txtDestination->setText(q(dest.path()));
    dlg.Uge->setCurrentText("");
    dlg.cmdGem->click();
    EXPECT_EQ(t.ui.messages().back(), "Fejl: Angiv uge.");
    dlg.Uge->setCurrentText("uge");
    dlg.cmdIndlæs->click();
    EXPECT_EQ(t.ui.messages().back(), "Fejl: Ugyldig uge.");

    dlg.Uge->setCurrentText("20");
    dlg.cmdGem->click();
    EXPECT_EQ(dlg.lastOutcome, BackupOutcome::Done);
    EXPECT_TRUE(fs::exists(dest.path() / "BACKUP20.MDB"));
    t.db().exec("DELETE FROM Kapflyvninger");
    dlg.cmdIndlæs->click();
    EXPECT_EQ(dlg.lastOutcome, BackupOutcome::Done);
    EXPECT_EQ(t.db().scalar("SELECT count(*) FROM Deltagere JOIN Kapflyvninger ON Nr = Kapflyvning WHERE Uge = 20").toInt(), 1);
}

TEST(BackupDialog, TheWholeDatabaseGoesOnlyWhenEveryChildWindowCouldBeClosed) {
    OwnSettings settings;
    test::TestApp t;
    gui::MainWindow w(t.app);
    test::TempFolder dest;
    QMdiSubWindow* stubborn = w.mdiArea()->addSubWindow(new Stubborn);
    stubborn->show();
    Backup dlg(t.app, &w);
    dlg.isRemovable = [](const QString&) { return false; };
    dlg.txtDestination->setText(q(dest.path()));
    dlg.cmdGem->click();
    EXPECT_EQ(dlg.lastOutcome, BackupOutcome::Stopped);
    EXPECT_EQ(t.ui.messages().back(), "Fejl: Luk alle vinduer før backup-kopiering.");
    EXPECT_TRUE(fs::is_empty(dest.path()));

    // An ordinary list closes when asked, and the backup goes on.
    w.mdiArea()->removeSubWindow(stubborn);
    delete stubborn;
    w.mdiArea()->addSubWindow(new QWidget)->show();
    dlg.cmdGem->click();
    EXPECT_EQ(dlg.lastOutcome, BackupOutcome::Done);
    EXPECT_TRUE(w.mdiArea()->subWindowList().isEmpty());
    EXPECT_EQ(t.ui.messages().back(), "Info: Backup-kopiering færdig.");
    EXPECT_NE(t.app.db, nullptr);
}

TEST(BackupDialog, OpensFromTheMenuAlsoWhenTheDatabaseCannotBeOpened) {
    OwnSettings settings;
    test::TempFolder f;
    f.write("SEKDATA.MDB", std::string(4096, 'x'));
    ScriptedUi ui;
    AppState app;
    app.ui = &ui;
    initAppState(app, f.path());
    EXPECT_EQ(openSectionDatabaseWith(app), OpenResult::Failed);
    gui::MainWindow w(app);
    QAction* a = w.findChild<QAction*>("mnuBackup");
    ASSERT_TRUE(a);
    ASSERT_TRUE(a->isEnabled());
    QString opened;
    test::onModal([&](QWidget* m) { opened = m->objectName(); });
    a->trigger();
    EXPECT_EQ(opened, "Backup");
}
