#pragma once
// Runs DravellInstaller.exe (carrying a package) as a child process, answers each message box
// it shows with OK and records what was shown.
#include <nlohmann/json.hpp>

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

struct InstallerRun {
    DWORD exitCode = STILL_ACTIVE;
    bool finished = false;
    // The texts of the message boxes, in the order shown.
    std::vector<std::wstring> boxTexts;
    std::vector<std::wstring> boxCaptions;
    // True when any visible top-level window of the process was seen.
    bool windowShown = false;
};

// Starts program with arguments in tempFolder, TEMP and TMP naming it: its process handle (the
// caller closes it) and id; a null handle when it could not be started. The thread's handle is
// closed already.
PROCESS_INFORMATION startInstallerProcess(const std::wstring& program, const std::wstring& arguments,
                             const std::wstring& tempFolder);
// This process's environment block with TEMP and TMP naming tempFolder.
std::vector<wchar_t> environmentWithTemp(const std::wstring& tempFolder);
// The installer program of this build, as a Windows path.
std::wstring installerProgramPath();

// Starts program with the arguments; its TEMP and TMP point at tempFolder. onBox runs while a
// message box is shown, before it is answered.
InstallerRun runInstallerProcess(const std::wstring& program, const std::wstring& arguments,
                                 const std::wstring& tempFolder,
                                 const std::function<void(const std::wstring&)>& onBox = {});

// Gives a package with a table of contents a product id of its own (unless it names one): one
// installer per product may run, and tests run side by side.
void giveOwnProduct(nlohmann::json& description);
