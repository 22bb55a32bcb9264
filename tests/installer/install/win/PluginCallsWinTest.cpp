#include "installer/install/PluginCalls.h"
#include "installer/state/PluginApiTable.h"
#include "installer/state/UninstallLists.h"
#include "installer/system/DirectoryCreation.h"

#include "installer/install/StepTestSupport.h"
#include "installer/system/win/BesideTestProgram.h"
#include "installer/text/TempFolder.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <vector>

namespace {

using Lines = std::vector<std::string>;

const char* const kScriptNames[] = {
    "AdvancedEntry", "EntryPoint0", "EntryPoint1", "EntryPoint1_5", "EntryPoint2", "EntryPoint3", "EntryPoint4",
    "EntryPoint5", "EntryPoint6", "EntryPoint7", "EntryPoint8", "EntryPoint9", "EntryPoint10", "EntryPoint11",
    "EntryPoint12", "EntryPoint13", "EntryPointCustom", "SystemInformation", "OnMessage", "FILL_EntryPoint6",
    "FILL_EntryPoint6_company", "FILL_EntryPoint7", "FILL_EntryPoint8", "FOLDER", "SET_OPTION", "LOG"};

void script(const std::string& name, const char* value)
{
    SetEnvironmentVariableA(("SCRIPTED_PLUGIN_" + name).c_str(), value);
}

// The scripted plug-in loaded from a copy; its calls, the page's destruction, the merges and the
// step lists (each a message action) all write to one log, in the order they happen.
class PluginCallsTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        gLog = folder_.file("calls.log");
        script("LOG", gLog.c_str());
        previousFolderLog_ = setCreatedFolderLog([](const char* path) { addListEntry(path, gUninstallLog.directories); });
        pluginHost().destroyCurrentPage = [] { appendLine("destroy page"); };
        pluginHost().mergeUninstallData = [] { appendLine("merge"); };
        stage_.system.echo = appendLine;
        mainWindow_ = CreateWindowExA(0, "STATIC", "main", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
        gMainInstaller.mainWindow = mainWindow_;
        for (std::int32_t step : {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 15, 20})
            stage_.addAction(4, step, ("lists of step " + std::to_string(step)).c_str(), "c");
    }
    void TearDown() override
    {
        gPluginLibrary.unload();
        for (const char* name : kScriptNames)
            script(name, nullptr);
        pluginHost() = PluginHost();
        setCreatedFolderLog(previousFolderLog_);
        gMainInstaller.mainWindow = nullptr;
        DestroyWindow(mainWindow_);
    }

    void load(const char* library = "scripted_plugin.dll")
    {
        const std::string copy = folder_.file(std::string("copy_") + library);
        std::filesystem::copy_file(besideTestProgram(library), copy);
        ASSERT_TRUE(gPluginLibrary.load(copy.c_str()));
    }

    static void appendLine(const std::string& line) { std::ofstream(gLog, std::ios::app) << line << "\n"; }

    // The log so far; reading it starts a new one.
    Lines log()
    {
        Lines lines;
        {
            std::ifstream in(gLog);
            for (std::string line; std::getline(in, line);)
                lines.push_back(line);
        }
        std::filesystem::remove(gLog);
        return lines;
    }

    static std::string gLog;
    TempFolder folder_;
    StepStage stage_;
    CreatedFolderLog previousFolderLog_ = nullptr;
    HWND mainWindow_ = nullptr;
};

std::string PluginCallsTest::gLog;

std::string lists(std::int32_t step)
{
    return "message [lists of step " + std::to_string(step) + "] [c]";
}

struct StepCase {
    const char* name;
    std::function<std::int32_t()> call;
    std::int32_t step;
    const char* exportName;
    const char* callLine;
};

