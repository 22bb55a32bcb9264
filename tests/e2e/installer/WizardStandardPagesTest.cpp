// The real installer walked by clicks through every standard page (language, welcome, license,
// readme, system information, user information, destination, program group, installation type,
// components, summary), a page of the package's own, the installation with both bars and the
// finish page: captions and button texts, a refusal, the component tree and its variables, the
// summary's text, forward and back, the exit code with and without "/REVERT", and a Cancel on
// every page before the installation that leaves nothing behind.
#include "InstallerProcess.h"
#include "TestFolder.h"
#include "MachineState.h"
#include "WizardDriver.h"

#include "PackageBuilder.h"

#include <gtest/gtest.h>
#include <commctrl.h>

#include <algorithm>
#include <filesystem>
#include <map>
#include <string>

namespace fs = std::filesystem;

namespace {

enum PageType : unsigned {
    kLanguage = 1,
    kWelcome = 2,
    kLicense = 3,
    kReadme = 4,
    kSystemInfo = 5,
    kUserInfo = 6,
    kDestination = 7,
    kProgramGroup = 8,
    kInstallType = 9,
    kComponents = 10,
    kSummary = 11,
    kFinish = 12,
    kInstallation = 13,
    kUninstallerTemplate = 14,
    kOwnPage = 20,
};

constexpr int kNext = 1;
constexpr int kCancel = 2;
constexpr int kBack = 3;

// Header fields of the tables the pages read.
constexpr std::uint32_t kLicensePresent = 48;
constexpr std::uint32_t kReadmePresent = 60;
constexpr std::uint32_t kComponentCount = 176;
constexpr std::uint32_t kComponentOffset = 180;
constexpr std::uint32_t kComponentSize = 184;

// Option bits of the package.
constexpr std::uint32_t kTwoBars = 1u << 6;
constexpr std::uint32_t kLicensePlain = 1u << 8;
constexpr std::uint32_t kReadmePlain = 1u << 9;

// User information: the name shown and required, the organisation shown.
constexpr std::uint32_t kUserInfoNameAndOrganisation = 0x1 | 0x2 | 0x4;

// The page captions the walk expects, by the language text each page uses.
const std::map<std::wstring, unsigned> kCaptions = {
    {L"Language", kLanguage},           {L"Text 12", kWelcome},        {L"Text 18", kLicense},
    {L"Text 22", kReadme},              {L"Text 26", kSystemInfo},     {L"Text 63", kUserInfo},
    {L"Text 72", kDestination},         {L"Text 83", kProgramGroup},   {L"Text 88", kInstallType},
    {L"Text 97", kComponents},          {L"Text 102", kSummary},       {L"Own page", kOwnPage},
    {L"Installing", kInstallation},     {L"Setup finished", kFinish},
};

unsigned typeOf(const PageSeen& page)
{
    const auto found = kCaptions.find(page.caption);
    return found == kCaptions.end() ? 0 : found->second;
}

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
    lines[13] = "Welcome to %s";
    lines[110] = "Installing";
    lines[144] = "Setup finished";
    lines[145] = "Finish";
    lines[146] = "%s is now installed";
    return lines;
}

nlohmann::json control(const char* type, int id, int x, int y, int width, int height, std::uint32_t style = 0x50010000,
                       const std::string& text = "")
{
    return {{"type", type}, {"id", id}, {"x", x}, {"y", y}, {"width", width}, {"height", height}, {"style", style},
            {"text", text}};
}

nlohmann::json page(const std::string& title, nlohmann::json controls)
{
    controls.push_back(control("button", kBack, 170, 270, 75, 24, 0x50010000, "back"));
    controls.push_back(control("button", kNext, 250, 270, 75, 24, 0x50010000, "next"));
    controls.push_back(control("button", kCancel, 330, 270, 75, 24, 0x50010000, "cancel"));
    return {{"title", title}, {"width", 420}, {"height", 310}, {"controls", controls}};
}

nlohmann::json bar(int id, int y)
{
    return {{"type", "progressbar"}, {"id", id}, {"style", 0x50000001u}, {"x", 10}, {"y", y}, {"width", 390},
            {"height", 20}, {"textColour", 0xC56B32}, {"backColour", 0xFFFFFF}, {"action", 0}};
}

