#include "installer/text/ByteString.h"

#include "installer/memory/FatalErrorCatcher.h"
#include "installer/text/ByteStringTestSupport.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

TEST(ByteStringTest, HoldsNulBytesAndCountsNoTerminator)
{
    ByteString s = bytes(std::string("a\0b", 3));
    EXPECT_EQ(s.length(), 3u);
    EXPECT_EQ(s.at(1), 0);
    EXPECT_STREQ(s.cStr(), "a");
    EXPECT_EQ(s.cStr()[3], '\0');
    EXPECT_EQ(s.length(), 3u);
    ByteString copy(s);
    copy.appendChar('x');
    EXPECT_EQ(str(s), std::string("a\0b", 3)); // copies are deep
    ByteString empty(nullptr);
    EXPECT_TRUE(empty.empty());
    EXPECT_EQ(str(ByteString::initChar(0)), std::string(1, '\0'));
}

TEST(ByteStringTest, AMovedFromStringIsEmptyAndUsable)
{
    ByteString source("moved");
    ByteString target(std::move(source));
    EXPECT_EQ(str(target), "moved");
    EXPECT_TRUE(source.empty());
    source.assignCStr("again");
    EXPECT_EQ(str(source), "again");
    ByteString other("x");
    other = std::move(source);
    source.erase(0, 0);
    source.appendChar('y');
    EXPECT_EQ(str(source), "y");
    EXPECT_STREQ(source.cStr(), "y");
}

TEST(ByteStringTest, ReadsOutsideTheContentGiveTheNothingAnswers)
{
    const ByteString s = bytes("\x01\x02\x03\x04\x05\x06");
    EXPECT_EQ(s.at(5), 0x06);
    EXPECT_EQ(s.at(6), 0xFF);
    EXPECT_EQ(s.at(0xFFFFFFFFu), 0xFF);
    EXPECT_EQ(s.readBE32(2), 0x03040506u); // length-4: the last four bytes
    EXPECT_EQ(s.readBE32(3), 0xFFFFFFFFu); // length-3
    EXPECT_EQ(s.readBE32(0xFFFFFFFEu), 0xFFFFFFFFu); // pos+3 wraps in 32 bits
    EXPECT_EQ(s.readBE16(4), 0x0506);
    EXPECT_EQ(s.readBE16(5), -1);
    EXPECT_EQ(s.readBE16(0xFFFFFFFFu), -1);
    EXPECT_EQ(ByteString().readBE32(0), 0xFFFFFFFFu);
    EXPECT_FALSE(s.hasMore(-1));
    EXPECT_TRUE(s.hasMore(5));
    EXPECT_FALSE(s.hasMore(6));
}

TEST(ByteStringTest, BigEndianRecordsRoundTrip)
{
    const std::vector<std::uint32_t> values = {0, 1, 0x7F, 0x80, 0xFF00FF00u, 0x12345678u, 0xFFFFFFFFu};
    ByteString record;
    for (std::uint32_t v : values)
        record.appendBE32(v);
    ASSERT_EQ(record.length(), 4 * values.size());
    EXPECT_EQ(record.at(4 * 5), 0x12);
    EXPECT_EQ(record.at(4 * 5 + 3), 0x78);
    for (std::size_t i = 0; i < values.size(); ++i)
        EXPECT_EQ(record.readBE32(static_cast<std::uint32_t>(4 * i)), values[i]) << i;
    EXPECT_EQ(record.readBE16(20), 0x1234);
}

