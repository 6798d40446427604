#include "core/reports/definition.h"

#include <charconv>
#include <fstream>
#include <sstream>

#include "core/base/text.h"
#include "core/reports/template.h"

namespace vemora::reports {

bool Template::hasFields() const {
    for (const auto& s : segments)
        if (s.kind != Segment::Literal) return true;
    return false;
}

const Band& Definition::band(int id) const {
    switch (id) {
        case 0: return reportHeader;
        case 1: return pageHeader;
        case 2: return detail;
        case 3: return reportFooter;
        case 4: return pageFooter;
        default: {
            const Group& g = groups.at(static_cast<size_t>((id - 5) / 2));
            return (id - 5) % 2 == 0 ? g.header : g.footer;
        }
    }
}

Band& Definition::band(int id) { return const_cast<Band&>(static_cast<const Definition&>(*this).band(id)); }

namespace {

struct Token {
    std::string text;
    bool quoted = false;
};

class Parser {
public:
    Parser(std::string_view text, std::string fileName) : text_(text), file_(std::move(fileName)) { def_.fileName = file_; }

    Definition run() {
        size_t pos = 0;
        while (pos <= text_.size()) {
            size_t end = text_.find('\n', pos);
            std::string_view line = text_.substr(pos, end == std::string_view::npos ? std::string_view::npos : end - pos);
            ++lineNo_;
            if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
            handleLine(line);
            if (end == std::string_view::npos) break;
            pos = end + 1;
        }
        if (!def_.detail.defined) {
            // A report without a detail band prints only headers and totals; that is allowed,
            // but it must say so with "detalje skjul" so a forgotten band is noticed.
            lineNo_ = 0;
            fail("sektionen \"detalje\" mangler (skriv \"detalje skjul\" for en rapport med kun totaler)");
        }
        return std::move(def_);
    }

private:
    std::string_view text_;
    std::string file_;
    Definition def_;
    int lineNo_ = 0;
    Band* band_ = nullptr;
    std::vector<Token> toks_;
    size_t at_ = 0;
    std::string formulaText_;

    [[noreturn]] void fail(const std::string& msg) const {
        std::string where = "Fejl i rapportdefinitionen " + file_;
        if (lineNo_ > 0) where += ", linje " + std::to_string(lineNo_);
        throw DefinitionError(where + ": " + msg + ".");
    }

    // ---- tokens ------------------------------------------------------------------------------

    void tokenize(std::string_view line) {
        toks_.clear();
        at_ = 0;
        formulaText_.clear();
        size_t i = 0;
        while (i < line.size()) {
            char c = line[i];
            if (c == ' ' || c == '\t') {
                ++i;
            } else if (c == '#') {
                break;
            } else if (c == ',') {
                toks_.push_back({",", false});
                ++i;
            } else if (c == '"') {
                std::string s;
                ++i;
                bool closed = false;
                while (i < line.size()) {
                    if (line[i] == '"') {
                        if (i + 1 < line.size() && line[i + 1] == '"') {
                            s.push_back('"');
                            i += 2;
                            continue;
                        }
                        closed = true;
                        ++i;
                        break;
                    }
                    if (line[i] == '\\' && i + 1 < line.size() && line[i + 1] == 'n') {
                        s.push_back('\n');
                        i += 2;
                        continue;
                    }
                    s.push_back(line[i++]);
                }
                if (!closed) fail("anførselstegnet lukkes ikke");
                toks_.push_back({std::move(s), true});
            } else {
                size_t start = i;
                auto digit = [&](size_t k) { return k < line.size() && line[k] >= '0' && line[k] <= '9'; };
                // A comma separates fields ("Forening, Uge") but is a decimal mark in "3,5".
                while (i < line.size() && line[i] != ' ' && line[i] != '\t' && line[i] != '"' &&
                       (line[i] != ',' || (i > start && digit(i - 1) && digit(i + 1))))
                    ++i;
                toks_.push_back({std::string(line.substr(start, i - start)), false});
                if (toks_.size() == 2 && toks_[0].text == "formel") {
                    formulaText_ = std::string(line.substr(start));
                    auto hash = formulaText_.find('#');
                    if (hash != std::string::npos) formulaText_.resize(hash);
                    return;
                }
            }
        }
    }