constexpr std::uint32_t kEdit = 0x50810080;
constexpr std::uint32_t kMultiLine = 0x50A00804;
constexpr std::uint32_t kList = 0x50A00001;
constexpr std::uint32_t kRadio = 0x50010009;

nlohmann::json pageEntry(unsigned type, const std::string& title, nlohmann::json controls)
{
    return {{"pageType", type}, {"page", page(title, std::move(controls))}};
}

nlohmann::json standardPages()
{
    nlohmann::json pages = nlohmann::json::array();
    pages.push_back(pageEntry(kLanguage, "language",
                              {control("static", 30, 10, 5, 390, 16), control("listbox", 10, 10, 30, 200, 100, kList)}));
    pages.push_back(pageEntry(kWelcome, "welcome",
                              {control("static", 10, 10, 10, 390, 16), control("static", 11, 10, 30, 390, 16)}));
    pages.push_back(pageEntry(kLicense, "license",
                              {control("static", 10, 10, 5, 390, 16), control("richedit", 12, 10, 25, 390, 200, kMultiLine),
                               control("static", 11, 10, 230, 390, 16)}));
    pages.push_back(pageEntry(kReadme, "readme", {control("richedit", 10, 10, 10, 390, 240, kMultiLine)}));
    pages.push_back(pageEntry(kSystemInfo, "system",
                              {control("listbox", 15, 10, 10, 390, 180, 0x50A00081), control("button", 4, 10, 200, 80, 24),
                               control("static", 14, 10, 235, 390, 16)}));
    pages.push_back(pageEntry(kUserInfo, "user",
                              {control("static", 45, 10, 10, 390, 16), control("static", 10, 10, 40, 100, 16),
                               control("static", 11, 10, 70, 100, 16), control("edit", 20, 120, 38, 250, 22, kEdit),
                               control("edit", 21, 120, 68, 250, 22, kEdit)}));
    pages.push_back(pageEntry(kDestination, "destination",
                              {control("static", 30, 10, 10, 390, 16), control("static", 31, 10, 30, 390, 16),
                               control("edit", 10, 10, 60, 300, 22, kEdit), control("button", 4, 320, 59, 80, 24)}));
    pages.push_back(pageEntry(kProgramGroup, "group",
                              {control("edit", 10, 10, 10, 390, 22, kEdit), control("listbox", 11, 10, 40, 390, 200, kList)}));
    pages.push_back(pageEntry(kInstallType, "type",
                              {control("static", 30, 10, 5, 390, 16), control("radio", 10, 10, 30, 200, 16, kRadio),
                               control("static", 25, 30, 50, 370, 16), control("radio", 11, 10, 80, 200, 16, kRadio),
                               control("static", 27, 30, 100, 370, 16), control("radio", 12, 10, 130, 200, 16, kRadio),
                               control("static", 26, 30, 150, 370, 16)}));
    pages.push_back(pageEntry(kComponents, "components",
                              {control("static", 30, 10, 5, 390, 16), control("treeview", 10, 10, 25, 250, 150, 0x50810027),
                               control("edit", 24, 270, 25, 130, 60, 0x50810844), control("static", 25, 270, 100, 130, 16),
                               control("static", 26, 270, 120, 130, 16)}));
    pages.push_back(pageEntry(kSummary, "summary", {control("edit", 10, 10, 10, 390, 240, kMultiLine)}));
    // The package's own page shows the components' variables.
    pages.push_back(pageEntry(kOwnPage, "Own page",
                              {control("static", 50, 10, 10, 390, 16, 0x50000000,
                                       "base=<II_Base> extras=<II_Extras> samples=<II_Samples>")}));
    pages.push_back(pageEntry(kInstallation, "install",
                              {control("static", 21, 10, 20, 390, 16, 0x50000000, "note"), bar(10, 60), bar(11, 100)}));
    pages.push_back(pageEntry(kFinish, "finish", {control("static", 10, 10, 20, 390, 16), control("static", 12, 10, 180, 390, 16)}));
    pages.push_back(pageEntry(kUninstallerTemplate, "uninstaller", nlohmann::json::array()));
    return pages;
}

void appendBE32(std::string& out, std::uint32_t value)
{
    for (int shift = 24; shift >= 0; shift -= 8)
        out.push_back(char(value >> shift));
}

