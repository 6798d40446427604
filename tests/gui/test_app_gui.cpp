#include <gtest/gtest.h>

#include <QAction>
#include <QCheckBox>
#include <QDir>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QMdiSubWindow>
#include <QProgressBar>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <QVBoxLayout>

#include "gui/app/behaviours.h"
#include "gui/app/filplacering.h"
#include "gui/app/mainwindow.h"
#include "gui/app/program.h"
#include "gui/app/splash.h"
#include "support/testdb.h"

using namespace vemora;
using namespace vemora::gui;

TEST(AppGui, MainStartsWithoutWaitingWhenTheHoldIsOff) {
    test::TempFolder f;
    f.write("CONFIG.INI", "[Generelt]\nLand=NO\n");
    MainOptions o;
    o.folder = QString::fromStdString(f.path().string());
    o.splashHoldMs = 0;
    o.today = [] { return Date{std::chrono::year(2027), std::chrono::January, std::chrono::day(4)}; };
    auto p = Main(o);
    ASSERT_TRUE(p->window);
    EXPECT_EQ(p->window->windowTitle(), "Ostrelin - Vemora - 21-05-2014");
    EXPECT_EQ(p->app.currentWeek, 53);  // a Monday in week 1 still works on the last week
    EXPECT_TRUE(std::filesystem::exists(f.path() / "SEKDATA.MDB"));
    EXPECT_EQ(p->app.busyCounter, 0);
}

TEST(AppGui, SplashShowsTheFederationAndAPictureFileWhenItLoads) {
    test::TempFolder f;
    QImage img(20, 10, QImage::Format_RGB32);
    img.fill(Qt::red);
    QString pic = QString::fromStdString((f.path() / "OPSTART.PNG").string());
    img.save(pic);
    Splash s("Vendrasa", pic);
    EXPECT_EQ(s.lblForbund()->text(), "Vendrasa");
    EXPECT_EQ(s.image()->pixmap().size(), QSize(20, 10));
    EXPECT_EQ(s.status()->maximum(), 5000);
    f.write("OPSTART.JPG", "not a picture");
    Splash broken("Tavrenia", QString::fromStdString((f.path() / "OPSTART.JPG").string()));
    EXPECT_FALSE(broken.image()->pixmap().isNull());  // the designed picture stays
}

TEST(AppGui, LogoIsCentredAndClippedInSmallWindows) {
    test::TestApp t;
    QImage logo(100, 60, QImage::Format_RGB32);
    logo.fill(Qt::blue);
    logo.save(QString::fromStdString((t.folder.path() / "LOGO.BMP").string()), "BMP");
    MainWindow w(t.app);
    ASSERT_FALSE(w.mdiArea()->logo().isNull());
    w.mdiArea()->resize(300, 200);
    QImage shot = w.mdiArea()->viewport()->grab().toImage();
    QSize vs = w.mdiArea()->viewport()->size();
    EXPECT_EQ(shot.pixelColor(vs.width() / 2, vs.height() / 2), QColor(Qt::blue));
    EXPECT_NE(shot.pixelColor(2, 2), QColor(Qt::blue));
    w.mdiArea()->resize(60, 40);  // smaller than the logo: negative offsets, all logo
    QImage small = w.mdiArea()->viewport()->grab().toImage();
    EXPECT_EQ(small.pixelColor(1, 1), QColor(Qt::blue));
}

TEST(AppGui, ABrokenLogoLeavesTheBackgroundEmpty) {
    test::TestApp t;
    t.folder.write("logo.bmp", "BM garbage");
    MainWindow w(t.app);
    EXPECT_TRUE(w.mdiArea()->logo().isNull());
}

TEST(AppGui, ChildFormsOpenOnceAndArrange) {
    test::TestApp t;
    MainWindow w(t.app);
    w.resize(800, 600);
    w.show();
    auto* a = new QWidget;
    a->setObjectName("A");
    EXPECT_EQ(w.showChild(a), a);
    auto* again = new QWidget;
    again->setObjectName("A");
    EXPECT_EQ(w.showChild(again), a);  // the open one comes forward
    EXPECT_TRUE(IsFormLoaded("A"));
    auto* b = new QWidget;
    b->setObjectName("B");
    w.showChild(b);
    EXPECT_EQ(w.mdiArea()->subWindowList().size(), 2);
    w.tileVertically();
    auto subs = w.mdiArea()->subWindowList();
    EXPECT_EQ(subs[0]->geometry().top(), 0);
    EXPECT_EQ(subs[0]->height(), w.mdiArea()->viewport()->height());
    EXPECT_EQ(subs[1]->x(), subs[0]->width());
    w.tileHorizontally();
    EXPECT_EQ(subs[0]->width(), w.mdiArea()->viewport()->width());
    EXPECT_EQ(subs[1]->y(), subs[0]->height());
    FillMainWindow(b);
    EXPECT_EQ(b->parentWidget()->geometry(), QRect(QPoint(0, 0), w.mdiArea()->viewport()->size()));
}

// Digits only, padding and Enter as Tab are checked on the forms that use them; here what
// no form test sees: the text selected on arrival and Enter on a button.
TEST(AppGui, SharedKeyboardBehaviours) {
    QWidget form;
    auto* lay = new QVBoxLayout(&form);
    auto* nr = new QLineEdit(&form);
    auto* name = new QLineEdit(&form);
    auto* ok = new QPushButton("OK", &form);
    lay->addWidget(nr);
    lay->addWidget(name);
    lay->addWidget(ok);
    nr->setMaxLength(3);
    MovesOnWhenFull(nr);
    SelectAllOnFocus(name);
    EnterAsTab(&form);
    form.show();
    QApplication::setActiveWindow(&form);
    name->setText("Brevduen");
    nr->setFocus();
    QTest::keyClicks(nr, "123");  // typed full: moves on by itself, once the key is done
    QApplication::processEvents();
    EXPECT_TRUE(name->hasFocus());
    QApplication::processEvents();
    EXPECT_EQ(name->selectedText(), "Brevduen");
    EXPECT_EQ(textAtFocus(name), "Brevduen");
    QSignalSpy clicked(ok, &QPushButton::clicked);
    ok->setFocus();
    QTest::keyClick(ok, Qt::Key_Return);
    EXPECT_TRUE(clicked.count() == 1 || clicked.wait(1000));  // on a button Enter presses it
}

TEST(AppGui, FolderPickerListsTheFoldersOfADrive) {
    test::TempFolder f;
    std::filesystem::create_directories(f.path() / "uge23");
    Filplacering dlg(QString::fromStdString(f.path().string()));
    EXPECT_EQ(dlg.windowTitle(), "Filplacering");
    EXPECT_GT(dlg.Drev->count(), 0);
    EXPECT_EQ(QDir(dlg.folder()), QDir(QString::fromStdString(f.path().string())));
    dlg.Folder->setFolder(QString::fromStdString((f.path() / "uge23").string()));
    EXPECT_TRUE(dlg.folder().endsWith("uge23"));
}
