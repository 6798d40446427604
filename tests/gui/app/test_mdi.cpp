// The multiple-document window as a secretary meets it: access keys, cascading, the icon,
// lists that follow imports and fit their columns, drop-down lists, and fixed field widths.
#include <gtest/gtest.h>

#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>
#include <QMdiSubWindow>
#include <QMenu>
#include <QPushButton>
#include <QTableView>

#include "core/import/demo.h"
#include "core/races/races.h"
#include "core/settings/clubs.h"
#include "gui/app/icon.h"
#include "gui/app/mainwindow.h"
#include "gui/import/importfejl.h"
#include "gui/import/indlaes.h"
#include "gui/races/kapflyvninger.h"
#include "gui/races/kapflyvningsdialog.h"
#include "gui/settings/foreninger.h"
#include "gui/gui_keys.h"
#include "support/testdb.h"

using namespace vemora;
using namespace vemora::gui;
using namespace vemora::test;

namespace {

int clubs(TestApp& t) { return static_cast<int>(t.db().scalar("SELECT count(*) FROM Foreninger").toInt()); }

bool textFits(QTableView* grid, int column, const QString& text) {
    return grid->columnWidth(column) >= grid->fontMetrics().horizontalAdvance(text);
}

}  // namespace

TEST(Mdi, TheActiveChildsAccessKeysWinOverTheMenu) {
    TestApp t;
    MainWindow w(t.app);
    showActive(&w);

    // No child: Alt+N opens the menu "Vi&ndue".
    press(Qt::Key_N, Qt::AltModifier);
    auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
    ASSERT_NE(menu, nullptr);
    EXPECT_EQ(menu->objectName(), "nmuVindue");
    menu->close();
    settle();

    w.findChild<QAction*>("mnuForeninger")->trigger();
    w.findChild<QAction*>("mnuImportFejl")->trigger();
    settle();
    ASSERT_EQ(w.mdiArea()->activeSubWindow()->widget()->objectName(), "ImportFejl");

    // "&Slet alle viste" of the active list, not "&Slet" of the club list behind it.
    t.ui.answers = {Answer::No};
    press(Qt::Key_S, Qt::AltModifier);
    EXPECT_EQ(t.ui.messages(), std::vector<std::string>{"Slet: Ønskes alle viste importfejl slettet?"});

    // The club list's "&Ny" rather than the menu.
    w.mdiArea()->setActiveSubWindow(w.mdiArea()->subWindowList()[0]);
    settle();
    onModal([](QWidget*) {});
    press(Qt::Key_N, Qt::AltModifier);
    EXPECT_EQ(QApplication::activePopupWidget(), nullptr);
    EXPECT_EQ(clubs(t), 1);

    // A key the child does not use still opens its menu. (The window system gives the main
    // window back its activation when the club dialog closes; the offscreen one does not.)
    showActive(&w);
    press(Qt::Key_F, Qt::AltModifier);
    menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
    ASSERT_NE(menu, nullptr);
    EXPECT_EQ(menu->objectName(), "mnuFiler");
    menu->close();
}

TEST(Mdi, CascadedWindowsKeepAUsefulSize) {
    TestApp t;
    MainWindow w(t.app);
    w.resize(1024, 720);
    showActive(&w);
    for (const char* m : {"mnuForeninger", "mnuKapflyvninger", "mnuImportFejl"}) w.findChild<QAction*>(m)->trigger();
    settle();
    QMdiSubWindow* active = w.mdiArea()->activeSubWindow();
    w.findChild<QAction*>("mnuOverlap")->trigger();
    const QSize area = w.mdiArea()->viewport()->size();
    auto subs = w.mdiArea()->subWindowList(QMdiArea::StackingOrder);
    ASSERT_EQ(subs.size(), 3);
    for (int i = 0; i < subs.size(); ++i) {
        EXPECT_GE(subs[i]->width(), area.width() * 2 / 3) << i;
        EXPECT_GE(subs[i]->height(), area.height() * 2 / 3) << i;
        EXPECT_TRUE(QRect(QPoint(0, 0), area).contains(subs[i]->geometry())) << i;
        if (i > 0) {
            EXPECT_GT(subs[i]->y(), subs[i - 1]->y()) << i;  // each title bar shows
        }
    }
    EXPECT_EQ(w.mdiArea()->activeSubWindow(), active);
    EXPECT_EQ(subs.back(), active);
}

