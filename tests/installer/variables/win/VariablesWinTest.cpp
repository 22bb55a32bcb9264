#include "installer/system/YearMinutes.h"
#include "installer/system/win/SpecialFolders.h"
#include "installer/variables/ConditionEvaluation.h"
#include "installer/variables/FolderVariables.h"
#include "installer/variables/ProgramGroupFolder.h"
#include "installer/variables/SystemNumbers.h"
#include "installer/variables/TextExpansion.h"
#include "installer/variables/VariableApi.h"
#include "installer/variables/VariableEvaluation.h"
#include "installer/variables/win/FolderVariablesInit.h"

#include "installer/text/TempFolder.h"
#include "installer/variables/VariableTestSupport.h"

#include <gtest/gtest.h>
#include <shlobj.h>
#include <windows.h>

#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>

namespace {

const char* const kHkcu = "-2147483647";

// A registry key of the current user for one test, deleted with everything in it at the end.
class TestKey {
public:
    explicit TestKey(const std::string& name) : path_("Software\\KorvanelTests\\Variables\\" + name)
    {
        RegDeleteTreeA(HKEY_CURRENT_USER, path_.c_str());
        RegCreateKeyExA(HKEY_CURRENT_USER, path_.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key_, nullptr);
    }
    ~TestKey()
    {
        RegCloseKey(key_);
        RegDeleteTreeA(HKEY_CURRENT_USER, path_.c_str());
    }
    TestKey(const TestKey&) = delete;
    TestKey& operator=(const TestKey&) = delete;

    void setText(const char* name, const char* text)
    {
        RegSetValueExA(key_, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(text), static_cast<DWORD>(std::strlen(text) + 1));
    }
    void setNumber(const char* name, DWORD value)
    {
        RegSetValueExA(key_, name, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value), sizeof(value));
    }
    const char* path() const { return path_.c_str(); }

private:
    std::string path_;
    HKEY key_ = nullptr;
};

std::int32_t evaluatedInt(InstallerVariable& variable)
{
    evaluateVariable(static_cast<std::int32_t>(gPackageToc.variables.size() - 1));
    return variable.valueInt;
}

std::string evaluatedText(InstallerVariable& variable)
{
    evaluateVariable(static_cast<std::int32_t>(gPackageToc.variables.size() - 1));
    return variable.valueText.cStr();
}

TEST(VariablesWinTest, RegistrySources)
{
    CleanVariableState state;
    TestKey key("RegistrySources");
    key.setText("Folder", "C:\\Tools");
    key.setNumber("Count", 1234567);
    const std::string missing = std::string(key.path()) + "\\Missing";

    EXPECT_EQ(evaluatedText(declareVariable("<T>", kVariableText, kVariableFromRegistry, "d", kHkcu, key.path(), "Folder")), "C:\\Tools");
    EXPECT_EQ(evaluatedInt(declareVariable("<N>", kVariableInteger, kVariableFromRegistry, "", kHkcu, key.path(), "Count")), 1234567);
    EXPECT_EQ(evaluatedText(declareVariable("<D>", kVariableText, kVariableFromRegistry, "dflt", kHkcu, key.path(), "None")), "dflt");
    EXPECT_EQ(evaluatedInt(declareVariable("<K>", kVariableInteger, kVariableFromRegistry, "", kHkcu, key.path(), "", 1)), 1);
    EXPECT_EQ(evaluatedInt(declareVariable("<K7>", kVariableInteger, kVariableFromRegistry, "7", kHkcu, missing.c_str(), "", 1)), 7);
    EXPECT_EQ(evaluatedInt(declareVariable("<K7a>", kVariableInteger, kVariableFromRegistry, "7a", kHkcu, missing.c_str(), "", 1)), 0);
    EXPECT_EQ(evaluatedInt(declareVariable("<V>", kVariableInteger, kVariableFromRegistry, "", kHkcu, key.path(), "Count", 2)), 1);
    EXPECT_EQ(evaluatedInt(declareVariable("<V0>", kVariableInteger, kVariableFromRegistry, "", kHkcu, key.path(), "None", 2)), 0);
}

