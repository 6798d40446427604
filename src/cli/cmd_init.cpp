// vemora-cli init: creates the section database when it is missing and prints its version.
#include <iostream>

#include "cli/cli.h"
#include "core/db/upgrade.h"

namespace vemora::cli {

static Register reg([](CLI::App& root, Env& env) {
    auto* cmd = root.add_subcommand("init", "Opret sektionsdatabasen, hvis den mangler, og vis dens version");
    cmd->callback([&env] {
        if (!env.open()) {
            env.exitCode = 1;
            return;
        }
        std::cout << "Version " << readSchemaVersion(env.app.database()) << std::endl;
    });
});

}  // namespace vemora::cli
