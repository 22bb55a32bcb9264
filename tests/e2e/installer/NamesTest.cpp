// Names of no code page (é, ü, 音, an emoji) through the real installer: a destination the
// package names or the user types, the files and folders below it, registry key and value names
// and texts, INI and text-file entries, a shortcut and the finish page's launches all arrive as
// written, read back through the system's wide functions.
#include "InstallerProcess.h"
#include "TestFolder.h"
#include "MachineState.h"
#include "WizardDriver.h"

#include "PackageBuilder.h"
#include "installer/install/win/StandinLog.h"
#include "installer/system/win/BesideTestProgram.h"

#include <gtest/gtest.h>

#include <objidl.h>
#include <shlobj.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <string>
#include <thread>

namespace fs = std::filesystem;

namespace {

constexpr const wchar_t* kFolder = L"Mein Ordner \u00DC \u266A \u97F3 \U0001F3B9";
constexpr const wchar_t* kFile = L"caf\u00E9 \u00FCber na\u00EFve.txt";
constexpr const wchar_t* kDeepFile = L"\u97F3\u697D\\\U0001F3B5 Lied.mid";
constexpr const wchar_t* kProgram = L"\U0001F3B9 Klavier.exe";
constexpr const wchar_t* kReadme = L"Liesmich \u266A.exe";
constexpr const wchar_t* kValueName = L"Gr\u00F6\u00DFe \u266A \u97F3 \U0001F600";

std::string utf8(const std::wstring& wide)
{
    const int bytes = WideCharToMultiByte(CP_UTF8, 0, wide.c_str(), -1, nullptr, 0, nullptr, nullptr);
    std::string out(static_cast<std::size_t>(bytes > 0 ? bytes : 1), '\0');
    WideCharToMultiByte(CP_UTF8, 0, wide.c_str(), -1, out.data(), bytes, nullptr, nullptr);
    out.resize(out.size() - 1);
    return out;
}

std::string utf8(const fs::path& path)
{
    return utf8(path.wstring());
}

std::wstring registryText(const std::wstring& key, const std::wstring& name)
{
    wchar_t buffer[1024] = {};
    DWORD size = sizeof(buffer);
    if (RegGetValueW(HKEY_CURRENT_USER, key.c_str(), name.c_str(), RRF_RT_REG_SZ, nullptr, buffer, &size) != ERROR_SUCCESS)
        return L"<missing>";
    return buffer;
}

// The target of a shortcut as the shell opens it: its item list.
std::wstring shortcutTarget(const fs::path& link)
{
    CoInitialize(nullptr);
    std::wstring target = L"<unreadable>";
    IShellLinkW* shellLink = nullptr;
    if (SUCCEEDED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW,
                                   reinterpret_cast<void**>(&shellLink)))) {
        IPersistFile* file = nullptr;
        if (SUCCEEDED(shellLink->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&file)))) {
            LPITEMIDLIST items = nullptr;
            if (SUCCEEDED(file->Load(link.c_str(), STGM_READ)) && SUCCEEDED(shellLink->GetIDList(&items)) && items) {
                wchar_t path[MAX_PATH] = {};
                if (SHGetPathFromIDListW(items, path))
                    target = path;
                CoTaskMemFree(items);
            }
            file->Release();
        }
        shellLink->Release();
    }
    CoUninitialize();
    return target;
}

class Names : public InstallerTestFolder {
protected:
    Names() : InstallerTestFolder("dravell_names_") {}
    void SetUp() override
    {
        InstallerTestFolder::SetUp();
        destination_ = folder_ / kFolder / L"Korvanel";
        productKey_ = L"Software\\KvNames_" + fs::path(testName()).wstring() + L" \u266A \u97F3";
        RegDeleteTreeW(HKEY_CURRENT_USER, productKey_.c_str());
    }
    void TearDown() override
    {
        RegDeleteTreeW(HKEY_CURRENT_USER, productKey_.c_str());
        InstallerTestFolder::TearDown();
    }

    nlohmann::json description() const
    {
        const Bytes program = readWholeFile(besideTestProgram("program_standin.exe"));
        nlohmann::json d;
        d["toc"]["settings"]["installDir"] = utf8(destination_);
        d["toc"]["settings"]["productName"] = "Names";
        d["files"] = {{{"name", "<InstallDir>\\" + utf8(std::wstring(kFile))}, {"hex", hexOf({'x'})}},
                      {{"name", "<InstallDir>\\" + utf8(std::wstring(kDeepFile))}, {"hex", hexOf({'M', 'T', 'h', 'd'})}},
                      {{"name", "<InstallDir>\\" + utf8(std::wstring(kProgram))}, {"hex", hexOf(program)}},
                      {{"name", "<InstallDir>\\" + utf8(std::wstring(kReadme))}, {"hex", hexOf(program)}}};
        constexpr int kStoredString = 2;
        d["toc"]["registry"]["HKEY_CURRENT_USER"]["subkeys"] = {
            {{"name", utf8(productKey_)},
             {"values",
              {{{"name", "SettingsFolder"}, {"data", "<InstallDir>"}, {"type", kStoredString}},
               {{"name", utf8(std::wstring(kValueName))}, {"data", "<InstallDir>\\" + utf8(std::wstring(kFile))},
                {"type", kStoredString}}}}}};
        return d;
    }

