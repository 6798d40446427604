#include "support/docxread.h"

#include <fstream>
#include <sstream>

#include "support/process.h"
#include "support/testdb.h"

namespace vemora::test {

namespace {

// One line per thing read; tabs separate the fields, and tabs and line breaks inside a text
// are written as \t and \n.
const char* kScript = R"(
import sys, docx
from docx.enum.section import WD_ORIENT
def e(s): return s.replace('\\', '\\\\').replace('\t', '\\t').replace('\n', '\\n')
d = docx.Document(sys.argv[1])
print('TITLE\t' + e(d.core_properties.title or ''))
print('LANDSCAPE\t' + ('1' if d.sections[0].orientation == WD_ORIENT.LANDSCAPE else '0'))
for p in d.paragraphs: print('P\t' + e(p.style.name) + '\t' + e(p.text))
for i, t in enumerate(d.tables):
    for r in t.rows: print('R\t' + str(i) + '\t' + '\t'.join(e(c.text) for c in r.cells))
for p in d.sections[0].header.paragraphs: print('H\t' + e(p.text))
for p in d.sections[0].footer.paragraphs: print('F\t' + e(p.text))
)";

std::string unescape(const std::string& s) {
    std::string out;
    for (size_t i = 0; i < s.size(); ++i) {
        if (s[i] == '\\' && i + 1 < s.size()) {
            char c = s[++i];
            out.push_back(c == 't' ? '\t' : c == 'n' ? '\n' : c);
        } else {
            out.push_back(s[i]);
        }
    }
    return out;
}

std::vector<std::string> fields(const std::string& line) {
    std::vector<std::string> out;
    std::stringstream ss(line);
    std::string f;
    while (std::getline(ss, f, '\t')) out.push_back(unescape(f));
    if (!line.empty() && line.back() == '\t') out.emplace_back();
    return out;
}

}  // namespace

DocxContent readDocx(const std::filesystem::path& file) {
    TempFolder tmp;
    auto script = tmp.write("read.py", kScript);
    // The system's Python, which has Debian's python-docx, whatever else is on the path.
    ProcessResult r = runCommand("/usr/bin/python3 " + shellQuote(script.string()) + " " + shellQuote(file.string()));
    DocxContent c;
    if (r.exitCode != 0) {
        c.error = r.err;
        return c;
    }
    c.ok = true;
    std::stringstream ss(r.out);
    std::string line;
    while (std::getline(ss, line)) {
        auto f = fields(line);
        if (f.empty()) continue;
        if (f[0] == "TITLE") c.title = f.size() > 1 ? f[1] : "";
        else if (f[0] == "LANDSCAPE") c.landscape = f.size() > 1 && f[1] == "1";
        else if (f[0] == "P") c.paragraphs.push_back({f.at(1), f.size() > 2 ? f[2] : ""});
        else if (f[0] == "R") {
            size_t t = std::stoul(f.at(1));
            if (c.tables.size() <= t) c.tables.resize(t + 1);
            c.tables[t].emplace_back(f.begin() + 2, f.end());
        } else if (f[0] == "H") c.header.push_back(f.size() > 1 ? f[1] : "");
        else if (f[0] == "F") c.footer.push_back(f.size() > 1 ? f[1] : "");
    }
    return c;
}

}  // namespace vemora::test
