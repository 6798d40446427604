// vemora-cli export: the race plan, club statistics or total statistics into a folder, or
// onto diskettes given as folders that stand for the media inserted one after another.
#include <iostream>
#include <memory>

#include "cli/cli.h"
#include "core/base/text.h"
#include "core/stats/statexport.h"

namespace vemora::cli {

namespace {

struct ExportOptions {
    std::string kind;
    std::string club;
    std::string to;
    std::vector<std::string> diskettes;
};

int runExport(Env& env, const ExportOptions& o) {
    if (!env.open()) return 1;
    ExportKind kind = o.kind == "plan" ? ExportKind::Plan : o.kind == "club-stats" ? ExportKind::ClubStats : ExportKind::TotalStats;

    // The club box only offers registered clubs; a club number typed here is padded as the
    // number boxes pad it, and one that is not registered is refused rather than exported to
    // nothing.
    std::string club = ChosenClub(o.club);  // "007 - Navn" as the club box would hold it
    if (allDigits(club)) club = padZero(club, 3);
    if (!club.empty() && kind != ExportKind::TotalStats &&
        env.app.database().scalar("SELECT Nr FROM Foreninger WHERE Nr = ?", {club}).isNull()) {
        env.ui.message("Forening " + club + " findes ikke.", "Fejl", Icon::Exclamation);
        return 1;
    }

    ExportTarget target;
    if (!o.diskettes.empty()) {
        target.removable = true;
        target.folder = o.diskettes.front();
        // Each confirmed "Indsæt diskette" takes the next medium of the list.
        auto next = std::make_shared<size_t>(0);
        auto media = o.diskettes;
        target.inserted = [next, media]() -> std::optional<std::filesystem::path> {
            if (*next >= media.size()) return std::nullopt;
            return std::filesystem::path(media[(*next)++]);
        };
    } else {
        target.folder = o.to;
    }

    ExportResult r = ExportStatistics(env.app, kind, club, target);
    for (const auto& f : r.files) std::cout << f.string() << "\n";
    switch (r.outcome) {
        case ExportOutcome::Done: return 0;
        case ExportOutcome::Cancelled: return 2;
        case ExportOutcome::Failed: return 1;
    }
    return 1;
}

}  // namespace

static Register reg([](CLI::App& root, Env& env) {
    auto o = std::make_shared<ExportOptions>();
    auto* cmd = root.add_subcommand("export", "Eksporter kapflyvningsplan, foreningsstatistik eller totalstatistik");
    cmd->add_option("kind", o->kind, "plan, club-stats eller total-stats")
        ->required()
        ->check(CLI::IsMember({"plan", "club-stats", "total-stats"}));
    cmd->add_option("--club", o->club, "Kun denne forening (plan og club-stats)");
    auto* where = cmd->add_option_group("placering");
    where->add_option("--to", o->to, "Mappen filerne skrives i");
    where->add_option("--diskettes", o->diskettes, "Mapper, der står for disketterne i den rækkefølge de sættes i")
        ->delimiter(',');
    where->require_option(1);
    cmd->callback([&env, o] { env.exitCode = runExport(env, *o); });
});

}  // namespace vemora::cli
