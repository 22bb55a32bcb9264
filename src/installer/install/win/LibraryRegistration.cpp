#include "installer/install/SystemChanges.h"

#include "installer/install/InstallName.h"
#include "installer/install/InstallRun.h"
#include "installer/system/win/CriticalErrorBoxes.h"
#include "installer/system/win/SystemPaths.h"
#include "installer/text/win/WideName.h"
#include "installer/variables/TextExpansion.h"

#include <windows.h>
#include <ole2.h>
#include <oleauto.h>

#include <algorithm>
#include <cctype>
#include <string>

namespace {

constexpr std::size_t kRegistrationFailedText = 176;
constexpr DWORD kPauseAfterStartMs = 50;

// Makes a folder current for the lifetime of the object, then restores the previous one.
class CurrentFolder {
public:
    explicit CurrentFolder(const std::string& folder)
    {
        previous_ = currentFolderPath().cStr();
        if (!folder.empty())
            SetCurrentDirectoryW(WideName(folder));
    }
    ~CurrentFolder()
    {
        if (!previous_.empty())
            SetCurrentDirectoryW(WideName(previous_));
    }
    CurrentFolder(const CurrentFolder&) = delete;
    CurrentFolder& operator=(const CurrentFolder&) = delete;

private:
    std::string previous_;
};

class OleSession {
public:
    OleSession() : ok_(SUCCEEDED(OleInitialize(nullptr))) {}
    ~OleSession()
    {
        if (ok_)
            OleUninitialize();
    }
    OleSession(const OleSession&) = delete;
    OleSession& operator=(const OleSession&) = delete;

private:
    bool ok_;
};

std::string upperExtension(const std::string& path)
{
    std::string tail = path.size() >= 4 ? path.substr(path.size() - 4) : path;
    std::transform(tail.begin(), tail.end(), tail.begin(), [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
    return tail;
}

bool registerTypeLibrary(const std::string& path)
{
    CriticalErrorBoxesSuppressed suppressed;
    WideName widePath(path);
    ITypeLib* library = nullptr;
    if (FAILED(LoadTypeLib(widePath, &library)) || !library)
        return false;
    const bool registered = SUCCEEDED(RegisterTypeLib(library, widePath.data(), nullptr));
    library->Release();
    return registered;
}

void startSelfRegistration(const std::string& path)
{
    std::string commandLine = "\"" + path + "\" /RegServer";
    STARTUPINFOW startup = {};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION process = {};
    WideName line(commandLine);
    if (CreateProcessW(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process)) {
        CloseHandle(process.hThread);
        CloseHandle(process.hProcess);
    }
    Sleep(kPauseAfterStartMs);
}

bool callRegisterServer(const std::string& path)
{
    OleSession ole;
    HMODULE library = LoadLibraryExW(WideName(path), nullptr, LOAD_WITH_ALTERED_SEARCH_PATH);
    if (!library)
        return false;
    using RegisterServer = HRESULT(STDAPICALLTYPE*)();
    const auto entry = reinterpret_cast<RegisterServer>(reinterpret_cast<void*>(GetProcAddress(library, "DllRegisterServer")));
    const bool registered = entry && entry() == S_OK;
    FreeLibrary(library);
    return registered;
}

// False when the file could not be registered.
bool registerFile(const std::string& path)
{
    CurrentFolder current(folderOf(path));
    const std::string extension = upperExtension(path);
    if (extension == ".TLB" || extension == ".OLB")
        return registerTypeLibrary(path);
    if (extension == ".EXE") {
        startSelfRegistration(path);
        return true;
    }
    return callRegisterServer(path);
}

std::string failureText()
{
    const char* const kName = "<__Internal_RegistrationFailed__>";
    ByteString text(kName);
    expandVariables(text, kAllVariables);
    if (text.equalsCStr(kName))
        text = gLanguageTexts[kRegistrationFailedText];
    text.replace("<\\n>", "\n");
    return std::string(reinterpret_cast<const char*>(text.data()), text.length());
}

} // namespace

void registerFiles(std::vector<QueuedRegistration>& queue)
{
    std::string failures;
    for (QueuedRegistration& entry : queue) {
        const std::string path(entry.path.cStr());
        if (registerFile(path))
            continue;
        if (!failures.empty())
            failures += "\n";
        failures += path;
    }
    queue.clear();
    if (failures.empty())
        return;
    const std::string text = failureText() + "\n" + failures;
    showInstallError(text.c_str());
}
