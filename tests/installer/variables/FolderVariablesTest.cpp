#include "installer/variables/FolderVariables.h"
#include "installer/variables/VariableApi.h"

#include "installer/text/TempFolder.h"
#include "installer/variables/VariableTestSupport.h"

#include <gtest/gtest.h>

namespace {

TEST(FolderVariablesTest, AFolderIsStoredWithoutOneTrailingBackslash)
{
    CleanVariableState state;
    TempFolder folder;
    ByteString value;
    ByteString shortValue("stale");
    setFolderVariable((folder.path().string() + "\\").c_str(), value, &shortValue);
    EXPECT_EQ(std::string(value.cStr()), folder.path().string());
    EXPECT_FALSE(shortValue.empty());
    setFolderVariable("C:\\Missing\\Folder\\\\", value, &shortValue);
    EXPECT_STREQ(value.cStr(), "C:\\Missing\\Folder\\");
    EXPECT_TRUE(shortValue.empty()) << "a folder that does not exist has no short form";
    setFolderVariable(nullptr, value);
    EXPECT_TRUE(value.empty());
}

TEST(FolderVariablesTest, StartUpVariablesAreKnownIntegers)
{
    CleanVariableState state;
    appendStartupVariables(9500 * 1440 + 1439, true);
    EXPECT_EQ(getVariableInt("<DS2000>"), 9500);
    EXPECT_STREQ(getVariableText("<DS2000>"), "9500");
    EXPECT_EQ(getVariableInt("<IsAdmin>"), 1);
    for (const auto& variable : gPackageToc.variables) {
        EXPECT_EQ(variable->kind, kVariableInteger);
        EXPECT_EQ(variable->state, kVariableKnown);
        EXPECT_EQ(variable->flags, 0u);
    }
}

TEST(FolderVariablesTest, PresetGivesKnownEntriesTheirDefault)
{
    CleanVariableState state;
    gMainInstaller.folders[kTempDir].assignCStr("C:\\Temp");
    InstallerVariable& plain = declareVariable("<Plain>", kVariableText, kVariableKnown, "12 in <TempDir>");
    InstallerVariable& set = declareVariable("<Set>", kVariableText, kVariableKnown, "default");
    set.valueText.assignCStr("already");
    InstallerVariable& ini = declareVariable("<Ini>", kVariableText, kVariableFromIni, "d", "<TempDir>\\a.ini", "S", "K");
    presetVariableValues();
    EXPECT_STREQ(plain.valueText.cStr(), "12 in C:\\Temp");
    EXPECT_EQ(plain.valueInt, 12);
    EXPECT_STREQ(set.valueText.cStr(), "already");
    EXPECT_STREQ(ini.textA.cStr(), "C:\\Temp\\a.ini");
    EXPECT_TRUE(ini.valueText.empty());
}

} // namespace
