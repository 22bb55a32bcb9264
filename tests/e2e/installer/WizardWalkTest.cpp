// The real installer walked through its wizard by clicks: custom pages forward and back with
// their captions and button texts, the installation page, the finish page, the exit code with
// and without "/REVERT", the files equal to a silent installation of the same package, and a
// Cancel on every page before the installation that leaves nothing behind.
#include "InstallerProcess.h"
#include "TestFolder.h"
#include "MachineState.h"
#include "WizardDriver.h"

#include "PackageBuilder.h"
#include "installer/system/win/BesideTestProgram.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>

namespace fs = std::filesystem;

namespace {

// The background's title, this test program's own: another test program's installer may show a
// background at the same time, and a second setup brings forward the window of its title.
std::string walkBackgroundTitle()
{
    return "Walk background " + std::to_string(GetCurrentProcessId());
}

// Page types of the walk's sequence: two pages of the package's own, the installation, the
// finish and the uninstaller's template (which is never shown and makes the finish page the
// last one).
constexpr unsigned kFirstCustom = 20;
constexpr unsigned kSecondCustom = 22;
constexpr unsigned kInstallation = 13;
constexpr unsigned kFinish = 12;
constexpr unsigned kUninstallerTemplate = 14;

constexpr int kNext = 1;
constexpr int kCancel = 2;
constexpr int kBack = 3;

// Language texts by number; the ones the walk reads are given, the rest stay recognisable.
nlohmann::json languageLines()
{
    nlohmann::json lines = nlohmann::json::array();
    for (int i = 0; i < 160; ++i)
        lines.push_back("Text " + std::to_string(i));
    lines[0] = "< Back";
    lines[2] = "Cancel";
    lines[3] = "Install";
    lines[4] = "Next >";
    lines[8] = "Setup of %s";
    lines[10] = "Leave the setup now?";
    lines[110] = "Installing";
    lines[111] = "Please wait while the files are copied";
    lines[144] = "Setup finished";
    lines[145] = "Finish";
    lines[146] = "%s is now installed";
    lines[149] = "Restart now";
    lines[150] = "Restart later";
    lines[151] = "Start Walk";
    lines[152] = "Show the readme";
    lines[153] = "Click Finish to leave";
    return lines;
}

nlohmann::json button(int id, const char* text, int x)
{
    return {{"type", "button"}, {"id", id}, {"text", text}, {"x", x}, {"y", 230}, {"width", 80}, {"height", 24}};
}

nlohmann::json page(const std::string& title, nlohmann::json controls)
{
    controls.push_back(button(kBack, "back", 120));
    controls.push_back(button(kNext, "next", 210));
    controls.push_back(button(kCancel, "cancel", 300));
    return {{"title", title}, {"width", 400}, {"height", 300}, {"controls", controls}};
}

nlohmann::json text(int id, const std::string& words, int y)
{
    return {{"type", "static"}, {"id", id}, {"text", words}, {"x", 10}, {"y", y}, {"width", 380}, {"height", 18}};
}

nlohmann::json bar(int id, int y)
{
    return {{"type", "progressbar"}, {"id", id}, {"style", 0x50000001u}, {"x", 10}, {"y", y}, {"width", 370},
            {"height", 20}, {"textColour", 0xC56B32}, {"backColour", 0xFFFFFF}, {"action", 0}};
}

// A check box or radio button that checks itself when clicked.
nlohmann::json box(const char* type, int id, int y)
{
    const std::uint32_t style = WS_CHILD | WS_VISIBLE | (type == std::string("radio") ? BS_AUTORADIOBUTTON : BS_AUTOCHECKBOX);
    return {{"type", type}, {"id", id}, {"style", style}, {"text", "box " + std::to_string(id)}, {"x", 10}, {"y", y},
            {"width", 300}, {"height", 18}};
}

nlohmann::json walkPages()
{
    nlohmann::json pages = nlohmann::json::array();
    pages.push_back({{"pageType", kFirstCustom}, {"page", page("First page", {text(50, "The first page", 20)})}});
    pages.push_back({{"pageType", kSecondCustom}, {"page", page("Second page", {text(50, "The second page", 20)})}});
    pages.push_back({{"pageType", kInstallation},
                     {"page", page("install", {text(21, "note", 20), bar(10, 60), bar(11, 100)})}});
    pages.push_back({{"pageType", kFinish},
                     {"page", page("finish", {text(10, "headline", 20), text(11, "restart note", 40),
                                              box("radio", 20, 60), box("radio", 21, 80), box("checkbox", 22, 110),
                                              box("checkbox", 23, 130), box("checkbox", 70, 150),
                                              text(12, "finish note", 180)})}});
    pages.push_back({{"pageType", kUninstallerTemplate}, {"page", page("uninstaller", nlohmann::json::array())}});
    return pages;
}

class WizardWalkTest : public InstallerTestFolder {
protected:
    WizardWalkTest() : InstallerTestFolder("dravell_wizard_") {}
    void SetUp() override
    {
        InstallerTestFolder::SetUp();
        destination_ = folder_ / "dest";
    }

