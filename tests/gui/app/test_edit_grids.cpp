// The two prize grids (the section's templates and a race's scales) typed into as a secretary
// does, and the number boxes of the settings dialog.
#include <gtest/gtest.h>

#include <QAction>
#include <QRadioButton>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTableView>

#include "core/races/races.h"
#include "gui/races/kapflyvningsdialog.h"
#include "gui/races/prizemodel.h"
#include "gui/settings/indskud.h"
#include "gui/gui_keys.h"
#include "support/testdb.h"

using namespace vemora;
using namespace vemora::gui;
using namespace vemora::test;

namespace {

using Rows = std::vector<std::pair<double, double>>;

Rows prizeRows(Database& db, const std::string& table, const std::string& where = "") {
    Rows out;
    for (auto& r : db.query("SELECT Antal, Værdi FROM " + table + where + " ORDER BY rowid").rows)
        out.emplace_back(r[0].toDouble(), r[1].toDouble());
    return out;
}

void clickCell(QTableView* grid, int row, int col) {
    QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, grid->visualRect(grid->model()->index(row, col)).center());
    settle();
}

// What the keys "text Enter" do, for each text in turn.
void typeCells(std::initializer_list<const char*> cells) {
    for (const char* c : cells) {
        typeKeys(QString::fromUtf8(c));
        press(Qt::Key_Return);
    }
}

}  // namespace

TEST(PrizeGrids, TemplateRowsAreStoredAsTypedAndCanBeDeleted) {
    TestApp t;
    Indskud dlg(t.app);
    showActive(&dlg);
    dlg.findChild<QTabWidget*>("SSTab1")->setCurrentIndex(2);
    settle();
    auto* grid = dlg.findChild<QTableView*>("Præmier");
    clickCell(grid, 0, 0);

    // Enter in "Antal" moves on to "Værdi" and stores nothing yet.
    typeCells({"1"});
    EXPECT_EQ(grid->currentIndex(), grid->model()->index(0, 1));
    EXPECT_TRUE(prizeRows(t.db(), "Kontantpræmier_Init").empty());
    typeCells({"500", "2", "250"});
    EXPECT_EQ(prizeRows(t.db(), "Kontantpræmier_Init"), (Rows{{1, 500}, {2, 250}}));
    EXPECT_EQ(grid->currentIndex(), grid->model()->index(2, 0));  // on the empty line, nothing opened
    EXPECT_TRUE(t.ui.messages().empty());

    // Letters are not taken; a decimal comma is, once.
    typeKeys("3x");
    press(Qt::Key_Return);
    typeCells({"12,5,5"});
    EXPECT_EQ(prizeRows(t.db(), "Kontantpræmier_Init").back(), (std::pair<double, double>{3, 12.55}));

    // The Delete key deletes the current row; so does the grid's context menu.
    clickCell(grid, 1, 0);
    press(Qt::Key_Delete);
    EXPECT_EQ(prizeRows(t.db(), "Kontantpræmier_Init"), (Rows{{1, 500}, {3, 12.55}}));
    clickCell(grid, 1, 1);
    QAction* slet = nullptr;
    for (QAction* a : grid->actions())
        if (a->text() == "&Slet række") slet = a;
    ASSERT_NE(slet, nullptr);
    slet->trigger();
    EXPECT_EQ(prizeRows(t.db(), "Kontantpræmier_Init"), (Rows{{1, 500}}));

    // New races copy what was typed, and nothing else.
    dlg.close();
    long long nr = races::CreateRace(t.app, "20", "95 - Blå skema").nr;
    EXPECT_EQ(prizeRows(t.db(), "Kontantpræmier", " WHERE Kapflyvning = " + std::to_string(nr)), (Rows{{1, 500}}));
    EXPECT_TRUE(t.ui.messages().empty());
}

TEST(PrizeGrids, RaceScaleTakesNumbersOnlyAndRefusesEmptiedCells) {
    TestApp t;
    long long nr = races::CreateRace(t.app, "20", "95 - Blå skema").nr;
    t.db().execute("UPDATE Kapflyvninger SET Kl_Z = 1 WHERE Nr = ?", {nr});
    Kapflyvningsdialog dlg(t.app);
    dlg.setRace(nr);
    showActive(&dlg);
    dlg.SSTab1->setCurrentIndex(1);
    settle();
    click(dlg.btnPræmie[5]);  // "&Z-spilspræmier"
    const std::string z = "\"Z-spils-præmier\"";
    clickCell(dlg.Præmier, 0, 0);

    typeKeys("ab");  // nothing: the cell takes digits only
    press(Qt::Key_Return);
    EXPECT_TRUE(prizeRows(t.db(), z).empty());
    EXPECT_EQ(dlg.Præmier->currentIndex().column(), 1);
    typeCells({"120,5"});  // one prize (the field's default) of 120,50 kroner
    EXPECT_EQ(dlg.Præmier->currentIndex(), dlg.prizeModel()->index(1, 0));
    typeCells({"4", "40"});
    EXPECT_EQ(prizeRows(t.db(), z), (Rows{{1, 120.5}, {4, 40}}));
    EXPECT_EQ(dlg.prizeModel()->index(1, 2).data().toString(), QString::number(nr));  // the race of the new row

    // An emptied cell is refused with the grid's message and keeps its value.
    clickCell(dlg.Præmier, 0, 1);
    press(Qt::Key_F2);
    QTest::keyClick(focused(), Qt::Key_A, Qt::ControlModifier);
    press(Qt::Key_Backspace);
    press(Qt::Key_Return);
    EXPECT_EQ(t.ui.messages(), std::vector<std::string>{"Fejl: Kolonnen skal udfyldes."});
    EXPECT_EQ(dlg.prizeModel()->index(0, 1).data().toString(), "120,5");
    EXPECT_EQ(dlg.Præmier->currentIndex(), dlg.prizeModel()->index(0, 1));

    press(Qt::Key_Delete);
    EXPECT_EQ(prizeRows(t.db(), z), (Rows{{4, 40}}));
    dlg.close();
    EXPECT_FALSE(dlg.isVisible());
}

TEST(PrizeGrids, FactorBoxTakesOneDecimalCommaAndAFailingFieldIsShown) {
    TestApp t;
    Indskud dlg(t.app);
    showActive(&dlg);
    auto* tabs = dlg.findChild<QTabWidget*>("SSTab1");
    tabs->setCurrentIndex(2);
    settle();
    auto* factor = dlg.findChild<QLineEdit*>("NumberField0");
    typeOver(factor, "2,5,5");
    EXPECT_EQ(factor->text(), "2,55");

    // A factor that reached the box some other way (pasted before the rule) fails the save:
    // the dialog shows that box, not the first tab.
    factor->setText("2,5,5");
    tabs->setCurrentIndex(0);
    settle();
    click(dlg.findChild<QPushButton*>("cmdClose"));
    EXPECT_TRUE(dlg.isVisible());
    EXPECT_EQ(t.ui.messages(), std::vector<std::string>{"Fejl: Fejl ved lagring af sektionsdata."});
    EXPECT_EQ(tabs->currentIndex(), 2);
    EXPECT_EQ(focused(), factor);
}
