#include "installer/text/ByteString.h"

#include "installer/text/ByteStringTestSupport.h"
#include "installer/text/TempFolder.h"

#include <gtest/gtest.h>

namespace {

TEST(ByteStringFileTest, SaveThenLoadRanges)
{
    TempFolder folder;
    const std::string path = folder.file("data.bin");
    const std::string content("0123456789\0\xFF", 12);
    EXPECT_EQ(bytes(content).saveToFile(path.c_str()), 1);

    struct Case { std::uint32_t offset, length; int result; std::string expected; };
    const Case cases[] = {
        {0, 0, 1, content},
        {2, 3, 1, "234"},
        {8, 0, 1, std::string("89\0\xFF", 4)},
        {8, 100, 1, std::string("89\0\xFF", 4)}, // more than the file holds: to the end
        {12, 0, 0, ""},
        {0xFFFFFFFFu, 4, 0, ""},
    };
    for (const Case& c : cases) {
        ByteString loaded("old content");
        EXPECT_EQ(loaded.loadFromFile(path.c_str(), c.offset, c.length), c.result) << c.offset << "," << c.length;
        EXPECT_EQ(str(loaded), c.expected) << c.offset << "," << c.length;
    }
}

TEST(ByteStringFileTest, MissingFilesAndFoldersGiveTheirCodes)
{
    TempFolder folder;
    ByteString s("old");
    EXPECT_EQ(s.loadFromFile(folder.file("missing.bin").c_str()), -3);
    EXPECT_TRUE(s.empty());
    EXPECT_EQ(s.loadFromFile(nullptr), -3);
    const std::string inMissingFolder = folder.file("no such folder/x.bin");
    EXPECT_EQ(ByteString("x").saveToFile(inMissingFolder.c_str()), -3);
    EXPECT_EQ(ByteString("x").saveToFile(nullptr), -3);
}

TEST(ByteStringFileTest, SavingReplacesTheWholeFile)
{
    TempFolder folder;
    const std::string path = folder.file("replace.txt");
    ASSERT_EQ(ByteString("a long first content").saveToFile(path.c_str()), 1);
    ASSERT_EQ(ByteString("short").saveToFile(path.c_str()), 1);
    ByteString loaded;
    EXPECT_EQ(loaded.loadFromFile(path.c_str()), 1);
    EXPECT_EQ(str(loaded), "short");
    ASSERT_EQ(ByteString().saveToFile(path.c_str()), 1);
    EXPECT_EQ(loaded.loadFromFile(path.c_str()), 0);
}

} // namespace
