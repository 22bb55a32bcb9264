// Prerequisite setups: which components count as missing, the questions and what each answer
// does, the command lines of both modes, and the finish options the data access setup changes.
#include "installer/install/InstallRun.h"
#include "installer/install/Prerequisites.h"
#include "installer/state/InstallerState.h"

#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

namespace {

// A system with nothing installed unless a test says otherwise; records what the checks do.
struct FakeSystem {
    std::int32_t dotNet = -1;
    std::string java;
    std::uint32_t helpHigh = 0, helpLow = 0;
    std::string dataAccess;
    std::uint32_t directX = 0;
    bool admin = true;
    // Answers in the order the questions come; Yes when none is left.
    std::vector<int> answers;
    // Paths the download program writes.
    std::set<std::string> downloads;

    std::vector<std::string> questions;
    std::vector<std::uint32_t> questionTypes;
    std::vector<std::string> commands;
    std::vector<std::string> deleted;

    PrerequisiteSystem system()
    {
        PrerequisiteSystem s;
        s.dotNet = [this] { return dotNet; };
        s.javaVersion = [this] { return java; };
        s.helpViewerVersion = [this](std::uint32_t& high, std::uint32_t& low) { high = helpHigh, low = helpLow; };
        s.dataAccessVersion = [this] { return dataAccess; };
        s.directX = [this] { return directX; };
        s.mayDecline = [this] { return admin; };
        s.ask = [this](const char* text, std::uint32_t type) {
            questions.emplace_back(text);
            questionTypes.push_back(type);
            if (answers.empty())
                return kAnswerYes;
            const int answer = answers.front();
            answers.erase(answers.begin());
            return answer;
        };
        s.runAndWait = [this](const char* command) { commands.emplace_back(command); };
        s.fileExists = [this](const char* path) { return downloads.count(path) > 0; };
        s.deleteFile = [this](const char* path) { deleted.emplace_back(path); };
        return s;
    }
};

Prerequisite entry(std::int32_t kind, std::int32_t mode, const char* required, const char* setup = "C:\\setup.exe",
                   const char* arguments = "(Default)")
{
    Prerequisite e;
    e.kind = kind;
    e.mode = mode;
    e.requiredVersion = ByteString(required);
    e.product = ByteString("Product X");
    e.setup = ByteString(setup);
    e.arguments = ByteString(arguments);
    return e;
}

class PrerequisitesTest : public ::testing::Test {
protected:
    PrerequisitesTest()
    {
        gLanguageTexts[178] = ByteString("Install %s? [%s/%s]");
        gLanguageTexts[179] = ByteString("Install %s? [%s/%s/%s]");
        gLanguageTexts[180] = ByteString("Download of %s failed. Skip it?");
        gPackageToc.resourceDirectory = ByteString("C:\\Temp\\inst7");
        gInstallerContext.optionWord = 0;
    }
    ~PrerequisitesTest() override
    {
        gPackageToc.prerequisites.clear();
        gPackageToc.resourceDirectory = ByteString();
        gInstallerContext.optionWord = 0;
        for (std::size_t i : {178u, 179u, 180u})
            gLanguageTexts[i] = ByteString();
    }
    void add(Prerequisite e) { gPackageToc.prerequisites.push_back(std::move(e)); }

