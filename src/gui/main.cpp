#include <QApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QMessageBox>
#include <QTranslator>
#include <clocale>

#include "gui/app/program.h"

namespace {

// The last safety net: an error no form caught is shown as the engine's or the program's
// text in a "Fejl" box, and the program goes on, instead of ending with the user's work.
class VemoraApplication : public QApplication {
public:
    using QApplication::QApplication;
    vemora::AppState* app = nullptr;  // the running program's state, once start-up made it
    bool notify(QObject* receiver, QEvent* event) override {
        try {
            return QApplication::notify(receiver, event);
        } catch (const std::exception& e) {
            while (QApplication::overrideCursor()) QApplication::restoreOverrideCursor();
            if (app) app->busyCounter = 0;
            QMessageBox::warning(QApplication::activeWindow(), "Fejl", QString::fromStdString(e.what()));
        }
        return false;
    }
};

}  // namespace

int main(int argc, char** argv) {
    VemoraApplication qapp(argc, argv);
    // Qt adopts the user's locale for the C library too; numbers written into SQL text and
    // files must keep their decimal point whatever the user's regional settings.
    std::setlocale(LC_NUMERIC, "C");
    QApplication::setApplicationName("Vemora");
    QApplication::setOrganizationName("Vemora");
    QLocale::setDefault(QLocale(QLocale::Danish, QLocale::Denmark));
    // Qt's own buttons ("Ja", "Nej", "Annuller") in Danish.
    QTranslator qtDanish;
    if (qtDanish.load("qtbase_da", QLibraryInfo::path(QLibraryInfo::TranslationsPath))) qapp.installTranslator(&qtDanish);

    vemora::gui::MainOptions options;
    QStringList args = QApplication::arguments();
    for (int i = 1; i < args.size(); ++i) {
        if (args[i] == "--folder" && i + 1 < args.size()) options.folder = args[++i];
        else if (args[i] == "--no-splash-hold") options.splashHoldMs = 0;
    }
    auto program = vemora::gui::Main(options);
    if (!program) return 1;
    qapp.app = &program->app;
    return qapp.exec();
}
