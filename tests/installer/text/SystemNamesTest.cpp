#include "installer/text/SystemNames.h"

#include "installer/text/ByteStringTestSupport.h"

#include <gtest/gtest.h>

#include <string>

namespace {

TEST(SystemNamesTest, EveryCharacterOfANameArrivesAsUtf16)
{
    struct Case { std::string utf8; std::u16string wide; bool wellFormed = true; };
    const Case cases[] = {
        {"caf\xC3\xA9 \xC3\xBC" "ber na\xC3\xAFve.txt", u"caf\u00E9 \u00FCber na\u00EFve.txt"},
        {"\xE9\x9F\xB3\xE6\xA5\xBD", u"\u97F3\u697D"},
        {"\xE2\x99\xAA", u"\u266A"},
        {"\xF0\x9F\x8E\xB9.mid", u"\U0001F3B9.mid"}, // an emoji: a surrogate pair
        {"\xF4\x8F\xBF\xBF", u"\U0010FFFF"},
        // Bytes that are no well-formed sequence: each its Latin-1 character, never an empty name.
        {"\xE9t\xE9", u"\u00E9t\u00E9", false},
        {"\xC0\x81", u"\u00C0\u0081", false},              // overlong
        {"\xED\xA0\x80", u"\u00ED\u00A0\u0080", false},    // an encoded surrogate
        {"\xF4\x90\x80\x80", u"\u00F4\u0090\u0080\u0080", false}, // beyond U+10FFFF
        {"\xF0\x9F\x8E", u"\u00F0\u009F\u008E", false},    // cut off
        {"", u""},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(nameToUtf16(c.utf8.c_str()), c.wide) << c.utf8;
        if (c.wellFormed) { // comes back byte for byte
            EXPECT_EQ(str(nameFromUtf16(c.wide.c_str())), c.utf8);
        }
    }
    EXPECT_EQ(nameToUtf16(nullptr), u"");
}

TEST(SystemNamesTest, NamesTheSystemGivesBackBecomeUtf8)
{
    EXPECT_EQ(str(nameFromUtf16(u"C:\\Mein Ordner \u00DC \u266A \u97F3\\\U0001F600")),
              "C:\\Mein Ordner \xC3\x9C \xE2\x99\xAA \xE9\x9F\xB3\\\xF0\x9F\x98\x80");
    const char16_t lone[] = {u'a', 0xD83D, u'b', 0};
    EXPECT_EQ(str(nameFromUtf16(lone)), "a\xED\xA0\xBD" "b");
    EXPECT_EQ(str(nameFromUtf16(u"abc", 2)), "ab");
    EXPECT_EQ(str(nameFromUtf16(nullptr)), "");
}

} // namespace
