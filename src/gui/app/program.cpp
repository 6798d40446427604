#include "gui/app/program.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QProgressBar>
#include <QThread>

#include "core/app/startup.h"
#include "core/base/text.h"
#include "gui/app/splash.h"

namespace vemora::gui {

std::unique_ptr<Program> Main(const MainOptions& options) {
    auto prog = std::make_unique<Program>();
    AppState& app = prog->app;
    app.ui = &prog->ui;
    app.today = options.today;
    SetBusy(app, true);

    QString folder = options.folder.isEmpty() ? QCoreApplication::applicationDirPath() : options.folder;
    initAppState(app, folder.toStdString());

    QElapsedTimer startTick;
    startTick.start();
    QDir::setCurrent(QString::fromStdString(app.appPath.string()));

    QString picture;
    if (auto f = findFirstWithPrefix(app.appPath, "OPSTART.")) picture = QString::fromStdString(f->string());
    auto splash = std::make_unique<Splash>(QString::fromStdString(federationName(app.land)), picture);
    splash->show();
    SplashProgress(splash.get(), startTick);

    // Reports its own problems; start-up goes on without a database, or with one that can only
    // be read, unless the user chose to end the program at an upgrade error.
    OpenResult opened = openSectionDatabaseWith(app, [&] { SplashProgress(splash.get(), startTick); });
    SplashProgress(splash.get(), startTick);
    if (opened == OpenResult::Ended) {
        SetBusy(app, false);
        return nullptr;
    }

    app.currentWeek = CurrentWeekFor(app.today());

    splash->status()->setMaximum(std::max(1, options.splashHoldMs));
    while (startTick.elapsed() < options.splashHoldMs) {
        SplashProgress(splash.get(), startTick);
        QThread::msleep(15);
    }
    SplashProgress(splash.get(), startTick);
    splash.reset();
    SetBusy(app, false);

    prog->window = std::make_unique<MainWindow>(app);
    prog->ui.setParent(prog->window.get());
    prog->window->show();
    return prog;
}

}  // namespace vemora::gui
