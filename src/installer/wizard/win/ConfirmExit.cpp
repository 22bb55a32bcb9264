#include "installer/wizard/win/ConfirmExit.h"

#include "installer/state/InstallerState.h"
#include "installer/state/win/InstallerMessageBox.h"
#include "installer/wizard/win/TemplatePage.h"

#include <windows.h>

namespace {

constexpr std::size_t kExitQuestionText = 10;

HWND currentPageWindow()
{
    const TemplatePage* page = gMainInstaller.currentPage;
    return page && page->hasOwnWindow() ? page->window : nullptr;
}

} // namespace

bool confirmExit()
{
    const HWND page = currentPageWindow();
    if (page)
        EnableWindow(page, FALSE);
    ByteString question = gLanguageTexts[kExitQuestionText];
    if (question.empty())
        question.assignCStr("Do your really want to exit setup?");
    // The caption falls back on the setup title, then the window title.
    const int answer = messageBox(static_cast<HWND>(gMainInstaller.mainWindow), question.cStr(), nullptr, MB_YESNO);
    if (page) {
        EnableWindow(page, TRUE);
        SetForegroundWindow(page);
    }
    return answer != IDNO;
}