TEST_F(PluginCallsTest, EveryStepExportGetsItsArgumentsThenTheStepListsRun)
{
    load();
    gPackageToc.languageSetLangId = 0x407;
    gPackageToc.installationType = 4;
    gPackageToc.installDir.assignCStr("C:\\Program Files\\Kv");
    gPackageToc.shortcutDir.assignCStr("Kv Group");
    gInstallerContext.userName.assignCStr("Ann");
    gInstallerContext.organisation.assignCStr("Firm");
    const StepCase cases[] = {
        {"1", callEntryPoint1_5, 1, "EntryPoint1_5", "EntryPoint1_5 window language=1031"},
        {"2", callEntryPoint2, 2, "EntryPoint2", "EntryPoint2 window"},
        {"3", callEntryPoint3, 3, "EntryPoint3", "EntryPoint3 window"},
        {"4", callEntryPoint4, 4, "EntryPoint4", "EntryPoint4 window"},
        {"5", callEntryPoint5, 5, "EntryPoint5", "EntryPoint5 window results=set"},
        {"6", callEntryPoint6, 6, "EntryPoint6", "EntryPoint6 window name=\"Ann\" 260 company=\"Firm\" 260"},
        {"7", callEntryPoint7, 7, "EntryPoint7", "EntryPoint7 window folder=\"C:\\Program Files\\Kv\" 260"},
        {"8", callEntryPoint8, 8, "EntryPoint8", "EntryPoint8 window group=\"Kv Group\" 260"},
        {"9", callEntryPoint9, 9, "EntryPoint9", "EntryPoint9 window type=4"},
        {"10", callEntryPoint10, 10, "EntryPoint10", "EntryPoint10 window"},
        {"11", callEntryPoint11, 11, "EntryPoint11", "EntryPoint11 window"},
        {"custom", [] { return callEntryPointCustom(20); }, 20, "EntryPointCustom", "EntryPointCustom window page=20"},
        {"by number", [] { return callPluginStep(15); }, 15, "EntryPointCustom", "EntryPointCustom window page=15"},
    };
    for (const StepCase& c : cases) {
        EXPECT_EQ(c.call(), 0) << c.name;
        EXPECT_EQ(log(), (Lines{"destroy page", c.callLine, lists(c.step)})) << c.name;
    }
    gPackageToc.installDir = ByteString();
    gPackageToc.shortcutDir = ByteString();
    gInstallerContext.userName = ByteString();
    gInstallerContext.organisation = ByteString();
}

TEST_F(PluginCallsTest, AnswersMapToGoOnStayOrEndAndAFaultCountsAsGoOn)
{
    load();
    struct Case {
        const char* answer;
        std::int32_t pageIndex;
        std::int32_t result;
        bool listsRun;
    };
    const Case cases[] = {
        {"1", 2, 0, true}, {"2", 2, 1, false}, {"2", -1, 0, true}, {"fault", 2, 0, true}, {"fault", -1, 0, true},
    };
    for (const Case& c : cases) {
        const std::pair<const char*, std::int32_t> steps[] = {{"EntryPoint2", 2}, {"EntryPoint7", 7}, {"EntryPointCustom", 20}};
        for (const auto& [exportName, stepNumber] : steps) {
            script(exportName, c.answer);
            gMainInstaller.currentPageIndex = c.pageIndex;
            const std::int32_t result = callPluginStep(stepNumber);
            EXPECT_EQ(result, c.result) << exportName << " answering " << c.answer << " on page " << c.pageIndex;
            const Lines lines = log();
            ASSERT_GE(lines.size(), 2u);
            EXPECT_EQ(lines[0], "destroy page");
            EXPECT_EQ(lines.size(), c.listsRun ? 3u : 2u) << exportName << " answering " << c.answer;
        }
    }
}

TEST_F(PluginCallsTest, AnyOtherAnswerEndsTheInstallerWithoutTheStepLists)
{
    load();
    for (const char* answer : {"3", "0", "-1"}) {
        script("EntryPoint4", answer);
        EXPECT_THROW(callEntryPoint4(), StepsEnded) << answer;
        EXPECT_EQ(log(), (Lines{"destroy page", "EntryPoint4 window"})) << answer;
    }
}

TEST_F(PluginCallsTest, WithoutTheExportAStepRunsItsListsAndAnswersMinusOne)
{
    load("plugin_standin.dll");
    EXPECT_EQ(callEntryPoint2(), -1);
    EXPECT_EQ(callPluginStep(9), -1);
    EXPECT_EQ(callEntryPoint1(), -1);
    EXPECT_EQ(log(), (Lines{lists(2), lists(9)}));
    gPluginLibrary.unload();
    EXPECT_EQ(callEntryPoint3(), -1) << "no plug-in at all";
    EXPECT_EQ(callEntryPointCustom(14), -1) << "no custom step below 15";
    EXPECT_EQ(log(), Lines{lists(3)});
}

