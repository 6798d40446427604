#include <gtest/gtest.h>

#include <QCheckBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalSpy>
#include <QTabWidget>
#include <QTableView>

#include "core/db/schema.h"
#include "gui/settings/indskud.h"
#include "gui/settings/prizetemplatemodel.h"
#include "gui/settings/settings_gui_support.h"
#include "support/testdb.h"

using namespace vemora;
using vemora::gui::Indskud;
using namespace vemora::test;

namespace {

struct SettingsIndskudForm : ::testing::Test {
    TestApp t;
    Database& db = t.db();
    std::unique_ptr<Indskud> dlg;

    void open() {
        dlg = std::make_unique<Indskud>(t.app);
        showActive(dlg.get());
    }
    QLineEdit* box(const char* name) { return dlg->findChild<QLineEdit*>(name); }
    QTabWidget* tabs() { return dlg->findChild<QTabWidget*>("SSTab1"); }
    void showTab(int i) {
        tabs()->setCurrentIndex(i);
        settle();
    }
    void fillPointTable() {
        for (const auto& k : pointTableKinds())
            db.exec("UPDATE Markering SET SE_PointPrSlag" + k + " = 3, SE_PointStep" + k + " = 10");
    }
    int marked() { return static_cast<int>(db.scalar("SELECT count(*) FROM Kapflyvninger WHERE Beregn = 1").toInt()); }
};

}  // namespace

// Each kind of box once, as the user types it; the rules themselves are checked in core.
TEST_F(SettingsIndskudForm, TypedEntriesFollowTheBoxRulesAndAreSaved) {
    db.exec("INSERT INTO Kapflyvninger (Uge, Farvekode, Beregn) VALUES (20, '91 - Orange skema', 0), "
            "(20, '92 - Grøn', 0)");
    fillPointTable();
    open();
    EXPECT_EQ(dlg->windowTitle(), "Indskud, præmier og markeringer");
    EXPECT_EQ(QApplication::focusWidget(), box("Sektionsnavn"));
    typeInto(box("Sektionsnr"), "7a");  // the letter is refused
    leave(box("Sektionsnr"));
    EXPECT_EQ(box("Sektionsnr")->text(), "007");
    EXPECT_EQ(QApplication::focusWidget(), box("Sektionsnavn"));

    showTab(1);
    typeInto(box("IndskudBeløb0"), "25");
    leave(box("IndskudBeløb0"));
    typeInto(box("IndskudBeløb16"), "");
    leave(box("IndskudBeløb16"));
    EXPECT_EQ(box("IndskudBeløb16")->text(), "0");

    showTab(2);
    typeInto(box("NumberField0"), "1,5");
    leave(box("NumberField0"));

    showTab(3);
    typeInto(box("MestPoint91"), "");
    EXPECT_EQ(box("MestPoint91")->text(), "1000");  // at once, before the box is left
    typeInto(box("MestPoint91"), "900");
    leave(box("MestPoint91"));
    typeInto(box("SE_PointPrSlag93"), "");  // clearing "Duer pr. slag" clears the step
    leave(box("SE_PointPrSlag93"));
    EXPECT_EQ(box("SE_PointStep93")->text(), "");
    typeInto(box("SE_PointStep94"), "");
    leave(box("SE_PointStep94"));
    typeInto(box("SE_PointStep94"), "2");  // a step alone brings 2 birds per loft
    leave(box("SE_PointStep94"));
    EXPECT_EQ(box("SE_PointPrSlag94")->text(), "2");

    QTest::mouseClick(dlg->findChild<QPushButton*>("cmdClose"), Qt::LeftButton);
    settle();
    EXPECT_FALSE(dlg->isVisible());
    EXPECT_TRUE(t.ui.shown.empty()) << lastMessage(t.ui);
    EXPECT_EQ(test::rowsText(db, "SELECT (SELECT Sektionsnr FROM Generelt), (SELECT A_Klasse1 FROM Indskud), Præmiefaktor_A, "
                                 "MestPoint91, SE_PointPrSlag93, SE_PointStep93, SE_PointPrSlag94 FROM Markering"),
              "007|25|1.5|900|-|-|2\n");
    // Only the races of the changed kinds are marked; 92 was filled in and left alone.
    EXPECT_EQ(db.scalar("SELECT group_concat(substr(Farvekode, 1, 2)) FROM Kapflyvninger WHERE Beregn = 1").toText(), "91");

    // Switching the point system marks every race.
    open();
    showTab(3);
    QTest::mouseClick(dlg->findChild<QRadioButton*>("btnPlaceringspoint"), Qt::LeftButton);
    dlg->close();
    EXPECT_EQ(marked(), 2);
    EXPECT_EQ(db.scalar("SELECT Pointsystem FROM Markering").toInt(), 1);
}