    // The files and registry values the package names, where it names them.
    void expectInstalledAsWritten(const fs::path& destination, std::vector<std::wstring> expected) const
    {
        EXPECT_TRUE(fs::is_regular_file(destination / kFile));
        EXPECT_TRUE(fs::is_regular_file(destination / kDeepFile));
        EXPECT_TRUE(fs::is_regular_file(destination / kProgram));
        EXPECT_EQ(registryText(productKey_, L"SettingsFolder"), destination.wstring());
        EXPECT_EQ(registryText(productKey_, kValueName), (destination / kFile).wstring());
        // Nothing under another name: the folder holds exactly these.
        std::vector<std::wstring> names;
        for (const auto& item : fs::directory_iterator(destination))
            names.push_back(item.path().filename().wstring());
        std::sort(names.begin(), names.end());
        expected.insert(expected.end(), {kFile, kProgram, kReadme, L"\u97F3\u697D"});
        std::sort(expected.begin(), expected.end());
        EXPECT_EQ(names, expected);
    }

    fs::path destination_;
    std::wstring productKey_;
};

} // namespace

TEST_F(Names, ASilentRunPlacesEveryNameAsThePackageWritesIt)
{
    nlohmann::json d = description();
    const std::string dest = utf8(destination_);
    const std::string ini = dest + "\\Einstellungen \xC3\xBC.ini";
    const std::string notes = dest + "\\Notizen \xE9\x9F\xB3.txt";
    const std::string link = dest + "\\Men\xC3\xBC\\Klavier \xE2\x99\xAA.lnk";
    d["toc"]["iniEntries"] = {{{"file", ini}, {"section", "Ordner \xE2\x99\xAA"}, {"line", "Pfad \xE9\x9F\xB3=" + dest}}};
    d["toc"]["textFileEntries"] = {{{"mode", 1}, {"file", notes}, {"lineText", "installiert \xE2\x99\xAA"}}};
    d["toc"]["shortcuts"] = {{{"target", dest + "\\" + utf8(std::wstring(kProgram))}, {"shortcutFile", link}}};

    const InstallerRun result = runInstallerProcess(writeSetup(d), L"/SILENT", tempFolder());
    ASSERT_TRUE(result.finished);
    EXPECT_EQ(result.exitCode, 1u);
    EXPECT_TRUE(result.boxTexts.empty());

    wchar_t value[MAX_PATH] = {};
    GetPrivateProfileStringW(L"Ordner \u266A", L"Pfad \u97F3", L"", value, MAX_PATH,
                             (destination_ / L"Einstellungen \u00FC.ini").c_str());
    EXPECT_EQ(std::wstring(value), destination_.wstring());
    std::ifstream notesFile(destination_ / L"Notizen \u97F3.txt", std::ios::binary);
    const std::string notesText((std::istreambuf_iterator<char>(notesFile)), std::istreambuf_iterator<char>());
    EXPECT_EQ(notesText, "installiert \xE2\x99\xAA\r\n");
    EXPECT_EQ(shortcutTarget(destination_ / L"Men\u00FC" / L"Klavier \u266A.lnk"), (destination_ / kProgram).wstring());
    expectInstalledAsWritten(destination_, {L"Einstellungen \u00FC.ini", L"Notizen \u97F3.txt", L"Men\u00FC"});
}

