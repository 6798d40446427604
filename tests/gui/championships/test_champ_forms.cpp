// The championship list and the definition dialog on the offscreen platform: input rules,
// the race and member-bird lists, saving on close and the list's commands.
#include <gtest/gtest.h>

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTableView>
#include <QTest>

#include "core/calc/calc_fixture.h"
#include "core/championships/definition.h"
#include "gui/championships/mesterskaber.h"
#include "gui/championships/mesterskabsdialog.h"
#include "gui/gui_keys.h"
#include "support/testdb.h"

using namespace vemora;
using vemora::gui::Mesterskaber;
using vemora::gui::Mesterskabsdialog;

namespace {

struct ChampForms : ::testing::Test {
    test::TestApp t;
    Database& db = t.db();
    long long rec = 0;
    ChampForms() {
        db.exec("INSERT INTO Stationer (Nr, Navn) VALUES ('007', 'Hamborg')");
        rec = championships::NewChampionship(db);
    }
    long long race(const std::string& fk, int uge) { return calctest::addRace(db, fk, {{"Uge", uge}, {"Station", "007"}}); }
    Value field(const char* f) { return db.scalar("SELECT " + sqlIdent(f) + " FROM Mesterskaber WHERE RecNr = ?", {rec}); }
};

TEST_F(ChampForms, NumberBoxesPaddingTypedFullAndTheTypeKeys) {
    Mesterskabsdialog dlg(t.app, rec);
    test::showActive(&dlg);
    EXPECT_EQ(dlg.windowTitle(), "Rediger mesterskab");
    EXPECT_EQ(QApplication::focusWidget(), dlg.Nr);
    QTest::keyClicks(dlg.Nr, "7a");
    EXPECT_EQ(dlg.Nr->text(), "7");  // letters do nothing
    QTest::keyClick(dlg.Nr, Qt::Key_Return);
    test::settle();
    EXPECT_EQ(dlg.Nr->text(), "007");
    EXPECT_EQ(QApplication::focusWidget(), dlg.Titel);
    // Typed full, the box moves on by itself.
    dlg.Nr->setFocus();
    QTest::keyClick(dlg.Nr, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClicks(dlg.Nr, "123");
    test::settle();
    EXPECT_EQ(QApplication::focusWidget(), dlg.Titel);
    dlg.Aargang->setFocus();
    QTest::keyClicks(dlg.Aargang, "5x");
    QTest::keyClick(dlg.Aargang, Qt::Key_Return);
    test::settle();
    EXPECT_EQ(dlg.Aargang->text(), "05");
    dlg.Koen->setFocus();
    QTest::keyClicks(dlg.Koen, "A");
    EXPECT_EQ(QApplication::focusWidget(), dlg.Koen);  // the sex box does not move on
    dlg.Kode[1]->setFocus();
    QTest::keyClicks(dlg.Kode[1], "x");
    test::settle();
    EXPECT_NE(QApplication::focusWidget(), dlg.Kode[1]);
    for (QLineEdit* b : {dlg.AntalDuer, dlg.ProcentAfsendte, dlg.Antal_L_flyvninger}) {
        QTest::keyClicks(b, "2x");
        EXPECT_EQ(b->text(), "2");
    }

    // The type list: one key chooses, other keys do nothing, text not in the list is "Point".
    dlg.Mesterskabstype->setFocus();
    QTest::keyClick(dlg.Mesterskabstype, Qt::Key_H);
    EXPECT_EQ(dlg.Mesterskabstype->currentText(), "HB");
    EXPECT_EQ(dlg.lblDuerPrFlyvn->text(), "due(r) pr. flyvning");
    EXPECT_EQ(dlg.lblKapflPrSlag->text(), "kapflyvning(er) pr. slag");
    QTest::keyClick(dlg.Mesterskabstype, Qt::Key_X);
    EXPECT_EQ(dlg.Mesterskabstype->currentText(), "HB");
    QTest::keyClick(dlg.Mesterskabstype, Qt::Key_E);
    EXPECT_EQ(dlg.Mesterskabstype->currentText(), "Es-due-koefficient");
    EXPECT_EQ(dlg.lblSKapflPrSlag->text(), "sektionsflyvning(er) pr. due");
    EXPECT_EQ(dlg.lblPKapflPrSlag->text(), "private flyvning(er) pr. slag");  // unchanged for this type
    QTest::keyClick(dlg.Mesterskabstype, Qt::Key_M);
    EXPECT_EQ(dlg.lblSKapflPrSlag->text(), "sektionsflyvning(er) pr. due");  // unchanged again
    QTest::keyClick(dlg.Mesterskabstype, Qt::Key_F);
    EXPECT_EQ(dlg.lblLKapflPrSlag->text(), "langflyvning(er) pr. forening");
    dlg.Mesterskabstype->lineEdit()->insert("fejl");  // as a paste does
    EXPECT_EQ(dlg.Mesterskabstype->currentText(), "Point");
    QTest::keyClick(dlg.Mesterskabstype, Qt::Key_D);
    QTest::keyClick(dlg.Mesterskabstype, Qt::Key_Backspace);
    EXPECT_EQ(dlg.Mesterskabstype->currentText(), "Point");
}

TEST_F(ChampForms, MemberBirdsAreAddedWithEnterAndDeleted) {
    Mesterskabsdialog dlg(t.app, rec);
    test::showActive(&dlg);
    dlg.SSTab1->setCurrentIndex(3);
    dlg.txtRingnr->setFocus();
    QTest::keyClicks(dlg.txtRingnr, "1a23456789");
    EXPECT_EQ(dlg.txtRingnr->text(), "123-45-6789");
    QTest::keyClick(dlg.txtRingnr, Qt::Key_Return);
    EXPECT_EQ(test::entries(dlg.lstDeltagendeDuer), QStringList{"123-45-6789"});
    EXPECT_EQ(QApplication::focusWidget(), dlg.txtRingnr);
    QTest::keyClick(dlg.txtRingnr, Qt::Key_Return);
    EXPECT_EQ(test::lastMessage(t.ui), "Fejl: Ringnummer er allerede tilmeldt mesterskabet.");
    dlg.txtRingnr->setText("123-45-678");
    dlg.cmdAddRingnr->click();
    EXPECT_EQ(test::lastMessage(t.ui), "Fejl: Angiv ringnummer.");
    for (const char* r : {"100-26-0002", "200-26-0001", "100-26-0001"}) {
        dlg.txtRingnr->setText(r);
        QTest::keyClick(dlg.txtRingnr, Qt::Key_Return);
    }
    // By serial number, then the whole ring number.
    EXPECT_EQ(test::entries(dlg.lstDeltagendeDuer), (QStringList{"100-26-0001", "200-26-0001", "100-26-0002", "123-45-6789"}));
    dlg.lstDeltagendeDuer->item(0)->setSelected(true);
    dlg.lstDeltagendeDuer->item(2)->setSelected(true);
    dlg.cmdDelRingnr->click();
    EXPECT_EQ(test::entries(dlg.lstDeltagendeDuer), (QStringList{"200-26-0001", "123-45-6789"}));
    dlg.cmdClearRingnr->click();
    EXPECT_EQ(dlg.lstDeltagendeDuer->count(), 0);
    EXPECT_EQ(db.scalar("SELECT count(*) FROM Mesterskaber_Duer").toInt(), 0);
}

TEST_F(ChampForms, RacesAreAddedByDoubleClickAndRemovedInTheGrid) {
    long long a = race("91 - Orange", 20), b = race("95 - Sektion", 21), c = race("85 - Privat", 22);
    db.execute("UPDATE Kapflyvninger SET SlipDato = '2026-05-17', Sliptid = '07:30' WHERE Nr = ?", {a});
    Mesterskabsdialog dlg(t.app, rec);
    test::showActive(&dlg);
    dlg.SSTab1->setCurrentIndex(2);
    EXPECT_EQ(test::entries(dlg.Kapflyvninger), (QStringList{"20 - 91 - Orange (Hamborg)", "21 - 95 - Sektion (Hamborg)", "22 - 85 - Privat (Hamborg)"}));
    dlg.Kapflyvninger_DblClick();
    EXPECT_EQ(test::lastMessage(t.ui), "Fejl: Der er ikke markeret nogen kapflyvning.");

    dlg.Kapflyvninger->setCurrentRow(1);
    dlg.Kapflyvninger_DblClick();
    EXPECT_EQ(test::entries(dlg.Kapflyvninger), (QStringList{"20 - 91 - Orange (Hamborg)", "22 - 85 - Privat (Hamborg)"}));
    // The next available race after the added one is chosen, and the grid is on the added one.
    EXPECT_EQ(dlg.Kapflyvninger->currentItem()->text(), "22 - 85 - Privat (Hamborg)");
    QAbstractItemModel* grid = dlg.Mesterskabsflyvninger->model();
    EXPECT_EQ(grid->data(grid->index(dlg.Mesterskabsflyvninger->currentIndex().row(), 1)).toString(), "95 - Sektion");
    dlg.Kapflyvninger_DblClick();
    dlg.Kapflyvninger->setCurrentRow(0);
    test::doubleClick(dlg.Kapflyvninger, dlg.Kapflyvninger->model()->index(0, 0));
    // The last race added: nothing left to add, the grid on it.
    EXPECT_EQ(dlg.Kapflyvninger->count(), 0);
    ASSERT_EQ(grid->rowCount(), 3);
    EXPECT_EQ(grid->data(grid->index(0, 0)).toString(), "20");
    EXPECT_EQ(grid->data(grid->index(0, 2)).toString(), "Ryx");
    EXPECT_EQ(grid->data(grid->index(0, 3)).toString(), "007 Hamborg");
    EXPECT_EQ(grid->data(grid->index(0, 4)).toString(), "17-05-2026");
    EXPECT_EQ(grid->data(grid->index(0, 5)).toString(), "07:30");
    EXPECT_EQ(dlg.Mesterskabsflyvninger->currentIndex().row(), 0);

    dlg.Mesterskabsflyvninger->setFocus();
    dlg.Mesterskabsflyvninger->selectRow(2);
    QTest::keyClick(dlg.Mesterskabsflyvninger, Qt::Key_Delete);
    EXPECT_EQ(grid->rowCount(), 2);
    EXPECT_EQ(test::entries(dlg.Kapflyvninger), QStringList{"22 - 85 - Privat (Hamborg)"});
    EXPECT_EQ(dlg.Kapflyvninger->currentItem(), nullptr);
    EXPECT_EQ(db.scalar("SELECT count(*) FROM Mesterskabsflyvninger WHERE Kapflyvning = ?", {c}).toInt(), 0);
    (void)b;
}

TEST_F(ChampForms, ClosingSavesTheDefinitionAndTheListFollows) {
    db.execute("UPDATE Mesterskaber SET Nr = '002', Titel = 'Gammel', Kun_Begyndere = 1, Område = 'Nord' WHERE RecNr = ?", {rec});
    long long other = championships::NewChampionship(db);
    db.execute("UPDATE Mesterskaber SET Nr = '001', Titel = 'Andet', Type = 'HB' WHERE RecNr = ?", {other});
    Mesterskaber list(t.app);
    test::showActive(&list);
    QAbstractItemModel* m = list.Mesterskabsliste->model();
    ASSERT_EQ(m->rowCount(), 2);
    EXPECT_EQ(m->headerData(0, Qt::Horizontal).toString(), "Kode");
    EXPECT_EQ(m->headerData(4, Qt::Horizontal).toString(), "Begynder");
    EXPECT_EQ(m->data(m->index(1, 0)).toString(), "002");
    EXPECT_EQ(m->data(m->index(1, 4)).toString(), "X");
    EXPECT_EQ(m->data(m->index(1, 3)).toString(), "");
    EXPECT_EQ(m->data(m->index(1, 9)).toString(), "Nord");

    list.Mesterskabsliste->selectRow(1);
    test::onModal([&](QWidget* w) {
        auto* dlg = qobject_cast<Mesterskabsdialog*>(w);
        ASSERT_NE(dlg, nullptr);
        EXPECT_EQ(dlg->Titel->text(), "Gammel");
        EXPECT_TRUE(dlg->Kun_begyndere->isChecked());
        dlg->Nr->setText("0");  // sorts first once padded on leaving
        dlg->Nr->setFocus();
        dlg->Titel->clear();
        dlg->Kun_begyndere->setChecked(false);
        dlg->Juniorer->setChecked(true);
        dlg->AntalFlyvninger->setText("5");
        dlg->Omraade->clear();
        dlg->Nr->setFocus();
    });
    list.cmdRediger_Click();
    EXPECT_EQ(field("Nr"), Value("000"));
    EXPECT_TRUE(field("Titel").isNull());
    EXPECT_EQ(field("Kun_Begyndere"), Value(0));
    EXPECT_EQ(field("Kun_juniorduer"), Value(1));
    EXPECT_EQ(field("Antal_flyvninger"), Value(5));
    EXPECT_TRUE(field("Område").isNull());
    // The list is read again and stays on the edited championship, now first.
    EXPECT_EQ(list.Mesterskabsliste->currentIndex().row(), 0);
    EXPECT_EQ(m->data(m->index(0, 3)).toString(), "X");

    // A failing save keeps the dialog open with its message.
    db.exec("CREATE TRIGGER laast BEFORE UPDATE ON Mesterskaber BEGIN SELECT RAISE(ABORT, 'laast'); END");
    Mesterskabsdialog dlg(t.app, rec);
    test::showActive(&dlg);
    dlg.close();
    EXPECT_TRUE(dlg.isVisible());
    EXPECT_EQ(test::lastMessage(t.ui), "Fejl: Fejl ved lagring af mesterskab.");
    db.exec("DROP TRIGGER laast");
    dlg.close();
    EXPECT_FALSE(dlg.isVisible());
}

TEST_F(ChampForms, ListCommands) {
    long long second = championships::NewChampionship(db);
    db.execute("UPDATE Mesterskaber SET Nr = '001' WHERE RecNr = ?", {rec});
    db.execute("UPDATE Mesterskaber SET Nr = '002' WHERE RecNr = ?", {second});
    Mesterskaber list(t.app);
    test::showActive(&list);
    list.Mesterskabsliste->setCurrentIndex({});
    list.Mesterskabsliste->clearSelection();
    list.cmdRediger_Click();
    EXPECT_EQ(test::lastMessage(t.ui), "Fejl: Der er ikke markeret noget mesterskab.");

    // Delete at once, without asking; the next row becomes current.
    list.Mesterskabsliste->selectRow(0);
    size_t shown = t.ui.shown.size();
    list.cmdSlet->click();
    EXPECT_EQ(t.ui.shown.size(), shown);
    EXPECT_EQ(list.Mesterskabsliste->model()->rowCount(), 1);
    EXPECT_EQ(list.currentRecNr(), second);
    // A championship added elsewhere shows without asking.
    championships::NewChampionship(db);
    EXPECT_EQ(list.Mesterskabsliste->model()->rowCount(), 2);
    db.execute("DELETE FROM Mesterskaber WHERE RecNr <> ?", {second});
    EXPECT_EQ(list.Mesterskabsliste->model()->rowCount(), 1);

    // New: a row is added and the dialog opens on it; a double click opens it too.
    long long opened = 0;
    test::onModal([&](QWidget* w) { opened = w->findChild<QLineEdit*>("Nr") ? 1 : 0; });
    list.cmdNy->click();
    EXPECT_EQ(opened, 1);
    EXPECT_EQ(db.scalar("SELECT count(*) FROM Mesterskaber").toInt(), 2);
    bool viaDoubleClick = false;
    test::onModal([&](QWidget*) { viaDoubleClick = true; });
    test::doubleClick(list.Mesterskabsliste, list.Mesterskabsliste->model()->index(0, 0));
    EXPECT_TRUE(viaDoubleClick);
}

}  // namespace
