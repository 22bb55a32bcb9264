#include "installer/install/PluginServices.h"
#include "installer/state/UninstallLists.h"

#include "installer/install/StepTestSupport.h"
#include "installer/system/win/BesideTestProgram.h"
#include "installer/text/TempFolder.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <filesystem>
#include <fstream>
#include <string>

namespace {

const char* const kSharedDlls = "Software\\Microsoft\\Windows\\CurrentVersion\\SharedDLLs";

// The count under SharedDLLs; -1 when there is none.
long long sharedCount(const char* path)
{
    DWORD count = 0;
    DWORD size = sizeof(count);
    if (RegGetValueA(HKEY_LOCAL_MACHINE, kSharedDlls, path, RRF_RT_REG_DWORD, nullptr, &count, &size) != ERROR_SUCCESS)
        return -1;
    return count;
}

TEST(PluginServiceWinTest, SharedLibraryCountsRiseAndTheLibraryIsListed)
{
    StepStage stage;
    TempFolder folder;
    const std::string path = folder.file("shared.dll");
    HKEY key = nullptr;
    ASSERT_EQ(RegCreateKeyExA(HKEY_LOCAL_MACHINE, kSharedDlls, 0, nullptr, 0, KEY_WRITE, nullptr, &key, nullptr),
              ERROR_SUCCESS);
    RegCloseKey(key);
    EXPECT_EQ(pluginAddSharedDll(path.c_str()), 1);
    EXPECT_EQ(sharedCount(path.c_str()), 1);
    EXPECT_EQ(pluginAddSharedDll(path.c_str()), 1);
    EXPECT_EQ(sharedCount(path.c_str()), 2);
    EXPECT_EQ(listEntries(gUninstallLog.shared), (std::vector<std::string>{path, path}));
    RegDeleteKeyValueA(HKEY_LOCAL_MACHINE, kSharedDlls, path.c_str());
}

TEST(PluginServiceWinTest, BackupCopiesTheFileWithItsVersionAndTime)
{
    StepStage stage;
    TempFolder folder;
    gPackageToc.installDir.assignCStr((folder.path().string() + "\\").c_str());
    const std::string library = folder.file("version1_english.dll");
    std::filesystem::copy_file(besideTestProgram("version1_english.dll"), library);
    EXPECT_EQ(pluginBackupFile(library.c_str()), 1);
    const std::string backup = folder.file("Backup\\version1_english.dll");
    EXPECT_TRUE(std::filesystem::exists(backup));
    const std::string line = ByteString(gUninstallLog.backupText).cStr();
    EXPECT_EQ(line.rfind(backup + "\t" + library + "\t", 0), 0u) << line;
    EXPECT_NE(line.find("\t65536\t"), std::string::npos) << "version 1.0 of the fixture: " << line;

    EXPECT_EQ(pluginBackupFile(folder.file("missing.dll").c_str()), -2);
    const std::string plain = folder.file("plain.txt");
    std::ofstream(plain) << "no version";
    EXPECT_EQ(pluginBackupFile(plain.c_str()), 1);
    const std::string text = ByteString(gUninstallLog.backupText).cStr();
    EXPECT_NE(text.find("plain.txt\t0\t0\t"), std::string::npos) << "no version is 0.0: " << text;
}

TEST(PluginServiceWinTest, FoldersAreCreatedWithTheirParentsOrRefused)
{
    StepStage stage;
    TempFolder folder;
    const std::string made = folder.file("a\\b\\c");
    EXPECT_EQ(pluginCreateDirectory(made.c_str()), 1);
    EXPECT_TRUE(std::filesystem::is_directory(made));
    EXPECT_EQ(pluginCreateDirectory("relative\\folder"), -2);
}

} // namespace
