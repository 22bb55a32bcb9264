// The real installer program installing a builder package silently: every file in place with
// its content (SHA-256), attributes and times, and the success code ("/REVERT" inverted); a
// corrupt member, one cut short, or one in a missing volume fails the run with the old file
// untouched and nothing partial left.
#include "InstallerProcess.h"
#include "TestFolder.h"
#include "MachineState.h"

#include "PackageBuilder.h"
#include "installer/system/win/BesideTestProgram.h"
#include "installer/uninstall/UninstallDataReader.h"
#include "support/SharedStateLock.h"

#include <gtest/gtest.h>

#include <wincrypt.h>
#include <objidl.h>
#include <shlobj.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <string>

namespace fs = std::filesystem;

namespace {

Bytes sample(std::size_t size, std::uint32_t seed, bool compressible)
{
    Bytes bytes(size);
    std::uint32_t state = seed;
    for (auto& b : bytes) {
        state = state * 1103515245u + 12345u;
        b = compressible ? static_cast<std::uint8_t>("abcdefgh \n"[(state >> 16) % 10]) : static_cast<std::uint8_t>(state >> 24);
    }
    return bytes;
}

constexpr std::uint64_t kWriteTime = 0x01D5A1B2C3D4E5F0ull;
constexpr std::uint64_t kCreationTime = 0x01D0112233445560ull;

class SilentInstall : public InstallerTestFolder {
protected:
    SilentInstall() : InstallerTestFolder("dravell_silent_") {}
    void SetUp() override
    {
        InstallerTestFolder::SetUp();
        destination_ = folder_ / "dest";
    }
    void TearDown() override
    {
        // Read-only files the tests installed would stop the folder from going.
        std::error_code ignored;
        for (const auto& item : fs::recursive_directory_iterator(folder_, ignored))
            SetFileAttributesW(item.path().c_str(), FILE_ATTRIBUTE_NORMAL);
        InstallerTestFolder::TearDown();
    }

    nlohmann::json package(const nlohmann::json& files) const
    {
        nlohmann::json description;
        description["toc"]["settings"]["installDir"] = destination_.string();
        description["files"] = files;
        return description;
    }
    static nlohmann::json entry(const std::string& name, const Bytes& content)
    {
        return {{"name", "<InstallDir>\\" + name}, {"hex", hexOf(content)}};
    }
    InstallerRun run(const nlohmann::json& description, const std::wstring& arguments, bool dropVolume2 = false)
    {
        const fs::path setup = folder_ / "setup.exe";
        const Bytes program = readWholeFile(fs::path(installerProgramPath()).string());
        nlohmann::json own = description;
        giveOwnProduct(own);
        writePackageFiles(setup.string(), buildPackage(program, own));
        if (dropVolume2)
            fs::remove(volumePath(setup.string(), 2));
        return runInstallerProcess(setup.wstring(), arguments, (folder_ / "temp").wstring());
    }
    std::vector<std::string> filesBelow(const fs::path& folder) const
    {
        std::vector<std::string> names;
        for (const auto& item : fs::recursive_directory_iterator(folder))
            if (item.is_regular_file())
                names.push_back(fs::relative(item.path(), folder).generic_string());
        std::sort(names.begin(), names.end());
        return names;
    }

    fs::path destination_;
};

} // namespace

