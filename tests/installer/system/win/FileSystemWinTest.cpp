#include "installer/system/DirectoryCreation.h"
#include "installer/system/ErrorBox.h"
#include "installer/system/FileSearch.h"
#include "installer/system/FileSystem.h"
#include "installer/system/FreeSpace.h"
#include "installer/system/TempFileName.h"

#include "installer/text/ByteStringTestSupport.h"
#include "installer/text/TempFolder.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace {

std::vector<std::string> createdFolders;
std::vector<std::string> errorBoxes;

// Records what createDirectories logs and reports, for one test.
class FolderCreationRecorder {
public:
    FolderCreationRecorder()
    {
        createdFolders.clear();
        errorBoxes.clear();
        previousLog_ = setCreatedFolderLog([](const char* path) { createdFolders.push_back(path); });
        previousBox_ = setErrorBoxFunction([](const char* text) { errorBoxes.push_back(text); });
    }
    ~FolderCreationRecorder()
    {
        setCreatedFolderLog(previousLog_);
        setErrorBoxFunction(previousBox_);
    }

private:
    CreatedFolderLog previousLog_;
    ErrorBoxFunction previousBox_;
};

std::string currentDirectory()
{
    char buffer[MAX_PATH] = {};
    GetCurrentDirectoryA(MAX_PATH, buffer);
    return buffer;
}

TEST(CreateDirectoriesTest, CreatesAndLogsOnlyTheNewFolders)
{
    TempFolder root;
    FolderCreationRecorder recorder;
    const std::string a = root.file("A");
    ASSERT_TRUE(CreateDirectoryA(a.c_str(), nullptr));
    const std::string before = currentDirectory();

    EXPECT_TRUE(createDirectories((a + "\\B\\C\\").c_str(), false));
    EXPECT_EQ(createdFolders, (std::vector<std::string>{a + "\\B", a + "\\B\\C"}));
    EXPECT_TRUE(fileExists((a + "\\B\\C").c_str()));
    EXPECT_EQ(currentDirectory(), before);

    createdFolders.clear();
    EXPECT_TRUE(createDirectories((a + "\\B\\C").c_str(), false)); // all there already
    EXPECT_TRUE(createdFolders.empty());

    // Forward slashes, as a user may type them, separate the parts too.
    std::string slashed = a + "/D/E/";
    std::replace(slashed.begin(), slashed.end(), '\\', '/');
    EXPECT_TRUE(createDirectories(slashed.c_str(), false));
    EXPECT_EQ(createdFolders, (std::vector<std::string>{a + "\\D", a + "\\D\\E"}));
    EXPECT_TRUE(errorBoxes.empty());
}

TEST(CreateDirectoriesTest, RejectsRelativeAndServerOnlyPathsSilently)
{
    FolderCreationRecorder recorder;
    EXPECT_FALSE(createDirectories("relative\\folder", false));
    EXPECT_FALSE(createDirectories("\\\\server", false));
    EXPECT_FALSE(createDirectories("", false));
    EXPECT_FALSE(createDirectories(nullptr, false));
    EXPECT_TRUE(createDirectories("\\\\server\\share", false));
    EXPECT_TRUE(createDirectories("\\\\server\\share\\", false));
    EXPECT_TRUE(errorBoxes.empty());
    EXPECT_TRUE(createdFolders.empty());
}

TEST(CreateDirectoriesTest, AFolderThatCannotBeCreatedIsReportedUnlessQuiet)
{
    TempFolder root;
    FolderCreationRecorder recorder;
    const std::string blocker = root.file("file.txt");
    std::ofstream(blocker) << "a file where a folder should go";
    const std::string before = currentDirectory();

    EXPECT_FALSE(createDirectories((blocker + "\\Sub").c_str(), true));
    EXPECT_TRUE(errorBoxes.empty());
    EXPECT_FALSE(createDirectories((blocker + "\\Sub").c_str(), false));
    ASSERT_EQ(errorBoxes.size(), 1u);
    // The whole folder is named, not only its last part.
    EXPECT_EQ(errorBoxes[0].rfind("Couldn't create directory '" + blocker + "'.", 0), 0u) << errorBoxes[0];
    EXPECT_EQ(currentDirectory(), before); // restored on failure too
    EXPECT_TRUE(createdFolders.empty());
}