    FakeSystem fake;
};

struct MissingCase {
    std::int32_t kind;
    const char* required;
    // The fake system's finding for the kind.
    std::int32_t dotNet;
    const char* text;
    std::uint32_t high, low, directX;
    bool missing;
};

TEST(PrerequisiteDetectionTest, MissingWhenBelowTheRequiredVersion)
{
    const MissingCase cases[] = {
        {kPrerequisiteDotNet, "1.0", -1, "", 0, 0, 0, true},
        {kPrerequisiteDotNet, "1.0", 0, "", 0, 0, 0, false},
        {kPrerequisiteDotNet, "1.1", 0, "", 0, 0, 0, true},
        {kPrerequisiteDotNet, "2.0", 1, "", 0, 0, 0, true},
        {kPrerequisiteDotNet, "2.0", 2, "", 0, 0, 0, false},
        {kPrerequisiteDotNet, "3.5", -1, "", 0, 0, 0, true},
        {kPrerequisiteJava, "1.4", 0, "1.4.2", 0, 0, 0, false},
        {kPrerequisiteJava, "1.5", 0, "1.4.2", 0, 0, 0, true},
        {kPrerequisiteJava, "1.4", 0, "", 0, 0, 0, true},
        {kPrerequisiteJava, "1.9", 0, "1.10.0", 0, 0, 0, false},
        {kPrerequisiteJava, "1.10", 0, "1.9.0", 0, 0, 0, true},
        {kPrerequisiteHelpViewer, "1.31", 0, "", 0x4004A, 0x21FE0000, 0, true},  // 4.74.8702
        {kPrerequisiteHelpViewer, "1.3", 0, "", 0x4004A, 0x21FE0000, 0, false},
        {kPrerequisiteHelpViewer, "1.33", 0, "", 0x4004B, 0x00010000, 0, false}, // 4.75.1
        {kPrerequisiteHelpViewer, "1.0", 0, "", 0, 0, 0, true},
        {kPrerequisiteHelpViewer, "2.0", 0, "", 0, 0, 0, false},
        {kPrerequisiteDataAccess, "2.8", 0, "2.81.1117.0", 0, 0, 0, false},
        {kPrerequisiteDataAccess, "2.8", 0, "2.70.9001.0", 0, 0, 0, true},
        {kPrerequisiteDataAccess, "2.5", 0, "", 0, 0, 0, true},
        {kPrerequisiteDataAccess, "3.0", 0, "1.0", 0, 0, 0, false},
        {kPrerequisiteDirectX, "8.1", 0, "", 0, 0, 8, true},
        {kPrerequisiteDirectX, "8.1", 0, "", 0, 0, 8 | (1u << 16), false},
        {kPrerequisiteDirectX, "9.0", 0, "", 0, 0, 10, false},
        {kPrerequisiteDirectX, "7.0", 0, "", 0, 0, 6 | (1u << 16), true},
        {kPrerequisiteDirectX, "10.0", 0, "", 0, 0, 0, false},
        {6, "1.0", 0, "", 0, 0, 0, false},
    };
    for (const MissingCase& c : cases) {
        FakeSystem fake;
        fake.dotNet = c.dotNet;
        fake.java = fake.dataAccess = c.text;
        fake.helpHigh = c.high;
        fake.helpLow = c.low;
        fake.directX = c.directX;
        SCOPED_TRACE(std::to_string(c.kind) + " requiring " + c.required);
        EXPECT_EQ(prerequisiteMissing(entry(c.kind, 0, c.required), fake.system()), c.missing);
    }
}

TEST(PrerequisiteCommandTest, ArgumentsAndCommandLines)
{
    EXPECT_EQ(prerequisiteArguments(kPrerequisiteHelpViewer, "(Default)"), "/r:n /q:a");
    EXPECT_EQ(prerequisiteArguments(kPrerequisiteDataAccess, "(DEFAULT)"), "/q:a /c:\"dasetup.exe /q /n\"");
    EXPECT_EQ(prerequisiteArguments(kPrerequisiteDotNet, "(default)"), "");
    EXPECT_EQ(prerequisiteArguments(kPrerequisiteHelpViewer, "/quiet"), "/quiet");
    EXPECT_EQ(prerequisiteArguments(kPrerequisiteHelpViewer, ""), "");
    EXPECT_EQ(setupCommandLine("C:\\a b\\s.exe", ""), "\"C:\\a b\\s.exe\"");
    EXPECT_EQ(setupCommandLine("C:\\s.exe", "/r:n /q:a"), "\"C:\\s.exe\" /r:n /q:a");
    EXPECT_EQ(downloaderCommandLine("L", "http://u", "P"),
              "\"<ResourceDir>\\3rd-party\\Downloader.exe\" /download /local \"L\" /url \"http://u\" /program \"P\"");
}

TEST_F(PrerequisitesTest, ASetupFromAPathRunsWithTheKindsArguments)
{
    add(entry(kPrerequisiteHelpViewer, 0, "1.3", "<ResourceDir>\\hh.exe"));
    add(entry(kPrerequisiteDataAccess, 0, "2.8", "C:\\mdac.exe"));
    gInstallerContext.optionWord = kOptionOpenReadme | kOptionStartProgram | kOptionThirdFinishItem | kOptionFailuresInRed;

    EXPECT_EQ(runPrerequisiteChecks(fake.system()), PrerequisiteOutcome::carryOn);
    EXPECT_EQ(fake.questions, (std::vector<std::string>{"Install HTML Help Viewer 1.3? [Yes/No]",
                                                        "Install Microsoft Data Access Components 2.8? [Yes/No]"}));
    EXPECT_EQ(fake.questionTypes, (std::vector<std::uint32_t>{kBoxYesNo, kBoxYesNo}));
    EXPECT_EQ(fake.commands, (std::vector<std::string>{"\"C:\\Temp\\inst7\\hh.exe\" /r:n /q:a",
                                                       "\"C:\\mdac.exe\" /q:a /c:\"dasetup.exe /q /n\""}));
    EXPECT_EQ(gInstallerContext.optionWord, kOptionRestartAtEnd | kOptionFailuresInRed);
}

TEST_F(PrerequisitesTest, ADownloadedSetupRunsAndIsDeleted)
{
    add(entry(kPrerequisiteDotNet, 1, "2.0", "http://example.test/dotnet.exe", "/q"));
    const std::string local = "C:\\Temp\\inst7\\3rd-party\\.NET Framework 2.0.exe";
    fake.downloads.insert(local);

    EXPECT_EQ(runPrerequisiteChecks(fake.system()), PrerequisiteOutcome::carryOn);
    EXPECT_EQ(fake.commands,
              (std::vector<std::string>{"\"C:\\Temp\\inst7\\3rd-party\\Downloader.exe\" /download /local \"" + local +
                                            "\" /url \"http://example.test/dotnet.exe\" /program \".NET Framework Product X\"",
                                        "\"" + local + "\" /q"}));
    EXPECT_EQ(fake.deleted, std::vector<std::string>{local});
}

struct AnswerCase {
    const char* name;
    std::int32_t mode;
    bool admin;
    bool downloaded;
    std::vector<int> answers;
    PrerequisiteOutcome outcome;
    // Programs run (the downloader counts) and whether the restart was asked for.
    std::size_t commands;
    bool restart;
};

TEST_F(PrerequisitesTest, EachAnswerSkipsRunsOrEnds)
{
    const AnswerCase cases[] = {
        {"administrator yes", 0, true, false, {kAnswerYes}, PrerequisiteOutcome::carryOn, 1, true},
        {"administrator no", 0, true, false, {kAnswerNo}, PrerequisiteOutcome::endInstaller, 0, false},
        {"user yes", 0, false, false, {kAnswerYes}, PrerequisiteOutcome::carryOn, 1, true},
        {"user no skips", 0, false, false, {kAnswerNo}, PrerequisiteOutcome::carryOn, 0, false},
        {"user cancel", 0, false, false, {kAnswerCancel}, PrerequisiteOutcome::endInstaller, 0, false},
        {"downloaded", 1, true, true, {kAnswerYes}, PrerequisiteOutcome::carryOn, 2, true},
        {"download failed, skip", 1, true, false, {kAnswerYes, kAnswerYes}, PrerequisiteOutcome::carryOn, 1, false},
        {"download failed, end", 1, true, false, {kAnswerYes, kAnswerNo}, PrerequisiteOutcome::endInstaller, 1, false},
        {"unknown mode runs nothing", 2, true, false, {kAnswerYes}, PrerequisiteOutcome::carryOn, 0, true},
    };
    for (const AnswerCase& c : cases) {
        SCOPED_TRACE(c.name);
        gPackageToc.prerequisites.clear();
        gInstallerContext.optionWord = 0;
        add(entry(kPrerequisiteDataAccess, c.mode, "2.7"));
        FakeSystem fake;
        fake.admin = c.admin;
        fake.answers = c.answers;
        if (c.downloaded)
            fake.downloads.insert("C:\\Temp\\inst7\\3rd-party\\Microsoft Data Access Components 2.7.exe");
        EXPECT_EQ(runPrerequisiteChecks(fake.system()), c.outcome);
        EXPECT_EQ(fake.questions.size(), c.answers.size());
        if (!c.admin) {
            EXPECT_EQ(fake.questions.front(), "Install Microsoft Data Access Components 2.7? [Yes/No/Cancel]");
        }
        EXPECT_EQ(fake.commands.size(), c.commands);
        EXPECT_EQ((gInstallerContext.optionWord & kOptionRestartAtEnd) != 0, c.restart);
    }
}

TEST_F(PrerequisitesTest, PresentComponentsAndFalseConditionsAskNothing)
{
    fake.dotNet = 2;
    add(entry(kPrerequisiteDotNet, 0, "2.0"));
    Prerequisite conditional = entry(kPrerequisiteJava, 0, "1.4");
    conditional.condition = std::make_unique<ConditionRecord>();
    conditional.condition->osFlags = kConditionAnyOs;
    conditional.condition->comparisons.push_back({ByteString("1"), kCompareEqual, ByteString("2")});
    add(std::move(conditional));
    add(entry(7, 0, "1.0"));

    EXPECT_EQ(runPrerequisiteChecks(fake.system()), PrerequisiteOutcome::carryOn);
    EXPECT_TRUE(fake.questions.empty());
    EXPECT_TRUE(fake.commands.empty());
}

TEST_F(PrerequisitesTest, APackageTextWithConversionsIsNoFormatForMoreArguments)
{
    gLanguageTexts[178] = ByteString("%s %s %s %s %d %s");
    add(entry(kPrerequisiteDotNet, 2, "1.0"));

    EXPECT_EQ(runPrerequisiteChecks(fake.system()), PrerequisiteOutcome::carryOn);
    EXPECT_EQ(fake.questions, std::vector<std::string>{".NET Framework 1.0 Yes No %s %d %s"});
}

} // namespace