namespace {

// Page types and controls of a short walk: the destination, the installation and the finish.
constexpr unsigned kDestinationPage = 7;
constexpr unsigned kInstallationPage = 13;
constexpr unsigned kFinishPage = 12;
constexpr unsigned kUninstallerTemplate = 14;
constexpr int kNext = 1;
constexpr int kCancel = 2;
constexpr int kBack = 3;
constexpr int kFolderEdit = 10;
constexpr int kReadmeBox = 23;

nlohmann::json control(const char* type, int id, int y, std::uint32_t style = WS_CHILD | WS_VISIBLE)
{
    return {{"type", type}, {"id", id}, {"style", style}, {"text", ""}, {"x", 10}, {"y", y}, {"width", 300}, {"height", 20}};
}

nlohmann::json page(unsigned type, nlohmann::json controls)
{
    for (const auto& [id, x] : {std::pair{kBack, 120}, std::pair{kNext, 210}, std::pair{kCancel, 300}})
        controls.push_back({{"type", "button"}, {"id", id}, {"text", "b"}, {"x", x}, {"y", 230}, {"width", 80}, {"height", 24}});
    return {{"pageType", type}, {"page", {{"title", "t"}, {"width", 400}, {"height", 300}, {"controls", controls}}}};
}

nlohmann::json walkPages()
{
    const std::uint32_t edit = WS_CHILD | WS_VISIBLE | WS_BORDER | ES_AUTOHSCROLL;
    const std::uint32_t checkBox = WS_CHILD | WS_VISIBLE | BS_AUTOCHECKBOX;
    return {page(kDestinationPage, {control("static", 30, 10), control("static", 31, 30), control("edit", kFolderEdit, 60, edit),
                                    control("button", 4, 90)}),
            page(kInstallationPage, {control("static", 21, 20), {{"type", "progressbar"}, {"id", 10}, {"style", 0x50000001u},
                                                                 {"x", 10}, {"y", 60}, {"width", 370}, {"height", 20},
                                                                 {"textColour", 0}, {"backColour", 0xFFFFFF}, {"action", 0}}}),
            page(kFinishPage, {control("static", 10, 20), control("checkbox", 22, 110, checkBox),
                               control("checkbox", kReadmeBox, 130, checkBox), control("static", 12, 180)}),
            page(kUninstallerTemplate, nlohmann::json::array())};
}

nlohmann::json languageLines()
{
    nlohmann::json lines = nlohmann::json::array();
    for (int i = 0; i < 160; ++i)
        lines.push_back("Text " + std::to_string(i));
    lines[110] = "Installing";
    lines[144] = "Setup finished";
    return lines;
}

// The stand-ins' start lines once count of them are written (each is written as its program
// starts, after the installer has ended).
std::vector<StandinStart> waitForStarts(const StandinLog& log, std::size_t count)
{
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(60);
    std::vector<StandinStart> starts = log.starts();
    while (starts.size() < count && std::chrono::steady_clock::now() < deadline) {
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
        starts = log.starts();
    }
    return starts;
}

} // namespace

TEST_F(Names, ATypedDestinationIsWhereEverythingLandsAndTheFinishLaunchesStartFromIt)
{
    const fs::path typed = folder_ / L"Getippt \u00E9 \u266A \u97F3 \U0001F600" / L"Korvanel";
    nlohmann::json d = description();
    d["toc"]["settings"]["programToStart"] = "<InstallDir>\\" + utf8(std::wstring(kProgram));
    d["toc"]["settings"]["readmeToOpen"] = "<InstallDir>\\" + utf8(std::wstring(kReadme));
    // The finish page offers both launches; the program's is checked already.
    const std::uint32_t options = (1u << 3) | (1u << 2) | (1u << 14);
    nlohmann::json switches = nlohmann::json::array();
    for (int bit = 0; bit < 17; ++bit)
        switches.push_back(((options >> bit) & 1) != 0);
    d["toc"]["settings"]["optionSwitches"] = switches;
    d["languageSets"]["sets"] = {{{"name", "English"}, {"number", 1}, {"langId", 0x409}, {"lines", languageLines()}}};
    d["templates"] = walkPages();
    const std::wstring setup = writeSetup(d);

    const StandinLog log((folder_ / "starts.log").string());
    const WizardWalk walk = walkWizard(setup, L"", tempFolder(), [&](const PageSeen& seen, std::size_t) {
        if (seen.caption == L"Installing")
            return 0;
        if (seen.caption == L"Setup finished")
            SendMessageW(GetDlgItem(seen.window, kReadmeBox), BM_SETCHECK, BST_CHECKED, 0);
        else if (seen.caption == L"Text 72") {
            SendMessageW(GetDlgItem(seen.window, kFolderEdit), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(typed.c_str()));
            saveScreenshot(L"destination-typed");
        }
        return kNext;
    }, [](const BoxSeen&) { return IDOK; });
    ASSERT_TRUE(walk.finished);
    EXPECT_EQ(walk.exitCode, 1u);
    EXPECT_TRUE(walk.boxes.empty()) << (walk.boxes.empty() ? "" : utf8(walk.boxes[0].text));

    EXPECT_FALSE(fs::exists(destination_));
    expectInstalledAsWritten(typed, {});

    // Both launches start the programs installed under the typed name, in their folder.
    std::vector<StandinStart> starts = waitForStarts(log, 2);
    ASSERT_EQ(starts.size(), 2u);
    std::sort(starts.begin(), starts.end(), [](const auto& a, const auto& b) { return a.program < b.program; });
    EXPECT_EQ(starts[0].program, utf8(typed / kReadme));
    EXPECT_EQ(starts[1].program, utf8(typed / kProgram));
    EXPECT_EQ(starts[1].commandLine, "\"" + utf8(typed / kProgram) + "\"");
    EXPECT_EQ(starts[1].folder, utf8(typed));
}
