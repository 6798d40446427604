// vemora-cli import FILE...: the import run of the "Importer" dialog, for each file in turn,
// with club and week taken from the file's name as the dialog's list does.
#include <filesystem>
#include <iostream>

#include "cli/cli.h"
#include "core/import/clubfile.h"
#include "core/import/importrun.h"

namespace vemora::cli {

static Register reg([](CLI::App& root, Env& env) {
    auto* cmd = root.add_subcommand("import", "Indlæs foreningsfiler (SEK<forening>01.U<uge>)");
    static std::vector<std::string> files;
    static bool check = false, noCheck = false;
    cmd->add_option("FILE", files, "Foreningsfiler")->required();
    auto* c = cmd->add_flag("--check-results", check, "Sæt 'Check resultatfiler' til før indlæsningen");
    cmd->add_flag("--no-check-results", noCheck, "Sæt 'Check resultatfiler' fra før indlæsningen")->excludes(c);
    cmd->callback([&env] {
        if (!env.open()) {
            env.exitCode = 1;
            return;
        }
        Database& db = env.app.database();
        if (check || noCheck) {
            try {
                writeCheckResFiler(db, check);
            } catch (const std::exception& e) {
                // Without the setting the files would be checked the wrong way: none is read.
                env.ui.message(std::string("Fejl ved lagring af indstillingen Check resultatfiler.\n") + e.what(), "Fejl",
                               Icon::Exclamation);
                env.exitCode = 1;
                return;
            }
        }
        bool checkResults = readCheckResFiler(db);
        bool failed = false, stopped = false;
        for (const auto& f : files) {
            std::filesystem::path path(f);
            auto name = parseClubFileName(path.filename().string());
            if (!name) {
                env.ui.message("Filnavnet " + path.filename().string() + " er ikke en foreningsfil (SEK<forening>01.U<uge>).",
                               "Fejl", Icon::Exclamation);
                stopped = true;
                continue;
            }
            ImportResult r = ImportClubFile(env.app, path, name->club, name->week, checkResults);
            if (r.outcome == ImportOutcome::Failed) failed = true;
            if (r.outcome == ImportOutcome::Stopped || r.outcome == ImportOutcome::Refused) stopped = true;
        }
        env.exitCode = failed ? 1 : stopped ? 2 : 0;
    });
});

}  // namespace vemora::cli
