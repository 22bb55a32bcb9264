#include "installer/wizard/win/MessageLoop.h"

#include "installer/state/InstallerState.h"
#include "installer/wizard/win/TemplatePage.h"

namespace {

bool handledByPageDialog(MSG& message)
{
    const TemplatePage* page = gMainInstaller.currentPage;
    if (!page || !page->hasOwnWindow())
        return false;
    const HWND pageWindow = page->window;
    if (message.hwnd != pageWindow && !IsChild(pageWindow, message.hwnd))
        return false;
    return IsDialogMessageA(pageWindow, &message) != FALSE;
}

void dispatch(MSG& message)
{
    if (handledByPageDialog(message))
        return;
    TranslateMessage(&message);
    DispatchMessageA(&message);
}

} // namespace

WPARAM messageLoop()
{
    for (;;) {
        MSG message{};
        if (!PeekMessageA(&message, nullptr, 0, 0, PM_NOREMOVE))
            WaitMessage();
        const BOOL got = GetMessageA(&message, nullptr, 0, 0);
        if (got == 0)
            return message.wParam;
        // -1 is a bad call, not a message; go on waiting.
        if (got == -1)
            continue;
        dispatch(message);
    }
}

int pumpOneMessage()
{
    MSG message{};
    if (!PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE))
        return kNoMessagePending;
    if (message.message == WM_QUIT) {
        // Left for the message loop: taken here, it would never end the installer.
        PostQuitMessage(static_cast<int>(message.wParam));
        return kQuitTaken;
    }
    dispatch(message);
    return kMessageDispatched;
}
