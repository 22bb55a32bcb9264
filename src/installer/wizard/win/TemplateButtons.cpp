#include "installer/wizard/win/TemplateButtons.h"

#include "installer/wizard/ButtonActions.h"
#include "installer/wizard/ImageButtonFrame.h"
#include "installer/wizard/win/FolderBrowser.h"
#include "installer/wizard/win/PageServices.h"
#include "installer/wizard/win/PageTexts.h"

#include <commdlg.h>

#include <string>

namespace {

constexpr UINT kHoverItemState = 0x40;
constexpr COLORREF kDisabledTextColour = 0xA0A0A0;

void browseForFile(TemplatePage& page, HWND target)
{
    wchar_t name[260] = L"";
    OPENFILENAMEW dialog{};
    dialog.lStructSize = sizeof dialog;
    dialog.hwndOwner = page.window;
    dialog.lpstrFilter = L"All files (*.*)\0*.*\0";
    dialog.lpstrFile = name;
    dialog.nMaxFile = 260;
    dialog.Flags = OFN_HIDEREADONLY;
    if (GetOpenFileNameW(&dialog) && target)
        SetWindowTextW(target, name);
}

void browseForTargetFolder(TemplatePage& page, HWND target)
{
    ByteString start = target ? controlText(target) : ByteString();
    char chosen[260] = "";
    browseForFolder(page.window, "", chosen, 0, 0, start.cStr());
    if (chosen[0] != '\0' && target)
        setControlText(target, ByteString(chosen));
}

} // namespace

LRESULT drawImageButton(TemplatePage&, TemplateControl& control, const DRAWITEMSTRUCT& item)
{
    const HWND button = static_cast<HWND>(control.window);
    ImageButtonState state;
    state.pressed = (item.itemState & ODS_SELECTED) != 0;
    state.disabled = (GetWindowLongW(button, GWL_STYLE) & WS_DISABLED) != 0;
    state.hover = (item.itemState & kHoverItemState) != 0;
    state.focused = GetFocus() == button;
    const ImageButtonDraw draw = imageButtonFrame(control.width, control.imageWidth, state);
    if (control.imageDc)
        BitBlt(item.hDC, 0, 0, control.width, control.height, static_cast<HDC>(control.imageDc), draw.sourceX, 0,
               SRCCOPY);

    wchar_t text[201] = L"";
    const int length = GetWindowTextW(button, text, 201);
    RECT rect{0, 0, control.width, control.height};
    if (length > 0) {
        SetBkMode(item.hDC, TRANSPARENT);
        SetTextColor(item.hDC, state.disabled ? kDisabledTextColour : control.backColour);
        DrawTextW(item.hDC, text, length, &rect, DT_SINGLELINE | DT_VCENTER | DT_CENTER);
    }
    if (draw.focusRectangle) {
        SIZE size{};
        GetTextExtentPoint32W(item.hDC, text, length, &size);
        const int width = size.cx + 6;
        const int height = size.cy + 4;
        RECT focus{(control.width - width) / 2, (control.height - height) / 2, 0, 0};
        focus.right = focus.left + width;
        focus.bottom = focus.top + height;
        DrawFocusRect(item.hDC, &focus);
    }
    return 1;
}

void redrawImageButton(TemplatePage& page, TemplateControl& control, bool hover)
{
    const HWND button = static_cast<HWND>(control.window);
    if (!button)
        return;
    HDC dc = GetDC(button);
    if (!dc)
        return;
    HGDIOBJ oldFont = SelectObject(dc, reinterpret_cast<HGDIOBJ>(SendMessageW(button, WM_GETFONT, 0, 0)));
    DRAWITEMSTRUCT item{};
    item.CtlType = ODT_BUTTON;
    item.CtlID = static_cast<UINT>(control.id);
    item.itemAction = ODA_DRAWENTIRE;
    item.itemState = hover ? kHoverItemState : 0;
    item.hwndItem = button;
    item.hDC = dc;
    item.rcItem = RECT{0, 0, control.width, control.height};
    drawImageButton(page, control, item);
    SelectObject(dc, oldFont);
    ReleaseDC(button, dc);
}

LRESULT runButtonAction(TemplatePage& page, WPARAM wParam, LPARAM, bool& handled)
{
    handled = false;
    TemplateControl* control = page.findControlById(LOWORD(wParam));
    if (!control)
        return 0;
    const PageServices& services = pageServices();
    const bool running = services.installationRunning && services.installationRunning();
    const ButtonCommand command = buttonCommand(*control, running);
    if (command == ButtonCommand::NotHandled)
        return 0;
    handled = true;
    const TemplateControl* target = page.findControlById(actionTargetId(*control));
    const HWND targetWindow = target && target->type != kControlProgressBar ? static_cast<HWND>(target->window) : nullptr;
    switch (command) {
    case ButtonCommand::BrowseFolder: browseForTargetFolder(page, targetWindow); break;
    case ButtonCommand::BrowseFile: browseForFile(page, targetWindow); break;
    case ButtonCommand::Next:
        closeTemplatePage(page, false);
        if (services.goNext)
            services.goNext();
        break;
    case ButtonCommand::Back:
        closeTemplatePage(page, false);
        if (services.goBack)
            services.goBack();
        break;
    case ButtonCommand::Cancel:
        if (running) {
            // During the run the page's own Cancel asks, stops the run and rolls it back.
            page.onCommand(MAKEWPARAM(kCancelButton, BN_CLICKED), 0);
            break;
        }
        if (!services.confirmExit || !services.confirmExit())
            break;
        [[fallthrough]];
    case ButtonCommand::Finish:
        closeTemplatePage(page, false);
        if (services.installationPageAhead && services.installationPageAhead()) {
            if (services.endInstaller)
                services.endInstaller();
        } else {
            PostQuitMessage(1);
        }
        break;
    case ButtonCommand::Ignored:
    case ButtonCommand::NotHandled: break;
    }
    return 0;
}
