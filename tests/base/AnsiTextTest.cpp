// Text in the ANSI code page and UTF-8: which bytes are UTF-8, and the way between the two.
#include "base/AnsiText.h"

#include <gtest/gtest.h>

#include <string>

namespace kv {
namespace {

TEST(AnsiText, TellsWellFormedUtf8)
{
    const std::pair<std::string, bool> cases[] = {
        {"", true},
        {"Play", true},
        {"\xC3\x9C" "bung", true},             // Ü
        {"\xE2\x82\xAC", true},                // €
        {"\xF0\x9F\x8E\xB9", true},            // a piano, 4 bytes
        {"\xDC" "bung", false},                // Windows-1252
        {"\xC3", false},                       // cut off
        {"\xC0\xAF", false},                   // overlong
        {"\xE0\x80\xAF", false},               // overlong
        {"\xED\xA0\x80", false},               // a surrogate
        {"\xF4\x90\x80\x80", false},           // above U+10FFFF
        {"\x80", false},                       // a continuation alone
    };
    for (const auto& [text, valid] : cases) EXPECT_EQ(IsValidUtf8(text), valid) << text;
}

// The Windows build asks the system; the test machine's Wine and the stand-in both use
// Windows-1252.
TEST(AnsiText, ConvertsThroughTheCodePageAndBack)
{
    const std::pair<std::string, std::string> cases[] = {
        {"Record Track", "Record Track"},
        {"\xDC" "bung", "\xC3\x9C" "bung"},
        {"\x80 5", "\xE2\x82\xAC 5"},
        {"caf\xE9", "caf\xC3\xA9"},
    };
    for (const auto& [ansi, utf8] : cases) {
        EXPECT_EQ(AnsiToUtf8(ansi), utf8);
        EXPECT_EQ(Utf8ToAnsi(utf8), ansi);
    }
    EXPECT_EQ(Utf8ToAnsi("\xE6\x97\xA5 x"), "? x") << "a character the code page lacks";
}

} // namespace
} // namespace kv