TEST_F(SilentInstall, EveryFileIsPlacedWithItsContentAttributesAndTimes)
{
    const Bytes text = sample(300000, 1, true), binary = sample(200000, 2, false), zipped = sample(50000, 3, true);
    nlohmann::json files = nlohmann::json::array();
    files.push_back(entry("docs\\guide\\deep\\readme.txt", text));
    files.back()["flags"] = 0x18u;
    files.back()["lastWriteTime"] = kWriteTime;
    files.back()["creationTime"] = kCreationTime;
    files.push_back(entry("bin\\tool.dat", binary));
    files.back()["storage"] = "raw";
    files.back()["fileFlags"] = 0x10u | 0x4u;
    files.push_back(entry("bin\\zipped.bin", zipped));
    files.back()["storage"] = "zip";
    files.back()["fileFlags"] = 0x8u;
    files.push_back(entry("empty.txt", {}));
    files.back()["storage"] = "raw";
    files.push_back(entry("split.bin", binary));
    files.back()["split"] = {70000u, 70000u};
    const nlohmann::json description = package(files);

    for (const auto& [arguments, code] : {std::pair{L"/SILENT", 1u}, std::pair{L"/SILENT /REVERT", 0u}}) {
        fs::remove_all(destination_);
        const InstallerRun result = run(description, arguments);
        ASSERT_TRUE(result.finished);
        EXPECT_EQ(result.exitCode, code) << fs::path(arguments).string();
        EXPECT_TRUE(result.boxTexts.empty());
        EXPECT_FALSE(result.windowShown);
        EXPECT_EQ(filesBelow(destination_), (std::vector<std::string>{"bin/tool.dat", "bin/zipped.bin",
                                                                      "docs/guide/deep/readme.txt", "empty.txt",
                                                                      "split.bin"}));
        EXPECT_EQ(sha256(readWholeFile((destination_ / "docs/guide/deep/readme.txt").string())), sha256(text));
        EXPECT_EQ(sha256(readWholeFile((destination_ / "bin/tool.dat").string())), sha256(binary));
        EXPECT_EQ(sha256(readWholeFile((destination_ / "bin/zipped.bin").string())), sha256(zipped));
        EXPECT_EQ(sha256(readWholeFile((destination_ / "split.bin").string())), sha256(binary));
        EXPECT_EQ(fs::file_size(destination_ / "empty.txt"), 0u);

        WIN32_FILE_ATTRIBUTE_DATA data{};
        ASSERT_TRUE(GetFileAttributesExW((destination_ / "docs/guide/deep/readme.txt").c_str(), GetFileExInfoStandard, &data));
        EXPECT_EQ((std::uint64_t(data.ftLastWriteTime.dwHighDateTime) << 32) | data.ftLastWriteTime.dwLowDateTime, kWriteTime);
        // Wine keeps no creation time on a Unix file system, and reports every file as archived:
        // those two are not checked here.
        const DWORD mask = FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN;
        EXPECT_EQ(GetFileAttributesW((destination_ / "bin/tool.dat").c_str()) & mask, mask);
        EXPECT_EQ(GetFileAttributesW((destination_ / "bin/zipped.bin").c_str()) & mask, 0u);
        EXPECT_EQ(GetFileAttributesW((destination_ / "empty.txt").c_str()) & mask, 0u);
        SetFileAttributesW((destination_ / "bin/tool.dat").c_str(), FILE_ATTRIBUTE_NORMAL);
    }
}

TEST_F(SilentInstall, AnInstallFolderWrittenWithForwardSlashesIsCreated)
{
    const Bytes text = sample(1000, 6, true);
    nlohmann::json description = package(nlohmann::json::array({entry("docs\\readme.txt", text)}));
    description["toc"]["settings"]["installDir"] = destination_.generic_string();

    const InstallerRun result = run(description, L"/SILENT");
    ASSERT_TRUE(result.finished);
    EXPECT_EQ(result.exitCode, 1u);
    EXPECT_TRUE(result.boxTexts.empty());
    EXPECT_EQ(filesBelow(destination_), (std::vector<std::string>{"docs/readme.txt"}));
    EXPECT_EQ(sha256(readWholeFile((destination_ / "docs/readme.txt").string())), sha256(text));
}

struct BrokenCase {
    const char* name;
    nlohmann::json damage;
    bool dropVolume2;
};

class SilentInstallBroken : public SilentInstall, public ::testing::WithParamInterface<BrokenCase> {};

