// A silent installation of a package with new and replacing files, registry values, INI and text
// entries, a shortcut and a registered shared library, made to fail at one phase after another:
// afterwards the file tree (paths, sizes, SHA-256, attributes) and the registry keys it touched are
// as they were before. The package carries an uninstaller that really undoes its data; without
// one the installer undoes files and folders itself, and those rows compare the file tree only.
#include "InstallerProcess.h"

#include "PackageBuilder.h"
#include "installer/system/win/BesideTestProgram.h"

#include <gtest/gtest.h>

#include <wincrypt.h>

#include <filesystem>
#include <map>
#include <sstream>
#include <string>

namespace fs = std::filesystem;

namespace {

std::string sha256(const Bytes& bytes)
{
    HCRYPTPROV provider = 0;
    HCRYPTHASH hash = 0;
    std::string digest;
    if (CryptAcquireContextW(&provider, nullptr, nullptr, PROV_RSA_AES, CRYPT_VERIFYCONTEXT) &&
        CryptCreateHash(provider, CALG_SHA_256, 0, 0, &hash) &&
        CryptHashData(hash, bytes.data(), static_cast<DWORD>(bytes.size()), 0)) {
        BYTE value[32] = {};
        DWORD length = sizeof(value);
        if (CryptGetHashParam(hash, HP_HASHVAL, value, &length, 0))
            for (DWORD i = 0; i < length; ++i) {
                digest += "0123456789abcdef"[value[i] >> 4];
                digest += "0123456789abcdef"[value[i] & 15];
            }
    }
    if (hash)
        CryptDestroyHash(hash);
    if (provider)
        CryptReleaseContext(provider, 0);
    return digest;
}

std::string hex(const Bytes& bytes)
{
    std::string out;
    for (auto b : bytes) {
        out += "0123456789abcdef"[b >> 4];
        out += "0123456789abcdef"[b & 15];
    }
    return out;
}

Bytes text(const std::string& s)
{
    return Bytes(s.begin(), s.end());
}

// Every file and folder below root: its kind, size, SHA-256 and attributes that matter.
std::map<std::string, std::string> fileTree(const fs::path& root)
{
    std::map<std::string, std::string> tree;
    const DWORD mask = FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM;
    for (const auto& item : fs::recursive_directory_iterator(root)) {
        std::ostringstream state;
        const DWORD attributes = GetFileAttributesW(item.path().c_str()) & mask;
        if (item.is_directory())
            state << "folder attributes=" << attributes;
        else
            state << "size=" << item.file_size() << " sha256=" << sha256(readWholeFile(item.path().string()))
                  << " attributes=" << attributes;
        tree[fs::relative(item.path(), root).generic_string()] = state.str();
    }
    return tree;
}

void dumpKey(HKEY key, const std::string& path, std::ostringstream& out)
{
    char name[512];
    BYTE data[2048];
    for (DWORD i = 0;; ++i) {
        DWORD nameSize = sizeof(name);
        DWORD dataSize = sizeof(data);
        DWORD type = 0;
        if (RegEnumValueA(key, i, name, &nameSize, nullptr, &type, data, &dataSize) != ERROR_SUCCESS)
            break;
        out << path << " [" << name << "] type=" << type << " data=" << hex(Bytes(data, data + dataSize)) << "\n";
    }
    for (DWORD i = 0;; ++i) {
        DWORD nameSize = sizeof(name);
        if (RegEnumKeyExA(key, i, name, &nameSize, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS)
            break;
        HKEY child = nullptr;
        out << path << "\\" << name << "\n";
        if (RegOpenKeyExA(key, name, 0, KEY_READ, &child) == ERROR_SUCCESS) {
            dumpKey(child, path + "\\" + name, out);
            RegCloseKey(child);
        }
    }
}

std::string registryKey(HKEY root, const char* path)
{
    HKEY key = nullptr;
    if (RegOpenKeyExA(root, path, 0, KEY_READ, &key) != ERROR_SUCCESS)
        return std::string(path) + " <missing>\n";
    std::ostringstream out;
    out << path << "\n";
    dumpKey(key, path, out);
    RegCloseKey(key);
    return out.str();
}

std::string registryValue(HKEY root, const char* path, const std::string& name)
{
    HKEY key = nullptr;
    if (RegOpenKeyExA(root, path, 0, KEY_READ, &key) != ERROR_SUCCESS)
        return "<missing>";
    BYTE data[512];
    DWORD size = sizeof(data);
    DWORD type = 0;
    const LONG result = RegQueryValueExA(key, name.c_str(), nullptr, &type, data, &size);
    RegCloseKey(key);
    return result == ERROR_SUCCESS ? std::to_string(type) + ":" + hex(Bytes(data, data + size)) : "<missing>";
}

const char* const kProductKey = "Software\\KvRollbackProduct";
const char* const kStandinKey = "Software\\KvRegistrationStandin";
const char* const kSharedKey = "Software\\Microsoft\\Windows\\CurrentVersion\\SharedDLLs";
constexpr int kStoredBinary = 0;
constexpr int kStoredString = 2;
constexpr unsigned kVersionCheck = 0x1;

enum class FailAt { BeforeTheRun, Files, Registry, Commit, AfterCommit };

struct RollbackCase {
    const char* name;
    FailAt phase;
    bool withUninstaller;
};

// The scripted plug-in's step that refuses (answer 3, which ends the installer) for a phase.
const char* refusingPluginStep(FailAt phase)
{
    switch (phase) {
    case FailAt::BeforeTheRun: return "EntryPoint3";
    case FailAt::AfterCommit: return "EntryPoint11";
    default: return nullptr;
    }
}

class Rollback : public ::testing::TestWithParam<RollbackCase> {
protected:
    void SetUp() override
    {
        folder_ = fs::temp_directory_path() / ("dravell_rollback_" + std::string(GetParam().name));
        clear();
        fs::create_directories(folder_ / "temp");
        destination_ = folder_ / "dest";
        // What was there before: a file the package replaces, one it leaves alone, and a key of
        // the product with a value of its own.
        fs::create_directories(destination_ / "keep");
        writeWholeFile((destination_ / "replaced.txt").string(), text("old content"));
        SetFileAttributesW((destination_ / "replaced.txt").c_str(), FILE_ATTRIBUTE_HIDDEN);
        writeWholeFile((destination_ / "keep" / "mine.txt").string(), text("not the package's"));
        HKEY key = nullptr;
        RegCreateKeyExA(HKEY_CURRENT_USER, kProductKey, 0, nullptr, 0, KEY_WRITE, nullptr, &key, nullptr);
        RegSetValueExA(key, "Earlier", 0, REG_SZ, reinterpret_cast<const BYTE*>("kept"), 5);
        RegCloseKey(key);
    }
    void TearDown() override
    {
        if (const char* step = refusingPluginStep(GetParam().phase))
            SetEnvironmentVariableA((std::string("SCRIPTED_PLUGIN_") + step).c_str(), nullptr);
        clear();
    }

    void clear()
    {
        std::error_code ignored;
        for (const auto& item : fs::recursive_directory_iterator(folder_, ignored))
            SetFileAttributesW(item.path().c_str(), FILE_ATTRIBUTE_NORMAL);
        fs::remove_all(folder_, ignored);
        RegDeleteTreeA(HKEY_CURRENT_USER, kProductKey);
        RegDeleteTreeA(HKEY_CURRENT_USER, kStandinKey);
    }

    std::string libraryPath() const { return (destination_ / "lib" / "registration_standin.dll").string(); }

    std::string registryState() const
    {
        return registryKey(HKEY_CURRENT_USER, kProductKey) + registryKey(HKEY_CURRENT_USER, kStandinKey) +
               "shared count " + registryValue(HKEY_LOCAL_MACHINE, kSharedKey, libraryPath()) + "\n";
    }

    nlohmann::json description(const RollbackCase& c) const
    {
        const std::string dest = destination_.string();
        nlohmann::json library = {{"name", "<InstallDir>\\lib\\registration_standin.dll"},
                                  {"hex", hex(readWholeFile(besideTestProgram("registration_standin.dll")))},
                                  {"flags", 0x20u},
                                  {"fileFlags", 0x2u}};
        nlohmann::json files = {{{"name", "<InstallDir>\\app\\app.exe"}, {"hex", hex(text("new program"))}},
                                {{"name", "<InstallDir>\\replaced.txt"}, {"hex", hex(text("new content, longer"))}, {"fileFlags", kVersionCheck}},
                                library,
                                {{"name", "<InstallDir>\\app\\last.dat"}, {"hex", hex(Bytes(5000, 7))}}};
        if (c.phase == FailAt::Files)
            files.back()["corrupt"] = "crc";
        nlohmann::json package;
        nlohmann::json& toc = package["toc"];
        toc["settings"]["installDir"] = dest;
        toc["settings"]["productName"] = "Rollback Product";
        // Replaced files are backed up: after the commit only the backup has the old content.
        toc["settings"]["optionSwitches"] = {0, 0, 0, 0, 1};
        nlohmann::json values = {{{"name", "Folder"}, {"data", "<InstallDir>"}, {"type", kStoredString}}};
        if (c.phase == FailAt::Registry)
            values.push_back({{"name", "Broken"}, {"data", "zz"}, {"type", kStoredBinary}});
        toc["registry"]["HKEY_CURRENT_USER"]["subkeys"] = {
            {{"name", kProductKey},
             {"values", values},
             {"subkeys",
              {{{"name", "Options"}, {"values", {{{"name", "Level"}, {"data", "3"}, {"type", kStoredString}}}}}}}}};
        toc["iniEntries"] = {{{"file", dest + "\\app\\settings.ini"}, {"section", "Paths"}, {"line", "data=" + dest}}};
        toc["textFileEntries"] = {{{"mode", 1}, {"file", dest + "\\notes\\notes.txt"}, {"lineText", "installed"}}};
        toc["shortcuts"] = {{{"target", dest + "\\app\\app.exe"}, {"shortcutFile", dest + "\\menu\\App.lnk"}}};
        if (c.withUninstaller) {
            // A folder that does not exist: the uninstaller cannot be written there.
            toc["settings"]["uninstallerName"] =
                c.phase == FailAt::Commit ? "<InstallDir>\\missing\\uninst.exe" : "<InstallDir>\\uninst.exe";
            package["uninstaller"] = {{"file", besideTestProgram("undoing_uninstaller_standin.exe")}};
        }
        if (const char* step = refusingPluginStep(c.phase)) {
            package["pluginLibrary"] = {{"file", besideTestProgram("scripted_plugin.dll")}};
            SetEnvironmentVariableA((std::string("SCRIPTED_PLUGIN_") + step).c_str(), "3");
        }
        package["files"] = files;
        giveOwnProduct(package);
        return package;
    }

    fs::path folder_;
    fs::path destination_;
};

TEST_P(Rollback, LeavesTheMachineAsItWas)
{
    const RollbackCase& c = GetParam();
    const fs::path setup = folder_ / "setup.exe";
    writePackageFiles(setup.string(), buildPackage(readWholeFile(fs::path(installerProgramPath()).string()), description(c)));
    const auto filesBefore = fileTree(destination_);
    const std::string registryBefore = registryState();

    const InstallerRun result = runInstallerProcess(setup.wstring(), L"/SILENT", (folder_ / "temp").wstring());

    ASSERT_TRUE(result.finished);
    EXPECT_EQ(result.exitCode, 0u) << "not installed";
    EXPECT_TRUE(result.boxTexts.empty());
    EXPECT_EQ(fileTree(destination_), filesBefore);
    if (c.withUninstaller) {
        EXPECT_EQ(registryState(), registryBefore);
    }
}

// Each failure comes after the phases before it did their work: a failed file leaves the files
// before it placed; a failed registry value comes after the files and the other values; the
// uninstaller that cannot be written comes after every change (INI, text, shortcut, library).
const RollbackCase kRollbackCases[] = {
    {"PlugInRefusesBeforeTheRun", FailAt::BeforeTheRun, true},
    {"FilePhaseFails", FailAt::Files, true},
    {"RegistryPhaseFails", FailAt::Registry, true},
    {"CommitFails", FailAt::Commit, true},
    // After the commit the installed uninstaller is run.
    {"PlugInRefusesAfterCommit", FailAt::AfterCommit, true},
    // Without an uninstaller the installer's own rollback handles files and folders only.
    {"FilePhaseFailsWithoutUninstallerFilesOnly", FailAt::Files, false},
    {"RegistryPhaseFailsWithoutUninstallerFilesOnly", FailAt::Registry, false},
};

INSTANTIATE_TEST_SUITE_P(Phases, Rollback, ::testing::ValuesIn(kRollbackCases),
                         [](const auto& info) { return std::string(info.param.name); });

} // namespace
