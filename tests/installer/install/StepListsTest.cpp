#include "installer/install/FinishActions.h"
#include "installer/install/StepLists.h"
#include "installer/state/UninstallLists.h"

#include "installer/install/StepTestSupport.h"

#include <gtest/gtest.h>

namespace {

using Calls = std::vector<std::string>;

void prepareNames()
{
    gMainInstaller.folders[kProgramFiles].assignCStr("C:\\Program Files");
    setVariableText("<Arg>", "arg value");
}

struct ActionCase {
    const char* name;
    std::int32_t type;
    const char* t1;
    const char* t2;
    const char* t3;
    const char* windowTitle;
    const char* call;
};

const ActionCase kActionCases[] = {
    {"open owned by the page", 0, "<ProgramFiles>\\a.txt", "<Arg>", "<ProgramFiles>", "",
     "shell open [C:\\Program Files\\a.txt] [arg value] [C:\\Program Files] owned"},
    {"open", 1, "b.txt", "", "", "", "shell open [b.txt] [] []"},
    {"open, second kind", 2, "b.txt", "x", "", "", "shell open [b.txt] [x] []"},
    {"explore", 3, "<ProgramFiles>", "", "", "", "shell explore [C:\\Program Files] [] []"},
    {"unknown kind opens", 42, "c.txt", "", "", "", "shell open [c.txt] [] []"},
    {"message with escapes", 4, "One<\\n>two<\\t>three<\\r>", "Caption <Arg>", "", "",
     "message [One\ntwo\tthree\r] [Caption arg value]"},
    {"program with arguments", 6, "<ProgramFiles>\\tool.exe", "-q <Arg>", "", "Please wait",
     "wait [\"C:\\Program Files\\tool.exe\" -q arg value] [C:\\Program Files] [Please wait]"},
    {"program without arguments", 6, "tool.exe", "", "", "", "wait [\"tool.exe\"] [(null)] [(null)]"},
    {"program with blanks behind its arguments", 6, "D:\\t.exe", "-a   ", "", "", "wait [\"D:\\t.exe\" -a] [D:] [(null)]"},
    {"program in a working folder", 6, "C:\\bin\\t.exe", "", "D:\\Work <Arg>", "",
     "wait [\"C:\\bin\\t.exe\"] [D:\\Work arg value] [(null)]"},
};

class StepActionKindTest : public ::testing::TestWithParam<ActionCase> {};

TEST_P(StepActionKindTest, ExpandsItsTextsAndCallsTheSystem)
{
    StepStage stage;
    prepareNames();
    const ActionCase& c = GetParam();
    stage.addAction(c.type, 3, c.t1, c.t2, c.t3).windowTitle.assignCStr(c.windowTitle);
    EXPECT_EQ(runStageActions(3), 1);
    EXPECT_EQ(stage.system.calls, Calls{c.call});
}

INSTANTIATE_TEST_SUITE_P(Kinds, StepActionKindTest, ::testing::ValuesIn(kActionCases),
                         [](const ::testing::TestParamInfo<ActionCase>& info) {
                             std::string name;
                             for (const char* c = info.param.name; *c; ++c)
                                 if (std::isalnum(static_cast<unsigned char>(*c)))
                                     name += *c;
                             return name;
                         });

TEST(StepActionTest, QuestionAndInputWriteTheVariableNamedByTheirThirdTextUnexpanded)
{
    StepStage stage;
    setVariableText("<Answer>", "old");
    stage.addAction(7, 2, "Really?", "Ask", "<Answer>");
    stage.system.yesAnswer = false;
    runStageActions(2);
    EXPECT_EQ(getVariableInt("<Answer>"), 2);
    stage.system.yesAnswer = true;
    runStageActions(2);
    EXPECT_EQ(getVariableInt("<Answer>"), 1);

    setVariableText("<Name>", "before");
    stage.addAction(8, 4, "Your name", "Ask", "<Name>");
    runStageActions(4);
    EXPECT_STREQ(getVariableText("<Name>"), "before") << "Cancel keeps the text";
    stage.system.inputAnswer = "after";
    runStageActions(4);
    EXPECT_STREQ(getVariableText("<Name>"), "after");
    EXPECT_EQ(stage.system.calls.back(), "input [Your name] [Ask] [before]");

    stage.addAction(8, 5, "New", "Ask", "<Unknown>");
    stage.system.inputAnswer = "made";
    runStageActions(5);
    EXPECT_EQ(stage.system.calls.back(), "input [New] [Ask] []");
    EXPECT_STREQ(getVariableText("<Unknown>"), "made") << "an unknown variable is created";
}

TEST(StepActionTest, SetVariableTakesTheNameAsWrittenAndTheValueExpanded)
{
    StepStage stage;
    prepareNames();
    setVariableText("<Target>", "<Arg>");
    stage.addAction(9, 6, "<Target>", "<Arg>!");
    runStageActions(6);
    EXPECT_STREQ(getVariableText("<Target>"), "arg value!");
    EXPECT_TRUE(stage.system.calls.empty());
}

TEST(StepActionTest, RunsAsOftenAsItsCountAllowsOnlyInItsStep)
{
    StepStage stage;
    stage.addAction(1, 2, "once").runsLeft = 1;
    stage.addAction(1, 2, "always").runsLeft = -1;
    stage.addAction(1, 2, "twice").runsLeft = 2;
    stage.addAction(1, 2, "never").runsLeft = 0;
    stage.addAction(1, 3, "other step");
    for (int i = 0; i < 3; ++i)
        runStageActions(2);
    EXPECT_EQ(stage.system.calls, (Calls{"shell open [once] [] []", "shell open [always] [] []",
                                         "shell open [twice] [] []", "shell open [always] [] []",
                                         "shell open [twice] [] []", "shell open [always] [] []"}));
}

TEST(StepActionTest, AbortRunsTheFinishListsFirstWhenAskedThenEndsTheInstaller)
{
    StepStage stage;
    stage.addAction(5, 3).flags = 1;
    stage.addAction(4, 13, "finish action", "c");
    stage.addFileOp(4, 13, "D:\\made");
    EXPECT_THROW(runStageActions(3), StepsEnded);
    EXPECT_EQ(stage.system.calls, (Calls{"message [finish action] [c]", "create [D:\\made]", "end"}));
    EXPECT_EQ(gPackageToc.stageActions[0].runsLeft, 0);
}

TEST(StepActionTest, AbortInTheFinishStepDoesNotRunItsListsAgain)
{
    StepStage stage;
    stage.addAction(4, 13, "finish action", "c");
    stage.addAction(5, 13).flags = 1;
    EXPECT_THROW(runStageActions(13), StepsEnded);
    EXPECT_EQ(stage.system.calls, (Calls{"message [finish action] [c]", "end"}));
}

TEST(StepActionTest, AbortWithoutItsFlagEndsAtOnce)
{
    StepStage stage;
    stage.addAction(5, 2);
    stage.addAction(4, 13, "finish action", "c");
    EXPECT_THROW(runStageActions(2), StepsEnded);
    EXPECT_EQ(stage.system.calls, Calls{"end"});
}

struct FileOpCase {
    const char* name;
    std::int32_t type;
    const char* source;
    const char* destination;
    bool destinationExists;
    bool succeeds;
    bool leavesFolder;
    std::int32_t count;
    Calls calls;
    std::vector<std::string> loggedFiles;
};

const FileOpCase kFileOpCases[] = {
    {"copy to a new file", 0, "<ProgramFiles>\\a.dat", "D:\\a.dat", false, true, false, 1,
     {"copy [C:\\Program Files\\a.dat] [D:\\a.dat]"}, {"D:\\a.dat"}},
    {"copy onto an existing file", 0, "a.dat", "D:\\a.dat", true, true, false, 0, {"copy [a.dat] [D:\\a.dat]"}, {}},
    {"copy into a new folder", 0, "a.dat", "D:\\new", false, true, true, 1, {"copy [a.dat] [D:\\new]"}, {}},
    {"copy that fails", 0, "a.dat", "D:\\a.dat", false, false, false, 0, {"copy [a.dat] [D:\\a.dat]"}, {}},
    {"delete", 1, "D:\\a.dat", "ignored", false, true, false, 0, {"delete [D:\\a.dat] [(null)]"}, {}},
    {"move", 2, "a.dat", "D:\\b.dat", false, true, false, 0, {"move [a.dat] [D:\\b.dat]"}, {}},
    {"rename", 3, "a.dat", "b.dat", false, true, false, 0, {"rename [a.dat] [b.dat]"}, {}},
    {"other kinds copy without a destination", 9, "a.dat", "D:\\c.dat", false, true, false, 0, {"copy [a.dat] [(null)]"}, {}},
    {"create folder", 4, "<ProgramFiles>\\New", "", false, false, false, 1, {"create [C:\\Program Files\\New]"}, {}},
    {"remove folder", 5, "D:\\Old", "", false, true, false, 0, {"remove [D:\\Old]"}, {}},
    {"copied font", 0, "f.ttf", "C:\\Fonts\\f.ttf", false, true, false, 1,
     {"copy [f.ttf] [C:\\Fonts\\f.ttf]", "font [C:\\Fonts\\f.ttf]"}, {"C:\\Fonts\\f.ttf"}},
    {"moved font", 2, "f.TtF", "C:\\Fonts\\f.TtF", false, true, false, 0,
     {"move [f.TtF] [C:\\Fonts\\f.TtF]", "font [C:\\Fonts\\f.TtF]"}, {}},
    {"renamed font", 3, "f.ttf", "g.ttf", false, true, false, 0, {"rename [f.ttf] [g.ttf]"}, {}},
    {"a name that is only the extension", 0, "x", ".ttf", true, true, false, 0, {"copy [x] [.ttf]"}, {}},
};

class StepFileOpTest : public ::testing::TestWithParam<FileOpCase> {};

TEST_P(StepFileOpTest, CountsWorkLogsNewFilesAndRunsOnce)
{
    StepStage stage;
    prepareNames();
    const FileOpCase& c = GetParam();
    stage.addFileOp(c.type, 7, c.source, c.destination);
    if (c.destinationExists)
        stage.system.existing[c.destination] = 0x20;
    stage.system.operationSucceeds = c.succeeds;
    stage.system.createsFolder = c.leavesFolder;
    EXPECT_EQ(runStageFileOps(7), c.count);
    EXPECT_EQ(stage.system.calls, c.calls);
    EXPECT_EQ(listEntries(gUninstallLog.files), c.loggedFiles);
    EXPECT_EQ(gPackageToc.stageFileOps[0].step, -1);
    EXPECT_EQ(runStageFileOps(7), 0);
    EXPECT_EQ(stage.system.calls.size(), c.calls.size()) << "an operation runs once";
}

INSTANTIATE_TEST_SUITE_P(Kinds, StepFileOpTest, ::testing::ValuesIn(kFileOpCases),
                         [](const ::testing::TestParamInfo<FileOpCase>& info) {
                             std::string name;
                             for (const char* c = info.param.name; *c; ++c)
                                 if (std::isalnum(static_cast<unsigned char>(*c)))
                                     name += *c;
                             return name;
                         });

TEST(StepFileOpTest, OnlyTheGivenStepRunsAndTheCountAddsUp)
{
    StepStage stage;
    stage.addFileOp(4, 2, "D:\\one");
    stage.addFileOp(4, 3, "D:\\other step");
    stage.addFileOp(0, 2, "a", "D:\\a");
    EXPECT_EQ(runStageFileOps(2), 2);
    EXPECT_EQ(stage.system.calls, (Calls{"create [D:\\one]", "copy [a] [D:\\a]"}));
}

struct StartCase {
    const char* command;
    const char* commandLine;
    const char* folder;
};

TEST(FinishActionTest, StartCommandQuotesTheProgramAndTakesItsFolder)
{
    const StartCase cases[] = {
        {"\"C:\\App\\run.exe\" -x", "\"C:\\App\\run.exe\" -x", "C:\\App"},
        {"C:\\App\\run.exe", "\"C:\\App\\run.exe\"", "C:\\App"},
        {"C:\\run.exe", "\"C:\\run.exe\"", "C:"},
        {"run.exe", "\"run.exe\"", nullptr},
        {"\\run.exe", "\"\\run.exe\"", nullptr},
        {"\"D:\\No end", "\"D:\\No end", "D:"},
        {"\"D:\\Tools\\No end", "\"D:\\Tools\\No end", "D:\\Tools"},
    };
    for (const StartCase& c : cases) {
        const StartCommand start = startCommandOf(c.command);
        EXPECT_EQ(start.commandLine, c.commandLine) << c.command;
        EXPECT_EQ(start.folder.has_value(), c.folder != nullptr) << c.command;
        if (c.folder && start.folder) {
            EXPECT_EQ(*start.folder, c.folder) << c.command;
        }
    }
}

TEST(FinishActionTest, OpensTheReadmeThenStartsTheProgramThenTheThirdItem)
{
    StepStage stage;
    prepareNames();
    gInstallerContext.readmeToOpen.assignCStr("<ProgramFiles>\\App\\readme.txt");
    gInstallerContext.programToStart.assignCStr("<ProgramFiles>\\App\\app.exe");
    gInstallerContext.thirdFinishItem.assignCStr("D:\\extra.exe");
    launchAfterFinish(true, true, true);
    EXPECT_EQ(stage.system.calls,
              (Calls{"shell open [C:\\Program Files\\App\\readme.txt] [(null)] [C:\\Program Files\\App]",
                     "start [\"C:\\Program Files\\App\\app.exe\"] [C:\\Program Files\\App]",
                     "start [\"D:\\extra.exe\"] [(null)]"}));
    stage.system.calls.clear();
    launchAfterFinish(false, false, true);
    EXPECT_EQ(stage.system.calls, Calls{"start [\"D:\\extra.exe\"] [(null)]"});
    gInstallerContext.readmeToOpen = ByteString();
    gInstallerContext.programToStart = ByteString();
    gInstallerContext.thirdFinishItem = ByteString();
}

TEST(FinishActionTest, RestartCleansUpAsksWindowsAndEndsWithTheRunsCode)
{
    for (const bool revert : {false, true}) {
        StepStage stage;
        gFlags.revert = revert;
        bool cleaned = false;
        setCleanupBeforeRestart([&] {
            cleaned = true;
            stage.system.calls.push_back("cleanup");
        });
        EXPECT_THROW(rebootNow(), StepsEnded);
        EXPECT_TRUE(cleaned);
        EXPECT_EQ(stage.system.calls, (Calls{"cleanup", "restart", revert ? "exit 0" : "exit 1"}));
        setCleanupBeforeRestart({});
        gFlags.revert = false;
    }
}

TEST(FinishActionTest, ASilentRunRestartsWhenItMustElseLaunchesWhatThePackageChose)
{
    struct Case {
        std::uint32_t options;
        Calls calls;
    };
    const std::string program = "start [\"C:\\app.exe\"] [C:]";
    const std::string readme = "shell open [C:\\readme.txt] [(null)] [C:]";
    const std::string third = "start [\"D:\\extra.exe\"] [(null)]";
    const Case cases[] = {
        {kOptionStartProgram | kOptionStartProgramPreselected, {program}},
        {kOptionStartProgram, {}}, // offered, not preselected
        {kOptionStartProgramPreselected, {}},
        {kOptionOpenReadme | kOptionOpenReadmePreselected, {readme}},
        {kOptionOpenReadme, {}},
        {kOptionThirdFinishItem, {third}},
        {kOptionOpenReadme | kOptionOpenReadmePreselected | kOptionStartProgram | kOptionStartProgramPreselected |
             kOptionThirdFinishItem,
         {readme, program, third}},
        // A restart goes before anything is launched, and the process ends there.
        {kOptionRestartAtEnd | kOptionStartProgram | kOptionStartProgramPreselected, {"cleanup", "restart", "exit 1"}},
    };
    for (const Case& c : cases) {
        StepStage stage;
        gInstallerContext.readmeToOpen.assignCStr("C:\\readme.txt");
        gInstallerContext.programToStart.assignCStr("C:\\app.exe");
        gInstallerContext.thirdFinishItem.assignCStr("D:\\extra.exe");
        gInstallerContext.optionWord = c.options;
        setCleanupBeforeRestart([&] { stage.system.calls.push_back("cleanup"); });
        if (c.options & kOptionRestartAtEnd)
            EXPECT_THROW(finishSilentRun(), StepsEnded);
        else
            finishSilentRun();
        EXPECT_EQ(stage.system.calls, c.calls) << std::hex << c.options;
        setCleanupBeforeRestart({});
        gInstallerContext.optionWord = 0;
        gInstallerContext.readmeToOpen = ByteString();
        gInstallerContext.programToStart = ByteString();
        gInstallerContext.thirdFinishItem = ByteString();
    }
}

} // namespace
