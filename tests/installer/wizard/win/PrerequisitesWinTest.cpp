// Prerequisite setups started for real in a silent run: no question is shown, a setup from a
// path runs with its command line, the download program is started with its command line and
// the fetched setup runs and is deleted; a download that writes nothing is skipped. Setups run
// through the wizard's step system, as in the program.
#include "installer/install/StepLists.h"
#include "installer/install/win/PrerequisiteChecks.h"
#include "installer/install/win/StandinLog.h"
#include "installer/state/InstallerState.h"
#include "installer/system/win/BesideTestProgram.h"
#include "installer/text/TempFolder.h"
#include "installer/wizard/win/StepSystemWin.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <filesystem>

namespace fs = std::filesystem;

namespace {

class PrerequisitesWinTest : public ::testing::Test {
protected:
    PrerequisitesWinTest() : log(folder.file("starts.log"))
    {
        resourceDir = folder.file("res");
        fs::create_directories(resourceDir + "\\3rd-party");
        downloader = resourceDir + "\\3rd-party\\Downloader.exe";
        fs::copy_file(besideTestProgram("Downloader.exe"), downloader);
        gPackageToc.resourceDirectory = ByteString(resourceDir.c_str());
        gLanguageTexts[178] = ByteString("Install %s?");
        gLanguageTexts[179] = ByteString("Install %s?");
        gLanguageTexts[180] = ByteString("%s could not be downloaded.");
        gFlags.silent = true;
        previousSteps_ = setStepSystem(&windowsStepSystem());
    }
    ~PrerequisitesWinTest() override
    {
        setStepSystem(previousSteps_);
        gFlags.silent = false;
        gPackageToc.prerequisites.clear();
        gPackageToc.resourceDirectory = ByteString();
        gInstallerContext.optionWord = 0;
    }
    // Java is not installed under the test system: a Java entry is always missing.
    void addJava(std::int32_t mode, const std::string& setup, const char* arguments)
    {
        Prerequisite entry;
        entry.kind = kPrerequisiteJava;
        entry.mode = mode;
        entry.requiredVersion = ByteString("1.4");
        entry.product = ByteString("Runtime");
        entry.setup = ByteString(setup.c_str());
        entry.arguments = ByteString(arguments);
        gPackageToc.prerequisites.push_back(std::move(entry));
    }

    TempFolder folder;
    StandinLog log;
    std::string resourceDir;
    std::string downloader;
    StepSystem* previousSteps_ = nullptr;
    const std::string setup = besideTestProgram("program_standin.exe");
};

TEST_F(PrerequisitesWinTest, ASetupFromAPathRunsWithItsArguments)
{
    ASSERT_TRUE(systemPrerequisites().javaVersion().empty()) << "the test needs a system without Java";
    addJava(0, setup, "/quiet now");

    checkPrerequisites();
    const auto starts = log.starts();
    ASSERT_EQ(starts.size(), 1u);
    EXPECT_EQ(starts[0].commandLine, "\"" + setup + "\" /quiet now");
}

TEST_F(PrerequisitesWinTest, ADownloadedSetupRunsAndIsDeleted)
{
    addJava(1, setup, "(Default)");
    const std::string local = resourceDir + "\\3rd-party\\Java 1.4.exe";

    checkPrerequisites();
    const auto starts = log.starts();
    ASSERT_EQ(starts.size(), 2u);
    EXPECT_EQ(starts[0].commandLine, "\"" + downloader + "\" /download /local \"" + local + "\" /url \"" + setup +
                                         "\" /program \"Java Runtime\"");
    EXPECT_EQ(starts[1].commandLine, "\"" + local + "\"");
    EXPECT_TRUE(_stricmp(starts[1].program.c_str(), local.c_str()) == 0) << starts[1].program;
    EXPECT_FALSE(fs::exists(local));
}

TEST_F(PrerequisitesWinTest, ADownloadThatWritesNothingIsSkipped)
{
    addJava(1, folder.file("missing.exe"), "(Default)");
    addJava(0, setup, "");

    checkPrerequisites();
    const auto starts = log.starts();
    ASSERT_EQ(starts.size(), 2u);
    EXPECT_NE(starts[0].commandLine.find("Downloader.exe\" /download"), std::string::npos);
    EXPECT_EQ(starts[1].commandLine, "\"" + setup + "\"");
    EXPECT_FALSE(fs::exists(resourceDir + "\\3rd-party\\Java 1.4.exe"));
}

} // namespace