TEST(Mdi, EveryWindowShowsTheProgramsIcon) {
    TestApp t;
    MainWindow w(t.app);
    showActive(&w);
    w.findChild<QAction*>("mnuForeninger")->trigger();
    settle();
    const QImage own = programIcon().pixmap(32).toImage();
    ASSERT_FALSE(own.isNull());
    EXPECT_EQ(w.windowIcon().pixmap(32).toImage(), own);
    EXPECT_EQ(w.mdiArea()->subWindowList()[0]->windowIcon().pixmap(32).toImage(), own);
    Kapflyvningsdialog dlg(t.app);
    EXPECT_EQ(dlg.windowIcon().pixmap(32).toImage(), own);
}

TEST(Mdi, ClubListFollowsAnImportAndEditsTheNewClub) {
    TestApp t;
    TempFolder files;
    files.write("SEK12301.U23", formatHeader("123", "3.A") + "\r\n");
    MainWindow w(t.app);
    showActive(&w);
    w.findChild<QAction*>("mnuForeninger")->trigger();
    auto* list = qobject_cast<Foreninger*>(w.mdiArea()->subWindowList()[0]->widget());
    ASSERT_NE(list, nullptr);
    {
        Indlaes dlg(t.app, &w);
        dlg.setFolder(QString::fromStdString(files.path().string()));
        dlg.filer()->setCurrentRow(0);
        t.ui.answers = {Answer::Yes};  // create the club
        click(dlg.findChild<QPushButton*>("cmdOK"));
        EXPECT_EQ(t.ui.messages().back(), "Info: Indlæsning er afsluttet.");
    }
    ASSERT_EQ(list->grid()->model()->rowCount(), 1);
    QString opened;
    onModal([&opened](QWidget* d) { opened = d->objectName(); });
    click(list->findChild<QPushButton*>("cmdRediger"));
    EXPECT_EQ(opened, "ForeningsDialog");
    EXPECT_EQ(t.ui.messages().back(), "Info: Indlæsning er afsluttet.");
}

TEST(Mdi, ListColumnsFitTheRowsThatArriveLater) {
    TestApp t;
    Foreninger clubsList(t.app);
    Kapflyvninger races(t.app);
    showActive(&clubsList);
    const QString name = "Brevdueforeningen Sønderjylland og Omegn";
    t.db().execute("INSERT INTO Foreninger (Nr, Navn) VALUES ('007', ?)", {Value(name.toStdString())});
    races::CreateRace(t.app, "20", "97 - Privat");
    t.db().exec("UPDATE Kapflyvninger SET SlipDato = '2026-05-16'");
    EXPECT_TRUE(textFits(clubsList.grid(), 1, name));
    EXPECT_TRUE(textFits(races.Kapflyvningsliste, 2, "Privat"));
    EXPECT_TRUE(textFits(races.Kapflyvningsliste, 7, "16-05-2026"));
}

TEST(Mdi, RaceDialogHasFixedFieldsAndWideDropDowns) {
    TestApp t;
    long long nr = races::CreateRace(t.app, "20", "95 - Blå skema").nr;
    Kapflyvningsdialog plain(t.app);
    plain.setRace(nr);
    showActive(&plain);
    const QRect station = plain.Station->geometry(), date = plain.Slipdato->geometry();

    const QString far = "Vestre Landevej ved Grænsen";
    t.db().execute("INSERT INTO Stationer (Nr, Navn) VALUES ('104', ?)", {Value(far.toStdString())});
    t.db().exec("UPDATE Kapflyvninger SET Station = '104'");
    Kapflyvningsdialog named(t.app);
    named.setRace(nr);
    showActive(&named);
    EXPECT_EQ(named.Station->geometry(), station);
    EXPECT_EQ(named.Slipdato->geometry(), date);

    named.Station->showPopup();
    settle();
    EXPECT_GE(named.Station->view()->width(), named.Station->view()->fontMetrics().horizontalAdvance("104 - " + far));
    named.Station->hidePopup();
}