TEST_F(SettingsIndskudForm, AFailingSaveShowsItsStepOnItsTabAndKeepsTheEntries) {
    open();
    typeInto(box("Sektionsnavn"), "Sektion 12");
    showTab(3);
    db.exec("PRAGMA query_only = ON");
    dlg->close();
    EXPECT_TRUE(dlg->isVisible());
    EXPECT_EQ(tabs()->currentIndex(), 0);
    EXPECT_EQ(lastMessage(t.ui), "Fejl: Fejl ved lagring af sektionsdata.");
    EXPECT_EQ(t.ui.shown.back().icon, Icon::Exclamation);
    EXPECT_EQ(box("Sektionsnavn")->text(), "Sektion 12");
    db.exec("PRAGMA query_only = OFF");

    // The stakes step refuses: the dialog opens its tab; the stake typed is still there.
    db.exec("CREATE TRIGGER stop_stakes BEFORE UPDATE ON Indskud BEGIN SELECT RAISE(ABORT, 'låst'); END");
    showTab(1);
    typeInto(box("IndskudBeløb3"), "40");
    showTab(3);
    dlg->close();
    EXPECT_TRUE(dlg->isVisible());
    EXPECT_EQ(tabs()->currentIndex(), 1);
    EXPECT_EQ(lastMessage(t.ui), "Fejl: Fejl ved lagring af indskud.");
    EXPECT_EQ(box("IndskudBeløb3")->text(), "40");
    EXPECT_EQ(db.scalar("SELECT A_Klasse4 FROM Indskud").toInt(), 0);
    db.exec("DROP TRIGGER stop_stakes");

    // The template step refuses: the prizes tab with the focus in the grid.
    db.exec("CREATE TRIGGER stop_prizes BEFORE INSERT ON Kontantpræmier_Init BEGIN SELECT RAISE(ABORT, 'låst'); END");
    auto* grid = dlg->findChild<QTableView*>("Præmier");
    ASSERT_TRUE(grid->model()->setData(grid->model()->index(0, 1), "500"));
    showTab(0);
    dlg->close();
    EXPECT_TRUE(dlg->isVisible());
    EXPECT_EQ(tabs()->currentIndex(), 2);
    EXPECT_EQ(lastMessage(t.ui), "Fejl: Fejl ved lagring af præmier.");
    EXPECT_TRUE(grid->hasFocus() || grid->isAncestorOf(QApplication::focusWidget()));
    db.exec("DROP TRIGGER stop_prizes");

    dlg->close();
    EXPECT_FALSE(dlg->isVisible());
    EXPECT_EQ(db.scalar("SELECT A_Klasse4 FROM Indskud").toInt(), 40);
    EXPECT_EQ(db.scalar("SELECT Værdi FROM Kontantpræmier_Init").toInt(), 500);
}

