#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTableView>
#include <QTest>

#include "core/app/startup.h"
#include "core/races/races.h"
#include "gui/app/mainwindow.h"
#include "gui/races/kapflyvninger.h"
#include "gui/races/kapflyvningsdialog.h"
#include "gui/races/nykapfl.h"
#include "gui/races/prizemodel.h"
#include "gui/gui_keys.h"
#include "support/testdb.h"

using namespace vemora;
using vemora::gui::Kapflyvninger;
using vemora::gui::Kapflyvningsdialog;
using vemora::gui::NyKapfl;

namespace {

long long race(test::TestApp& t, int week, const char* code) {
    auto r = races::CreateRace(t.app, std::to_string(week), code);
    EXPECT_EQ(r.outcome, races::CreateOutcome::Created);
    return r.nr;
}

// Types into the focused box and lets the focus changes and their deferred steps run.
void type(QWidget* box, const QString& text) {
    box->setFocus();
    QApplication::processEvents();
    if (auto* c = qobject_cast<QComboBox*>(box); c && c->lineEdit()) c->lineEdit()->selectAll();
    if (auto* e = qobject_cast<QLineEdit*>(box)) e->selectAll();
    QTest::keyClicks(box, text);
    QApplication::processEvents();
}

void leave(QWidget* box) {
    QTest::keyClick(box, Qt::Key_Tab);
    QApplication::processEvents();
    QApplication::processEvents();
}

}  // namespace

TEST(RacesNyKapfl, TwoKeysMoveOnAndEntriesAreChecked) {
    test::TestApp t;
    NyKapfl dlg(t.app);
    test::showActive(&dlg);
    EXPECT_EQ(dlg.windowTitle(), "Ny kapflyvning");

    type(dlg.Farvekode, "9");
    EXPECT_EQ(dlg.regi->text(), "Privat");  // "9" sorts below "90"
    EXPECT_TRUE(dlg.Farvekode->hasFocus());
    QTest::keyClicks(dlg.Farvekode, "5");
    QApplication::processEvents();
    EXPECT_EQ(dlg.regi->text(), "Sektion");
    EXPECT_FALSE(dlg.Farvekode->hasFocus());
    EXPECT_EQ(dlg.Farvekode->currentText(), "95 - Blå skema");

    type(dlg.Uge, "54");
    QApplication::processEvents();
    EXPECT_TRUE(dlg.Uge->hasFocus());
    EXPECT_EQ(dlg.Uge->currentText(), QString::number(t.app.currentWeek));
    type(dlg.Uge, "7");
    leave(dlg.Uge);
    EXPECT_EQ(dlg.Uge->currentText(), "7");
    EXPECT_EQ(t.ui.messages(), std::vector<std::string>{"Fejl: Ugyldig uge."});
    // A race of that week and colour code exists: refused, the dialog stays open.
    long long existing = race(t, 7, "95 - Blå skema");
    dlg.cmdOpret->click();
    EXPECT_TRUE(dlg.isVisible());
    EXPECT_EQ(dlg.createdRace(), 0);
    EXPECT_EQ(t.ui.messages().back(), "Fejl: Der er allerede oprettet kapflyvning af farvekode 95 i uge 7.");
    t.db().execute("DELETE FROM Kapflyvninger WHERE Nr = ?", {existing});

    dlg.cmdOpret->click();
    EXPECT_EQ(dlg.result(), QDialog::Accepted);
    EXPECT_EQ(races::findRace(t.db(), 7, "95 - Blå skema"), dlg.createdRace());
}

