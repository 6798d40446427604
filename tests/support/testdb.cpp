#include "support/testdb.h"

#include <atomic>
#include <cstdlib>
#include <fstream>
#include <random>
#include <stdexcept>

namespace vemora::test {

namespace fs = std::filesystem;

// Where the machine has a file system in memory and no other place is asked for, the tests
// use it: they create many small databases, and waiting for the disk to sync each one
// would be most of their time. The benchmarks measure on the disk, as the program runs.
static fs::path scratchRoot() {
#ifdef VEMORA_SCRATCH_IN_MEMORY
    std::error_code ec;
    if (!std::getenv("TMPDIR") && fs::is_directory("/dev/shm", ec)) return "/dev/shm";
#endif
    return fs::temp_directory_path();
}

TempFolder::TempFolder() {
    static std::atomic<int> n{0};
    std::random_device rd;
    path_ = scratchRoot() / ("vemora-test-" + std::to_string(rd()) + "-" + std::to_string(++n));
    fs::create_directories(path_);
}

TempFolder::~TempFolder() {
    std::error_code ec;
    fs::permissions(path_, fs::perms::owner_all, fs::perm_options::add, ec);
    fs::remove_all(path_, ec);
}

fs::path TempFolder::write(const std::string& name, const std::string& bytes) const {
    fs::path p = path_ / name;
    std::ofstream out(p, std::ios::binary);
    out << bytes;
    if (!out) throw std::runtime_error("cannot write " + p.string());
    return p;
}

std::string rowsText(Database& db, const std::string& sql, const std::vector<Value>& params) {
    std::string out;
    for (const auto& row : db.query(sql, params).rows) {
        for (size_t i = 0; i < row.size(); ++i) out += (i ? "|" : "") + (row[i].isNull() ? std::string("-") : row[i].toText());
        out += "\n";
    }
    return out;
}

TestApp::TestApp(Date today) {
    app.ui = &ui;
    app.today = [today] { return today; };
    initAppState(app, folder.path());
    if (!openSectionDatabase(app)) throw std::runtime_error("test database could not be opened");
    app.currentWeek = CurrentWeekFor(today);
}

}  // namespace vemora::test
