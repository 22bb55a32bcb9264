#include "base/Conversions.h"
#include "base/Exceptions.h"

#include <gtest/gtest.h>

#include <limits>

namespace kv {
namespace {

TEST(ConversionsTest, IntToStr)
{
    EXPECT_EQ(IntToStr(0), "0");
    EXPECT_EQ(IntToStr(-17), "-17");
    EXPECT_EQ(IntToStr(1234567890123LL), "1234567890123");
    EXPECT_EQ(IntToStr(std::numeric_limits<std::int64_t>::min()), "-9223372036854775808");
}

TEST(ConversionsTest, StrToIntDefDecimal)
{
    EXPECT_EQ(StrToIntDef("0", -1), 0);
    EXPECT_EQ(StrToIntDef("42", -1), 42);
    EXPECT_EQ(StrToIntDef("-42", 0), -42);
    EXPECT_EQ(StrToIntDef("+42", 0), 42);
    EXPECT_EQ(StrToIntDef("007", 0), 7);
    EXPECT_EQ(StrToIntDef("   12", 0), 12);
    EXPECT_EQ(StrToIntDef("\t-3", 0), -3);
    EXPECT_EQ(StrToIntDef("2147483647", 0), 2147483647);
    EXPECT_EQ(StrToIntDef("-2147483648", 0), std::numeric_limits<std::int32_t>::min());
}

TEST(ConversionsTest, StrToIntDefHexadecimal)
{
    EXPECT_EQ(StrToIntDef("$FF", 0), 255);
    EXPECT_EQ(StrToIntDef("$ff", 0), 255);
    EXPECT_EQ(StrToIntDef("0x1A", 0), 26);
    EXPECT_EQ(StrToIntDef("0X1a", 0), 26);
    EXPECT_EQ(StrToIntDef("-$10", 0), -16);
    EXPECT_EQ(StrToIntDef(" $7FFFFFFF", 0), 2147483647);
    EXPECT_EQ(StrToIntDef("$FFFFFFFF", 0), -1); // hexadecimal may use all 32 bits
    EXPECT_EQ(StrToIntDef("$80000000", 0), std::numeric_limits<std::int32_t>::min());
    EXPECT_EQ(StrToIntDef("$00000000FF", 0), 255);
}

TEST(ConversionsTest, StrToIntDefGivesDefaultForBadText)
{
    EXPECT_EQ(StrToIntDef("", 5), 5);
    EXPECT_EQ(StrToIntDef("   ", 5), 5);
    EXPECT_EQ(StrToIntDef("-", 5), 5);
    EXPECT_EQ(StrToIntDef("+", 5), 5);
    EXPECT_EQ(StrToIntDef("$", 5), 5);
    EXPECT_EQ(StrToIntDef("0x", 5), 5);
    EXPECT_EQ(StrToIntDef("12a", 5), 5);
    EXPECT_EQ(StrToIntDef("12 ", 5), 5);
    EXPECT_EQ(StrToIntDef("1 2", 5), 5);
    EXPECT_EQ(StrToIntDef("1.5", 5), 5);
    EXPECT_EQ(StrToIntDef("--1", 5), 5);
    EXPECT_EQ(StrToIntDef("- 1", 5), 5);
    EXPECT_EQ(StrToIntDef("abc", 5), 5);
    EXPECT_EQ(StrToIntDef("$G", 5), 5);
    EXPECT_EQ(StrToIntDef("2147483648", 5), 5);
    EXPECT_EQ(StrToIntDef("-2147483649", 5), 5);
    EXPECT_EQ(StrToIntDef("99999999999999999999999", 5), 5);
    EXPECT_EQ(StrToIntDef("$100000000", 5), 5);
    EXPECT_EQ(StrToIntDef(std::string_view("1\0", 2), 5), 5);
}

TEST(ConversionsTest, StrToInt)
{
    EXPECT_EQ(StrToInt("123"), 123);
    EXPECT_EQ(StrToInt("$10"), 16);
    try {
        StrToInt("12x");
        FAIL() << "no exception";
    } catch (const EConvertError& e) {
        EXPECT_EQ(e.Message(), "'12x' is not a valid integer value");
    }
    EXPECT_THROW(StrToInt(""), EConvertError);
    EXPECT_THROW(StrToInt("4294967296"), EConvertError);
}

TEST(ConversionsTest, LowerCase)
{
    EXPECT_EQ(LowerCase(""), "");
    EXPECT_EQ(LowerCase("Song.MID"), "song.mid");
    EXPECT_EQ(LowerCase("AZaz09@[`{"), "azaz09@[`{");
    EXPECT_EQ(LowerCase("\xC3\x84rger"), "\xC3\x84rger"); // only ASCII letters change
}

TEST(ConversionsTest, ExtractFileExt)
{
    EXPECT_EQ(ExtractFileExt("song.mid"), ".mid");
    EXPECT_EQ(ExtractFileExt("song.KAR"), ".KAR");
    EXPECT_EQ(ExtractFileExt("archive.tar.gz"), ".gz");
    EXPECT_EQ(ExtractFileExt("song"), "");
    EXPECT_EQ(ExtractFileExt(""), "");
    EXPECT_EQ(ExtractFileExt("song."), ".");
    EXPECT_EQ(ExtractFileExt(".hidden"), ".hidden");
    EXPECT_EQ(ExtractFileExt("a.b/c"), "");
    EXPECT_EQ(ExtractFileExt("a.b\\c"), "");
    EXPECT_EQ(ExtractFileExt("C:\\Music.old\\song.mid"), ".mid");
    EXPECT_EQ(ExtractFileExt("/home/me.d/tune"), "");
    EXPECT_EQ(ExtractFileExt("x.y:stream"), "");
    EXPECT_EQ(ExtractFileExt("C:song.rmi"), ".rmi");
}

} // namespace
} // namespace kv