TEST(RacesDialog, GameBoxesGovernPrizeButtonsAndPools) {
    test::TestApp t;
    long long nr = race(t, 20, "95 - Blå skema");
    t.db().execute("UPDATE Kapflyvninger SET Kl_P = 1, Kontantpræmier = 1 WHERE Nr = ?", {nr});
    t.db().execute("INSERT INTO \"P-spils-præmier\" (Kapflyvning, Antal, Værdi) VALUES (?, 1, 40), (?, 2, 80)", {nr, nr});
    Kapflyvningsdialog dlg(t.app);
    dlg.setRace(nr);
    test::showActive(&dlg);
    EXPECT_EQ(dlg.windowTitle(), "Rediger kapflyvning");
    EXPECT_EQ(dlg.regi->text(), "Sektion");
    for (QCheckBox* c : dlg.Spil) EXPECT_TRUE(c->isEnabled());
    EXPECT_TRUE(dlg.btnPræmie[2]->isEnabled());
    EXPECT_TRUE(dlg.Pulje_Puljepræmier->isEnabled());
    EXPECT_FALSE(dlg.btnPræmie[3]->isEnabled());
    EXPECT_FALSE(dlg.Elite_Puljepræmier->isEnabled());

    dlg.SSTab1->setCurrentIndex(1);
    QTest::mouseClick(dlg.btnPræmie[2], Qt::LeftButton);
    ASSERT_EQ(dlg.shownScale(), 2);
    ASSERT_EQ(dlg.prizeModel()->rowCount(), 3);  // two rows and the empty line
    EXPECT_EQ(dlg.prizeModel()->index(0, 1).data().toString(), "80");

    dlg.SSTab1->setCurrentIndex(0);
    // Clearing "Kl. P" takes the P scale, its option button and the pool switch away.
    QTest::mouseClick(dlg.Spil[2], Qt::LeftButton, {}, QPoint(5, dlg.Spil[2]->height() / 2));
    EXPECT_FALSE(dlg.Spil[2]->isChecked());
    EXPECT_FALSE(dlg.btnPræmie[2]->isEnabled());
    EXPECT_FALSE(dlg.btnPræmie[2]->isChecked());
    EXPECT_FALSE(dlg.Pulje_Puljepræmier->isEnabled());
    EXPECT_EQ(dlg.shownScale(), -1);
    EXPECT_EQ(dlg.prizeModel()->rowCount(), 0);
}

TEST(RacesDialog, NationalRacesAndNavigationByWeekAndColourCode) {
    test::TestApp t;
    long long a = race(t, 20, "91 - Orange skema");
    long long b = race(t, 21, "92 - Grøn skema");
    race(t, 21, "95 - Blå skema");
    Kapflyvningsdialog dlg(t.app);
    dlg.setRace(a);
    test::showActive(&dlg);
    EXPECT_EQ(dlg.regi->text(), "Ryx");
    for (QCheckBox* c : dlg.Spil) EXPECT_FALSE(c->isEnabled());
    EXPECT_FALSE(dlg.Gebyr->isEnabled());
    EXPECT_FALSE(dlg.lblGebyrSlag->isEnabled());

    // Week 22 has no races: refused, and the race stays.
    type(dlg.Uge, "22");
    QApplication::processEvents();
    EXPECT_EQ(dlg.race(), a);
    EXPECT_EQ(dlg.Uge->currentText(), "20");
    EXPECT_TRUE(dlg.Uge->hasFocus());

    dlg.Sliptid->setText("06:30");
    type(dlg.Uge, "21");
    QApplication::processEvents();
    ASSERT_EQ(dlg.race(), b);  // the colour code of the new week: its first entry
    EXPECT_EQ(dlg.Farvekode->currentText(), "92 - Grøn skema");
    EXPECT_EQ(t.app.currentWeek, 21);
    EXPECT_EQ(t.db().scalar("SELECT Sliptid FROM Kapflyvninger WHERE Nr = ?", {a}), Value("06:30"));
    for (int i = 0; i < 7; ++i) EXPECT_EQ(dlg.Spil[static_cast<size_t>(i)]->isEnabled(), i >= 5) << i;

    type(dlg.Farvekode, "21");
    QApplication::processEvents();
    EXPECT_EQ(dlg.race(), b);
    EXPECT_EQ(dlg.Farvekode->currentText(), "92 - Grøn skema");

    type(dlg.Farvekode, "95");
    QApplication::processEvents();
    EXPECT_EQ(dlg.race(), *races::findRace(t.db(), 21, "95 - Blå skema"));
    EXPECT_EQ(dlg.regi->text(), "Sektion");
    for (QCheckBox* c : dlg.Spil) EXPECT_TRUE(c->isEnabled());
    EXPECT_TRUE(dlg.Gebyr->isEnabled());

    // Back to week 20, whose only race is national: its colour code and category follow.
    type(dlg.Uge, "20");
    QApplication::processEvents();
    EXPECT_EQ(dlg.race(), a);
    EXPECT_EQ(dlg.Farvekode->currentText(), "91 - Orange skema");
    EXPECT_EQ(dlg.regi->text(), "Ryx");
    EXPECT_FALSE(dlg.Spil[0]->isEnabled());
    EXPECT_FALSE(dlg.Gebyr->isEnabled());
    EXPECT_EQ(t.ui.messages(), (std::vector<std::string>{
                                   "Fejl: Der er ikke oprettet kapflyvninger for i uge 22.",
                                   "Fejl: Der er ikke oprettet kapflyvninger i uge 21 af type 21.",
                               }));
}

