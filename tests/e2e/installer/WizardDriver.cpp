#include "WizardDriver.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <set>

namespace {

struct ProcessWindows {
    DWORD processId;
    std::vector<HWND> windows;
};

BOOL CALLBACK collectProcessWindow(HWND window, LPARAM data) noexcept
{
    auto* found = reinterpret_cast<ProcessWindows*>(data);
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    if (owner == found->processId && IsWindowVisible(window))
        found->windows.push_back(window);
    return TRUE;
}

std::wstring className(HWND window)
{
    wchar_t name[64] = {};
    GetClassNameW(window, name, 64);
    return name;
}

std::wstring windowText(HWND window)
{
    wchar_t text[2048] = {};
    GetWindowTextW(window, text, 2048);
    return text;
}

bool isMessageBox(HWND window)
{
    return className(window) == L"#32770" && (GetDlgItem(window, IDOK) || GetDlgItem(window, IDYES));
}

// A wizard page has its own window class and at least one of Next, Cancel and Back.
bool isPage(HWND window)
{
    const std::wstring name = className(window);
    if (name == L"#32770" || name == L"DravellInstaller")
        return false;
    return GetDlgItem(window, 1) || GetDlgItem(window, 2) || GetDlgItem(window, 3);
}

BOOL CALLBACK collectStaticText(HWND child, LPARAM data) noexcept
{
    if (lstrcmpiW(className(child).c_str(), L"Static") == 0) {
        const std::wstring text = windowText(child);
        auto* all = reinterpret_cast<std::wstring*>(data);
        if (!text.empty()) {
            if (!all->empty())
                *all += L"\n";
            *all += text;
        }
    }
    return TRUE;
}

BOOL CALLBACK collectItem(HWND child, LPARAM data) noexcept
{
    auto* page = reinterpret_cast<PageSeen*>(data);
    const int id = GetDlgCtrlID(child);
    page->items[id] = windowText(child);
    page->visible[id] = IsWindowVisible(child) != FALSE;
    page->enabled[id] = IsWindowEnabled(child) != FALSE;
    DWORD_PTR state = 0;
    SendMessageTimeoutW(child, BM_GETCHECK, 0, 0, SMTO_ABORTIFHUNG, 2000, &state);
    page->checked[id] = state == BST_CHECKED;
    return TRUE;
}

PageSeen readPage(HWND window)
{
    PageSeen page;
    page.window = window;
    page.caption = windowText(window);
    EnumChildWindows(window, collectItem, reinterpret_cast<LPARAM>(&page));
    return page;
}

std::wstring shotFolder()
{
    wchar_t folder[MAX_PATH] = {};
    const DWORD length = GetEnvironmentVariableW(L"DRAVELL_WIZARD_SHOTS", folder, MAX_PATH);
    return length > 0 && length < MAX_PATH ? std::wstring(folder) : std::wstring();
}

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

} // namespace

void saveScreenshot(const std::wstring& name)
{
    const std::wstring folder = shotFolder();
    if (folder.empty())
        return;
    const int width = GetSystemMetrics(SM_CXSCREEN), height = GetSystemMetrics(SM_CYSCREEN);
    HDC screen = GetDC(nullptr);
    HDC memory = CreateCompatibleDC(screen);
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 24;
    void* bits = nullptr;
    HBITMAP bitmap = CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    HGDIOBJ old = SelectObject(memory, bitmap);
    BitBlt(memory, 0, 0, width, height, screen, 0, 0, SRCCOPY);
    GdiFlush();
    const DWORD rowBytes = ((static_cast<DWORD>(width) * 3 + 3) / 4) * 4;
    const DWORD imageBytes = rowBytes * static_cast<DWORD>(height);
    BITMAPFILEHEADER file{};
    file.bfType = 0x4D42;
    file.bfOffBits = sizeof(file) + sizeof(info.bmiHeader);
    file.bfSize = file.bfOffBits + imageBytes;
    const std::wstring path = folder + L"\\" + name + L".bmp";
    if (FILE* out = _wfopen(path.c_str(), L"wb")) {
        std::fwrite(&file, sizeof(file), 1, out);
        std::fwrite(&info.bmiHeader, sizeof(info.bmiHeader), 1, out);
        std::fwrite(bits, 1, imageBytes, out);
        std::fclose(out);
    }
    SelectObject(memory, old);
    DeleteObject(bitmap);
    DeleteDC(memory);
    ReleaseDC(nullptr, screen);
}

WizardWalk walkWizard(const std::wstring& program, const std::wstring& arguments, const std::wstring& tempFolder,
                      const PageChoice& onPage, const BoxChoice& onBox)
{
    WizardWalk walk;
    std::wstring commandLine = L"\"" + program + L"\"" + (arguments.empty() ? L"" : L" " + arguments);
    std::vector<wchar_t> environment = environmentWithTemp(tempFolder);
    STARTUPINFOW startup{};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION process{};
    if (!CreateProcessW(program.c_str(), commandLine.data(), nullptr, nullptr, FALSE, CREATE_UNICODE_ENVIRONMENT,
                        environment.data(), tempFolder.c_str(), &startup, &process))
        return walk;
    CloseHandle(process.hThread);

    std::set<HWND> handled;
    HWND lastPage = nullptr;
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(120);
    while (WaitForSingleObject(process.hProcess, 20) == WAIT_TIMEOUT) {
        if (std::chrono::steady_clock::now() > deadline) {
            TerminateProcess(process.hProcess, 99);
            WaitForSingleObject(process.hProcess, 5000);
            CloseHandle(process.hProcess);
            return walk;
        }
        ProcessWindows found{process.dwProcessId, {}};
        EnumWindows(collectProcessWindow, reinterpret_cast<LPARAM>(&found));
        for (HWND window : found.windows) {
            if (handled.count(window))
                continue;
            if (isMessageBox(window)) {
                BoxSeen box;
                EnumChildWindows(window, collectStaticText, reinterpret_cast<LPARAM>(&box.text));
                box.caption = windowText(window);
                walk.boxes.push_back(box);
                handled.insert(window);
                const int answer = onBox ? onBox(box) : IDOK;
                PostMessageW(window, WM_COMMAND, MAKEWPARAM(answer, BN_CLICKED), 0);
                // After No the page stays and is offered to the test again.
                if (answer == IDNO)
                    handled.erase(lastPage);
                continue;
            }
            // A page is shown only once it is initialised; it is taken while it is enabled (not
            // behind a question).
            if (!isPage(window) || !IsWindowEnabled(window))
                continue;
            handled.insert(window);
            lastPage = window;
            PageSeen page = readPage(window);
            walk.pages.push_back(page);
            const int id = onPage ? onPage(page, walk.pages.size() - 1) : 0;
            if (id != 0) {
                const HWND button = GetDlgItem(window, id);
                PostMessageW(window, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(button));
            }
        }
    }
    GetExitCodeProcess(process.hProcess, &walk.exitCode);
    walk.finished = true;
    CloseHandle(process.hProcess);
    return walk;
}
