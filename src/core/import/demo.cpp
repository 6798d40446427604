#include "core/import/demo.h"

#include <cmath>
#include <cstdio>
#include <array>
#include <map>

#include "core/app/procs.h"
#include "core/base/text.h"
#include "core/domain/catalogue.h"
#include "core/import/importrun.h"
#include "core/races/races.h"

namespace vemora {

namespace fs = std::filesystem;

// ---- writing lines ---------------------------------------------------------------------------

namespace {

std::string rightAligned(const std::string& s, size_t width) {
    return s.size() >= width ? s.substr(s.size() - width) : std::string(width - s.size(), ' ') + s;
}

std::string clock6(const Value& v) {
    if (v.isNull()) return "";
    std::string t = v.toText();  // HH:MM:SS
    return t.substr(0, 2) + t.substr(3, 2) + t.substr(6, 2);
}

std::string flagChar(const Keep<bool>& k, char yes) {
    if (!k) return " ";
    return std::string(1, *k ? yes : 'N');
}

std::string digitChar(int d) { return d ? std::to_string(d) : " "; }

std::string numberText(const Value& v) {
    if (v.isNull()) return "";
    if (v.isInt()) return std::to_string(v.toInt());
    char buf[40];
    std::snprintf(buf, sizeof buf, "%.3f", v.toDouble());
    std::string s = buf;
    auto comma = s.find(',');
    if (comma != std::string::npos) s[comma] = '.';
    return s;
}

}  // namespace

std::string formatHeader(const std::string& club, const std::string& version) {
    return "0" + utf8ToCp1252(club) + utf8ToCp1252(version);
}

std::string formatRace(const std::string& cc, std::optional<Date> date, const std::string& time, const std::string& station,
                       const std::string& stationName) {
    std::string line = "1";
    placeField(line, 2, 2, cc);
    if (date) {
        char buf[16];
        std::snprintf(buf, sizeof buf, "%02u%02u%02d", static_cast<unsigned>(date->day()), static_cast<unsigned>(date->month()),
                      static_cast<int>(date->year()) % 100);
        placeField(line, 4, 6, buf);
    } else {
        placeField(line, 4, 6, "");
    }
    placeField(line, 10, 5, time);
    placeField(line, 15, 3, "");
    placeField(line, 18, 3, station);
    return line + utf8ToCp1252(stationName);
}

std::string formatBird(const BirdRecord& b, Layout layout) {
    std::string line = "2";
    placeField(line, 2, 2, b.cc);
    placeField(line, 4, 3, b.slag.toText());
    std::string ring = b.ring;
    placeField(line, 7, 3, mid(ring, 1, 3));
    placeField(line, 10, 2, mid(ring, 5, 2));
    placeField(line, 12, 4, mid(ring, 8, 4));
    placeField(line, 16, 1, b.kon.toText());
    placeField(line, 17, 1, b.sportsdue ? "X" : "");
    placeField(line, 18, 1, digitChar(b.sektionA));
    placeField(line, 19, 1, digitChar(b.sektionB));
    placeField(line, 20, 1, digitChar(b.gruppeA));
    placeField(line, 21, 1, digitChar(b.gruppeB));
    placeField(line, 22, 1, b.pulje ? "X" : "");
    placeField(line, 23, 1, b.elite ? "X" : "");
    placeField(line, 24, 6, clock6(b.hjemkomst));
    placeField(line, 30, 6, clock6(b.korrigeret));
    placeField(line, 36, 1, numberText(b.dogn));
    placeField(line, 37, 16, rightAligned(numberText(b.speed), 16));

    const bool six = layout == Layout::L6;
    size_t navn = 53;
    if (layout >= Layout::L2) {
        std::string t = b.foreningskrydsT ? b.foreningskrydsT->toText() : "";
        if (t.empty() && b.foreningskryds && *b.foreningskryds) t = "X";
        placeField(line, 53, six ? 10 : 1, t);
        placeField(line, six ? 63 : 54, 1, flagChar(b.junior, 'J'));
        navn = 55;
    }
    if (layout >= Layout::L3) {
        size_t base = six ? 64 : 55;
        placeField(line, base, 1, flagChar(b.pensionist, 'P'));
        placeField(line, base + 1, 1, flagChar(b.begynder, 'B'));
        for (int i = 0; i < 3; ++i) placeField(line, base + 2 + i, 1, b.kode[i].value_or(""));
        placeField(line, base + 5, 1, b.klZ.value_or(false) ? "X" : "");
        placeField(line, base + 6, 1, b.klR.value_or(false) ? "X" : "");
        navn = base + 7;
    }
    if (layout >= Layout::L4) {
        std::string a;
        if (b.afstand && !b.afstand->isNull()) {
            char buf[16];
            std::snprintf(buf, sizeof buf, "%07lld", std::llround(b.afstand->toDouble() * 1000));
            a = buf;
        }
        placeField(line, navn, 7, a);
        navn += 7;
    }
    if (layout >= Layout::L5) {
        placeField(line, navn, 5, b.omrade ? b.omrade->toText() : "");
        navn += 5;
    }
    line.resize(navn - 1, ' ');
    if (!b.slagNavn.isNull()) line += utf8ToCp1252(b.slagNavn.toText());
    return line;
}

std::string formatLoftGame(const std::string& cc, const std::string& slag, const std::string& name) {
    std::string line = "3";
    placeField(line, 2, 2, cc);
    placeField(line, 4, 3, slag);
    return line + utf8ToCp1252(name);
}

std::string formatPayment(const std::string& cc, long long amount) {
    std::string line = "4";
    placeField(line, 2, 2, cc);
    char buf[16];
    std::snprintf(buf, sizeof buf, "%010lld", amount);
    placeField(line, 4, 10, buf);
    return line;
}

std::string formatFactor(int km, double faktor) {
    char buf[32];
    std::snprintf(buf, sizeof buf, "5%04d%07lld", km, std::llround(faktor * 1000));
    return buf;
}

// ---- the demo season ---------------------------------------------------------------------------

namespace {

// A small generator of our own, so the same seed gives the same season on every platform
// (the standard distributions are allowed to differ between libraries).
class Rng {
public:
    explicit Rng(uint32_t seed) : s_(seed * 2654435761u + 0x9E3779B9u) {}
    uint32_t next() {
        s_ ^= s_ << 13;
        s_ ^= s_ >> 17;
        s_ ^= s_ << 5;
        return s_;
    }
    int range(int lo, int hi) { return lo + static_cast<int>(next() % static_cast<uint32_t>(hi - lo + 1)); }
    bool chance(int percent) { return range(1, 100) <= percent; }
    template <typename T>
    const T& pick(const std::vector<T>& v) {
        return v[next() % v.size()];
    }

private:
    uint32_t s_;
};

struct Station {
    std::string nr, name;
    int km;
};

const std::vector<Station>& stations() {
    static const std::vector<Station> s{{"101", "Flensborg", 180}, {"102", "Rødby Færgehavn", 240},
                                        {"103", "Sankt Hans' Plads", 300}, {"104", "Neumünster", 260},
                                        {"105", "Hannover", 420},          {"106", "Gedser Ø", 330},
                                        {"107", "Ålborg Havn", 150}};
    return s;
}

const std::vector<std::string> kClubNames{"Brevdueforeningen Ørnen", "Skjern Brevdueforening", "Ærø Brevduer",
                                          "Fremad Åbenrå", "Kjærgårds Brevdueklub", "Sønderborg Flyvere",
                                          "Brevdueforeningen Måge", "Bøgely Duer"};
const std::vector<std::string> kFirst{"Søren", "Bjørn", "Åse", "Jørgen", "Mette", "Kåre", "Birthe", "Niels", "Ærling",
                                      "Per", "Gitte", "Ove"};
const std::vector<std::string> kLast{"Sørensen", "Møller", "Kjær", "Ærø", "Bødker", "Østergaard", "Ågård",
                                     "Nørgaard", "O'Brien", "Hansen", "Jensen", "Ravnsbæk"};
const std::vector<std::string> kAreas{"Nord", "Syd", "Øst", "Vest"};

struct Loft {
    std::string nr, name, area;
    int offsetKm;
    bool junior, pensioner, beginner, loftGame;
};

struct Bird {
    std::string ring;
    std::string sex;
    size_t loft;
};

struct DemoClub {
    std::string nr, name;
    Layout layout;
    std::vector<Loft> lofts;
    std::vector<Bird> birds;
};

struct DemoRace {
    std::string cc;
    Date date;
    std::string time;
    const Station* station;
    int share;  // percent of the club's birds sent
};

std::vector<DemoRace> racesOfWeek(int week, int year, int idx) {
    Date saturday = addDays(Week1Start(year, year), (week - 1) * 7 + 5);
    const auto& st = stations();
    std::vector<DemoRace> r;
    r.push_back({week % 2 ? "95" : "96", saturday, "07:15", &st[idx % st.size()], 90});
    if (week % 2 == 0) r.push_back({std::to_string(91 + (idx / 2) % 4), saturday, "06:30", &st[(idx + 3) % st.size()], 50});
    if (idx % 5 == 2) r.push_back({"97", addDays(saturday, 1), "08:00", &st[(idx + 1) % st.size()], 30});
    return r;
}

std::vector<DemoClub> makeClubs(const DemoOptions& o, Rng& rng, int year) {
    std::vector<DemoClub> clubs;
    for (int c = 0; c < o.clubs; ++c) {
        DemoClub club;
        club.nr = padZero(std::to_string(11 + c * 12), 3);
        club.name = c < static_cast<int>(kClubNames.size()) ? kClubNames[c] : "Brevdueforening " + club.nr;
        club.layout = c % 4 == 3 ? Layout::L5 : Layout::L6;
        int lofts = std::max(1, o.birdsPerClub / 25);
        for (int l = 0; l < lofts; ++l) {
            std::string name = rng.pick(kFirst) + " " + rng.pick(kLast);
            club.lofts.push_back({padZero(std::to_string(l + 1), 3), name, rng.pick(kAreas), rng.range(-25, 40),
                                  rng.chance(10), rng.chance(15), rng.chance(8), rng.chance(60)});
        }
        for (int b = 0; b < o.birdsPerClub; ++b) {
            char ring[16];
            std::snprintf(ring, sizeof ring, "%s-%02d-%04d", club.nr.c_str(), (year - rng.range(0, 4)) % 100, b + 1);
            club.birds.push_back({ring, rng.chance(55) ? "A" : "U", static_cast<size_t>(b) % club.lofts.size()});
        }
        clubs.push_back(std::move(club));
    }
    return clubs;
}

std::string clockText(int seconds) {
    char buf[16];
    std::snprintf(buf, sizeof buf, "%02d:%02d:%02d", seconds / 3600 % 24, seconds / 60 % 60, seconds % 60);
    return buf;
}

// One club's file for one week; returns the number of bird lines.
long long writeClubWeek(const fs::path& file, const DemoClub& club, const std::vector<DemoRace>& races, Rng& rng) {
    Cp1252Writer w(file);
    w.encodedLine(formatHeader(club.nr, versionForLayout(club.layout)));
    for (const auto& r : races) w.encodedLine(formatRace(r.cc, r.date, r.time, r.station->nr, " " + r.station->name));
    long long birds = 0;
    std::map<std::string, std::vector<size_t>> sentLofts;
    for (const auto& r : races) {
        int release = std::stoi(r.time.substr(0, 2)) * 3600 + std::stoi(r.time.substr(3, 2)) * 60;
        bool games = isPrivateOrSection(r.cc);
        for (const auto& bird : club.birds) {
            if (!rng.chance(r.share)) continue;
            const Loft& loft = club.lofts[bird.loft];
            BirdRecord b;
            b.cc = r.cc;
            b.slag = Value(loft.nr);
            b.ring = bird.ring;
            b.kon = Value(bird.sex);
            b.sportsdue = rng.chance(5);
            if (games) {
                b.sektionA = rng.chance(60) ? rng.range(1, 6) : 0;
                b.sektionB = rng.chance(30) ? rng.range(1, 6) : 0;
                b.gruppeA = rng.chance(10) ? rng.range(1, 3) : 0;
                b.pulje = rng.chance(40);
                b.elite = rng.chance(20);
                b.klZ = rng.chance(10);
                b.klR = rng.chance(10);
            } else {
                b.klZ = false;
                b.klR = false;
            }
            int km = r.station->km + loft.offsetKm;
            int metres = km * 1000 + rng.range(0, 999);
            b.afstand = Value(metres / 1000.0);
            if (rng.chance(94)) {
                double speed = rng.range(900000, 1700000) / 1000.0;
                int secs = static_cast<int>(std::lround(metres / speed * 60.0));
                int arrival = release + secs;
                b.hjemkomst = Value(clockText(arrival));
                b.dogn = Value(1 + arrival / 86400);
                b.speed = Value(std::round(metres / (secs / 60.0) * 1000.0) / 1000.0);
            }
            if (loft.junior) b.junior = true;
            if (loft.pensioner) b.pensionist = true;
            if (loft.beginner) b.begynder = true;
            if (rng.chance(15)) b.kode[0] = "1";
            if (rng.chance(5)) b.foreningskrydsT = Value("K");
            else b.foreningskrydsT = Value();
            if (b.foreningskrydsT->isText()) b.foreningskryds = true;
            b.omrade = Value(loft.area);
            b.slagNavn = Value(loft.name);
            w.encodedLine(formatBird(b, club.layout));
            ++birds;
            auto& sent = sentLofts[r.cc];
            if (sent.empty() || sent.back() != bird.loft) sent.push_back(bird.loft);
        }
    }
    for (const auto& r : races) {
        if (!isPrivateOrSection(r.cc)) continue;
        for (size_t l : sentLofts[r.cc])
            if (club.lofts[l].loftGame) w.encodedLine(formatLoftGame(r.cc, club.lofts[l].nr, club.lofts[l].name));
    }
    for (const auto& r : races)
        if (isPrivateOrSection(r.cc)) w.encodedLine(formatPayment(r.cc, 30000LL + rng.range(0, 500) * 100));
    if (!w.ok()) throw std::runtime_error("Filen " + file.string() + " kunne ikke skrives.");
    return birds;
}

// Creates the race as the secretary does before the files arrive: through the race dialog
// (so private and section races get the prize scales from the templates), then release
// data, fee and the games played.
void ensureRace(Database& db, int week, const DemoRace& r) {
    if (db.scalar("SELECT count(*) FROM Kapflyvninger WHERE Uge = ? AND substr(Farvekode, 1, 2) = ?", {week, r.cc}).toInt())
        return;
    bool games = isPrivateOrSection(r.cc);
    if (db.scalar("SELECT count(*) FROM Stationer WHERE Nr = ?", {r.station->nr}).toInt() == 0)
        db.execute("INSERT INTO Stationer (Nr, Navn) VALUES (?, ?)", {r.station->nr, r.station->name});
    long long nr = races::InsertRace(db, week, colourCodeLabel(r.cc), races::RaceOrigin::Dialog);
    std::string sql = "UPDATE Kapflyvninger SET Station = ?, SlipDato = ?, Sliptid = ?, Gebyr = 300, GebyrSlag = 0, LMU = ?";
    std::vector<Value> params{r.station->nr, isoDate(r.date), r.time, r.station->km > 280 ? "L" : "M"};
    for (const auto& scale : prizeScales()) {
        sql += ", " + sqlIdent(scale.flagField) + " = ?";
        params.emplace_back(games);
    }
    params.emplace_back(nr);
    db.execute(sql + " WHERE Nr = ?", params);
}

// Takes every default, answering Yes, and keeps the messages of runs that did not complete.
class DemoUi : public Ui {
public:
    std::string last;
    void message(const std::string& text, const std::string& title, Icon) override { last = title + ": " + text; }
    Answer ask(const std::string&, const std::string&, Buttons, Icon, Answer) override { return Answer::Yes; }
};

}  // namespace

void prepareDemoSettings(Database& db) {
    Transaction tr(db);
    if (db.scalar("SELECT count(*) FROM Indskud").toInt() == 0) db.exec("INSERT INTO Indskud DEFAULT VALUES");
    Value stakes = db.scalar(
        "SELECT A_Klasse1 + A_Klasse2 + A_Klasse3 + B_Klasse1 + Kl_P + Kl_E + Kl_Z + Kl_R + Slagspil FROM Indskud LIMIT 1");
    if (stakes.isNull() || stakes.toDouble() == 0)
        db.exec(
            "UPDATE Indskud SET A_Klasse1 = 2, A_Klasse2 = 3, A_Klasse3 = 5, A_Klasse4 = 10, A_Klasse5 = 20, A_Klasse6 = 50, "
            "B_Klasse1 = 2, B_Klasse2 = 3, B_Klasse3 = 5, B_Klasse4 = 10, B_Klasse5 = 20, B_Klasse6 = 50, "
            "Kl_P = 10, Kl_E = 20, Kl_Z = 5, Kl_R = 5, Slagspil = 25");
    if (db.scalar("SELECT count(*) FROM Markering").toInt() == 0)
        db.exec("INSERT INTO Markering (Præmiefaktor_A, Præmiefaktor_B, Pointsystem, Hastighed_9192, Hastighed_Andre) "
                "VALUES (0, 0, 0, 0, 0)");
    db.exec(
        "UPDATE Markering SET Præmiefaktor_A = 3, Præmiefaktor_B = 3 "
        "WHERE ifnull(Præmiefaktor_A, 0) = 0 AND ifnull(Præmiefaktor_B, 0) = 0");
    // A section without a name gets one, so headers and the statistics' section number show.
    db.exec(
        "UPDATE Generelt SET Sektionsnr = '012', Sektionsnavn = 'Sektion 12 Sønderjylland', Bank = 'Andelskassen Syd', "
        "Bank_Adr = 'Storegade 1', Bank_Postnr = '6200', Regnr = '1234', Kontonr = '0001234567' "
        "WHERE Sektionsnavn IS NULL");
    db.exec("INSERT OR IGNORE INTO Postnr (Postnr, \"By\") VALUES ('6200', 'Aabenraa')");
    // Antal and Værdi of each template, by the catalogue's scale index.
    const std::array<std::vector<std::pair<int, int>>, kScaleCount> templates{{
        {{1, 300}, {2, 200}, {3, 150}, {5, 100}, {10, 50}},  // cash
        {{1, 250}, {1, 150}, {1, 100}},                      // loft game
        {{1, 100}, {2, 50}, {3, 25}},                        // P
        {{1, 150}, {2, 75}},                                 // E
        {{1, 200}, {2, 100}},                                // loft prizes
        {{1, 60}, {2, 30}},                                  // Z
        {{1, 60}, {2, 30}},                                  // R
    }};
    for (size_t i = 0; i < templates.size(); ++i) {
        std::string table = sqlIdent(prizeScales()[i].templateTable);
        if (db.scalar("SELECT count(*) FROM " + table).toInt()) continue;
        for (const auto& [antal, vaerdi] : templates[i])
            db.execute("INSERT INTO " + table + " (Antal, Værdi) VALUES (?, ?)", {antal, vaerdi});
    }
    tr.commit();
}

DemoSummary runDemo(AppState& app, const DemoOptions& options) {
    DemoOptions o = options;
    if (o.weeks.empty())
        for (int w = 18; w <= 31; ++w) o.weeks.push_back(w);
    o.clubs = std::max(1, o.clubs);
    o.birdsPerClub = std::max(1, o.birdsPerClub);
    Database& db = app.database();
    int year = app.currentYear();
    Rng rng(o.seed);
    std::vector<DemoClub> clubs = makeClubs(o, rng, year);

    prepareDemoSettings(db);
    {
        Transaction tr(db);
        for (const auto& c : clubs)
            if (db.scalar("SELECT count(*) FROM Foreninger WHERE Nr = ?", {c.nr}).toInt() == 0)
                db.execute("INSERT INTO Foreninger (Nr, Navn) VALUES (?, ?)", {c.nr, c.name});
        for (size_t i = 0; i < o.weeks.size(); ++i)
            for (const auto& r : racesOfWeek(o.weeks[i], year, static_cast<int>(i))) ensureRace(db, o.weeks[i], r);
        tr.commit();
    }

    fs::path folder = app.appPath / "demo";
    fs::create_directories(folder);
    DemoSummary summary;
    for (size_t i = 0; i < o.weeks.size(); ++i) {
        auto races = racesOfWeek(o.weeks[i], year, static_cast<int>(i));
        for (const auto& c : clubs) {
            fs::path file = folder / clubFileName(c.nr, std::to_string(o.weeks[i]));
            summary.birds += writeClubWeek(file, c, races, rng);
            summary.files.push_back(file);
        }
    }

    DemoUi ui;
    Ui* saved = app.ui;
    app.ui = &ui;
    // Each run commits its own savepoint; the outer transaction saves the disk a sync per file.
    Transaction all(db);
    for (const auto& file : summary.files) {
        auto name = parseClubFileName(file.filename().string());
        ImportResult r = ImportClubFile(app, file, name->club, name->week, false);
        if (r.completed()) ++summary.imported;
        else summary.problems.push_back(file.filename().string() + ": " + ui.last);
    }
    all.commit();
    app.ui = saved;
    return summary;
}

}  // namespace vemora
