#include "installer/text/VersionTexts.h"

#include <gtest/gtest.h>

#include <string>

namespace {

struct VersionOrder {
    const char* lower;
    const char* higher;
};

TEST(VersionTextsTest, OrdersPartByPartAsNumbers)
{
    const VersionOrder cases[] = {
        {"9.0", "10.0"},
        {"10.0", "11.0"},
        {"1.2", "1.10"},
        {"1.9", "1.10"},
        {"1.4", "1.4.2"},
        {"1.4.2", "1.4.2_03"},
        {"1.4.2_03", "1.4.2_10"},
        {"1.4.2_10", "1.5"},
        {"2.80.1022.0", "2.81.1117.0"},
        {"1.21", "1.21a"},
        {"", "0"},
        {"beta", "1"},
        {"99999999999999999999", "100000000000000000000"},
    };
    for (const VersionOrder& c : cases) {
        SCOPED_TRACE(std::string(c.lower) + " < " + c.higher);
        EXPECT_LT(compareVersionTexts(c.lower, c.higher), 0);
        EXPECT_GT(compareVersionTexts(c.higher, c.lower), 0);
    }
}

TEST(VersionTextsTest, EqualTextsAndLeadingZeros)
{
    for (const char* text : {"", "1", "1.4.2_03", "10.0"})
        EXPECT_EQ(compareVersionTexts(text, text), 0) << text;
    EXPECT_EQ(compareVersionTexts("1.05", "1.5"), 0);
}

} // namespace
