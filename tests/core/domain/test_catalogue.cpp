// The colour codes and the category rule, written out here independently of the catalogue.
#include <gtest/gtest.h>

#include "core/domain/catalogue.h"
#include "support/testdb.h"

using namespace vemora;

TEST(Catalogue, ColourCodesLabelsAndTheCreationList) {
    std::string all;
    for (const auto& c : colourCodes())
        all += std::string(c.label) + " " + categoryName(c.category) + (c.offeredOnCreation ? "" : " (ikke ved oprettelse)") + "\n";
    EXPECT_EQ(all,
              "81 - Privat Privat\n82 - Privat Privat\n83 - Privat Privat\n84 - Privat Privat\n85 - Privat Privat\n"
              "90 - Sprint Ryx\n91 - Orange skema Ryx\n92 - Grøn skema Ryx\n93 - Hvid skema Ryx\n94 - Rød skema Ryx\n"
              "95 - Blå skema Sektion\n96 - Gul skema Sektion\n97 - Privat Privat\n98 - Privat Privat\n"
              "99 - Privat Privat (ikke ved oprettelse)\n");
    EXPECT_EQ(creationColourCodes().size(), 14u);
    EXPECT_EQ(colourCodeLabel("92"), "92 - Grøn skema");
    EXPECT_EQ(colourCodeLabel("86"), "86");  // unknown digits are stored alone
}

TEST(Catalogue, CategoryRuleAndItsQueryExpressionAgree) {
    // The prefix is compared as text: "9" and "86" sort below "90", "9A" above "97".
    const std::pair<const char*, const char*> cases[] = {
        {"85 - Privat", "Privat"}, {"86", "Privat"},  {"9", "Privat"},   {"90", "Ryx"},      {"94 - x", "Ryx"},
        {"95", "Sektion"},         {"96", "Sektion"}, {"97", "Privat"},  {"9A", "Privat"},   {"", "Privat"}};
    test::TestApp t;
    for (const auto& [code, category] : cases) {
        EXPECT_EQ(raceCategory(code), category) << code;
        EXPECT_EQ(isPrivateOrSection(code), std::string(category) != "Ryx") << code;
        EXPECT_EQ(t.db().scalar("SELECT " + raceCategorySql("?1"), {code}), Value(category)) << code;
    }
    EXPECT_EQ(privateOrSectionCodesSql(), "('81', '82', '83', '84', '85', '95', '96', '97', '98', '99')");
}
