// The value type every layer passes around: Null stays Null, and a number read from a text
// means the same whichever way it is asked for.
#include <gtest/gtest.h>

#include "core/app/procs.h"
#include "core/db/value.h"

using namespace vemora;

TEST(Value, NullZeroAndEmptyTextAreThreeThings) {
    EXPECT_TRUE(Value().isNull());
    EXPECT_FALSE(Value() == Value(0));
    EXPECT_FALSE(Value() == Value(""));
    EXPECT_FALSE(Value(0) == Value(""));
    EXPECT_TRUE(Value() == Value(nullptr));
    EXPECT_EQ(Value(3), Value(3.0));
    EXPECT_EQ(Value(true), Value(1));
    EXPECT_EQ(Value("3"), Value(3));  // text against number compares the texts
    EXPECT_FALSE(Value("3.0") == Value(3));
    EXPECT_TRUE(Value(std::optional<int>()).isNull());
    EXPECT_EQ(Value(std::optional<int>(4)), Value(4));
    EXPECT_EQ(Value().toInt(-1), -1);
    EXPECT_EQ(Value().toDouble(2.5), 2.5);
    EXPECT_EQ(Value().toText(), "");
}

TEST(Value, TextReadsAsTheSameNumberAsIntegerAndAsDouble) {
    struct Case {
        const char* text;
        int64_t asInt;
        double asDouble;
    };
    const Case cases[] = {{"\t7", 7, 7},  {" 7 ", 7, 7},      {"1,5", 2, 1.5},  {"-2.5", -3, -2.5},
                          {"7abc", 0, 0}, {"", 0, 0},         {"abc", 0, 0},    {"0012", 12, 12}};
    for (const auto& c : cases) {
        EXPECT_EQ(Value(c.text).toInt(), c.asInt) << "'" << c.text << "'";
        EXPECT_EQ(Value(c.text).toDouble(), c.asDouble) << "'" << c.text << "'";
    }
    EXPECT_EQ(Value(2.5).toInt(), 3);
    EXPECT_EQ(Value(-2.5).toInt(), -3);
}

TEST(Value, NumberTextKeepsWholeNumbersWhole) {
    EXPECT_EQ(Value::fromNumberText("12"), Value(12));
    EXPECT_TRUE(Value::fromNumberText(" 12 ")->isInt());
    EXPECT_TRUE(Value::fromNumberText("12,5")->isDouble());
    EXPECT_EQ(Value::fromNumberText("12,5"), Value(12.5));
    EXPECT_EQ(Value::fromNumberText("-4"), Value(-4));
    EXPECT_EQ(Value::fromNumberText("+4"), Value(4));
    EXPECT_FALSE(Value::fromNumberText("12a"));
    EXPECT_FALSE(Value::fromNumberText(""));
    auto big = Value::fromNumberText("1234567890123456789");  // past what is kept whole
    ASSERT_TRUE(big);
    EXPECT_TRUE(big->isDouble());
}

TEST(Value, TextAndBooleanForms) {
    EXPECT_EQ(Value(3.0).toText(), "3");
    EXPECT_EQ(Value(2.5).toText(), "2.5");
    EXPECT_EQ(Value(-0.125).toText(), "-0.125");
    EXPECT_EQ(Value(1e20).toText(), "1e+20");
    EXPECT_EQ(Value(42).toText(), "42");
    for (const char* f : {"", "0", "False", "false"}) EXPECT_FALSE(Value(f).toBool()) << f;
    for (const char* t : {"1", "x", "True", "-1"}) EXPECT_TRUE(Value(t).toBool()) << t;
    EXPECT_FALSE(Value().toBool());
    EXPECT_FALSE(Value(0.0).toBool());
    EXPECT_TRUE(Value(-1).toBool());
}

TEST(Value, NullIfEmptyAndVariantsEqual) {
    EXPECT_TRUE(NullIfEmpty(Value("")).isNull());
    EXPECT_EQ(NullIfEmpty(Value(" ")), Value(" "));
    EXPECT_EQ(NullIfEmpty(Value(0)), Value(0));
    EXPECT_TRUE(VariantsEqual(Value(), Value()));
    EXPECT_FALSE(VariantsEqual(Value(), Value("")));
    EXPECT_FALSE(VariantsEqual(Value(0), Value()));
    EXPECT_TRUE(VariantsEqual(Value(3), Value(3.0)));
    EXPECT_FALSE(VariantsEqual(Value("A"), Value("B")));
}
