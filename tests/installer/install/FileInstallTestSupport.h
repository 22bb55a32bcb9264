#pragma once
// A package from the builder installed by the file walk into a fresh destination folder, with
// error boxes and created folders recorded. Everything the walk changes is put back.
#include "installer/install/FileInstaller.h"
#include "installer/install/InstallRun.h"
#include "installer/package/ExtractionTestSupport.h"
#include "installer/state/UninstallLists.h"
#include "installer/system/DirectoryCreation.h"
#include "installer/system/ErrorBox.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <sstream>

class FileInstallTest : public ExtractionTest {
protected:
    FileInstallTest()
    {
        boxes() = &errorBoxes;
        previousBox_ = setErrorBoxFunction([](const char* text) { boxes()->emplace_back(text); });
        previousLog_ = setCreatedFolderLog([](const char* path) {
            addListEntry(path, gUninstallLog.directories);
        });
        destination = file("dest");
        gPackageToc.installDir = ByteString(destination.c_str());
    }
    ~FileInstallTest() override
    {
        setErrorBoxFunction(previousBox_);
        setCreatedFolderLog(previousLog_);
        boxes() = nullptr;
        resetInstallRun();
        gUninstallLog.files = ByteString();
        gUninstallLog.backupText = ByteString();
        gUninstallLog.directories = ByteString();
        gPackageToc.installDir = ByteString();
        gPackageToc.pageSequence.clear();
        gPackageToc.componentChoices.clear();
        gPackageToc.installationType = kTypicalInstallation;
        gPackageToc.registrationQueue.clear();
        gPackageToc.renamePairs = ByteString();
        gPackageToc.otherBytes = 0;
        gInstallerContext.optionWord = 0;
        gInstallerContext.defaultOverwriteMode = 0;
    }

#if defined(_WIN32)
    static constexpr const char* kSeparator = "\\";
#else
    static constexpr const char* kSeparator = "/";
#endif
    // Names in tests are written with "/"; the installer gets the system's separator.
    static std::string systemName(std::string name)
    {
        std::replace(name.begin(), name.end(), '/', kSeparator[0]);
        return name;
    }
    // A file entry named below the destination.
    static nlohmann::json entry(const std::string& name, const Bytes& content)
    {
        return {{"name", "<InstallDir>" + std::string(kSeparator) + systemName(name)}, {"hex", hex(content)}};
    }
    std::string installed(const std::string& name) const { return destination + kSeparator + systemName(name); }
    static std::string textOf(const std::string& path)
    {
        std::ifstream in(path, std::ios::binary);
        std::ostringstream out;
        out << in.rdbuf();
        return out.str();
    }
    static void writeText(const std::string& path, const std::string& text)
    {
        std::filesystem::create_directories(std::filesystem::path(path).parent_path());
        std::ofstream(path, std::ios::binary) << text;
    }
    // The file names in the folder and below, relative to it, sorted.
    std::vector<std::string> filesBelow(const std::string& folder) const
    {
        std::vector<std::string> names;
        if (!std::filesystem::exists(folder))
            return names;
        for (const auto& item : std::filesystem::recursive_directory_iterator(folder))
            if (item.is_regular_file())
                names.push_back(std::filesystem::relative(item.path(), folder).generic_string());
        std::sort(names.begin(), names.end());
        return names;
    }
    std::vector<std::string> loggedFiles() const
    {
        return listEntries(gUninstallLog.files);
    }

    std::string destination;
    std::vector<std::string> errorBoxes;

private:
    static std::vector<std::string>*& boxes()
    {
        static std::vector<std::string>* current = nullptr;
        return current;
    }
    ErrorBoxFunction previousBox_;
    CreatedFolderLog previousLog_;
};
