#include "installer/state/InstallerRunRules.h"
#include "installer/system/ModulePath.h"
#include "installer/system/ResourceDirectory.h"

#include <gtest/gtest.h>

#include <set>

TEST(InstallerRunRules, CommandLineSwitchesAreFoundAnywhereInAnyCase)
{
    struct {
        const char* commandLine;
        bool silent, revert, acceptLicense;
    } cases[] = {
        {"\"C:\\setup.exe\"", false, false, false},
        {"\"C:\\setup.exe\" /SILENT", true, false, false},
        {"setup.exe /silent", true, false, false},
        {"setup.exe /SILENTLY", true, false, false},
        {"setup.exe /Revert /acceptlicense", false, true, true},
        {"\"C:\\my/silent dir\\setup.exe\"", true, false, false},
        {"setup.exe -silent /REVERSE", false, false, false},
        {nullptr, false, false, false},
    };
    for (const auto& c : cases) {
        InstallerFlags flags;
        readCommandLineFlags(c.commandLine, flags);
        const char* shown = c.commandLine ? c.commandLine : "(null)";
        EXPECT_EQ(flags.silent, c.silent) << shown;
        EXPECT_EQ(flags.revert, c.revert) << shown;
        EXPECT_EQ(flags.acceptLicense, c.acceptLicense) << shown;
        EXPECT_FALSE(flags.localCopy) << shown;
    }
}

TEST(InstallerRunRules, RevertInvertsTheExitCode)
{
    EXPECT_EQ(installerExitCode(true, false), 1);
    EXPECT_EQ(installerExitCode(false, false), 0);
    EXPECT_EQ(installerExitCode(true, true), 0);
    EXPECT_EQ(installerExitCode(false, true), 1);
}

TEST(InstallerRunRules, SilentAnswersFollowTheButtons)
{
    // MB_OK 0, MB_OKCANCEL 1, MB_ABORTRETRYIGNORE 2, MB_YESNOCANCEL 3, MB_YESNO 4,
    // MB_RETRYCANCEL 5, MB_CANCELTRYCONTINUE 6; IDOK 1, IDCANCEL 2, IDIGNORE 5, IDYES 6.
    const std::pair<std::uint32_t, int> cases[] = {
        {0, 1}, {1, 1}, {2, 5}, {3, 6}, {4, 6}, {5, 2}, {6, 6}, {0x10 | 4, 6}, {0x30 | 1, 1},
    };
    for (const auto& [type, answer] : cases)
        EXPECT_EQ(silentMessageBoxAnswer(type), answer) << type;
}

TEST(InstallerRunRules, CaptionFallsBackFromSetupTitleToWindowTitleToDefault)
{
    const ByteString savedTitle = gSetupTitle, savedWindowTitle = gBackgroundStyle.windowTitle;
    gSetupTitle = ByteString();
    gBackgroundStyle.windowTitle = ByteString();
    EXPECT_STREQ(messageBoxCaption(nullptr), "Dravell Installer");
    EXPECT_STREQ(messageBoxCaption(""), "Dravell Installer");
    gBackgroundStyle.windowTitle.assignCStr("Window");
    EXPECT_STREQ(messageBoxCaption(nullptr), "Window");
    gSetupTitle.assignCStr("Setup of X");
    EXPECT_STREQ(messageBoxCaption(nullptr), "Setup of X");
    EXPECT_STREQ(messageBoxCaption("Given"), "Given");
    gSetupTitle = savedTitle;
    gBackgroundStyle.windowTitle = savedWindowTitle;
}

TEST(ResourceDirectory, FoldersAroundTheModulePath)
{
    EXPECT_EQ(packageDirectoryOf("C:\\dist\\setup.exe"), "C:\\dist");
    EXPECT_EQ(packageDirectoryOf("\\\\server\\share\\setup.exe"), "\\\\server\\share");
    EXPECT_EQ(packageDirectoryOf("setup.exe"), "setup.exe");
    EXPECT_EQ(parentOfProgramFolder("D:\\cd\\installer\\setup.exe"), "D:\\cd");
    EXPECT_EQ(parentOfProgramFolder("setup.exe"), "setup.exe");
    EXPECT_EQ(parentOfProgramFolder("D:\\setup.exe"), "D:\\setup.exe");
}

TEST(ResourceDirectory, FirstFreeNameFromTheMaskedTickCount)
{
    const std::set<std::string> taken = {"C:\\T\\inst5", "C:\\T\\inst6"};
    auto exists = [&](const std::string& name) { return taken.count(name) > 0; };
    EXPECT_EQ(freeResourceDirectory("C:\\T\\", 5, exists), "C:\\T\\inst7");
    EXPECT_EQ(freeResourceDirectory("C:\\T", 5, exists), "C:\\T\\inst7");
    EXPECT_EQ(freeResourceDirectory("C:\\T\\", 0x80000009u, exists), "C:\\T\\inst9");
    const std::set<std::string> top = {"C:\\T\\inst2147483647"};
    EXPECT_EQ(freeResourceDirectory("C:\\T\\", 0xFFFFFFFFu, [&](const std::string& n) { return top.count(n) > 0; }), "C:\\T\\inst0");
}

TEST(ModulePath, NetworkPathsInTheirPlainForm)
{
    EXPECT_EQ(plainModulePath("C:\\dist\\setup.exe"), "C:\\dist\\setup.exe");
    EXPECT_EQ(plainModulePath("\\\\server\\share\\setup.exe"), "\\\\server\\share\\setup.exe");
    EXPECT_EQ(plainModulePath("\\\\?\\UNC\\server\\share\\setup.exe"), "\\\\server\\share\\setup.exe");
    EXPECT_EQ(plainModulePath("UNC\\server\\share\\setup.exe"), "\\\\server\\share\\setup.exe");
    EXPECT_EQ(plainModulePath("\\\\?\\C:\\setup.exe"), "\\\\?\\C:\\setup.exe");
    EXPECT_TRUE(isNetworkPath("\\\\server\\share\\setup.exe"));
    EXPECT_FALSE(isNetworkPath("C:\\setup.exe"));
    EXPECT_FALSE(isNetworkPath("\\"));
    EXPECT_FALSE(isNetworkPath(nullptr));
}
