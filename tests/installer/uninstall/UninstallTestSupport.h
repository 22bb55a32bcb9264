#pragma once
// A clean uninstall log, package and run for each test, with the system services replaced.
#include "UninstallDataReader.h"

#include "../text/TempFolder.h"
#include "installer/install/InstallRun.h"
#include "installer/state/InstallerShutdown.h"
#include "installer/state/InstallerState.h"
#include "installer/uninstall/UninstallServices.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <string>
#include <vector>

inline std::string bytesOf(const ByteString& text)
{
    return std::string(reinterpret_cast<const char*>(text.data()), text.length());
}

inline std::string readFile(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

inline void writeFile(const std::string& path, const std::string& bytes)
{
    std::ofstream(path, std::ios::binary) << bytes;
}

struct StartedProgram {
    std::string program;
    std::string commandLine;
    std::string folder;
    // The program's file as it was when it started.
    std::string bytes;
};

class UninstallTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        savedServices_ = uninstallServices();
        resetState();
        UninstallServices& services = uninstallServices();
        services.runAndWait = [this](const std::string& program, const std::string& line, const std::string& folder) {
            started.push_back({program, line, folder, readFile(program)});
            return std::int64_t{1};
        };
        services.cancelDeleteOnReboot = [this](const std::string& path) { cancelledDeletes.push_back(path); };
        services.leaveInstalledFolders = [] {};
        services.showError = [this](OpaqueHandle, const char* text) { errors.emplace_back(text); };
        services.findUninstaller = [this] { return uninstaller(); };
    }
    void TearDown() override
    {
        uninstallServices() = savedServices_;
        resetState();
    }

    static void resetState()
    {
        gUninstallLog = UninstallLog{};
        PackageToc& toc = gPackageToc;
        toc.productName = ByteString("Product");
        toc.uninstallDataSettings = ByteString("settings");
        toc.registryView64 = 0;
        for (std::size_t i = 0; i < toc.registryRoots.size(); ++i) {
            toc.registryRoots[i] = RegistryNode{};
            toc.registryRoots[i].rootKey = 0x80000000u + static_cast<std::uint32_t>(i);
        }
        toc.pageSequence.clear();
        toc.imageList.clear();
        toc.identifierList.clear();
        toc.uninstallerNameTemplate = ByteString();
        toc.savedUninstaller = ByteString();
        toc.productKey = ByteString();
        gInstallerContext.optionWord = 0;
        gInstallerContext.packageOptions = 0;
        gInstallRun.asideFiles.clear();
        gInstallRun.sharedLibraries.clear();
        gInstallRun.createdFiles.clear();
    }

    std::string uninstaller() const { return folder.file("uninst.exe"); }

    // A template program at the log's template path and the uninstaller path set.
    void givenTemplateProgram(const std::string& bytes = "MZstub")
    {
        const std::string path = folder.file("template.tmp");
        writeFile(path, bytes);
        gUninstallLog.templatePath = ByteString(path.c_str());
        gPackageToc.uninstallerNameTemplate = ByteString(uninstaller().c_str());
    }

    TempFolder folder;
    std::vector<StartedProgram> started;
    std::vector<std::string> cancelledDeletes;
    std::vector<std::string> errors;

private:
    UninstallServices savedServices_;
};