TEST_P(SilentInstallBroken, FailsWithTheOldFileUntouchedAndNothingPartial)
{
    const BrokenCase& c = GetParam();
    nlohmann::json broken = entry("lib\\core.dll", sample(150000, 4, false));
    broken.update(c.damage);
    const nlohmann::json description = package({entry("lib\\first.txt", sample(1000, 5, true)), broken});

    for (const auto& [arguments, code] : {std::pair{L"/SILENT", 0u}, std::pair{L"/SILENT /REVERT", 1u}}) {
        fs::remove_all(destination_);
        fs::create_directories(destination_ / "lib");
        writeWholeFile((destination_ / "lib/core.dll").string(), Bytes{'o', 'l', 'd'});
        const InstallerRun result = run(description, arguments, c.dropVolume2);
        ASSERT_TRUE(result.finished);
        EXPECT_EQ(result.exitCode, code);
        EXPECT_TRUE(result.boxTexts.empty());
        EXPECT_EQ(readWholeFile((destination_ / "lib/core.dll").string()), (Bytes{'o', 'l', 'd'}));
        // The failed run is rolled back: the file it had already placed goes too.
        EXPECT_EQ(filesBelow(destination_), (std::vector<std::string>{"lib/core.dll"}));
    }
}

const BrokenCase kBrokenCases[] = {
    {"BadCrc", {{"corrupt", "crc"}}, false},
    {"CutShort", {{"corrupt", "truncate"}, {"keep", 5000u}}, false},
    {"InAMissingVolume", {{"split", {20000u}}}, true},
    // A file beside the package whose stored size claims almost 4 GB.
    {"BesideWithACraftedSize", {{"storage", "beside"}, {"storedSize", 0xFFFFFFF0u}, {"extraEndOffsets", {0xFFFFFFF0u}}}, false},
};

INSTANTIATE_TEST_SUITE_P(Members, SilentInstallBroken, ::testing::ValuesIn(kBrokenCases),
                         [](const auto& info) { return std::string(info.param.name); });

namespace {

struct InnerCase {
    const char* name;
    bool innerExists;
    const wchar_t* arguments;
    DWORD exitCode;
};

class ExtractorMode : public SilentInstall, public ::testing::WithParamInterface<InnerCase> {};

} // namespace

// An extractor package unpacks its files into the resource folder, runs the inner installer (its
// code decides, "/REVERT" passed on and inverted again) and removes what it unpacked.
TEST_P(ExtractorMode, TheInnerInstallerDecidesAndTheUnpackedFilesGo)
{
    const InnerCase& c = GetParam();
    const fs::path inner = folder_ / "inner.exe";
    if (c.innerExists) {
        const Bytes program = readWholeFile(fs::path(installerProgramPath()).string());
        nlohmann::json innerPackage = nlohmann::json::parse(R"({"toc": {"settings": {"silent": true}}})");
        giveOwnProduct(innerPackage);
        writePackageFiles(inner.string(), buildPackage(program, innerPackage));
    }
    nlohmann::json description;
    description["toc"]["settings"]["extractorMode"] = 1u;
    description["toc"]["settings"]["innerInstallerPath"] = inner.string();
    description["files"] = {entry("unused", {})};
    description["files"][0]["name"] = "<ResourceDir>\\installer\\data.txt";
    description["files"][0]["hex"] = hexOf(sample(5000, 6, true));

    const InstallerRun result = run(description, c.arguments);
    ASSERT_TRUE(result.finished);
    EXPECT_EQ(result.exitCode, c.exitCode);
    EXPECT_TRUE(result.boxTexts.empty());
    EXPECT_TRUE(fs::is_empty(folder_ / "temp"));
}

const InnerCase kInnerCases[] = {
    {"InnerInstalls", true, L"/SILENT", 1},
    {"InnerInstallsRevert", true, L"/SILENT /REVERT", 0},
    {"InnerMissing", false, L"/SILENT", 0},
    {"InnerMissingRevert", false, L"/SILENT /REVERT", 1},
};

INSTANTIATE_TEST_SUITE_P(Inner, ExtractorMode, ::testing::ValuesIn(kInnerCases),
                         [](const auto& info) { return std::string(info.param.name); });

namespace {

std::string besideThisProgram(const char* name)
{
    char path[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, path, MAX_PATH);
    return (fs::path(path).parent_path() / name).string();
}

std::string registryText(HKEY root, const char* key, const char* name)
{
    char buffer[MAX_PATH] = {};
    DWORD size = sizeof(buffer);
    if (RegGetValueA(root, key, name, RRF_RT_REG_SZ, nullptr, buffer, &size) != ERROR_SUCCESS)
        return "<missing>";
    return buffer;
}

DWORD registryNumber(HKEY root, const char* key, const char* name)
{
    DWORD value = 0;
    DWORD size = sizeof(value);
    if (RegGetValueA(root, key, name, RRF_RT_REG_DWORD, nullptr, &value, &size) != ERROR_SUCCESS)
        return 0xFFFFFFFF;
    return value;
}

} // namespace

