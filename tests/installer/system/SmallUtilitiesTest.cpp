#include "installer/text/FileNameSafe.h"
#include "installer/text/CStrings.h"
#include "installer/system/DriveRoot.h"
#include "installer/text/MultiString.h"
#include "installer/text/NumberTexts.h"
#include "installer/text/PermuteBytes.h"
#include "installer/system/VersionNumbers.h"
#include "installer/system/YearMinutes.h"

#include "installer/text/ByteStringTestSupport.h"

#include <gtest/gtest.h>

#include <string>

namespace {

TEST(MultiStringTest, ItemsOfADoubleNulList)
{
    const char list[] = "one\0two\0\0";
    EXPECT_STREQ(multiStringItem(list, 0), "one");
    EXPECT_STREQ(multiStringItem(list, 1), "two");
    EXPECT_EQ(multiStringItem(list, 2), nullptr);
    EXPECT_EQ(multiStringItem(list, -1), nullptr);
    EXPECT_EQ(multiStringItem("", 0), nullptr);
    EXPECT_EQ(multiStringItem(nullptr, 0), nullptr);
}

TEST(MultiStringTest, SplitGivesTheOffsetOfEveryString)
{
    std::vector<std::uint32_t> offsets{99};
    ASSERT_TRUE(splitMultiString("a\0bc\0d\0", 8, offsets));
    EXPECT_EQ(offsets, (std::vector<std::uint32_t>{0, 2, 5}));
    ASSERT_TRUE(splitMultiString("abc\0", 5, offsets));
    EXPECT_EQ(offsets, (std::vector<std::uint32_t>{0}));
    EXPECT_FALSE(splitMultiString("a", 1, offsets));
    EXPECT_FALSE(splitMultiString(nullptr, 4, offsets));
    EXPECT_FALSE(splitMultiString("\0\0", 2, offsets));
    EXPECT_TRUE(offsets.empty());
}

TEST(PermuteBytesTest, ReversesTheTwoBitGroupsAndIsItsOwnInverse)
{
    EXPECT_EQ(permuteByte(0b11'10'01'00), 0b00'01'10'11);
    EXPECT_EQ(permuteByte(0x01), 0x40);
    EXPECT_EQ(permuteByte(0xC0), 0x03);
    for (int b = 0; b < 256; ++b)
        ASSERT_EQ(permuteByte(permuteByte(static_cast<std::uint8_t>(b))), b);
    ByteString name = bytes(std::string("Setup.exe\0x", 11));
    permuteBytes(name);
    EXPECT_NE(str(name), std::string("Setup.exe\0x", 11));
    permuteBytes(name);
    EXPECT_EQ(str(name), std::string("Setup.exe\0x", 11));
    char text[] = "abc";
    permuteBytes(text);
    permuteBytes(text);
    EXPECT_STREQ(text, "abc");
}

TEST(NumberTextsTest, Int64ToText)
{
    char buffer[21];
    EXPECT_STREQ(int64ToText(0, buffer), "0");
    EXPECT_STREQ(int64ToText(-5, buffer), "-5");
    EXPECT_STREQ(int64ToText(1234567890123, buffer), "1234567890123");
    EXPECT_STREQ(int64ToText(INT64_MAX, buffer), "9223372036854775807");
    EXPECT_STREQ(int64ToText(INT64_MIN, buffer), "-9223372036854775808");
}

TEST(NumberTextsTest, FormatSizeTable)
{
    struct Case { std::uint64_t bytes; const char* expected; };
    const Case cases[] = {
        {0, "0 KB"},
        {1048575, "1023 KB"},
        {1048576, "1,0 MB"},
        {1572864, "1,5 MB"},
        {1048576 + 1023 * 1024, "1,9 MB"}, // a remainder of 1000 to 1023 gives 9
        {1073741824, "1,0 GB"},
        {1099511627776ull, "1,0 TB"},
        {1099511627776ull * 2048, "2048,0 TB"}, // no unit beyond TB
    };
    for (const Case& c : cases) {
        ByteString out("old");
        formatSizeWithSeparator(c.bytes, ",", out);
        EXPECT_EQ(str(out), c.expected) << c.bytes;
    }
    ByteString out;
    formatSizeWithSeparator(1572864, ".", out);
    EXPECT_EQ(str(out), "1.5 MB");
}

TEST(VersionNumbersTest, ComparesPartsFromTheMostSignificant)
{
    auto v = [](int a, int b) { return static_cast<std::uint32_t>((a << 16) | b); };
    EXPECT_EQ(compareVersion(v(1, 2), v(0, 0), v(1, 10), v(0, 0)), 1);
    EXPECT_EQ(compareVersion(v(1, 10), v(0, 0), v(1, 2), v(0, 0)), -1);
    EXPECT_EQ(compareVersion(v(1, 2), v(3, 4), v(1, 2), v(3, 4)), 0);
    EXPECT_EQ(compareVersion(v(1, 2), v(3, 4), v(1, 2), v(3, 5)), 1);
    EXPECT_EQ(compareVersion(v(2, 0), v(0, 0), v(1, 0xFFFF), v(0xFFFF, 0xFFFF)), -1);
}

TEST(YearMinutesTest, CountsWholeYearsMonthsDaysAndTime)
{
    EXPECT_EQ(minutesFromYearStart(2023, UtcTime{2023, 1, 1, 0, 0}), 0);
    EXPECT_EQ(minutesFromYearStart(2023, UtcTime{2023, 1, 2, 1, 5}), 1440 + 65);
    EXPECT_EQ(minutesFromYearStart(2024, UtcTime{2024, 3, 1, 0, 0}), (31 + 29) * 1440); // leap year
    EXPECT_EQ(minutesFromYearStart(1900, UtcTime{1901, 3, 1, 0, 0}), (365 + 31 + 28) * 1440); // 1900 is no leap year
    EXPECT_EQ(minutesFromYearStart(2000, UtcTime{2001, 1, 1, 0, 0}), 366 * 1440); // 2000 is
    EXPECT_GT(minutesSinceYearStart(2020), minutesFromYearStart(2020, UtcTime{2024, 1, 1, 0, 0}));
}

TEST(SmallUtilitiesTest, NullOrEmptyAndDriveRoots)
{
    EXPECT_TRUE(isNullOrEmpty(nullptr));
    EXPECT_TRUE(isNullOrEmpty(""));
    EXPECT_FALSE(isNullOrEmpty("x"));
    EXPECT_EQ(driveRootOf("D:\\Programs\\App"), "D:\\");
    EXPECT_EQ(driveRootOf("\\\\server\\share\\dir"), "\\\\server\\share\\dir\\");
    EXPECT_EQ(driveRootOf("\\\\server\\share\\"), "\\\\server\\share\\");
    EXPECT_EQ(driveRootOf(""), "");
}

} // namespace

TEST(FileNameSafe, EveryCharacterThatNoFileNameMayHoldBecomesAnUnderscore)
{
    const ByteString safe = fileNameSafe(ByteString("a:b/c\\d|e*f?g\"h<i>j k.l"));
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(safe.data()), safe.length()), "a_b_c_d_e_f_g_h_i_j k.l");
}
