#include "BusyNote.h"

#include "ResourceIds.h"

#include "installer/text/win/TextConversion.h"

INT_PTR CALLBACK BusyNote::procedure(HWND window, UINT message, WPARAM, LPARAM lParam) noexcept
{
    try {
        if (message == WM_INITDIALOG) {
            SetWindowLongPtrA(window, DWLP_USER, lParam);
            return FALSE;
        }
        if (message == WM_PAINT) {
            auto* note = reinterpret_cast<BusyNote*>(GetWindowLongPtrA(window, DWLP_USER));
            PAINTSTRUCT paint;
            BeginPaint(window, &paint);
            EndPaint(window, &paint);
            if (note)
                note->progressBar_.redraw();
            return TRUE;
        }
    } catch (...) {
        // A note that cannot paint its bar is still a note.
    }
    return FALSE;
}

BusyNote::BusyNote(const char* text, const char* caption)
    : window_(CreateDialogParamA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDD_BUSY_NOTE), nullptr, procedure,
                                 reinterpret_cast<LPARAM>(this)))
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
    // The bar is freed before its host goes.
    progressBar_.free();
    if (window_) {
        SetWindowLongPtrA(window_, DWLP_USER, 0);
        DestroyWindow(window_);
    }
}

void BusyNote::pumpMessages() const
{
    MSG message;
    while (window_ && PeekMessageA(&message, window_, 0, 0, PM_REMOVE)) {
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
}