    bool more() const { return at_ < toks_.size(); }
    const Token& peek() const { return toks_[at_]; }
    bool peekWord(std::string_view w) const { return more() && !peek().quoted && peek().text == w; }
    Token next(const char* what) {
        if (!more()) fail(std::string("der mangler ") + what);
        return toks_[at_++];
    }
    std::string word(const char* what) {
        Token t = next(what);
        return t.text;
    }
    double number(const char* what) {
        Token t = next(what);
        if (t.quoted) fail(std::string("\"") + t.text + "\" er ikke et tal (" + what + ")");
        return toNumber(t.text, what);
    }
    double toNumber(const std::string& text, const char* what) {
        std::string s = text;
        for (char& c : s)
            if (c == ',') c = '.';
        double d = 0;
        auto r = std::from_chars(s.data(), s.data() + s.size(), d);
        if (s.empty() || r.ec != std::errc() || r.ptr != s.data() + s.size())
            fail(std::string("\"") + text + "\" er ikke et tal (" + what + ")");
        return d;
    }
    int integer(const char* what) {
        double d = number(what);
        if (d != static_cast<int>(d) || d < 0) fail(std::string("forventede et helt tal (") + what + ")");
        return static_cast<int>(d);
    }
    void done() {
        if (more()) fail("uventet \"" + peek().text + "\"");
    }

    // ---- templates and formulas --------------------------------------------------------------

    Template parseTemplate(const std::string& text) {
        try {
            return reports::parseTemplate(text);
        } catch (const std::invalid_argument& e) {
            fail(e.what());
        }
    }

    Formula parseFormula(const std::string& name, const std::string& expr) {
        try {
            return reports::parseFormula(name, expr);
        } catch (const std::invalid_argument& e) {
            fail(e.what());
        }
    }

    // ---- lines ---------------------------------------------------------------------------------

    void handleLine(std::string_view line) {
        tokenize(line);
        if (toks_.empty()) return;
        if (toks_[0].quoted) fail("en linje skal begynde med et nøgleord");
        std::string kw = upperToLower(next("nøgleord").text);
        if (kw == "side") return pageSize();
        if (kw == "margener") {
            def_.marginLeft = number("venstre margen");
            def_.marginTop = number("topmargen");
            def_.marginRight = number("højre margen");
            def_.marginBottom = number("bundmargen");
            return done();
        }
        if (kw == "skrift") {
            if (more() && peek().quoted) def_.font.family = next("skrift").text;
            def_.font.size = number("skriftstørrelse");
            if (def_.font.size <= 0) fail("skriftstørrelsen skal være større end 0");
            return done();
        }
        if (kw == "mellemrum") {
            def_.columnGap = number("mellemrum");
            return done();
        }
        if (kw == "sortering") return sorting();
        if (kw == "etiketter") return labels();
        if (kw == "formel") return formula();
        if (kw == "kolonne") return column();
        if (kw == "rapporthoved") return startBand(def_.reportHeader, BandKind::ReportHeader);
        if (kw == "sidehoved") return startBand(def_.pageHeader, BandKind::PageHeader);
        if (kw == "detalje") return startBand(def_.detail, BandKind::Detail);
        if (kw == "rapportfod") return startBand(def_.reportFooter, BandKind::ReportFooter);
        if (kw == "sidefod") return startBand(def_.pageFooter, BandKind::PageFooter);
        if (kw == "gruppehoved" || kw == "gruppefod") return groupBand(kw == "gruppehoved");
        if (kw == "tekst" || kw == "streg" || kw == "boks" || kw == "billede" || kw == "kolonneoverskrifter" ||
            kw == "kolonnefelter" || kw == "kolonnetekst") {
            if (!band_) fail("\"" + kw + "\" står før den første sektion");
            return item(kw);
        }
        fail("ukendt nøgleord \"" + toks_[0].text + "\"");
    }

