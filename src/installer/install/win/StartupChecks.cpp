#include "installer/install/win/StartupChecks.h"

#include "installer/install/UpdateVersions.h"
#include "installer/state/InstallerState.h"
#include "installer/system/FileSystem.h"
#include "installer/system/RegistryView.h"
#include "installer/system/win/OwnedWindow.h"
#include "installer/system/win/Registry.h"
#include "installer/text/Utf8.h"
#include "installer/text/win/WideName.h"
#include "installer/variables/UninstallerPath.h"
#include "installer/variables/VariableApi.h"

#include <cstdint>
#include <string>
#include <vector>

namespace {

constexpr DWORD kAutorunBytes = 310;
constexpr DWORD kVersionBytes = 260;
constexpr DWORD kPathBytes = 260;
constexpr DWORD kSettleMilliseconds = 50;

const char* const kUninstallQuestion =
    "%s is already installed on your system. It is highly recommended to uninstall the application before "
    "re-installing. Do you want to uninstall %s before re-installing?";
const char* const kUninstallerMissing = "Couldn't find uninstaller. Previous installation was not removed!";
const char* const kUninstallerNotStarted = "Couldn't launch uninstaller. Previous installation was not removed!";
const char* const kNotRemovedQuestion = "The installation was not removed. Do you still want to re-install?";
const char* const kNotFoundText =
    "The %s installation couldn't be found. Try re-installing the application before running the update.";
const char* const kUpdateConfirmation = "This will update %s to version %s. Do you want to continue?";
const char* const kInstallConfirmation = "This will install %s to your computer. Do you want to continue?";

class ProductKey {
public:
    ProductKey()
    {
        ByteString path = gPackageToc.productKey;
        if (RegOpenKeyExW(predefinedRootKey(gPackageToc.productRegistryRoot), WideName(path.cStr()), 0, KEY_READ | registryViewBits(),
                          &key_) != ERROR_SUCCESS)
            key_ = nullptr;
    }
    ~ProductKey()
    {
        if (key_)
            RegCloseKey(key_);
    }
    ProductKey(const ProductKey&) = delete;
    ProductKey& operator=(const ProductKey&) = delete;

    bool opened() const { return key_ != nullptr; }
    // A text value of at most capacity bytes (the last one always a NUL); false when missing.
    bool read(const char* name, DWORD capacity, std::string& text) const
    {
        if (!key_)
            return false;
        std::vector<std::uint8_t> value;
        if (queryRegistryValue(key_, name, nullptr, value) != ERROR_SUCCESS || value.size() > capacity)
            return false;
        value.push_back(0);
        text = reinterpret_cast<const char*>(value.data());
        return true;
    }
    bool hasValue(const char* name) const
    {
        return key_ && RegQueryValueExW(key_, WideName(name), nullptr, nullptr, nullptr, nullptr) == ERROR_SUCCESS;
    }

private:
    HKEY key_ = nullptr;
};

bool startProcess(std::string commandLine, const char* folder, PROCESS_INFORMATION& process)
{
    STARTUPINFOW startup{};
    startup.cb = sizeof(startup);
    WideName line(commandLine);
    return CreateProcessW(nullptr, line.data(), nullptr, nullptr, FALSE, CREATE_DEFAULT_ERROR_MODE, nullptr,
                          WideName(folder), &startup, &process) != 0;
}

// The package's text when it defines the variable, else the built-in one.
ByteString ownOrBuiltIn(const char* variable, const char* builtIn)
{
    const char* own = getVariableText(variable);
    return ByteString(own ? own : builtIn);
}

ByteString withLineBreaks(ByteString text)
{
    text.replace("<\\n>", "\n");
    return text;
}

const char* windowTitle()
{
    return gBackgroundStyle.windowTitle.cStr();
}

void tell(const char* text, const char* caption = nullptr)
{
    askAtStartup(text, caption, MB_OK);
}

void showError(const char* text)
{
    askAtStartup(text, nullptr, MB_OK | MB_ICONERROR);
}

bool isUpdatePackage()
{
    return (gInstallerContext.packageOptions & kPackageUpdate) != 0;
}

std::size_t percentSigns(const char* text)
{
    std::size_t count = 0;
    for (; *text; ++text)
        count += *text == '%';
    return count;
}

// Waits for the uninstaller, the installer's windows answering meanwhile; false when the
// installer was asked to quit.
bool waitPumping(HANDLE process)
{
    for (;;) {
        const DWORD woken = MsgWaitForMultipleObjects(1, &process, FALSE, INFINITE, QS_ALLINPUT);
        if (woken != WAIT_OBJECT_0 + 1)
            return true;
        MSG message;
        if (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
            if (message.message == WM_QUIT)
                return false;
            TranslateMessage(&message);
            DispatchMessageA(&message);
        }
    }
}

std::string folderOf(const std::string& path)
{
    const std::size_t slash = path.find_last_of('\\');
    return slash == std::string::npos ? std::string() : path.substr(0, slash);
}

} // namespace

