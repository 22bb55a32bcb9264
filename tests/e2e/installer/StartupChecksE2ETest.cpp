// The real installer program's checks before its first page: a second installer of a product
// leaves at once with the code for "not installed"; an installed earlier version is removed by
// its uninstaller (the logging stand-in) before a silent installation; an update without its
// product says so and stops.
#include "InstallerProcess.h"

#include "PackageBuilder.h"
#include "installer/install/win/StandinLog.h"
#include "installer/system/win/BesideTestProgram.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

namespace fs = std::filesystem;

namespace {

class StartupChecksE2E : public ::testing::Test {
protected:
    void SetUp() override
    {
        const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
        folder_ = fs::temp_directory_path() / ("startup_e2e_" + std::string(info->name()));
        fs::remove_all(folder_);
        fs::create_directories(folder_ / "temp");
        productKey_ = "Software\\KvStartupE2E_" + std::string(info->name());
        RegDeleteTreeA(HKEY_CURRENT_USER, productKey_.c_str());
    }
    void TearDown() override
    {
        RegDeleteTreeA(HKEY_CURRENT_USER, productKey_.c_str());
        std::error_code ignored;
        fs::remove_all(folder_, ignored);
    }
    nlohmann::json package() const
    {
        nlohmann::json description;
        auto& settings = description["toc"]["settings"];
        settings["productName"] = "E2E";
        settings["installDir"] = (folder_ / "dest").string();
        settings["productRegistryRoot"] = 0x80000001u;
        settings["productKey"] = productKey_;
        settings["versionValueName"] = "Version";
        return description;
    }
    std::wstring writeSetup(nlohmann::json description, const char* name = "setup.exe")
    {
        giveOwnProduct(description);
        const fs::path setup = folder_ / name;
        const Bytes program = readWholeFile(fs::path(installerProgramPath()).string());
        writeWholeFile(setup.string(), buildInstallerWithPackage(program, description));
        return setup.wstring();
    }
    void setValue(const char* name, const std::string& text)
    {
        HKEY key = nullptr;
        ASSERT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER, productKey_.c_str(), 0, nullptr, 0, KEY_WRITE, nullptr, &key, nullptr),
                  ERROR_SUCCESS);
        RegSetValueExA(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(text.c_str()), static_cast<DWORD>(text.size() + 1));
        RegCloseKey(key);
    }
    std::wstring temp() const { return (folder_ / "temp").wstring(); }

    fs::path folder_;
    std::string productKey_;
};

TEST_F(StartupChecksE2E, ASecondInstallerOfTheProductLeavesAtOnce)
{
    nlohmann::json description = package();
    description["toc"]["settings"]["productId"] = "E2E single " + std::to_string(GetCurrentProcessId());
    const std::wstring first = writeSetup(description);
    const std::wstring second = writeSetup(description, "again.exe");

    InstallerRun secondRun, secondReverted;
    // The first installer stops at a box (this package has no language set); meanwhile the
    // product's mark is held.
    const InstallerRun firstRun = runInstallerProcess(first, L"", temp(), [&](const std::wstring&) {
        if (!secondRun.finished) {
            secondRun = runInstallerProcess(second, L"", temp());
            secondReverted = runInstallerProcess(second, L"/REVERT", temp());
        }
    });

    ASSERT_TRUE(firstRun.finished);
    EXPECT_EQ(firstRun.boxTexts.size(), 1u);
    ASSERT_TRUE(secondRun.finished);
    EXPECT_EQ(secondRun.exitCode, 0u);
    EXPECT_TRUE(secondRun.boxTexts.empty());
    EXPECT_FALSE(secondRun.windowShown);
    ASSERT_TRUE(secondReverted.finished);
    EXPECT_EQ(secondReverted.exitCode, 1u);

    // Once the first has ended, the product may be installed again.
    const InstallerRun later = runInstallerProcess(second, L"", temp());
    ASSERT_TRUE(later.finished);
    EXPECT_EQ(later.boxTexts.size(), 1u);
}

TEST_F(StartupChecksE2E, ASilentInstallationRemovesTheInstalledVersionFirst)
{
    const fs::path uninstaller = folder_ / "old" / "uninstall.exe";
    fs::create_directories(uninstaller.parent_path());
    fs::copy_file(besideTestProgram("program_standin.exe"), uninstaller);
    setValue("Version", "1.0");
    setValue("Uninstaller", uninstaller.string());
    StandinLog log((folder_ / "starts.log").string(), 1);

    const InstallerRun run = runInstallerProcess(writeSetup(package()), L"/SILENT", temp());
    ASSERT_TRUE(run.finished);
    EXPECT_EQ(run.exitCode, 1u);
    const auto starts = log.starts();
    ASSERT_EQ(starts.size(), 1u);
    EXPECT_EQ(starts[0].commandLine, "\"" + uninstaller.string() + "\" /SILENT /NOREMOVE");
    EXPECT_EQ(starts[0].folder, uninstaller.parent_path().string());
    // Exit code 1: removed, and its file deleted.
    EXPECT_FALSE(fs::exists(uninstaller));
}

TEST_F(StartupChecksE2E, AnUpdateWithoutItsProductStops)
{
    nlohmann::json description = package();
    description["toc"]["settings"]["packageOptions"] = 0x40;
    description["toc"]["settings"]["updatableVersions"] = "1.0";
    const std::wstring setup = writeSetup(description);

    const InstallerRun run = runInstallerProcess(setup, L"", temp());
    ASSERT_TRUE(run.finished);
    EXPECT_EQ(run.exitCode, 0u);
    EXPECT_EQ(run.boxTexts, std::vector<std::wstring>{L"The E2E installation couldn't be found. Try re-installing the "
                                                      L"application before running the update."});
    const InstallerRun reverted = runInstallerProcess(setup, L"/SILENT /REVERT", temp());
    ASSERT_TRUE(reverted.finished);
    EXPECT_EQ(reverted.exitCode, 1u);
    EXPECT_TRUE(reverted.boxTexts.empty());
}

} // namespace
