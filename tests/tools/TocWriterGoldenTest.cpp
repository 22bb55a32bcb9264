// The builder's table of contents and scrambling checked byte for byte against values worked out
// by hand from the format, so that the builder and the installer's reader cannot agree on a
// misreading.
#include "PackageBuilder.h"
#include "Scramble.h"
#include "TocWriter.h"

#include <gtest/gtest.h>

#include <string>

using nlohmann::json;

namespace {

Bytes concat(std::initializer_list<Bytes> parts)
{
    Bytes all;
    for (const auto& part : parts)
        all.insert(all.end(), part.begin(), part.end());
    return all;
}

Bytes word(std::uint32_t value)
{
    return {static_cast<std::uint8_t>(value >> 24), static_cast<std::uint8_t>(value >> 16),
            static_cast<std::uint8_t>(value >> 8), static_cast<std::uint8_t>(value)};
}

Bytes text(const std::string& s)
{
    Bytes bytes(s.begin(), s.end());
    bytes.push_back(0);
    return bytes;
}

// With every text empty, the settings are 92 words and 27 NULs.
constexpr std::size_t kEmptySettingsSize = 92 * 4 + 27;

} // namespace

TEST(ScrambleGolden, KeyBytesAndCheckFollowTheMovedContent)
{
    // Byte i moves by (250 + 34 * (i + 1)) mod 256; the check wraps past eight bytes.
    const Bytes scrambled = scramble(Bytes(10, 0), 34, 250);
    const Bytes expected = {0x1C, 0x3E, 0x60, 0x82, 0xA4, 0xC6, 0xE8, 0x0A, 0x2C, 0x4E, 0x22, 0xFA,
                            0x48, 0x8C, 0x82, 0x7C, 0xA4, 0xC6, 0xE8, 0x0A};
    EXPECT_EQ(scrambled, expected);
    EXPECT_EQ(scramble(Bytes{}, 5, 0), (Bytes{5, 0, 5, 0, 0, 0, 0, 0, 0, 0}));
    EXPECT_EQ(scrambleTwice(Bytes{1, 2, 3}).size(), 23u);
}

TEST(TocWriterGolden, ListsInStoredOrderWithTheRegistryDepthFirst)
{
    const Bytes plain = plainTocFromDescription(json::parse(R"({
        "registry": {"HKEY_CURRENT_USER": {
            "values": [{"name": "a", "data": "b", "type": 1, "flags": 2,
                        "condition": {"osFlags": 1, "comparisons": [{"left": "<X>", "op": 6, "right": "y"}]}}],
            "subkeys": [{"name": "k", "flags": 3}]}},
        "variables": [{"name": "<V>", "kind": 1, "source": 2, "default": "d", "textA": "A", "textB": "B",
                       "textC": "C", "flags": 4}],
        "stageActions": [{"type": 9, "step": 12}]})"));
    const Bytes expected = concat({
        word(0), word(0),  // HKEY_CLASSES_ROOT: no values, no subkeys
        word(1), text("a"), text("b"), word(1), word(2), word(1), word(1), text("<X>"), word(6), text("y"),
        word(1), text("k"), word(3), word(0), word(0), word(0),  // subkey k, no condition, empty
        word(0), word(0), word(0), word(0),                      // HKEY_LOCAL_MACHINE, HKEY_USERS
        word(0), word(0), word(0), word(0),                      // shortcuts, INI, text files, file ops
        word(1), text("<V>"), word(1), word(2), text("d"), text("A"), text("B"), text("C"), word(4),
        word(1), word(9), text(""), text(""), text(""), word(12), word(0xFFFFFFFF), word(0), text(""), word(0),
        word(0),  // prerequisites
    });
    ASSERT_EQ(plain.size(), expected.size() + kEmptySettingsSize);
    EXPECT_EQ(Bytes(plain.begin(), plain.begin() + static_cast<std::ptrdiff_t>(expected.size())), expected);
}

TEST(TocWriterGolden, SwitchesSitWhereTheSettingsStoreThem)
{
    const Bytes empty = plainTocFromDescription(json::object());
    // Four roots of two counts, then seven list counts.
    const std::size_t settings = 4 * 8 + 7 * 4;
    ASSERT_EQ(empty.size(), settings + kEmptySettingsSize);
    EXPECT_EQ(empty, Bytes(empty.size(), 0)) << "an empty table holds only zero counts, numbers and NULs";

    json switches = json::array();
    for (int i = 0; i < 27; ++i)
        switches.push_back(i == 0 || i == 17);
    const Bytes plain = plainTocFromDescription(json{{"settings",
        {{"optionSwitches", switches}, {"silent", true}, {"thirdFinishItemSwitch", true}, {"pageAlignment", 5}}}});
    // 47 words and 25 empty texts come before the first switch; the silent switch follows the
    // first 17, the ten later ones follow it; bit 27's switch comes after the run modes (one
    // word, a text, six words).
    const auto wordAt = [&](std::size_t at) { return Bytes(plain.begin() + static_cast<std::ptrdiff_t>(settings + at), plain.begin() + static_cast<std::ptrdiff_t>(settings + at + 4)); };
    EXPECT_EQ(wordAt(213), word(1));
    EXPECT_EQ(wordAt(213 + 16 * 4), word(0));
    EXPECT_EQ(wordAt(281), word(1));
    EXPECT_EQ(wordAt(285), word(1));
    EXPECT_EQ(wordAt(354), word(1));
    EXPECT_EQ(wordAt(kEmptySettingsSize - 4), word(5));
    std::size_t nonZero = 0;
    for (std::uint8_t b : plain)
        nonZero += b != 0;
    EXPECT_EQ(nonZero, 5u);
}

TEST(TocWriterGolden, BadTableDescriptionsAreRefused)
{
    const char* cases[] = {
        R"({"toc": []})",
        R"({"toc": {"registry": {"HKEY_NOWHERE": {}}}})",
        R"({"toc": {"settings": {"productNmae": "typo"}}})",
        R"({"toc": {"settings": {"optionSwitches": [0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0]}}})",
        R"({"toc": {"shortcuts": [{"target": 5}]}})",
        R"({"toc": {"variables": [{"kind": 4294967296}]}})",
        R"({"toc": {"rawPlainHex": "0g"}})",
        R"({"toc": {"scrambleCount": 3}})",
    };
    for (const char* description : cases)
        EXPECT_THROW(buildInstallerWithPackage({'M', 'Z'}, json::parse(description)), PackageDescriptionError)
            << description;
}

TEST(TocWriterGolden, HeaderFieldsZeroAndFourLocateTheStoredTable)
{
    const Bytes installer = {'M', 'Z', 0x90, 0x00};
    const Bytes built = buildInstallerWithPackage(installer, json::parse(R"({"toc": {"rawPlainHex": "0102"}})"));
    const Bytes stored = scrambleTwice({0x01, 0x02});
    ASSERT_GE(built.size(), installer.size() + stored.size() + 8);
    EXPECT_EQ(Bytes(built.begin() + 4, built.begin() + 4 + static_cast<std::ptrdiff_t>(stored.size())), stored);
    const std::size_t header = 4 + stored.size();
    EXPECT_EQ(Bytes(built.begin() + static_cast<std::ptrdiff_t>(header), built.begin() + static_cast<std::ptrdiff_t>(header) + 8),
              concat({word(4), word(static_cast<std::uint32_t>(stored.size()))}));
}
