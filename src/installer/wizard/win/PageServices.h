#pragma once
// What template pages ask of the rest of the installer: the wizard's navigation, the exit
// question, the plug-in's look at every page message, the background window. The installer sets
// these when it starts; each is tested for emptiness before it is called.
#include <windows.h>

#include <cstdint>
#include <functional>

struct PageServices {
    // Leave the current page forward or back (the page is closed already).
    std::function<void()> goNext;
    std::function<void()> goBack;
    // The exit question; true when the user wants to leave.
    std::function<bool()> confirmExit;
    // Leaves the wizard: before or during the installation it rolls back and exits; after a
    // finished installation it ends the wizard, keeping what was installed.
    std::function<void()> endInstaller;
    // An installation page still lies ahead of the current page.
    std::function<bool()> installationPageAhead;
    // The installation run is working now.
    std::function<bool()> installationRunning;
    // The background window is shown: pages without WS_VISIBLE are drawn straight onto it.
    std::function<bool()> backgroundShown;
    // The plug-in's "OnMessage": window, message, wParam, lParam, the page's template id; a
    // non-zero answer is the message's result and the page does nothing more.
    std::function<LRESULT(HWND, UINT, WPARAM, LPARAM, std::uint32_t)> pluginMessage;
    // Opens a hyperlink's target (the shell's "open", maximised, by default).
    std::function<void(const char* utf8Link)> openLink;
};

PageServices& pageServices();
