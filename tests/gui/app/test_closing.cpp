// Closing forms by every way a user has (Esc, the access key, the close box, a click on the
// button), cancelling, and where the focus is when a form opens.
#include <gtest/gtest.h>

#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>

#include "core/races/races.h"
#include "core/settings/clubs.h"
#include "gui/import/indlaes.h"
#include "gui/races/kapflyvningsdialog.h"
#include "gui/races/nykapfl.h"
#include "gui/settings/foreninger.h"
#include "gui/gui_keys.h"
#include "support/testdb.h"

using namespace vemora;
using namespace vemora::gui;
using namespace vemora::test;

namespace {

long long race(TestApp& t, int week, const char* code) { return races::CreateRace(t.app, std::to_string(week), code).nr; }

Value raceField(TestApp& t, long long nr, const char* field) {
    return t.db().scalar(std::string("SELECT ") + field + " FROM Kapflyvninger WHERE Nr = ?", {nr});
}

}  // namespace

TEST(FormClosing, RaceDialogChecksTheBoxBeingLeftHoweverItIsClosed) {
    TestApp t;
    long long nr = race(t, 20, "95 - Blå skema");
    Kapflyvningsdialog dlg(t.app);
    dlg.setRace(nr);
    showActive(&dlg);

    typeOver(dlg.Sliptid, "7:5");
    press(Qt::Key_Escape);
    EXPECT_TRUE(dlg.isVisible());
    EXPECT_EQ(focused(), dlg.Sliptid);
    EXPECT_EQ(dlg.Sliptid->text(), "");

    // A message box came and went while the bad date stood in the box: it still counts as typed.
    typeOver(dlg.Slipdato, "3102");
    messageBoxComesAndGoes(&dlg);
    QTest::keyClick(focused(), Qt::Key_L, Qt::AltModifier);  // "&Luk"
    QTRY_COMPARE(t.ui.shown.size(), 2u);
    settle();
    EXPECT_TRUE(dlg.isVisible());
    EXPECT_EQ(focused(), dlg.Slipdato);

    typeOver(dlg.Slipdato, "3102");
    dlg.close();  // the window's close box
    settle();
    EXPECT_TRUE(dlg.isVisible());

    // A click on "&Luk" moves the focus away first: the box refuses, and the click closes nothing.
    typeOver(dlg.Sliptid, "7:5");
    click(dlg.cmdClose);
    EXPECT_TRUE(dlg.isVisible());
    EXPECT_EQ(focused(), dlg.Sliptid);
    EXPECT_TRUE(raceField(t, nr, "Sliptid").isNull());
    EXPECT_TRUE(raceField(t, nr, "SlipDato").isNull());

    typeOver(dlg.Sliptid, "0705");
    click(dlg.cmdClose);
    EXPECT_FALSE(dlg.isVisible());
    EXPECT_EQ(raceField(t, nr, "Sliptid"), Value("07:05"));
    EXPECT_EQ(t.ui.messages(), (std::vector<std::string>{
                                   "Fejl: Indtast sliptid i formatet TT:MM.",
                                   "Fejl: Indtast dato i formatet DDMMÅÅ.",
                                   "Fejl: Indtast dato i formatet DDMMÅÅ.",
                                   "Fejl: Indtast sliptid i formatet TT:MM.",
                               }));
}

TEST(FormClosing, ClubDialogRefusesAShortPostalCodeHoweverItIsClosed) {
    TestApp t;
    int64_t recNr = NewForening(t.db());
    ForeningsDialog dlg(t.app, recNr);
    showActive(&dlg);
    auto* postnr = dlg.findChild<QLineEdit*>("Foreningsfelt3");
    auto stored = [&] { return t.db().scalar("SELECT Kontakt_Postnr FROM Foreninger WHERE RecNr = ?", {recNr}); };

    typeOver(postnr, "12");
    press(Qt::Key_Escape);
    EXPECT_TRUE(dlg.isVisible());
    EXPECT_EQ(focused(), postnr);
    EXPECT_TRUE(stored().isNull());
    dlg.close();  // refused again: the code is still wrong
    settle();
    EXPECT_TRUE(dlg.isVisible());
    EXPECT_TRUE(stored().isNull());

    typeOver(postnr, "5000");  // typed full: moves on, and the code is looked up
    press(Qt::Key_Escape);
    EXPECT_FALSE(dlg.isVisible());
    EXPECT_EQ(stored(), Value("5000"));
    EXPECT_EQ(t.ui.messages(), (std::vector<std::string>(2, "Fejl: Indtast 4-cifret postnummer.")));
}

TEST(FormClosing, CancellingANewRaceChecksNothing) {
    TestApp t;
    for (bool byButton : {true, false}) {
        NyKapfl dlg(t.app);
        showActive(&dlg);
        typeOver(dlg.Uge, "0");
        if (byButton) click(dlg.cmdAnnuller);
        else press(Qt::Key_Escape);
        EXPECT_FALSE(dlg.isVisible()) << byButton;
        EXPECT_EQ(dlg.result(), QDialog::Rejected);
    }
    EXPECT_TRUE(t.ui.messages().empty());
    EXPECT_EQ(t.db().scalar("SELECT count(*) FROM Kapflyvninger").toInt(), 0);
}

TEST(FormFocus, EachFormOpensOnItsFirstField) {
    TestApp t;
    long long a = race(t, 20, "95 - Blå skema");
    long long b = race(t, 21, "96 - Gul skema");
    {
        // The first keys go to the week: typing another week moves to its race.
        Kapflyvningsdialog dlg(t.app);
        dlg.setRace(a);
        showActive(&dlg);
        EXPECT_EQ(focused(), dlg.Uge);
        typeKeys("21");
        EXPECT_EQ(dlg.race(), b);
    }
    {
        NyKapfl dlg(t.app);
        showActive(&dlg);
        EXPECT_EQ(focused(), dlg.Uge);
    }
    {
        // The folder tree, where an arrow key moves between folders, not between drives.
        Indlaes dlg(t.app);
        showActive(&dlg);
        EXPECT_EQ(focused(), dlg.findChild<QWidget*>("DirList"));
        auto* drev = dlg.findChild<QComboBox*>("Drev");
        const int drive = drev->currentIndex();
        press(Qt::Key_Down);
        EXPECT_EQ(drev->currentIndex(), drive);
    }
}

TEST(FormClosing, RegiFollowsTheColourCodePutBackAfterARefusal) {
    TestApp t;
    {
        NyKapfl dlg(t.app);
        showActive(&dlg);
        typeOver(dlg.Farvekode, "95");
        EXPECT_EQ(dlg.regi->text(), "Sektion");
        typeOver(dlg.Farvekode, "86");
        EXPECT_EQ(dlg.Farvekode->currentText(), "95 - Blå skema");
        EXPECT_EQ(focused(), dlg.Farvekode);  // taken back to the refused box
        EXPECT_EQ(dlg.regi->text(), "Sektion");
    }
    long long nr = race(t, 20, "95 - Blå skema");
    Kapflyvningsdialog dlg(t.app);
    dlg.setRace(nr);
    showActive(&dlg);
    typeOver(dlg.Farvekode, "97");  // the week has no such race
    EXPECT_EQ(dlg.Farvekode->currentText(), "95 - Blå skema");
    EXPECT_EQ(dlg.regi->text(), "Sektion");
    EXPECT_EQ(t.ui.messages(), (std::vector<std::string>{"Fejl: Ugyldig farvekode.",
                                                         "Fejl: Der er ikke oprettet kapflyvninger i uge 20 af type 97."}));
}