// Three components side by side: Base (fixed), Extras (chosen by default) and Samples.
std::string componentBlock()
{
    std::string block;
    const auto component = [&](const std::string& name, const std::string& description, std::uint32_t flags,
                               std::uint32_t bytes) {
        appendBE32(block, std::uint32_t(name.size()));
        block += name;
        appendBE32(block, 0);
        appendBE32(block, std::uint32_t(description.size()));
        block += description;
        for (const std::uint32_t value : {flags, bytes, 0u, 0u, bytes})
            appendBE32(block, value);
    };
    component("Base", "The base files", 1, 2048);
    component("Extras", "Extra files", 4, 3072);
    component("Samples", "Sample songs", 0, 5120);
    return block;
}

// A table of page texts with one text for every language.
std::string pageTextTable(const std::string& text)
{
    std::string table;
    appendBE32(table, 0);
    appendBE32(table, std::uint32_t(text.size()));
    return table + text;
}

// What the walk does on a page before the button is clicked.
void setText(const PageSeen& page, int id, const std::wstring& text)
{
    SendMessageW(GetDlgItem(page.window, id), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()));
}

void chooseCustomInstallation(const PageSeen& page)
{
    for (int id : {10, 11, 12})
        SendMessageW(GetDlgItem(page.window, id), BM_SETCHECK, id == 12 ? BST_CHECKED : BST_UNCHECKED, 0);
}

// Toggles the component at that place of the tree's first level with the space bar.
void toggleComponent(const PageSeen& page, int place)
{
    HWND tree = GetDlgItem(page.window, 10);
    LRESULT item = SendMessageW(tree, TVM_GETNEXTITEM, TVGN_ROOT, 0);
    for (int i = 0; i < place && item; ++i)
        item = SendMessageW(tree, TVM_GETNEXTITEM, TVGN_NEXT, item);
    SendMessageW(tree, TVM_SELECTITEM, TVGN_CARET, item);
    SendMessageW(tree, WM_KEYDOWN, VK_SPACE, 0);
    SendMessageW(tree, WM_KEYUP, VK_SPACE, 0);
}

class WizardStandardPagesTest : public InstallerTestFolder {
protected:
    WizardStandardPagesTest() : InstallerTestFolder("dravell_pages_") {}
    void SetUp() override
    {
        InstallerTestFolder::SetUp();
        destination_ = folder_ / "dest";
        productKey_ = "Software\\KvWizardPages_" + testName();
        RegDeleteTreeA(HKEY_CURRENT_USER, productKey_.c_str());
    }
    void TearDown() override
    {
        RegDeleteTreeA(HKEY_CURRENT_USER, productKey_.c_str());
        InstallerTestFolder::TearDown();
    }

