// vemora-cli calc: computes the results of one race, a week's races or all races.
#include <iostream>
#include <memory>
#include <optional>

#include "cli/cli.h"
#include "core/calc/calc.h"
#include "core/races/races.h"

namespace vemora::cli {

namespace {

struct CalcOptions {
    std::optional<long long> race;
    std::optional<int> week;
    bool all = false;
    bool force = false;
};

int runCalc(Env& env, const CalcOptions& o) {
    if (!env.open()) return 1;
    Database& db = env.app.database();
    races::RaceSelection which = o.race ? races::RaceSelection::one(*o.race)
                                 : o.week ? races::RaceSelection::ofWeek(*o.week)
                                          : races::RaceSelection::all();
    std::vector<races::RaceRef> chosen;
    const char* step = "Kapflyvningerne kan ikke læses.";
    try {
        chosen = races::SelectRaces(db, which);
        step = "Kapflyvningerne kan ikke markeres til genberegning.";
        if (o.force && !chosen.empty()) races::MarkForCalculation(db, which);
    } catch (const std::exception& e) {
        // Nothing was computed; the races keep their flags as they were.
        env.ui.message(std::string(step) + "\n" + e.what(), "Fejl", Icon::Exclamation);
        return 1;
    }
    if (chosen.empty()) {
        if (o.race) {
            env.ui.message("Kapflyvning " + std::to_string(*o.race) + " findes ikke.", "Fejl", Icon::Exclamation);
            return 1;
        }
        env.ui.message("Ingen kapflyvninger at beregne.", "Info", Icon::Information);
        return 0;
    }
    int failed = 0;
    for (const auto& race : chosen) {
        bool ok = CalcKapflyvning(env.app, race.nr);
        std::cerr << "Uge " << race.uge.toText() << ", " << race.farvekode << " (nr. " << race.nr
                  << "): " << (ok ? "beregnet" : "fejl") << std::endl;
        if (!ok) ++failed;
    }
    return failed ? 1 : 0;
}

}  // namespace

static Register reg([](CLI::App& root, Env& env) {
    auto o = std::make_shared<CalcOptions>();
    auto* cmd = root.add_subcommand("calc", "Beregn resultater og præmier for kapflyvninger");
    auto* which = cmd->add_option_group("kapflyvninger");
    which->add_option("--race", o->race, "Kapflyvningens nummer");
    which->add_option("--week", o->week, "Alle kapflyvninger i ugen")->check(CLI::Range(1, 53));
    which->add_flag("--all", o->all, "Alle kapflyvninger");
    which->require_option(1);
    cmd->add_flag("--force", o->force, "Beregn igen, også når resultaterne er aktuelle");
    cmd->callback([&env, o] { env.exitCode = runCalc(env, *o); });
});

}  // namespace vemora::cli
