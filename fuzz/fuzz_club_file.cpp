// libFuzzer target for the club result file: every record parser under every layout, the file
// name rule, and the whole import run on a database kept for the session. Whatever the bytes,
// the reader must either read them or refuse them with ClubFileDataError, and the database
// must stay sound.
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <unistd.h>

#include "core/app/startup.h"
#include "core/import/clubfile.h"
#include "core/import/importrun.h"

using namespace vemora;
namespace fs = std::filesystem;

namespace {

class YesUi : public Ui {
public:
    void message(const std::string&, const std::string&, Icon) override {}
    Answer ask(const std::string&, const std::string&, Buttons, Icon, Answer) override { return Answer::Yes; }
};

struct Session {
    fs::path folder;
    YesUi ui;
    AppState app;
    Session() {
        folder = fs::temp_directory_path() / ("vemora_fuzz_" + std::to_string(::getpid()));
        fs::remove_all(folder);
        fs::create_directories(folder);
        app.appPath = folder;
        app.db = createSectionDatabase(folder / kDatabaseFileName);
        app.ui = &ui;
    }
    ~Session() {
        app.db.reset();
        fs::remove_all(folder);
    }
};

Session& session() {
    static Session s;
    return s;
}

void parseLine(std::string_view line) {
    try {
        switch (line.empty() ? ' ' : line[0]) {
            case '0': layoutForVersion(parseHeader(line).version); break;
            case '1': parseRace(line, 2026); break;
            case '3': parseLoftGame(line); break;
            case '4': parsePayment(line); break;
            case '5': parseFactor(line); break;
            default:
                for (Layout l : {Layout::L1, Layout::L2, Layout::L3, Layout::L4, Layout::L5, Layout::L6}) {
                    try {
                        parseBird(line, l);
                    } catch (const ClubFileDataError&) {
                    }
                }
        }
    } catch (const ClubFileDataError&) {
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::string_view bytes(reinterpret_cast<const char*>(data), size);
    size_t start = 0;
    while (start <= bytes.size()) {
        size_t end = bytes.find('\n', start);
        if (end == std::string_view::npos) end = bytes.size();
        std::string_view line = bytes.substr(start, end - start);
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        parseLine(line);
        start = end + 1;
    }
    // The first line doubles as a file name, and its entry must lead back to the same club and week.
    std::string_view first = bytes.substr(0, std::min(bytes.find('\n'), bytes.size()));
    if (auto n = parseClubFileName(first)) {
        ClubFileName back = entryToClubFile(clubFileEntry(*n));
        if (n->club.find(' ') == std::string::npos && n->week.find(' ') == std::string::npos &&
            (back.club != n->club || back.week != n->week))
            std::abort();
    }

    Session& s = session();
    fs::path file = s.folder / "SEK12301.U23";
    {
        std::ofstream out(file, std::ios::binary | std::ios::trunc);
        out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    }
    // The club of the header, so that a seed from any club runs past the header check.
    std::string club = first.size() >= 4 && first[0] == '0' ? std::string(first.substr(1, 3)) : "123";
    ImportClubFile(s.app, file, club, "23", size % 2 == 1);
    if (s.app.db->inTransaction()) std::abort();
    return 0;
}
