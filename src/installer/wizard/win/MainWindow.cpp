#include "installer/wizard/win/MainWindow.h"

#include "installer/memory/FatalError.h"
#include "installer/state/InstallerState.h"
#include "installer/state/win/InstallerMessageBox.h"
#include "installer/system/win/OwnedWindow.h"
#include "installer/text/Utf8.h"
#include "installer/wizard/LanguageSetChoice.h"
#include "installer/wizard/win/BackgroundPicture.h"
#include "installer/wizard/win/BackgroundWindow.h"
#include "installer/wizard/win/InstallerDialogs.h"
#include "installer/wizard/win/PageMakers.h"
#include "installer/wizard/win/PageServices.h"
#include "installer/wizard/win/TemplatePage.h"

#include <new>
#include <optional>
#include <string>

namespace {

constexpr wchar_t kClassName[] = L"DravellInstaller";
constexpr std::int32_t kLanguagePage = 1;

AreaRect workArea()
{
    RECT rect{};
    if (!SystemParametersInfoW(SPI_GETWORKAREA, 0, &rect, 0))
        GetWindowRect(GetDesktopWindow(), &rect);
    return {rect.left, rect.top, rect.right, rect.bottom};
}

bool backgroundWanted()
{
    return (gBackgroundStyle.flags & kBackgroundDrawn) && !gPackageToc.extractorMode;
}

TemplatePage* pageDrawnOnMainWindow()
{
    TemplatePage* page = gMainInstaller.currentPage;
    return page && page->window && !page->hasOwnWindow() ? page : nullptr;
}

HWND currentPageWindow()
{
    const TemplatePage* page = gMainInstaller.currentPage;
    return page && page->hasOwnWindow() ? page->window : nullptr;
}

void showAbout(HWND window)
{
    const HWND page = currentPageWindow();
    if (page)
        EnableWindow(page, FALSE);
    runAboutBox(window);
    if (page) {
        EnableWindow(page, TRUE);
        SetForegroundWindow(page);
    }
}

void showPage(HWND window, std::int32_t pageType)
{
    if (pageType == kLanguagePage && !gMainInstaller.languageChosen)
        chooseLanguageSet(GetUserDefaultLangID());
    try {
        createTemplatePage(makePage(pageType), pageType, window, static_cast<HINSTANCE>(gInstallerContext.instance),
                           &gMainInstaller.currentPage);
    } catch (const std::bad_alloc&) {
        // No text: the language's own words for lack of memory.
        fatalError(nullptr);
    }
}

void redrawAfterDisplayChange(HWND window)
{
    if (!(gBackgroundStyle.flags & kBackgroundDrawn))
        return;
    // The picture is made anew for the new screen, with the page image start-up read.
    gInstallerContext.clientArea = workArea();
    drawBackground(window);
}

HWND ownedPageToActivate(HWND window)
{
    return frontOwnedWindow(window);
}

LRESULT handleMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    // The background activated (clicked, chosen with Alt+Tab, brought forward by a second setup)
    // hands activation on to its page, so that the page is raised above it and never covered.
    if (message == WM_ACTIVATE && LOWORD(wParam) != WA_INACTIVE && ownedPageToActivate(window))
        PostMessageW(window, WM_USER, 0, kActivatePageRequest);
    if (pageDrawnOnMainWindow() && message != WM_CLOSE && message != WM_ERASEBKGND && message != WM_SYSCOMMAND
        && message != WM_USER)
        return templateWindowProc(window, message, wParam, lParam);
    switch (message) {
    case WM_CLOSE: {
        const PageServices& services = pageServices();
        if (!services.confirmExit || services.confirmExit()) {
            DestroyWindow(window);
            if (services.endInstaller)
                services.endInstaller();
        }
        return 1;
    }
    case WM_ERASEBKGND:
        copyBackgroundTo(reinterpret_cast<HDC>(wParam));
        return 1;
    case WM_DISPLAYCHANGE:
        redrawAfterDisplayChange(window);
        break;
    case WM_SYSCOMMAND:
        if (wParam == kAboutCommand)
            showAbout(window);
        break;
    case WM_USER:
        if (lParam == kShowPageRequest) {
            showPage(window, static_cast<std::int32_t>(wParam));
            return 0;
        }
        if (lParam == kActivatePageRequest) {
            if (HWND page = ownedPageToActivate(window))
                if (GetForegroundWindow() == window)
                    SetForegroundWindow(page);
            return 0;
        }
        break;
    default:
        break;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

bool registerClass(HINSTANCE instance)
{
    WNDCLASSEXW windowClass{};
    windowClass.cbSize = sizeof windowClass;
    windowClass.lpfnWndProc = mainWindowProc;
    windowClass.hInstance = instance;
    windowClass.hCursor = LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW));
    windowClass.hIcon = LoadIconW(instance, MAKEINTRESOURCEW(2000));
    windowClass.lpszClassName = kClassName;
    return RegisterClassExW(&windowClass) != 0 || GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
}

void addAboutItem(HWND window)
{
    if (HMENU menu = GetSystemMenu(window, FALSE)) {
        AppendMenuW(menu, MF_SEPARATOR, 0, nullptr);
        AppendMenuW(menu, MF_STRING, kAboutCommand, L"About...");
    }
}

} // namespace

LRESULT CALLBACK mainWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    try {
        return handleMessage(window, message, wParam, lParam);
    } catch (...) {
        return 0;
    }
}

HWND createMainWindow(HINSTANCE instance)
{
    if (!registerClass(instance))
        return nullptr;
    const bool background = backgroundWanted();
    const std::uint32_t flags = gBackgroundStyle.flags;
    AreaRect area = workArea();
    if (background && !(flags & kBackgroundCaption) && (flags & kBackgroundFullScreen))
        area = {0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
    gInstallerContext.clientArea = area;
    // Without a background the window is only the pages' parent: an empty rectangle.
    const DWORD style = background ? backgroundWindowStyle(flags) : WS_POPUP;
    const int width = background ? area.right - area.left : 0;
    const int height = background ? area.bottom - area.top : 0;
    const std::optional<std::u16string> title = utf8ToWide(gBackgroundStyle.windowTitle.cStr());
    const HWND window = CreateWindowExW(0, kClassName, title ? reinterpret_cast<const wchar_t*>(title->c_str()) : L"",
                                        style, area.left, area.top, width, height, nullptr, nullptr, instance, nullptr);
    if (!window)
        return nullptr;
    gInstallerContext.mainWindow = window;
    gMainInstaller.mainWindow = window;
    addAboutItem(window);
    if (background && (flags & kBackgroundCaption)) {
        RECT client{};
        GetClientRect(window, &client);
        gInstallerContext.clientArea = {client.left, client.top, client.right, client.bottom};
    }
    if (background && !drawBackground(window))
        messageBox(window, "Graphics initialization failed", nullptr, MB_ICONWARNING);
    // The installation run shows the slideshow on this window's picture.
    attachSlideshow(window);
    return window;
}