TEST(VariablesWinTest, IniSources)
{
    CleanVariableState state;
    TempFolder folder;
    const std::string ini = folder.file("app.ini");
    WritePrivateProfileStringA("Main", "Zero", "0", ini.c_str());
    WritePrivateProfileStringA("Main", "Size", "300", ini.c_str());
    WritePrivateProfileStringA("Main", "Name", "Product", ini.c_str());
    WritePrivateProfileStringA(nullptr, nullptr, nullptr, ini.c_str());

    EXPECT_EQ(evaluatedInt(declareVariable("<Z>", kVariableInteger, kVariableFromIni, "", ini.c_str(), "Main", "Zero", 1)), 1);
    EXPECT_EQ(evaluatedInt(declareVariable("<M>", kVariableInteger, kVariableFromIni, "", ini.c_str(), "Main", "Missing", 1)), 0);
    EXPECT_EQ(evaluatedInt(declareVariable("<S>", kVariableInteger, kVariableFromIni, "5", ini.c_str(), "Main", "Size")), 300);
    EXPECT_EQ(evaluatedInt(declareVariable("<S5>", kVariableInteger, kVariableFromIni, "5", ini.c_str(), "Main", "Missing")), 5);
    EXPECT_EQ(evaluatedText(declareVariable("<N>", kVariableText, kVariableFromIni, "d", ini.c_str(), "Main", "Name")), "Product");
    EXPECT_EQ(evaluatedText(declareVariable("<D>", kVariableText, kVariableFromIni, "d", ini.c_str(), "Main", "None")), "d");
}

TEST(VariablesWinTest, FileSearchInListedFolders)
{
    CleanVariableState state;
    TempFolder folder;
    const std::filesystem::path deeper = folder.path() / "Games" / "Bin";
    std::filesystem::create_directories(deeper);
    std::ofstream(deeper / "Target.exe") << "x";
    const std::string list = folder.file("Nowhere") + "<\\0>" + folder.path().string();

    // Bit 2: the fixed drives are not searched.
    EXPECT_EQ(evaluatedText(declareVariable("<F>", kVariableText, kVariableFromFileSearch, "none", "target.exe", list.c_str(), "", 4)),
              deeper.string());
    const std::string drive = folder.path().string().substr(0, 1) + ":";
    EXPECT_EQ(evaluatedText(declareVariable("<D>", kVariableText, kVariableFromFileSearch, "none", "target.exe", list.c_str(), "", 6)), drive);
    InstallerVariable& missing = declareVariable("<M>", kVariableInteger, kVariableFromFileSearch, "", "absent.exe", list.c_str(), "", 4);
    EXPECT_EQ(evaluatedInt(missing), 0);
}

TEST(VariablesWinTest, FolderValuesAtStartUp)
{
    CleanVariableState state;
    declareVariable("<Declared>", kVariableText, kVariableKnown, "<WindowsDir>\\x");
    initFolderVariables();
    presetVariableValues();

    const auto& folders = gMainInstaller.folders;
    char windows[MAX_PATH] = {};
    GetWindowsDirectoryA(windows, MAX_PATH);
    EXPECT_STREQ(ByteString(folders[kWindowsDir]).cStr(), windows);
    char system[MAX_PATH] = {};
    GetSystemDirectoryA(system, MAX_PATH);
    EXPECT_STREQ(ByteString(folders[kSystemDir]).cStr(), system);
    EXPECT_EQ(std::string(ByteString(folders[kSystemDrive]).cStr()), std::string(1, system[0]) + ":");
    for (FolderValue value : {kWindowsDir, kWindowsDirShort, kProgramFiles, kProgramFilesShort, kTempDir, kTempDirShort,
                              kProgramsDir, kDesktop, kStartMenu, kDate}) {
        const ByteString& text = folders[value];
        EXPECT_FALSE(text.empty()) << value;
        EXPECT_NE(text.at(text.length() - 1), '\\') << value;
    }
    char programs[MAX_PATH] = {};
    ASSERT_TRUE(getSpecialFolder(CSIDL_PROGRAMS, programs));
    EXPECT_STREQ(ByteString(folders[kProgramsDir]).cStr(), programs);

    // The declared variable's default now names the folder, and is its value.
    EXPECT_EQ(std::string(getVariableText("<Declared>")), std::string(windows) + "\\x");
    const std::int32_t days = getVariableInt("<DS2000>");
    EXPECT_NEAR(days, static_cast<double>(minutesSinceYearStart(2000) / 1440), 1.0);
    EXPECT_GT(days, 9000);
    const std::int32_t admin = getVariableInt("<IsAdmin>");
    EXPECT_TRUE(admin == 0 || admin == 1);
    EXPECT_EQ(gPackageToc.variables.back()->kind, kVariableInteger);
}

