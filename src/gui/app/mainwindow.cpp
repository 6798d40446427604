#include "gui/app/mainwindow.h"

#include <QAction>
#include <QApplication>
#include <QImageReader>
#include <QMdiSubWindow>
#include <QMenuBar>
#include <QPainter>
#include <map>

#include "core/app/startup.h"
#include "core/base/text.h"

namespace vemora::gui {

struct Command {
    MenuCommand open;
    bool needsDatabase;
};

static std::map<std::string, Command>& commands() {
    static std::map<std::string, Command> c;
    return c;
}

RegisterMenuCommand::RegisterMenuCommand(const char* name, MenuCommand open, bool needsDatabase) {
    commands()[name] = {std::move(open), needsDatabase};
}

void LogoArea::setLogo(const QPixmap& logo) {
    logo_ = logo;
    viewport()->update();
}

void LogoArea::paintEvent(QPaintEvent* e) {
    QMdiArea::paintEvent(e);
    if (logo_.isNull()) return;
    QPainter p(viewport());
    // Centred in the inner area; a smaller window gives negative offsets and clips the logo.
    int x = (viewport()->width() - logo_.width()) / 2;
    int y = (viewport()->height() - logo_.height()) / 2;
    p.drawPixmap(x, y, logo_);
}

MainWindow::MainWindow(AppState& app, QWidget* parent) : QMainWindow(parent), app_(app) {
    setObjectName("MainWindow");
    setWindowTitle(QString::fromStdString(mainWindowTitle(app_.land)));
    area_ = new LogoArea(this);
    area_->setObjectName("Baggrund");
    setCentralWidget(area_);
    if (auto f = findFileNoCase(app_.appPath, "LOGO.BMP")) {
        QImageReader reader(QString::fromStdString(f->string()));
        QImage img = reader.read();
        if (!img.isNull()) area_->setLogo(QPixmap::fromImage(img));  // unreadable: no logo, no message
    }
    buildMenu();
    resize(1024, 720);
    // The whole-database backup, the restore and the repair close the database file: no
    // child window may still be reading it.
    app_.closeOtherWindows = [this] { return closeAllChildren(); };
}

MainWindow::~MainWindow() { app_.closeOtherWindows = nullptr; }

void MainWindow::buildMenu() {
    auto add = [this](QMenu* menu, const char* name, const QString& caption) {
        QAction* a = menu->addAction(caption);
        a->setObjectName(name);
        auto it = commands().find(name);
        a->setEnabled(it != commands().end());
        if (it != commands().end()) {
            Command cmd = it->second;
            connect(a, &QAction::triggered, this, [this, cmd] {
                // A database that could not be opened at start (another program held it, it
                // was write-protected) is tried again, so the secretary need not restart the
                // program once the cause is gone; a form that still cannot reach it reports
                // the problem instead of taking the program down.
                try {
                    if (cmd.needsDatabase) {
                        if (!app_.db && !openSectionDatabase(app_) && !app_.db) return;
                        app_.database();  // every form works on the section database
                    }
                    cmd.open(*this);
                } catch (const std::exception& e) {
                    while (app_.busyCounter > 0) SetBusy(app_, false);
                    app_.userInterface().message(e.what(), "Fejl", Icon::Exclamation);
                }
            });
        }
        return a;
    };
    auto sep = [](QMenu* menu, const char* name) { menu->addSeparator()->setObjectName(name); };

    QMenu* filer = menuBar()->addMenu("&Filer");
    filer->setObjectName("mnuFiler");
    add(filer, "mnuUdskriv", "&Udskriv");
    sep(filer, "mnuSep1");
    add(filer, "mnuImporter", "&Importer");
    add(filer, "mnuExportStat", "&Eksporter");
    QAction* season = add(filer, "mnuStartSæson", "&Start sæson");
    season->setEnabled(true);
    connect(season, &QAction::triggered, this, &MainWindow::mnuStartSæson_Click);
    add(filer, "mnuBackup", "&Backup");
    sep(filer, "mnuSep2");
    QAction* quit = add(filer, "mnuAfslut", "&Afslut");
    quit->setEnabled(true);
    connect(quit, &QAction::triggered, this, &QWidget::close);

    QMenu* vis = menuBar()->addMenu("&Vis");
    vis->setObjectName("mnuVis");
    add(vis, "mnuForeninger", "&Foreninger");
    add(vis, "mnuKapflyvninger", "&Kapflyvninger");
    add(vis, "mnuMesterskaber", "&Mesterskaber");
    add(vis, "mnuIndskud", "&Indskud, præmier og sektionsdata");
    add(vis, "mnuImportFejl", "Importfe&jl");

    QMenu* vindue = menuBar()->addMenu("Vi&ndue");
    vindue->setObjectName("nmuVindue");
    struct Arr {
        const char* name;
        const char* caption;
        void (MainWindow::*fn)();
    };
    for (Arr a : {Arr{"mnuFordelLodret", "Fordel &lodret", &MainWindow::tileVertically},
                  Arr{"mnuFordelVandret", "Fordel &vandret", &MainWindow::tileHorizontally},
                  Arr{"mnuOverlap", "&Overlap", &MainWindow::cascade},
                  Arr{"mnuArrangerIkoner", "&Arranger ikoner", &MainWindow::arrangeIcons}}) {
        QAction* act = add(vindue, a.name, a.caption);
        act->setEnabled(true);
        connect(act, &QAction::triggered, this, a.fn);
    }
}

QWidget* MainWindow::showChild(QWidget* form) {
    for (QMdiSubWindow* sw : area_->subWindowList()) {
        if (sw->widget() && sw->widget()->objectName() == form->objectName()) {
            form->deleteLater();
            if (sw->isMinimized()) sw->showNormal();
            area_->setActiveSubWindow(sw);
            return sw->widget();
        }
    }
    QMdiSubWindow* sw = area_->addSubWindow(form);
    sw->setAttribute(Qt::WA_DeleteOnClose);
    form->setAttribute(Qt::WA_DeleteOnClose);
    sw->show();
    area_->setActiveSubWindow(sw);
    return form;
}

void MainWindow::bringToFront() {
    raise();
    activateWindow();
}

static QList<QMdiSubWindow*> normalWindows(QMdiArea* area) {
    QList<QMdiSubWindow*> out;
    for (QMdiSubWindow* sw : area->subWindowList())
        if (!sw->isMinimized() && sw->isVisible()) out << sw;
    return out;
}

void MainWindow::tileVertically() {
    auto list = normalWindows(area_);
    if (list.isEmpty()) return;
    QSize s = area_->viewport()->size();
    int w = s.width() / static_cast<int>(list.size());
    for (int i = 0; i < list.size(); ++i) {
        list[i]->showNormal();
        list[i]->setGeometry(i * w, 0, w, s.height());
    }
}

void MainWindow::tileHorizontally() {
    auto list = normalWindows(area_);
    if (list.isEmpty()) return;
    QSize s = area_->viewport()->size();
    int h = s.height() / static_cast<int>(list.size());
    for (int i = 0; i < list.size(); ++i) {
        list[i]->showNormal();
        list[i]->setGeometry(0, i * h, s.width(), h);
    }
}

void MainWindow::cascade() { area_->cascadeSubWindows(); }

void MainWindow::arrangeIcons() {
    QSize s = area_->viewport()->size();
    int x = 0, y = s.height();
    for (QMdiSubWindow* sw : area_->subWindowList()) {
        if (!sw->isMinimized()) continue;
        QSize is = sw->size();
        if (x + is.width() > s.width() && x > 0) {
            x = 0;
            y -= is.height();
        }
        sw->move(x, y - is.height());
        x += is.width();
    }
}

bool MainWindow::closeAllChildren() {
    for (QMdiSubWindow* sw : area_->subWindowList()) {
        if (!sw->close()) return false;
        // Gone at once, so that the list is right for whoever asks next.
        sw->setParent(nullptr);
        sw->deleteLater();
    }
    return area_->subWindowList().isEmpty();
}

// Open lists learn of the deleted races from the commit.
void MainWindow::mnuStartSæson_Click() { StartSeason(app_); }

}  // namespace vemora::gui
