// The window procedure that all page windows share: the plug-in's first look, control colours,
// progress bars, hyperlinks and image buttons under the mouse, template button actions, and the
// page type's own operations.
#include "installer/state/InstallerState.h"
#include "installer/wizard/ButtonActions.h"
#include "installer/wizard/ControlColours.h"
#include "installer/wizard/ImageButtonFrame.h"
#include "installer/wizard/PageSequence.h"
#include "installer/wizard/win/FolderBrowser.h"
#include "installer/wizard/win/InstallerDialogs.h"
#include "installer/wizard/win/PageServices.h"
#include "installer/wizard/win/ProgressBar.h"
#include "installer/wizard/win/TemplateButtons.h"
#include "installer/wizard/win/TemplatePage.h"

#include <commdlg.h>
#include <shellapi.h>

#include <string>

namespace {

void applyHoverEffects(TemplatePage& page, const HoverEffects& effects)
{
    for (TemplateControl* control : effects.repaint)
        if (control->window)
            InvalidateRect(static_cast<HWND>(control->window), nullptr, TRUE);
    for (TemplateControl* button : effects.redrawButton)
        redrawImageButton(page, *button, (button->hoverFlags & kControlHovered) != 0);
    if (effects.cursor == CursorChange::Hand)
        SetCursor(page.handCursor);
    else if (effects.cursor == CursorChange::Arrow)
        SetCursor(page.arrowCursor);
}

bool usable(const TemplateControl& control)
{
    const HWND window = static_cast<HWND>(control.window);
    return window && IsWindowEnabled(window) && IsWindowVisible(window);
}

LRESULT colourAnswer(HDC dc, const TemplateControl& control, const ControlPaint& paint)
{
    SetTextColor(dc, paint.textColour);
    if (paint.transparent)
        SetBkMode(dc, TRANSPARENT);
    else
        SetBkColor(dc, paint.backColour);
    return reinterpret_cast<LRESULT>(control.brush);
}

LRESULT defaultProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    return DefWindowProcW(window, message, wParam, lParam);
}

void trackMouse(TemplatePage& page, UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result, bool& handled)
{
    if ((page.hover.bits & kHoverTracking) == 0)
        return;
    if (message == WM_SETCURSOR && HIWORD(lParam) == WM_MOUSEMOVE && reinterpret_cast<HWND>(wParam) != page.window) {
        TemplateControl* control = page.findControlByWindow(reinterpret_cast<HWND>(wParam));
        if (control && isImageButton(*control) && IsWindowEnabled(static_cast<HWND>(control->window)) &&
            (control->hoverFlags & kControlHovered) == 0)
            applyHoverEffects(page, enterImageButton(page.hover, *control));
    }
    if (message == WM_MOUSEMOVE) {
        const POINT offset = page.controlOffset();
        const HoverEffects effects = trackMouseMove(page.hover, page.controls, static_cast<short>(LOWORD(lParam)),
                                                    static_cast<short>(HIWORD(lParam)),
                                                    offset.x, offset.y, usable);
        applyHoverEffects(page, effects);
        return;
    }
    if (message == WM_SETCURSOR && (page.hover.bits & (kHoverOverHot | kHoverHotIsButton)) == kHoverOverHot) {
        SetCursor(page.handCursor);
        result = 1;
        handled = true;
    }
}

} // namespace

