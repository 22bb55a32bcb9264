// The start-up checks against the real registry (a test key below HKEY_CURRENT_USER) and real
// processes: the installed product's autorun command, one installer per product, a previous
// installation removed by its uninstaller (the logging stand-in), an update's installed version,
// registry write access (refused through the key opener where the test system grants it), and
// the confirmation.
#include "installer/install/win/RegistryAccess.h"
#include "installer/install/win/StandinLog.h"
#include "installer/install/win/StartupChecks.h"
#include "installer/state/InstallerState.h"
#include "installer/system/win/BesideTestProgram.h"
#include "installer/text/TempFolder.h"
#include "installer/variables/VariableApi.h"
#include "installer/variables/VariableTestSupport.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <filesystem>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace {

const char* const kTestKey = "Software\\KvStartupChecksTest";
constexpr std::uint32_t kCurrentUser = 0x80000001;

struct Box {
    std::string text;
    std::string caption;
    UINT type;
};

std::vector<Box>* shownBoxes = nullptr;
std::vector<int>* pendingAnswers = nullptr;

int recordBox(const char* text, const char* caption, UINT type)
{
    shownBoxes->push_back({text, caption ? caption : "", type});
    if (pendingAnswers->empty())
        return (type & 0xF) == MB_OK ? IDOK : IDYES;
    const int answer = pendingAnswers->front();
    pendingAnswers->erase(pendingAnswers->begin());
    return answer;
}

void setValue(const char* name, const std::string& text)
{
    HKEY key = nullptr;
    ASSERT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER, kTestKey, 0, nullptr, 0, KEY_WRITE, nullptr, &key, nullptr), ERROR_SUCCESS);
    RegSetValueExA(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(text.c_str()), static_cast<DWORD>(text.size() + 1));
    RegCloseKey(key);
}

void createKey(const std::string& path)
{
    HKEY key = nullptr;
    ASSERT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER, path.c_str(), 0, nullptr, 0, KEY_WRITE, nullptr, &key, nullptr), ERROR_SUCCESS);
    RegCloseKey(key);
}

class StartupChecksTest : public ::testing::Test {
protected:
    StartupChecksTest() : log(folder.file("starts.log"))
    {
        RegDeleteTreeA(HKEY_CURRENT_USER, kTestKey);
        shownBoxes = &boxes;
        pendingAnswers = &answers;
        previousBox_ = setStartupMessageBox(recordBox);
        gPackageToc.productRegistryRoot = kCurrentUser;
        gPackageToc.productKey = ByteString(kTestKey);
        gPackageToc.versionValueName = ByteString("Version");
        gPackageToc.productName = ByteString("Piano Suite");
        gBackgroundStyle.windowTitle = ByteString("Piano Suite Setup");
        uninstaller = folder.file("uninst.exe");
        gPackageToc.uninstallerNameTemplate = ByteString(uninstaller.c_str());
    }
    ~StartupChecksTest() override
    {
        setStartupMessageBox(previousBox_);
        shownBoxes = nullptr;
        pendingAnswers = nullptr;
        RegDeleteTreeA(HKEY_CURRENT_USER, kTestKey);
        gPackageToc.productRegistryRoot = 0;
        gPackageToc.productKey = ByteString();
        gPackageToc.versionValueName = ByteString();
        gPackageToc.productName = ByteString();
        gPackageToc.updatableVersions = ByteString();
        gPackageToc.versionToInstall = ByteString();
        gPackageToc.versionShown = ByteString();
        gPackageToc.savedUninstaller = ByteString();
        gPackageToc.autorun = 0;
        gPackageToc.normalInstallFallback = 0;
        gPackageToc.fileNameSafeProductId = ByteString();
        gBackgroundStyle.windowTitle = ByteString();
        gInstallerContext.packageOptions = 0;
    }
    void installStandinUninstaller() { fs::copy_file(besideTestProgram("program_standin.exe"), uninstaller); }
    std::vector<std::string> texts() const
    {
        std::vector<std::string> result;
        for (const Box& box : boxes)
            result.push_back(box.text);
        return result;
    }

