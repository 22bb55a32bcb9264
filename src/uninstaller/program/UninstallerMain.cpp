// The uninstaller program that Korvanel's install package carries. The installer appends the
// installation's uninstall data to it; this program undoes what the data lists.
//   "/SILENT /NOREMOVE" (the installer's rollback, or its removal of a previous installation):
//   no window; the program file stays (its caller deletes it).
//   Run by a person (the Start menu's shortcut, or the system's list of installed programs): it
//   asks first, then removes everything and itself, and says what it removed.
//   "/SILENT" alone: everything and itself, without a window.
// Exit code 1 means everything the data lists was undone; 0 that it was not (declined, data
// unreadable, or something could not be removed). It writes no log.
//
// A running program cannot delete its own file, so the removal by a person runs from a copy in
// the temporary folder that the system deletes when it ends: the copy is opened delete-on-close
// and that handle is inherited by the copy's process alone. The first process waits until the
// copy has undone the installation, exits with its outcome, and the copy then deletes the
// installed program and the folders it leaves empty.
#include "uninstaller/UninstallDataReader.h"
#include "uninstaller/UninstallUndo.h"
#include "uninstaller/win/SystemText.h"

#include <windows.h>
#include <shellapi.h>

#include <cstdint>
#include <cwchar>
#include <string>
#include <vector>

