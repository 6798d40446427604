#include "core/backup/media.h"

#include <fstream>
#include <sstream>

#ifdef _WIN32
#include <windows.h>
#endif

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

FolderMedium::FolderMedium(fs::path folder, bool swappable, std::optional<std::uintmax_t> capacity)
    : folder_(std::move(folder)), swappable_(swappable), removable_(isRemovableRoot(folder_)), capacity_(capacity) {}

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

#ifdef _WIN32

bool isRemovableRoot(const fs::path& folder) {
    std::wstring p = fs::absolute(folder).wstring();
    while (p.size() > 3 && (p.back() == L'\\' || p.back() == L'/')) p.pop_back();
    if (p.size() == 2 && p[1] == L':') p += L'\\';
    if (!(p.size() == 3 && p[1] == L':')) return false;  // not the root of a drive
    return GetDriveTypeW(p.c_str()) == DRIVE_REMOVABLE;
}

#elif defined(__linux__)

// The device (major:minor) mounted at exactly this folder, if any.
static std::optional<std::string> deviceMountedAt(const fs::path& root) {
    std::ifstream in("/proc/self/mountinfo");
    std::string line;
    while (std::getline(in, line)) {
        std::istringstream fields(line);
        std::string id, parent, device, source, mountPoint;
        fields >> id >> parent >> device >> source >> mountPoint;
        // Blanks and other bytes in a mount point are written as octal escapes.
        std::string decoded;
        for (size_t i = 0; i < mountPoint.size(); ++i) {
            if (mountPoint[i] == '\\' && i + 3 < mountPoint.size()) {
                decoded += static_cast<char>(std::stoi(mountPoint.substr(i + 1, 3), nullptr, 8));
                i += 3;
            } else {
                decoded += mountPoint[i];
            }
        }
        if (decoded == root.string()) return device;
    }
    return std::nullopt;
}

bool isRemovableRoot(const fs::path& folder) {
    std::error_code ec;
    fs::path root = fs::canonical(folder, ec);
    if (ec) return false;
    auto device = deviceMountedAt(root);
    if (!device) return false;  // a folder, not the root of a volume
    fs::path sys = fs::canonical(fs::path("/sys/dev/block") / *device, ec);
    if (ec) return false;
    if (sys.string().find("/usb") != std::string::npos) return true;
    // A partition's own folder has no "removable"; its disk's has.
    for (fs::path p = sys; p.has_relative_path() && p != p.root_path(); p = p.parent_path()) {
        std::ifstream flag(p / "removable");
        if (flag) {
            char c = '0';
            flag >> c;
            return c == '1';
        }
    }
    return false;
}

#else

bool isRemovableRoot(const fs::path&) { return false; }

#endif

}  // namespace vemora
