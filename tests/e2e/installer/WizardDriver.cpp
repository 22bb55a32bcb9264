#include "WizardDriver.h"

#include "InstallerProcess.h"
#include "support/ScreenCapture.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
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

// Asks the control itself: GetWindowText on another process's window gives only the text the
// system keeps, which is not an edit control's content.
std::wstring controlText(HWND window)
{
    std::wstring text(8192, L'\0');
    DWORD_PTR length = 0;
    if (!SendMessageTimeoutW(window, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()), SMTO_ABORTIFHUNG,
                             2000, &length))
        return {};
    text.resize(std::min<std::size_t>(length, text.size() - 1));
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
    page->items[id] = controlText(child);
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

bool samePage(const PageSeen& a, const PageSeen& b)
{
    return a.caption == b.caption && a.items == b.items && a.visible == b.visible && a.enabled == b.enabled &&
           a.checked == b.checked;
}

// The page as it stands once its texts are set: a page window can be seen before it has
// filled in its controls, so it is read until two looks a moment apart agree. A look taken
// while the page is going away (it or some of its controls destroyed) is not kept: a page that
// leaves by itself (the installation page) is seen as it was.
PageSeen settledPage(HWND window)
{
    PageSeen page = readPage(window);
    for (int look = 0; look < 20; ++look) {
        Sleep(100);
        PageSeen again = readPage(window);
        if (!IsWindow(window) || !IsWindowVisible(window) || again.items.size() < page.items.size())
            break;
        if (samePage(page, again))
            break;
        page = std::move(again);
    }
    return page;
}

std::wstring shotFolder()
{
    wchar_t folder[MAX_PATH] = {};
    const DWORD length = GetEnvironmentVariableW(L"DRAVELL_WIZARD_SHOTS", folder, MAX_PATH);
    return length > 0 && length < MAX_PATH ? std::wstring(folder) : std::wstring();
}

} // namespace

std::string describeWalk(const WizardWalk& walk)
{
    std::wstring seen;
    for (const PageSeen& page : walk.pages)
        seen += L" [" + page.caption + L"]";
    for (const BoxSeen& box : walk.boxes)
        seen += L" box: " + box.text;
    return std::filesystem::path(seen).string();
}

void saveScreenshot(const std::wstring& name)
{
    const std::wstring folder = shotFolder();
    if (folder.empty())
        return;
    saveScreenArea({0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)}, folder + L"\\" + name + L".bmp");
}

WizardWalk walkWizard(const std::wstring& program, const std::wstring& arguments, const std::wstring& tempFolder,
                      const PageChoice& onPage, const BoxChoice& onBox)
{
    WizardWalk walk;
    const PROCESS_INFORMATION process = startInstallerProcess(program, arguments, tempFolder);
    if (!process.hProcess)
        return walk;

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
                // After No, or after a refusal the page showed, the page stays and is offered to
                // the test again.
                if (answer == IDNO || answer == IDOK)
                    handled.erase(lastPage);
                continue;
            }
            // A page is shown only once it is initialised; it is taken while it is enabled (not
            // behind a question).
            if (!isPage(window) || !IsWindowEnabled(window))
                continue;
            handled.insert(window);
            lastPage = window;
            PageSeen page = settledPage(window);
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