    CleanVariableState clean;
    TempFolder folder;
    StandinLog log;
    std::string uninstaller;
    std::vector<Box> boxes;
    std::vector<int> answers;

private:
    StartupMessageBox previousBox_ = nullptr;
};

const char* const kUninstallQuestion =
    "Piano Suite is already installed on your system. It is highly recommended to uninstall the application before "
    "re-installing. Do you want to uninstall Piano Suite before re-installing?";
const char* const kNotRemovedQuestion = "The installation was not removed. Do you still want to re-install?";

struct PreviousCase {
    const char* name;
    bool silent;
    std::vector<int> answers;
    int exitCode;
    bool result;
    // Empty: the uninstaller was not started.
    const char* arguments;
    std::vector<std::string> boxes;
    bool uninstallerLeft;
};

TEST_F(StartupChecksTest, APreviousInstallationIsOfferedForRemoval)
{
    const PreviousCase cases[] = {
        {"removed", false, {IDYES}, 1, true, " ", {kUninstallQuestion}, false},
        {"not removed, install anyway", false, {IDYES, IDYES}, 0, true, " ", {kUninstallQuestion, kNotRemovedQuestion}, true},
        {"not removed, stop", false, {IDYES, IDNO}, 0, false, " ", {kUninstallQuestion, kNotRemovedQuestion}, true},
        {"install over it", false, {IDNO}, 1, true, nullptr, {kUninstallQuestion}, true},
        {"cancel", false, {IDCANCEL}, 1, false, nullptr, {kUninstallQuestion}, true},
        {"silent", true, {}, 1, true, " /SILENT /NOREMOVE", {}, false},
        {"silent, not removed", true, {}, 0, true, " /SILENT /NOREMOVE", {}, true},
    };
    for (const PreviousCase& c : cases) {
        SCOPED_TRACE(c.name);
        boxes.clear();
        answers = c.answers;
        gFlags.silent = c.silent;
        fs::remove(uninstaller);
        fs::remove(folder.file("starts.log"));
        installStandinUninstaller();
        setValue("Version", "1.0");
        SetEnvironmentVariableA("KV_STANDIN_EXIT", std::to_string(c.exitCode).c_str());

        EXPECT_EQ(checkPreviousInstallation(), c.result);
        EXPECT_EQ(texts(), c.boxes);
        const auto starts = log.starts();
        if (c.arguments) {
            ASSERT_EQ(starts.size(), 1u);
            EXPECT_EQ(starts[0].commandLine, "\"" + uninstaller + "\"" + c.arguments);
            EXPECT_EQ(starts[0].folder, folder.path().string());
        } else {
            EXPECT_TRUE(starts.empty());
        }
        EXPECT_EQ(fs::exists(uninstaller), c.uninstallerLeft);
    }
}

TEST_F(StartupChecksTest, TheUninstallerNamedInTheRegistryIsStarted)
{
    const std::string elsewhere = folder.file("other\\remove.exe");
    fs::create_directories(folder.file("other"));
    fs::copy_file(besideTestProgram("program_standin.exe"), elsewhere);
    setValue("Version", "1.0");
    setValue("Uninstaller", elsewhere);
    gFlags.silent = true;

    EXPECT_TRUE(checkPreviousInstallation());
    const auto starts = log.starts();
    ASSERT_EQ(starts.size(), 1u);
    EXPECT_EQ(starts[0].commandLine, "\"" + elsewhere + "\" /SILENT /NOREMOVE");
    EXPECT_EQ(starts[0].folder, folder.file("other"));
}

TEST_F(StartupChecksTest, AMissingUninstallerIsToldAndTheInstallationGoesOn)
{
    setValue("Version", "1.0");
    EXPECT_TRUE(checkPreviousInstallation());
    EXPECT_EQ(texts(), (std::vector<std::string>{kUninstallQuestion,
                                                 "Couldn't find uninstaller. Previous installation was not removed!"}));
    EXPECT_EQ(boxes[1].type, static_cast<UINT>(MB_OK | MB_ICONERROR));
}

