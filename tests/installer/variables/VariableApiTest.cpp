#include "installer/variables/VariableApi.h"

#include "installer/variables/FakeVariableSources.h"
#include "installer/variables/VariableTestSupport.h"

#include <gtest/gtest.h>

#include <string>

namespace {

class VariableApiTest : public ::testing::Test {
protected:
    VariableApiTest()
    {
        gMainInstaller.folders[kProgramsDir].assignCStr("C:\\Menu\\Programs");
        gMainInstaller.folders[kProgramsDirNt].assignCStr("C:\\All\\Programs");
        gMainInstaller.folders[kProgramsDirShort].assignCStr("C:\\MENU~1\\PROGRA~1");
        gMainInstaller.folders[kMyDocuments].assignCStr("C:\\Docs");
        gPackageToc.shortcutDir.assignCStr("Group");
        gPackageToc.installDir.assignCStr("C:\\App\\");
    }

    CleanVariableState state_;
    std::shared_ptr<FakeSystem> system_ = std::make_shared<FakeSystem>();
    ScopedVariableSources sources_{fakeVariableSources(system_)};
};

std::string text(const char* value)
{
    return value ? value : "(null)";
}

TEST_F(VariableApiTest, BuiltinNamesAreReachedOnlyWhenNoEntryHasTheName)
{
    EXPECT_EQ(text(getVariableText("<Programs>")), "C:\\Menu\\Programs");
    EXPECT_EQ(text(getVariableText("<ProgramsNt>")), "C:\\All\\Programs");
    // The folder's own name, its short form and the documents folder are not reachable here.
    EXPECT_EQ(getVariableText("<ProgramsDir>"), nullptr);
    EXPECT_EQ(getVariableText("<ShortProgramsDir>"), nullptr);
    EXPECT_EQ(getVariableText("<MyDocuments>"), nullptr);
    // The program group's name, not its folder; the installation folder as stored.
    EXPECT_EQ(text(getVariableText("<ShortcutDir>")), "Group");
    EXPECT_EQ(text(getVariableText("<InstallDir>")), "C:\\App\\");

    declareVariable("<ProgramsDir>", kVariableText, kVariableKnown).valueText.assignCStr("declared");
    declareVariable("<Programs>", kVariableText, kVariableKnown).valueText.assignCStr("mine");
    EXPECT_EQ(text(getVariableText("<ProgramsDir>")), "declared");
    EXPECT_EQ(text(getVariableText("<Programs>")), "mine");
}

TEST_F(VariableApiTest, UnknownNames)
{
    EXPECT_EQ(getVariableText("<Nothing>"), nullptr);
    EXPECT_EQ(getVariableText(nullptr), nullptr);
    EXPECT_EQ(getVariableInt("<Nothing>"), -1);
    EXPECT_EQ(getVariableInt("<InstallDir>"), -1); // built-in names are texts only
    EXPECT_EQ(getVariableInt(nullptr), -1);
    EXPECT_EQ(setVariableText(nullptr, "x"), 1);
    EXPECT_EQ(setVariableInt(nullptr, 1), 1);
    EXPECT_TRUE(gPackageToc.variables.empty());
}

TEST_F(VariableApiTest, SetTextAssignsAnEntryABuiltinNameOrANewVariable)
{
    InstallerVariable& entry = declareVariable("<E>", kVariableInteger, kVariableFromIni, "", "f.ini", "S", "K");
    EXPECT_EQ(setVariableText("<E>", "12 monkeys"), 1);
    EXPECT_EQ(entry.state, kVariableKnown);
    EXPECT_EQ(entry.valueInt, 12);
    EXPECT_EQ(getVariableInt("<E>"), 12);

    setVariableText("<Programs>", "C:\\Elsewhere");
    EXPECT_STREQ(gMainInstaller.folders[kProgramsDir].cStr(), "C:\\Elsewhere");
    EXPECT_STREQ(gMainInstaller.folders[kProgramsDirShort].cStr(), "C:\\MENU~1\\PROGRA~1"); // short form unchanged
    setVariableText("<InstallDir>", "D:\\Target\\");
    EXPECT_STREQ(gPackageToc.installDir.cStr(), "D:\\Target\\");
    setVariableText("<UninstallerName>", "<InstallDir>\\remove.exe");
    EXPECT_STREQ(gPackageToc.uninstallerNameTemplate.cStr(), "<InstallDir>\\remove.exe");
    EXPECT_EQ(text(getVariableText("<UninstallerName>")), "D:\\Target\\remove.exe");
    EXPECT_EQ(gPackageToc.variables.size(), 1u);

    setVariableText("<New>", "-4");
    ASSERT_EQ(gPackageToc.variables.size(), 2u);
    const InstallerVariable& added = *gPackageToc.variables.back();
    EXPECT_EQ(added.kind, kVariableText);
    EXPECT_EQ(added.state, kVariableKnown);
    EXPECT_STREQ(ByteString(added.defaultText).cStr(), "-4");
    EXPECT_EQ(added.valueInt, -4);
    // The resource folder can only be read: setting it declares a variable of that name.
    setVariableText("<ResourceDir>", "R");
    EXPECT_EQ(gPackageToc.variables.size(), 3u);
}

TEST_F(VariableApiTest, SettingATextToItsOwnValueKeepsIt)
{
    setVariableText("<Own>", "a long enough value");
    setVariableText("<Own>", getVariableText("<Own>"));
    EXPECT_EQ(text(getVariableText("<Own>")), "a long enough value");
    setVariableText("<InstallDir>", getVariableText("<InstallDir>"));
    EXPECT_STREQ(gPackageToc.installDir.cStr(), "C:\\App\\");
}

TEST_F(VariableApiTest, SetIntKeepsAnUnreadSourceWhichThenReplacesTheValue)
{
    system_->registryValues["-2147483646|Software\\P|Count"] = std::string("\x07\x00\x00\x00", 4);
    declareVariable("<Count>", kVariableInteger, kVariableFromRegistry, "", "-2147483646", "Software\\P", "Count");
    setVariableInt("<Count>", 99);
    EXPECT_EQ(getVariableInt("<Count>"), 7);
    setVariableInt("<Count>", 99);
    EXPECT_EQ(getVariableInt("<Count>"), 99);
    EXPECT_EQ(text(getVariableText("<Count>")), "99");

    setVariableInt("<Fresh>", -12);
    const InstallerVariable& added = *gPackageToc.variables.back();
    EXPECT_EQ(added.kind, kVariableInteger);
    EXPECT_TRUE(added.defaultText.empty());
    EXPECT_EQ(text(getVariableText("<Fresh>")), "-12");
    // Built-in names are not recognised: a variable of that name is made.
    setVariableInt("<InstallDir>", 5);
    EXPECT_STREQ(gPackageToc.installDir.cStr(), "C:\\App\\");
    EXPECT_EQ(getVariableInt("<InstallDir>"), 5);
}

TEST_F(VariableApiTest, SpecialNamesChangeTheInstallationTypeAndTheOptions)
{
    struct Case {
        const char* name;
        const char* value;
        std::int32_t installationType;
        std::uint32_t optionWord;
    };
    const Case cases[] = {
        {"<IT_Type>", "1", 1, 0},
        {"<IT_Type>", "4", 4, 0},
        {"<IT_Type>", "3", 2, 0}, // not a type: nothing changes
        {"<IT_Type>", "0", 2, 0},
        {"<UseAllUsersStartMenu>", "1", 2, 1u << 23},
        {"<FinishedRestartComputer>", "7", 2, 1u << 1},
        {"<FinishedOpenReadme>", "1", 2, 1u << 2},
        {"<FinishedLaunchProgram>", "-1", 2, 1u << 3},
        {"<finishedlaunchprogram>", "1", 2, 0}, // names match byte for byte
    };
    for (const Case& c : cases) {
        for (const bool asInt : {false, true}) {
            CleanVariableState clean;
            gPackageToc.installationType = 2;
            if (asInt)
                setVariableInt(c.name, std::stoi(c.value));
            else
                setVariableText(c.name, c.value);
            EXPECT_EQ(gPackageToc.installationType, c.installationType) << c.name << c.value;
            EXPECT_EQ(gInstallerContext.optionWord, c.optionWord) << c.name << c.value;
        }
    }
    gInstallerContext.optionWord = 0xFFFFFFFFu;
    setVariableInt("<FinishedRestartComputer>", 0);
    setVariableText("<UseAllUsersStartMenu>", "0");
    EXPECT_EQ(gInstallerContext.optionWord, ~((1u << 1) | (1u << 23)));
}

} // namespace
