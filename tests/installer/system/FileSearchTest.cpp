#include "installer/system/FileSearch.h"
#include "installer/system/FreeSpace.h"
#include "installer/system/TempFileName.h"

#include "installer/text/ByteStringTestSupport.h"

#include <gtest/gtest.h>

#include <map>
#include <set>

namespace {

// A folder tree in memory: folder path (with trailing backslash) -> its entries in listing order.
struct FakeTree {
    std::map<std::string, std::vector<FolderEntry>> folders;
    std::vector<std::string> listed;
    int dispatches = 0;

    FileSearchSystem system()
    {
        return FileSearchSystem{
            [this](const std::string& folder, std::vector<FolderEntry>& entries) {
                listed.push_back(folder);
                auto it = folders.find(folder);
                if (it == folders.end())
                    return false;
                entries = it->second;
                return true;
            },
            [this] { ++dispatches; }};
    }
};

FolderEntry file(const char* name) { return FolderEntry{name, false, false}; }
FolderEntry folder(const char* name) { return FolderEntry{name, true, false}; }

TEST(FileSearchTest, SearchesSubFoldersInListingOrder)
{
    FakeTree tree;
    tree.folders["C:\\"] = {folder("."), folder(".."), folder("Sub"), file("target.dll")};
    tree.folders["C:\\Sub\\"] = {folder(".hidden"), file("TARGET.DLL")};
    tree.folders["C:\\Sub\\.hidden\\"] = {file("target.dll")};
    ByteString out;
    EXPECT_EQ(findFileWith(tree.system(), "C:\\", "target.dll", &out), 1);
    EXPECT_EQ(str(out), "C:\\Sub\\");
    EXPECT_EQ(tree.listed, (std::vector<std::string>{"C:\\", "C:\\Sub\\"}));
}

TEST(FileSearchTest, ResultsForMissingFilesFoldersAndArguments)
{
    FakeTree tree;
    tree.folders["C:\\"] = {folder("Locked"), file("other.txt")};
    ByteString out("untouched");
    EXPECT_EQ(findFileWith(tree.system(), "C:\\", "target.dll", &out), 0); // an unlistable sub-folder is passed over
    EXPECT_EQ(str(out), "untouched");
    EXPECT_EQ(tree.dispatches, 1);
    EXPECT_EQ(findFileWith(tree.system(), "D:\\", "x", &out), -3);
    EXPECT_EQ(findFileWith(tree.system(), nullptr, "x", &out), -1);
    EXPECT_EQ(findFileWith(tree.system(), "C:\\", nullptr, &out), -1);
    EXPECT_EQ(findFileWith(tree.system(), "C:\\", "x", nullptr), -1);
}

TEST(FileSearchTest, DoesNotFollowReparsePointsNorGoDeeperThanTheBound)
{
    // A junction that leads back to its own parent would otherwise be searched for ever.
    // Every folder holds a junction back up and one real sub-folder.
    FakeTree tree;
    FileSearchSystem looping{
        [&tree](const std::string& path, std::vector<FolderEntry>& entries) {
            tree.listed.push_back(path);
            entries = {FolderEntry{"Back", true, true}, folder("Deeper")};
            return true;
        },
        {}};
    ByteString out;
    EXPECT_EQ(findFileWith(looping, "C:\\Loop\\", "missing", &out), 0);
    EXPECT_EQ(tree.listed.size(), static_cast<std::size_t>(kMaxFileSearchDepth) + 1);
    for (const std::string& path : tree.listed)
        EXPECT_EQ(path.find("Back"), std::string::npos);
}

TEST(TempFileNameTest, CountsUpPastExistingNames)
{
    std::set<std::string> existing = {"C:\\Temp\\dxw1000.bmp", "C:\\Temp\\dxw1001.bmp"};
    auto exists = [&](const std::string& name) { return existing.count(name) > 0; };
    EXPECT_EQ(firstFreeTempFileName("C:\\Temp", 1000, ".bmp", exists), "C:\\Temp\\dxw1002.bmp");
    EXPECT_EQ(firstFreeTempFileName("C:\\Temp\\", 999, ".bmp", exists), "C:\\Temp\\dxw999.bmp");
    EXPECT_EQ(firstFreeTempFileName("", 5, ".tmp", exists), "C:\\dxw5.tmp");
    EXPECT_EQ(firstFreeTempFileName("T\\", 0xFFFFFFFFu, "", exists), "T\\dxw-1"); // the number is signed
}

TEST(FreeSpaceTest, KindsSelectTheAnswer)
{
    const ExtendedFreeSpace extended{100, 300, 200};
    EXPECT_EQ(freeSpaceFromExtended(extended, 1), 100u);
    EXPECT_EQ(freeSpaceFromExtended(extended, 2), 300u);
    EXPECT_EQ(freeSpaceFromExtended(extended, 3), 200u);
    EXPECT_EQ(freeSpaceFromExtended(extended, 0), 100u);
    const ClassicFreeSpace classic{8, 512, 10, 20};
    EXPECT_EQ(freeSpaceFromClassic(classic, 1), 8u * 512 * 10);
    EXPECT_EQ(freeSpaceFromClassic(classic, 3), 8u * 512 * 10);
    EXPECT_EQ(freeSpaceFromClassic(classic, 2), 8u * 512 * 20);
    EXPECT_EQ(freeSpaceFromClassic(ClassicFreeSpace{64, 512, 0x40000, 0}, 1), 0u); // the 32-bit product wraps
}

} // namespace
