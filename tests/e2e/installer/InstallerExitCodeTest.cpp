// The real installer program carrying packages from the builder: its exit codes with and
// without "/REVERT", silent (no window, boxes answered by their defaults) and not (each box
// shown and answered), and the run from a network path.
#include "InstallerProcess.h"
#include "TestFolder.h"

#include "PackageBuilder.h"
#include "installer/system/win/BesideTestProgram.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <string>

namespace fs = std::filesystem;

namespace {

const std::wstring kTocNotRead = L"Couldn't read TOC. Aborting.";
const std::wstring kChecksumMismatch = L"Checksum mismatch. The installation is corrupt or has been tampered with. If you downloaded this file from the internet, try downloading it again.";
const std::wstring kNoLanguageSet = L"Initialization failed. Aborting. Error code: -16";
const std::wstring kDefaultCaption = L"Dravell Installer";
const std::wstring kSizeMismatch = L"File size mismatch: This file is corrupted; If you downloaded this file from the internet, try downloading it again";

Bytes installerWithPackage(const char* description, std::size_t cutFromEnd = 0)
{
    const Bytes program = readWholeFile(fs::path(installerProgramPath()).string());
    nlohmann::json parsed = nlohmann::json::parse(description);
    giveOwnProduct(parsed);
    Bytes file = buildInstallerWithPackage(program, parsed);
    file.resize(file.size() - cutFromEnd);
    return file;
}

std::vector<fs::path> localCopiesIn(const fs::path& folder)
{
    std::vector<fs::path> copies;
    for (const auto& entry : fs::directory_iterator(folder))
        if (entry.path().filename().string().rfind("dxw", 0) == 0 && entry.path().extension() == ".exe")
            copies.push_back(entry.path());
    return copies;
}

class InstallerExitCode : public InstallerTestFolder {
protected:
    InstallerExitCode() : InstallerTestFolder("dravell_e2e_") {}
    void SetUp() override
    {
        InstallerTestFolder::SetUp();
    }

    std::wstring writeSetup(const Bytes& bytes)
    {
        const fs::path setup = folder_ / "setup.exe";
        writeWholeFile(setup.string(), bytes);
        return setup.wstring();
    }

};

struct ExitCase {
    const char* name;
    const char* description;
    std::size_t cut;
    const wchar_t* arguments;
    DWORD exitCode;
    std::vector<std::wstring> boxes;
    std::wstring caption = kDefaultCaption;
    // The wizard's main window is made (and shown) before its first page.
    bool mainWindow = false;
};

// A package with every resource: its table, a language set giving the setup title, a dialog
// font, a plug-in and the uninstaller program, all unpacked into temporary files that must be
// gone at the end; a silent run commits the uninstaller into the destination.
std::string packageWithResources(const fs::path& destination)
{
    nlohmann::json package = nlohmann::json::parse(R"({
        "toc": {"settings": {"productName": "E2E <Edition>", "uninstallerName": "<InstallDir>\\uninst.exe"},
                "variables": [{"name": "<Edition>", "default": "Home"}]},
        "languageSets": {"sets": [{"lines": ["", "", "", "", "", "", "", "", "Setup of %s"]}]},
        "fonts": [{"file": "Z:\\usr\\share\\fonts\\truetype\\dejavu\\DejaVuSans.ttf"}],
        "uninstaller": {"text": "MZ uninstaller"}})");
    package["pluginLibrary"] = {{"file", besideTestProgram("plugin_standin.dll")}};
    package["toc"]["settings"]["installDir"] = destination.string();
    return package.dump();
}

} // namespace

namespace {

// A package without a table of contents stops at reading it; one with a table unpacks its
// resources and calls its plug-in's first entry points; a run with boxes makes the wizard's main
// window and runs a wizard without pages, which installs nothing; a silent run installs (these
// packages carry no files).
// "/REVERT" inverts every code. Each row is a test of its own, so that the rows run side by side.
const char* const kResources = nullptr; // the package of packageWithResources()
const char* const kWithToc = R"({"toc": {"settings": {"productName": "E2E", "installDir": "C:\\E2E"}}})";
// The wizard starts and ends at once: with no installation page nothing is installed.
const char* const kLanguageNoPages = R"({"toc": {"settings": {"productName": "E2E", "installDir": "C:\\E2E"}},
    "languageSets": {"sets": [{"lines": ["Back"]}]}})";
