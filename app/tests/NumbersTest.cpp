// SPDX-License-Identifier: GPL-3.0-or-later
#include "fit/Numbers.h"
#include "run/FitRun.h"

#include <gtest/gtest.h>

namespace velmora {
namespace {

TEST(ParseDecimal, AcceptsCommaAndFullStop) {
    EXPECT_EQ(parseDecimal("457,9"), 457.9);
    EXPECT_EQ(parseDecimal("457.9"), 457.9);
    EXPECT_EQ(parseDecimal("  -1,5e2 "), -150.0);
    EXPECT_EQ(parseDecimal("+2E-1"), 0.2);
    EXPECT_EQ(parseDecimal(",5"), 0.5);
    EXPECT_EQ(parseDecimal("5,"), 5.0);
    EXPECT_EQ(parseDecimal("200"), 200.0);
}

TEST(ParseDecimal, RejectsWhatIsNoNumber) {
    for (const char* text : {"", "   ", "abc", "1,2,3", "1.000,5", "1 000", "1e", "e5", "-", ",",
                             "1e+", "\t1", "0x10", "inf", "nan", "1e999"}) {
        EXPECT_FALSE(tryParseDecimal(text).has_value()) << "'" << text << "'";
    }
    try {
        parseDecimal("1,2,3");
        FAIL() << "no error";
    } catch (const RunError& e) {
        EXPECT_STREQ(e.what(), "'1,2,3' is not a valid floating point value");
    }
}

TEST(ParseInteger, AcceptsSignedIntegersOnly) {
    EXPECT_EQ(parseInteger("200"), 200);
    EXPECT_EQ(parseInteger(" -7 "), -7);
    EXPECT_EQ(parseInteger("+3"), 3);
    EXPECT_EQ(parseInteger("2147483647"), 2147483647);
    for (const char* text : {"", "2,5", "2.0", "1e3", "+-3", "abc", "2147483648", "- 3"}) {
        try {
            parseInteger(text);
            ADD_FAILURE() << "accepted '" << text << "'";
        } catch (const RunError& e) {
            EXPECT_EQ(std::string(e.what()),
                      "'" + std::string(text) + "' is not a valid integer value");
        }
    }
}

TEST(FormatFixed, RoundsToTheGivenDecimals) {
    EXPECT_EQ(formatFixed(12.3456, 3), "12.346");
    EXPECT_EQ(formatFixed(12345.67, 1), "12345.7");
    EXPECT_EQ(formatFixed(-0.5, 3), "-0.500");
    EXPECT_EQ(formatFixed(0.0, 3), "0.000");
    EXPECT_EQ(formatFixed(-0.0, 3), "0.000");
    EXPECT_EQ(formatFixed(-0.0001, 3), "0.000");
    EXPECT_EQ(formatFixed(2.70767, 3), "2.708");
    EXPECT_EQ(formatFixed(1e6, 1), "1000000.0");
    EXPECT_EQ(formatFixed(-123.45, 1), "-123.5"); // -123.45 lies just below -123.45 exactly
    EXPECT_EQ(formatFixed(0.125, 2), "0.12");     // exact tie: to even
}

TEST(FormatGeneral, UsesTheCommaAsTheWindowDoes) {
    EXPECT_EQ(formatGeneral(457.9), "457,9");
    EXPECT_EQ(formatGeneral(200.0), "200");
    EXPECT_EQ(formatGeneral(0.1 + 0.2), "0,3");
}

} // namespace
} // namespace velmora