TEST(RacesDialog, ReleaseStationDateAndTimeBoxes) {
    test::TestApp t;
    long long nr = race(t, 20, "95 - Blå skema");
    Kapflyvningsdialog dlg(t.app);
    dlg.setRace(nr);
    test::showActive(&dlg);

    type(dlg.Station, "7");
    leave(dlg.Station);
    EXPECT_EQ(dlg.Station->currentText(), "007");
    EXPECT_FALSE(dlg.Stationsnavn->isReadOnly());
    EXPECT_EQ(dlg.Stationsnavn->text(), "");
    EXPECT_EQ(t.db().scalar("SELECT count(*) FROM Stationer WHERE Nr = '007'").toInt(), 1);
    type(dlg.Station, "x");
    EXPECT_EQ(dlg.Station->currentText(), "007");  // letters are not taken

    type(dlg.Sliptid, "0705");
    EXPECT_EQ(dlg.Sliptid->text(), "07:05");
    EXPECT_FALSE(dlg.Sliptid->hasFocus());  // complete: moved on
    type(dlg.Sliptid, "2400");
    QApplication::processEvents();
    EXPECT_EQ(dlg.Sliptid->text(), "07:05");
    EXPECT_TRUE(dlg.Sliptid->hasFocus());

    type(dlg.Slipdato, "210526");  // the Thursday after week 20
    QApplication::processEvents();
    EXPECT_EQ(dlg.Slipdato->text(), "");
    type(dlg.Slipdato, "200526");
    QApplication::processEvents();
    EXPECT_EQ(dlg.Slipdato->text(), "20-05-26");

    dlg.Kode->setCurrentText("Kode 2");
    dlg.close();
    EXPECT_FALSE(dlg.isVisible());
    EXPECT_EQ(test::rowsText(t.db(), "SELECT Station, SlipDato, Sliptid, Kode FROM Kapflyvninger"), "007|2026-05-20|07:05|2\n");
    EXPECT_EQ(t.ui.messages(), (std::vector<std::string>{
                                   "Fejl: Ugyldig tidsangivelse. Indtast sliptid i formatet TT:MM.",
                                   "Fejl: Dato skal ligge indenfor uge 20 eller senest onsdag i efterfølgende uge.",
                               }));
}

TEST(RacesList, StartsOnTheWorkingWeekOrTheLastRace) {
    test::TestApp t;
    t.app.currentWeek = 23;
    race(t, 20, "95 - Blå skema");
    long long w24 = race(t, 24, "96 - Gul skema");
    race(t, 24, "97 - Privat");
    race(t, 25, "91 - Orange skema");
    {
        Kapflyvninger list(t.app);
        EXPECT_EQ(list.windowTitle(), "Kapflyvninger");
        EXPECT_EQ(list.currentRace(), w24);
        EXPECT_EQ(list.model()->headerData(3, Qt::Horizontal, Qt::DisplayRole).toString(), "Station");
        EXPECT_EQ(list.model()->headerData(11, Qt::Horizontal, Qt::DisplayRole).toString(), "Hunner");
    }
    t.app.currentWeek = 30;
    Kapflyvninger list(t.app);
    EXPECT_EQ(list.raceAt(list.model()->rowCount() - 1), list.currentRace());
}