    nlohmann::json description(std::uint32_t optionBits = 0) const
    {
        nlohmann::json d;
        d["toc"]["settings"]["installDir"] = destination_.string();
        d["toc"]["settings"]["productName"] = "Walk";
        d["toc"]["settings"]["windowTitle"] = walkBackgroundTitle();
        // The pages stand over the background window with its gradient and title.
        d["toc"]["settings"]["backgroundDrawn"] = 1u;
        d["toc"]["settings"]["title"] = "Walk Setup";
        d["toc"]["settings"]["topColour"] = 0x804000u;
        d["toc"]["settings"]["splitColour"] = 0xC08040u;
        d["toc"]["settings"]["bottomColour"] = 0x200000u;
        d["toc"]["settings"]["splitPercent"] = 60u;
        d["toc"]["settings"]["titleColour"] = 0xFFFFFFu;
        d["toc"]["settings"]["titleShadowColour"] = 0x000000u;
        nlohmann::json switches = nlohmann::json::array();
        for (int bit = 0; bit < 17; ++bit)
            switches.push_back(((optionBits >> bit) & 1) != 0);
        d["toc"]["settings"]["optionSwitches"] = switches;
        d["languageSets"]["sets"] = {{{"name", "English"}, {"number", 1}, {"langId", 0x409}, {"lines", languageLines()}}};
        d["templates"] = walkPages();
        d["files"] = {{{"name", "<InstallDir>\\docs\\guide.txt"}, {"hex", hexOf(bytesOf(std::string(5000, 'g')))}},
                      {{"name", "<InstallDir>\\bin\\walk.dat"}, {"hex", hexOf(bytesOf("walk data"))}}};
        return d;
    }

    // Every file below the destination with its content.
    std::vector<std::pair<std::string, Bytes>> installed() const
    {
        std::vector<std::pair<std::string, Bytes>> files;
        if (!fs::exists(destination_))
            return files;
        for (const auto& item : fs::recursive_directory_iterator(destination_))
            if (item.is_regular_file())
                files.emplace_back(fs::relative(item.path(), destination_).generic_string(),
                                   readWholeFile(item.path().string()));
        std::sort(files.begin(), files.end());
        return files;
    }

    fs::path destination_;
};

class WizardFinishPage : public WizardWalkTest {};

// Clicks through: first page, Next, second page, Back, first page again, Next, second page,
// Install, installation, finish page, Finish.
int forwardBackAndOn(const PageSeen& page, std::size_t visit)
{
    static const wchar_t* const screenshots[] = {L"first", L"second", L"first-again", L"second-again",
                                                 L"installation", L"finish"};
    if (visit < std::size(screenshots))
        saveScreenshot(screenshots[visit]);
    if (page.caption == L"Installing")
        return 0;
    return visit == 1 ? kBack : kNext;
}

} // namespace

struct ExitCase {
    const wchar_t* arguments;
    DWORD exitCode;
};

class WizardForwardAndBack : public WizardWalkTest, public ::testing::WithParamInterface<ExitCase> {};