    nlohmann::json description() const
    {
        nlohmann::json d;
        auto& settings = d["toc"]["settings"];
        settings["installDir"] = destination_.string();
        settings["shortcutDir"] = "Walk Group";
        settings["productName"] = "Walk";
        settings["windowTitle"] = "Walk background";
        settings["backgroundDrawn"] = 1u;
        settings["title"] = "Walk Setup";
        settings["topColour"] = 0x804000u;
        settings["bottomColour"] = 0x200000u;
        settings["splitColour"] = 0xC08040u;
        settings["splitPercent"] = 60u;
        settings["titleColour"] = 0xFFFFFFu;
        settings["languagePageCaption"] = "Language";
        settings["languagePagePrompt"] = "Choose the language of the setup";
        settings["userInfoOptions"] = kUserInfoNameAndOrganisation;
        settings["productRegistryRoot"] = 0x80000001u;
        settings["productKey"] = productKey_;
        const std::uint32_t options = kTwoBars | kLicensePlain | kReadmePlain;
        nlohmann::json switches = nlohmann::json::array();
        for (int bit = 0; bit < 17; ++bit)
            switches.push_back(((options >> bit) & 1) != 0);
        settings["optionSwitches"] = switches;
        d["slideshow"] = {"C:\\slides\\none.bmp"};
        settings["slideshowDuration"] = 3u;
        d["toc"]["registry"]["HKEY_CURRENT_USER"]["subkeys"] = {
            {{"name", productKey_}, {"values", {{{"name", "Folder"}, {"data", "<InstallDir>"}, {"type", 2u}}}}}};
        d["languageSets"]["sets"] = {{{"name", "English"}, {"number", 1}, {"langId", 0x409}, {"lines", languageLines()}}};
        d["templates"] = standardPages();
        const std::string components = componentBlock();
        d["blocks"] = {{{"hex", hexOf(bytesOf(components))}, {"offsetField", kComponentOffset}, {"sizeField", kComponentSize}},
                       {{"hex", hexOf(bytesOf(pageTextTable("The license of the walk")))}, {"offsetField", kLicensePresent + 4}},
                       {{"hex", hexOf(bytesOf(pageTextTable("Read me first")))}, {"offsetField", kReadmePresent + 4}}};
        d["header"]["fields"] = {{std::to_string(kComponentCount), 3u},
                                 {std::to_string(kLicensePresent), 1u},
                                 {std::to_string(kLicensePresent + 8), 1u},
                                 {std::to_string(kReadmePresent), 1u},
                                 {std::to_string(kReadmePresent + 8), 1u}};
        d["files"] = {{{"name", "<InstallDir>\\bin\\walk.dat"}, {"hex", hexOf(bytesOf("walk data"))}, {"componentIndex", 0u}},
                      {{"name", "<InstallDir>\\docs\\guide.txt"}, {"hex", hexOf(bytesOf(std::string(5000, 'g')))},
                       {"componentIndex", 0u}},
                      {{"name", "<InstallDir>\\extras\\extra.txt"}, {"hex", hexOf(bytesOf("extra"))}, {"componentIndex", 1u}},
                      {{"name", "<InstallDir>\\samples\\song.mid"}, {"hex", hexOf(bytesOf("MThd"))}, {"componentIndex", 2u}}};
        return d;
    }
    using InstallerTestFolder::writeSetup;
    std::wstring writeSetup() const { return writeSetup(description()); }

    std::vector<std::string> installed() const
    {
        std::vector<std::string> files;
        if (!fs::exists(destination_))
            return files;
        for (const auto& item : fs::recursive_directory_iterator(destination_))
            if (item.is_regular_file())
                files.push_back(fs::relative(item.path(), destination_).generic_string());
        std::sort(files.begin(), files.end());
        return files;
    }
    bool productKeyPresent() const
    {
        HKEY key = nullptr;
        if (RegOpenKeyExA(HKEY_CURRENT_USER, productKey_.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS)
            return false;
        RegCloseKey(key);
        return true;
    }

    fs::path destination_;
    std::string productKey_;
};

// The walk: every page forward; the user name emptied (Next refused) and given; the destination
// emptied (refused with a message) and given back; custom installation with Extras unchecked and
// Samples checked; Back from the summary to the components and on again; Back from the package's
// own page to the summary and on to the installation and the finish.
class ForwardAndBackWalk {
public:
    explicit ForwardAndBackWalk(std::wstring destination) : destination_(std::move(destination)) {}

    int onPage(const PageSeen& page)
    {
        const unsigned type = typeOf(page);
        const int visit = visits_[type]++;
        saveScreenshot(L"page-" + std::to_wstring(type) + L"-" + std::to_wstring(visit));
        switch (type) {
        case kUserInfo:
            setText(page, 20, L"");
            nextWithEmptyName = IsWindowEnabled(GetDlgItem(page.window, kNext)) != FALSE;
            setText(page, 20, L"Walker");
            setText(page, 21, L"Walk Company");
            return kNext;
        case kDestination:
            setText(page, 10, visit == 0 ? L"" : destination_);
            return kNext;
        case kInstallType:
            chooseCustomInstallation(page);
            return kNext;
        case kComponents:
            if (visit == 0) {
                toggleComponent(page, 1);
                toggleComponent(page, 2);
                wchar_t text[256] = {};
                SendMessageW(GetDlgItem(page.window, 24), WM_GETTEXT, 256, reinterpret_cast<LPARAM>(text));
                componentDescription = text;
            }
            return kNext;
        case kSummary:
            return visit == 0 ? kBack : kNext;
        case kOwnPage:
            return visit == 0 ? kBack : kNext;
        case kInstallation:
            // The run is held a few seconds (a slideshow's least duration): both bars are seen.
            Sleep(1000);
            saveScreenshot(L"installation-running");
            return 0;
        default:
            return kNext;
        }
    }

