#include "BusyNote.h"

#include "ResourceIds.h"

#include "installer/core/win/TextConversion.h"

namespace {

INT_PTR CALLBACK busyNoteProcedure(HWND, UINT, WPARAM, LPARAM) noexcept
{
    return FALSE;
}

} // namespace

BusyNote::BusyNote(const char* text, const char* caption)
    : window_(CreateDialogParamA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDD_BUSY_NOTE), nullptr,
                                 busyNoteProcedure, 0))
{
    if (!window_)
        return;
    if (text)
        setDlgItemTextUtf8(window_, IDC_BUSY_NOTE_TEXT, text);
    if (caption)
        setWindowTextUtf8(window_, caption);
    pumpMessages();
}

BusyNote::~BusyNote()
{
    if (window_)
        DestroyWindow(window_);
}

void BusyNote::pumpMessages() const
{
    MSG message;
    while (window_ && PeekMessageA(&message, window_, 0, 0, PM_REMOVE)) {
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
}
