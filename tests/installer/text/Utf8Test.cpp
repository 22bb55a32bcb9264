#include "installer/text/Utf8.h"

#include "installer/text/ByteStringTestSupport.h"

#include <gtest/gtest.h>

#include <string>

namespace {

TEST(Utf8Test, DecodeTable)
{
    struct Case { std::string bytes; int maxBytes; std::u16string expected; bool fails; };
    const Case cases[] = {
        {"abc", -1, u"abc", false},
        {"\xC3\xA9", -1, u"\u00E9", false},
        {"\xE9" "A", -1, u"\u00E9A", false}, // Latin-1 fallback
        {"\xE2\x82\xAC", -1, u"\u20AC", false},
        {"\xEF\xBF\xBD", -1, u"\uFFFD", false},
        {"\x80\xFF", -1, u"\u0080\u00FF", false}, // stray continuation and invalid lead bytes
        {"\xF0\x9F\x98\x80", -1, u"\u00F0\u009F\u0098\u0080", false}, // 4-byte forms are not sequences
        {"\xE2\x82" "A", -1, u"\u00E2\u0082A", false}, // third byte no continuation
        {"\xC3", -1, u"\u00C3", false}, // the NUL is no continuation
        {"ab\xC3\xA9", 3, u"", true}, // cut off by maxBytes
        {"\xE2\x82\xAC", 2, u"", true},
        {"\xE2" "A\xAC", 2, u"\u00E2A", false},
        {"abc", 2, u"ab", false},
        {"\xC0\x81", -1, u"", true}, // overlong
        {"\xE0\x9F\xBF", -1, u"", true}, // overlong 3-byte
        {"\xED\xA0\x80", -1, u"", true}, // surrogate
        {"\xEF\xBF\xBE", -1, u"", true}, // U+FFFE
        {"\xEF\xBF\xBF", -1, u"", true}, // U+FFFF
        {"", -1, u"", false},
    };
    for (const Case& c : cases) {
        const int measured = utf8Decode(c.bytes.c_str(), c.maxBytes, nullptr);
        char16_t out[16];
        out[0] = u'?';
        const int written = utf8Decode(c.bytes.c_str(), c.maxBytes, out);
        EXPECT_EQ(measured, written);
        if (c.fails) {
            EXPECT_EQ(written, 0) << c.bytes;
            EXPECT_EQ(out[0], 0) << c.bytes;
        } else {
            ASSERT_EQ(written, static_cast<int>(c.expected.size()) + 1) << c.bytes;
            EXPECT_EQ(std::u16string(out, written - 1), c.expected) << c.bytes;
            EXPECT_EQ(out[written - 1], 0);
        }
    }
}

TEST(Utf8Test, AFailingTextWritesOnlyTheNul)
{
    // Text before the failing sequence must not be written into a buffer sized by the measure.
    const char* failing = "\xC3\xA9\xFF\xC3\xA9";
    ASSERT_EQ(utf8Decode(failing, 4, nullptr), 0);
    char16_t out[4] = {u'a', u'b', u'c', u'd'};
    EXPECT_EQ(utf8Decode(failing, 4, out), 0);
    EXPECT_EQ(out[0], 0);
    EXPECT_EQ(out[1], u'b');
}

TEST(Utf8Test, EncodeTableAndRoundTrip)
{
    struct Case { std::u16string wide; std::string expected; };
    const Case cases[] = {
        {u"A", "A"},
        {u"\u00E9", "\xC3\xA9"},
        {u"\u07FF", "\xDF\xBF"},
        {u"\u0800", "\xE0\xA0\x80"},
        {u"\u20AC", "\xE2\x82\xAC"},
        {std::u16string(1, char16_t(0xD83D)), "\xED\xA0\xBD"}, // surrogates unit by unit
    };
    for (const Case& c : cases) {
        EXPECT_EQ(utf8Encode(c.wide.c_str(), -1, nullptr), static_cast<int>(c.expected.size()) + 1);
        EXPECT_EQ(str(*wideToUtf8(c.wide.c_str())), c.expected);
    }
    EXPECT_EQ(str(*wideToUtf8(u"abc", 2)), "ab");

    std::u16string every;
    for (char32_t u = 1; u < 0xD800; u += 7)
        every.push_back(static_cast<char16_t>(u));
    for (char32_t u = 0xE000; u < 0xFFFE; u += 7)
        every.push_back(static_cast<char16_t>(u));
    ByteString utf8 = *wideToUtf8(every.c_str());
    EXPECT_EQ(*utf8ToWide(utf8.cStr()), every);
}

TEST(Utf8Test, NewBuffersForNullAndFailedInput)
{
    EXPECT_FALSE(utf8ToWide(nullptr).has_value());
    EXPECT_FALSE(wideToUtf8(nullptr).has_value());
    EXPECT_EQ(*utf8ToWide("\xC0\x81"), u"");
    EXPECT_EQ(*utf8ToWide(""), u"");
    EXPECT_EQ(*utf8ToWide("\xC3\xA9!"), u"\u00E9!");
}

} // namespace
