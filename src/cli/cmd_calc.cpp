// vemora-cli calc: computes the results of one race, a week's races or all races.
#include <iostream>
#include <memory>
#include <optional>

#include "cli/cli.h"
#include "core/calc/calc.h"

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
    std::string where = o.race ? " WHERE Nr = ?" : o.week ? " WHERE Uge = ?" : "";
    std::vector<Value> params;
    if (o.race) params.push_back(*o.race);
    if (o.week) params.push_back(*o.week);
    RowSet races = db.query("SELECT Nr, Uge, Farvekode FROM Kapflyvninger" + where + " ORDER BY Uge, Farvekode, Nr", params);
    if (races.empty()) {
        if (o.race) {
            env.ui.message("Kapflyvning " + std::to_string(*o.race) + " findes ikke.", "Fejl", Icon::Exclamation);
            return 1;
        }
        env.ui.message("Ingen kapflyvninger at beregne.", "Info", Icon::Information);
        return 0;
    }
    if (o.force) db.execute("UPDATE Kapflyvninger SET Beregn = 1" + where, params);
    int failed = 0;
    for (size_t i = 0; i < races.size(); ++i) {
        long long nr = races.get(i, "Nr").toInt();
        bool ok = CalcKapflyvning(env.app, nr);
        std::cerr << "Uge " << races.get(i, "Uge").toText() << ", " << races.get(i, "Farvekode").toText() << " (nr. " << nr
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
