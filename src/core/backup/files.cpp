#include "core/backup/files.h"

#include <cstdio>

#ifdef _WIN32
#include <io.h>
#include <windows.h>
#else
#include <fcntl.h>
#include <unistd.h>
#endif

namespace vemora {

namespace fs = std::filesystem;

std::string partStem(const Date& date) {
    char buf[16];
    std::snprintf(buf, sizeof buf, "BKUP%02u%02u", static_cast<unsigned>(date.month()), static_cast<unsigned>(date.day()));
    return buf;
}

std::string partName(const std::string& stem, int part) {
    char buf[8];
    std::snprintf(buf, sizeof buf, "%03d", part);
    return stem + "." + buf;
}

void syncFile(const fs::path& file) {
#ifdef _WIN32
    HANDLE h = CreateFileW(file.wstring().c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                           FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE) return;
    FlushFileBuffers(h);
    CloseHandle(h);
#else
    int fd = ::open(file.c_str(), O_RDONLY);
    if (fd < 0) return;
    ::fsync(fd);
    ::close(fd);
#endif
}

void replaceFile(const fs::path& replacement, const fs::path& target) {
    syncFile(replacement);
    // A rollback journal left beside the old file would be played into the new one.
    std::error_code ec;
    fs::remove(fs::path(target.string() + "-journal"), ec);
    fs::rename(replacement, target);
#ifndef _WIN32
    // The rename itself lives in the folder.
    int fd = ::open(target.parent_path().empty() ? "." : target.parent_path().c_str(), O_RDONLY);
    if (fd >= 0) {
        ::fsync(fd);
        ::close(fd);
    }
#endif
}

}  // namespace vemora
