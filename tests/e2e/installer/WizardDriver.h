#pragma once
// Walks the real installer's wizard as a person would: waits for each page window, reads its
// caption and items, and clicks the button the test chooses. Message boxes are read and answered
// by the test too. Screenshots of the pages are written when DRAVELL_WIZARD_SHOTS names a folder.
#include <windows.h>

#include <functional>
#include <map>
#include <string>
#include <vector>

struct PageSeen {
    std::wstring caption;
    // Texts of the page's child windows by control id.
    std::map<int, std::wstring> items;
    // Visible and enabled states by control id.
    std::map<int, bool> visible;
    std::map<int, bool> enabled;
    std::map<int, bool> checked;
    HWND window = nullptr;

    std::wstring item(int id) const
    {
        const auto found = items.find(id);
        return found == items.end() ? std::wstring() : found->second;
    }
    bool isVisible(int id) const { return visible.count(id) && visible.at(id); }
};

struct BoxSeen {
    std::wstring text;
    std::wstring caption;
};

// The control id to click on a page (0 closes nothing and waits for the next page).
using PageChoice = std::function<int(const PageSeen&, std::size_t visit)>;
// IDYES, IDNO, IDOK...: the answer to a message box.
using BoxChoice = std::function<int(const BoxSeen&)>;

struct WizardWalk {
    DWORD exitCode = STILL_ACTIVE;
    bool finished = false;
    std::vector<PageSeen> pages;
    std::vector<BoxSeen> boxes;
};

// What a walk saw, for a failure message: the page captions and the boxes' texts, in order.
std::string describeWalk(const WizardWalk& walk);

WizardWalk walkWizard(const std::wstring& program, const std::wstring& arguments, const std::wstring& tempFolder,
                      const PageChoice& onPage, const BoxChoice& onBox);

// Writes the screen to folder\name.bmp when the screenshot folder is set.
void saveScreenshot(const std::wstring& name);
