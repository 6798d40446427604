// vemora-cli demo: writes a season of club result files into FOLDER/demo and imports them,
// so a new user has a populated section to look at.
#include <iostream>
#include <sstream>

#include "cli/cli.h"
#include "core/import/demo.h"

namespace vemora::cli {

// "18-31" or "18,20,22" or a mix.
static bool parseWeeks(const std::string& text, std::vector<int>& weeks) {
    std::stringstream ss(text);
    std::string part;
    while (std::getline(ss, part, ',')) {
        auto dash = part.find('-');
        try {
            int from = std::stoi(part.substr(0, dash));
            int to = dash == std::string::npos ? from : std::stoi(part.substr(dash + 1));
            if (from < 1 || to > 53 || from > to) return false;
            for (int w = from; w <= to; ++w) weeks.push_back(w);
        } catch (const std::exception&) {
            return false;
        }
    }
    return !weeks.empty();
}

static Register reg([](CLI::App& root, Env& env) {
    auto* cmd = root.add_subcommand("demo", "Skriv og indlæs en demosæson (foreningsfiler i <mappe>/demo)");
    static DemoOptions options;
    static std::string weeks;
    cmd->add_option("--clubs", options.clubs, "Antal foreninger")->check(CLI::Range(1, 80));
    cmd->add_option("--weeks", weeks, "Uger, f.eks. 18-31 eller 20,22,24");
    cmd->add_option("--birds-per-club", options.birdsPerClub, "Duer pr. forening")->check(CLI::Range(1, 100000));
    cmd->add_option("--seed", options.seed, "Startværdi for tilfældige data");
    cmd->callback([&env] {
        if (!weeks.empty() && !parseWeeks(weeks, options.weeks)) {
            env.ui.message("Ugyldig uge.", "Fejl", Icon::Exclamation);
            env.exitCode = 1;
            return;
        }
        if (!env.open()) {
            env.exitCode = 1;
            return;
        }
        try {
            DemoSummary s = runDemo(env.app, options);
            for (const auto& p : s.problems) env.ui.message(p, "Fejl", Icon::Exclamation);
            std::cout << s.files.size() << " foreningsfiler skrevet i " << (env.app.appPath / "demo").string() << ", "
                      << s.imported << " indlæst, " << s.birds << " duer." << std::endl;
            env.exitCode = s.problems.empty() ? 0 : 1;
        } catch (const std::exception& e) {
            env.ui.message(e.what(), "Fejl", Icon::Exclamation);
            env.exitCode = 1;
        }
    });
});

}  // namespace vemora::cli
