#include "cli/backupargs.h"

namespace vemora::cli {

void BackupArgs::add(CLI::App& cmd, const std::string& folderOption, const std::string& folderHelp) {
    auto* w = cmd.add_option("--week", week, "Ugen (1-53)")->check(CLI::Range(1, 53));
    auto* t = cmd.add_flag("--total", total, "Hele databasen");
    w->excludes(t);
    auto* group = cmd.add_option_group("hvad", "");
    group->add_option(w);
    group->add_option(t);
    group->require_option(1);
    auto* f = cmd.add_option(folderOption, folder, folderHelp);
    auto* d = cmd.add_option("--diskettes", diskettes, "Mapper, der står for disketter sat i efter hinanden")->delimiter(',');
    f->excludes(d);
    auto* where = cmd.add_option_group("hvor", "");
    where->add_option(f);
    where->add_option(d);
    where->require_option(1);
}

std::unique_ptr<Medium> BackupArgs::medium() const {
    std::optional<std::uintmax_t> room;
    if (partSize > 0) room = partSize;
    if (!diskettes.empty()) {
        std::vector<std::filesystem::path> folders(diskettes.begin(), diskettes.end());
        return std::make_unique<MediaSequence>(folders, room);
    }
    return std::make_unique<FolderMedium>(folder, false, false, room);
}

int exitCode(BackupOutcome outcome) {
    switch (outcome) {
        case BackupOutcome::Done: return 0;
        case BackupOutcome::Failed: return 1;
        case BackupOutcome::Stopped: return 2;
    }
    return 1;
}

}  // namespace vemora::cli