TEST_F(PluginCallsTest, ClosingStepsMergeAfterTheExportAndAfterFileOperationsThatDidWork)
{
    load();
    EXPECT_EQ(callEntryPoint12(), -1);
    EXPECT_EQ(log(), (Lines{"destroy page", "EntryPoint12 window", "merge", lists(12)}));

    stage_.addFileOp(4, 13, "D:\\made");
    script("EntryPoint13", "fault");
    EXPECT_EQ(callEntryPoint13(), -1);
    EXPECT_EQ(log(), (Lines{"destroy page", "EntryPoint13 window", "merge", lists(13), "create [D:\\made]", "merge"}));

    script("EntryPoint12", "2");
    EXPECT_THROW(callEntryPoint12(), StepsEnded);
    EXPECT_EQ(log(), (Lines{"destroy page", "EntryPoint12 window", "merge"})) << "merged before the end";
}

TEST_F(PluginCallsTest, ClosingStepWithoutItsExportStillRunsItsListsAndMergesAfterWork)
{
    load("plugin_standin.dll");
    EXPECT_EQ(callEntryPoint12(), -1);
    EXPECT_EQ(log(), Lines{lists(12)});
    stage_.addFileOp(4, 12, "D:\\made");
    EXPECT_EQ(callEntryPoint12(), -1);
    EXPECT_EQ(log(), (Lines{lists(12), "create [D:\\made]", "merge"}));
}

TEST_F(PluginCallsTest, StartUpCallsTheTableThenTheScreenContextAndStepZeroAlwaysRuns)
{
    load();
    gPackageToc.pluginSettings.assignCStr("key=value");
    gInstallerContext.optionWord = 0x11;
    gPluginApiTable.silent = 1;
    gInstallerContext.screenDc = GetDC(nullptr);
    setVariableText("<PluginProbe>", "probe text");
    setVariableInt("<PluginNumber>", 17);
    const std::string made = folder_.file("made\\by\\plugin");
    script("FOLDER", made.c_str());
    script("SET_OPTION", "1");

    callAdvancedEntry();
    EXPECT_EQ(callEntryPoint0(), 0);
    EXPECT_EQ(log(), (Lines{"AdvancedEntry settings=\"key=value\" silent=1 options=17",
                            "service getVariableText <PluginProbe> \"probe text\"",
                            "service getVariableInt <PluginNumber> 17", "service setVariableText 1",
                            "service setVariableInt 1", "service logRegistryKey 1",
                            "service logRegistryKey performance data -1", "service logRegistryValue 1",
                            "service logFile empty -1", "service createDirectory 1", "EntryPoint0 window dc=set",
                            lists(0)}));
    EXPECT_STREQ(getVariableText("<FromPlugin>"), "plug-in text");
    EXPECT_EQ(getVariableInt("<PluginCount>"), 42);
    EXPECT_EQ(gInstallerContext.optionWord, 0x19u) << "the plug-in may change the option word";
    EXPECT_EQ(listEntries(gUninstallLog.keys), Lines{"-2147483646\\Software\\Plug"});
    EXPECT_EQ(listEntries(gUninstallLog.values), Lines{"-2147483646\\Software\\Plug\\\\Name"});
    EXPECT_TRUE(std::filesystem::is_directory(made));
    EXPECT_EQ(listEntries(gUninstallLog.directories).size(), 3u);

    ReleaseDC(nullptr, static_cast<HDC>(gInstallerContext.screenDc));
    gInstallerContext.screenDc = nullptr;
    gPackageToc.pluginSettings = ByteString();
    gPluginApiTable.silent = 0;
}

TEST_F(PluginCallsTest, StartUpExportsGoOnWithOneOrAFaultAndEndTheInstallerOtherwise)
{
    load();
    script("AdvancedEntry", "fault");
    callAdvancedEntry();
    script("EntryPoint0", "fault");
    EXPECT_EQ(callEntryPoint0(), 0);
    script("EntryPoint1", "fault");
    EXPECT_EQ(callEntryPoint1(), -1);
    script("EntryPoint1", "1");
    EXPECT_EQ(callEntryPoint1(), -1);
    const Lines lines = log();
    EXPECT_EQ(lines.back(), "EntryPoint1 window") << "step 1 runs no lists";
    EXPECT_EQ(std::count(lines.begin(), lines.end(), lists(0)), 1);

    script("EntryPoint0", "2");
    EXPECT_THROW(callEntryPoint0(), StepsEnded);
    EXPECT_EQ(log(), Lines{"EntryPoint0 window dc=null"});
    script("EntryPoint1", "2");
    EXPECT_THROW(callEntryPoint1(), StepsEnded);
    EXPECT_EQ(log(), (Lines{"destroy page", "EntryPoint1 window"}));
}