ByteString installedUninstallerPath()
{
    if (!gPackageToc.productKey.empty()) {
        std::string path;
        if (ProductKey().read("Uninstaller", kPathBytes - 1, path) && fileExists(path.c_str()))
            return ByteString(path.c_str());
    }
    return uninstallerPath();
}

bool runAutorunCommand()
{
    if (!gPackageToc.autorun)
        return false;
    std::string command;
    if (!ProductKey().read("AutorunCommand", kAutorunBytes - 1, command))
        return false;
    if (command.empty() || command.front() != '"')
        command = "\"" + command + "\"";
    PROCESS_INFORMATION process{};
    if (!startProcess(command, nullptr, process))
        return false;
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return true;
}

bool ensureSingleInstance()
{
    ByteString name = gPackageToc.fileNameSafeProductId;
    name.appendCStr("_inst_m");
    // Never closed: the mark lasts as long as the process.
    HANDLE mutex = CreateMutexW(nullptr, TRUE, WideName(name.cStr()));
    if (!mutex || GetLastError() != ERROR_ALREADY_EXISTS)
        return false;
    CloseHandle(mutex);
    const auto title = utf8ToWide(windowTitle());
    const std::wstring wideTitle = title ? std::wstring(title->begin(), title->end()) : std::wstring();
    if (HWND other = FindWindowW(L"DravellInstaller", wideTitle.c_str())) {
        if (IsIconic(other))
            ShowWindow(other, SW_SHOWMAXIMIZED);
        // The window the user works in comes forward: the page, not the background under it.
        const HWND front = frontOwnedWindow(other);
        SetForegroundWindow(front ? front : other);
    }
    return true;
}

void backupOldUninstaller()
{
    ByteString path = installedUninstallerPath();
    if (path.empty() || !fileExists(path.cStr()))
        return;
    ByteString backup = path;
    backup.appendCStr(".bak");
    if (!CopyFileW(WideName(path.cStr()), WideName(backup.cStr()), FALSE))
        return;
    gPackageToc.savedUninstaller = backup;
    forceDelete(path.cStr());
}

