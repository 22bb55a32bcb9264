#include "installer/uninstall/UninstallServices.h"

#include "installer/install/win/StartupChecks.h"
#include "installer/state/win/InstallerMessageBox.h"
#include "installer/system/FileSystem.h"
#include "installer/system/RegistryView.h"
#include "installer/system/SystemError.h"
#include "installer/system/win/Registry.h"
#include "installer/text/win/WideName.h"
#include "installer/uninstall/PendingRenames.h"
#include "installer/variables/UninstallerPath.h"

#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

namespace {

const char* const kSessionManagerKey = "SYSTEM\\CurrentControlSet\\Control\\Session Manager";
const char* const kPendingRenamesValue = "PendingFileRenameOperations";

void pumpMessages()
{
    MSG message;
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
}

std::int64_t runAndWait(const std::string& program, const std::string& commandLine, const std::string& folder)
{
    STARTUPINFOW startup{};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION process{};
    WideName line(commandLine);
    if (!CreateProcessW(WideName(program), line.data(), nullptr, nullptr, FALSE, CREATE_DEFAULT_ERROR_MODE, nullptr,
                        WideName(folder.empty() ? nullptr : folder.c_str()), &startup, &process))
        return -1;
    CloseHandle(process.hThread);
    while (MsgWaitForMultipleObjects(1, &process.hProcess, FALSE, INFINITE, QS_ALLINPUT) == WAIT_OBJECT_0 + 1)
        pumpMessages();
    DWORD exitCode = 0;
    GetExitCodeProcess(process.hProcess, &exitCode);
    CloseHandle(process.hProcess);
    return exitCode;
}

void removePendingDelete(const std::string& path)
{
    HKEY key;
    if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, WideName(kSessionManagerKey), 0, KEY_QUERY_VALUE | KEY_SET_VALUE | registryViewBits(),
                      &key) != ERROR_SUCCESS)
        return;
    DWORD type = 0;
    std::vector<std::uint8_t> bytes;
    if (queryRegistryValue(key, kPendingRenamesValue, &type, bytes) == ERROR_SUCCESS && type == REG_MULTI_SZ &&
        !bytes.empty()) {
        {
            const std::string value(bytes.begin(), bytes.end());
            std::vector<std::string> pairs = multiStringEntries(value);
            if (removeRenamePairs(pairs, path, nullptr)) {
                if (pairs.empty()) {
                    RegDeleteValueW(key, WideName(kPendingRenamesValue));
                } else {
                    const std::string written = multiStringValue(pairs);
                    setRegistryValue(key, kPendingRenamesValue, REG_MULTI_SZ,
                                     reinterpret_cast<const BYTE*>(written.data()), static_cast<DWORD>(written.size()));
                }
            }
        }
    }
    RegCloseKey(key);
}

// Windows 9x keeps its deletes at restart as "NUL=<short path>" lines of wininit.ini.
void removeWininitDelete(const std::string& path)
{
    char windows[MAX_PATH];
    if (getWindowsDirectory(windows, MAX_PATH) == 0)
        return;
    wchar_t wideShortPath[MAX_PATH];
    if (GetShortPathNameW(WideName(path), wideShortPath, MAX_PATH) == 0)
        return;
    ByteString shortPath = utf8FromWide(wideShortPath);
    std::string iniPath = windows;
    if (!iniPath.empty() && iniPath.back() != '\\')
        iniPath += '\\';
    iniPath += "wininit.ini";
    ByteString text;
    if (text.loadFromFile(iniPath.c_str()) != 1)
        return;
    const std::string line = std::string("NUL=") + shortPath.cStr();
    std::uint32_t start = 0;
    while (start < text.length()) {
        const std::int32_t end = text.find("\r\n", start);
        const std::uint32_t stop = end < 0 ? text.length() : static_cast<std::uint32_t>(end);
        if (stop - start == line.size() &&
            CompareStringA(LOCALE_SYSTEM_DEFAULT, NORM_IGNORECASE, reinterpret_cast<const char*>(text.data() + start),
                           static_cast<int>(stop - start), line.c_str(), static_cast<int>(line.size())) == CSTR_EQUAL) {
            text.erase(start, stop + (end < 0 ? 0 : 2) - start);
            text.saveToFile(iniPath.c_str());
            return;
        }
        start = stop + 2;
    }
}

std::string whyNotWritable(const std::string& path)
{
    // A read-only file is written all the same: the attribute is cleared for the write.
    const DWORD attributes = GetFileAttributesA(path.c_str());
    const bool readOnly = attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY);
    if (readOnly)
        SetFileAttributesA(path.c_str(), attributes & ~FILE_ATTRIBUTE_READONLY);
    HANDLE file = CreateFileA(path.c_str(), GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    const DWORD error = file == INVALID_HANDLE_VALUE ? GetLastError() : ERROR_SUCCESS;
    if (file != INVALID_HANDLE_VALUE)
        CloseHandle(file);
    if (readOnly)
        SetFileAttributesA(path.c_str(), attributes);
    if (error == ERROR_SUCCESS)
        return std::string();
    ByteString message = systemErrorMessage(error);
    return message.empty() ? "system error " + std::to_string(error) : std::string(message.cStr());
}

void cancelDeleteOnReboot(const std::string& path)
{
    if (gInstallerContext.osVersion.platformId == VER_PLATFORM_WIN32_WINDOWS)
        removeWininitDelete(path);
    else
        removePendingDelete(path);
}

} // namespace

UninstallServices systemUninstallServices()
{
    UninstallServices services;
    services.runAndWait = runAndWait;
    services.cancelDeleteOnReboot = cancelDeleteOnReboot;
    services.removeEmptyFolder = [](const std::string& folder) { return RemoveDirectoryW(WideName(folder)) != 0; };
    services.leaveInstalledFolders = [] { SetCurrentDirectoryA("c:\\"); };
    services.findUninstaller = [] { return std::string(installedUninstallerPath().cStr()); };
    services.showError = [](OpaqueHandle owner, const char* text) { errorBox(static_cast<HWND>(owner), text, nullptr); };
    services.whyNotWritable = whyNotWritable;
    return services;
}