TEST_F(SilentInstall, RegistryIniTextEntriesShortcutsAndARegisteredLibraryAreInPlace)
{
    const char* const productKey = "Software\\KvSilentSystemChanges";
    const SharedStateLock machine;
    const char* const standinKey = "Software\\KvRegistrationStandin";
    RegDeleteTreeA(HKEY_CURRENT_USER, productKey);
    RegDeleteTreeA(HKEY_CURRENT_USER, standinKey);
    // The package's own numbers for the value types.
    constexpr int kStoredDword = 1;
    constexpr int kStoredString = 2;
    const std::string dest = destination_.string();
    nlohmann::json library = entry("lib\\registration_standin.dll", readWholeFile(besideThisProgram("registration_standin.dll")));
    library["flags"] = 0x20u;
    library["fileFlags"] = 0x2u;
    nlohmann::json description = package({entry("app.exe", sample(100, 6, true)), library});
    description["toc"]["settings"]["uninstallerName"] = "<InstallDir>\\uninst.exe";
    description["uninstaller"] = {{"file", besideTestProgram("uninstaller_standin.exe")}};
    nlohmann::json& toc = description["toc"];
    toc["registry"]["HKEY_CURRENT_USER"]["subkeys"] = {
        {{"name", productKey},
         {"values",
          {{{"name", "Folder"}, {"data", "<InstallDir>"}, {"type", kStoredString}},
           {{"name", "Count"}, {"data", "7"}, {"type", kStoredDword}}}}}};
    toc["iniEntries"] = {{{"file", dest + "\\settings.ini"}, {"section", "Paths"}, {"line", "data=" + dest + "\\data"}}};
    toc["textFileEntries"] = {{{"mode", 1}, {"file", dest + "\\notes.txt"}, {"lineText", "installed"}}};
    toc["shortcuts"] = {{{"target", dest + "\\app.exe"}, {"shortcutFile", dest + "\\menu\\App.lnk"}, {"icon", dest + "\\app.exe,11"}}};

    const InstallerRun result = run(description, L"/SILENT");

    ASSERT_TRUE(result.finished);
    EXPECT_EQ(result.exitCode, 1u);
    EXPECT_TRUE(result.boxTexts.empty());
    EXPECT_STRCASEEQ(registryText(HKEY_CURRENT_USER, productKey, "Folder").c_str(), dest.c_str());
    EXPECT_EQ(registryNumber(HKEY_CURRENT_USER, productKey, "Count"), 7u);
    char value[MAX_PATH] = {};
    GetPrivateProfileStringA("Paths", "data", "", value, sizeof(value), (dest + "\\settings.ini").c_str());
    EXPECT_EQ(std::string(value), dest + "\\data");
    const Bytes notes = readWholeFile((destination_ / "notes.txt").string());
    EXPECT_EQ(std::string(notes.begin(), notes.end()), "installed\r\n");
    EXPECT_TRUE(fs::exists(destination_ / "menu" / "App.lnk"));
    EXPECT_EQ(registryNumber(HKEY_CURRENT_USER, standinKey, "Calls"), 1u);
    EXPECT_STRCASEEQ(registryText(HKEY_CURRENT_USER, standinKey, "CurrentFolder").c_str(), (dest + "\\lib").c_str());

    // The committed uninstall data lists each change, newest first.
    const Bytes installed = readWholeFile((destination_ / "uninst.exe").string());
    const uninstall_reader::Data data = uninstall_reader::parseUninstallerFile(std::string(installed.begin(), installed.end()));
    EXPECT_EQ(data.sections.at("Shared:"), (std::vector<std::string>{dest + "\\lib\\registration_standin.dll|ctrl"}));
    EXPECT_EQ(data.sections.at("Files:"), (std::vector<std::string>{dest + "\\menu\\App.lnk", dest + "\\notes.txt",
                                                                    dest + "\\settings.ini", dest + "\\app.exe"}));
    const std::vector<std::string>& folders = data.sections.at("Directories:");
    EXPECT_NE(std::find(folders.begin(), folders.end(), dest), folders.end());
    EXPECT_NE(std::find(folders.begin(), folders.end(), dest + "\\lib"), folders.end());
    EXPECT_NE(std::find(folders.begin(), folders.end(), dest + "\\menu"), folders.end());
    // The product's key, created by this run (flag bit 0), with its two values written (bit 0).
    const uninstall_reader::Key& user = data.roots.at(1);
    ASSERT_EQ(user.keys.size(), 1u);
    const uninstall_reader::Key& product = user.keys[0];
    EXPECT_EQ(product.name, productKey);
    EXPECT_EQ(product.flags, 1u);
    ASSERT_EQ(product.values.size(), 2u);
    EXPECT_EQ(product.values[0].name, "Folder");
    EXPECT_EQ(product.values[0].flags, 1u);
    EXPECT_EQ(product.values[1].name, "Count");
    EXPECT_EQ(product.values[1].flags, 1u);
    RegDeleteTreeA(HKEY_CURRENT_USER, productKey);
    RegDeleteTreeA(HKEY_CURRENT_USER, standinKey);
}

