#include <gtest/gtest.h>

#include <QPushButton>
#include <QTabWidget>
#include <QTableView>

#include "gui/settings/foreninger.h"
#include "gui/settings/settings_gui_support.h"
#include "support/testdb.h"

using namespace vemora;
using namespace vemora::test;
using vemora::gui::ForeningsDialog;
using vemora::gui::Foreninger;

namespace {

QLineEdit* felt(QWidget* dlg, int i) { return dlg->findChild<QLineEdit*>(QString("Foreningsfelt%1").arg(i)); }

struct SettingsForeningerForm : ::testing::Test {
    TestApp t;
    Database& db = t.db();
    int64_t addClub(const std::string& nr, const std::string& navn) {
        db.execute("INSERT INTO Foreninger (Nr, Navn) VALUES (?, ?)", {Value(nr), Value(navn)});
        return db.lastInsertId();
    }
};

}  // namespace

TEST_F(SettingsForeningerForm, NewClubIsTypedInTheDialogAndShownInTheList) {
    db.exec("INSERT INTO Postnr (Postnr, \"By\") VALUES ('7800', 'Skive')");
    Foreninger list(t.app);
    showActive(&list);
    EXPECT_EQ(list.grid()->model()->headerData(1, Qt::Horizontal).toString(), "Navn");
    EXPECT_EQ(list.grid()->model()->headerData(2, Qt::Horizontal).toString(), "Kontakt");

    QString title;
    QStringList tabs;
    onModal([&](QWidget* dlg) {
        title = dlg->windowTitle();
        auto* tw = dlg->findChild<QTabWidget*>();
        tabs = entries(tw);
        auto* nr = dlg->findChild<QLineEdit*>("Foreningsnr");
        EXPECT_EQ(QApplication::focusWidget(), nr);
        QTest::keyClicks(nr, "5");
        leave(nr);
        EXPECT_EQ(nr->text(), "005");
        EXPECT_EQ(QApplication::focusWidget(), felt(dlg, 0));
        QTest::keyClicks(felt(dlg, 0), "Brevduer Nord");
        typeInto(felt(dlg, 3), "880");
        leave(felt(dlg, 3));
        EXPECT_EQ(lastMessage(t.ui), "Fejl: Indtast 4-cifret postnummer.");
        EXPECT_EQ(QApplication::focusWidget(), felt(dlg, 3));
        typeInto(felt(dlg, 3), "8800");  // new code: added at once, town typed next
        settle();
        EXPECT_EQ(db.scalar("SELECT count(*) FROM Postnr WHERE Postnr = '8800'").toInt(), 1);
        EXPECT_EQ(QApplication::focusWidget(), felt(dlg, 4));
        QTest::keyClicks(felt(dlg, 4), "Viborg");
        leave(felt(dlg, 4));
        tw->setCurrentIndex(1);
        typeInto(felt(dlg, 7), "7800");
        settle();
        EXPECT_EQ(felt(dlg, 8)->text(), "Skive");
        typeInto(felt(dlg, 9), "12a34");
        QTest::mouseClick(dlg->findChild<QPushButton*>("cmdLuk"), Qt::LeftButton);
    });
    QTest::mouseClick(list.findChild<QPushButton*>("cmdNy"), Qt::LeftButton);
    EXPECT_EQ(title, "Rediger forening");
    EXPECT_EQ(tabs, (QStringList{"&Generelt", "&Bank"}));
    RowSet r = db.query("SELECT * FROM Foreninger");
    ASSERT_EQ(r.size(), 1u);
    EXPECT_EQ(r.get(0, "Nr").toText(), "005");
    EXPECT_EQ(r.get(0, "Kontakt_Postnr").toText(), "8800");
    EXPECT_EQ(r.get(0, "Regnr").toText(), "1234");
    EXPECT_TRUE(r.get(0, "Kontakt").isNull());
    EXPECT_EQ(db.scalar("SELECT \"By\" FROM Postnr WHERE Postnr = '8800'").toText(), "Viborg");
    // The list was refreshed and stands on the new club.
    ASSERT_TRUE(list.grid()->currentIndex().isValid());
    EXPECT_EQ(list.grid()->model()->data(list.grid()->model()->index(list.grid()->currentIndex().row(), 0)).toString(), "005");

    // The town of the new code shows in another club's dialog.
    int64_t other = addClub("006", "Syd");
    ForeningsDialog dlg(t.app, other);
    showActive(&dlg);
    typeInto(felt(&dlg, 7), "8800");
    settle();
    EXPECT_EQ(felt(&dlg, 8)->text(), "Viborg");
    // A town corrected just before Esc is stored too.
    typeInto(felt(&dlg, 8), "Viborg C");
    QTest::keyClick(felt(&dlg, 8), Qt::Key_Escape);
    EXPECT_FALSE(dlg.isVisible());
    EXPECT_EQ(db.scalar("SELECT \"By\" FROM Postnr WHERE Postnr = '8800'").toText(), "Viborg C");
}