const char* const kSilentToc = R"({"toc": {"settings": {"silent": true}}})";
const char* const kOnceScrambledToc = R"({"toc": {"scrambleCount": 1}})";
const char* const kTocPastTheEnd = R"({"toc": {}, "header": {"fields": {"4": 100000000}}})";
const char* const kCutToc = R"({"toc": {"rawPlainHex": "00000000 00000000 00000000"}})";

const ExitCase kExitCases[] = {
    {"resources unpacked, with boxes", kResources, 0, L"", 0, {}, L"Setup of E2E Home", true},
    {"resources unpacked, with boxes, revert", kResources, 0, L"/REVERT", 1, {}, L"Setup of E2E Home", true},
    {"wizard without pages", kLanguageNoPages, 0, L"", 0, {}, kDefaultCaption, true},
    {"wizard without pages, revert", kLanguageNoPages, 0, L"/REVERT", 1, {}, kDefaultCaption, true},
    {"resources unpacked, silent", kResources, 0, L"/SILENT", 1, {}},
    {"resources unpacked, silent, revert", kResources, 0, L"/SILENT /REVERT", 0, {}},
    {"table read, with boxes", kWithToc, 0, L"", 0, {kNoLanguageSet}},
    {"table read, with boxes, revert", kWithToc, 0, L"/REVERT", 1, {kNoLanguageSet}},
    {"table read, silent", kWithToc, 0, L"/SILENT", 1, {}},
    {"silent by the table's switch", kSilentToc, 0, L"", 1, {}},
    {"silent by the table's switch, revert", kSilentToc, 0, L"/REVERT", 0, {}},
    {"table scrambled once, with boxes", kOnceScrambledToc, 0, L"", 0, {kTocNotRead}},
    {"table past the end of the file, with boxes", kTocPastTheEnd, 0, L"", 0, {kTocNotRead}},
    {"table cut short, with boxes, revert", kCutToc, 0, L"/REVERT", 1, {kTocNotRead}},
    {"valid, silent", "{}", 0, L"/SILENT", 0, {}},
    {"valid, silent in lower case, revert", "{}", 0, L"/silent /revert", 1, {}},
    {"valid, with boxes", "{}", 0, L"", 0, {kTocNotRead}},
    {"valid, with boxes, revert", "{}", 0, L"/REVERT", 1, {kTocNotRead}},
    {"cut trailer, with boxes", "{}", 3, L"", 0, {kChecksumMismatch, kTocNotRead}},
    {"cut trailer, silent, revert", "{}", 3, L"/SILENT /REVERT", 1, {}},
    {"header of 1001 bytes, with boxes, revert", R"({"header": {"size": 1001}})", 0, L"/REVERT", 1, {kSizeMismatch, kTocNotRead}},
};

// "table read, with boxes" names its test TableReadWithBoxes.
std::string caseTestName(const ::testing::TestParamInfo<ExitCase>& info)
{
    std::string name;
    bool wordStart = true;
    for (const char* p = info.param.name; *p; ++p) {
        if (std::isalnum(static_cast<unsigned char>(*p))) {
            name += wordStart ? static_cast<char>(std::toupper(static_cast<unsigned char>(*p))) : *p;
            wordStart = false;
        } else {
            wordStart = true;
        }
    }
    return name;
}

} // namespace

class InstallerExitMatrix : public InstallerExitCode, public ::testing::WithParamInterface<ExitCase> {};

TEST_P(InstallerExitMatrix, ExitCodeBoxesAndNoTemporaryFilesLeft)
{
    const ExitCase& c = GetParam();
    const std::string description = c.description ? c.description : packageWithResources(folder_ / "dest");
    const std::wstring setup = writeSetup(installerWithPackage(description.c_str(), c.cut));
    const InstallerRun run = runInstallerProcess(setup, c.arguments, tempFolder());
    ASSERT_TRUE(run.finished);
    EXPECT_EQ(run.exitCode, c.exitCode);
    EXPECT_EQ(run.boxTexts, c.boxes);
    EXPECT_EQ(run.boxCaptions, std::vector<std::wstring>(c.boxes.size(), c.caption));
    if (c.boxes.empty() && !c.mainWindow) {
        EXPECT_FALSE(run.windowShown);
    }
    EXPECT_TRUE(fs::is_empty(folder_ / "temp"));
}

INSTANTIATE_TEST_SUITE_P(Packages, InstallerExitMatrix, ::testing::ValuesIn(kExitCases), caseTestName);

