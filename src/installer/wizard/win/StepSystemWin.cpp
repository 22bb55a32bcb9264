#include "installer/wizard/win/StepSystemWin.h"

#include "installer/install/InstallRun.h"
#include "installer/state/InstallerShutdown.h"
#include "installer/state/InstallerState.h"
#include "installer/state/win/InstallerMessageBox.h"
#include "installer/system/DirectoryCreation.h"
#include "installer/text/win/WideName.h"
#include "installer/variables/VariableApi.h"
#include "installer/wizard/win/InstallerDialogs.h"
#include "installer/wizard/win/TemplatePage.h"

#include <windows.h>
#include <shellapi.h>

#include <cstring>
#include <string>
#include <vector>

namespace {

constexpr FILEOP_FLAGS kQuietUndoableOperation = FOF_NOCONFIRMATION | FOF_ALLOWUNDO | FOF_NOCONFIRMMKDIR | FOF_NOERRORUI;
constexpr std::size_t kWaitText = 163;

const char* orNull(const char* text)
{
    return text && text[0] ? text : nullptr;
}

HWND waitOwner()
{
    if (gMainInstaller.currentPage)
        if (HWND window = gMainInstaller.currentPage->window)
            return window;
    if (TemplatePage* building = pageBeingCreated())
        if (building->window)
            return building->window;
    return static_cast<HWND>(gMainInstaller.mainWindow);
}

ByteString waitText(const char* message)
{
    std::string text;
    if (message && message[0])
        text = message;
    else if (const char* variable = getVariableText("<__Internal_WaitExternal__>"))
        text = variable;
    else
        text = ByteString(gLanguageTexts[kWaitText]).cStr();
    for (std::size_t at = text.find("<\\n>"); at != std::string::npos; at = text.find("<\\n>", at + 1))
        text.replace(at, 4, "\n");
    return ByteString(text.c_str());
}

// Dispatches messages until the process ends; a WM_QUIT met meanwhile is posted again.
void pumpUntilEnded(HANDLE process)
{
    bool quit = false;
    int quitCode = 0;
    for (;;) {
        const DWORD woken = MsgWaitForMultipleObjects(1, &process, FALSE, INFINITE, QS_ALLINPUT);
        if (woken != WAIT_OBJECT_0 + 1)
            break;
        MSG message;
        while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
            if (message.message == WM_QUIT) {
                quit = true;
                quitCode = static_cast<int>(message.wParam);
                continue;
            }
            TranslateMessage(&message);
            DispatchMessageA(&message);
        }
    }
    if (quit)
        PostQuitMessage(quitCode);
}

// Starts the command line; the handles are the caller's to close. False when it cannot start.
bool createProcess(const char* commandLine, const char* folder, PROCESS_INFORMATION& process)
{
    WideName line(commandLine);
    STARTUPINFOW startup{};
    startup.cb = sizeof(startup);
    startup.dwFlags = STARTF_USESHOWWINDOW;
    startup.wShowWindow = SW_SHOWNORMAL;
    return CreateProcessW(nullptr, line.data(), nullptr, nullptr, FALSE, CREATE_DEFAULT_ERROR_MODE, nullptr,
                          WideName(orNull(folder)), &startup, &process) != FALSE;
}

std::wstring doubleNulTerminated(const char* text)
{
    std::wstring units(WideName(text).get());
    units.push_back(L'\0');
    return units; // the string's own NUL is the second
}

class WindowsStepSystem : public StepSystem {
public:
    void shellExecute(const char* verb, const char* file, const char* parameters, const char* folder,
                      bool ownedByPage) override
    {
        HWND owner = ownedByPage ? static_cast<HWND>(gInstallRun.pageWindow) : nullptr;
        ShellExecuteW(owner, WideName(verb), WideName(file), WideName(orNull(parameters)), WideName(orNull(folder)), SW_SHOWNORMAL);
    }

    bool messageBox(const char* text, const char* caption, bool yesNo) override
    {
        const int answer = ::messageBox(nullptr, text, orNull(caption), yesNo ? MB_YESNO : MB_OK);
        return yesNo ? answer == IDYES : answer == IDOK;
    }