bool uninstallPrevious(bool quiet, const char* givenPath)
{
    const bool interactive = !gFlags.silent && !quiet;
    if (interactive) {
        ByteString question(kUninstallQuestion);
        if (const char* own = getVariableText("<__Internal_AlreadyInstalled__>"); own && percentSigns(own) <= 2)
            question = withLineBreaks(ByteString(own));
        ByteString product = gPackageToc.productName;
        ByteString text;
        text.format(question.cStr(), {product.cStr(), product.cStr()});
        const int answer = askAtStartup(text.cStr(), nullptr, MB_YESNOCANCEL | MB_ICONQUESTION);
        if (answer == IDCANCEL)
            return false;
        if (answer == IDNO)
            return true;
    }
    ByteString uninstaller = givenPath && *givenPath ? ByteString(givenPath) : installedUninstallerPath();
    if (!fileExists(uninstaller.cStr())) {
        if (interactive)
            showError(kUninstallerMissing);
        return true;
    }
    std::string command = std::string("\"") + uninstaller.cStr() + "\" ";
    if (!interactive)
        command += "/SILENT /NOREMOVE";
    const std::string folder = folderOf(uninstaller.cStr());
    PROCESS_INFORMATION process{};
    if (!startProcess(command, folder.empty() ? nullptr : folder.c_str(), process)) {
        if (interactive)
            showError(kUninstallerNotStarted);
        return true;
    }
    CloseHandle(process.hThread);
    if (!waitPumping(process.hProcess)) {
        CloseHandle(process.hProcess);
        return false;
    }
    Sleep(kSettleMilliseconds);
    DWORD exitCode = 1;
    if (!GetExitCodeProcess(process.hProcess, &exitCode))
        exitCode = 1;
    CloseHandle(process.hProcess);
    if (exitCode == 1)
        forceDelete(uninstaller.cStr());
    if (interactive && exitCode == 0) {
        ByteString question = ownOrBuiltIn("<__Internal_InstallationNotRemoved__>", kNotRemovedQuestion);
        ByteString product = gPackageToc.productName;
        ByteString text;
        text.format(question.cStr(), {product.cStr()});
        if (askAtStartup(text.cStr(), nullptr, MB_YESNO | MB_ICONQUESTION | MB_DEFBUTTON2) == IDNO)
            return false;
    }
    return true;
}

bool checkPreviousInstallation()
{
    if (gPackageToc.productKey.empty() && gPackageToc.versionValueName.empty())
        return true;
    if (isUpdatePackage())
        return checkUpdateBase();
    const ProductKey key;
    ByteString valueName = gPackageToc.versionValueName;
    if (!key.opened() || (!valueName.empty() && !key.hasValue(valueName.cStr()))) {
        backupOldUninstaller();
        return true;
    }
    return uninstallPrevious(false, nullptr);
}

bool versionInRange(const char* installed)
{
    const UpdateVersionCheck check = checkVersionInRange(installed);
    if (!check.allowed) {
        ByteString message = check.message;
        tell(message.cStr());
    }
    return check.allowed;
}

bool versionInList(const char* installed)
{
    const UpdateVersionCheck check = checkVersionInList(installed);
    if (!check.allowed) {
        ByteString message = check.message;
        tell(message.cStr(), windowTitle());
    }
    return check.allowed;
}

bool checkUpdateBase()
{
    ByteString product = gPackageToc.productName;
    ByteString notFound;
    notFound.format(ownOrBuiltIn("<__Internal_InstallationNotFound__>", kNotFoundText).cStr(), {product.cStr()});

    const ProductKey key;
    if (key.opened()) {
        if (gPackageToc.versionValueName.empty() && gPackageToc.updatableVersions.empty())
            return true;
        ByteString valueName = gPackageToc.versionValueName;
        std::string installed;
        if (key.read(valueName.cStr(), kVersionBytes - 1, installed)) {
            if (gPackageToc.updatableVersions.empty())
                return true;
            if (gInstallerContext.optionWord & kOptionUpdatableVersionList)
                return versionInList(installed.c_str());
            return versionInRange(installed.c_str());
        }
    }
    if (gPackageToc.normalInstallFallback) {
        gInstallerContext.packageOptions &= ~kPackageUpdate;
        setVariableInt("<IsUpdate>", 0);
        backupOldUninstaller();
        return true;
    }
    showError(notFound.cStr());
    return false;
}

bool confirmStart()
{
    if (!(gInstallerContext.optionWord & kOptionConfirmBeforeInstall))
        return true;
    ByteString product = gPackageToc.productName;
    ByteString text;
    if (isUpdatePackage()) {
        ByteString shown = gPackageToc.versionShown;
        text.format(ownOrBuiltIn("<__Internal_UpdateVerification__>", kUpdateConfirmation).cStr(),
                    {product.cStr(), shown.cStr()});
    } else {
        text.format(ownOrBuiltIn("<__Internal_InstallVerification__>", kInstallConfirmation).cStr(), {product.cStr()});
    }
    return askAtStartup(text.cStr(), windowTitle(), MB_YESNO | MB_ICONQUESTION) != IDNO;
}
