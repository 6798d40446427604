#include "core/domain/catalogue.h"

#include <algorithm>

namespace vemora {

const std::array<PrizeScale, kScaleCount>& prizeScales() {
    // The Z and R templates came with a later schema and were named with a small "init".
    static const std::array<PrizeScale, kScaleCount> s{{
        {"Kontantpræmier", "Kontantpræmier_Init", "Kontantpræmier", "Kontantpræmier", "&Kontantpræmier", true, false},
        {"Slagspilspræmier", "Slagspilspræmier_Init", "Slagspil_S", "Slagspil", "&Slagspilspræmier", true, false},
        {"P-spils-præmier", "P-spils-præmier_Init", "Kl_P", "Kl. P", "P-spi&lspræmier", true, false},
        {"E-spils-præmier", "E-spils-præmier_Init", "Kl_E", "Kl. E", "&E-spilspræmier", true, false},
        {"Slagpræmier", "Slagpræmier_Init", "Slagpræmier", "Slagpræmier", "Sl&agpræmier", true, false},
        {"Z-spils-præmier", "Z-spils-præmier_init", "Kl_Z", "Kl. Z", "&Z-spilspræmier", false, true},
        {"R-spils-præmier", "R-spils-præmier_init", "Kl_R", "Kl. R", "&R-spilspræmier", false, true},
    }};
    return s;
}

const std::array<ScaleIndex, kScaleCount>& scaleCreationOrder() {
    static const std::array<ScaleIndex, kScaleCount> o{kScaleKontant, kScaleSlag, kScaleSlagspil, kScaleP, kScaleE, kScaleZ, kScaleR};
    return o;
}

const std::array<Game, kGameCount>& games() {
    static const std::array<Game, kGameCount> g{{
        {'P', "Kl_P", "Kl_P", "Pulje", "AntalP", "PræmieretIKlP", "Pulje_Puljepræmier", "Pulje", true, kScaleP},
        {'E', "Kl_E", "Kl_E", "Elite", "AntalE", "PræmieretIKlE", "Elite_Puljepræmier", "Elite", true, kScaleE},
        {'Z', "Kl_Z", "Kl_Z", "Kl_Z", "AntalZ", "PræmieretIKlZ", "Z_Puljepræmier", "Kl. Z", false, kScaleZ},
        {'R', "Kl_R", "Kl_R", "Kl_R", "AntalR", "PræmieretIKlR", "R_Puljepræmier", "Kl. R", false, kScaleR},
    }};
    return g;
}

const std::vector<ColourCode>& colourCodes() {
    using C = RaceCategory;
    static const std::vector<ColourCode> c{
        {"81", "81 - Privat", C::Privat, true},         {"82", "82 - Privat", C::Privat, true},
        {"83", "83 - Privat", C::Privat, true},         {"84", "84 - Privat", C::Privat, true},
        {"85", "85 - Privat", C::Privat, true},         {"90", "90 - Sprint", C::Ryx, true},
        {"91", "91 - Orange skema", C::Ryx, true},      {"92", "92 - Grøn skema", C::Ryx, true},
        {"93", "93 - Hvid skema", C::Ryx, true},        {"94", "94 - Rød skema", C::Ryx, true},
        {"95", "95 - Blå skema", C::Sektion, true},     {"96", "96 - Gul skema", C::Sektion, true},
        {"97", "97 - Privat", C::Privat, true},         {"98", "98 - Privat", C::Privat, true},
        {"99", "99 - Privat", C::Privat, false},
    };
    return c;
}

std::vector<std::string> creationColourCodes() {
    std::vector<std::string> out;
    for (const auto& c : colourCodes())
        if (c.offeredOnCreation) out.emplace_back(c.label);
    return out;
}

std::string colourCodeLabel(std::string_view code) {
    for (const auto& c : colourCodes())
        if (code == c.code) return c.label;
    return std::string(code);
}

RaceCategory raceCategoryOf(std::string_view farvekode) {
    std::string_view p = farvekode.substr(0, std::min<size_t>(2, farvekode.size()));
    if (p >= "97" || p < "90") return RaceCategory::Privat;
    if (p == "95" || p == "96") return RaceCategory::Sektion;
    if (p.size() == 2 && p[0] >= '0' && p[0] <= '9' && p[1] >= '0' && p[1] <= '9') return RaceCategory::Ryx;
    return RaceCategory::None;
}

std::string categoryName(RaceCategory c) {
    switch (c) {
        case RaceCategory::Privat: return "Privat";
        case RaceCategory::Sektion: return "Sektion";
        case RaceCategory::Ryx: return "Ryx";
        case RaceCategory::None: break;
    }
    return "";
}

std::string raceCategory(std::string_view farvekode) { return categoryName(raceCategoryOf(farvekode)); }

bool isPrivateOrSection(std::string_view farvekode) {
    RaceCategory c = raceCategoryOf(farvekode);
    return c == RaceCategory::Privat || c == RaceCategory::Sektion;
}

std::string raceCategorySql(const std::string& column) {
    std::string p = "substr(" + column + ", 1, 2)";
    return "iif(" + p + " >= '97' OR " + p + " < '90', 'Privat', iif(" + p + " = '95' OR " + p + " = '96', 'Sektion', 'Ryx'))";
}

std::string privateOrSectionCodesSql() {
    std::string out;
    for (const auto& c : colourCodes())
        if (c.category == RaceCategory::Privat || c.category == RaceCategory::Sektion)
            out += (out.empty() ? "('" : ", '") + std::string(c.code) + "'";
    return out + ")";
}

}  // namespace vemora