TEST(RacesList, ColumnsAreFormatted) {
    test::TestApp t;
    long long nr = race(t, 20, "95 - Blå skema");
    t.db().execute("INSERT INTO Stationer (Nr, Navn) VALUES ('007', 'Padborg')");
    t.db().execute("UPDATE Kapflyvninger SET Station = '007', SlipDato = '2026-05-16', Sliptid = '07:05:00' WHERE Nr = ?",
                   {nr});
    race(t, 21, "92 - Grøn skema");
    Kapflyvninger list(t.app);
    auto cell = [&](int row, int col) { return list.model()->index(row, col).data().toString(); };
    EXPECT_EQ(cell(0, 3), "007");
    EXPECT_EQ(cell(0, 4), "Padborg");
    EXPECT_EQ(cell(0, 7), "16-05-2026");
    EXPECT_EQ(cell(0, 8), "07:05");
    EXPECT_EQ(cell(1, 2), "Ryx");
    EXPECT_EQ(cell(1, 4), "");   // no station: empty name
    EXPECT_EQ(cell(1, 9), "0");  // no accounts: no birds
}

TEST(RacesList, EditMarksBeregnAndDeleteAsksNothing) {
    test::TestApp t;
    {
        Kapflyvninger empty(t.app);
        empty.cmdRediger->click();
        EXPECT_EQ(t.ui.messages(), std::vector<std::string>{"Fejl: Der er ikke markeret nogen kapflyvning."});
    }
    long long a = race(t, 20, "95 - Blå skema");
    long long b = race(t, 21, "96 - Gul skema");
    t.db().execute("UPDATE Kapflyvninger SET Beregn = 0");
    t.app.currentWeek = 21;
    Kapflyvninger list(t.app);
    test::showActive(&list);
    ASSERT_EQ(list.currentRace(), b);
    long long seen = 0;
    test::onModal([&](QWidget* d) {
        if (auto* k = qobject_cast<Kapflyvningsdialog*>(d)) seen = k->race();
    });
    test::doubleClick(list.Kapflyvningsliste, list.model()->index(list.rowOf(b), 0));
    EXPECT_EQ(seen, b);
    EXPECT_EQ(t.db().scalar("SELECT Beregn FROM Kapflyvninger WHERE Nr = ?", {b}), Value(1));
    EXPECT_EQ(t.db().scalar("SELECT Beregn FROM Kapflyvninger WHERE Nr = ?", {a}), Value(0));
    EXPECT_EQ(list.currentRace(), b);

    list.cmdSlet->click();
    EXPECT_EQ(t.db().scalar("SELECT count(*) FROM Kapflyvninger").toInt(), 1);
    EXPECT_EQ(list.model()->rowCount(), 1);
    EXPECT_EQ(list.currentRace(), a);
    EXPECT_EQ(t.ui.shown.size(), 1u);  // no question was asked
}

TEST(RacesList, RefreshesWhenRacesChangeElsewhere) {
    test::TestApp t;
    long long a = race(t, 20, "95 - Blå skema");
    Kapflyvninger list(t.app);
    ASSERT_EQ(list.model()->rowCount(), 1);
    race(t, 19, "96 - Gul skema");  // created by another form: the list hears the commit
    EXPECT_EQ(list.model()->rowCount(), 2);
    EXPECT_EQ(list.currentRace(), a);  // the current race stays current
    t.db().exec("INSERT INTO Regnskab (Kapflyvning, Forening, AntalDuer) VALUES (" + std::to_string(a) + ", '007', 12)");
    EXPECT_EQ(list.model()->index(list.rowOf(a), 9).data().toString(), "12");
    t.ui.answers = {Answer::Ok, Answer::Yes};
    ASSERT_TRUE(StartSeason(t.app));  // a new season from the main window's menu
    EXPECT_EQ(list.model()->rowCount(), 0);
}
