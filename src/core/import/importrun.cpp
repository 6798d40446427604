#include "core/import/importrun.h"

#include <array>
#include <map>
#include <optional>

#include "core/app/procs.h"
#include "core/base/text.h"
#include "core/domain/catalogue.h"
#include "core/import/clubfile.h"
#include "core/races/races.h"

namespace vemora {

namespace {

// Ends the run without a message (club not created, Cancel at a race question).
struct SilentEnd {};
// Ends the run after "Ugyldigt filformat.".
struct WrongHeader {};

// Counts of one race's Regnskab row, added up in memory while a block of birds or loft games
// runs and written when the block closes (or the run ends), so each bird costs one statement.
struct Counts {
    int duer = 0, hanner = 0, hunner = 0, p = 0, e = 0, z = 0, r = 0, s = 0;
    std::array<int, 6> a{}, b{};
};

class ImportRun {
public:
    ImportRun(AppState& app, std::string club, std::string week, bool checkRes)
        : app_(app), db_(app.database()), ui_(app.userInterface()), club_(std::move(club)), weekText_(std::move(week)),
          checkRes_(checkRes) {}

    // Runs the steps after the file is open; throws SilentEnd, WrongHeader, DbError or
    // ClubFileDataError.
    void run(ClubFileReader& file);
    // Writes the counts still held in memory, so the rows of an interrupted run stay whole.
    void flushCounts();
    bool errorFlag() const { return errorFlag_; }

private:
    void closeBlock(char kind);
    void openBlock(char kind);
    void header(const std::string& line);
    void race(const std::string& line);
    void createRace(const RaceRecord& r, int idx);
    void writeReleaseData(int64_t nr, const RaceRecord& r);
    void bird(const std::string& line);
    void loftGame(const std::string& line);
    void payment(const std::string& line);
    void factor(const std::string& line);
    void finish();
    void addImportFejl(const std::string& cc, const Value& ring, const Value& slag, const Value& slagnavn,
                       const std::string& tekst);
    Statement& stmt(std::optional<Statement>& s, const char* sql);
    Statement& birdStatement(Layout layout, bool writeGames);

    AppState& app_;
    Database& db_;
    Ui& ui_;
    std::string club_, weekText_;
    int week_ = 0;
    bool checkRes_;
    std::string version_;
    Layout layout_ = Layout::L1;
    char kind_ = '0';
    std::array<int64_t, 100> raceNr_{};
    std::array<bool, 100> check_{};
    bool errorFlag_ = false;
    std::map<int64_t, Counts> counts_;