LRESULT CALLBACK templateWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    try {
        if (message == WM_SYSCOMMAND && wParam == kAboutCommand) {
            runAboutBox(window);
            return 0;
        }
        TemplatePage* page = findPageByWindow(window);
        if (!page)
            page = pageBeingCreated();
        const PageServices& services = pageServices();
        if (services.pluginMessage)
            if (const LRESULT answer =
                    services.pluginMessage(window, message, wParam, lParam, page ? page->templateWindow.pageId : 0))
                return answer;
        if (!page)
            return defaultProcedure(window, message, wParam, lParam);
        const bool hasBars = (page->templateWindow.options & kPageOptionHasProgressBar) != 0;

        switch (message) {
        case WM_ERASEBKGND:
            if (!page->eraseBackground)
                return 1;
            break;
        case kSetBarPercentMessage:
            if (hasBars)
                for (std::int32_t i = 0; i < page->controls.count(); ++i) {
                    auto& c = *static_cast<TemplateControl*>(page->controls.get(i));
                    if (c.type == kControlProgressBar && c.id == static_cast<std::int32_t>(lParam) && c.window)
                        static_cast<ProgressBar*>(c.window)->setPercent(static_cast<std::int32_t>(wParam));
                }
            break;
        case WM_CTLCOLOREDIT:
        case WM_CTLCOLORLISTBOX:
        case WM_CTLCOLORSTATIC:
        case WM_CTLCOLORBTN: {
            if (message == WM_CTLCOLORSTATIC)
                page->eraseBackground = true;
            const TemplateControl* control = page->findControlByWindow(reinterpret_cast<HWND>(lParam));
            if (!control)
                return defaultProcedure(window, message, wParam, lParam);
            const ColourQuestion question = message == WM_CTLCOLOREDIT      ? ColourQuestion::Edit
                                            : message == WM_CTLCOLORLISTBOX ? ColourQuestion::ListBox
                                            : message == WM_CTLCOLORSTATIC  ? ColourQuestion::Static
                                                                            : ColourQuestion::Button;
            const ControlPaint paint = controlPaint(question, *control, control->brush != nullptr);
            if (!paint.answered)
                return defaultProcedure(window, message, wParam, lParam);
            return colourAnswer(reinterpret_cast<HDC>(wParam), *control, paint);
        }
        case WM_DRAWITEM: {
            const auto* item = reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
            TemplateControl* control = item ? page->findControlByWindow(item->hwndItem) : nullptr;
            if (control && isImageButton(*control))
                return drawImageButton(*page, *control, *item);
            break;
        }
        case WM_LBUTTONDOWN:
            if (const TemplateControl* link = clickHotControl(page->hover)) {
                ByteString target(link->link);
                if (services.openLink)
                    services.openLink(target.cStr());
            }
            break;
        default: break;
        }

        LRESULT tracked = 0;
        bool trackedHandled = false;
        trackMouse(*page, message, wParam, lParam, tracked, trackedHandled);
        if (trackedHandled)
            return tracked;

        switch (message) {
        case WM_TIMER:
            if (wParam == kHoverTimerId && (page->hover.bits & kHoverOverHot)) {
                POINT cursor{};
                GetCursorPos(&cursor);
                applyHoverEffects(*page, restoreLeftControls(page->hover, page->controls, [&](const TemplateControl& c) {
                    RECT rect{};
                    return c.window && GetWindowRect(static_cast<HWND>(c.window), &rect) && PtInRect(&rect, cursor);
                }));
            }
            if (page->onTimer(wParam, lParam))
                return 1;
            break;
        case WM_COMMAND: {
            page->updateNextButton();
            bool handled = false;
            const LRESULT result = runButtonAction(*page, wParam, lParam, handled);
            if (handled)
                return result;
            if (page->onCommand(wParam, lParam))
                return 1;
            break;
        }
        case WM_CLOSE:
            return SendMessageW(window, WM_COMMAND, IDCANCEL, 0);
        case WM_INITDIALOG:
            if (page->onInitDialog(window, wParam, lParam))
                return 1;
            break;
        case WM_NOTIFY:
            if (page->onNotify(wParam, lParam))
                return 1;
            break;
        case WM_PAINT:
            if (hasBars) {
                // The window paints first; the bars are drawn over it.
                PAINTSTRUCT paint;
                BeginPaint(window, &paint);
                EndPaint(window, &paint);
                for (std::int32_t i = 0; i < page->controls.count(); ++i) {
                    auto& c = *static_cast<TemplateControl*>(page->controls.get(i));
                    if (c.type == kControlProgressBar && c.window)
                        static_cast<ProgressBar*>(c.window)->redraw();
                }
                page->onPaint(wParam, lParam);
                return 0;
            }
            if (page->onPaint(wParam, lParam))
                return 1;
            break;
        default: break;
        }
        return defaultProcedure(window, message, wParam, lParam);
    } catch (...) {
        return 0;
    }
}
