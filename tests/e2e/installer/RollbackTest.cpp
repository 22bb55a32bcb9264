// A silent installation of a package with new and replacing files, registry values, INI and text
// entries, a shortcut and a registered shared library, made to fail at one phase after another:
// afterwards the file tree (paths, sizes, SHA-256, attributes) and the registry keys it touched are
// as they were before. The package carries an uninstaller that really undoes its data; without
// one the installer undoes files and folders itself, and those rows compare the file tree only.
#include "InstallerProcess.h"
#include "MachineState.h"

#include "PackageBuilder.h"
#include "installer/system/win/BesideTestProgram.h"
#include "support/SharedStateLock.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

namespace fs = std::filesystem;

namespace {

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
    // The rows compare the same keys before and after: one row at a time, whatever the shard.
    const SharedStateLock machine_;

    void SetUp() override
    {
        folder_ = fs::temp_directory_path() / ("dravell_rollback_" + std::string(GetParam().name));
        clear();
        fs::create_directories(folder_ / "temp");
        destination_ = folder_ / "dest";
        // What was there before: a file the package replaces, one it leaves alone, and a key of
        // the product with a value of its own.
        fs::create_directories(destination_ / "keep");
        writeWholeFile((destination_ / "replaced.txt").string(), bytesOf("old content"));
        SetFileAttributesW((destination_ / "replaced.txt").c_str(), FILE_ATTRIBUTE_HIDDEN);
        writeWholeFile((destination_ / "keep" / "mine.txt").string(), bytesOf("not the package's"));
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
                                  {"hex", hexOf(readWholeFile(besideTestProgram("registration_standin.dll")))},
                                  {"flags", 0x20u},
                                  {"fileFlags", 0x2u}};
        nlohmann::json files = {{{"name", "<InstallDir>\\app\\app.exe"}, {"hex", hexOf(bytesOf("new program"))}},
                                {{"name", "<InstallDir>\\replaced.txt"},
                                 {"hex", hexOf(bytesOf("new content, longer"))},
                                 {"fileFlags", kVersionCheck}},
                                library,
                                {{"name", "<InstallDir>\\app\\last.dat"}, {"hex", hexOf(Bytes(5000, 7))}}};
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
    const Bytes program = readWholeFile(fs::path(installerProgramPath()).string());
    writePackageFiles(setup.string(), buildPackage(program, description(c)));
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
