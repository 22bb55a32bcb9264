#pragma once
// Each end-to-end test runs the installer in a folder of its own, named after the test so that
// test programs running side by side never share one, and empty when the test starts.
#include "InstallerProcess.h"

#include "PackageBuilder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <system_error>

// The running test as "<suite>_<name>", fit for a file or key name.
inline std::string testName()
{
    const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
    std::string name = std::string(info->test_suite_name()) + "_" + info->name();
    std::replace(name.begin(), name.end(), '/', '_');
    return name;
}

// folder_ is "<temporary folder>/<prefix><test name>" with a "temp" folder for the installer's
// TEMP; it goes when the test ends.
class InstallerTestFolder : public ::testing::Test {
protected:
    explicit InstallerTestFolder(std::string prefix) : prefix_(std::move(prefix)) {}
    void SetUp() override
    {
        folder_ = std::filesystem::temp_directory_path() / (prefix_ + testName());
        std::filesystem::remove_all(folder_);
        std::filesystem::create_directories(folder_ / "temp");
    }
    void TearDown() override
    {
        std::error_code ignored;
        std::filesystem::remove_all(folder_, ignored);
    }
    std::wstring tempFolder() const { return (folder_ / "temp").wstring(); }
    // The installer carrying the package d describes, as a product of its own, in folder_.
    std::wstring writeSetup(nlohmann::json d) const
    {
        giveOwnProduct(d);
        const std::filesystem::path setup = folder_ / "setup.exe";
        const Bytes program = readWholeFile(std::filesystem::path(installerProgramPath()).string());
        writePackageFiles(setup.string(), buildPackage(program, d));
        return setup.wstring();
    }

    std::string prefix_;
    std::filesystem::path folder_;
};