// Takes a value of the machine's current-version key away for one test and puts it back.
class MissingCurrentVersionValue {
public:
    explicit MissingCurrentVersionValue(const char* name) : name_(name)
    {
        if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, "Software\\Microsoft\\Windows\\CurrentVersion", 0, KEY_ALL_ACCESS, &key_) != ERROR_SUCCESS)
            return;
        DWORD size = sizeof(saved_);
        hadValue_ = RegQueryValueExA(key_, name, nullptr, &type_, reinterpret_cast<BYTE*>(saved_), &size) == ERROR_SUCCESS;
        savedSize_ = size;
        removed_ = !hadValue_ || RegDeleteValueA(key_, name) == ERROR_SUCCESS;
    }
    ~MissingCurrentVersionValue()
    {
        if (hadValue_)
            RegSetValueExA(key_, name_, 0, type_, reinterpret_cast<const BYTE*>(saved_), savedSize_);
        if (key_)
            RegCloseKey(key_);
    }
    MissingCurrentVersionValue(const MissingCurrentVersionValue&) = delete;
    MissingCurrentVersionValue& operator=(const MissingCurrentVersionValue&) = delete;
    bool removed() const { return key_ && removed_; }

private:
    const char* name_;
    HKEY key_ = nullptr;
    bool hadValue_ = false;
    bool removed_ = false;
    DWORD type_ = REG_SZ;
    char saved_[MAX_PATH * 2] = {};
    DWORD savedSize_ = 0;
};

TEST(VariablesWinTest, CommonFilesFallBackWhenTheRegistryLacksThem)
{
    CleanVariableState state;
    MissingCurrentVersionValue missing("CommonFilesDir");
    if (!missing.removed())
        GTEST_SKIP() << "the machine key cannot be changed here";
    initFolderVariables();
    EXPECT_EQ(expanded(&expandFolderVariables, "<CommonFiles>|<ShortCommonFiles>"),
              "C:\\Program Files\\Common Files|C:\\Progra~1\\Common~1");
    const std::string programFiles = ByteString(gMainInstaller.folders[kProgramFiles]).cStr();
    char shortForm[MAX_PATH] = {};
    GetShortPathNameA(programFiles.c_str(), shortForm, MAX_PATH);
    EXPECT_EQ(expanded(&expandFolderVariables, "<ShortProgramFiles>"), shortForm);
}

TEST(VariablesWinTest, ProgramGroupFolderAndItsExpansion)
{
    CleanVariableState state;
    gPackageToc.shortcutDir.assignCStr("Korvanel Group");
    char programs[MAX_PATH] = {};
    char common[MAX_PATH] = {};
    ASSERT_TRUE(getSpecialFolder(CSIDL_PROGRAMS, programs));
    ASSERT_TRUE(getSpecialFolder(CSIDL_COMMON_PROGRAMS, common));
    for (const bool allUsers : {false, true}) {
        gInstallerContext.unicode = 1;
        gInstallerContext.optionWord = allUsers ? kOptionAllUsersStartMenu : 0;
        const std::string folder = ByteString(programGroupFolder()).cStr();
        char longForm[MAX_PATH] = {};
        GetLongPathNameA(folder.substr(0, folder.size() - std::string("\\Korvanel Group\\").size()).c_str(), longForm, MAX_PATH);
        EXPECT_STRCASEEQ(longForm, allUsers ? common : programs);
        EXPECT_EQ(folder.substr(folder.size() - 16), "\\Korvanel Group\\");
        // The program group does not exist: its own short form.
        EXPECT_EQ(expanded(&expandBuiltinVariables, "<ShortcutDir>|<ShortShortcutDir>"),
                  folder.substr(0, folder.size() - 1) + "|" + folder.substr(0, folder.size() - 1));
    }
}

TEST(VariablesWinTest, SystemFiguresAndUpperCasing)
{
    CleanVariableState state;
    EXPECT_GT(evaluateNumber(ByteString("<CurXRes>")), 0);
    EXPECT_GT(evaluateNumber(ByteString("<CurBPP>")), 0);
    const std::int32_t ram = evaluateNumber(ByteString("<RAM>"));
    EXPECT_GT(ram, 0);
    EXPECT_EQ(ram % 2, 0);
    ConditionRecord record;
    record.osFlags = kConditionAnyOs;
    record.comparisons.push_back({ByteString("\"C:\\Program Files\""), kCompareContains, ByteString("\"program\"")});
    EXPECT_TRUE(conditionHolds(&record));
}

} // namespace
