#include "core/championships/criteria.h"

namespace vemora::championships::detail {

bool readDefinition(Database& db, const std::string& nr, Definition& def) {
    RowSet rs = db.query("SELECT * FROM Mesterskaber WHERE Nr = ? ORDER BY RecNr LIMIT 1", {nr});
    if (rs.empty()) return false;
    auto get = [&](const char* f) -> Value {
        int c = rs.columnIndex(f);
        return c < 0 ? Value() : rs.rows[0][static_cast<size_t>(c)];
    };
    def.recNr = get("RecNr").toInt();
    def.nr = nr;
    def.titel = get("Titel");
    def.type = get("Type").toText();
    def.antalDuer = get("Antal_duer_pr_slag");
    def.antalFlyvninger = get("Antal_flyvninger");
    def.caps[1] = get("Antal_L_flyvninger");
    def.caps[2] = get("Antal_M_flyvninger");
    def.caps[3] = get("Antal_S_flyvninger");
    def.caps[4] = get("Antal_P_flyvninger");
    def.kunJunior = get("Kun_juniorduer").toBool();
    def.kunBegyndere = get("Kun_Begyndere").toBool();
    def.kunPensionister = get("Kun_Pensionister").toBool();
    def.kunSport = get("Kun_sportsduer").toBool();
    def.eksklSport = get("Ekskl_Sportsduer").toBool();
    def.kunForeningskryds = get("Kun_foreningsafkrydsede").toBool();
    def.foreningsmarkering1 = get("Foreningsmarkering1");
    def.kode = {get("Kun_Kode1"), get("Kun_Kode2"), get("Kun_Kode3")};
    def.omraade = get("Område");
    def.koen = get("Køn");
    def.aargang = get("Årgang");
    def.eksklAargang = get("Ekskl_Årgang");
    def.topProc = get("TopProc");
    return true;
}

std::string likeToGlob(const std::string& pattern) {
    std::string out;
    bool inBracket = false;
    for (size_t i = 0; i < pattern.size(); ++i) {
        char c = pattern[i];
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
        if (inBracket) {
            if (c == '!' && pattern[i - 1] == '[') c = '^';
            if (c == ']') inBracket = false;
            out.push_back(c);
        } else if (c == '#') {
            out += "[0-9]";
        } else {
            if (c == '[') inBracket = true;
            out.push_back(c);
        }
    }
    return out;
}

std::string criteriaFilter(const Definition& def, std::vector<Value>& params) {
    std::string w;
    const bool b = def.kunBegyndere, j = def.kunJunior, p = def.kunPensionister;
    if (b && p && j)
        w += " AND (Begynder OR Pensionist OR Junior)";
    else if (b && j)
        w += " AND (Begynder OR Junior)";
    else if (b && p)
        w += " AND (Begynder OR Pensionist)";
    else if (p && j)
        w += " AND (Pensionist OR Junior)";
    else if (b)
        w += " AND Begynder";
    else if (j)
        w += " AND Junior";
    else if (p)
        w += " AND Pensionist";
    if (!def.foreningsmarkering1.isNull()) {
        // The engine's InStr compares without regard to case.
        w += " AND instr(upper(ForeningskrydsT), upper(?)) > 0";
        params.push_back(def.foreningsmarkering1);
    }
    for (int k = 0; k < 3; ++k)
        if (!def.kode[k].isNull()) {
            w += " AND Kode" + std::to_string(k + 1) + " = ?";
            params.push_back(def.kode[k]);
        }
    if (!def.omraade.isNull()) {
        w += " AND Område = ?";
        params.push_back(def.omraade);
    }
    if (def.kunSport) w += " AND Sportsdue";
    if (def.eksklSport) w += " AND NOT Sportsdue";
    if (def.kunForeningskryds) w += " AND Foreningskryds";
    if (!def.koen.isNull()) {
        w += " AND Køn = ?";
        params.push_back(def.koen);
    }
    if (!def.aargang.isNull()) {
        w += " AND lower(Ringnummer) GLOB ?";
        params.push_back(likeToGlob("*-" + def.aargang.toText() + "-*"));
    }
    if (!def.eksklAargang.isNull()) {
        w += " AND lower(Ringnummer) NOT GLOB ?";
        params.push_back(likeToGlob("*-" + def.eksklAargang.toText() + "-*"));
    }
    if (!def.topProc.isNull()) {
        // The engine divides as real; 100.0 keeps SQLite from dividing whole numbers.
        w += " AND 100.0 * Placering / Kapflyvning_ialt <= ?";
        params.push_back(def.topProc.isNumber() ? Value(def.topProc.toDouble()) : def.topProc);
    }
    return w;
}

std::string criteriaText(const Definition& def, const std::vector<std::string>& memberRings) {
    std::string t;
    if (!memberRings.empty()) {
        t += "Deltagende ringnumre: ";
        for (size_t i = 0; i < memberRings.size(); ++i) t += (i ? ", " : "") + memberRings[i];
        t += ". ";
    }
    const bool b = def.kunBegyndere, j = def.kunJunior, p = def.kunPensionister;
    if (b && j && p)
        t += "Kun begyndere + juniorer + pensionister. ";
    else if (b && j)
        t += "Kun begyndere + juniorer. ";
    else if (b && p)
        t += "Kun begyndere + pensionister. ";
    else if (j && p)
        t += "Kun juniorer + pensionister. ";
    else if (b)
        t += "Kun begyndere. ";
    else if (j)
        t += "Kun juniorer. ";
    else if (p)
        t += "Kun pensionister. ";
    if (def.kunSport) t += "Kun sportsduer. ";
    if (def.eksklSport) t += "Udelad sportsduer. ";
    if (def.kunForeningskryds) t += "Kun foreningsmarkerede duer. ";
    if (!def.foreningsmarkering1.isNull()) t += "Kun foreningsmarkering = " + def.foreningsmarkering1.toText() + ". ";
    for (int k = 0; k < 3; ++k)
        if (!def.kode[k].isNull()) t += "Kun kode " + std::to_string(k + 1) + " = " + def.kode[k].toText() + ". ";
    if (!def.omraade.isNull()) t += "Kun område = " + def.omraade.toText() + ". ";
    if (!def.aargang.isNull()) t += "Kun årgang " + def.aargang.toText() + ". ";
    if (!def.eksklAargang.isNull()) t += "Eksklusiv årgang " + def.eksklAargang.toText() + ". ";
    if (!def.koen.isNull()) t += "Kun køn " + def.koen.toText() + ". ";
    auto count = [&](const Value& v, const std::string& noun, const std::string& plural, const std::string& tail) {
        if (v.isNull()) return;
        t += v.toText() + " " + noun + (v.toDouble() > 1 ? plural : "") + tail;
    };
    count(def.antalDuer, "due", "r", " pr. kapflyvning. ");
    if (!def.topProc.isNull()) t += "Kun top " + def.topProc.toText() + " %. ";
    count(def.antalFlyvninger, "kapflyvning", "er", " medtalt. ");
    count(def.caps[1], "langdistanceflyvning", "er", " medtalt. ");
    count(def.caps[2], "mellemdistanceflyvning", "er", " medtalt. ");
    count(def.caps[3], "sektionsflyvning", "er", " medtalt. ");
    count(def.caps[4], "privatflyvning", "er", " medtalt. ");
    return t;
}

}  // namespace vemora::championships::detail
