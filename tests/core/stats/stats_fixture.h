#pragma once
// A small season for the export tests: clubs, stations, races with release dates and birds.
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "core/calc/calc_fixture.h"
#include "core/stats/statexport.h"
#include "support/files.h"
#include "support/testdb.h"

namespace vemora::statstest {

using calctest::Fields;
namespace fs = std::filesystem;

using test::readBytes;

// The lines of a file, each of which must end in CR LF.
inline std::vector<std::string> crlfLines(const std::string& bytes) {
    std::vector<std::string> out;
    size_t at = 0;
    while (at < bytes.size()) {
        size_t end = bytes.find("\r\n", at);
        if (end == std::string::npos) {
            out.push_back("<no CR LF>" + bytes.substr(at));
            break;
        }
        out.push_back(bytes.substr(at, end - at));
        at = end + 2;
    }
    return out;
}

// The names of the files in a folder, sorted.
inline std::vector<std::string> fileNames(const fs::path& dir) {
    std::vector<std::string> out;
    for (const auto& e : fs::directory_iterator(dir)) out.push_back(e.path().filename().string());
    std::sort(out.begin(), out.end());
    return out;
}

struct Season {
    test::TestApp t;  // today is 10 June 2026
    Database& db = t.db();
    fs::path out = t.folder.path() / "ud";

    Season() {
        fs::create_directory(out);
        calctest::setSettings(db, "Generelt", {{"Sektionsnavn", "Sektion 04 Fyn"}});
        for (auto [nr, navn] : {std::pair{"101", "Odense"}, {"102", "Ålborg"}})
            calctest::insertRow(db, "Stationer", {{"Nr", nr}, {"Navn", navn}});
        for (auto [nr, navn] : {std::pair{"001", "Alfa"}, {"002", "Beta"}, {"003", "Gamma"}})
            calctest::insertRow(db, "Foreninger", {{"Nr", nr}, {"Navn", navn}});
    }
    long long race(const std::string& farvekode, int uge, const std::string& date, const std::string& station = "101",
                   Fields f = {}) {
        f["Uge"] = uge;
        f["SlipDato"] = date;
        f["Station"] = station;
        return calctest::addRace(db, farvekode, f);
    }
    void bird(long long race, const std::string& ring, Value speed, const std::string& club, const std::string& loft,
              Fields f = {}) {
        f["Forening"] = club;
        f["Slag"] = loft;
        calctest::addBird(db, race, ring, std::move(speed), f);
    }
    ExportResult run(ExportKind kind, const std::string& club = "") {
        return ExportStatistics(t.app, kind, club, ExportTarget{out, false, {}});
    }
    std::vector<std::string> lines(const std::string& name) { return crlfLines(readBytes(out / name)); }
};

}  // namespace vemora::statstest