TEST_P(WizardForwardAndBack, ToTheFinishInstallsWhatASilentRunInstalls)
{
    const auto [arguments, code] = GetParam();
    // The run is held a few seconds (a slideshow's least duration): the installation page stays
    // long enough to be read whole, also where the installer runs slowly (emulated 32-bit).
    nlohmann::json d = description();
    d["slideshow"] = {"C:\\slides\\none.bmp"};
    d["toc"]["settings"]["slideshowDuration"] = 3u;
    const std::wstring setup = writeSetup(d);
    const InstallerRun silent = runInstallerProcess(setup, L"/SILENT", tempFolder());
    ASSERT_TRUE(silent.finished);
    ASSERT_EQ(silent.exitCode, 1u);
    const auto silentFiles = installed();
    ASSERT_EQ(silentFiles.size(), 2u);
    fs::remove_all(destination_);

    {
        const WizardWalk walk = walkWizard(setup, arguments, tempFolder(), forwardBackAndOn,
                                           [](const BoxSeen&) { return IDOK; });
        ASSERT_TRUE(walk.finished);
        EXPECT_EQ(walk.exitCode, code);
        EXPECT_TRUE(walk.boxes.empty()) << (walk.boxes.empty() ? "" : fs::path(walk.boxes[0].text).string());
        ASSERT_EQ(walk.pages.size(), 6u);

        const PageSeen& first = walk.pages[0];
        EXPECT_EQ(first.caption, L"First page");
        EXPECT_EQ(first.item(50), L"The first page");
        EXPECT_EQ(first.item(kBack), L"< Back");
        EXPECT_EQ(first.item(kNext), L"Next >");
        EXPECT_EQ(first.item(kCancel), L"Cancel");
        EXPECT_EQ(walk.pages[1].caption, L"Second page");
        // The page before the installation offers to install.
        EXPECT_EQ(walk.pages[1].item(kNext), L"Install");
        EXPECT_EQ(walk.pages[2].caption, L"First page");
        EXPECT_EQ(walk.pages[3].caption, L"Second page");

        const PageSeen& installation = walk.pages[4];
        EXPECT_EQ(installation.caption, L"Installing");
        EXPECT_EQ(installation.item(kNext), L"Next >");
        EXPECT_TRUE(installation.isVisible(kCancel));
        // One bar is shown where the package asks for one: the note goes with the second bar.
        EXPECT_FALSE(installation.isVisible(21));

        const PageSeen& finish = walk.pages[5];
        EXPECT_EQ(finish.caption, L"Setup finished");
        EXPECT_EQ(finish.item(10), L"Walk is now installed");
        // The uninstaller's template never shows: the finish page is the last page.
        EXPECT_EQ(finish.item(kNext), L"Finish");
        EXPECT_EQ(finish.item(12), L"Click Finish to leave");
        for (int hidden : {11, 20, 21, 22, 23, 70})
            EXPECT_FALSE(finish.isVisible(hidden)) << hidden;

        EXPECT_EQ(installed(), silentFiles);
    }
}

INSTANTIATE_TEST_SUITE_P(WithAndWithoutRevert, WizardForwardAndBack,
                         ::testing::Values(ExitCase{L"", 1}, ExitCase{L"/REVERT", 0}));

TEST_F(WizardFinishPage, OffersWhatThePackageAsksFor)
{
    // Launch offered and checked by default, readme offered unchecked, restart not offered.
    const std::uint32_t launch = 1u << 3, readme = 1u << 2, launchChecked = 1u << 14;
    const std::wstring setup = writeSetup(description(launch | readme | launchChecked));
    const WizardWalk walk = walkWizard(setup, L"", tempFolder(), [](const PageSeen& page, std::size_t) {
        return page.caption == L"Installing" ? 0 : kNext;
    }, [](const BoxSeen&) { return IDOK; });
    ASSERT_TRUE(walk.finished);
    EXPECT_EQ(walk.exitCode, 1u);
    ASSERT_FALSE(walk.pages.empty());
    const PageSeen& finish = walk.pages.back();
    ASSERT_EQ(finish.caption, L"Setup finished");
    EXPECT_TRUE(finish.isVisible(22));
    EXPECT_TRUE(finish.checked.at(22));
    EXPECT_EQ(finish.item(22), L"Start Walk");
    EXPECT_TRUE(finish.isVisible(23));
    EXPECT_FALSE(finish.checked.at(23));
    EXPECT_FALSE(finish.isVisible(20));
    EXPECT_FALSE(finish.isVisible(70));
}