namespace {

constexpr int kRemoved = 1;
constexpr int kNotRemoved = 0;

struct Options {
    bool silent = false;
    bool noRemove = false;
    // Set in the temporary copy: the first process, its two outcome events, its program file.
    HANDLE firstProcess = nullptr;
    HANDLE removedEvent = nullptr;
    HANDLE notRemovedEvent = nullptr;
    std::wstring installedProgram;
};

HANDLE handleFrom(const wchar_t* text)
{
    return reinterpret_cast<HANDLE>(static_cast<std::uintptr_t>(std::wcstoull(text, nullptr, 10)));
}

std::wstring handleText(HANDLE handle)
{
    return std::to_wstring(static_cast<unsigned long long>(reinterpret_cast<std::uintptr_t>(handle)));
}

Options parseOptions()
{
    Options options;
    int count = 0;
    LPWSTR* arguments = CommandLineToArgvW(GetCommandLineW(), &count);
    if (!arguments)
        return options;
    for (int i = 1; i < count; ++i) {
        const wchar_t* argument = arguments[i];
        if (lstrcmpiW(argument, L"/SILENT") == 0)
            options.silent = true;
        else if (lstrcmpiW(argument, L"/NOREMOVE") == 0)
            options.noRemove = true;
        else if (lstrcmpiW(argument, L"/REMOVECOPY") == 0 && i + 4 < count) {
            options.firstProcess = handleFrom(arguments[i + 1]);
            options.removedEvent = handleFrom(arguments[i + 2]);
            options.notRemovedEvent = handleFrom(arguments[i + 3]);
            options.installedProgram = arguments[i + 4];
            i += 4;
        }
    }
    LocalFree(arguments);
    return options;
}

std::wstring ownPath()
{
    std::wstring path(MAX_PATH, L'\0');
    for (;;) {
        const DWORD length = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
        if (length == 0)
            return std::wstring();
        if (length < path.size()) {
            path.resize(length);
            return path;
        }
        path.resize(path.size() * 2);
    }
}

std::string readWhole(const std::wstring& path)
{
    HANDLE file = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        throw std::runtime_error("the program file cannot be read");
    std::string bytes;
    char buffer[65536];
    DWORD got = 0;
    while (ReadFile(file, buffer, sizeof(buffer), &got, nullptr) && got > 0)
        bytes.append(buffer, got);
    CloseHandle(file);
    return bytes;
}

std::wstring systemMessage(DWORD error)
{
    wchar_t* text = nullptr;
    FormatMessageW(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr,
                   error, 0, reinterpret_cast<wchar_t*>(&text), 0, nullptr);
    std::wstring message = text ? text : L"error " + std::to_wstring(error);
    if (text)
        LocalFree(text);
    while (!message.empty() && (message.back() == L'\n' || message.back() == L'\r' || message.back() == L' '))
        message.pop_back();
    return message;
}

std::wstring caption(const uninstall_reader::Data& data) { return systemName(data.product) + L" Uninstall"; }

std::wstring outcomeText(const uninstall_reader::Data& data, const UndoOutcome& outcome)
{
    const std::wstring product = systemName(data.product);
    std::wstring text;
    if (outcome.complete())
        text = product + L" was removed from your computer.\n\n";
    else
        text = product + L" was not removed completely.\n\n";
    text += L"Removed: " + std::to_wstring(outcome.filesRemoved) + L" files, " +
            std::to_wstring(outcome.foldersRemoved) + L" folders, " +
            std::to_wstring(outcome.registryEntriesRemoved) + L" registry entries";
    if (outcome.backupsRestored > 0)
        text += L"; " + std::to_wstring(outcome.backupsRestored) + L" replaced files restored";
    text += L".";
    if (!outcome.complete()) {
        text += L"\n\nThese could not be removed:";
        std::size_t shown = 0;
        for (const std::string& item : outcome.notUndone) {
            if (++shown > 20) {
                text += L"\n...";
                break;
            }
            text += L"\n" + systemName(item);
        }
    }
    return text;
}

// The copy's part once the first process has ended: the installed program and the folders that
// are now empty go.
void removeInstalledProgram(const Options& options, const uninstall_reader::Data& data)
{
    WaitForSingleObject(options.firstProcess, INFINITE);
    // The system may hold the ended program's file for a moment after its process ended.
    for (int attempt = 0; attempt < 50; ++attempt) {
        SetFileAttributesW(options.installedProgram.c_str(), FILE_ATTRIBUTE_NORMAL);
        if (DeleteFileW(options.installedProgram.c_str()) ||
            GetFileAttributesW(options.installedProgram.c_str()) == INVALID_FILE_ATTRIBUTES)
            break;
        Sleep(100);
    }
    for (const std::string& folder : data.section("Directories:"))
        RemoveDirectoryW(systemName(folder).c_str());
}

// Starts the temporary copy that does the removal; kRemoved or kNotRemoved as it reports.
int removeFromCopy(const std::wstring& self, const uninstall_reader::Data& data, bool silent)
{
    wchar_t temp[MAX_PATH + 1] = {};
    wchar_t copy[MAX_PATH + 1] = {};
    if (GetTempPathW(MAX_PATH, temp) == 0 || GetTempFileNameW(temp, L"kvu", 0, copy) == 0 ||
        !CopyFileW(self.c_str(), copy, FALSE)) {
        const DWORD error = GetLastError();
        DeleteFileW(copy);
        if (!silent)
            MessageBoxW(nullptr,
                        (L"The uninstaller could not copy itself to the temporary folder \"" + std::wstring(temp) +
                         L"\": " + systemMessage(error) + L"\n\nNothing was removed.").c_str(),
                        caption(data).c_str(), MB_OK | MB_ICONERROR);
        return kNotRemoved;
    }
    SECURITY_ATTRIBUTES inherited{sizeof(SECURITY_ATTRIBUTES), nullptr, TRUE};
    // Whoever closes the last handle of this one deletes the copy: the copy's own process.
    HANDLE deleteOnClose = CreateFileW(copy, DELETE | GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_DELETE, &inherited,
                                       OPEN_EXISTING, FILE_FLAG_DELETE_ON_CLOSE, nullptr);
    HANDLE removed = CreateEventW(&inherited, TRUE, FALSE, nullptr);
    HANDLE notRemoved = CreateEventW(&inherited, TRUE, FALSE, nullptr);
    HANDLE me = nullptr;
    DuplicateHandle(GetCurrentProcess(), GetCurrentProcess(), GetCurrentProcess(), &me, SYNCHRONIZE, TRUE, 0);
    std::wstring command = L"\"" + std::wstring(copy) + L"\"" + (silent ? L" /SILENT" : L"") + L" /REMOVECOPY " +
                           handleText(me) + L" " + handleText(removed) + L" " + handleText(notRemoved) + L" \"" + self +
                           L"\"";
    STARTUPINFOW startup{};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION process{};
    const bool started = deleteOnClose != INVALID_HANDLE_VALUE && removed && notRemoved && me &&
                         CreateProcessW(copy, command.data(), nullptr, nullptr, TRUE, 0, nullptr, temp, &startup, &process);
    const DWORD error = GetLastError();
    if (deleteOnClose != INVALID_HANDLE_VALUE)
        CloseHandle(deleteOnClose);
    if (me)
        CloseHandle(me);
    int result = kNotRemoved;
    if (!started) {
        DeleteFileW(copy);
        if (!silent)
            MessageBoxW(nullptr, (L"The uninstaller could not start its copy \"" + std::wstring(copy) + L"\": " +
                              systemMessage(error) + L"\n\nNothing was removed.").c_str(),
                    caption(data).c_str(), MB_OK | MB_ICONERROR);
    } else {
        const HANDLE waitFor[] = {removed, notRemoved, process.hProcess};
        if (WaitForMultipleObjects(3, waitFor, FALSE, INFINITE) == WAIT_OBJECT_0)
            result = kRemoved;
        CloseHandle(process.hProcess);
        CloseHandle(process.hThread);
    }
    if (removed)
        CloseHandle(removed);
    if (notRemoved)
        CloseHandle(notRemoved);
    return result;
}

int run()
{
    const Options options = parseOptions();
    const std::wstring self = ownPath();
    uninstall_reader::Data data;
    try {
        data = uninstall_reader::parseUninstallerFile(readWhole(self));
    } catch (const std::exception& error) {
        if (!options.silent)
            MessageBoxW(nullptr,
                        (L"The uninstall data in \"" + self + L"\" cannot be read (" + systemName(error.what()) +
                         L"). Nothing was removed.").c_str(),
                        L"Uninstall", MB_OK | MB_ICONERROR);
        if (options.notRemovedEvent)
            SetEvent(options.notRemovedEvent);
        return kNotRemoved;
    }
    const auto undoAndSay = [&] {
        const UndoOutcome outcome = undoUninstallData(data);
        if (!options.silent)
            MessageBoxW(nullptr, outcomeText(data, outcome).c_str(), caption(data).c_str(),
                        MB_OK | (outcome.complete() ? MB_ICONINFORMATION : MB_ICONWARNING));
        return outcome.complete();
    };
    if (options.firstProcess) {
        const bool complete = undoAndSay();
        SetEvent(complete ? options.removedEvent : options.notRemovedEvent);
        removeInstalledProgram(options, data);
        return complete ? kRemoved : kNotRemoved;
    }
    if (!options.silent) {
        const std::wstring product = systemName(data.product);
        const std::wstring question =
            L"Do you want to remove " + product + L" and all of its components from your computer?";
        if (MessageBoxW(nullptr, question.c_str(), caption(data).c_str(), MB_YESNO | MB_ICONQUESTION | MB_DEFBUTTON2) !=
            IDYES)
            return kNotRemoved;
    }
    if (options.noRemove)
        return undoAndSay() ? kRemoved : kNotRemoved;
    return removeFromCopy(self, data, options.silent);
}

} // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, LPWSTR, int)
{
    try {
        return run();
    } catch (...) {
        return kNotRemoved;
    }
}