TEST_F(StartupChecksTest, WithoutAVersionValueTheOldUninstallerIsMovedAside)
{
    installStandinUninstaller();
    setValue("Other", "x");

    EXPECT_TRUE(checkPreviousInstallation());
    EXPECT_TRUE(boxes.empty());
    EXPECT_FALSE(fs::exists(uninstaller));
    EXPECT_TRUE(fs::exists(uninstaller + ".bak"));
    EXPECT_EQ(std::string(gPackageToc.savedUninstaller.cStr()), uninstaller + ".bak");
    EXPECT_TRUE(log.starts().empty());
}

TEST_F(StartupChecksTest, NoProductKeyMeansNothingToCheck)
{
    gPackageToc.productKey = ByteString();
    gPackageToc.versionValueName = ByteString();
    installStandinUninstaller();
    EXPECT_TRUE(checkPreviousInstallation());
    EXPECT_TRUE(fs::exists(uninstaller));
}

struct UpdateCase {
    const char* name;
    const char* installed;  // null: no version value
    bool keyExists;
    const char* updatable;
    bool list;
    bool fallback;
    bool result;
    const char* box;  // null: none
};

TEST_F(StartupChecksTest, AnUpdateNeedsAnInstalledVersionItAccepts)
{
    const UpdateCase cases[] = {
        {"in range", "1.5", true, "1.0", false, false, true, nullptr},
        {"1.10 between 1.9 and 2.0", "1.10", true, "1.9", false, false, true, nullptr},
        {"below the range", "0.9", true, "1.0", false, false, false,
         "This update supports updates from version 1.0 up to version 2.0 (final). You have version 0.9 and it "
         "cannot be updated by this program."},
        {"already installed", "2.0", true, "1.0", false, false, false,
         "This update updates to version 2.0 (final) which is already installed on your system."},
        {"in the list", "1.1", true, "1.0|1.1", true, false, true, nullptr},
        {"not in the list", "1.2", true, "1.0|1.1", true, false, false,
         "This update supports updates from version(s) 1.0 and 1.1. You have currently version 1.2 and it cannot "
         "be updated by this program."},
        {"any version", "0.1", true, "", false, false, true, nullptr},
        {"no version value", nullptr, true, "1.0", false, false, false,
         "The Piano Suite installation couldn't be found. Try re-installing the application before running the update."},
        {"no product", nullptr, false, "1.0", false, false, false,
         "The Piano Suite installation couldn't be found. Try re-installing the application before running the update."},
        {"no product, install normally", nullptr, false, "1.0", false, true, true, nullptr},
    };
    for (const UpdateCase& c : cases) {
        SCOPED_TRACE(c.name);
        boxes.clear();
        RegDeleteTreeA(HKEY_CURRENT_USER, kTestKey);
        if (c.keyExists)
            createKey(kTestKey);
        if (c.installed)
            setValue("Version", c.installed);
        gInstallerContext.packageOptions = kPackageUpdate;
        gInstallerContext.optionWord = c.list ? std::uint32_t{kOptionUpdatableVersionList} : 0u;
        gPackageToc.normalInstallFallback = c.fallback;
        gPackageToc.updatableVersions = ByteString(c.updatable);
        gPackageToc.versionToInstall = ByteString("2.0");
        gPackageToc.versionShown = ByteString("2.0 (final)");

        EXPECT_EQ(checkPreviousInstallation(), c.result);
        EXPECT_EQ(texts(), c.box ? std::vector<std::string>{c.box} : std::vector<std::string>{});
        if (c.list && c.box) {
            EXPECT_EQ(boxes[0].caption, "Piano Suite Setup");
        }
        if (c.fallback) {
            EXPECT_EQ(gInstallerContext.packageOptions & kPackageUpdate, 0u);
            EXPECT_EQ(getVariableInt("<IsUpdate>"), 0);
        }
    }
}

