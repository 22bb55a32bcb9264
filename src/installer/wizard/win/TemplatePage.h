#pragma once
// A wizard page built from its dialog template: the page window (a window of its own, or the
// installer's background window when the page is drawn straight onto it), its controls with
// their texts, fonts, colours, images and variable bindings, the rule that keeps Next disabled
// while required controls are empty, and closing, which writes the bound values back into the
// installer's variables. Page types override the virtual operations; the shared window procedure
// (templateWindowProc) dispatches to them.
#include "installer/wizard/HoverTracking.h"
#include "installer/wizard/TemplateParser.h"

#include <windows.h>

#include <cstdint>
#include <memory>

// The page window's timer that repairs hover states.
constexpr UINT_PTR kHoverTimerId = 13;
constexpr UINT kHoverTimerPeriod = 70;
// Sent to a page window: wParam a percentage, lParam the id of a progress-bar control.
constexpr UINT kSetBarPercentMessage = WM_USER + 2;
// The system-menu item that opens the About box.
constexpr UINT kAboutCommand = 1;

struct TemplatePage {
    TemplatePage();
    virtual ~TemplatePage();
    TemplatePage(const TemplatePage&) = delete;
    TemplatePage& operator=(const TemplatePage&) = delete;

    // The page type's own handling; true = handled.
    virtual bool onCommand(WPARAM, LPARAM) { return false; }
    virtual bool onInitDialog(HWND, WPARAM, LPARAM) { return true; }
    virtual bool onMessage(UINT, WPARAM, LPARAM) { return false; }
    virtual bool onNotify(WPARAM, LPARAM) { return false; }
    virtual bool onPaint(WPARAM, LPARAM) { return false; }
    virtual bool onTimer(WPARAM, LPARAM) { return false; }

    // Parses the template of the first page of that type into the page and makes its fonts.
    // kTemplateOk, kTemplateNotFound or the parser's result.
    int loadTemplate(std::int32_t pageType);
    int loadTemplateBytes(const ByteString& templateBytes);
    // 1, or -1 when no window could be made.
    int createWindow(HINSTANCE instance, HWND parent);
    int createControl(HINSTANCE instance, TemplateControl& control);
    void applyBindings(TemplateControl& control);
    void updateNextButton();
    void addRequiredControl(TemplateControl& control) { required.add(&control); }
    bool hasOwnWindow() const { return window != nullptr && window != parentWindow; }
    TemplateControl* findControlByWindow(HWND control) const;
    TemplateControl* findControlById(std::int32_t id) const;
    void setControlTextColour(HWND control, COLORREF colour);
    // Where controls lie on the page window: (0, 0) on a window of its own, the page's place on
    // the background window otherwise.
    POINT controlOffset() const;
    // Writes the bound controls' values into the variables, disables the buttons; with destroy
    // (always for a page drawn on the background window) the windows go at once.
    int close(bool destroy);

    HWND window = nullptr;
    HWND parentWindow = nullptr;
    TemplateWindow templateWindow;
    TemplatePage** ownerSlot = nullptr;
    PointerList controls;
    PointerList required;
    PageHover hover;
    HCURSOR handCursor = nullptr;
    HCURSOR arrowCursor = nullptr;
    std::int32_t staticsCount = 0;
    bool eraseBackground = true;
    std::int32_t dpiFactor = 1000;

    // Destroys the controls' windows, brushes and images and the page's own window.
    void destroyWindows();

private:
    void makeFonts();
    void loadControlImage(TemplateControl& control);
};

// Loads the template of pageType into page, creates its window and controls, registers it,
// shows it and makes it the current page. 1, or -1 when no window could be made; a template that
// cannot be loaded ends the installer ("Load template failed (%d)").
int createTemplatePage(std::unique_ptr<TemplatePage> page, std::int32_t pageType, HWND parent, HINSTANCE instance,
                       TemplatePage** ownerSlot);
// closeTemplatePage (page, destroy): page.close(destroy).
int closeTemplatePage(TemplatePage& page, bool destroy);
// Destroys the windows of the page being closed; with deleteObject the page object goes too
// (otherwise it goes with the next page: its own command handler may still be running).
void destroyCurrentPage(bool deleteObject);

TemplatePage* findPageByWindow(HWND window);
// The page whose window is being created (messages sent during creation find it).
TemplatePage* pageBeingCreated();

// The page windows' procedure (TemplateWindowProc.cpp).
LRESULT CALLBACK templateWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// IP-address controls.
void setIpAddressText(HWND control, const ByteString& text);
// The number of filled fields; text the dotted address, empty when none is filled.
int getIpAddressText(HWND control, ByteString& text);

// UTF-8 texts at the control edge, through the wide functions: nothing is lost for characters
// outside the ANSI code page.
void setControlText(HWND control, const ByteString& utf8);
ByteString controlText(HWND control);