    static std::string upperToLower(std::string s) {
        for (char& c : s)
            if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
        return s;
    }

    void pageSize() {
        if (peekWord("A4") || peekWord("a4")) {
            ++at_;
            std::string o = more() ? word("retning") : "stående";
            if (o == "stående") {
                def_.landscape = false;
                def_.pageWidth = 210;
                def_.pageHeight = 297;
            } else if (o == "liggende") {
                def_.landscape = true;
                def_.pageWidth = 297;
                def_.pageHeight = 210;
            } else {
                fail("papirets retning skal være \"stående\" eller \"liggende\", ikke \"" + o + "\"");
            }
        } else {
            def_.pageWidth = number("papirets bredde");
            if (word("\"x\"") != "x") fail("skriv papirets størrelse som \"BREDDE x HØJDE\" i mm");
            def_.pageHeight = number("papirets højde");
            def_.landscape = def_.pageWidth > def_.pageHeight;
            if (def_.pageWidth < 20 || def_.pageHeight < 20 || def_.pageWidth > 1000 || def_.pageHeight > 1000)
                fail("papirets størrelse skal være mellem 20 og 1000 mm");
        }
        done();
    }

    void sorting() {
        while (more()) {
            Token t = next("felt");
            if (!t.quoted && t.text == ",") continue;
            SortKey k{t.text, false};
            if (peekWord("faldende")) {
                ++at_;
                k.descending = true;
            } else if (peekWord("stigende")) {
                ++at_;
            }
            def_.sort.push_back(k);
            if (more() && !(peekWord(","))) fail("adskil sorteringsfelterne med komma");
        }
        if (def_.sort.empty()) fail("\"sortering\" skal nævne mindst ét felt");
    }

    void labels() {
        LabelGrid g;
        g.across = integer("antal etiketter i bredden");
        if (word("\"x\"") != "x") fail("skriv etiketterne som \"KOLONNER x RÆKKER\"");
        g.down = integer("antal etiketter i højden");
        if (g.across < 1 || g.down < 1 || g.across > 20 || g.down > 50) fail("urimeligt antal etiketter");
        if (peekWord("afstand")) {
            ++at_;
            g.gapX = number("vandret afstand");
            g.gapY = number("lodret afstand");
        }
        done();
        def_.labels = g;
    }

    void formula() {
        std::string rest = formulaText_;
        auto eq = rest.find('=');
        if (eq == std::string::npos) fail("skriv en formel som \"formel NAVN = udtryk\"");
        std::string name = trim(rest.substr(0, eq));
        if (name.empty() || name.find(' ') != std::string::npos) fail("formlens navn skal være ét ord");
        def_.formulas.push_back(parseFormula(name, trim(rest.substr(eq + 1))));
    }

    Align alignWord(const std::string& w, bool& matched) {
        matched = true;
        if (w == "venstre") return Align::Left;
        if (w == "højre") return Align::Right;
        if (w == "midt") return Align::Center;
        matched = false;
        return Align::Left;
    }

    void column() {
        Column c;
        Token value = next("felt");
        c.heading = next("overskrift").text;
        c.headingTemplate = parseTemplate(c.heading);
        for (const auto& seg : c.headingTemplate.segments)
            if (seg.kind != Segment::Literal && seg.kind != Segment::Field && seg.kind != Segment::Title)
                fail("en kolonneoverskrift kan kun have felter og {titel}");
        c.width = number("kolonnebredde");
        Format fmt;
        bool haveFmt = false;
        while (more()) {
            std::string w = word("valg");
            bool isAlign = false;
            Align a = alignWord(w, isAlign);
            if (isAlign) {
                c.align = a;
            } else if (!haveFmt && parseFormat(w, fmt)) {
                haveFmt = true;
            } else {
                fail("ukendt valg \"" + w + "\" for kolonnen \"" + c.heading + "\"");
            }
        }
        // A column named by a template (or "", for a column whose texts are all placed with
        // "kolonnetekst") rather than by one field.
        if (value.text.find('{') != std::string::npos || value.text.empty()) {
            if (haveFmt) fail("en kolonne med \"{...}\" har formatet inde i klammerne");
            c.value = parseTemplate(value.text);
        } else {
            Segment s;
            s.kind = Segment::Field;
            s.text = value.text;
            s.format = fmt;
            c.value.segments.push_back(s);
        }
        def_.columns.push_back(std::move(c));
    }