TEST_F(SilentInstall, CommittedUninstallerHoldsTheRunsData)
{
    const Bytes standin = readWholeFile(besideTestProgram("uninstaller_standin.exe"));
    nlohmann::json description = package(nlohmann::json::array({entry("app.txt", sample(1000, 6, true))}));
    description["toc"]["settings"]["productName"] = "E2E Product";
    description["toc"]["settings"]["uninstallerName"] = "<InstallDir>\\uninst.exe";
    description["toc"]["settings"]["uninstallDataSettings"] = "settings of <InstallDir>";
    description["uninstaller"] = {{"file", besideTestProgram("uninstaller_standin.exe")}};
    const InstallerRun result = run(description, L"/SILENT");
    ASSERT_TRUE(result.finished);
    EXPECT_EQ(result.exitCode, 1u);
    const Bytes installed = readWholeFile((destination_ / "uninst.exe").string());
    ASSERT_GT(installed.size(), standin.size());
    EXPECT_TRUE(std::equal(standin.begin(), standin.end(), installed.begin())) << "the program comes first";
    std::uint32_t oldSize = 0;
    const uninstall_reader::Data data =
        uninstall_reader::parseUninstallerFile(std::string(installed.begin(), installed.end()), &oldSize);
    EXPECT_EQ(oldSize, standin.size());
    EXPECT_EQ(data.product, "E2E Product");
    EXPECT_EQ(data.version, "103");
    EXPECT_EQ(data.settings, "settings of " + destination_.string());
    EXPECT_EQ(data.sections.at("Files:"), (std::vector<std::string>{(destination_ / "app.txt").string()}));
    EXPECT_EQ(data.sections.at("Directories:"), (std::vector<std::string>{destination_.string()}));
}

TEST_F(SilentInstall, FailedRunStartsTheUninstallerProgramSilentlyWithItsData)
{
    nlohmann::json broken = entry("lib\\core.dll", sample(150000, 4, false));
    broken["corrupt"] = "crc";
    nlohmann::json description = package({entry("lib\\first.txt", sample(1000, 5, true)), broken});
    description["toc"]["settings"]["uninstallerName"] = "<InstallDir>\\uninst.exe";
    description["uninstaller"] = {{"file", besideTestProgram("uninstaller_standin.exe")}};
    const InstallerRun result = run(description, L"/SILENT");
    ASSERT_TRUE(result.finished);
    EXPECT_EQ(result.exitCode, 0u);
    EXPECT_FALSE(fs::exists(destination_ / "uninst.exe"));
    std::vector<fs::path> logs;
    for (const auto& item : fs::recursive_directory_iterator(folder_ / "temp"))
        if (item.path().extension() == ".log")
            logs.push_back(item.path());
    ASSERT_EQ(logs.size(), 1u) << "the uninstaller program ran once";
    std::ifstream log(logs[0]);
    std::string commandLine;
    std::getline(log, commandLine);
    const fs::path program = fs::path(logs[0]).replace_extension();
    EXPECT_EQ(commandLine, "\"" + program.string() + "\" /SILENT /NOREMOVE");
    EXPECT_FALSE(fs::exists(program)) << "deleted after its run";
    const Bytes stored = readWholeFile(program.string() + ".data");
    const uninstall_reader::Data data = uninstall_reader::parseScrambled(std::string(stored.begin(), stored.end()));
    EXPECT_EQ(data.settings, "") << "a rollback's data has no settings";
    EXPECT_EQ(data.sections.at("Files:"), (std::vector<std::string>{(destination_ / "lib\\first.txt").string()}));
}

