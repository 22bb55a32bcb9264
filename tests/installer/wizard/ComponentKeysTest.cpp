// The component variables' names, the saved choices, the component block and the folder texts
// the destination and group pages keep.
#include "installer/wizard/ComponentBlock.h"
#include "installer/wizard/ComponentKeys.h"
#include "installer/wizard/FolderChoice.h"

#include <gtest/gtest.h>

#include <string>

namespace {

std::string str(const ByteString& text)
{
    return std::string(reinterpret_cast<const char*>(text.data()), text.length());
}

ByteString bytes(const std::string& text)
{
    return ByteString(reinterpret_cast<const std::uint8_t*>(text.data()), std::uint32_t(text.size()));
}

void appendComponent(ByteString& block, const char* name, std::uint32_t children, std::uint32_t flags = 0,
                     std::uint32_t size = 0)
{
    const ByteString nameText(name);
    block.appendBE32(nameText.length());
    block.append(nameText);
    block.appendBE32(children);
    block.appendBE32(4);
    block.appendCStr("info");
    for (const std::uint32_t word : {flags, size, 1u, 2u, 3u})
        block.appendBE32(word);
}

} // namespace

TEST(ComponentKeys, KeysAreCutBeforeTheSize)
{
    struct Case {
        const char* shown;
        const char* part;
    };
    const Case cases[] = {
        {"Help (12 KB)", "Help"},
        {"Parent", "Parent"},
        {"(12 KB)", ""},
        {"Tools (x) (3 KB)", "Tools (x)"},
        {"", ""},
    };
    for (const Case& c : cases)
        EXPECT_EQ(str(componentKeyPart(ByteString(c.shown))), c.part) << c.shown;

    // The top two levels get the same key when the tree is filled and when it is saved.
    const ByteString parent("Extras");
    EXPECT_EQ(str(presetComponentKey(nullptr, ByteString("Extras"))),
              str(savedComponentKey({ByteString("Extras")})));
    EXPECT_EQ(str(presetComponentKey(&parent, ByteString("Songs"))),
              str(savedComponentKey({ByteString("Extras"), ByteString("Songs (1.2 MB)")})));
    EXPECT_EQ(str(savedComponentKey({ByteString("Extras"), ByteString("Songs"), ByteString("Demo (1 KB)")})),
              "<II_Extras_Songs_Demo>");
}

TEST(ComponentKeys, SavedChoicesOutsideTheTreeGiveNoState)
{
    std::vector<ComponentChoice> choices(2);
    choices[0].checked = true;
    EXPECT_EQ(savedComponentState(choices, 0, false), 1);
    EXPECT_EQ(savedComponentState(choices, 1, false), 0);
    EXPECT_EQ(savedComponentState(choices, 1, true), 2) << "a fixed component stays fixed";
    EXPECT_EQ(savedComponentState(choices, 2, false), std::nullopt);
    EXPECT_EQ(savedComponentState({}, 0, true), std::nullopt);
}

TEST(ComponentBlock, ReadsTheTreeDepthFirst)
{
    ByteString block;
    appendComponent(block, "Program", 0, kComponentFixed, 100);
    appendComponent(block, "Extras", 2);
    appendComponent(block, "Songs", 1);
    appendComponent(block, "Demo", 0, kComponentSelectedByDefault, 7);
    appendComponent(block, "Layouts", 0);
    const auto records = readComponentBlock(block, 2);
    ASSERT_TRUE(records);
    ASSERT_EQ(records->size(), 5u);
    struct Expected {
        const char* name;
        std::uint32_t depth;
        std::int32_t parent;
    };
    const Expected expected[] = {{"Program", 0, -1}, {"Extras", 0, -1}, {"Songs", 1, 1}, {"Demo", 2, 2},
                                 {"Layouts", 1, 1}};
    for (std::size_t i = 0; i < records->size(); ++i) {
        EXPECT_EQ(str((*records)[i].name), expected[i].name);
        EXPECT_EQ((*records)[i].depth, expected[i].depth) << expected[i].name;
        EXPECT_EQ((*records)[i].parent, expected[i].parent) << expected[i].name;
    }
    EXPECT_EQ((*records)[0].flags, kComponentFixed);
    EXPECT_EQ((*records)[3].bytes, 7u);
    EXPECT_EQ(str((*records)[3].description), "info");
}

TEST(ComponentBlock, BadBlocksAreRefused)
{
    ByteString whole;
    appendComponent(whole, "Only", 0);
    ByteString claimsChildren;
    appendComponent(claimsChildren, "Parent", 1);
    ByteString hugeCount;
    appendComponent(hugeCount, "Parent", 0xFFFFFFFFu);
    ByteString longName;
    longName.appendBE32(0x7FFFFFFF);
    longName.appendCStr("x");
    // Each component the only child of the one before: deep nesting read without recursion.
    ByteString deep;
    constexpr int kDepth = 20000;
    for (int i = 0; i < kDepth; ++i)
        appendComponent(deep, "n", i + 1 < kDepth ? 1 : 0);

    EXPECT_FALSE(readComponentBlock(whole.substr(0, whole.length() - 1), 1)) << "cut short";
    EXPECT_FALSE(readComponentBlock(claimsChildren, 1)) << "a child that is not there";
    EXPECT_FALSE(readComponentBlock(hugeCount, 1)) << "more children than the block can hold";
    EXPECT_FALSE(readComponentBlock(longName, 1)) << "a name longer than the block";
    EXPECT_FALSE(readComponentBlock(whole, 1000)) << "more top-level components than the block can hold";
    const auto nested = readComponentBlock(deep, 1);
    ASSERT_TRUE(nested);
    EXPECT_EQ(nested->back().depth, std::uint32_t(kDepth - 1));
}

TEST(FolderChoice, BrowsedAndListedFoldersFitTheBuffer)
{
    const ByteString id("Korvanel");
    const std::string longFolder = "C:\\" + std::string(300, 'a');
    struct Case {
        const char* what;
        ByteString result;
        std::string expected;
    };
    const Case cases[] = {
        {"browsed folder", browsedDestination(ByteString("D:\\Apps"), id, true), "D:\\Apps\\Korvanel"},
        {"drive root keeps one backslash", browsedDestination(ByteString("D:\\"), id, true), "D:\\Korvanel"},
        {"without the product id", browsedDestination(ByteString("D:\\Apps"), id, false), "D:\\Apps\\"},
        {"a long browsed folder is cut", browsedDestination(bytes(longFolder), id, true), longFolder.substr(0, 259)},
        {"listed group", groupFromListLine(ByteString("Music"), id, true), "Music\\Korvanel"},
        {"empty line", groupFromListLine(ByteString(""), id, true), "Korvanel"},
        {"group without the product id", groupFromListLine(ByteString("Music"), id, false), "Music"},
        {"a long listed group is cut", groupFromListLine(bytes(std::string(255, 'g')), id, true),
         std::string(255, 'g') + "\\Kor"},
        // The euro sign is three bytes; the one at bytes 257 to 259 does not fit whole.
        {"a cut leaves no half character", browsedDestination(bytes(std::string(257, 'f') + "\xE2\x82\xAC"), id, false),
         std::string(257, 'f')},
    };
    for (const Case& c : cases)
        EXPECT_EQ(str(c.result), c.expected) << c.what;
    EXPECT_LT(kDestinationEditLimit, kFolderBufferSize);
    EXPECT_LT(kGroupEditLimit, kFolderBufferSize);
}