    // Band options shared by every band line.
    void bandOptions(Band& b) {
        while (more()) {
            std::string w = word("valg");
            if (w == "nyside") {
                b.newPage = true;
            } else if (w == "gentag") {
                if (b.kind != BandKind::GroupHeader) fail("\"gentag\" gælder kun gruppehoveder");
                b.repeat = true;
            } else if (w == "hold") {
                if (b.kind != BandKind::GroupHeader) fail("\"hold\" gælder kun gruppehoveder");
                b.keep = integer("antal rækker");
            } else if (w == "skjul") {
                b.hidden = true;
            } else if (w == "hvis") {
                b.ifField = next("felt").text;
            } else if (w == "højde") {
                b.minHeight = number("højde");
            } else {
                fail("ukendt valg \"" + w + "\"");
            }
        }
    }

    void startBand(Band& b, BandKind kind) {
        if (b.defined) fail("sektionen står der allerede");
        b.kind = kind;
        b.defined = true;
        bandOptions(b);
        if (def_.labels && kind != BandKind::Detail && kind != BandKind::PageHeader && kind != BandKind::PageFooter)
            fail("en etiketrapport har kun \"detalje\", \"sidehoved\" og \"sidefod\"");
        band_ = &b;
    }

    void groupBand(bool header) {
        std::vector<std::string> fields;
        while (more()) {
            if (peekWord(",")) {
                ++at_;
                continue;
            }
            const Token& t = peek();
            if (!t.quoted && (t.text == "nyside" || t.text == "gentag" || t.text == "hold" || t.text == "skjul" ||
                              t.text == "hvis" || t.text == "højde"))
                break;
            fields.push_back(next("felt").text);
        }
        if (fields.empty()) fail("gruppen skal have mindst ét felt");
        if (def_.labels) fail("en etiketrapport kan ikke have grupper");
        Group* g = nullptr;
        for (auto& existing : def_.groups)
            if (existing.fields == fields) g = &existing;
        if (!g) {
            def_.groups.push_back(Group{fields, {}, {}, {}});
            g = &def_.groups.back();
            // Earlier band pointers into the vector may have moved; only band_ is kept, and it
            // is set below.
        }
        int level = static_cast<int>(g - def_.groups.data());
        Band& b = header ? g->header : g->footer;
        if (b.defined) fail("gruppens " + std::string(header ? "hoved" : "fod") + " står der allerede");
        b.kind = header ? BandKind::GroupHeader : BandKind::GroupFooter;
        b.level = level;
        b.defined = true;
        bandOptions(b);
        band_ = &b;
    }

    void fontOption(const std::string& w, FontSpec& f, bool& matched) {
        matched = true;
        if (w == "fed") {
            f.bold = true;
        } else if (w == "kursiv") {
            f.italic = true;
        } else if (w == "str") {
            f.size = number("skriftstørrelse");
            if (f.size <= 0) fail("skriftstørrelsen skal være større end 0");
        } else if (w == "skrift") {
            Token t = next("skrift");
            if (!t.quoted) fail("skriv skriftens navn i anførselstegn");
            f.family = t.text;
        } else {
            matched = false;
        }
    }