namespace {

struct LinkFields {
    std::string path, arguments, folder, icon;
    int iconIndex = -1;
};

LinkFields readLink(const fs::path& link)
{
    LinkFields fields;
    CoInitialize(nullptr);
    IShellLinkA* shellLink = nullptr;
    if (SUCCEEDED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkA,
                                   reinterpret_cast<void**>(&shellLink)))) {
        IPersistFile* file = nullptr;
        if (SUCCEEDED(shellLink->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&file)))) {
            if (SUCCEEDED(file->Load(link.wstring().c_str(), STGM_READ))) {
                char text[MAX_PATH] = {};
                shellLink->GetPath(text, MAX_PATH, nullptr, 0);
                fields.path = text;
                shellLink->GetArguments(text, MAX_PATH);
                fields.arguments = text;
                shellLink->GetWorkingDirectory(text, MAX_PATH);
                fields.folder = text;
                shellLink->GetIconLocation(text, MAX_PATH, &fields.iconIndex);
                fields.icon = text;
            }
            file->Release();
        }
        shellLink->Release();
    }
    CoUninitialize();
    return fields;
}

std::string textOfFile(const fs::path& path)
{
    const Bytes bytes = readWholeFile(path.string());
    return std::string(bytes.begin(), bytes.end());
}

} // namespace

// Entries written as a package writer writes them: paths below "<InstallDir>", a built-in name
// ("<UninstallerName>") and a user variable in every text, each replaced before the entry is
// written.
TEST_F(SilentInstall, EntriesNamingTheInstallFolderABuiltinNameAndAUserVariableAreWritten)
{
    const std::string dest = destination_.string();
    nlohmann::json description = package(nlohmann::json::array({entry("app.exe", sample(100, 6, true))}));
    description["toc"]["settings"]["uninstallerName"] = "<InstallDir>\\uninst.exe";
    description["uninstaller"] = {{"file", besideTestProgram("uninstaller_standin.exe")}};
    nlohmann::json& toc = description["toc"];
    toc["variables"] = {{{"name", "<Data>"}, {"kind", 0}, {"source", -1}, {"default", "records"}}};
    toc["iniEntries"] = {
        {{"file", "<InstallDir>\\<Data>.ini"}, {"section", "<Data> paths"}, {"line", "<Data>Dir=<InstallDir>\\<Data>"}},
        {{"file", "<InstallDir>\\<Data>.ini"}, {"section", "<Data> paths"}, {"line", "Remover=<UninstallerName>"}}};
    toc["textFileEntries"] = {
        {{"mode", 1}, {"file", "<InstallDir>\\notes\\<Data>.txt"}, {"lineText", "<Data> in <InstallDir>"}},
        {{"mode", 4},
         {"file", "<InstallDir>\\notes\\<Data>.txt"},
         {"searchText", "<Data> in <InstallDir>"},
         {"lineText", "<Data> go with <UninstallerName>"}}};
    toc["shortcuts"] = {{{"target", "<InstallDir>\\app.exe"},
                         {"shortcutFile", "<InstallDir>\\menu\\<Data>.lnk"},
                         {"arguments", "/open <Data>"},
                         {"workingFolder", "<InstallDir>\\<Data>"},
                         {"icon", "<UninstallerName>,3"}}};

    const InstallerRun result = run(description, L"/SILENT");

    ASSERT_TRUE(result.finished);
    EXPECT_EQ(result.exitCode, 1u);
    EXPECT_TRUE(result.boxTexts.empty());
    const std::string uninstaller = dest + "\\uninst.exe";
    EXPECT_EQ(textOfFile(destination_ / "records.ini"),
              "[records paths]\r\nrecordsDir=" + dest + "\\records\r\nRemover=" + uninstaller + "\r\n");
    EXPECT_EQ(textOfFile(destination_ / "notes" / "records.txt"),
              "records in " + dest + "\r\nrecords go with " + uninstaller + "\r\n");
    const LinkFields link = readLink(destination_ / "menu" / "records.lnk");
    EXPECT_STRCASEEQ(link.path.c_str(), (dest + "\\app.exe").c_str());
    EXPECT_EQ(link.arguments, "/open records");
    EXPECT_STRCASEEQ(link.folder.c_str(), (dest + "\\records").c_str());
    EXPECT_STRCASEEQ(link.icon.c_str(), uninstaller.c_str());
    EXPECT_EQ(link.iconIndex, 3);

    // The uninstall data names the files as they were written.
    const Bytes installed = readWholeFile(uninstaller);
    const uninstall_reader::Data data = uninstall_reader::parseUninstallerFile(std::string(installed.begin(), installed.end()));
    EXPECT_EQ(data.sections.at("Files:"), (std::vector<std::string>{dest + "\\menu\\records.lnk", dest + "\\notes\\records.txt",
                                                                    dest + "\\records.ini", dest + "\\app.exe"}));
}

