// libFuzzer target for the club result file: the file name rule, the reading of lines (their
// ends and the Windows-1252 or UTF-8 of their text), every record parser under every layout,
// and the whole import run on a database kept for the session. Whatever the bytes, the
// reader must either read them or refuse them with ClubFileDataError, and the database must
// stay sound.
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <unistd.h>
#include <vector>

#include "core/app/startup.h"
#include "core/base/text.h"
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

void writeFile(const fs::path& file, std::string_view bytes) {
    std::ofstream out(file, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

std::vector<std::string> readAll(const fs::path& file, bool& utf8) {
    Cp1252Reader r(file);
    if (!r.isOpen()) std::abort();
    std::vector<std::string> lines;
    std::string line;
    while (r.next(line)) {
        if (line.find_first_of("\r\n") != std::string::npos || r.lineNumber() != lines.size() + 1) std::abort();
        lines.push_back(line);
    }
    utf8 = r.wasUtf8();
    return lines;
}

// Lines end at CR LF, LF or a lone CR; a last line without an end still counts.
std::vector<std::string> splitLines(std::string_view b) {
    std::vector<std::string> out;
    std::string cur;
    bool open = false;
    for (size_t i = 0; i < b.size(); ++i) {
        char c = b[i];
        if (c == '\r' || c == '\n') {
            out.push_back(cur);
            cur.clear();
            open = false;
            if (c == '\r' && i + 1 < b.size() && b[i + 1] == '\n') ++i;
        } else {
            cur += c;
            open = true;
        }
    }
    if (open) out.push_back(cur);
    return out;
}

// The reader against a plain reading of the same bytes: the same lines, converted when the
// file was taken for UTF-8, one byte per character either way; and the file's UTF-8 twin
// reads exactly as the Windows-1252 file did.
void checkLines(Session& s, std::string_view bytes) {
    fs::path file = s.folder / "lines.txt";
    writeFile(file, bytes);
    bool utf8 = false;
    std::vector<std::string> lines = readAll(file, utf8);
    std::string_view body = bytes.substr(bytes.substr(0, 3) == "\xEF\xBB\xBF" ? 3 : 0);
    std::vector<std::string> plain = splitLines(body);
    if (plain.size() != lines.size()) std::abort();
    for (size_t i = 0; i < lines.size(); ++i) {
        if (utf8 && (lines[i] != utf8ToCp1252(plain[i]) || lines[i].size() != utf8Length(plain[i]))) std::abort();
        if (!utf8 && lines[i] != plain[i]) std::abort();
    }
    if (utf8 || body.size() != bytes.size()) return;
    std::string twin = (bytes.size() % 3 == 0 ? "\xEF\xBB\xBF" : "") + cp1252ToUtf8(bytes);
    writeFile(file, twin);
    bool twinUtf8 = false;
    if (readAll(file, twinUtf8) != lines) std::abort();
    bool high = false;
    for (char c : bytes) high = high || static_cast<unsigned char>(c) >= 0x80;
    if (twinUtf8 != (high || twin.size() != cp1252ToUtf8(bytes).size())) std::abort();
}

// A name the folder list accepts has a week of the season and leads back to itself.
void checkName(std::string_view name) {
    auto n = parseClubFileName(name);
    if (!n) return;
    auto week = clubFileWeek(n->week);
    if (!week || *week < 1 || *week > 53 || !allDigits(n->week)) std::abort();
    ClubFileName back = entryToClubFile(clubFileEntry(*n));
    if (n->club.find(' ') == std::string::npos && (back.club != n->club || back.week != n->week)) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::string_view bytes(reinterpret_cast<const char*>(data), size);
    Session& s = session();
    checkLines(s, bytes);
    // The first line doubles as a file name.
    std::string_view first = bytes.substr(0, std::min(bytes.find_first_of("\r\n"), bytes.size()));
    checkName(first);

    fs::path file = s.folder / "SEK12301.U23";
    writeFile(file, bytes);
    bool utf8 = false;
    for (const auto& line : readAll(file, utf8)) parseLine(line);
    // The club of the header, so that a seed from any club runs past the header check.
    std::string club = first.size() >= 4 && first[0] == '0' ? std::string(first.substr(1, 3)) : "123";
    ImportClubFile(s.app, file, club, "23", size % 2 == 1);
    if (s.app.db->inTransaction()) std::abort();
    return 0;
}
