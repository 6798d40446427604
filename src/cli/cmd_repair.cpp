// vemora-cli repair: checks and compacts the section database.
#include <iostream>

#include "cli/backupargs.h"
#include "cli/cli.h"

namespace vemora::cli {

static Register reg([](CLI::App& root, Env& env) {
    auto* cmd = root.add_subcommand("repair", "Reparer og komprimer sektionsdatabasen");
    cmd->callback([&env] {
        if (!env.open(true)) {
            env.exitCode = 1;
            return;
        }
        env.exitCode = exitCode(RepairDatabase(env.app));
        if (env.exitCode == 0) std::cout << "Databasen er kontrolleret og komprimeret." << std::endl;
    });
});

}  // namespace vemora::cli
