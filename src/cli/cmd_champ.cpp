// vemora-cli champ: computes championship standings as the printout of one prepares them.
#include <iostream>
#include <memory>
#include <optional>

#include "cli/cli.h"
#include "core/base/text.h"
#include "core/championships/championships.h"

namespace vemora::cli {

namespace {

struct ChampCliOptions {
    std::optional<std::string> nr;
    bool all = false;
    bool specifyPoints = false;
    bool decimals = false;
};

int runChamp(Env& env, const ChampCliOptions& o) {
    if (!env.open()) return 1;
    Database& db = env.app.database();
    std::vector<std::string> numbers;
    if (o.nr) {
        // The definition dialog stores numbers padded to three digits; "7" means "007".
        numbers.push_back(allDigits(*o.nr) ? padZero(*o.nr, 3) : *o.nr);
    } else {
        for (const auto& row : db.query("SELECT Nr FROM Mesterskaber ORDER BY Nr, RecNr").rows) numbers.push_back(row[0].toText());
        if (numbers.empty()) {
            env.ui.message("Ingen mesterskaber at beregne.", "Info", Icon::Information);
            return 0;
        }
    }
    int failed = 0;
    for (const auto& nr : numbers) {
        Value type = db.scalar("SELECT Type FROM Mesterskaber WHERE Nr = ? ORDER BY RecNr LIMIT 1", {nr});
        // "Vis decimaler" only takes effect where the print dialog offers it.
        championships::ChampOptions options{o.specifyPoints, o.decimals && championships::DecimalsEnabled(type.toText())};
        bool ok = championships::PrepareChampionshipPrint(env.app, nr, options);
        std::cerr << "Mesterskab " << nr;
        if (!type.isNull()) std::cerr << " (" << type.toText() << ")";
        if (ok)
            std::cerr << ": beregnet, "
                      << db.scalar("SELECT count(*) FROM Mesterskabsresultat WHERE Mesterskabsnr = ?", {nr}).toInt()
                      << " placeringer" << std::endl;
        else
            std::cerr << ": fejl" << std::endl;
        if (!ok) ++failed;
    }
    return failed ? 1 : 0;
}

}  // namespace

static Register reg([](CLI::App& root, Env& env) {
    auto o = std::make_shared<ChampCliOptions>();
    auto* cmd = root.add_subcommand("champ", "Beregn mesterskaber som før udskrift af stillingen");
    auto* which = cmd->add_option_group("mesterskaber");
    which->add_option("--nr", o->nr, "Mesterskabets nummer");
    which->add_flag("--all", o->all, "Alle mesterskaber i nummerorden");
    which->require_option(1);
    cmd->add_flag("--specify-points", o->specifyPoints, "Specificér point (point pr. kapflyvning i sidetabellerne)");
    cmd->add_flag("--decimals", o->decimals, "Vis decimaler");
    cmd->callback([&env, o] { env.exitCode = runChamp(env, *o); });
});

}  // namespace vemora::cli