TEST_F(WizardFinishPage, BackEndsTheWizardWithTheInstallationDone)
{
    const std::wstring setup = writeSetup(description());
    const WizardWalk walk = walkWizard(setup, L"", tempFolder(), [](const PageSeen& page, std::size_t) {
        if (page.caption == L"Installing")
            return 0;
        return page.caption == L"Setup finished" ? kBack : kNext;
    }, [](const BoxSeen&) { return IDOK; });
    ASSERT_TRUE(walk.finished);
    EXPECT_EQ(walk.exitCode, 1u);
    EXPECT_EQ(installed().size(), 2u);
}

struct CancelCase {
    // Pages passed with Next before Cancel is clicked.
    std::size_t pagesBefore;
    const wchar_t* arguments;
    DWORD exitCode;
};

class WizardCancelTest : public WizardWalkTest, public ::testing::WithParamInterface<CancelCase> {};

TEST_P(WizardCancelTest, CancelAsksAndLeavesNothingBehind)
{
    const CancelCase& c = GetParam();
    const std::wstring setup = writeSetup(description());
    std::size_t questions = 0;
    // The first question is answered No: the page stays and is asked again.
    const WizardWalk walk = walkWizard(
        setup, c.arguments, tempFolder(),
        [&](const PageSeen&, std::size_t visit) { return visit < c.pagesBefore ? kNext : kCancel; },
        [&](const BoxSeen& box) {
            if (box.text != L"Leave the setup now?")
                return IDOK;
            return ++questions == 1 ? IDNO : IDYES;
        });
    ASSERT_TRUE(walk.finished);
    EXPECT_EQ(walk.exitCode, c.exitCode);
    // The page where Cancel was answered No is seen again.
    ASSERT_EQ(walk.pages.size(), c.pagesBefore + 2);
    EXPECT_EQ(walk.pages[c.pagesBefore].caption, walk.pages.back().caption);
    ASSERT_EQ(walk.boxes.size(), 2u);
    EXPECT_EQ(walk.boxes[0].text, L"Leave the setup now?");
    EXPECT_EQ(walk.boxes[0].caption, L"Setup of Walk");
    EXPECT_FALSE(fs::exists(destination_));
    EXPECT_TRUE(fs::is_empty(folder_ / "temp"));
}

INSTANTIATE_TEST_SUITE_P(EveryPageBeforeTheInstallation, WizardCancelTest,
                         ::testing::Values(CancelCase{0, L"", 0}, CancelCase{1, L"", 0},
                                           CancelCase{1, L"/REVERT", 1}));

struct CancelDuringRun {
    int answer;
    const wchar_t* arguments;
    DWORD exitCode;
    // The page's Cancel, or a button of the template with the Cancel action.
    int cancelButton = kCancel;
};

constexpr int kTemplateCancel = 40;
constexpr int kCancelAction = 5;

class WizardCancelDuringInstallation : public WizardWalkTest,
                                       public ::testing::WithParamInterface<CancelDuringRun> {};

