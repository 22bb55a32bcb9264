// The real installer program with the scripted stand-in plug-in, installing silently: every entry
// point called in order, faults inside the plug-in survived, a refusal ending the run as not
// installed. The plug-in reads its script from the environment the installer inherits.
#include "InstallerProcess.h"

#include "PackageBuilder.h"
#include "installer/system/win/BesideTestProgram.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace {

class PluginRun : public ::testing::Test {
protected:
    void SetUp() override
    {
        const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
        folder_ = fs::temp_directory_path() / ("dravell_e2e_plugin_" + std::string(info->name()));
        fs::remove_all(folder_);
        fs::create_directories(folder_ / "temp");
        log_ = (folder_ / "plugin.log").string();
        setScript("LOG", log_.c_str());
    }
    void TearDown() override
    {
        for (const std::string& name : scripted_)
            SetEnvironmentVariableA(("SCRIPTED_PLUGIN_" + name).c_str(), nullptr);
        std::error_code ignored;
        fs::remove_all(folder_, ignored);
    }

    void setScript(const std::string& name, const char* value)
    {
        SetEnvironmentVariableA(("SCRIPTED_PLUGIN_" + name).c_str(), value);
        scripted_.push_back(name);
    }

    InstallerRun runSilently()
    {
        nlohmann::json package = nlohmann::json::parse(R"({
            "toc": {"settings": {"productName": "E2E plug-in", "installDir": "C:\\E2E plug-in"}},
            "uninstaller": {"text": "MZ uninstaller"}})");
        package["pluginLibrary"] = {{"file", besideTestProgram("scripted_plugin.dll")}};
        const Bytes program = readWholeFile(fs::path(installerProgramPath()).string());
        const fs::path setup = folder_ / "setup.exe";
        writeWholeFile(setup.string(), buildInstallerWithPackage(program, package));
        return runInstallerProcess(setup.wstring(), L"/SILENT", (folder_ / "temp").wstring());
    }

    // The entry points called, in order.
    std::vector<std::string> calls() const
    {
        std::vector<std::string> names;
        std::ifstream in(log_);
        for (std::string line; std::getline(in, line);)
            if (line.rfind("service ", 0) != 0)
                names.push_back(line.substr(0, line.find(' ')));
        return names;
    }

    fs::path folder_;
    std::string log_;
    std::vector<std::string> scripted_;
};

TEST_F(PluginRun, EveryEntryPointIsCalledInOrderAndFaultsInsideThePlugInAreSurvived)
{
    setScript("EntryPoint0", "fault");
    setScript("EntryPoint5", "fault");
    setScript("EntryPoint12", "fault");
    const InstallerRun run = runSilently();
    ASSERT_TRUE(run.finished);
    EXPECT_EQ(run.exitCode, 1u) << "installed";
    EXPECT_EQ(calls(), (std::vector<std::string>{"AdvancedEntry", "EntryPoint0", "EntryPoint1", "EntryPoint1_5",
                                                 "EntryPoint2", "EntryPoint3", "EntryPoint4", "EntryPoint5",
                                                 "EntryPoint6", "EntryPoint7", "EntryPoint8", "EntryPoint9",
                                                 "EntryPoint10", "EntryPoint11", "EntryPoint12", "EntryPoint13"}));
    std::ifstream in(log_);
    std::string first;
    std::getline(in, first);
    EXPECT_NE(first.find("silent=1"), std::string::npos) << first;
}

TEST_F(PluginRun, AnAnswerOutsideOneAndTwoEndsTheRunAsNotInstalled)
{
    setScript("EntryPoint3", "3");
    const InstallerRun run = runSilently();
    ASSERT_TRUE(run.finished);
    EXPECT_EQ(run.exitCode, 0u);
    const std::vector<std::string> names = calls();
    ASSERT_FALSE(names.empty());
    EXPECT_EQ(names.back(), "EntryPoint3");
}

} // namespace
