#include <gtest/gtest.h>

#include <QCheckBox>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTest>

#include "core/import/demo.h"
#include "core/import/importrun.h"
#include "gui/gui_keys.h"
#include "gui/import/importfejl.h"
#include "gui/import/indlaes.h"
#include "support/testdb.h"

using namespace vemora;
using vemora::gui::ImportFejl;
using vemora::gui::Indlaes;

namespace {

void addFejl(Database& db, int uge, const char* club, const char* ring) {
    db.execute("INSERT INTO ImportFejl (Forening, Uge, Farvekode, Ringnummer, Tekst) VALUES (?, ?, '95', ?, 'x')",
               {club, uge, ring});
}

}  // namespace

TEST(ImportGui, ImportFejlFilterByWeekAndClub) {
    test::TestApp t;
    addFejl(t.db(), 23, "007", "007-25-0002");
    addFejl(t.db(), 23, "007", "007-25-0001");
    addFejl(t.db(), 23, "123", "123-25-0001");
    addFejl(t.db(), 24, "007", "007-25-0003");
    t.app.currentWeek = 23;
    ImportFejl f(t.app);
    auto* uge = f.findChild<QLineEdit*>("Uge");
    auto* forening = f.findChild<QLineEdit*>("Forening");
    EXPECT_EQ(f.windowTitle(), "Fejllister");
    EXPECT_EQ(uge->text(), "23");
    EXPECT_EQ(f.recordSource(), "Select * From ImportFejl Where Uge = 23 Order By Uge, Forening, Farvekode, Slag, Ringnummer");
    EXPECT_EQ(f.model()->rowCount(), 3);

    forening->setText("7");
    emit forening->editingFinished();
    EXPECT_EQ(forening->text(), "007");
    EXPECT_EQ(f.recordSource(),
              "Select * From ImportFejl Where Uge = 23 And Forening = '007' Order By Uge, Forening, Farvekode, Slag, Ringnummer");
    ASSERT_EQ(f.model()->rowCount(), 2);
    EXPECT_EQ(f.model()->data(f.model()->index(0, 4), Qt::DisplayRole).toString(), "007-25-0001");
    QStringList headers;
    for (int c = 0; c < f.model()->columnCount(); ++c) headers << f.model()->headerData(c, Qt::Horizontal, Qt::DisplayRole).toString();
    EXPECT_EQ(headers, (QStringList{"Foren", "Slag", "Slagnavn", "Farvekode", "Ringnummer", "Fejltekst"}));

    // Letters are not taken; both boxes empty show everything.
    QTest::keyClicks(uge, "x");
    EXPECT_EQ(uge->text(), "23");
    uge->clear();
    forening->clear();
    emit uge->editingFinished();
    EXPECT_EQ(f.recordSource(), "Select * From ImportFejl  Order By Uge, Forening, Farvekode, Slag, Ringnummer");
    EXPECT_EQ(f.model()->rowCount(), 4);
}

TEST(ImportGui, ImportFejlDeletesOnlyTheRowsShownAfterAsking) {
    test::TestApp t;
    addFejl(t.db(), 23, "007", "007-25-0001");
    addFejl(t.db(), 23, "123", "123-25-0001");
    addFejl(t.db(), 24, "007", "007-25-0003");
    t.app.currentWeek = 23;
    ImportFejl f(t.app);
    auto* slet = f.findChild<QPushButton*>("cmdSlet");
    EXPECT_EQ(slet->text(), "&Slet alle viste");

    t.ui.answers = {Answer::No};
    slet->click();
    ASSERT_EQ(t.ui.shown.size(), 1u);
    EXPECT_EQ(t.ui.shown[0].text, "Ønskes alle viste importfejl slettet?");
    EXPECT_EQ(t.ui.shown[0].title, "Slet");
    EXPECT_EQ(t.ui.shown[0].buttons, Buttons::YesNo);
    EXPECT_EQ(t.ui.shown[0].defaultAnswer, Answer::No);
    EXPECT_EQ(t.db().scalar("SELECT count(*) FROM ImportFejl").toInt(), 3);

    t.ui.answers = {Answer::Yes};
    slet->click();
    EXPECT_EQ(t.db().scalar("SELECT count(*) FROM ImportFejl").toInt(), 1);
    EXPECT_EQ(f.model()->rowCount(), 0);
    EXPECT_EQ(t.ui.busyOn, t.ui.busyOff);
}

TEST(ImportGui, IndlaesListsTheFolderAndImportsTheChosenEntry) {
    test::TestApp t;
    test::TempFolder files;
    files.write("SEK12301.U23", formatHeader("123", "3.A") + "\r\n");
    files.write("SEK00701.U5", "");
    files.write("SEK1.U2", "");
    files.write("notes.txt", "");
    writeCheckResFiler(t.db(), true);
    Indlaes dlg(t.app);
    EXPECT_EQ(dlg.windowTitle(), "Indlæs fra Foreningsprogram");
    EXPECT_TRUE(dlg.findChild<QCheckBox*>("chkCheckRes")->isChecked());
    dlg.setFolder(QString::fromStdString(files.path().string()));
    QListWidget* filer = dlg.filer();
    ASSERT_EQ(test::entries(filer), (QStringList{"Forening 007 uge 5", "Forening 123 uge 23"}));

    dlg.findChild<QPushButton*>("cmdOK")->click();
    EXPECT_EQ(t.ui.messages().back(), "Fejl: Der er ikke valgt nogen importfil.");

    t.ui.answers = {Answer::Yes};  // create the club
    filer->setCurrentRow(1);
    dlg.findChild<QPushButton*>("cmdOK")->click();
    EXPECT_EQ(t.ui.messages().back(), "Info: Indlæsning er afsluttet.");
    EXPECT_EQ(t.db().scalar("SELECT Resultat FROM ResModt WHERE Uge = 23 AND Forening = '123'"), Value(1));

    dlg.findChild<QCheckBox*>("chkCheckRes")->click();
    EXPECT_FALSE(readCheckResFiler(t.db()));
}