// The run is held for a few seconds (a slideshow's least duration), so that Cancel reaches the
// installation page while it works.
TEST_P(WizardCancelDuringInstallation, AsksFirstAndNoLetsTheRunFinish)
{
    const CancelDuringRun& c = GetParam();
    nlohmann::json d = description();
    d["templates"].erase(1);
    d["slideshow"] = {"C:\\slides\\none.bmp"};
    d["toc"]["settings"]["slideshowDuration"] = 4u;
    nlohmann::json cancelByAction = button(kTemplateCancel, "stop", 20);
    cancelByAction["action"] = kCancelAction;
    // The installation page gets the template's own Cancel button too.
    for (auto& entry : d["templates"])
        if (entry["pageType"] == kInstallation)
            entry["page"]["controls"].push_back(cancelByAction);
    const std::wstring setup = writeSetup(d);
    bool cancelled = false;
    const WizardWalk walk = walkWizard(
        setup, c.arguments, tempFolder(),
        [&](const PageSeen& page, std::size_t) {
            if (page.caption != L"Installing")
                return kNext;
            if (cancelled)
                return 0;
            cancelled = true;
            return c.cancelButton;
        },
        [&](const BoxSeen& box) { return box.text == L"Leave the setup now?" ? c.answer : IDOK; });
    ASSERT_TRUE(walk.finished);
    EXPECT_EQ(walk.exitCode, c.exitCode);
    ASSERT_EQ(walk.boxes.size(), 1u);
    EXPECT_EQ(walk.boxes[0].text, L"Leave the setup now?");
    if (c.answer == IDNO) {
        EXPECT_EQ(walk.pages.back().caption, L"Setup finished");
        EXPECT_EQ(installed().size(), 2u);
    } else {
        EXPECT_EQ(walk.pages.back().caption, L"Installing");
        EXPECT_TRUE(installed().empty()) << "the run was rolled back";
    }
}

INSTANTIATE_TEST_SUITE_P(YesAndNo, WizardCancelDuringInstallation,
                         ::testing::Values(CancelDuringRun{IDNO, L"", 1}, CancelDuringRun{IDYES, L"", 0},
                                           CancelDuringRun{IDYES, L"/REVERT", 1},
                                           CancelDuringRun{IDNO, L"", 1, kTemplateCancel},
                                           CancelDuringRun{IDYES, L"", 0, kTemplateCancel}));

struct WindowSearch {
    DWORD processId;
    const wchar_t* title;
    HWND found;
};

BOOL CALLBACK findTitledWindow(HWND window, LPARAM data) noexcept
{
    auto* search = reinterpret_cast<WindowSearch*>(data);
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    wchar_t title[64] = {};
    GetWindowTextW(window, title, 64);
    if (owner != search->processId || lstrcmpW(title, search->title) != 0)
        return TRUE;
    search->found = window;
    return FALSE;
}

