#include "installer/install/PluginAnswers.h"
#include "installer/install/PluginServices.h"
#include "installer/state/UninstallLists.h"

#include "installer/install/StepTestSupport.h"

#include <gtest/gtest.h>

namespace {

TEST(PluginAnswerTest, StepAnswersMapToStayGoOnOrEnd)
{
    struct Case {
        PluginAnswer answer;
        bool pageCurrent;
        std::optional<std::int32_t> result;
    };
    const Case cases[] = {
        {{1, false}, true, 0},           {{1, false}, false, 0},          {{2, false}, true, 1},
        {{2, false}, false, 0},          {{0, true}, true, 0},            {{7, true}, false, 0},
        {{3, false}, true, std::nullopt}, {{0, false}, true, std::nullopt}, {{-1, false}, false, std::nullopt},
    };
    for (const Case& c : cases)
        EXPECT_EQ(stepResult(c.answer, c.pageCurrent), c.result)
            << c.answer.value << (c.answer.raised ? " raised" : "") << (c.pageCurrent ? " on a page" : "");
}

TEST(PluginAnswerTest, StartAndClosingExportsGoOnOnlyWithOneOrAFault)
{
    EXPECT_TRUE(answerGoesOn({1, false}));
    EXPECT_TRUE(answerGoesOn({0, true}));
    EXPECT_FALSE(answerGoesOn({2, false}));
    EXPECT_FALSE(answerGoesOn({0, false}));
}

// The roots as a 64-bit plug-in passes them: sign-extended.
std::uintptr_t root(std::uint32_t value)
{
    return static_cast<std::uintptr_t>(static_cast<std::intptr_t>(static_cast<std::int32_t>(value)));
}

TEST(PluginServiceTest, RegistryKeysAreLoggedWithTheirRootAsSignedNumber)
{
    StepStage stage;
    EXPECT_EQ(pluginLogRegistryKey(root(0x80000000), "Software\\Classes\\.kv"), 1);
    EXPECT_EQ(pluginLogRegistryKey(root(0x80000003), "S-1\\Key"), 1);
    EXPECT_EQ(pluginLogRegistryKey(root(0x80000004), "Perf"), -1) << "the root after HKEY_USERS";
    EXPECT_EQ(pluginLogRegistryKey(root(0x7FFFFFFF), "Below"), -1);
    EXPECT_EQ(pluginLogRegistryKey(root(0x80000002), nullptr), -1);
    EXPECT_EQ(pluginLogRegistryKey(root(0x80000002), ""), -1);
    EXPECT_EQ(listEntries(gUninstallLog.keys),
              (std::vector<std::string>{"-2147483648\\Software\\Classes\\.kv", "-2147483645\\S-1\\Key"}));
}

TEST(PluginServiceTest, RegistryValuesGiveOneLineWithOrWithoutTheKeysTrailingBackslash)
{
    StepStage stage;
    EXPECT_EQ(pluginLogRegistryValue(root(0x80000002), "Software\\Kv", "Name"), 1);
    EXPECT_EQ(pluginLogRegistryValue(root(0x80000002), "Software\\Kv\\", "Name"), 1);
    EXPECT_EQ(pluginLogRegistryValue(root(0x80000001), "Software\\Kv", ""), 1) << "the default value";
    EXPECT_EQ(pluginLogRegistryValue(root(0x80000002), "Software\\Kv", nullptr), -1);
    EXPECT_EQ(pluginLogRegistryValue(root(0x80000004), "Software\\Kv", "Name"), -1);
    EXPECT_EQ(pluginLogRegistryValue(root(0x80000002), "", "Name"), -1);
    EXPECT_EQ(listEntries(gUninstallLog.values),
              (std::vector<std::string>{"-2147483646\\Software\\Kv\\\\Name", "-2147483646\\Software\\Kv\\\\Name",
                                        "-2147483647\\Software\\Kv\\\\"}));
}

TEST(PluginServiceTest, FilesAreLoggedAndEmptyPathsRefused)
{
    StepStage stage;
    EXPECT_EQ(pluginLogFile("C:\\App\\plug.dat"), 1);
    EXPECT_EQ(pluginLogFile(""), -1);
    EXPECT_EQ(pluginLogFile(nullptr), -1);
    EXPECT_EQ(pluginCreateDirectory(""), -1);
    EXPECT_EQ(pluginBackupFile(nullptr), -1);
    EXPECT_EQ(pluginAddSharedDll(""), -1);
    EXPECT_EQ(listEntries(gUninstallLog.files), std::vector<std::string>{"C:\\App\\plug.dat"});
}

} // namespace
