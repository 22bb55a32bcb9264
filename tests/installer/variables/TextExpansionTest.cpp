#include "installer/variables/TextExpansion.h"
#include "installer/variables/ProgramGroupFolder.h"
#include "installer/variables/UninstallerPath.h"

#include "installer/text/TempFolder.h"
#include "installer/variables/FakeVariableSources.h"
#include "installer/variables/VariableTestSupport.h"

#include <gtest/gtest.h>

namespace {

class TextExpansionTest : public ::testing::Test {
protected:
    TextExpansionTest()
    {
        gMainInstaller.folders[kProgramFiles].assignCStr("C:\\Program Files");
        gMainInstaller.folders[kProgramFilesShort].assignCStr("C:\\PROGRA~1");
        gMainInstaller.folders[kWindowsDir].assignCStr("C:\\Windows");
        gMainInstaller.folders[kMyDocuments].assignCStr("C:\\Docs");
        gMainInstaller.dotNetDir.assignCStr("C:\\Windows\\NET");
        gPackageToc.installDir.assignCStr("C:\\Program Files\\Product\\");
        gPackageToc.shortcutDir.assignCStr("Product");
        gInstallerContext.userName.assignCStr("Ann");
        gInstallerContext.organisation.assignCStr("Firm");
        gPackageToc.resourceDirectory.assignCStr("C:\\Temp\\inst12");
    }