    bool nextWithEmptyName = true;
    std::wstring componentDescription;

private:
    std::wstring destination_;
    std::map<unsigned, int> visits_;
};

} // namespace

struct ExitCase {
    const wchar_t* arguments;
    DWORD exitCode;
};

class WizardEveryStandardPage : public WizardStandardPagesTest, public ::testing::WithParamInterface<ExitCase> {};

TEST_P(WizardEveryStandardPage, ForwardAndBackToTheFinish)
{
    const auto [arguments, code] = GetParam();
    const std::wstring setup = writeSetup();
    const InstallerRun silent = runInstallerProcess(setup, L"/SILENT", tempFolder());
    ASSERT_TRUE(silent.finished);
    ASSERT_EQ(silent.exitCode, 1u);
    const auto silentFiles = installed();
    // A silent run installs every file whatever the components say.
    ASSERT_EQ(silentFiles, (std::vector<std::string>{"bin/walk.dat", "docs/guide.txt", "extras/extra.txt",
                                                     "samples/song.mid"}));
    fs::remove_all(destination_);
    RegDeleteTreeA(HKEY_CURRENT_USER, productKey_.c_str());

    ForwardAndBackWalk choices(destination_.wstring());
    const WizardWalk walk = walkWizard(setup, arguments, tempFolder(),
                                       [&](const PageSeen& page, std::size_t) { return choices.onPage(page); },
                                       [](const BoxSeen&) { return IDOK; });
    ASSERT_TRUE(walk.finished);
    EXPECT_EQ(walk.exitCode, code);

    std::vector<unsigned> types;
    for (const PageSeen& page : walk.pages)
        types.push_back(typeOf(page));
    const std::vector<unsigned> expected = {kLanguage,    kWelcome,    kLicense,     kReadme,      kSystemInfo,
                                            kUserInfo,    kDestination, kDestination, kProgramGroup, kInstallType,
                                            kComponents,  kSummary,    kComponents,  kSummary,     kOwnPage,
                                            kSummary,     kOwnPage,    kInstallation, kFinish};
    ASSERT_EQ(types, expected);

    // The one refusal: the empty destination.
    ASSERT_EQ(walk.boxes.size(), 1u);
    EXPECT_EQ(walk.boxes[0].text, L"Text 76");
    EXPECT_EQ(walk.boxes[0].caption, L"Setup of Walk");
    EXPECT_FALSE(choices.nextWithEmptyName) << "Next is refused while the required name is empty";

    // Every page before the installation has the three buttons; the first cannot go back; the
    // page before the installation offers to install.
    for (std::size_t i = 0; i + 2 < walk.pages.size(); ++i) {
        const PageSeen& page = walk.pages[i];
        EXPECT_EQ(page.item(kBack), L"< Back") << i;
        EXPECT_EQ(page.item(kCancel), L"Cancel") << i;
        EXPECT_EQ(page.item(kNext), typeOf(page) == kOwnPage ? L"Install" : L"Next >") << i;
        EXPECT_EQ(page.enabled.at(kBack), i != 0) << i;
    }

    const auto first = [&](unsigned type) -> const PageSeen& {
        return *std::find_if(walk.pages.begin(), walk.pages.end(), [&](const PageSeen& p) { return typeOf(p) == type; });
    };
    EXPECT_EQ(first(kLanguage).item(30), L"Choose the language of the setup");
    EXPECT_EQ(first(kWelcome).item(10), L"Welcome to Walk");
    EXPECT_EQ(first(kWelcome).item(11), L"Text 14");
    EXPECT_EQ(first(kLicense).item(12), L"The license of the walk");
    EXPECT_EQ(first(kLicense).item(10), L"Text 19");
    EXPECT_EQ(first(kReadme).item(10), L"Read me first");
    EXPECT_EQ(first(kUserInfo).item(10), L"Text 66 *:");
    EXPECT_EQ(first(kUserInfo).item(11), L"Text 67:");
    EXPECT_EQ(first(kDestination).item(10), destination_.wstring());
    EXPECT_EQ(first(kDestination).item(4), L"Text 1");
    EXPECT_EQ(first(kProgramGroup).item(10), L"Walk Group");
    EXPECT_EQ(first(kInstallType).item(10), L"Text 90");
    EXPECT_EQ(first(kInstallType).item(12), L"Text 94");
    EXPECT_TRUE(first(kInstallType).checked.at(10)) << "typical is the first choice";
    EXPECT_EQ(choices.componentDescription, L"Sample songs");

    // The summary: the custom installation, the components chosen with their sizes, the space
    // they need, the free space of the destination's drive and the folder.
    const std::wstring summary = first(kSummary).item(10);
    const std::wstring freeLabel = L"\r\nText 107 ";
    const auto freeAt = summary.find(freeLabel);
    ASSERT_NE(freeAt, std::wstring::npos) << fs::path(summary).string();
    const auto freeEnd = summary.find(L"\r\n", freeAt + freeLabel.size());
    const std::wstring freeSpace = summary.substr(freeAt + freeLabel.size(), freeEnd - freeAt - freeLabel.size());
    EXPECT_TRUE(freeSpace.ends_with(L"B")) << fs::path(freeSpace).string();
    EXPECT_EQ(summary, L"Text 103\r\n=====================================\r\n\r\nText 104\r\nText 94\r\nText 105\r\n"
                       L"\tBase (2 KB)\r\n\tSamples (5 KB)\r\n\r\nText 106 7 KB" + freeLabel + freeSpace +
                           L"\r\n\r\nText 108\r\n" + destination_.wstring() + L"\\" +
                           L"\r\n\r\nText 109\r\nWalk Group\r\n");
    // The second visit of the components page shows the choices kept: the summary is the same.
    EXPECT_EQ(walk.pages[13].item(10), summary);

    EXPECT_EQ(first(kOwnPage).item(50), L"base=1 extras=0 samples=1");

    const PageSeen& installation = first(kInstallation);
    EXPECT_TRUE(installation.isVisible(21)) << "the note goes with the second bar";
    EXPECT_TRUE(installation.isVisible(kCancel));

    const PageSeen& finish = walk.pages.back();
    EXPECT_EQ(finish.item(10), L"Walk is now installed");
    EXPECT_EQ(finish.item(kNext), L"Finish");

    // The silent run's files but those of the component unchecked.
    std::vector<std::string> chosenFiles = silentFiles;
    std::erase(chosenFiles, "extras/extra.txt");
    EXPECT_EQ(installed(), chosenFiles);
    EXPECT_TRUE(productKeyPresent());
}