    // y: a number (mm from the band's top), "+" or "+N" (N mm below the item before), "=" (on
    // the line of the item before).
    void yToken(Item& it) {
        Token y = next("y");
        if (!y.quoted && y.text[0] == '+') {
            it.ymode = YMode::Below;
            if (y.text.size() > 1) it.y = toNumber(y.text.substr(1), "afstand");
        } else if (!y.quoted && y.text == "=") {
            it.ymode = YMode::SameLine;
        } else {
            --at_;
            it.y = number("y");
        }
    }

    void position(Item& it) {
        it.x = number("x");
        yToken(it);
    }

    double widthToken() {
        if (peekWord("*")) {
            ++at_;
            return -1;
        }
        double w = number("bredde");
        if (w <= 0) fail("bredden skal være større end 0");
        return w;
    }

    void addText(Item it) {
        it.textIndex = band_->textCount++;
        band_->items.push_back(std::move(it));
    }

    void item(const std::string& kw) {
        Band& b = *band_;
        if (kw == "kolonneoverskrifter" || kw == "kolonnefelter") {
            if (def_.columns.empty()) fail("\"" + kw + "\" kræver, at kolonnerne er beskrevet før den");
            Item proto;
            proto.font = def_.font;
            if (kw == "kolonneoverskrifter") proto.font.bold = true;
            if (more() && !peek().quoted && (peek().text[0] == '+' || peek().text == "=" || peek().text[0] == '-' ||
                                              (peek().text[0] >= '0' && peek().text[0] <= '9')))
                yToken(proto);
            while (more()) {
                std::string w = word("valg");
                bool m = false;
                fontOption(w, proto.font, m);
                if (w == "normal") {
                    proto.font.bold = false;
                    m = true;
                }
                if (!m) fail("ukendt valg \"" + w + "\"");
            }
            double x = 0;
            bool first = true;
            int index = 0;
            for (const Column& c : def_.columns) {
                Item it = proto;
                it.column = index++;
                it.columnHeading = kw == "kolonneoverskrifter";
                if (!first) {
                    it.ymode = YMode::SameLine;
                    it.y = 0;
                }
                it.x = x;
                it.width = c.width;
                it.align = c.align;
                if (kw == "kolonneoverskrifter") {
                    it.text = c.headingTemplate;
                } else {
                    it.text = c.value;
                }
                addText(std::move(it));
                x += c.width + def_.columnGap;
                first = false;
            }
            return;
        }
        Item it;
        it.font = def_.font;
        if (kw == "kolonnetekst") {
            // A text placed exactly under a column of the table: its x, width and alignment.
            std::string name = next("kolonne").text;
            const Column* col = nullptr;
            for (int pass = 0; pass < 2 && !col; ++pass) {
                double x = 0;
                int index = 0;
                for (const Column& c : def_.columns) {
                    bool byField = c.value.segments.size() == 1 && c.value.segments[0].kind == Segment::Field &&
                                   iequals(c.value.segments[0].text, name);
                    if (pass == 0 ? byField : c.heading == name) {
                        col = &c;
                        it.x = x;
                        it.column = index;
                        break;
                    }
                    x += c.width + def_.columnGap;
                    ++index;
                }
            }
            if (!col) fail("der er ingen kolonne \"" + name + "\"");
            it.width = col->width;
            it.align = col->align;
            yToken(it);
        } else {
            position(it);
            it.width = widthToken();
        }
        if (kw == "streg") {
            it.kind = Item::Line;
            if (peekWord("tykkelse")) {
                ++at_;
                it.thickness = number("tykkelse");
            }
            done();
            b.items.push_back(std::move(it));
            return;
        }
        if (kw == "boks" || kw == "billede") {
            it.kind = kw == "boks" ? Item::Box : Item::Image;
            it.height = number("højde");
            if (kw == "boks") {
                if (peekWord("tykkelse")) {
                    ++at_;
                    it.thickness = number("tykkelse");
                }
            } else {
                Token f = next("filnavn");
                if (!f.quoted) fail("skriv billedets filnavn i anførselstegn");
                it.image = f.text;
            }
            done();
            b.items.push_back(std::move(it));
            return;
        }
        bool haveText = false;
        while (more()) {
            Token t = next("valg");
            if (t.quoted) {
                if (haveText) fail("en tekst kan kun have én skabelon i anførselstegn");
                it.text = parseTemplate(t.text);
                haveText = true;
                continue;
            }
            bool m = false;
            Align a = alignWord(t.text, m);
            if (m) {
                it.align = a;
                continue;
            }
            fontOption(t.text, it.font, m);
            if (m) continue;
            if (t.text == "ombryd") {
                it.wrap = true;
            } else if (t.text == "hvis") {
                it.ifField = next("felt").text;
            } else {
                fail("ukendt valg \"" + t.text + "\"");
            }
        }
        if (!haveText) fail("teksten mangler sin skabelon i anførselstegn");
        checkSegments(b, it.text);
        addText(std::move(it));
    }

