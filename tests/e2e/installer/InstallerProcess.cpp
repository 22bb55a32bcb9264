#include "InstallerProcess.h"

#include <algorithm>
#include <chrono>
#include <set>

namespace {

struct ProcessWindows {
    DWORD processId;
    std::vector<HWND> windows;
};

BOOL CALLBACK collectProcessWindow(HWND window, LPARAM data) noexcept
{
    try {
        auto* found = reinterpret_cast<ProcessWindows*>(data);
        DWORD owner = 0;
        GetWindowThreadProcessId(window, &owner);
        if (owner == found->processId && IsWindowVisible(window))
            found->windows.push_back(window);
        return TRUE;
    } catch (...) {
        return FALSE;
    }
}

BOOL CALLBACK collectStaticText(HWND child, LPARAM data) noexcept
{
    try {
        wchar_t className[32] = {};
        GetClassNameW(child, className, 32);
        if (lstrcmpiW(className, L"Static") == 0) {
            wchar_t text[1024] = {};
            if (GetWindowTextW(child, text, 1024) > 0) {
                auto* all = reinterpret_cast<std::wstring*>(data);
                if (!all->empty())
                    *all += L"\n";
                *all += text;
            }
        }
        return TRUE;
    } catch (...) {
        return FALSE;
    }
}

bool isMessageBox(HWND window)
{
    wchar_t className[32] = {};
    GetClassNameW(window, className, 32);
    return lstrcmpW(className, L"#32770") == 0 && GetDlgItem(window, IDOK) != nullptr;
}

} // namespace

std::vector<wchar_t> environmentWithTemp(const std::wstring& tempFolder)
{
    std::vector<std::wstring> entries;
    if (wchar_t* block = GetEnvironmentStringsW()) {
        for (const wchar_t* entry = block; *entry; entry += wcslen(entry) + 1) {
            std::wstring text = entry;
            std::wstring upper = text.substr(0, 5);
            std::transform(upper.begin(), upper.end(), upper.begin(), ::towupper);
            if (upper.rfind(L"TEMP=", 0) != 0 && upper.rfind(L"TMP=", 0) != 0)
                entries.push_back(text);
        }
        FreeEnvironmentStringsW(block);
    }
    entries.push_back(L"TEMP=" + tempFolder);
    entries.push_back(L"TMP=" + tempFolder);
    std::vector<wchar_t> out;
    for (const auto& entry : entries) {
        out.insert(out.end(), entry.begin(), entry.end());
        out.push_back(0);
    }
    out.push_back(0);
    return out;
}

std::wstring installerProgramPath()
{
    std::wstring path = L"Z:" DRAVELL_INSTALLER_EXE;
    std::replace(path.begin(), path.end(), L'/', L'\\');
    return path;
}

PROCESS_INFORMATION startInstallerProcess(const std::wstring& program, const std::wstring& arguments,
                                          const std::wstring& tempFolder)
{
    std::wstring commandLine = L"\"" + program + L"\"" + (arguments.empty() ? L"" : L" " + arguments);
    std::vector<wchar_t> environment = environmentWithTemp(tempFolder);
    STARTUPINFOW startup{};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION process{};
    if (!CreateProcessW(program.c_str(), commandLine.data(), nullptr, nullptr, FALSE, CREATE_UNICODE_ENVIRONMENT,
                        environment.data(), tempFolder.c_str(), &startup, &process))
        return PROCESS_INFORMATION{};
    CloseHandle(process.hThread);
    process.hThread = nullptr;
    return process;
}

InstallerRun runInstallerProcess(const std::wstring& program, const std::wstring& arguments,
                                 const std::wstring& tempFolder,
                                 const std::function<void(const std::wstring&)>& onBox)
{
    InstallerRun run;
    const PROCESS_INFORMATION process = startInstallerProcess(program, arguments, tempFolder);
    if (!process.hProcess)
        return run;

    std::set<HWND> answered;
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(180);
    while (WaitForSingleObject(process.hProcess, 20) == WAIT_TIMEOUT) {
        if (std::chrono::steady_clock::now() > deadline) {
            TerminateProcess(process.hProcess, 99);
            WaitForSingleObject(process.hProcess, 5000);
            CloseHandle(process.hProcess);
            return run;
        }
        ProcessWindows found{process.dwProcessId, {}};
        EnumWindows(collectProcessWindow, reinterpret_cast<LPARAM>(&found));
        for (HWND window : found.windows) {
            run.windowShown = true;
            if (!isMessageBox(window) || answered.count(window))
                continue;
            std::wstring text;
            EnumChildWindows(window, collectStaticText, reinterpret_cast<LPARAM>(&text));
            run.boxTexts.push_back(text);
            wchar_t caption[256] = {};
            GetWindowTextW(window, caption, 256);
            run.boxCaptions.push_back(caption);
            if (onBox)
                onBox(text);
            answered.insert(window);
            PostMessageW(window, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
        }
    }
    GetExitCodeProcess(process.hProcess, &run.exitCode);
    run.finished = true;
    CloseHandle(process.hProcess);
    return run;
}

void giveOwnProduct(nlohmann::json& description)
{
    static int packages = 0;
    if (!description.is_object() || !description.contains("toc"))
        return;
    nlohmann::json& settings = description["toc"]["settings"];
    if (!settings.contains("productId"))
        settings["productId"] = "E2E " + std::to_string(GetCurrentProcessId()) + "-" + std::to_string(++packages);
}