    bool inputDialog(const char* prompt, const char* caption, std::string& text) override
    {
        InputRequest request;
        request.prompt.assignCStr(prompt);
        request.caption.assignCStr(caption);
        request.value.assignCStr(text.c_str());
        if (runInputDialog(static_cast<HWND>(gInstallRun.pageWindow), request) != IDOK)
            return false;
        text = request.value.cStr();
        return true;
    }

    void runAndWait(const char* commandLine, const char* folder, const char* message) override
    {
        HWND owner = waitOwner();
        HWND note = CreateDialogParamA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(kProgressNoteDialogId), owner,
                                       progressDialogProc, 0);
        if (note) {
            setControlText(GetDlgItem(note, kProgressNoteTextId), waitText(message));
            ByteString title = gBackgroundStyle.title;
            setControlText(note, title);
            ShowWindow(note, SW_SHOW);
        }
        if (owner)
            EnableWindow(owner, FALSE);
        PROCESS_INFORMATION process{};
        if (createProcess(commandLine, folder, process)) {
            pumpUntilEnded(process.hProcess);
            CloseHandle(process.hThread);
            CloseHandle(process.hProcess);
        }
        if (owner)
            EnableWindow(owner, TRUE);
        if (note)
            DestroyWindow(note);
    }

    void endInstaller() override { ::endInstaller(); }

    bool createFolders(const char* path) override { return createDirectories(path, true); }

    void removeEmptyFolder(const char* path) override { RemoveDirectoryW(WideName(path)); }

    bool shellFileOperation(ShellFileFunction function, const char* source, const char* destination) override
    {
        std::wstring from = doubleNulTerminated(source);
        std::wstring to = doubleNulTerminated(destination ? destination : "");
        SHFILEOPSTRUCTW operation{};
        operation.hwnd = static_cast<HWND>(gMainInstaller.mainWindow);
        switch (function) {
        case ShellFileFunction::Delete: operation.wFunc = FO_DELETE; break;
        case ShellFileFunction::Move: operation.wFunc = FO_MOVE; break;
        case ShellFileFunction::Rename: operation.wFunc = FO_RENAME; break;
        case ShellFileFunction::Copy: operation.wFunc = FO_COPY; break;
        }
        operation.pFrom = from.c_str();
        operation.pTo = destination ? to.c_str() : nullptr;
        operation.fFlags = kQuietUndoableOperation;
        return SHFileOperationW(&operation) == 0 && !operation.fAnyOperationsAborted;
    }

    std::optional<std::uint32_t> attributes(const char* path) override
    {
        const DWORD found = GetFileAttributesW(WideName(path));
        if (found == INVALID_FILE_ATTRIBUTES)
            return std::nullopt;
        return found;
    }

    void addFont(const char* path) override
    {
        AddFontResourceW(WideName(path));
        // Broadcast with a time limit: a hung window must not hold the installer.
        SendMessageTimeoutA(HWND_BROADCAST, WM_FONTCHANGE, 0, 0, SMTO_ABORTIFHUNG, 1000, nullptr);
    }

    void startProgram(const char* commandLine, const char* folder) override
    {
        PROCESS_INFORMATION process{};
        if (createProcess(commandLine, folder, process)) {
            CloseHandle(process.hThread);
            CloseHandle(process.hProcess);
        }
    }

    void restartWindows() override
    {
        HANDLE token = nullptr;
        if (OpenProcessToken(GetCurrentProcess(), TOKEN_ADJUST_PRIVILEGES | TOKEN_QUERY, &token)) {
            TOKEN_PRIVILEGES privileges{};
            privileges.PrivilegeCount = 1;
            privileges.Privileges[0].Attributes = SE_PRIVILEGE_ENABLED;
            if (LookupPrivilegeValueA(nullptr, "SeShutdownPrivilege", &privileges.Privileges[0].Luid))
                AdjustTokenPrivileges(token, FALSE, &privileges, 0, nullptr, nullptr);
            CloseHandle(token);
        }
        ExitWindowsEx(EWX_REBOOT, 0);
    }

    void exitProcess(std::uint32_t code) override { ExitProcess(code); }
};

} // namespace

StepSystem& windowsStepSystem()
{
    static WindowsStepSystem system;
    return system;
}