TEST_F(StartupChecksTest, TheAutorunCommandReplacesTheInstallation)
{
    const std::string program = besideTestProgram("program_standin.exe");
    setValue("AutorunCommand", program);
    EXPECT_FALSE(runAutorunCommand());
    gPackageToc.autorun = 1;
    EXPECT_TRUE(runAutorunCommand());
    for (int i = 0; i < 100 && log.starts().empty(); ++i)
        Sleep(50);
    const auto starts = log.starts();
    ASSERT_EQ(starts.size(), 1u);
    EXPECT_EQ(starts[0].commandLine, "\"" + program + "\"");

    RegDeleteTreeA(HKEY_CURRENT_USER, kTestKey);
    EXPECT_FALSE(runAutorunCommand());
}

LRESULT CALLBACK plainWindow(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    return DefWindowProcW(window, message, wParam, lParam);
}

TEST_F(StartupChecksTest, ASecondInstallerOfTheProductBringsTheFirstToTheFront)
{
    const std::string id = "KvSingle" + std::to_string(GetCurrentProcessId());
    gPackageToc.fileNameSafeProductId = ByteString(id.c_str());
    WNDCLASSW windowClass{};
    windowClass.lpfnWndProc = plainWindow;
    windowClass.hInstance = GetModuleHandleW(nullptr);
    windowClass.lpszClassName = L"DravellInstaller";
    RegisterClassW(&windowClass);
    HWND first = CreateWindowW(L"DravellInstaller", L"Piano Suite Setup", WS_OVERLAPPEDWINDOW, 0, 0, 200, 100, nullptr,
                               nullptr, GetModuleHandleW(nullptr), nullptr);
    ASSERT_NE(first, nullptr);
    ShowWindow(first, SW_MINIMIZE);
    HANDLE firstMark = CreateMutexA(nullptr, TRUE, (id + "_inst_m").c_str());

    EXPECT_TRUE(ensureSingleInstance());
    EXPECT_FALSE(IsIconic(first));

    CloseHandle(firstMark);
    DestroyWindow(first);
    gPackageToc.fileNameSafeProductId = ByteString((id + "b").c_str());
    EXPECT_FALSE(ensureSingleInstance());
    // This installer's own mark stays: a later start of the product finds it.
    EXPECT_TRUE(ensureSingleInstance());
}

struct ConfirmCase {
    const char* name;
    std::uint32_t optionWord;
    std::uint32_t packageOptions;
    int answer;
    bool result;
    const char* box;
};

TEST_F(StartupChecksTest, TheUserConfirmsTheStart)
{
    const ConfirmCase cases[] = {
        {"not asked", 0, 0, IDNO, true, nullptr},
        {"install, yes", kOptionConfirmBeforeInstall, 0, IDYES, true,
         "This will install Piano Suite to your computer. Do you want to continue?"},
        {"install, no", kOptionConfirmBeforeInstall, 0, IDNO, false,
         "This will install Piano Suite to your computer. Do you want to continue?"},
        {"update, no", kOptionConfirmBeforeInstall, kPackageUpdate, IDNO, false,
         "This will update Piano Suite to version 2.0 (final). Do you want to continue?"},
    };
    gPackageToc.versionShown = ByteString("2.0 (final)");
    for (const ConfirmCase& c : cases) {
        SCOPED_TRACE(c.name);
        boxes.clear();
        answers = {c.answer};
        gInstallerContext.optionWord = c.optionWord;
        gInstallerContext.packageOptions = c.packageOptions;
        EXPECT_EQ(confirmStart(), c.result);
        EXPECT_EQ(texts(), c.box ? std::vector<std::string>{c.box} : std::vector<std::string>{});
        if (c.box) {
            EXPECT_EQ(boxes[0].caption, "Piano Suite Setup");
            EXPECT_EQ(boxes[0].type & 0xF, static_cast<UINT>(MB_YESNO));
        }
    }
    gFlags.silent = true;
    gInstallerContext.optionWord = kOptionConfirmBeforeInstall;
    boxes.clear();
    answers = {IDNO};
    EXPECT_TRUE(confirmStart());
    EXPECT_TRUE(boxes.empty());
}

} // namespace