TEST_F(PluginCallsTest, BuffersComeBackCutAtTheirSize)
{
    load();
    gPackageToc.installDir.assignCStr("C:\\Old");
    script("FILL_EntryPoint7", "D:\\Chosen\\");
    callEntryPoint7();
    EXPECT_STREQ(gPackageToc.installDir.cStr(), "D:\\Chosen\\");

    script("FILL_EntryPoint8", "long");
    callEntryPoint8();
    EXPECT_EQ(std::string(gPackageToc.shortcutDir.cStr()), std::string(259, 'x'));

    script("FILL_EntryPoint6", "New Name");
    script("FILL_EntryPoint6_company", "long");
    callEntryPoint6();
    EXPECT_STREQ(gInstallerContext.userName.cStr(), "New Name");
    EXPECT_EQ(std::string(gInstallerContext.organisation.cStr()), std::string(259, 'x'));

    gPackageToc.installDir.assign(ByteString(std::string(400, 'y').c_str()));
    script("FILL_EntryPoint7", nullptr);
    callEntryPoint7();
    EXPECT_EQ(std::string(gPackageToc.installDir.cStr()), std::string(259, 'y')) << "a longer value is cut going in";
    log();
    gPackageToc.installDir = ByteString();
    gPackageToc.shortcutDir = ByteString();
    gInstallerContext.userName = ByteString();
    gInstallerContext.organisation = ByteString();
}

TEST_F(PluginCallsTest, OnMessageAnswersOrGivesZero)
{
    load();
    script("OnMessage", "5");
    EXPECT_EQ(callOnMessage(mainWindow_, WM_COMMAND, 3, 4, 77), 5);
    script("OnMessage", "fault");
    EXPECT_EQ(callOnMessage(mainWindow_, WM_PAINT, 0, 0, 0), 0);
    EXPECT_EQ(log(), (Lines{"OnMessage window message=273 wParam=3 lParam=4 page=77",
                            "OnMessage window message=15 wParam=0 lParam=0 page=0"}));
    gPluginLibrary.unload();
    EXPECT_EQ(callOnMessage(mainWindow_, WM_COMMAND, 3, 4, 77), 0);
}

TEST_F(PluginCallsTest, SystemInformationAddsItsLinesAndCountsAndSurvivesAFault)
{
    load();
    HWND list = CreateWindowExA(0, "LISTBOX", "", WS_POPUP, 0, 0, 50, 50, nullptr, nullptr, nullptr, nullptr);
    std::int32_t failures = 1;
    std::int32_t unknowns = 0;
    callSystemInformation(list, &failures, &unknowns);
    EXPECT_EQ(failures, 3);
    EXPECT_EQ(unknowns, 3);
    EXPECT_EQ(SendMessageA(list, LB_GETCOUNT, 0, 0), 1);
    script("SystemInformation", "fault");
    callSystemInformation(list, &failures, &unknowns);
    EXPECT_EQ(failures, 5) << "counts added before the fault stay";
    DestroyWindow(list);
    log();
}

TEST_F(PluginCallsTest, ASilentRunCallsStepsOneToTenThenElevenToThirteenInOrder)
{
    load();
    EXPECT_TRUE(runPluginStepsBeforeRun());
    EXPECT_TRUE(runPluginStepsAfterRun());
    Lines exports;
    for (const std::string& line : log())
        if (line.rfind("EntryPoint", 0) == 0)
            exports.push_back(line.substr(0, line.find(' ')));
    EXPECT_EQ(exports, (Lines{"EntryPoint1", "EntryPoint1_5", "EntryPoint2", "EntryPoint3", "EntryPoint4",
                              "EntryPoint5", "EntryPoint6", "EntryPoint7", "EntryPoint8", "EntryPoint9",
                              "EntryPoint10", "EntryPoint11", "EntryPoint12", "EntryPoint13"}));
}

} // namespace
