// vemora-cli backup: a week's races into BACKUP<week>.MDB, or the whole database in parts.
#include <iostream>

#include "cli/backupargs.h"
#include "cli/cli.h"

namespace vemora::cli {

static Register reg([](CLI::App& root, Env& env) {
    auto* cmd = root.add_subcommand("backup", "Tag backup af en uges kapflyvninger eller af hele databasen");
    static BackupArgs args;
    args.add(*cmd, "--to", "Mappen, backuppen skrives i");
    cmd->add_option("--part-size", args.partSize, "Pladsen på hvert medium i bytes (del-filernes største størrelse)")
        ->check(CLI::PositiveNumber);
    cmd->callback([&env] {
        // The whole-database backup repairs the file first, so it also takes a damaged one.
        if (!env.open(true)) {
            env.exitCode = 1;
            return;
        }
        if (args.total) {
            auto medium = args.medium();
            env.exitCode = exitCode(backupWholeDatabase(env.app, *medium));
        } else {
            env.exitCode = exitCode(backupWeek(env.app, args.weekFolder(), args.week));
            if (env.exitCode == 0)
                std::cout << (std::filesystem::path(args.weekFolder()) / weekBackupName(args.week)).string() << std::endl;
        }
    });
});

}  // namespace vemora::cli