TEST(CreateDirectoriesTest, NamesOutsideTheCodePageArriveAsWritten)
{
    TempFolder root;
    FolderCreationRecorder recorder;
    const std::string base = root.path().string();
    const std::string folder = base + "\\Mein Ordner \xC3\x9C \xE2\x99\xAA \xE9\x9F\xB3 \xF0\x9F\x8E\xB9\\caf\xC3\xA9";
    EXPECT_TRUE(createDirectories(folder.c_str(), false));
    const std::filesystem::path wide = root.path() / L"Mein Ordner \u00DC \u266A \u97F3 \U0001F3B9" / L"caf\u00E9";
    EXPECT_TRUE(std::filesystem::is_directory(wide));
    // The log holds the names as the installer writes them, for the uninstaller to remove.
    EXPECT_EQ(createdFolders, (std::vector<std::string>{base + "\\Mein Ordner \xC3\x9C \xE2\x99\xAA \xE9\x9F\xB3 \xF0\x9F\x8E\xB9", folder}));
    EXPECT_TRUE(fileExists(folder.c_str()));
    EXPECT_TRUE(errorBoxes.empty());

    // A file written, read and deleted under such a name.
    const std::string file = folder + "\\caf\xC3\xA9 \xC3\xBC" "ber na\xC3\xAFve.txt";
    ByteString content("x");
    EXPECT_EQ(content.saveToFile(file.c_str()), 1);
    EXPECT_TRUE(std::filesystem::is_regular_file(wide / L"caf\u00E9 \u00FCber na\u00EFve.txt"));
    ByteString read;
    EXPECT_EQ(read.loadFromFile(file.c_str()), 1);
    EXPECT_EQ(str(read), "x");
    EXPECT_TRUE(forceDelete(file.c_str()));
    EXPECT_FALSE(std::filesystem::exists(wide / L"caf\u00E9 \u00FCber na\u00EFve.txt"));
}

TEST(FileSystemWinTest, ExistsAndForceDelete)
{
    TempFolder root;
    const std::string path = root.file("readonly.txt");
    std::ofstream(path) << "x";
    ASSERT_TRUE(SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_READONLY));
    EXPECT_TRUE(fileExists(path.c_str()));
    EXPECT_TRUE(fileExists(root.path().string().c_str())); // folders too
    EXPECT_FALSE(fileExists(""));
    EXPECT_FALSE(fileExists(nullptr));
    EXPECT_TRUE(forceDelete(path.c_str()));
    EXPECT_FALSE(fileExists(path.c_str()));
    EXPECT_TRUE(forceDelete(path.c_str())); // nothing of that name is left
    ensureTempFolder();
    char temp[MAX_PATH] = {};
    GetTempPathA(MAX_PATH, temp);
    EXPECT_TRUE(fileExists(temp));
}

TEST(FileSystemWinTest, WindowsDirectoryAndTempNames)
{
    char windows[MAX_PATH] = {};
    const std::uint32_t n = getWindowsDirectory(windows, MAX_PATH);
    ASSERT_GT(n, 0u);
    EXPECT_EQ(std::string(windows).size(), n);
    EXPECT_TRUE(fileExists(windows));
    EXPECT_EQ(getWindowsDirectory(windows, 2), 0u);

    char name[kPathBufferSize];
    makeTempFileName(name, ".bmp");
    char temp[MAX_PATH] = {};
    GetTempPathA(MAX_PATH, temp);
    const std::string made = name;
    EXPECT_EQ(made.rfind(std::string(temp) + "dxw", 0), 0u) << made;
    EXPECT_EQ(made.substr(made.size() - 4), ".bmp");
    EXPECT_FALSE(fileExists(name));
}

TEST(FileSystemWinTest, FindFileOnTheRealFileSystem)
{
    TempFolder root;
    const std::string base = root.path().string() + "\\";
    ASSERT_TRUE(CreateDirectoryA((base + "Deep").c_str(), nullptr));
    ASSERT_TRUE(CreateDirectoryA((base + "Deep\\Er").c_str(), nullptr));
    std::ofstream(base + "Deep\\Er\\Wanted.DLL") << "x";
    ByteString out;
    EXPECT_EQ(findFile(base.c_str(), "wanted.dll", 0, &out), 1);
    EXPECT_EQ(str(out), base + "Deep\\Er\\");
    EXPECT_EQ(findFile(base.c_str(), "absent.dll", 0, &out), 0);
    EXPECT_EQ(findFile((base + "NoSuchFolder\\").c_str(), "x", 0, &out), -3);
    EXPECT_EQ(findFileOnFixedDrives(nullptr, 0, &out), -1);
}

TEST(FileSystemWinTest, FreeSpaceAsTheSystemReportsItOrAsFixed)
{
    EXPECT_GT(getFreeSpace("C:\\", 2), 0u);
    EXPECT_GE(getFreeSpace("C:\\", 2), getFreeSpace("C:\\", 3));
    EXPECT_EQ(getFreeSpace("Q:\\no such drive\\", 1), 0u);
    setFreeSpaceOverride([](const char*, int kind) -> std::optional<std::uint64_t> { return kind == 1 ? 4096 : 8192; });
    EXPECT_EQ(getFreeSpace("C:\\", 1), 4096u);
    EXPECT_EQ(getFreeSpace("C:\\", 2), 8192u);
    setFreeSpaceOverride(nullptr);
}

TEST(FileSystemWinTest, SaveKeepsTheFileAttributes)
{
    TempFolder root;
    const std::string path = root.file("attributes.dat");
    ASSERT_EQ(ByteString("first").saveToFile(path.c_str()), 1);
    const DWORD kept = FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_ARCHIVE;
    ASSERT_TRUE(SetFileAttributesA(path.c_str(), kept));
    EXPECT_EQ(ByteString("second").saveToFile(path.c_str()), 1); // read-only is lifted for the write
    EXPECT_EQ(GetFileAttributesA(path.c_str()) & kept, kept);
    ByteString loaded;
    EXPECT_EQ(loaded.loadFromFile(path.c_str()), 1);
    EXPECT_EQ(str(loaded), "second");
    SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
}

} // namespace