    void checkSegments(const Band& b, const Template& t) {
        for (const auto& s : t.segments) {
            bool pageBand = b.kind == BandKind::PageHeader || b.kind == BandKind::PageFooter;
            if ((s.kind == Segment::Page || s.kind == Segment::Pages) && !pageBand)
                fail("{side} og {sider} kan kun bruges i sidehoved og sidefod");
            if (s.kind == Segment::Aggregated && b.kind != BandKind::GroupFooter && b.kind != BandKind::ReportFooter)
                fail("summer og antal kan kun bruges i gruppefødder og rapportfoden");
        }
    }
};

bool validUtf8(std::string_view s) {
    size_t i = 0;
    while (i < s.size()) {
        unsigned char c = static_cast<unsigned char>(s[i]);
        int n = c < 0x80 ? 0 : (c >> 5) == 6 ? 1 : (c >> 4) == 14 ? 2 : (c >> 3) == 30 ? 3 : -1;
        if (n < 0 || i + n >= s.size()) return false;
        for (int k = 1; k <= n; ++k)
            if ((static_cast<unsigned char>(s[i + k]) >> 6) != 2) return false;
        i += n + 1;
    }
    return true;
}

}  // namespace

Definition parseDefinition(std::string_view text, const std::string& fileName) {
    std::string converted;
    if (text.size() >= 3 && text.substr(0, 3) == "\xEF\xBB\xBF") text.remove_prefix(3);
    // A definition saved by an editor in the Windows code page still reads with its æ, ø, å.
    if (!validUtf8(text)) {
        converted = cp1252ToUtf8(text);
        text = converted;
    }
    return Parser(text, fileName).run();
}

namespace {

bool holdsDefinitions(const std::filesystem::path& folder) {
    std::error_code ec;
    for (std::filesystem::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
        std::string ext = it->path().extension().string();
        if (ext.size() == 4 && iequals(ext, ".rpt") && it->is_regular_file(ec)) return true;
    }
    return false;
}

}  // namespace

std::filesystem::path definitionFolder(const std::filesystem::path& programFolder) {
    if (holdsDefinitions(programFolder)) return programFolder;
    std::error_code ec;
    std::filesystem::path exe = std::filesystem::read_symlink("/proc/self/exe", ec);
    if (!ec && holdsDefinitions(exe.parent_path())) return exe.parent_path();
    return programFolder;
}

Definition loadDefinition(const std::filesystem::path& folder, const std::string& fileName) {
    auto found = findFileNoCase(folder, fileName);
    if (!found)
        throw DefinitionError("Rapportdefinitionen " + fileName + " findes ikke i programmappen " + folder.string() + ".");
    std::ifstream in(*found, std::ios::binary);
    std::stringstream ss;
    ss << in.rdbuf();
    if (!in && !in.eof()) throw DefinitionError("Rapportdefinitionen " + fileName + " kan ikke læses.");
    return parseDefinition(ss.str(), fileName);
}

}  // namespace vemora::reports
