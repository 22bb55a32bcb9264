#include "base/Exceptions.h"
#include "base/Rounding.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace kv {
namespace {

TEST(RoundingTest, TiesGoToEven)
{
    EXPECT_EQ(Round(0.5), 0);
    EXPECT_EQ(Round(1.5), 2);
    EXPECT_EQ(Round(2.5), 2);
    EXPECT_EQ(Round(3.5), 4);
    EXPECT_EQ(Round(-0.5), 0);
    EXPECT_EQ(Round(-1.5), -2);
    EXPECT_EQ(Round(-2.5), -2);
    EXPECT_EQ(Round(-3.5), -4);
}

TEST(RoundingTest, NonTiesGoToNearest)
{
    EXPECT_EQ(Round(0.0), 0);
    EXPECT_EQ(Round(-0.0), 0);
    EXPECT_EQ(Round(2.4999), 2);
    EXPECT_EQ(Round(2.5001), 3);
    EXPECT_EQ(Round(-2.4999), -2);
    EXPECT_EQ(Round(-2.5001), -3);
    EXPECT_EQ(Round(0.49999999999999994), 0); // the largest double below 0.5
    EXPECT_EQ(Round(7.0), 7);
    EXPECT_EQ(Round(-7.0), -7);
}

TEST(RoundingTest, LargeValues)
{
    EXPECT_EQ(Round(1e15 + 0.5), 1000000000000000);
    EXPECT_EQ(Round(1e15 + 1.5), 1000000000000002);
    EXPECT_EQ(Round(4503599627370495.5), 4503599627370496); // 2^52 - 0.5
    EXPECT_EQ(Round(9007199254740993.0), 9007199254740992);  // not a double: rounds to 2^53 on reading
    EXPECT_EQ(Round(-9223372036854775808.0), std::numeric_limits<std::int64_t>::min());
    EXPECT_EQ(Round(9223372036854774784.0), 9223372036854774784); // the largest double below 2^63
}

TEST(RoundingTest, ValuesOutsideInt64Raise)
{
    EXPECT_THROW(Round(9223372036854775808.0), EConvertError); // 2^63
    EXPECT_THROW(Round(-9223372036854777856.0), EConvertError); // the next double below -2^63
    EXPECT_THROW(Round(1e300), EConvertError);
    EXPECT_THROW(Round(std::numeric_limits<double>::infinity()), EConvertError);
    EXPECT_THROW(Round(-std::numeric_limits<double>::infinity()), EConvertError);
    EXPECT_THROW(Round(std::nan("")), EConvertError);
    try {
        Round(1e19);
        FAIL() << "no exception";
    } catch (const EConvertError& e) {
        EXPECT_EQ(e.Message(), "Invalid floating point operation");
    }
}

} // namespace
} // namespace kv