TEST_F(InstallerExitCode, FromANetworkPathItRunsFromALocalCopyAndDeletesIt)
{
    wchar_t prefix[MAX_PATH] = {};
    ASSERT_GT(GetEnvironmentVariableW(L"WINEPREFIX", prefix, MAX_PATH), 0u) << "runs under Wine only";
    const std::string share = "e2e_" + std::to_string(GetCurrentProcessId()) + "_" + std::to_string(GetTickCount());
    const fs::path shareFolder = fs::path(std::wstring(L"Z:") + prefix) / "dosdevices" / "unc" / "localhost" / share;
    fs::create_directories(shareFolder);
    const Bytes setupBytes = installerWithPackage("{}");
    writeWholeFile((shareFolder / "setup.exe").string(), setupBytes);
    const std::wstring networkPath = L"\\\\localhost\\" + std::wstring(share.begin(), share.end()) + L"\\setup.exe";

    std::vector<fs::path> copiesWhileRunning;
    std::uintmax_t copySize = 0;
    const InstallerRun run = runInstallerProcess(networkPath, L"", tempFolder(), [&](const std::wstring&) {
        copiesWhileRunning = localCopiesIn(folder_ / "temp");
        if (copiesWhileRunning.size() == 1)
            copySize = fs::file_size(copiesWhileRunning[0]);
    });
    std::error_code ignored;
    fs::remove_all(shareFolder, ignored);

    ASSERT_TRUE(run.finished);
    EXPECT_EQ(run.exitCode, 0u);
    // The package was found in the copy: no checksum or size complaint before the last box.
    EXPECT_EQ(run.boxTexts, std::vector<std::wstring>{kTocNotRead});
    ASSERT_EQ(copiesWhileRunning.size(), 1u);
    EXPECT_EQ(copySize, setupBytes.size());
    EXPECT_TRUE(localCopiesIn(folder_ / "temp").empty());
}

// An exception that no part of the installer takes (here the allocation for the name of a file
// beside the package whose record claims almost 2 GB) used to end the installer through the
// runtime's abort: exit code 3, the run's files left, and the package's uninstaller still in the
// temporary folder. It ends as a failed run does: rolled back, the temporary folder empty.
TEST_F(InstallerExitCode, AnExceptionNothingTakesEndsLikeAFailedRun)
{
    if (sizeof(void*) != 4)
        GTEST_SKIP() << "a 64-bit installer can allocate the claimed size";
    const fs::path destination = folder_ / "dest";
    constexpr std::uint32_t kClaimedSize = 0x7FFFFFF0;
    const auto description = [&](std::uint32_t firstVolumeEnd) {
        nlohmann::json d;
        d["toc"]["settings"]["installDir"] = destination.string();
        d["toc"]["settings"]["productName"] = "Uncaught";
        d["toc"]["settings"]["uninstallerName"] = "<InstallDir>\\uninst.exe";
        d["uninstaller"] = {{"file", besideTestProgram("undoing_uninstaller_standin.exe")}};
        // The claimed size fits the volumes its record names.
        d["files"] = {{{"name", "<InstallDir>\\first.txt"}, {"text", "placed first"}},
                      {{"name", "<InstallDir>\\beside.dat"},
                       {"storage", "beside"},
                       {"text", "C:\\nowhere.dat"},
                       {"storedSize", kClaimedSize},
                       {"volumeCount", 2u},
                       {"endOffsets", {firstVolumeEnd, kClaimedSize}}}};
        giveOwnProduct(d);
        return d;
    };
    const Bytes program = readWholeFile(fs::path(installerProgramPath()).string());
    const std::uint32_t size = static_cast<std::uint32_t>(buildPackage(program, description(0)).installer.size());
    const fs::path setup = folder_ / "setup.exe";
    writePackageFiles(setup.string(), buildPackage(program, description(size)));

    const InstallerRun run = runInstallerProcess(setup.wstring(), L"/SILENT", tempFolder());

    ASSERT_TRUE(run.finished);
    EXPECT_EQ(run.exitCode, 0u) << "not installed, and not the runtime's abort (3)";
    EXPECT_FALSE(fs::exists(destination / "first.txt"));
    // The stand-in uninstaller that undid the run logs how it was started there.
    std::vector<std::string> left;
    bool undone = false;
    for (const auto& item : fs::directory_iterator(folder_ / "temp")) {
        if (item.path().extension() == ".log")
            undone = true;
        else
            left.push_back(item.path().filename().string());
    }
    EXPECT_TRUE(undone);
    EXPECT_TRUE(left.empty()) << left.front();
}
