// The house rules of the source tree, checked on the files themselves: the forms reach the
// database only through core functions, core holds no Qt, the lower core layers do not reach
// up, and no two core files include each other round a circle.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <functional>
#include <fstream>
#include <map>
#include <regex>
#include <set>
#include <sstream>

namespace fs = std::filesystem;

namespace {

const fs::path kSrc = fs::path(VEMORA_SOURCE_DIR) / "src";

std::string readFile(const fs::path& p) {
    std::ifstream in(p, std::ios::binary);
    std::stringstream ss;
    ss << in.rdbuf();
    return ss.str();
}

std::vector<fs::path> sources(const fs::path& dir) {
    std::vector<fs::path> out;
    for (const auto& e : fs::recursive_directory_iterator(dir)) {
        auto ext = e.path().extension();
        if (ext == ".cpp" || ext == ".h") out.push_back(e.path());
    }
    return out;
}

// The project headers a file includes, as "core/db/database.h".
std::vector<std::string> includes(const std::string& text) {
    static const std::regex inc(R"re(#include\s+"([^"]+)")re");
    std::vector<std::string> out;
    for (std::sregex_iterator it(text.begin(), text.end(), inc), end; it != end; ++it) out.push_back((*it)[1]);
    return out;
}

// The SQL found in the string literals of a text.
std::vector<std::string> sqlInLiterals(const std::string& text) {
    static const std::regex literal(R"re("(?:[^"\\\n]|\\.)*")re");
    static const std::regex sql(
        R"re(\b(select\b.*\bfrom|insert\s+(or\s+\w+\s+)?into|update\s+\S+\s+set|delete\s+from|create\s+(table|view|index|trigger)|drop\s+(table|view|index|trigger)|alter\s+table|pragma\s+\w+)\b)re",
        std::regex::icase);
    std::vector<std::string> out;
    for (std::sregex_iterator it(text.begin(), text.end(), literal), end; it != end; ++it)
        if (std::regex_search(it->str(), sql)) out.push_back(it->str());
    return out;
}

// The layer of a core folder; folders not listed are subsystems, above all of these.
int layerOf(const std::string& folder) {
    static const std::map<std::string, int> layers{{"base", 0}, {"domain", 1}, {"db", 2}, {"app", 3}};
    auto it = layers.find(folder);
    return it == layers.end() ? 4 : it->second;
}

std::string coreFolder(const std::string& include) {  // "core/db/x.h" -> "db"
    auto a = include.find('/'), b = include.find('/', a + 1);
    return include.substr(a + 1, b - a - 1);
}

}  // namespace

TEST(Layers, DetectorsRecogniseWhatTheyLookFor) {
    EXPECT_EQ(sqlInLiterals(R"(q("SELECT Navn FROM Stationer"); x("Delete From ImportFejl" + c); u("update T set B = 1");)").size(), 3u);
    EXPECT_TRUE(sqlInLiterals(R"(msg("Vælg en kapflyvning.", "Fejl"); ask("Ønskes alle viste importfejl slettet?");)").empty());
}

TEST(Layers, NoFormRunsSqlOfItsOwn) {
    for (const auto& f : sources(kSrc / "gui"))
        for (const auto& lit : sqlInLiterals(readFile(f))) ADD_FAILURE() << f.lexically_relative(kSrc) << ": " << lit;
}

TEST(Layers, CoreHasNoQtAndNoUpwardOrCircularIncludes) {
    std::map<std::string, std::set<std::string>> uses;  // core folder -> the core folders it includes from
    for (const auto& f : sources(kSrc / "core")) {
        std::string self = f.lexically_relative(kSrc).generic_string();
        std::string text = readFile(f);
        EXPECT_EQ(text.find("#include <Q"), std::string::npos) << self;
        for (const auto& inc : includes(text)) {
            if (inc.rfind("core/", 0) != 0) {
                ADD_FAILURE() << self << " includes " << inc << " from outside core";
                continue;
            }
            const std::string from = coreFolder(self), to = coreFolder(inc);
            if (layerOf(from) < 4) {
                EXPECT_LE(layerOf(to), layerOf(from)) << self << " reaches up to " << inc;
            }
            if (from != to) uses[from].insert(to);
        }
    }
    // Between the subsystems the includes must form no circle either.
    std::map<std::string, int> state;  // 1 on the path, 2 done
    std::vector<std::string> path;
    std::function<void(const std::string&)> visit = [&](const std::string& n) {
        state[n] = 1;
        path.push_back(n);
        for (const auto& m : uses[n]) {
            if (state[m] == 1) {
                std::string cycle;
                for (auto it = std::find(path.begin(), path.end(), m); it != path.end(); ++it) cycle += *it + " -> ";
                ADD_FAILURE() << "include cycle: " << cycle << m;
            } else if (state[m] == 0) {
                visit(m);
            }
        }
        path.pop_back();
        state[n] = 2;
    };
    for (const auto& [n, _] : uses)
        if (state[n] == 0) visit(n);
}
