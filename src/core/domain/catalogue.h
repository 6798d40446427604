#pragma once
// The race domain's lists, written once: the seven prize scales, the four pool switches,
// the games P, E, Z and R, and the colour codes with their labels and categories. The
// schema, the forms, the import, the calculation, the demo and the reports iterate these;
// no other file names a prize table, a pool switch or a colour code.
#include <array>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace vemora {

// ---- prize scales ------------------------------------------------------------------------

// One prize scale: a per-race table (Kapflyvning, Værdi, Antal) and the section's template
// it is copied from when a race is created.
struct PrizeScale {
    const char* table;          // "Kontantpræmier"
    const char* templateTable;  // "Kontantpræmier_Init"
    const char* flagField;      // the race field that switches the scale on ("Kl_P")
    const char* gameCaption;    // the race dialog's check box ("Kl. P")
    const char* caption;        // the scale's button, with its access key ("P-spi&lspræmier")
    bool importCopies;          // a race created by the import gets the template's rows
    bool keyed;                 // one row per value (primary key Kapflyvning, Værdi)
};

// The index of a scale: the order of the race dialog's game boxes and scale buttons and of
// the settings dialog's template buttons.
enum ScaleIndex { kScaleKontant, kScaleSlagspil, kScaleP, kScaleE, kScaleSlag, kScaleZ, kScaleR, kScaleCount };
const std::array<PrizeScale, kScaleCount>& prizeScales();
// The order in which a new race's prize rows are copied.
const std::array<ScaleIndex, kScaleCount>& scaleCreationOrder();

// ---- pool switches and games ------------------------------------------------------------

// The games played per bird besides the A and B classes, in the order P, E, Z, R.
enum GameIndex { kGameP, kGameE, kGameZ, kGameR, kGameCount };

struct Game {
    char letter;               // 'P'
    const char* raceFlag;      // Kapflyvninger: the game is played ("Kl_P")
    const char* stakeField;    // Indskud: the stake per bird ("Kl_P")
    const char* birdField;     // Deltagere: the bird is entered ("Pulje")
    const char* countField;    // Regnskab: birds entered ("AntalP")
    const char* wonField;      // Deltagere: the bird won a prize in it ("PræmieretIKlP")
    const char* poolSwitch;    // Markering and Kapflyvninger: prizes capped by the stakes
    const char* poolCaption;   // the switch's check box ("Pulje")
    bool importCopiesPool;     // a race created by the import copies the section's switch
    ScaleIndex scale;          // its prize scale
};
const std::array<Game, kGameCount>& games();

// ---- colour codes ----------------------------------------------------------------------------

enum class RaceCategory { None, Privat, Sektion, Ryx };

struct ColourCode {
    const char* code;           // the two digits, "91"
    const char* label;          // the stored text, "91 - Orange skema"
    RaceCategory category;
    bool offeredOnCreation;     // in the list of the dialog that creates a race
};
// Every colour code the section knows, in code order (81-85, 90-99): the race kinds of the
// point table.
const std::vector<ColourCode>& colourCodes();
// The entries the creation dialog offers, in its order.
std::vector<std::string> creationColourCodes();
// The stored text a race of the two digits gets when the import creates it ("91" ->
// "91 - Orange skema"); digits the section does not know are stored alone.
std::string colourCodeLabel(std::string_view code);

// The category by the first two characters of a colour code, compared as text: "97" and
// above or below "90" private, "95" and "96" section, other two digits national; anything
// else none.
RaceCategory raceCategoryOf(std::string_view farvekode);
// The category's name as the lists show it: "Privat", "Sektion", "Ryx" or "".
std::string categoryName(RaceCategory c);
std::string raceCategory(std::string_view farvekode);
// Private and section races play the classes, the games and the pools; national races not.
bool isPrivateOrSection(std::string_view farvekode);
// The category rule as an SQL expression on a colour-code column, for the stored queries.
std::string raceCategorySql(const std::string& farvekodeColumn);
// The colour-code prefixes of the private and section races, as an SQL list: ('81', ...).
std::string privateOrSectionCodesSql();

}  // namespace vemora