TEST(ByteStringTest, SubstrGivesTheRangeOrTheWholeString)
{
    const ByteString s = bytes("0123456789");
    struct Case { std::uint32_t start, n; const char* expected; };
    const Case cases[] = {
        {2, 3, "234"}, {0, 10, "0123456789"}, {10, 0, ""}, {8, 3, "0123456789"},
        {5, 0xFFFFFFFFu, "0123456789"}, {0xFFFFFFFFu, 2, "0123456789"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(str(s.substr(c.start, c.n)), c.expected) << c.start << "," << c.n;
}

TEST(ByteStringTest, EditsChangeNothingWhenTheRangeLeavesTheContent)
{
    struct Case { const char* name; void (*edit)(ByteString&); const char* expected; };
    const Case cases[] = {
        {"erase past end", [](ByteString& s) { s.erase(5, 10); }, "abcdefghijkl"},
        {"erase the last 10", [](ByteString& s) { s.erase(2, 10); }, "ab"},
        {"erase wrapping", [](ByteString& s) { s.erase(0xFFFFFFFFu, 2); }, "abcdefghijkl"},
        {"erase huge count", [](ByteString& s) { s.erase(1, 0xFFFFFFFFu); }, "abcdefghijkl"},
        {"insert at length appends", [](ByteString& s) { s.insertCStr("XY", 12); }, "abcdefghijklXY"},
        {"insert past length", [](ByteString& s) { s.insertCStr("XY", 13); }, "abcdefghijkl"},
        {"insert n bytes", [](ByteString& s) { s.insertCStr("XYZ", 1, 2); }, "aXYbcdefghijkl"},
        {"insert char at 0", [](ByteString& s) { s.insertChar('#', 0); }, "#abcdefghijkl"},
        {"insert char past length", [](ByteString& s) { s.insertChar('#', 13); }, "abcdefghijkl"},
        {"insert own bytes", [](ByteString& s) { s.insertCStr(reinterpret_cast<const char*>(s.data()), 3, 12); }, "abcabcdefghijkldefghijkl"},
        {"append own bytes", [](ByteString& s) { s.append(s); }, "abcdefghijklabcdefghijkl"},
        {"append n bytes", [](ByteString& s) { s.appendCStr("XYZ", 2); }, "abcdefghijklXY"},
        {"append null", [](ByteString& s) { s.appendCStr(nullptr, 5); }, "abcdefghijkl"},
    };
    for (const Case& c : cases) {
        ByteString s("abcdefghijkl");
        c.edit(s);
        EXPECT_EQ(str(s), c.expected) << c.name;
    }
}

TEST(ByteStringTest, GrowZeroesTheNewBytesEvenAfterAShrink)
{
    ByteString s("abcdef");
    s.erase(2, 4);
    std::uint8_t* added = s.grow(4);
    EXPECT_EQ(str(s), std::string("ab\0\0\0\0", 6));
    added[0] = 'z';
    EXPECT_EQ(s.at(2), 'z');
}

TEST(ByteStringTest, NextLineIteratesCrLfLines)
{
    struct Case { std::string text; std::vector<std::string> lines; };
    const Case cases[] = {
        {"a\r\n\r\nb", {"a", "", "b"}},
        {"a\r\n", {"a"}},
        {"one\r\ntwo", {"one", "two"}},
        {"lf\nonly\n", {"lf\nonly\n"}}, // LF alone ends no line
        {"cr at end\r", {"cr at end\r"}},
        {"\r\n", {""}},
        {"", {}},
    };
    for (const Case& c : cases) {
        const ByteString s = bytes(c.text);
        std::vector<std::string> lines;
        ByteString line;
        for (std::int32_t pos = 0; s.hasMore(pos);) {
            s.nextLine(&pos, line);
            lines.push_back(str(line));
        }
        EXPECT_EQ(lines, c.lines) << c.text;
    }
}

TEST(ByteStringTest, NextLineReportsBadPositions)
{
    const ByteString s("ab");
    ByteString line;
    s.nextLine(nullptr, line);
    EXPECT_EQ(str(line), "Invalid param");
    for (std::int32_t bad : {-1, 2, 100}) {
        std::int32_t pos = bad;
        s.nextLine(&pos, line);
        EXPECT_EQ(str(line), "Out of bounds");
        EXPECT_EQ(pos, bad);
    }
}

TEST(ByteStringTest, FindAndFindLast)
{
    struct Case { const char* haystack; const char* text; std::uint32_t pos; int caseFlag; bool last; std::int32_t expected; };
    const Case cases[] = {
        {"xAB", "ab", 0, 0, false, 1},
        {"xAB", "ab", 0, 1, false, -1},
        {"abcabc", "bc", 2, 1, false, 4},
        {"abc", "", 0, 1, false, -1},
        {"abc", nullptr, 0, 1, false, -1},
        {"abc", "c", 3, 1, false, -1},
        {"abc", "bcd", 1, 1, false, -1}, // longer than the rest
        {"\xE5x", "\xC5X", 0, 0, false, 0}, // Latin-1 letters upper-case too
        {"C:\\a\\b", "\\", 0, 1, true, 4},
        {"C:\\a\\b", "\\", 3, 1, true, 2},
        {"C:\\a\\b", "\\", 2, 1, true, 2},
        {"abcabc", "ABC", 0, 0, true, 3},
        {"abcabc", "abc", 4, 1, true, -1}, // longer than length - pos
        {"abc", "abcd", 0, 1, true, -1},
        {"abc", "a", 3, 1, true, -1},
        {"abc", "x", 0, 1, true, -1},
        {"abc", "", 0, 1, true, -1},
    };
    for (const Case& c : cases) {
        const ByteString s(c.haystack);
        const std::int32_t got = c.last ? s.findLast(c.text, c.pos, c.caseFlag) : s.find(c.text, c.pos, c.caseFlag);
        EXPECT_EQ(got, c.expected) << c.haystack << " / " << (c.text ? c.text : "null") << " from " << c.pos;
    }
    const ByteString s("a\\b");
    EXPECT_EQ(s.findChar('\\'), 1);
    EXPECT_EQ(s.findChar('\\', 2), -1);
    EXPECT_EQ(s.findChar('a', 3), -1);
}

TEST(ByteStringTest, ComparesExactlyOrUpperCased)
{
    EXPECT_TRUE(ByteString("Straße\xE4").equalsCStr("STRAßE\xC4", 0));
    EXPECT_FALSE(ByteString("abc").equalsCStr("ABC", 1));
    EXPECT_FALSE(ByteString("abc").equalsCStr("abcd", 0));
    EXPECT_FALSE(ByteString("").equalsCStr(nullptr, 1));
    EXPECT_TRUE(bytes(std::string("a\0b", 3)).equals(bytes(std::string("a\0b", 3))));
    EXPECT_FALSE(bytes(std::string("a\0b", 3)).equals(ByteString("a")));
    EXPECT_TRUE(ByteString("abc").startsWith(""));
    EXPECT_TRUE(ByteString("abc").startsWith("ab"));
    EXPECT_FALSE(ByteString("abc").startsWith("abcd"));
    EXPECT_FALSE(ByteString("abc").startsWith(nullptr));
}

TEST(ByteStringTest, InPlaceEdits)
{
    ByteString upper("az\xE5\xE4\xF6\xE9{");
    upper.toUpper();
    EXPECT_EQ(str(upper), "AZ\xC5\xC4\xD6\xE9{");

    ByteString trimmed = bytes(std::string("C:\\a \\ \0\\", 9));
    trimmed.trimRight();
    EXPECT_EQ(str(trimmed), "C:\\a");
    ByteString allTrimmed("\\ \\");
    allTrimmed.trimRight();
    EXPECT_TRUE(allTrimmed.empty());

    ByteString slashes("a/b/c/d");
    slashes.replaceChar('/', '\\', 2, 2);
    EXPECT_EQ(str(slashes), "a/b\\c\\d");
}

TEST(ByteStringTest, ReplaceAndRemoveAll)
{
    struct Case { const char* start; const char* text; const char* newText; std::uint32_t pos, n; int caseFlag; const char* expected; };
    const Case cases[] = {
        {"aaa", "a", "aa", 0, 0, 1, "aaaaaa"}, // inserted text is not searched again
        {"<x> and <x>", "<x>", "value", 0, 0, 1, "value and value"},
        {"<x> and <x>", "<x>", "value", 1, 0, 1, "<x> and value"},
        {"abab", "AB", "-", 0, 1, 0, "-ab"},
        {"abab", "AB", "-", 0, 0, 1, "abab"},
        {"abc", "", "x", 0, 0, 1, "abc"},
        {"abc", nullptr, "x", 0, 0, 1, "abc"},
        {"abc", "b", nullptr, 0, 0, 1, "ac"},
    };
    for (const Case& c : cases) {
        ByteString s(c.start);
        s.replace(c.text, c.newText, c.pos, c.n, c.caseFlag);
        EXPECT_EQ(str(s), c.expected) << c.start << " " << (c.text ? c.text : "null");
    }
    ByteString s("a--b--c--");
    s.removeAll("--", 0, 2);
    EXPECT_EQ(str(s), "abc--");
    s.removeAll("", 0, 0);
    EXPECT_EQ(str(s), "abc--");
}

TEST(ByteStringTest, FormatConversions)
{
    struct Case { std::string expected; std::string got; };
    auto formatted = [](const char* prefix, auto&&... call) {
        ByteString s(prefix);
        s.format(call...);
        return str(s);
    };
    const Case cases[] = {
        {"5%x", formatted("", "%d%%s", 5, "x")},
        {"FF", formatted("", "%h", 255)},
        {"101", formatted("", "%b", 5)},
        {"0/0", formatted("", "%h/%b", 0, 0)},
        {"FFFFFFFE", formatted("", "%h", -2)},
        {"11111111111111111111111111111111", formatted("", "%b", -1)},
        {"-2147483648", formatted("", "%d", static_cast<std::int32_t>(0x80000000u))},
        {"pre:A", formatted("pre:", "%c", 0x141)},
        {"x", formatted("", "x")},
        {"%", formatted("", "%")},
        {"", formatted("", "")},
        {"%q %d", formatted("", "%q %d")}, // unknown letter; no argument for %d
        {"", formatted("", "%s", 7)}, // a number given to %s
        {"a long value, 42", formatted("", "%s, %d", "a long value", 42)},
        {"%d stays", formatted("", "%s stays", "%d")}, // inserted text is not scanned again
        {"1 2 %d", formatted("", "%d %d %d", 1, 2)},
        {"[]", formatted("", "[%s]", static_cast<const char*>(nullptr))},
        {"0", formatted("", "%d", "text")},
    };
    for (const Case& c : cases)
        EXPECT_EQ(c.got, c.expected);
}

TEST(ByteStringTest, ScrambleRoundTripsAndAddsTenBytes)
{
    std::string binary;
    for (int i = 0; i < 5000; ++i)
        binary.push_back(static_cast<char>(i * 7 + (i >> 8)));
    const std::string inputs[] = {"", "x", std::string("\0\0\0", 3), "The table of contents", binary};
    for (const std::string& input : inputs) {
        ByteString s = bytes(input);
        EXPECT_TRUE(s.scramble());
        ASSERT_EQ(s.length(), input.size() + 10);
        const std::uint8_t step = s.at(static_cast<std::uint32_t>(input.size()));
        EXPECT_GE(step, 5);
        EXPECT_LE(step, 34);
        EXPECT_TRUE(s.unscramble());
        EXPECT_EQ(str(s), input);
    }
}

TEST(ByteStringTest, UnscrambleDetectsAnyChangedByte)
{
    ByteString scrambled("uninstall data");
    scrambled.scramble();
    for (std::uint32_t i = 0; i < scrambled.length(); ++i) {
        ByteString s = scrambled;
        s.data()[i] ^= 0x01;
        EXPECT_FALSE(s.unscramble()) << "changed byte " << i;
    }
}

TEST(ByteStringTest, DoubleScramblingDetectsAChangeInEitherLayer)
{
    ByteString twice("language tables");
    twice.scramble();
    twice.scramble();

    ByteString outerChanged = twice;
    outerChanged.data()[twice.length() - 9] += 1; // the outer layer's start key
    EXPECT_FALSE(outerChanged.unscramble());

    // A change made inside the inner layer and sealed again by the outer one.
    ByteString innerChanged = twice;
    ASSERT_TRUE(innerChanged.unscramble());
    innerChanged.data()[2] += 1;
    innerChanged.scramble();
    EXPECT_TRUE(innerChanged.unscramble());
    EXPECT_FALSE(innerChanged.unscramble());

    ByteString intact = twice;
    EXPECT_TRUE(intact.unscramble());
    EXPECT_TRUE(intact.unscramble());
    EXPECT_EQ(str(intact), "language tables");
}

TEST(ByteStringTest, UnscrambleOfShortContentFailsAndKeepsIt)
{
    for (const char* text : {"", "123456789", "12345678"}) {
        ByteString s(text);
        EXPECT_FALSE(s.unscramble());
        EXPECT_EQ(str(s), text);
    }
}

TEST(ByteStringTest, GrowthBeyondThe32BitRangeIsFatal)
{
    FatalErrorCatcher catcher;
    ByteString s("abc");
    EXPECT_THROW(s.grow(0xFFFFFFFFu), FatalErrorRaised);
    EXPECT_EQ(s.length(), 3u);
}

} // namespace