INSTANTIATE_TEST_SUITE_P(WithAndWithoutRevert, WizardEveryStandardPage,
                         ::testing::Values(ExitCase{L"", 1}, ExitCase{L"/REVERT", 0}));

class WizardCancelOnEveryPage : public WizardStandardPagesTest, public ::testing::WithParamInterface<unsigned> {};

TEST_P(WizardCancelOnEveryPage, LeavesNothingBehind)
{
    const unsigned cancelOn = GetParam();
    const std::wstring setup = writeSetup();
    const std::wstring destination = destination_.wstring();
    const WizardWalk walk = walkWizard(
        setup, L"", tempFolder(),
        [&](const PageSeen& page, std::size_t) {
            const unsigned type = typeOf(page);
            if (type == cancelOn)
                return kCancel;
            if (type == kUserInfo)
                setText(page, 20, L"Walker");
            if (type == kInstallType)
                chooseCustomInstallation(page);
            return type == kInstallation ? 0 : kNext;
        },
        [](const BoxSeen& box) { return box.text == L"Leave the setup now?" ? IDYES : IDOK; });
    ASSERT_TRUE(walk.finished);
    EXPECT_EQ(walk.exitCode, 0u);
    ASSERT_FALSE(walk.pages.empty());
    EXPECT_EQ(typeOf(walk.pages.back()), cancelOn);
    ASSERT_EQ(walk.boxes.size(), 1u);
    EXPECT_EQ(walk.boxes[0].text, L"Leave the setup now?");
    EXPECT_FALSE(fs::exists(destination_));
    EXPECT_TRUE(fs::is_empty(folder_ / "temp"));
    EXPECT_FALSE(productKeyPresent());
}

INSTANTIATE_TEST_SUITE_P(BeforeTheInstallation, WizardCancelOnEveryPage,
                         ::testing::Values(kLanguage, kWelcome, kLicense, kReadme, kSystemInfo, kUserInfo, kDestination,
                                           kProgramGroup, kInstallType, kComponents, kSummary, kOwnPage));
