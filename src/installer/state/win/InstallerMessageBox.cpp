#include "installer/state/win/InstallerMessageBox.h"

#include "installer/state/InstallerRunRules.h"
#include "installer/state/InstallerState.h"
#include "installer/text/Utf8.h"
#include "installer/text/win/TextConversion.h"

#include <string>

namespace {

PageWindowFunction currentPageWindow = nullptr;

HWND chooseOwner(HWND owner)
{
    if (owner)
        return owner;
    if (currentPageWindow)
        if (HWND page = currentPageWindow())
            return page;
    return static_cast<HWND>(gMainInstaller.mainWindow);
}

ByteString ansiText(const char* utf8)
{
    ByteString ansi;
    wideToAnsi(utf8ToWideText(utf8).c_str(), ansi);
    return ansi;
}

} // namespace

void setCurrentPageWindowFunction(PageWindowFunction function)
{
    currentPageWindow = function;
}

int messageBox(HWND owner, const char* text, const char* caption, UINT type)
{
    const char* shownCaption = messageBoxCaption(caption);
    if (gFlags.silent)
        return silentMessageBoxAnswer(type);
    const HWND window = chooseOwner(owner);
    if (gInstallerContext.unicode)
        return MessageBoxW(window, utf8ToWideText(text).c_str(), utf8ToWideText(shownCaption).c_str(), type);
    ByteString ansi = ansiText(text);
    ByteString ansiCaption = ansiText(shownCaption);
    return MessageBoxA(window, ansi.cStr(), ansiCaption.cStr(), type);
}

int errorBox(HWND owner, const char* text, const char* caption)
{
    return messageBox(owner, text ? text : "Out of memory", caption, MB_OK | MB_ICONERROR);
}
