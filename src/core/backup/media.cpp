#include "core/backup/media.h"

namespace vemora {

namespace fs = std::filesystem;

std::string Medium::driveName() const {
    std::string s = folder().string();
#ifdef _WIN32
    if (s.size() >= 2 && s[1] == ':') return s.substr(0, 2);
#endif
    while (s.size() > 1 && (s.back() == '/' || s.back() == '\\')) s.pop_back();
    return s;
}

std::optional<std::uintmax_t> Medium::capacity() const { return std::nullopt; }

FolderMedium::FolderMedium(fs::path folder, bool removable, bool swappable, std::optional<std::uintmax_t> capacity)
    : folder_(std::move(folder)), swappable_(swappable), removable_(removable), capacity_(capacity) {}

std::optional<std::uintmax_t> FolderMedium::capacity() const {
    if (capacity_) return capacity_;
    // The free room when the part begins; a write that still finds the disk full ends the
    // part as well.
    std::error_code ec;
    auto s = fs::space(folder_, ec);
    if (ec) return std::nullopt;
    return s.available;
}

MediaSequence::MediaSequence(std::vector<fs::path> folders, std::optional<std::uintmax_t> capacity)
    : folders_(std::move(folders)), capacity_(capacity) {
    if (folders_.empty()) folders_.emplace_back(".");
}

bool MediaSequence::insertNext() {
    if (current_ + 1 >= folders_.size()) return false;
    ++current_;
    return true;
}

}  // namespace vemora