    CleanVariableState state_;
    std::shared_ptr<FakeSystem> system_ = std::make_shared<FakeSystem>();
    ScopedVariableSources sources_{fakeVariableSources(system_)};
};

TEST_F(TextExpansionTest, TextsWithoutAnOpeningBracketAreLeftAlone)
{
    declareVariable("InstallDir", kVariableText, kVariableKnown);
    gPackageToc.variables.back()->valueText.assignCStr("replaced");
    for (auto pass : {&expandFolderVariables, &expandBuiltinVariables}) {
        EXPECT_EQ(expanded(pass, "InstallDir ProgramFiles>"), "InstallDir ProgramFiles>");
    }
    ByteString text("InstallDir");
    expandVariables(text, kAllVariables);
    EXPECT_STREQ(text.cStr(), "InstallDir");
}

TEST_F(TextExpansionTest, NamesMatchByteForByte)
{
    EXPECT_EQ(expanded(&expandBuiltinVariables, "<installdir>|<InstallDir>"), "<installdir>|C:\\Program Files\\Product");
    EXPECT_EQ(expanded(&expandFolderVariables, "<programfiles>|<ProgramFiles>"), "<programfiles>|C:\\Program Files");
}

TEST_F(TextExpansionTest, FolderPassReplacesEveryOccurrenceAndKeepsTheSetupDirNameUntilItIsKnown)
{
    EXPECT_EQ(expanded(&expandFolderVariables, "<ShortProgramFiles>\\a;<ProgramFiles>\\b;<ProgramFiles>"),
              "C:\\PROGRA~1\\a;C:\\Program Files\\b;C:\\Program Files");
    EXPECT_EQ(expanded(&expandFolderVariables, "<.NETDir>|<MyDocuments>|<SetupDir>"), "C:\\Windows\\NET|C:\\Docs|<SetupDir>");
    gMainInstaller.folders[kSetupDir].assignCStr("D:\\Setup");
    EXPECT_EQ(expanded(&expandFolderVariables, "<SetupDir>\\x"), "D:\\Setup\\x");
}

TEST_F(TextExpansionTest, BuiltinPassGivesTheFoldersWithoutTrailingBackslash)
{
    EXPECT_EQ(expanded(&expandBuiltinVariables, "<InstallDir>|<UserName>|<UserCompany>|<ResourceDir>"),
              "C:\\Program Files\\Product|Ann|Firm|C:\\Temp\\inst12");
    // The program group lies in the user's Programs folder unless the all-users menu is chosen
    // on an NT-family system.
    const std::string user = ByteString(programsMenuFolder(false)).cStr();
    EXPECT_EQ(expanded(&expandBuiltinVariables, "<ShortcutDir>"), user + "\\Product");
    gInstallerContext.optionWord = kOptionAllUsersStartMenu;
    gInstallerContext.unicode = 0;
    EXPECT_EQ(expanded(&expandBuiltinVariables, "<ShortcutDir>"), user + "\\Product");
    gInstallerContext.unicode = 1;
    const std::string allUsers = ByteString(programsMenuFolder(true)).cStr();
    EXPECT_EQ(expanded(&expandBuiltinVariables, "<ShortcutDir>"), allUsers + "\\Product");
    // A program group that does not exist yet is its own short form.
    EXPECT_EQ(expanded(&expandBuiltinVariables, "<ShortShortcutDir>"), allUsers + "\\Product");
}

TEST_F(TextExpansionTest, ShortInstallDirIsEmptyWhileTheFolderDoesNotExist)
{
    EXPECT_EQ(expanded(&expandBuiltinVariables, "[<ShortInstallDir>]"), "[]");
    TempFolder folder;
    gPackageToc.installDir.assignCStr((folder.path().string() + "\\").c_str());
    EXPECT_NE(expanded(&expandBuiltinVariables, "[<ShortInstallDir>]"), "[]");
}

TEST_F(TextExpansionTest, UninstallerNameIsTheExpandedTemplate)
{
    declareVariable("<Sub>", kVariableText, kVariableKnown).valueText.assignCStr("Uninstall");
    gPackageToc.uninstallerNameTemplate.assignCStr("<InstallDir>\\<Sub>.exe");
    EXPECT_EQ(expanded(&expandBuiltinVariables, "\"<UninstallerName>\" /x"),
              "\"C:\\Program Files\\Product\\Uninstall.exe\" /x");
}

TEST_F(TextExpansionTest, AnUninstallerTemplateThatNamesItselfEnds)
{
    gPackageToc.uninstallerNameTemplate.assignCStr("<InstallDir>\\<UninstallerName>");
    EXPECT_STREQ(uninstallerPath().cStr(), "C:\\Program Files\\Product\\<UninstallerName>");
    // Through a variable whose default text names the uninstaller again.
    declareVariable("<Loop>", kVariableText, kVariableFromIni, "<UninstallerName>", "x.ini", "s", "k");
    gPackageToc.uninstallerNameTemplate.assignCStr("<InstallDir>\\<Loop>");
    EXPECT_STREQ(uninstallerPath().cStr(), "C:\\Program Files\\Product\\<UninstallerName>");
}

TEST_F(TextExpansionTest, ALongUninstallerPathIsNeverCut)
{
    // A cut path would name another file: the run refuses it instead.
    gPackageToc.uninstallerNameTemplate.assignCStr(std::string(300, 'u').c_str());
    EXPECT_EQ(std::string(uninstallerPath().cStr()), std::string(300, 'u'));
}

TEST_F(TextExpansionTest, UserVariablesReplaceInListOrder)
{
    // A names B: B's value appears when B comes after A, B's name stays when B comes before.
    declareVariable("<B1>", kVariableText, kVariableKnown).valueText.assignCStr("b1");
    declareVariable("<A>", kVariableText, kVariableKnown).valueText.assignCStr("[<B1>|<B2>]");
    declareVariable("<B2>", kVariableText, kVariableKnown).valueText.assignCStr("b2");
    ByteString text("<A>");
    expandVariables(text, kAllVariables);
    EXPECT_STREQ(text.cStr(), "[<B1>|b2]");
}

TEST_F(TextExpansionTest, MaxCountLimitsTheEntriesLookedAt)
{
    declareVariable("<One>", kVariableText, kVariableKnown).valueText.assignCStr("1");
    declareVariable("<Two>", kVariableText, kVariableKnown).valueText.assignCStr("2");
    for (const auto& [maxCount, result] : {std::pair{0, "<One><Two>"}, {1, "1<Two>"}, {2, "12"}, {-5, "<One><Two>"}}) {
        ByteString text("<One><Two>");
        expandVariables(text, maxCount);
        EXPECT_STREQ(text.cStr(), result) << maxCount;
    }
}

TEST_F(TextExpansionTest, AVariableIsReadOnlyWhenATextNamesIt)
{
    system_->ini["c:\\app.ini|Main|Path"] = "D:\\Data";
    InstallerVariable& path = declareVariable("<DataPath>", kVariableText, kVariableFromIni, "", "c:\\app.ini", "Main", "Path");
    ByteString text("nothing here <x>");
    expandVariables(text, kAllVariables);
    EXPECT_EQ(path.state, kVariableFromIni);
    text.assignCStr("<DataPath>\\file");
    expandVariables(text, kAllVariables);
    EXPECT_STREQ(text.cStr(), "D:\\Data\\file");
    EXPECT_EQ(path.state, kVariableKnown);
}


TEST_F(TextExpansionTest, EntryTablesTakeTheBuiltinNamesAndUserVariablesInEveryText)
{
    declareVariable("<Mode>", kVariableText, kVariableKnown).valueText.assignCStr("fast");
    std::vector<ShortcutEntry> savedShortcuts = std::move(gPackageToc.shortcuts);
    std::vector<IniEntry> savedIni = std::move(gPackageToc.iniEntries);
    std::vector<TextFileEntry> savedText = std::move(gPackageToc.textFileEntries);
    // Each text names one kind of variable; the folder names are left to the entries' operations.
    const char* const raw = "<InstallDir>|<UserName>|<Mode>|<ProgramFiles>";
    const char* const done = "C:\\Program Files\\Product|Ann|fast|<ProgramFiles>";
    gPackageToc.shortcuts.clear();
    gPackageToc.shortcuts.push_back(
        ShortcutEntry{ByteString(raw), ByteString(raw), ByteString(raw), ByteString(raw), ByteString(raw), nullptr});
    gPackageToc.iniEntries.clear();
    gPackageToc.iniEntries.push_back(IniEntry{ByteString(raw), ByteString(raw), ByteString(raw), nullptr});
    gPackageToc.textFileEntries.clear();
    gPackageToc.textFileEntries.push_back(TextFileEntry{2, ByteString(raw), ByteString(raw), ByteString(raw), nullptr});

    expandEntryTables();

    ShortcutEntry& shortcut = gPackageToc.shortcuts[0];
    IniEntry& ini = gPackageToc.iniEntries[0];
    TextFileEntry& text = gPackageToc.textFileEntries[0];
    for (ByteString* field : {&shortcut.target, &shortcut.shortcutFile, &shortcut.arguments,
                                    &shortcut.workingFolder, &shortcut.icon, &ini.file, &ini.section, &ini.line,
                                    &text.file, &text.searchText, &text.lineText})
        EXPECT_STREQ(field->cStr(), done);
    gPackageToc.shortcuts = std::move(savedShortcuts);
    gPackageToc.iniEntries = std::move(savedIni);
    gPackageToc.textFileEntries = std::move(savedText);
}

} // namespace