TEST_F(SettingsIndskudForm, TemplateGridWritesOnlyWhenAnotherTemplateIsChosen) {
    db.exec("INSERT INTO Kontantpræmier_Init (Antal, Værdi) VALUES (1, 100), (2, 300)");
    db.exec("INSERT INTO Slagpræmier_Init (Antal, Værdi) VALUES (5, 20)");
    open();
    showTab(2);
    auto* grid = dlg->findChild<QTableView*>("Præmier");
    auto* model = grid->model();
    EXPECT_EQ(model->rowCount(), 3);  // two rows, highest value first, and the new-row line
    EXPECT_EQ(model->data(model->index(0, 1)).toString(), "300");

    // Typing in the grid: Antal of the first row, then Enter moves on to Værdi.
    grid->setFocus();
    grid->setCurrentIndex(model->index(0, 0));
    QTest::keyClick(grid, Qt::Key_F2);
    QWidget* editor = QApplication::focusWidget();
    ASSERT_TRUE(grid->isAncestorOf(editor));
    settle();
    QTest::keyClick(editor, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClicks(editor, "4");
    QTest::keyClick(editor, Qt::Key_Return);
    settle();
    EXPECT_EQ(model->data(model->index(0, 0)).toString(), "4");
    EXPECT_EQ(grid->currentIndex(), model->index(0, 1));

    // The row is written once Enter leaves its last column.
    EXPECT_EQ(db.scalar("SELECT Antal FROM Kontantpræmier_Init WHERE Værdi = 300").toInt(), 2);
    QTest::keyClick(grid, Qt::Key_Return);
    settle();
    EXPECT_EQ(grid->currentIndex(), model->index(1, 0));
    EXPECT_EQ(db.scalar("SELECT Antal FROM Kontantpræmier_Init WHERE Værdi = 300").toInt(), 4);

    // A pending edit is not written by the button of the template already shown.
    ASSERT_TRUE(model->setData(model->index(1, 0), "7"));
    QSignalSpy resets(model, &QAbstractItemModel::modelReset);
    QTest::mouseClick(dlg->findChild<QPushButton*>("btnPræmie0"), Qt::LeftButton);
    EXPECT_EQ(resets.count(), 0);
    EXPECT_EQ(db.scalar("SELECT Antal FROM Kontantpræmier_Init WHERE Værdi = 100").toInt(), 1);

    QTest::mouseClick(dlg->findChild<QPushButton*>("btnPræmie4"), Qt::LeftButton);
    EXPECT_EQ(resets.count(), 1);
    EXPECT_EQ(db.scalar("SELECT Antal FROM Kontantpræmier_Init WHERE Værdi = 100").toInt(), 7);
    EXPECT_EQ(model->data(model->index(0, 0)).toString(), "5");
    EXPECT_TRUE(dlg->findChild<QPushButton*>("btnPræmie4")->isChecked());

    // A new row typed on the last line, with a decimal comma.
    ASSERT_TRUE(model->setData(model->index(1, 1), "12,5"));
    grid->setFocus();
    QTest::keyClick(grid, Qt::Key_Escape);  // Esc closes, and saves, like the button
    EXPECT_FALSE(dlg->isVisible());
    EXPECT_DOUBLE_EQ(db.scalar("SELECT Værdi FROM Slagpræmier_Init WHERE Værdi < 20").toDouble(), 12.5);
    EXPECT_EQ(db.scalar("SELECT Antal FROM Slagpræmier_Init WHERE Værdi < 20").toInt(), 1);
}

// The bank's postal code is the same pair of boxes as a club's (checked with the club dialog);
// here only that it is wired to the shared list.
TEST_F(SettingsIndskudForm, PostalCodeOfTheBankUsesTheSharedList) {
    db.exec("INSERT INTO Postnr (Postnr, \"By\") VALUES ('9000', 'Aalborg')");
    open();
    QLineEdit* town = box("Sektionsfelt3");
    EXPECT_TRUE(town->isReadOnly());
    typeInto(box("Sektionsfelt2"), "9000");  // typed full: moves on by itself
    settle();
    EXPECT_EQ(town->text(), "Aalborg");
    EXPECT_EQ(QApplication::focusWidget(), town);
}
