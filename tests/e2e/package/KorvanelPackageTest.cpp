// Korvanel's install package, built from packaging/korvanel the way scripts/package builds it,
// installed silently by the real installer program: every file with its content, the registry
// values, both shortcuts and the committed uninstall data are in place and the installed
// Korvanel.exe starts and shows its main window; a second run finds the installation; the
// wizard, walked from its first page to the finish page, installs the same and starts Korvanel.
// The installed German language file turns the program's texts German. The installed
// uninstaller, run as a person runs it, removes everything to the last file and registry value;
// an installation cancelled during its copy or failing on a damaged package leaves the machine
// as it was, through the same uninstaller.
#include "../installer/InstallerProcess.h"
#include "../installer/MachineState.h"
#include "../installer/WizardDriver.h"

#include "DefaultLayout.h"
#include "PackageBuilder.h"
#include "support/SharedStateLock.h"
#include "installer/uninstall/UninstallDataReader.h"

#include <gtest/gtest.h>

#include <shlobj.h>
#include <wincrypt.h>

#include <cctype>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <set>
#include <string>
#include <tuple>

namespace fs = std::filesystem;

namespace {

const char* const kProductKey = "Software\\Korvanel";
// The system's list of installed programs, and Korvanel's entry in it.
const char* const kInstalledPrograms = "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall";
const char* const kUninstallEntry = "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Korvanel";

std::string fileSha256(const fs::path& path) { return sha256(readWholeFile(path.string())); }

// A build path of this machine as Wine shows it.
std::string hostPath(const char* path) { return std::string("Z:") + path; }

// Every text of the description with the placeholders filled, as scripts/package fills them;
// the default key layout is written where defaultLayout names it.
void fillPlaceholders(nlohmann::json& node, const std::string& defaultLayout)
{
    if (node.is_object() || node.is_array()) {
        for (auto& child : node)
            fillPlaceholders(child, defaultLayout);
        return;
    }
    if (!node.is_string())
        return;
    std::string text = node.get<std::string>();
    for (const auto& [mark, value] : {std::pair{std::string("@KORVANEL_EXE@"), hostPath(KORVANEL_EXE)},
                                      std::pair{std::string("@UNINSTALLER_EXE@"), hostPath(KORVANEL_UNINSTALL_EXE)},
                                      std::pair{std::string("@DEFAULT_KBL@"), defaultLayout},
                                      std::pair{std::string("@SOURCE_DIR@"), hostPath(PACKAGE_SOURCE_DIR)}})
        for (std::size_t at = text.find(mark); at != std::string::npos; at = text.find(mark, at + value.size()))
            text.replace(at, mark.size(), value);
    node = text;
}

// The first line of a shipped text file, as the page shows it.
std::wstring firstLine(const std::string& path)
{
    const Bytes bytes = readWholeFile(path);
    const auto end = std::find_if(bytes.begin(), bytes.end(), [](std::uint8_t b) { return b == '\r' || b == '\n'; });
    return std::wstring(bytes.begin(), end);
}

std::string registryText(const char* key, const char* name)
{
    char buffer[MAX_PATH] = {};
    DWORD size = sizeof(buffer);
    if (RegGetValueA(HKEY_CURRENT_USER, key, name, RRF_RT_REG_SZ, nullptr, buffer, &size) != ERROR_SUCCESS)
        return "<missing>";
    return buffer;
}

fs::path shellFolder(int folder)
{
    wchar_t path[MAX_PATH] = {};
    SHGetFolderPathW(nullptr, folder, nullptr, SHGFP_TYPE_CURRENT, path);
    return path;
}

std::string lower(std::string text)
{
    for (char& c : text)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return text;
}

// Every "key path|value name" of the uninstall data's registry tree.
void collectValues(const uninstall_reader::Key& key, const std::string& parent, std::set<std::string>& out)
{
    const std::string path = parent.empty() ? key.name : parent + "\\" + key.name;
    for (const auto& value : key.values)
        out.insert(lower(path + "|" + value.name));
    for (const auto& sub : key.keys)
        collectValues(sub, path, out);
}

// Saves the window's picture as a 24-bit BMP.
bool saveWindowPicture(HWND window, const std::string& file)
{
    RECT rect{};
    GetWindowRect(window, &rect);
    const int width = rect.right - rect.left, height = rect.bottom - rect.top;
    if (width <= 0 || height <= 0)
        return false;
    HDC screen = GetDC(nullptr);
    HDC memory = CreateCompatibleDC(screen);
    HBITMAP bitmap = CreateCompatibleBitmap(screen, width, height);
    HGDIOBJ old = SelectObject(memory, bitmap);
    BitBlt(memory, 0, 0, width, height, screen, rect.left, rect.top, SRCCOPY);
    SelectObject(memory, old);
    BITMAPINFOHEADER info{};
    info.biSize = sizeof(info);
    info.biWidth = width;
    info.biHeight = height;
    info.biPlanes = 1;
    info.biBitCount = 24;
    const DWORD stride = (static_cast<DWORD>(width) * 3 + 3) & ~3u;
    std::string pixels(stride * static_cast<DWORD>(height), '\0');
    GetDIBits(memory, bitmap, 0, static_cast<UINT>(height), pixels.data(), reinterpret_cast<BITMAPINFO*>(&info),
              DIB_RGB_COLORS);
    DeleteObject(bitmap);
    DeleteDC(memory);
    ReleaseDC(nullptr, screen);
    BITMAPFILEHEADER header{};
    header.bfType = 0x4D42;
    header.bfOffBits = sizeof(header) + sizeof(info);
    header.bfSize = header.bfOffBits + static_cast<DWORD>(pixels.size());
    std::ofstream out(file, std::ios::binary);
    out.write(reinterpret_cast<const char*>(&header), sizeof(header));
    out.write(reinterpret_cast<const char*>(&info), sizeof(info));
    out.write(pixels.data(), static_cast<std::streamsize>(pixels.size()));
    return static_cast<bool>(out);
}

struct MainWindowSearch {
    DWORD processId = 0;
    HWND found = nullptr;
};

BOOL CALLBACK findMainWindow(HWND window, LPARAM data) noexcept
{
    auto* search = reinterpret_cast<MainWindowSearch*>(data);
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    wchar_t className[32] = {}, title[32] = {};
    GetClassNameW(window, className, 32);
    GetWindowTextW(window, title, 32);
    if (owner == search->processId && IsWindowVisible(window) && lstrcmpW(className, L"KvWinControl") == 0 &&
        lstrcmpW(title, L"VELDRANE") == 0) {
        search->found = window;
        return FALSE;
    }
    return TRUE;
}

// The visible main window of that process (other tests may run a Korvanel of their own).
HWND mainWindowOf(DWORD processId)
{
    MainWindowSearch search{processId, nullptr};
    EnumWindows(findMainWindow, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

BOOL CALLBACK collectText(HWND window, LPARAM data) noexcept
{
    wchar_t text[128] = {};
    GetWindowTextW(window, text, 128);
    reinterpret_cast<std::set<std::wstring>*>(data)->insert(text);
    return TRUE;
}

// The texts of a window's child windows (labels, buttons), read from outside its process.
std::set<std::wstring> childTexts(HWND window)
{
    std::set<std::wstring> texts;
    EnumChildWindows(window, collectText, reinterpret_cast<LPARAM>(&texts));
    return texts;
}

struct StartedSearch {
    fs::path program;
    DWORD found = 0;
};

BOOL CALLBACK findStartedKorvanel(HWND window, LPARAM data) noexcept
{
    auto* search = reinterpret_cast<StartedSearch*>(data);
    wchar_t className[32] = {}, title[32] = {};
    GetClassNameW(window, className, 32);
    GetWindowTextW(window, title, 32);
    if (!IsWindowVisible(window) || lstrcmpW(className, L"KvWinControl") != 0 || lstrcmpW(title, L"VELDRANE") != 0)
        return TRUE;
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    HANDLE process = OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, owner);
    if (!process)
        return TRUE;
    wchar_t image[MAX_PATH] = {};
    DWORD length = MAX_PATH;
    const bool named = QueryFullProcessImageNameW(process, 0, image, &length) != 0;
    CloseHandle(process);
    if (named && lstrcmpiW(image, search->program.c_str()) == 0) {
        search->found = owner;
        return FALSE;
    }
    return TRUE;
}

// The process that shows a Korvanel main window started from that program file, or 0.
DWORD korvanelStartedFrom(const fs::path& program)
{
    StartedSearch search{program};
    EnumWindows(findStartedKorvanel, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

struct UninstallerRun {
    DWORD exitCode = STILL_ACTIVE;
    bool finished = false;
    std::vector<std::wstring> boxTexts;
};

BOOL CALLBACK collectBoxText(HWND child, LPARAM data) noexcept
{
    wchar_t className[32] = {}, text[2048] = {};
    GetClassNameW(child, className, 32);
    if (lstrcmpiW(className, L"Static") == 0 && GetWindowTextW(child, text, 2048) > 0)
        *reinterpret_cast<std::wstring*>(data) += text;
    return TRUE;
}

BOOL CALLBACK collectUninstallBoxes(HWND window, LPARAM data) noexcept
{
    wchar_t className[32] = {}, title[64] = {};
    GetClassNameW(window, className, 32);
    GetWindowTextW(window, title, 64);
    if (IsWindowVisible(window) && lstrcmpW(className, L"#32770") == 0 && lstrcmpW(title, L"Korvanel Uninstall") == 0)
        reinterpret_cast<std::vector<HWND>*>(data)->push_back(window);
    return TRUE;
}

// Copies of the uninstaller that are still in the temporary folder.
bool holdsProgramCopies(const fs::path& temp)
{
    for (const auto& item : fs::directory_iterator(temp))
        if (item.path().filename().string().rfind("kvu", 0) == 0)
            return true;
    return false;
}

// Runs the installed uninstaller as a person does (no switches) with TEMP naming temp: its
// question is answered with answer, its last message with OK; returns once it and the copy it
// removes from are gone (within three minutes).
UninstallerRun uninstallAsAPerson(const fs::path& uninstaller, const fs::path& temp, int answer = IDYES,
                                  const std::wstring& arguments = L"")
{
    UninstallerRun run;
    const PROCESS_INFORMATION process = startInstallerProcess(uninstaller.wstring(), arguments, temp.wstring());
    if (!process.hProcess)
        return run;
    std::set<HWND> answered;
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::minutes(3);
    bool ended = false;
    while (std::chrono::steady_clock::now() < deadline) {
        ended = ended || WaitForSingleObject(process.hProcess, 20) == WAIT_OBJECT_0;
        std::vector<HWND> boxes;
        EnumWindows(collectUninstallBoxes, reinterpret_cast<LPARAM>(&boxes));
        for (HWND box : boxes) {
            if (answered.count(box))
                continue;
            answered.insert(box);
            std::wstring text;
            EnumChildWindows(box, collectBoxText, reinterpret_cast<LPARAM>(&text));
            run.boxTexts.push_back(text);
            saveScreenshot(L"uninstaller-box" + std::to_wstring(run.boxTexts.size()));
            const int button = GetDlgItem(box, IDYES) ? answer : IDOK;
            PostMessageW(box, WM_COMMAND, MAKEWPARAM(button, BN_CLICKED), 0);
        }
        if (ended && boxes.empty() && !holdsProgramCopies(temp)) {
            GetExitCodeProcess(process.hProcess, &run.exitCode);
            run.finished = true;
            break;
        }
    }
    if (!run.finished)
        TerminateProcess(process.hProcess, 99);
    CloseHandle(process.hProcess);
    return run;
}

// The installed Korvanel started from its own folder, as the shortcuts start it, with its main
// window once it shows (none after a minute); a program still running at the end is ended.
class InstalledKorvanel {
public:
    explicit InstalledKorvanel(const fs::path& folder)
    {
        const fs::path program = folder / "Korvanel.exe";
        std::wstring command = L"\"" + program.wstring() + L"\"";
        STARTUPINFOW startup{};
        startup.cb = sizeof(startup);
        if (!CreateProcessW(program.c_str(), command.data(), nullptr, nullptr, FALSE, 0, nullptr, folder.c_str(),
                            &startup, &process_))
            return;
        for (int i = 0; i < 1200 && !main_; ++i) {
            Sleep(50);
            main_ = mainWindowOf(process_.dwProcessId);
        }
    }
    ~InstalledKorvanel()
    {
        if (!process_.hProcess)
            return;
        TerminateProcess(process_.hProcess, 1);
        CloseHandle(process_.hProcess);
        CloseHandle(process_.hThread);
    }
    InstalledKorvanel(const InstalledKorvanel&) = delete;
    InstalledKorvanel& operator=(const InstalledKorvanel&) = delete;

    HWND mainWindow() const { return main_; }
    // Closes the main window as the user does; whether the program ended within 30 s.
    bool close() const
    {
        PostMessageW(main_, WM_CLOSE, 0, 0);
        return WaitForSingleObject(process_.hProcess, 30000) == WAIT_OBJECT_0;
    }

private:
    PROCESS_INFORMATION process_{};
    HWND main_ = nullptr;
};

class KorvanelPackage : public ::testing::Test {
protected:
    // The installation's keys, shortcuts and the list of installed programs are the machine's:
    // one test at a time, whatever the shard or program.
    const SharedStateLock machine_;

    void SetUp() override
    {
        // A parameterised test's name holds a slash.
        std::string name = ::testing::UnitTest::GetInstance()->current_test_info()->name();
        std::replace(name.begin(), name.end(), '/', '_');
        folder_ = fs::temp_directory_path() / ("korvanel_package_" + name);
        removeInstallation();
        fs::create_directories(folder_ / "temp");
        destination_ = folder_ / "Korvanel";
    }
    void TearDown() override { removeInstallation(); }

    void removeInstallation()
    {
        RegDeleteTreeA(HKEY_CURRENT_USER, kProductKey);
        RegDeleteTreeA(HKEY_CURRENT_USER, kUninstallEntry);
        std::error_code ignored;
        fs::remove_all(programShortcut().parent_path(), ignored);
        fs::remove(desktopShortcut(), ignored);
        fs::remove_all(folder_, ignored);
    }
    static fs::path programShortcut() { return shellFolder(CSIDL_PROGRAMS) / "Korvanel" / "Korvanel.lnk"; }
    static fs::path desktopShortcut() { return shellFolder(CSIDL_DESKTOPDIRECTORY) / "Korvanel.lnk"; }

    // The shipped description, filled, installing below this test's folder; the product id is
    // this process's own (one installer per product may run).
    nlohmann::json description(bool startAtFinish = false) const
    {
        std::ifstream file(hostPath(PACKAGE_SOURCE_DIR "/description.json"));
        nlohmann::json description = nlohmann::json::parse(file);
        fillPlaceholders(description, defaultLayout().string());
        description["toc"]["settings"]["installDir"] = destination_.string();
        description["toc"]["settings"]["productId"] = "Korvanel e2e " + std::to_string(GetCurrentProcessId());
        // The package preselects starting Korvanel at the finish, which a silent run does too; the
        // silent tests start the installed program themselves and see to it that it ends.
        if (!startAtFinish)
            description["toc"]["settings"]["optionSwitches"][14] = false;
        return description;
    }
    // Written by the code scripts/package runs to write it.
    fs::path defaultLayout() const { return folder_ / "Default.kbl"; }
    fs::path writeSetup() const { return writeSetup(description()); }
    fs::path writeSetup(bool startAtFinish) const { return writeSetup(description(startAtFinish)); }
    fs::path writeSetup(const nlohmann::json& description) const
    {
        kv::WriteDefaultLayout(defaultLayout().string());
        const fs::path setup = folder_ / "KorvanelSetup.exe";
        writePackageFiles(setup.string(), buildPackage(readWholeFile(fs::path(installerProgramPath()).string()), description));
        return setup;
    }
    InstallerRun install(const fs::path& setup) const
    {
        return runInstallerProcess(setup.wstring(), L"/SILENT", (folder_ / "temp").wstring());
    }

    // Everything an installation of the package may change, as one comparable text: this test's
    // folder (the installation, the setup and the temporary folder every program here uses), the
    // Start menu's folder, the desktop's shortcut, the product key and the list of installed
    // programs.
    std::string machineState() const
    {
        std::string state;
        const auto addTree = [&state](const char* title, const fs::path& root) {
            state += std::string(title) + ":\n";
            std::error_code error;
            if (!fs::exists(root, error))
                return;
            for (const auto& [path, what] : fileTree(root))
                state += "  " + path + " " + what + "\n";
        };
        addTree("test folder", folder_);
        addTree("start menu folder", programShortcut().parent_path());
        state += "desktop shortcut: " + std::string(fs::exists(desktopShortcut()) ? "there" : "none") + "\n";
        state += "product key: " + registryKey(HKEY_CURRENT_USER, kProductKey) + "\n";
        state += "installed programs: " + registryKey(HKEY_CURRENT_USER, kInstalledPrograms) + "\n";
        return state;
    }

    fs::path folder_;
    fs::path destination_;
};

TEST_F(KorvanelPackage, ASilentInstallPlacesEverythingAndTheInstalledKorvanelStarts)
{
    const fs::path setup = writeSetup();
    const auto started = std::chrono::steady_clock::now();
    const InstallerRun run = install(setup);
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
    std::printf("package %llu bytes, silent install %.2f s\n", static_cast<unsigned long long>(fs::file_size(setup)), seconds);

    ASSERT_TRUE(run.finished);
    EXPECT_EQ(run.exitCode, 1u);
    EXPECT_TRUE(run.boxTexts.empty());
    EXPECT_FALSE(run.windowShown);

    const std::pair<const char*, std::string> files[] = {
        {"Korvanel.exe", hostPath(KORVANEL_EXE)},
        {"readme.txt", hostPath(PACKAGE_SOURCE_DIR "/readme.txt")},
        {"license.txt", hostPath(PACKAGE_SOURCE_DIR "/license.txt")},
        {"de_DE.lng", hostPath(PACKAGE_SOURCE_DIR "/de_DE.lng")},
        {"Default.kbl", defaultLayout().string()},
    };
    std::vector<std::string> placed;
    for (const auto& item : fs::recursive_directory_iterator(destination_))
        placed.push_back(fs::relative(item.path(), destination_).generic_string());
    std::sort(placed.begin(), placed.end());
    EXPECT_EQ(placed, (std::vector<std::string>{"Default.kbl", "Korvanel.exe", "Uninstall.exe", "de_DE.lng", "license.txt",
                                                "readme.txt"}));
    for (const auto& [name, source] : files) {
        EXPECT_EQ(fileSha256(destination_ / name), fileSha256(source)) << name;
    }

    EXPECT_STRCASEEQ(registryText(kProductKey, "SettingsFolder").c_str(), destination_.string().c_str());
    EXPECT_EQ(registryText(kProductKey, "Version"), "1.0");
    const fs::path uninstaller = destination_ / "Uninstall.exe";
    EXPECT_STRCASEEQ(registryText(kProductKey, "Uninstaller").c_str(), uninstaller.string().c_str());
    EXPECT_TRUE(fs::exists(programShortcut())) << programShortcut().string();
    EXPECT_TRUE(fs::exists(desktopShortcut())) << desktopShortcut().string();

    // The uninstaller program comes first, then the committed data of this run.
    const Bytes program = readWholeFile(hostPath(KORVANEL_UNINSTALL_EXE));
    const Bytes installed = readWholeFile(uninstaller.string());
    ASSERT_GT(installed.size(), program.size());
    EXPECT_TRUE(std::equal(program.begin(), program.end(), installed.begin()));
    std::uint32_t oldSize = 0;
    const uninstall_reader::Data data =
        uninstall_reader::parseUninstallerFile(std::string(installed.begin(), installed.end()), &oldSize);
    EXPECT_EQ(oldSize, program.size());
    EXPECT_EQ(data.product, "Korvanel");
    EXPECT_STRCASEEQ(data.settings.c_str(), destination_.string().c_str());
    std::set<std::string> installedFiles;
    for (const auto& name : data.sections.at("Files:"))
        installedFiles.insert(lower(name));
    for (const auto& [name, source] : files) {
        EXPECT_EQ(installedFiles.count(lower((destination_ / name).string())), 1u) << name;
    }
    EXPECT_EQ(installedFiles.count(lower(programShortcut().string())), 1u);
    EXPECT_EQ(installedFiles.count(lower(desktopShortcut().string())), 1u);
    std::set<std::string> values;
    for (const auto& root : data.roots)
        for (const auto& key : root.keys)
            collectValues(key, "", values);
    for (const char* name : {"SettingsFolder", "Version", "Uninstaller"}) {
        EXPECT_EQ(values.count(lower(std::string(kProductKey) + "|" + name)), 1u) << name;
    }

    // A silent run starts nothing; the installed program starts (from its own folder, as the
    // shortcuts start it) and shows its main window.
    const fs::path korvanel = destination_ / "Korvanel.exe";
    Sleep(1000);
    EXPECT_EQ(korvanelStartedFrom(korvanel), 0u);
    const InstalledKorvanel running(destination_);
    ASSERT_NE(running.mainWindow(), nullptr) << "the main window did not appear";
    Sleep(1000);
    if (const char* picture = std::getenv("KV_PACKAGE_SCREENSHOT")) {
        EXPECT_TRUE(saveWindowPicture(running.mainWindow(), picture)) << picture;
    }
    EXPECT_TRUE(running.close());
    EXPECT_TRUE(fs::exists(destination_ / "Korvanel.ini")) << "its settings are kept in the installation folder";
}

TEST_F(KorvanelPackage, TheWizardInstallsAndItsFinishPageStartsKorvanel)
{
    constexpr int kNext = 1;
    constexpr int kLaunchBox = 22;
    const fs::path setup = writeSetup(true);
    const WizardWalk walk = walkWizard(
        setup.wstring(), L"", (folder_ / "temp").wstring(),
        [](const PageSeen& page, std::size_t visit) {
            saveScreenshot(L"korvanel-page" + std::to_wstring(visit));
            return page.caption == L"Installing" ? 0 : kNext;
        },
        [](const BoxSeen&) { return IDOK; });
    ASSERT_TRUE(walk.finished);
    EXPECT_EQ(walk.exitCode, 1u);
    EXPECT_TRUE(walk.boxes.empty()) << (walk.boxes.empty() ? "" : fs::path(walk.boxes[0].text).string());
    std::vector<std::wstring> captions;
    for (const auto& page : walk.pages)
        captions.push_back(page.caption);
    EXPECT_EQ(captions, (std::vector<std::wstring>{L"Korvanel Setup", L"Welcome", L"License agreement", L"Readme",
                                                   L"Destination folder", L"Program group", L"Ready to install",
                                                   L"Installing", L"Setup finished"}));
    // The license page is accepted with its "I Agree" button; both pages show their file.
    const auto pageCalled = [&walk](const wchar_t* caption) {
        const auto found = std::find_if(walk.pages.begin(), walk.pages.end(),
                                        [caption](const PageSeen& page) { return page.caption == caption; });
        return found == walk.pages.end() ? nullptr : &*found;
    };
    const PageSeen* license = pageCalled(L"License agreement");
    const PageSeen* readme = pageCalled(L"Readme");
    ASSERT_TRUE(license && readme);
    EXPECT_EQ(license->item(kNext), L"I &Agree");
    EXPECT_EQ(license->item(10), L"Please read the license agreement.");
    constexpr int kLicenseText = 12;
    constexpr int kReadmeText = 10;
    for (const auto& [page, id, file] : {std::tuple{license, kLicenseText, PACKAGE_SOURCE_DIR "/license.txt"},
                                         std::tuple{readme, kReadmeText, PACKAGE_SOURCE_DIR "/readme.txt"}}) {
        const std::wstring expected = firstLine(hostPath(file));
        ASSERT_FALSE(expected.empty()) << file;
        const std::wstring shown = page->item(id);
        EXPECT_EQ(shown.substr(0, shown.find_first_of(L"\r\n")), expected) << file;
    }
    // The summary names the space the installation takes, which the package's header gives.
    const PageSeen* summary = pageCalled(L"Ready to install");
    ASSERT_TRUE(summary);
    const std::wstring summaryText = summary->item(10);
    const std::size_t spaceAt = summaryText.find(L"Space required: ");
    ASSERT_NE(spaceAt, std::wstring::npos) << fs::path(summaryText).string();
    EXPECT_NE(summaryText.substr(spaceAt + 16, 2), L"0 ") << fs::path(summaryText).string();
    const PageSeen& finish = walk.pages.back();
    EXPECT_EQ(finish.item(kLaunchBox), L"Start Korvanel");
    EXPECT_TRUE(finish.isVisible(kLaunchBox));
    EXPECT_TRUE(finish.checked.count(kLaunchBox) && finish.checked.at(kLaunchBox));

    EXPECT_EQ(fileSha256(destination_ / "Korvanel.exe"), fileSha256(hostPath(KORVANEL_EXE)));
    EXPECT_EQ(registryText(kProductKey, "Version"), "1.0");
    EXPECT_TRUE(fs::exists(desktopShortcut()));

    // Finish with "Start Korvanel" checked started the installed program.
    const fs::path korvanel = destination_ / "Korvanel.exe";
    DWORD started = 0;
    for (int i = 0; i < 1200 && !started; ++i) {
        Sleep(50);
        started = korvanelStartedFrom(korvanel);
    }
    ASSERT_NE(started, 0u) << "no Korvanel main window from " << korvanel.string();
    saveScreenshot(L"korvanel-started");
    HANDLE process = OpenProcess(SYNCHRONIZE | PROCESS_TERMINATE, FALSE, started);
    ASSERT_NE(process, nullptr);
    PostMessageW(mainWindowOf(started), WM_CLOSE, 0, 0);
    EXPECT_EQ(WaitForSingleObject(process, 30000), WAIT_OBJECT_0);
    TerminateProcess(process, 1);
    CloseHandle(process);
}

// The product key names the installed version and its uninstaller: a second silent run starts
// that uninstaller silently before it installs again.
TEST_F(KorvanelPackage, ASecondRunFindsThePreviousInstallation)
{
    const fs::path setup = writeSetup();
    const InstallerRun first = install(setup);
    ASSERT_TRUE(first.finished);
    ASSERT_EQ(first.exitCode, 1u);
    const fs::path uninstaller = destination_ / "Uninstall.exe";
    ASSERT_TRUE(fs::exists(uninstaller));

    // A file the first installation did not place stays through the removal; one it placed and
    // the second does not place again goes.
    std::ofstream(destination_ / "mine.txt") << "the user's";
    const std::string installed = machineState();
    const fs::path notPlacedAgain = destination_ / "de_DE.lng";
    const nlohmann::json firstDescription = description();
    nlohmann::json d = description();
    d["files"].erase(3);
    ASSERT_EQ(firstDescription["files"][3]["name"], "<InstallDir>\\de_DE.lng");
    const fs::path secondSetup = writeSetup(d);

    const InstallerRun second = install(secondSetup);
    ASSERT_TRUE(second.finished);
    EXPECT_EQ(second.exitCode, 1u);
    EXPECT_TRUE(second.boxTexts.empty());
    EXPECT_FALSE(fs::exists(notPlacedAgain)) << "the first installation was removed";
    EXPECT_TRUE(fs::exists(destination_ / "mine.txt"));
    // The second run placed the program and its uninstaller again; the uninstaller wrote no log.
    EXPECT_EQ(fileSha256(destination_ / "Korvanel.exe"), fileSha256(hostPath(KORVANEL_EXE)));
    EXPECT_TRUE(fs::exists(uninstaller));
    EXPECT_FALSE(fs::exists(uninstaller.string() + ".log"));
}

// Run from the Start menu or the list of installed programs, the uninstaller asks first, then
// removes every file, shortcut, folder, registry value and key of the installation, its own entry
// in the list and itself, and says so: the machine is as it was before the installation. Answered
// No, it removes nothing.
TEST_F(KorvanelPackage, TheInstalledUninstallerRemovesEverythingWhenAPersonRunsIt)
{
    const fs::path setup = writeSetup();
    const std::string before = machineState();
    const InstallerRun run = install(setup);
    ASSERT_TRUE(run.finished);
    ASSERT_EQ(run.exitCode, 1u);
    const fs::path uninstaller = destination_ / "Uninstall.exe";
    EXPECT_EQ(registryText(kUninstallEntry, "DisplayName"), "Korvanel");
    EXPECT_STRCASEEQ(registryText(kUninstallEntry, "UninstallString").c_str(),
                     ("\"" + uninstaller.string() + "\"").c_str());
    EXPECT_TRUE(fs::exists(programShortcut().parent_path() / "Uninstall Korvanel.lnk"));
    const std::string installed = machineState();

    const UninstallerRun declined = uninstallAsAPerson(uninstaller, folder_ / "temp", IDNO);
    ASSERT_TRUE(declined.finished);
    EXPECT_EQ(declined.exitCode, 0u) << "nothing was removed";
    EXPECT_EQ(machineState(), installed);

    const UninstallerRun removal = uninstallAsAPerson(uninstaller, folder_ / "temp");
    ASSERT_TRUE(removal.finished);
    EXPECT_EQ(removal.exitCode, 1u);
    ASSERT_EQ(removal.boxTexts.size(), 2u);
    EXPECT_EQ(removal.boxTexts[0], L"Do you want to remove Korvanel and all of its components from your computer?");
    EXPECT_EQ(removal.boxTexts[1].rfind(L"Korvanel was removed from your computer.", 0), 0u)
        << fs::path(removal.boxTexts[1]).string();
    EXPECT_EQ(machineState(), before);
}

// "/SILENT" alone removes everything and the uninstaller itself without a window.
TEST_F(KorvanelPackage, TheInstalledUninstallerRunSilentlyRemovesEverything)
{
    const fs::path setup = writeSetup();
    const std::string before = machineState();
    const InstallerRun run = install(setup);
    ASSERT_TRUE(run.finished);
    ASSERT_EQ(run.exitCode, 1u);

    const UninstallerRun removal = uninstallAsAPerson(destination_ / "Uninstall.exe", folder_ / "temp", IDYES, L"/SILENT");
    ASSERT_TRUE(removal.finished);
    EXPECT_EQ(removal.exitCode, 1u);
    EXPECT_TRUE(removal.boxTexts.empty());
    EXPECT_EQ(machineState(), before);
}

enum class Abort { CancelDuringTheCopy, CorruptMember, MissingVolume, TruncatedVolume };

struct AbortCase {
    const char* name;
    Abort abort;
};

class KorvanelAbort : public KorvanelPackage, public ::testing::WithParamInterface<AbortCase> {};

// An installation cancelled while it copies, or failing on a damaged package, is rolled back by
// the package's own uninstaller: the machine is as it was, the temporary folder included.
TEST_P(KorvanelAbort, LeavesTheMachineAsItWas)
{
    const AbortCase& c = GetParam();
    nlohmann::json d = description();
    // The last file fails, after the others were placed; "split" keeps its first bytes in the
    // installer and the rest in volume 2.
    nlohmann::json& last = d["files"].back();
    switch (c.abort) {
    case Abort::CancelDuringTheCopy:
        // A slideshow holds the run for its least duration, so that Cancel reaches it.
        d["slideshow"] = {"C:\\slides\\none.bmp"};
        d["toc"]["settings"]["slideshowDuration"] = 4u;
        break;
    case Abort::CorruptMember: last["corrupt"] = "crc"; break;
    case Abort::MissingVolume:
    case Abort::TruncatedVolume: last["split"] = {16u}; break;
    }
    const fs::path setup = writeSetup(d);
    const fs::path volume = volumePath(setup.string(), 2);
    if (c.abort == Abort::MissingVolume)
        fs::remove(volume);
    if (c.abort == Abort::TruncatedVolume)
        fs::resize_file(volume, fs::file_size(volume) / 2);
    const std::string before = machineState();

    if (c.abort == Abort::CancelDuringTheCopy) {
        constexpr int kNext = 1;
        constexpr int kCancel = 2;
        bool cancelled = false;
        const WizardWalk walk = walkWizard(
            setup.wstring(), L"", (folder_ / "temp").wstring(),
            [&](const PageSeen& page, std::size_t) {
                if (page.caption != L"Installing")
                    return kNext;
                if (cancelled)
                    return 0;
                // Cancel once the run has placed its first file.
                for (int wait = 0; wait < 200 && !fs::exists(destination_ / "Korvanel.exe"); ++wait)
                    Sleep(50);
                cancelled = true;
                return kCancel;
            },
            [](const BoxSeen& box) { return box.text.find(L'?') != std::wstring::npos ? IDYES : IDOK; });
        ASSERT_TRUE(walk.finished) << describeWalk(walk);
        EXPECT_TRUE(cancelled) << describeWalk(walk);
        EXPECT_EQ(walk.exitCode, 0u);
    } else {
        const InstallerRun run = install(setup);
        ASSERT_TRUE(run.finished);
        EXPECT_EQ(run.exitCode, 0u);
    }
    EXPECT_EQ(machineState(), before);
}

const AbortCase kAbortCases[] = {
    {"CancelDuringTheCopy", Abort::CancelDuringTheCopy},
    {"CorruptMember", Abort::CorruptMember},
    {"MissingVolume", Abort::MissingVolume},
    {"TruncatedVolume", Abort::TruncatedVolume},
};

INSTANTIATE_TEST_SUITE_P(Aborts, KorvanelAbort, ::testing::ValuesIn(kAbortCases),
                         [](const auto& info) { return std::string(info.param.name); });

// With the settings naming the shipped German language file, the installed Korvanel shows its
// texts in German.
TEST_F(KorvanelPackage, TheInstalledKorvanelShowsGermanTextsWithTheShippedLanguageFile)
{
    const InstallerRun run = install(writeSetup());
    ASSERT_TRUE(run.finished);
    ASSERT_EQ(run.exitCode, 1u);
    std::ofstream(destination_ / "Korvanel.ini", std::ios::binary) << "[Common]\r\nLanguageOverride=de_DE.lng\r\n";

    std::set<std::wstring> texts;
    {
        const InstalledKorvanel installed(destination_);
        ASSERT_NE(installed.mainWindow(), nullptr) << "the main window did not appear";
        Sleep(1000);
        texts = childTexts(installed.mainWindow());
        if (const char* picture = std::getenv("KV_PACKAGE_GERMAN_SCREENSHOT")) {
            EXPECT_TRUE(saveWindowPicture(installed.mainWindow(), picture)) << picture;
        }
        EXPECT_TRUE(installed.close());
    }

    for (const wchar_t* german : {L"Tempo:", L"Lautst.:", L"Oktave:", L"Datei:"}) {
        EXPECT_EQ(texts.count(german), 1u) << fs::path(german).string();
    }
    for (const wchar_t* english : {L"Speed:", L"Volume:", L"Octave:", L"File:"}) {
        EXPECT_EQ(texts.count(english), 0u) << fs::path(english).string();
    }
}

} // namespace
