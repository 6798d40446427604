#include "core/app/startup.h"

#include <fstream>

#include "core/base/text.h"
#include "core/db/schema.h"
#include "core/db/upgrade.h"

namespace vemora {

namespace fs = std::filesystem;

std::string readLand(const fs::path& appPath) {
    // Only a regular file: a pipe or a device of that name would hold the start-up forever.
    auto ini = findFileNoCase(appPath, "CONFIG.INI");
    if (!ini) return "DK";
    std::ifstream in(*ini, std::ios::binary);
    if (!in) return "DK";
    std::string line, section;
    while (std::getline(in, line)) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        std::string t = trim(line);
        if (t.empty() || t[0] == ';') continue;
        if (t.front() == '[') {
            auto close = t.find(']');
            section = trim(t.substr(1, close == std::string::npos ? std::string::npos : close - 1));
            continue;
        }
        auto eq = t.find('=');
        if (eq == std::string::npos || !iequals(section, "Generelt")) continue;
        if (!iequals(trim(t.substr(0, eq)), "Land")) continue;
        std::string value = trim(t.substr(eq + 1));
        // The value is read into a buffer of 100 characters.
        if (value.size() > 99) value.resize(99);
        return value;
    }
    return "DK";
}

std::string federationName(const std::string& land) {
    if (land == "SE") return "Vendrasa";
    if (land == "NO") return "Ostrelin";
    return "Tavrenia";
}

std::string mainWindowTitle(const std::string& land) { return federationName(land) + " - " + kMainCaption; }

void initAppState(AppState& app, const fs::path& folder) {
    std::error_code ec;
    fs::path abs = fs::absolute(folder, ec);
    app.appPath = ec ? folder : abs.lexically_normal();
    app.land = readLand(app.appPath);
}

fs::path databasePath(const fs::path& appPath) {
    if (auto f = findFileNoCase(appPath, kDatabaseFileName)) return *f;
    return appPath / kDatabaseFileName;
}

std::unique_ptr<Database> createSectionDatabase(const fs::path& file, std::chrono::milliseconds busyTimeout) {
    auto db = Database::create(file, busyTimeout);
    try {
        createSchema(*db);
    } catch (...) {
        db.reset();
        std::error_code ec;
        fs::remove(file, ec);  // our own half-made file, never an existing one
        throw;
    }
    return db;
}

std::string damagedDatabaseMessage(const std::string& findings) {
    std::string first = findings.substr(0, findings.find('\n'));
    return "Sektionsdatabasen er beskadiget (" + first +
           "). Programmet skriver intet i den, før den er repareret: reparer databasen under Filer, Backup, eller "
           "indlæs en backup af hele databasen. Indtil da kan den kun læses.";
}

OpenResult openSectionDatabaseWith(AppState& app, const std::function<void()>& progress) {
    fs::path file = databasePath(app.appPath);
    Ui& ui = app.userInterface();
    std::error_code ec;
    try {
        if (!fs::exists(file, ec)) {
            if (!fs::is_directory(app.appPath, ec))
                throw DbError("Programmappen '" + app.appPath.string() + "' findes ikke.");
            app.db = createSectionDatabase(file, app.busyTimeout);
            app.db->setWaitNotifier(databaseWaitNotifier(app));
        } else {
            app.db = Database::open(file, app.busyTimeout, databaseWaitNotifier(app));
            // Every form and command writes; better to say so now than at the first save.
            if (app.db->readOnly())
                throw DbError("Sektionsdatabasen '" + file.string() +
                              "' er skrivebeskyttet, så intet kan gemmes i den. Fjern skrivebeskyttelsen, og prøv igen.");
        }
    } catch (const std::exception& e) {
        app.db.reset();
        ui.message(e.what(), "Fejl", Icon::Exclamation);
        return OpenResult::Failed;
    }
    // A damaged file is reported before anything is written into it, the upgrade included.
    std::string findings;
    try {
        findings = app.db->quickCheck();
    } catch (const DbError& e) {
        // A file another program holds is not a damaged one.
        if ((e.code() & 0xff) == 5 || (e.code() & 0xff) == 6) {  // busy, locked
            app.db.reset();
            ui.message(std::string("Databasen '") + file.string() + "' kan ikke åbnes: " + e.what(), "Fejl", Icon::Exclamation);
            return OpenResult::Failed;
        }
        findings = e.what();
    }
    auto readOnly = [&](const std::string& reason) {
        app.db.reset();
        try {
            app.db = Database::openReadOnly(file, reason, app.busyTimeout, databaseWaitNotifier(app));
        } catch (const std::exception&) {
            return OpenResult::Failed;
        }
        return OpenResult::ReadOnly;
    };
    if (findings != "ok") {
        std::string text = damagedDatabaseMessage(findings);
        ui.message(text, "Fejl", Icon::Exclamation);
        return readOnly(text);
    }
    // Reached through database(), so the forms learn of what the upgrade commits.
    switch (UpgradeDatabase(app.database(), ui, progress)) {
        case UpgradeResult::Current:
        case UpgradeResult::Upgraded: return OpenResult::Ready;
        case UpgradeResult::Incomplete: return OpenResult::Incomplete;
        case UpgradeResult::Newer: return readOnly(newerVersionMessage(readSchemaVersion(*app.db)));
        // Not a section database: nothing may be written into it.
        case UpgradeResult::Unreadable: return readOnly("Sektionsdatabasen kan ikke læses og ændres derfor ikke.");
        case UpgradeResult::Cancelled: app.db.reset(); return OpenResult::Ended;
    }
    return OpenResult::Failed;
}

bool openSectionDatabase(AppState& app) { return openSectionDatabaseWith(app) == OpenResult::Ready; }

bool StartSeason(AppState& app) {
    Ui& ui = app.userInterface();
    if (ui.ask("Alle kapflyvningsinformationer vil nu blive slettet.", "Info", Buttons::OkCancel, Icon::Critical,
               Answer::Cancel) != Answer::Ok)
        return false;
    if (ui.ask("Alle kapflyvninger inklusive præmier samt deltagere og resultater indlæst fra Foreningssystemet vil "
               "blive slettet. Er du sikker på, at du vil fortsætte.",
               "Advarsel", Buttons::YesNo, Icon::Question, Answer::No) != Answer::Yes)
        return false;
    BusyScope busy(app);
    try {
        Database& db = app.database();
        Transaction t(db);
        db.exec("DELETE FROM Mesterskabsflyvninger");
        db.exec("DELETE FROM Kapflyvninger");
        db.exec("DELETE FROM ResModt");
        db.exec("DELETE FROM ImportFejl");
        t.commit();
    } catch (const std::exception& e) {
        // Nothing is half-deleted: the four deletions go together or not at all.
        ui.message(std::string("Fejl ved sletning af sæsonens kapflyvninger: ") + e.what(), "Fejl", Icon::Exclamation);
        return false;
    }
    return true;
}

}  // namespace vemora
