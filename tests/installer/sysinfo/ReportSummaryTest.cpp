#include "installer/sysinfo/ReportSummary.h"

#include <gtest/gtest.h>

namespace {

TEST(ReportSummary, TextAndColourByCounts)
{
    struct Case {
        std::int32_t failures, unknowns;
        bool inColour;
        std::size_t text;
        bool withProduct;
        std::optional<std::uint32_t> colour;
    };
    const Case cases[] = {
        {2, 1, true, 59, true, kFailureColour}, {2, 0, true, 57, true, kFailureColour}, {2, 1, false, 59, true, std::nullopt},
        {0, 3, true, 58, false, kUnknownColour}, {0, 3, false, 58, false, std::nullopt}, {0, 0, true, 56, true, std::nullopt},
    };
    for (const Case& c : cases) {
        const ReportSummary s = reportSummary(c.failures, c.unknowns, c.inColour);
        EXPECT_EQ(s.text, c.text) << c.failures << "/" << c.unknowns;
        EXPECT_EQ(s.formatWithProduct, c.withProduct) << c.failures << "/" << c.unknowns;
        EXPECT_EQ(s.colour, c.colour) << c.failures << "/" << c.unknowns;
    }
}

} // namespace
