#include "base/Exceptions.h"
#include "base/Format.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <limits>

namespace kv {
namespace {

// Restores the process-wide settings after a test that changes them.
class FormatSettingsGuard {
public:
    FormatSettingsGuard() : saved_(FormatSettings()) {}
    ~FormatSettingsGuard() { FormatSettings() = saved_; }

private:
    TFormatSettings saved_;
};

std::string ErrorOf(std::string_view format, std::initializer_list<FormatArg> args)
{
    try {
        Format(format, args);
    } catch (const EConvertError& e) {
        return e.Message();
    }
    return "(no error)";
}

TEST(FormatTest, PlainTextAndPercent)
{
    EXPECT_EQ(Format("", {}), "");
    EXPECT_EQ(Format("abc", {}), "abc");
    EXPECT_EQ(Format("100%%", {}), "100%");
    EXPECT_EQ(Format("%%%d%%", {5}), "%5%");
    EXPECT_EQ(Format("a%db%sc", {1, "x"}), "a1bxc");
}

TEST(FormatTest, Decimal)
{
    EXPECT_EQ(Format("%d", {0}), "0");
    EXPECT_EQ(Format("%d", {42}), "42");
    EXPECT_EQ(Format("%d", {-5}), "-5");
    EXPECT_EQ(Format("%.3d", {-5}), "-005");
    EXPECT_EQ(Format("%.3d", {5}), "005");
    EXPECT_EQ(Format("%.0d", {0}), "0");
    EXPECT_EQ(Format("%.1d", {1234}), "1234");
    EXPECT_EQ(Format("%5d|", {-42}), "  -42|");
    EXPECT_EQ(Format("%-5d|", {42}), "42   |");
    EXPECT_EQ(Format("%6.3d|", {-7}), "  -007|");
    EXPECT_EQ(Format("%d", {std::numeric_limits<int>::min()}), "-2147483648");
    EXPECT_EQ(Format("%d", {std::numeric_limits<std::int64_t>::min()}), "-9223372036854775808");
    EXPECT_EQ(Format("%d", {std::numeric_limits<std::int64_t>::max()}), "9223372036854775807");
    EXPECT_EQ(Format("%d", {4000000000u}), "4000000000");
    EXPECT_EQ(Format("%D", {7}), "7"); // upper-case type letters work too
}

TEST(FormatTest, Unsigned)
{
    EXPECT_EQ(Format("%u", {42}), "42");
    EXPECT_EQ(Format("%u", {-1}), "4294967295");
    EXPECT_EQ(Format("%u", {std::int64_t{-1}}), "18446744073709551615");
    EXPECT_EQ(Format("%.4u", {42}), "0042");
}

TEST(FormatTest, Hexadecimal)
{
    EXPECT_EQ(Format("%x", {255}), "FF");
    EXPECT_EQ(Format("%X", {255}), "FF");
    EXPECT_EQ(Format("%x", {0}), "0");
    EXPECT_EQ(Format("%.2x", {10}), "0A");
    EXPECT_EQ(Format("%2.2x", {255}), "FF");
    EXPECT_EQ(Format("%2.x", {5}), " 5");
    EXPECT_EQ(Format("%.4x", {0x1F}), "001F");
    EXPECT_EQ(Format("%4x|%-4x|", {0xAB, 0xCD}), "  AB|CD  |");
    EXPECT_EQ(Format("%x", {-1}), "FFFFFFFF");
    EXPECT_EQ(Format("%x", {std::numeric_limits<int>::min()}), "80000000");
    EXPECT_EQ(Format("%x", {std::int64_t{-1}}), "FFFFFFFFFFFFFFFF");
    EXPECT_EQ(Format("%x", {0xDEADBEEFu}), "DEADBEEF");
    EXPECT_EQ(Format("%x", {std::uint64_t{0x123456789AULL}}), "123456789A");
}

TEST(FormatTest, Strings)
{
    EXPECT_EQ(Format("%s", {"abc"}), "abc");
    EXPECT_EQ(Format("%s", {std::string("text")}), "text");
    EXPECT_EQ(Format("%s", {std::string_view("view")}), "view");
    EXPECT_EQ(Format("%s", {static_cast<const char*>(nullptr)}), "");
    EXPECT_EQ(Format("%5s", {"ab"}), "   ab");
    EXPECT_EQ(Format("%-5s|", {"ab"}), "ab   |");
    EXPECT_EQ(Format("%2s", {"abcdef"}), "abcdef");
    EXPECT_EQ(Format("%.2s", {"abcdef"}), "ab");
    EXPECT_EQ(Format("%.10s", {"abc"}), "abc");
    EXPECT_EQ(Format("%.s|", {"abc"}), "|");
    EXPECT_EQ(Format("%5.2s|", {"abcdef"}), "   ab|");
    EXPECT_EQ(Format("%s", {std::string("a\0b", 3)}), std::string("a\0b", 3));
}

TEST(FormatTest, StringWidthsCountUtf8Characters)
{
    // "Käse" is 4 characters in 5 bytes; "♪" one character in 3 bytes.
    EXPECT_EQ(Format("%6s|", {"K\xC3\xA4se"}), "  K\xC3\xA4se|");
    EXPECT_EQ(Format("%.2s|", {"\xE2\x99\xAAX\xE2\x99\xAA"}), "\xE2\x99\xAAX|");
    EXPECT_EQ(Format("%-3s|", {"\xE2\x99\xAA"}), "\xE2\x99\xAA  |");
}

TEST(FormatTest, Characters)
{
    EXPECT_EQ(Format("%c", {'A'}), "A");
    EXPECT_EQ(Format("%c", {65}), "A");
    EXPECT_EQ(Format("%c", {0x141}), "A"); // the low byte
    EXPECT_EQ(Format("%3c|%-3c|", {'x', 'y'}), "  x|y  |");
    EXPECT_EQ(Format("[%c]", {0}), std::string("[\0]", 3));
}

TEST(FormatTest, Fixed)
{
    EXPECT_EQ(Format("%f", {1.5}), "1.50");
    EXPECT_EQ(Format("%f", {0.0}), "0.00");
    EXPECT_EQ(Format("%f", {-2.25}), "-2.25");
    EXPECT_EQ(Format("%.3f", {3.14159}), "3.142");
    EXPECT_EQ(Format("%.0f", {2.5}), "3");   // half away from zero, as the library
    EXPECT_EQ(Format("%.0f", {-2.5}), "-3");
    EXPECT_EQ(Format("%.1f", {0.25}), "0.3");
    EXPECT_EQ(Format("%.2f", {1.005}), "1.00"); // 1.005 is 1.00499999999999989... as a double
    EXPECT_EQ(Format("%.f", {7.6}), "8");
    EXPECT_EQ(Format("%.2f", {0.001}), "0.00");
    EXPECT_EQ(Format("%.2f", {-0.001}), "0.00"); // no "-0.00"
    EXPECT_EQ(Format("%.2f", {0.999}), "1.00");
    EXPECT_EQ(Format("%.2f", {99.999}), "100.00");
    EXPECT_EQ(Format("%.4f", {0.00123}), "0.0012");
    EXPECT_EQ(Format("%f", {1234567.891}), "1234567.89");
    EXPECT_EQ(Format("%f", {3}), "3.00"); // integers are accepted
    EXPECT_EQ(Format("%8.2f|", {-1.5}), "   -1.50|");
    EXPECT_EQ(Format("%-8.1f|", {1.25}), "1.3     |");
    EXPECT_EQ(Format("%.20f", {0.5}), "0.500000000000000000"); // decimals clamped to 18
    EXPECT_EQ(Format("%f", {1e20}), "100000000000000000000.00");
    EXPECT_EQ(Format("%.1f", {123456789012345678.0}), "123456789012345680.0"); // 18 significant digits
}

TEST(FormatTest, FixedUsesDecimalSeparator)
{
    FormatSettingsGuard guard;
    FormatSettings().DecimalSeparator = ',';
    EXPECT_EQ(Format("%f", {1.5}), "1,50");
    EXPECT_EQ(Format("%.3f", {-0.5}), "-0,500");
    EXPECT_EQ(Format("%.0f", {1.5}), "2");
}

TEST(FormatTest, SpecialFloatingPointValues)
{
    EXPECT_EQ(Format("%f", {std::numeric_limits<double>::quiet_NaN()}), "NAN");
    EXPECT_EQ(Format("%f", {std::numeric_limits<double>::infinity()}), "INF");
    EXPECT_EQ(Format("%5f|", {-std::numeric_limits<double>::infinity()}), " -INF|");
}

TEST(FormatTest, IndexSpecifier)
{
    EXPECT_EQ(Format("%1:s %0:s", {"a", "b"}), "b a");
    EXPECT_EQ(Format("%0:s%0:s", {"x"}), "xx");
    // After an index the next arguments follow it.
    EXPECT_EQ(Format("%d %d %0:d %d", {10, 20}), "10 20 10 20");
    EXPECT_EQ(Format("%1:-4d|", {1, 2}), "2   |");
    EXPECT_EQ(Format("%1:5.2x|", {0, 10}), "   0A|");
    EXPECT_EQ(Format("%*:s", {1, "b"}), "b");
}

TEST(FormatTest, StarWidthAndPrecision)
{
    EXPECT_EQ(Format("%*d|", {5, 42}), "   42|");
    EXPECT_EQ(Format("%-*d|", {4, 7}), "7   |");
    EXPECT_EQ(Format("%*d|", {-4, 7}), "7   |"); // a negative "*" width pads on the right
    EXPECT_EQ(Format("%.*f", {1, 2.25}), "2.3");
    EXPECT_EQ(Format("%*.*f|", {6, 3, 1.0}), " 1.000|");
    EXPECT_EQ(Format("%.*s", {-1, "abc"}), "abc"); // a negative "*" precision counts as none
}

TEST(FormatTest, MissingArgumentNamesTheFormat)
{
    EXPECT_EQ(ErrorOf("%d %d", {1}), "Format '%d %d' invalid or incompatible with argument");
    EXPECT_EQ(ErrorOf("%d", {}), "Format '%d' invalid or incompatible with argument");
    EXPECT_EQ(ErrorOf("%2:d", {1, 2}), "Format '%2:d' invalid or incompatible with argument");
    EXPECT_EQ(ErrorOf("%*d", {5}), "Format '%*d' invalid or incompatible with argument");
    EXPECT_EQ(ErrorOf("%.*f", {}), "Format '%.*f' invalid or incompatible with argument");
    EXPECT_EQ(ErrorOf("%1:s %s", {"a", "b"}), "Format '%1:s %s' invalid or incompatible with argument");
}

TEST(FormatTest, WrongKindOfArgument)
{
    EXPECT_THROW(Format("%d", {"x"}), EConvertError);
    EXPECT_THROW(Format("%d", {1.5}), EConvertError);
    EXPECT_THROW(Format("%x", {1.5}), EConvertError);
    EXPECT_THROW(Format("%u", {"1"}), EConvertError);
    EXPECT_THROW(Format("%s", {5}), EConvertError);
    EXPECT_THROW(Format("%s", {1.0}), EConvertError);
    EXPECT_THROW(Format("%f", {"1.0"}), EConvertError);
    EXPECT_THROW(Format("%c", {"A"}), EConvertError);
    EXPECT_THROW(Format("%*d", {"5", 1}), EConvertError);
    EXPECT_THROW(Format("%*d", {5.0, 1}), EConvertError);
    EXPECT_EQ(ErrorOf("%s", {5}), "Format '%s' invalid or incompatible with argument");
}

TEST(FormatTest, BadFormats)
{
    EXPECT_THROW(Format("%", {}), EConvertError);
    EXPECT_THROW(Format("abc%", {1}), EConvertError);
    EXPECT_THROW(Format("%5", {1}), EConvertError);
    EXPECT_THROW(Format("%.", {1}), EConvertError);
    EXPECT_THROW(Format("%q", {1}), EConvertError);
    EXPECT_THROW(Format("%ld", {1}), EConvertError);
    EXPECT_THROW(Format("% d", {1}), EConvertError);
    EXPECT_THROW(Format("%5-d", {1}), EConvertError);
    EXPECT_THROW(Format("%:d", {1}), EConvertError);
    EXPECT_THROW(Format("%*:d", {-1, 1}), EConvertError);
    EXPECT_EQ(ErrorOf("%y", {1}), "Format '%y' invalid or incompatible with argument");
}

TEST(FormatTest, HugeWidthsAndPrecisionsAreRejected)
{
    EXPECT_EQ(Format("%1024d", {1}).size(), 1024u);
    EXPECT_EQ(Format("%.1024d", {1}).size(), 1024u);
    EXPECT_THROW(Format("%1025d", {1}), EConvertError);
    EXPECT_THROW(Format("%999999999d", {1}), EConvertError);
    EXPECT_THROW(Format("%99999999999999999999999999d", {1}), EConvertError);
    EXPECT_THROW(Format("%.999999999x", {1}), EConvertError);
    EXPECT_THROW(Format("%*d", {2000000000, 1}), EConvertError);
    EXPECT_THROW(Format("%*d", {std::numeric_limits<int>::min(), 1}), EConvertError);
    EXPECT_THROW(Format("%.*f", {5000, 1.0}), EConvertError);
    EXPECT_THROW(Format("%99999999999:d", {1}), EConvertError);
}

TEST(FormatTest, ArgumentTypes)
{
    short s = -3;
    unsigned char b = 200;
    long l = -4;
    unsigned long ul = 5;
    long long ll = -6;
    float f = 0.5f;
    EXPECT_EQ(Format("%d %d %d %d %d %.1f", {s, b, l, ul, ll, f}), "-3 200 -4 5 -6 0.5");
    EXPECT_EQ(Format("%d", {true}), "1");
    EXPECT_EQ(Format("%x", {l}), sizeof(long) == 4 ? "FFFFFFFC" : "FFFFFFFFFFFFFFFC");
}

} // namespace
} // namespace kv
