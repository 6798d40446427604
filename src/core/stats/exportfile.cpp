#include "core/stats/exportfile.h"

#include <cerrno>
#include <cstring>
#include <vector>

namespace vemora {

namespace fs = std::filesystem;

namespace {

std::string shown(const fs::path& p) { return p.string(); }

bool isOwnFile(const fs::directory_entry& e) {
    std::error_code ec;
    std::string name = e.path().filename().string();
    return !name.empty() && name[0] != '.' && e.is_regular_file(ec);
}

}  // namespace

ExportFile::ExportFile(fs::path target) : target_(std::move(target)), temp_(target_.string() + ".tmp") {
    errno = 0;
    out_.emplace(temp_);
    if (!out_->ok()) fail("Filen " + shown(target_) + " kan ikke oprettes");
}

ExportFile::~ExportFile() {
    if (committed_) return;
    out_.reset();
    std::error_code ec;
    fs::remove(temp_, ec);
}

void ExportFile::line(std::string_view cp1252) {
    out_->encodedLine(cp1252);
    if (!out_->ok()) fail("Filen " + shown(target_) + " kan ikke skrives");
}

void ExportFile::commit() {
    if (!out_->close()) fail("Filen " + shown(target_) + " kan ikke skrives");
    std::error_code ec;
    fs::rename(temp_, target_, ec);
    if (ec) throw ExportError("Filen " + shown(target_) + " kan ikke gemmes (" + ec.message() + ").");
    committed_ = true;
}

void ExportFile::fail(const std::string& what) const {
    int err = errno;
    throw ExportError(what + (err ? " (" + std::string(std::strerror(err)) + ")." : "."));
}

bool holdsFiles(const fs::path& folder) {
    std::error_code ec;
    for (fs::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec))
        if (isOwnFile(*it)) return true;
    if (ec) throw ExportError("Drevet " + shown(folder) + " kan ikke læses (" + ec.message() + ").");
    return false;
}

void deleteFiles(const fs::path& folder) {
    std::error_code ec;
    std::vector<fs::path> files;
    for (fs::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec))
        if (isOwnFile(*it)) files.push_back(it->path());
    if (ec) throw ExportError("Drevet " + shown(folder) + " kan ikke læses (" + ec.message() + ").");
    for (const auto& f : files) removeExisting(f);
}

void removeExisting(const fs::path& file) {
    std::error_code ec;
    fs::remove(file, ec);
    if (ec) throw ExportError("Filen " + shown(file) + " kan ikke slettes (" + ec.message() + ").");
}

}  // namespace vemora