TEST_F(SettingsForeningerForm, EditingNeedsAClubAndADoubleClickEdits) {
    Foreninger list(t.app);
    showActive(&list);
    QTest::mouseClick(list.findChild<QPushButton*>("cmdRediger"), Qt::LeftButton);
    EXPECT_EQ(lastMessage(t.ui), "Fejl: Der er ikke markeret nogen forening.");

    addClub("010", "Nord");
    addClub("003", "Vest");
    list.refresh();
    auto* grid = list.grid();
    EXPECT_EQ(grid->model()->data(grid->model()->index(0, 0)).toString(), "003");
    QString shownNr;
    onModal([&](QWidget* dlg) {
        shownNr = dlg->findChild<QLineEdit*>("Foreningsnr")->text();
        typeInto(felt(dlg, 0), "Nordkysten");
    });
    doubleClick(grid, grid->model()->index(1, 1));
    EXPECT_EQ(shownNr, "010");
    EXPECT_EQ(db.scalar("SELECT Navn FROM Foreninger WHERE Nr = '010'").toText(), "Nordkysten");
}

TEST_F(SettingsForeningerForm, DeleteMarksEveryRaceAndAFailedSaveKeepsTheDialogOpen) {
    db.exec("INSERT INTO Kapflyvninger (Uge, Farvekode, Beregn) VALUES (20, '91', 0), (21, '97', 0)");
    addClub("001", "A");
    addClub("002", "B");
    addClub("003", "C");
    Foreninger list(t.app);
    showActive(&list);
    list.grid()->selectRow(1);
    QTest::mouseClick(list.findChild<QPushButton*>("cmdSlet"), Qt::LeftButton);
    EXPECT_TRUE(t.ui.shown.empty());
    EXPECT_EQ(db.scalar("SELECT group_concat(Nr) FROM Foreninger").toText(), "001,003");
    EXPECT_EQ(db.scalar("SELECT count(*) FROM Kapflyvninger WHERE Beregn = 1").toInt(), 2);
    EXPECT_EQ(list.grid()->currentIndex().row(), 1);  // the next club took its place

    db.exec("PRAGMA query_only = ON");
    QTest::mouseClick(list.findChild<QPushButton*>("cmdSlet"), Qt::LeftButton);
    EXPECT_EQ(lastMessage(t.ui), "Fejl: Fejl ved sletning af forening.");

    ForeningsDialog dlg(t.app, db.scalar("SELECT RecNr FROM Foreninger WHERE Nr = '001'").toInt());
    showActive(&dlg);
    typeInto(felt(&dlg, 1), "Hans");
    dlg.close();
    EXPECT_TRUE(dlg.isVisible());
    EXPECT_EQ(lastMessage(t.ui), "Fejl: Fejl ved lagring af forening.");
    EXPECT_EQ(felt(&dlg, 1)->text(), "Hans");
    db.exec("PRAGMA query_only = OFF");
    dlg.close();
    EXPECT_FALSE(dlg.isVisible());
    EXPECT_EQ(db.scalar("SELECT Kontakt FROM Foreninger WHERE Nr = '001'").toText(), "Hans");
}
