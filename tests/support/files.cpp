#include "support/files.h"

#include <fstream>
#include <iterator>

#include "core/db/database.h"

namespace vemora::test {

std::string readBytes(const std::filesystem::path& file) {
    std::ifstream in(file, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

void writeBytes(const std::filesystem::path& file, const std::string& bytes) {
    std::ofstream out(file, std::ios::binary | std::ios::trunc);
    out << bytes;
}

void damagePage(const std::filesystem::path& file, const std::string& object) {
    long long page = Database::open(file)->scalar("SELECT rootpage FROM sqlite_master WHERE name = ?", {object}).toInt();
    std::fstream io(file, std::ios::in | std::ios::out | std::ios::binary);
    io.seekp((page - 1) * 4096);
    io.write("\x7f\x7f\x7f\x7f\x7f\x7f\x7f\x7f", 8);
}

}  // namespace vemora::test