    std::optional<Statement> findBird_, insFejl_, findLoft_, updLoft_, insLoft_, payment_, factor_;
    std::map<std::pair<int, bool>, Statement> birdStmts_;
};

Statement& ImportRun::stmt(std::optional<Statement>& s, const char* sql) {
    if (!s) s.emplace(db_.prepare(sql));
    return *s;
}

void ImportRun::run(ClubFileReader& file) {
    auto week = clubFileWeek(weekText_);
    if (!week) throw ClubFileDataError("Ugyldig uge: " + weekText_);
    week_ = *week;
    db_.execute("DELETE FROM ImportFejl WHERE Forening = ? AND Uge = ?", {club_, week_});

    std::string line;
    while (file.next(line)) {
        if (line.empty()) continue;
        // The secretary finds the line by its number in the club's file.
        try {
            char k = line[0];
            if (k != kind_) {
                closeBlock(kind_);
                openBlock(k);
                kind_ = k;
            }
            switch (k) {
                case '0': header(line); break;
                case '1': race(line); break;
                case '2': bird(line); break;
                case '3': loftGame(line); break;
                case '4': payment(line); break;
                case '5': factor(line); break;
                default: break;  // other kinds are not ours
            }
        } catch (const std::exception& e) {
            throw ClubFileDataError("Linje " + std::to_string(file.lineNumber()) + ", " + e.what());
        }
    }
    finish();
}

void ImportRun::closeBlock(char kind) {
    if (kind == '1') {
        for (int cc = 0; cc < 100; ++cc) {
            int64_t nr = raceNr_[cc];
            if (nr <= 0) continue;
            std::vector<Value> key{static_cast<long long>(nr), club_};
            // Under the entry check the entered birds and loft games are what the results are
            // compared with, so only the payments are replaced.
            if (!check_[cc]) {
                db_.execute("DELETE FROM Deltagere WHERE Kapflyvning = ? AND Forening = ?", key);
                db_.execute("DELETE FROM Slagspil WHERE Kapflyvning = ? AND Forening = ?", key);
                db_.execute("DELETE FROM Regnskab WHERE Kapflyvning = ? AND Forening = ?", key);
            }
            db_.execute("DELETE FROM Indbetalinger WHERE Kapflyvning = ? AND Forening = ?", key);
        }
    } else if (kind == '2' || kind == '3') {
        flushCounts();
    }
}

void ImportRun::openBlock(char kind) {
    if (kind == '5') db_.exec("DELETE FROM KM_faktorer");
}

void ImportRun::header(const std::string& line) {
    HeaderRecord h = parseHeader(line);
    if (h.club != club_) throw WrongHeader{};
    version_ = h.version;
    layout_ = layoutForVersion(version_);
    if (!db_.scalar("SELECT count(*) FROM Foreninger WHERE Nr = ?", {club_}).toInt()) {
        Answer a = ui_.ask("Forening " + club_ + " er ikke oprettet. Skal foreningen oprettes.", "Info", Buttons::YesNo,
                           Icon::Question, Answer::Yes);
        if (a != Answer::Yes) throw SilentEnd{};
        db_.execute("INSERT INTO Foreninger (Nr, Navn) VALUES (?, ?)", {club_, h.name});
    }
}

std::string datePart(const RaceRecord& r) {
    return "Slipdato " + r.dateDigits.substr(0, 2) + "-" + r.dateDigits.substr(2, 2) + "-" + r.dateDigits.substr(4, 2);
}

void ImportRun::race(const std::string& line) {
    RaceRecord r = parseRace(line, app_.currentYear());
    int idx = colourIndex(r.cc);
    RowSet found = db_.query(
        "SELECT Nr, SlipDato, Sliptid, Station FROM Kapflyvninger WHERE Uge = ? AND substr(Farvekode, 1, 2) = ? "
        "ORDER BY Nr LIMIT 1",
        {week_, r.cc});
    // National races are never checked against the entries.
    if (checkRes_ && isPrivateOrSection(r.cc) && !r.time.empty()) check_[idx] = true;

    if (found.empty()) {
        Answer a = ui_.ask("Kapflyvning " + r.cc + " (" + r.stationName + ") er ikke oprettet. Ønsker du at oprette kapflyvningen.",
                           "Advarsel", Buttons::YesNoCancel, Icon::Question, Answer::Yes);
        if (a == Answer::Cancel) throw SilentEnd{};
        if (a == Answer::Yes) createRace(r, idx);
        return;
    }

    int64_t nr = found.get(0, "Nr").toInt();
    raceNr_[idx] = nr;
    db_.execute("UPDATE Kapflyvninger SET Beregn = 1 WHERE Nr = ?", {static_cast<long long>(nr)});
    const Value& slipdato = found.get(0, "SlipDato");
    const Value& sliptid = found.get(0, "Sliptid");
    const Value& station = found.get(0, "Station");

    bool differ = (!slipdato.isNull() && r.date && isoDate(*r.date) != slipdato.toText()) ||
                  (!sliptid.isNull() && !r.time.empty() && r.time != sliptid.toText()) ||
                  (!station.isNull() && r.station && *r.station != station.toText());
    Answer a;
    if (differ) {
        a = ui_.ask("For kapflyvning " + r.cc +
                        " er slipdato, sliptid eller station anderledes i foreningsfilen end i sektionssystemet. "
                        "Data i foreningsfilen er: " +
                        datePart(r) + ", Sliptid " + r.timeField + ", Station " + r.stationField + " (" + r.stationRest +
                        "). Ønsker du alligevel at indlæse kapflyvningen.",
                    "Advarsel", Buttons::YesNoCancel, Icon::Question, Answer::Yes);
    } else {
        std::string list;
        auto item = [&](const std::string& s) { list += (list.empty() ? "" : ", ") + s; };
        if (slipdato.isNull() && r.date) item(datePart(r));
        if (sliptid.isNull() && !r.time.empty()) item("Sliptid " + r.timeField);
        if (station.isNull() && r.station) item("Station " + *r.station + " (" + r.stationName + ")");
        if (list.empty()) return;
        a = ui_.ask("Slipdato, sliptid og/eller station er angivet i foreningsfil, men ikke i sektionssystemet for flyvning " +
                        r.cc + ". Nye data er: " + list + ". Ønsker du at indlæse kapflyvningen.",
                    "Advarsel", Buttons::YesNoCancel, Icon::Question, Answer::Yes);
    }
    if (a == Answer::Cancel) throw SilentEnd{};
    if (a == Answer::No) {
        raceNr_[idx] = 0;
        return;
    }
    if (ui_.ask("Ønsker du at opdatere slipdato, sliptid og station for kapflyvning " + r.cc + ".", "Info", Buttons::YesNo,
                Icon::Question, Answer::Yes) == Answer::Yes)
        writeReleaseData(nr, r);
}

void ImportRun::createRace(const RaceRecord& r, int idx) {
    int64_t nr = races::InsertRace(db_, week_, colourCodeLabel(r.cc), races::RaceOrigin::Import);
    writeReleaseData(nr, r);
    raceNr_[idx] = nr;
}

void ImportRun::writeReleaseData(int64_t nr, const RaceRecord& r) {
    Value nrV(static_cast<long long>(nr));
    if (r.date) db_.execute("UPDATE Kapflyvninger SET SlipDato = ? WHERE Nr = ?", {isoDate(*r.date), nrV});
    if (!r.time.empty()) db_.execute("UPDATE Kapflyvninger SET Sliptid = ? WHERE Nr = ?", {r.time, nrV});
    if (!r.station) return;
    db_.execute("UPDATE Kapflyvninger SET Station = ? WHERE Nr = ?", {*r.station, nrV});
    RowSet st = db_.query("SELECT Navn FROM Stationer WHERE Nr = ?", {*r.station});
    Value name = r.length > 20 ? NullIfEmpty(Value(r.stationName)) : Value();
    if (st.empty())
        db_.execute("INSERT INTO Stationer (Nr, Navn) VALUES (?, ?)", {*r.station, name});
    else if (st.get(0, "Navn").isNull() && r.length > 20)
        db_.execute("UPDATE Stationer SET Navn = ? WHERE Nr = ?", {name, *r.station});
}

void ImportRun::addImportFejl(const std::string& cc, const Value& ring, const Value& slag, const Value& slagnavn,
                              const std::string& tekst) {
    Statement& s = stmt(insFejl_,
                        "INSERT INTO ImportFejl (Forening, Uge, Farvekode, Ringnummer, Slag, Slagnavn, Tekst) "
                        "VALUES (?, ?, ?, ?, ?, ?, ?)");
    s.bindAll({club_, week_, cc, ring, slag, slagnavn, tekst}).run();
    errorFlag_ = true;
}

// One upsert per bird: a new row gets Lnr and the defaults, an existing one keeps what a blank
// flag or code leaves alone. The statement varies only by the layout's fields and whether the
// games are written, so at most twelve are ever prepared.
Statement& ImportRun::birdStatement(Layout layout, bool writeGames) {
    auto key = std::make_pair(static_cast<int>(layout), writeGames);
    auto it = birdStmts_.find(key);
    if (it != birdStmts_.end()) return it->second;

    std::vector<std::string> cols, ins, upd;
    auto set = [&](const char* col, const std::string& param) {
        cols.push_back(sqlIdent(col));
        ins.push_back(param);
        upd.push_back(sqlIdent(col) + " = " + param);
    };
    // A flag or code left alone by a blank: the default on a new row, the old value otherwise.
    auto keep = [&](const char* col, const std::string& param, const char* def) {
        cols.push_back(sqlIdent(col));
        ins.push_back(def ? "coalesce(" + param + ", " + def + ")" : param);
        upd.push_back(sqlIdent(col) + " = coalesce(" + param + ", " + sqlIdent(col) + ")");
    };
    cols = {"Kapflyvning", "Ringnummer", "Lnr"};
    ins = {"?1", "?2", "?3"};
    set("Køn", "?4");
    set("Forening", "?5");
    set("Slag", "?6");
    Layout l = layout;
    if (l >= Layout::L2) {
        keep("Foreningskryds", "?7", "0");
        set("ForeningskrydsT", "?8");
        keep("Junior", "?9", "0");
    }
    if (l >= Layout::L3) {
        keep("Pensionist", "?10", "0");
        keep("Begynder", "?11", "0");
        keep("Kode1", "?12", nullptr);
        keep("Kode2", "?13", nullptr);
        keep("Kode3", "?14", nullptr);
    }
    if (l >= Layout::L4) set("Afstand", "?15");
    if (l >= Layout::L5) set("Område", "?16");
    set("Slag_Navn", "?17");
    if (writeGames) {
        if (l >= Layout::L3) {
            set("Kl_Z", "?18");
            set("Kl_R", "?19");
        }
        set("Sportsdue", "?20");
        set("Sektion A", "?21");
        set("Sektion B", "?22");
        set("Gruppe A", "?23");
        set("Gruppe B", "?24");
        set("Pulje", "?25");
        set("Elite", "?26");
    }
    set("HjemKomst", "?27");
    set("Korrigeret hjemkomst", "?28");
    set("Døgn", "?29");
    set("Meter / min", "?30");

    std::string sql = "INSERT INTO Deltagere (";
    for (size_t i = 0; i < cols.size(); ++i) sql += (i ? ", " : "") + cols[i];
    sql += ") VALUES (";
    for (size_t i = 0; i < ins.size(); ++i) sql += (i ? ", " : "") + ins[i];
    sql += ") ON CONFLICT (Kapflyvning, Ringnummer) DO UPDATE SET ";
    for (size_t i = 0; i < upd.size(); ++i) sql += (i ? ", " : "") + upd[i];
    return birdStmts_.emplace(key, db_.prepare(sql)).first->second;
}

Value keepValue(const Keep<bool>& k) { return k ? Value(*k) : Value(); }
Value keepValue(const Keep<std::string>& k) { return k ? Value(*k) : Value(); }

void ImportRun::bird(const std::string& line) {
    std::string cc = field(line, 2, 2);
    int idx = colourIndex(cc);
    int64_t nr = raceNr_[idx];
    if (nr <= 0) return;
    Value nrV(static_cast<long long>(nr));
    bool check = check_[idx];

    std::string divergens;
    std::optional<BirdRecord> parsed;
    if (check) {
        // A bird that was never entered is listed from its ring, loft and name alone; the rest
        // of its line is not read.
        std::string ring =
            cp1252ToUtf8(field(line, 7, 3)) + "-" + cp1252ToUtf8(field(line, 10, 2)) + "-" + cp1252ToUtf8(field(line, 12, 4));
        Statement& f = stmt(findBird_,
                            "SELECT Kl_Z, Kl_R, Sportsdue, \"Sektion A\", \"Sektion B\", \"Gruppe A\", \"Gruppe B\", Pulje, "
                            "Elite FROM Deltagere WHERE Kapflyvning = ? AND Ringnummer = ?");
        f.bind(1, nrV).bind(2, ring);
        if (!f.step()) {
            f.reset();
            std::string slag = field(line, 4, 3);
            addImportFejl(cc, ring, isBlank(slag) ? Value() : Value(cp1252ToUtf8(slag)), birdLoftName(line, layout_),
                          "Ringnummer ikke anmeldt.");
            return;
        }
        try {
            parsed = parseBird(line, layout_);
        } catch (...) {
            f.reset();
            throw;
        }
        const BirdRecord& b = *parsed;
        auto cmp = [&](int col, const Value& v, const char* item) {
            if (!VariantsEqual(f.column(col), v)) divergens += item;
        };
        if (b.klZ) {
            cmp(0, Value(*b.klZ), "Zone, ");
            cmp(1, Value(*b.klR), "R-spil, ");
        }
        cmp(2, Value(b.sportsdue), "Sportsdue, ");
        cmp(3, Value(b.sektionA), "Sektion A, ");
        cmp(4, Value(b.sektionB), "Sektion B, ");
        cmp(5, Value(b.gruppeA), "Gruppe A, ");
        cmp(6, Value(b.gruppeB), "Gruppe B, ");
        cmp(7, Value(b.pulje), "Pulje, ");
        cmp(8, Value(b.elite), "Elite, ");
        f.reset();
    } else {
        parsed = parseBird(line, layout_);
        // Regnskab has the classes 1 to 6 only; the engine would refuse the count.
        if (parsed->sektionA > 6 || parsed->sektionB > 6)
            throw ClubFileDataError("Sektion A/B: klasse " + std::to_string(std::max(parsed->sektionA, parsed->sektionB)));
    }
    const BirdRecord& b = *parsed;

    Statement& s = birdStatement(layout_, !check);
    s.bind(1, nrV).bind(2, b.ring).bind(3, b.ring.size() >= 4 ? b.ring.substr(b.ring.size() - 4) : b.ring);
    s.bind(4, b.kon).bind(5, club_).bind(6, b.slag);
    s.bind(7, keepValue(b.foreningskryds)).bind(8, b.foreningskrydsT.value_or(Value())).bind(9, keepValue(b.junior));
    s.bind(10, keepValue(b.pensionist)).bind(11, keepValue(b.begynder));
    for (int i = 0; i < 3; ++i) s.bind(12 + i, keepValue(b.kode[i]));
    s.bind(15, b.afstand.value_or(Value())).bind(16, b.omrade.value_or(Value())).bind(17, b.slagNavn);
    s.bind(18, Value(b.klZ.value_or(false))).bind(19, Value(b.klR.value_or(false)));
    s.bind(20, Value(b.sportsdue)).bind(21, b.sektionA).bind(22, b.sektionB).bind(23, b.gruppeA).bind(24, b.gruppeB);
    s.bind(25, Value(b.pulje)).bind(26, Value(b.elite));
    s.bind(27, b.hjemkomst).bind(28, b.korrigeret).bind(29, b.dogn).bind(30, b.speed);
    s.run();

    if (!check) {
        Counts& c = counts_[nr];
        ++c.duer;
        if (b.kon == Value("A")) ++c.hanner;
        if (b.kon == Value("U")) ++c.hunner;
        if (b.sektionA > 0) ++c.a[b.sektionA - 1];
        if (b.sektionB > 0) ++c.b[b.sektionB - 1];
        if (b.pulje) ++c.p;
        if (b.elite) ++c.e;
        if (b.klZ.value_or(false)) ++c.z;
        if (b.klR.value_or(false)) ++c.r;
    }
    if (!divergens.empty())
        addImportFejl(cc, b.ring, b.slag, b.slagNavn,
                      "Divergens i forhold til spil ved anmeldelse (" + divergens.substr(0, divergens.size() - 2) + ").");
}

void ImportRun::flushCounts() {
    if (counts_.empty()) return;
    std::string sql = "UPDATE Regnskab SET AntalDuer = AntalDuer + ?3, AntalHanner = AntalHanner + ?4, "
                      "AntalHunner = AntalHunner + ?5, AntalP = AntalP + ?6, AntalE = AntalE + ?7, AntalZ = AntalZ + ?8, "
                      "AntalR = AntalR + ?9, AntalS = AntalS + ?10";
    for (int i = 1; i <= 6; ++i) {
        std::string n = std::to_string(i);
        sql += ", AntalA" + n + " = AntalA" + n + " + ?" + std::to_string(10 + i);
        sql += ", AntalB" + n + " = AntalB" + n + " + ?" + std::to_string(16 + i);
    }
    sql += " WHERE Kapflyvning = ?1 AND Forening = ?2";
    Statement add = db_.prepare("INSERT INTO Regnskab (Kapflyvning, Forening) VALUES (?, ?) ON CONFLICT DO NOTHING");
    Statement upd = db_.prepare(sql);
    for (const auto& [nr, c] : counts_) {
        Value nrV(static_cast<long long>(nr));
        add.bind(1, nrV).bind(2, club_).run();
        upd.bind(1, nrV).bind(2, club_).bind(3, c.duer).bind(4, c.hanner).bind(5, c.hunner).bind(6, c.p).bind(7, c.e);
        upd.bind(8, c.z).bind(9, c.r).bind(10, c.s);
        for (int i = 0; i < 6; ++i) upd.bind(11 + i, c.a[i]).bind(17 + i, c.b[i]);
        upd.run();
    }
    counts_.clear();
}

void ImportRun::loftGame(const std::string& line) {
    LoftGameRecord g = parseLoftGame(line);
    int idx = colourIndex(g.cc);
    int64_t nr = raceNr_[idx];
    if (nr <= 0 || !isPrivateOrSection(g.cc)) return;
    Value nrV(static_cast<long long>(nr));
    Value slag = isBlank(g.slag) ? Value() : Value(g.slag);
    Statement& f = stmt(findLoft_, "SELECT rowid FROM Slagspil WHERE Kapflyvning = ? AND Forening = ? AND Slag IS ? LIMIT 1");
    f.bind(1, nrV).bind(2, club_).bind(3, slag);
    std::optional<int64_t> rowid;
    if (f.step()) rowid = f.column(0).toInt();
    f.reset();
    if (!rowid) {
        if (check_[idx]) {
            addImportFejl(g.cc, Value(), slag, g.slagNavn, "Slagspil ikke registreret ved anmeldelse.");
            return;
        }
        stmt(insLoft_, "INSERT INTO Slagspil (Kapflyvning, Forening, Slag, Slag_Navn, Slagspil_S) VALUES (?, ?, ?, ?, 1)")
            .bindAll({nrV, club_, slag, g.slagNavn})
            .run();
    } else {
        stmt(updLoft_, "UPDATE Slagspil SET Slag_Navn = ?, Slagspil_S = 1 WHERE rowid = ?")
            .bindAll({g.slagNavn, static_cast<long long>(*rowid)})
            .run();
    }
    if (!check_[idx]) ++counts_[nr].s;
}

void ImportRun::payment(const std::string& line) {
    std::string cc = field(line, 2, 2);
    int idx = colourIndex(cc);
    int64_t nr = raceNr_[idx];
    if (nr <= 0 || !isPrivateOrSection(cc)) return;
    PaymentRecord p = parsePayment(line);
    stmt(payment_,
         "INSERT INTO Indbetalinger (Kapflyvning, Forening, Indbetalt) VALUES (?1, ?2, ?3) "
         "ON CONFLICT (Kapflyvning, Forening) DO UPDATE SET Indbetalt = ?3")
        .bindAll({static_cast<long long>(nr), club_, p.amount})
        .run();
}

void ImportRun::factor(const std::string& line) {
    FactorRecord f = parseFactor(line);
    stmt(factor_, "INSERT INTO KM_faktorer (KM, Faktor) VALUES (?, ?)").bindAll({f.km, f.faktor}).run();
}

void ImportRun::finish() {
    flushCounts();
    db_.execute(
        "INSERT INTO ResModt (Uge, Forening, Resultat) VALUES (?1, ?2, 1) "
        "ON CONFLICT (Uge, Forening) DO UPDATE SET Resultat = 1",
        {week_, club_});
}

}  // namespace

ImportResult ImportClubFile(AppState& app, const std::filesystem::path& file, const std::string& club,
                            const std::string& week, bool checkResults) {
    Ui& ui = app.userInterface();
    ImportResult result;
    SetBusy(app, true);
    try {
        Database& db = app.database();
        ClubFileReader reader(file);
        if (!reader.isOpen()) throw ClubFileDataError("Filen " + file.string() + " kunne ikke åbnes.");
        ImportRun run(app, club, week, checkResults);
        // Committed however the run ends: what was written before a silent end or an error
        // stays, as the secretary has always seen it. Only a crash undoes the run.
        Transaction tr(db);
        try {
            run.run(reader);
            result.outcome = run.errorFlag() ? ImportOutcome::CompletedWithErrors : ImportOutcome::Completed;
        } catch (const SilentEnd&) {
            result.outcome = ImportOutcome::Stopped;
        } catch (const WrongHeader&) {
            result.outcome = ImportOutcome::Refused;
        } catch (const std::exception& e) {
            result.outcome = ImportOutcome::Failed;
            result.detail = e.what();
        }
        try {
            run.flushCounts();  // the counts of the birds written before the end
        } catch (const std::exception& e) {
            if (result.outcome != ImportOutcome::Failed) result.detail = e.what();
            result.outcome = ImportOutcome::Failed;
        }
        tr.commit();
    } catch (const std::exception& e) {
        result.outcome = ImportOutcome::Failed;
        result.detail = e.what();
    }
    SetBusy(app, false);

    switch (result.outcome) {
        case ImportOutcome::Completed: ui.message("Indlæsning er afsluttet.", "Info", Icon::Information); break;
        case ImportOutcome::CompletedWithErrors:
            ui.message("Indlæsning er afsluttet. Vælg Vis,Fejllister for at se importfejl.", "Info", Icon::Exclamation);
            break;
        case ImportOutcome::Refused: ui.message("Ugyldigt filformat.", "Fejl", Icon::Exclamation); break;
        // The reason goes on a line of its own below the sentence the secretary knows.
        case ImportOutcome::Failed:
            ui.message("Fejl ved indlæsning af data." + (result.detail.empty() ? std::string() : "\n" + result.detail), "Fejl",
                       Icon::Exclamation);
            break;
        default: break;
    }
    return result;
}

ImportResult ImportEntry(AppState& app, const std::filesystem::path& folder, const std::string& entry, bool checkResults) {
    if (entry.empty()) {
        app.userInterface().message("Der er ikke valgt nogen importfil.", "Fejl", Icon::Exclamation);
        return {ImportOutcome::NothingSelected, {}};
    }
    ClubFileName n = entryToClubFile(entry);
    return ImportClubFile(app, clubFilePath(folder, entry), n.club, n.week, checkResults);
}

bool readCheckResFiler(Database& db) {
    try {
        return db.scalar("SELECT CheckResFiler FROM Generelt LIMIT 1").toBool();
    } catch (const DbError&) {
        return false;
    }
}

void writeCheckResFiler(Database& db, bool on) {
    if (db.scalar("SELECT count(*) FROM Generelt").toInt() == 0)
        db.execute("INSERT INTO Generelt (CheckResFiler) VALUES (?)", {Value(on)});
    else
        db.execute("UPDATE Generelt SET CheckResFiler = ? WHERE rowid = (SELECT min(rowid) FROM Generelt)", {Value(on)});
}

}  // namespace vemora