// The installer's main window (the background, titled by the package) of the page's process.
HWND mainWindowBeside(HWND page)
{
    const std::string ascii = walkBackgroundTitle();
    const std::wstring title(ascii.begin(), ascii.end());
    WindowSearch search{0, title.c_str(), nullptr};
    GetWindowThreadProcessId(page, &search.processId);
    EnumWindows(findTitledWindow, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

struct LeaveAfterInstallation {
    const char* name;
    bool closeMainWindow;
};

class WizardLeaveAfterInstallation : public WizardWalkTest,
                                     public ::testing::WithParamInterface<LeaveAfterInstallation> {};

// Once the installation ran, leaving the wizard keeps it: closing the wizard's window on the
// finish page, or Cancel on a standard page placed after the installation page, asks and ends
// the installer as installed. The package's uninstaller (a stand-in that really undoes its data)
// is not run: the files, the uninstaller and its data stay.
TEST_P(WizardLeaveAfterInstallation, KeepsWhatWasInstalled)
{
    const LeaveAfterInstallation& c = GetParam();
    constexpr unsigned kWelcome = 2;
    nlohmann::json d = description();
    d["templates"].erase(1);
    if (!c.closeMainWindow) {
        const nlohmann::json after = {{"pageType", kWelcome},
                                      {"page", page("after", {text(50, "after the installation", 20)})}};
        d["templates"].insert(d["templates"].begin() + 2, after);
    }
    d["toc"]["settings"]["uninstallerName"] = "<InstallDir>\\uninst.exe";
    d["uninstaller"] = {{"file", besideTestProgram("undoing_uninstaller_standin.exe")}};
    const std::wstring setup = writeSetup(d);
    bool installationSeen = false;
    bool left = false;
    const WizardWalk walk = walkWizard(
        setup, L"", tempFolder(),
        [&](const PageSeen& page, std::size_t) {
            if (page.caption == L"Installing") {
                installationSeen = true;
                return 0;
            }
            if (!installationSeen)
                return kNext;
            if (left)
                return 0;
            left = true;
            if (!c.closeMainWindow)
                return kCancel;
            PostMessageW(mainWindowBeside(page.window), WM_CLOSE, 0, 0);
            return 0;
        },
        [](const BoxSeen& box) { return box.text == L"Leave the setup now?" ? IDYES : IDOK; });
    ASSERT_TRUE(walk.finished) << describeWalk(walk);
    EXPECT_TRUE(left) << describeWalk(walk);
    EXPECT_EQ(walk.exitCode, 1u);
    std::vector<std::string> names;
    for (const auto& [name, bytes] : installed())
        names.push_back(name);
    EXPECT_EQ(names, (std::vector<std::string>{"bin/walk.dat", "docs/guide.txt", "uninst.exe"}));
}

INSTANTIATE_TEST_SUITE_P(ClosingAndCancelling, WizardLeaveAfterInstallation,
                         ::testing::Values(LeaveAfterInstallation{"CloseTheWindowOnTheFinishPage", true},
                                           LeaveAfterInstallation{"CancelOnAStandardPageAfterIt", false}),
                         [](const auto& info) { return std::string(info.param.name); });

// A cancel answered Yes while the run works rolls it back through the package's uninstaller (a
// stand-in that undoes its data): files new and replaced, the registry, INI and text entries and
// the shortcut are as they were before.
TEST_F(WizardWalkTest, CancelDuringTheInstallationLeavesTheMachineAsItWas)
{
    const char* const productKey = "Software\\KvWizardRollback";
    RegDeleteTreeA(HKEY_CURRENT_USER, productKey);
    HKEY key = nullptr;
    RegCreateKeyExA(HKEY_CURRENT_USER, productKey, 0, nullptr, 0, KEY_WRITE, nullptr, &key, nullptr);
    RegSetValueExA(key, "Earlier", 0, REG_SZ, reinterpret_cast<const BYTE*>("kept"), 5);
    RegCloseKey(key);
    fs::create_directories(destination_ / "bin");
    writeWholeFile((destination_ / "bin" / "walk.dat").string(), bytesOf("old walk data"));
    const std::string dest = destination_.string();

    constexpr unsigned kBackUpReplacedFiles = 1u << 4;
    nlohmann::json d = description(kBackUpReplacedFiles);
    d["templates"].erase(1);
    d["slideshow"] = {"C:\\slides\\none.bmp"};
    d["toc"]["settings"]["slideshowDuration"] = 4u;
    d["files"][1]["fileFlags"] = 0x1u; // checked and backed up when replaced
    nlohmann::json& toc = d["toc"];
    toc["registry"]["HKEY_CURRENT_USER"]["subkeys"] = {
        {{"name", productKey}, {"values", {{{"name", "Folder"}, {"data", "<InstallDir>"}, {"type", 2}}}}}};
    toc["iniEntries"] = {{{"file", dest + "\\walk.ini"}, {"section", "Paths"}, {"line", "data=" + dest}}};
    toc["textFileEntries"] = {{{"mode", 1}, {"file", dest + "\\notes\\notes.txt"}, {"lineText", "installed"}}};
    toc["shortcuts"] = {{{"target", dest + "\\bin\\walk.dat"}, {"shortcutFile", dest + "\\menu\\Walk.lnk"}}};
    toc["settings"]["uninstallerName"] = "<InstallDir>\\uninst.exe";
    d["uninstaller"] = {{"file", besideTestProgram("undoing_uninstaller_standin.exe")}};
    const std::wstring setup = writeSetup(d);
    const auto filesBefore = fileTree(destination_);
    const std::string registryBefore = registryKey(HKEY_CURRENT_USER, productKey);

    bool cancelled = false;
    const WizardWalk walk = walkWizard(
        setup, L"", tempFolder(),
        [&](const PageSeen& page, std::size_t) {
            if (page.caption != L"Installing")
                return kNext;
            if (cancelled)
                return 0;
            // Cancel once the run has placed its first file (the slideshow holds it a while).
            for (int wait = 0; wait < 200 && !fs::exists(destination_ / "docs" / "guide.txt"); ++wait)
                Sleep(50);
            cancelled = true;
            return kCancel;
        },
        [](const BoxSeen& box) { return box.text == L"Leave the setup now?" ? IDYES : IDOK; });

    ASSERT_TRUE(walk.finished);
    EXPECT_EQ(walk.exitCode, 0u);
    EXPECT_EQ(fileTree(destination_), filesBefore);
    EXPECT_EQ(registryKey(HKEY_CURRENT_USER, productKey), registryBefore);
    // The run had changed the machine: its uninstaller was run (it logs in the temporary folder).
    bool uninstallerRan = false;
    for (const auto& item : fs::directory_iterator(folder_ / "temp"))
        if (item.path().extension() == ".log") {
            const Bytes log = readWholeFile(item.path().string());
            uninstallerRan |= std::string(log.begin(), log.end()).find("/SILENT /NOREMOVE") != std::string::npos;
        }
    EXPECT_TRUE(uninstallerRan);
    RegDeleteTreeA(HKEY_CURRENT_USER, productKey);
}

TEST_F(WizardWalkTest, AFailedInstallationSaysSoAndEndsNotInstalled)
{
    nlohmann::json d = description();
    d["files"][1]["corrupt"] = "crc";
    const std::wstring setup = writeSetup(d);
    const WizardWalk walk = walkWizard(
        setup, L"", tempFolder(),
        [](const PageSeen& page, std::size_t) { return page.caption == L"Installing" ? 0 : kNext; },
        [](const BoxSeen& box) { return box.text == L"Text 141" ? IDOK : IDCANCEL; });
    ASSERT_TRUE(walk.finished);
    EXPECT_EQ(walk.exitCode, 0u);
    ASSERT_FALSE(walk.boxes.empty());
    EXPECT_EQ(walk.boxes.back().text, L"Text 141");
    EXPECT_EQ(walk.pages.back().caption, L"Installing") << "the finish page is never reached";
}

// A second setup of the product started while the first shows a page (put aside, minimised)
// brings the first forward and ends; the first's page stays above its maximised background,
// and so it does when the background is clicked.
namespace {

// The window the installer's own thread holds active. Other test programs share the screen and
// may take the foreground at any moment, so the test asks the installer's thread, not the screen;
// a thread that lost the foreground to another program may hold no active window at all.
HWND activeWindowOf(HWND window)
{
    GUITHREADINFO info{};
    info.cbSize = sizeof info;
    return GetGUIThreadInfo(GetWindowThreadProcessId(window, nullptr), &info) ? info.hwndActive : nullptr;
}

// Whether upper lies above lower in the z-order (other programs' windows may lie between).
bool liesAbove(HWND upper, HWND lower)
{
    for (HWND w = GetWindow(upper, GW_HWNDNEXT); w; w = GetWindow(w, GW_HWNDNEXT))
        if (w == lower)
            return true;
    return false;
}

} // namespace

TEST_F(WizardWalkTest, ASecondSetupLeavesThePageAboveItsBackground)
{
    const std::wstring setup = writeSetup(description());
    const fs::path again = folder_ / "again.exe";
    fs::copy_file(setup, again);

    InstallerRun second;
    HWND page = nullptr, background = nullptr;
    bool backgroundRestored = false, pageShown = false, aboveAfterSecond = false, aboveAfterClick = false;
    HWND activeAfterSecond = nullptr, activeAfterClick = nullptr;
    const WizardWalk walk = walkWizard(setup, L"", tempFolder(), [&](const PageSeen& seen, std::size_t visit) {
        if (visit != 0)
            return kCancel;
        page = seen.window;
        // The user has put the setup aside (minimised) and starts it again.
        background = GetWindow(seen.window, GW_OWNER);
        ShowWindow(background, SW_MINIMIZE);
        second = runInstallerProcess(again.wstring(), L"", tempFolder());
        saveScreenshot(L"after-second-setup");
        backgroundRestored = !IsIconic(background) && IsWindowVisible(background);
        pageShown = IsWindowVisible(seen.window) != FALSE;
        // The installer answers in its own time.
        for (int i = 0; i < 200 && activeWindowOf(page) == background; ++i)
            Sleep(25);
        activeAfterSecond = activeWindowOf(page);
        aboveAfterSecond = liesAbove(page, background);
        // A click on the background, away from the page.
        SendMessageW(background, WM_MOUSEACTIVATE, reinterpret_cast<WPARAM>(background), MAKELPARAM(HTCLIENT, WM_LBUTTONDOWN));
        SetForegroundWindow(background);
        for (int i = 0; i < 200 && activeWindowOf(page) == background; ++i)
            Sleep(25);
        activeAfterClick = activeWindowOf(page);
        aboveAfterClick = liesAbove(page, background);
        return kCancel;
    }, [](const BoxSeen&) { return IDYES; });
    ASSERT_TRUE(walk.finished);
    ASSERT_TRUE(second.finished);
    EXPECT_EQ(second.exitCode, 0u);
    EXPECT_FALSE(second.windowShown);
    EXPECT_TRUE(backgroundRestored);
    EXPECT_TRUE(pageShown);
    EXPECT_TRUE(aboveAfterSecond);
    EXPECT_TRUE(aboveAfterClick);
    // The page, not the background, is the window made active: a window manager raises the active
    // window, and a full-screen one above everything else.
    EXPECT_NE(activeAfterSecond, background);
    EXPECT_NE(activeAfterClick, background);
    EXPECT_TRUE(activeAfterSecond == page || activeAfterSecond == nullptr) << activeAfterSecond;
    EXPECT_TRUE(activeAfterClick == page || activeAfterClick == nullptr) << activeAfterClick;
}

// An exception that ends the run (here the allocation for the name of a file beside the package
// whose record claims almost 2 GB) is a failed run: said so, rolled back, ended not installed,
// with nothing left in the temporary folder but the stand-in uninstaller's log.
TEST_F(WizardWalkTest, ARunThatAnExceptionEndsFailsAndIsRolledBack)
{
    if (sizeof(void*) != 4)
        GTEST_SKIP() << "a 64-bit installer can allocate the claimed size";
    constexpr std::uint32_t kClaimedSize = 0x7FFFFFF0;
    const auto withCraftedRecord = [&](std::uint32_t firstVolumeEnd) {
        nlohmann::json d = description();
        d["toc"]["settings"]["uninstallerName"] = "<InstallDir>\\uninst.exe";
        d["uninstaller"] = {{"file", besideTestProgram("undoing_uninstaller_standin.exe")}};
        // The claimed size fits the volumes its record names.
        d["files"].push_back({{"name", "<InstallDir>\\beside.dat"},
                              {"storage", "beside"},
                              {"text", "C:\\nowhere.dat"},
                              {"storedSize", kClaimedSize},
                              {"volumeCount", 2u},
                              {"endOffsets", {firstVolumeEnd, kClaimedSize}}});
        giveOwnProduct(d);
        return d;
    };
    const Bytes program = readWholeFile(fs::path(installerProgramPath()).string());
    const nlohmann::json measured = withCraftedRecord(0);
    const std::uint32_t size = static_cast<std::uint32_t>(buildPackage(program, measured).installer.size());
    nlohmann::json d = withCraftedRecord(size);
    d["toc"]["settings"]["productId"] = measured["toc"]["settings"]["productId"];
    const std::wstring setup = writeSetup(d);

    const WizardWalk walk = walkWizard(
        setup, L"", tempFolder(),
        [](const PageSeen& page, std::size_t) { return page.caption == L"Installing" ? 0 : kNext; },
        [](const BoxSeen&) { return IDOK; });
    ASSERT_TRUE(walk.finished);
    EXPECT_EQ(walk.exitCode, 0u);
    ASSERT_FALSE(walk.boxes.empty());
    EXPECT_EQ(walk.boxes.back().text, L"Text 141");
    EXPECT_TRUE(installed().empty());
    for (const auto& item : fs::directory_iterator(folder_ / "temp"))
        EXPECT_EQ(item.path().extension(), ".log") << item.path().string();
}