namespace {

// The lines the stand-in programs wrote to their start log: waits until count lines are there
// (the installer does not wait for what it starts), or gives up after a long while.
std::vector<std::string> startLogLines(const fs::path& log, std::size_t count)
{
    std::vector<std::string> lines;
    for (int attempt = 0; attempt < 600; ++attempt) {
        lines.clear();
        std::ifstream in(log);
        for (std::string line; std::getline(in, line);)
            lines.push_back(line);
        if (lines.size() >= count)
            break;
        Sleep(50);
    }
    return lines;
}

} // namespace

// A silent run that installed launches what the package preselected on its finish page: the
// readme, the program and the third item, each installed by the run itself.
TEST_F(SilentInstall, FinishLaunchesThePreselectedItems)
{
    const Bytes standin = readWholeFile(besideTestProgram("program_standin.exe"));
    nlohmann::json description = package({entry("readme.exe", standin), entry("app.exe", standin),
                                           entry("extra.exe", standin)});
    nlohmann::json& settings = description["toc"]["settings"];
    settings["readmeToOpen"] = "<InstallDir>\\readme.exe";
    settings["programToStart"] = "<InstallDir>\\app.exe";
    settings["thirdFinishItem"] = "<InstallDir>\\extra.exe";
    settings["thirdFinishItemSwitch"] = 1;
    // Bits 2 and 3 offer the readme and the program, 14 and 15 preselect them.
    nlohmann::json switches = nlohmann::json::array();
    for (int bit = 0; bit < 17; ++bit)
        switches.push_back(bit == 2 || bit == 3 || bit == 14 || bit == 15 ? 1 : 0);
    settings["optionSwitches"] = switches;
    const fs::path log = folder_ / "starts.log";
    SetEnvironmentVariableW(L"KV_STANDIN_LOG", log.wstring().c_str());

    const InstallerRun result = run(description, L"/SILENT");
    const std::vector<std::string> lines = startLogLines(log, 3);
    SetEnvironmentVariableW(L"KV_STANDIN_LOG", nullptr);

    ASSERT_TRUE(result.finished);
    EXPECT_EQ(result.exitCode, 1u);
    EXPECT_TRUE(result.boxTexts.empty());
    std::vector<std::string> started;
    for (const std::string& line : lines)
        started.push_back(fs::path(line.substr(0, line.find('|'))).filename().string());
    std::sort(started.begin(), started.end());
    EXPECT_EQ(started, (std::vector<std::string>{"app.exe", "extra.exe", "readme.exe"}));
}
