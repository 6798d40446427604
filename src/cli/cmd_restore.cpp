// vemora-cli restore: a week backup merged into the database, or the whole database replaced
// by its latest whole-database backup.
#include <iostream>

#include "cli/backupargs.h"
#include "cli/cli.h"

namespace vemora::cli {

static Register reg([](CLI::App& root, Env& env) {
    auto* cmd = root.add_subcommand("restore", "Indlæs en uges backup eller en backup af hele databasen");
    static BackupArgs args;
    args.add(*cmd, "--from", "Mappen, backuppen læses fra");
    cmd->callback([&env] {
        // A whole-database restore replaces the file, so a damaged or unreadable one is no hindrance.
        if (!env.open(args.total)) {
            env.exitCode = 1;
            return;
        }
        if (args.total) {
            auto medium = args.medium();
            env.exitCode = exitCode(restoreWholeDatabase(env.app, *medium));
            return;
        }
        WeekRestoreSummary s;
        env.exitCode = exitCode(restoreWeek(env.app, args.weekFolder(), args.week, &s));
        if (env.exitCode == 0)
            std::cout << "Uge " << args.week << ": " << s.races << " kapflyvninger indlæst (" << s.newRaces << " nye), "
                      << s.rows << " rækker." << std::endl;
    });
});

}  // namespace vemora::cli
