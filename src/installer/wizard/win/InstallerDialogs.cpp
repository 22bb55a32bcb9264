#include "installer/wizard/win/InstallerDialogs.h"

#include "installer/wizard/win/ProgressBar.h"
#include "installer/wizard/win/TemplatePage.h"

INT_PTR CALLBACK progressDialogProc(HWND dialog, UINT message, WPARAM, LPARAM lParam)
{
    try {
        switch (message) {
        case WM_INITDIALOG:
            SetWindowLongPtrW(dialog, DWLP_USER, 0);
            return TRUE;
        case kProgressNoteSetBar:
            SetWindowLongPtrW(dialog, DWLP_USER, lParam);
            return TRUE;
        case WM_PAINT:
            if (auto* bar = reinterpret_cast<ProgressBar*>(GetWindowLongPtrW(dialog, DWLP_USER))) {
                // The dialog paints first, then the bar over it.
                PAINTSTRUCT paint;
                BeginPaint(dialog, &paint);
                EndPaint(dialog, &paint);
                bar->redraw();
                return TRUE;
            }
            return FALSE;
        default:
            return FALSE;
        }
    } catch (...) {
        return FALSE;
    }
}

INT_PTR CALLBACK inputDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam)
{
    try {
        if (message == WM_INITDIALOG) {
            SetWindowLongPtrW(dialog, DWLP_USER, lParam);
            if (auto* request = reinterpret_cast<InputRequest*>(lParam)) {
                setControlText(dialog, request->caption);
                setControlText(GetDlgItem(dialog, kInputPromptId), request->prompt);
                setControlText(GetDlgItem(dialog, kInputEditId), request->value);
            }
            EnableWindow(GetDlgItem(dialog, IDOK), GetWindowTextLengthW(GetDlgItem(dialog, kInputEditId)) > 0);
            return TRUE;
        }
        if (message != WM_COMMAND)
            return FALSE;
        EnableWindow(GetDlgItem(dialog, IDOK), GetWindowTextLengthW(GetDlgItem(dialog, kInputEditId)) > 0);
        if (HIWORD(wParam) != 0)
            return FALSE;
        const int id = LOWORD(wParam);
        if (id == IDOK)
            if (auto* request = reinterpret_cast<InputRequest*>(GetWindowLongPtrW(dialog, DWLP_USER)))
                request->value = controlText(GetDlgItem(dialog, kInputEditId));
        EndDialog(dialog, id);
        return FALSE;
    } catch (...) {
        return FALSE;
    }
}

INT_PTR CALLBACK aboutDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM)
{
    if ((message == WM_COMMAND && LOWORD(wParam) == IDOK) || message == WM_CLOSE || message == WM_QUIT) {
        EndDialog(dialog, 1);
        return TRUE;
    }
    return message == WM_INITDIALOG ? TRUE : FALSE;
}

INT_PTR runInputDialog(HWND owner, InputRequest& request)
{
    return DialogBoxParamW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(kInputDialogId), owner, inputDialogProc,
                           reinterpret_cast<LPARAM>(&request));
}

void runAboutBox(HWND owner)
{
    if (owner)
        EnableWindow(owner, FALSE);
    DialogBoxParamW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(kAboutDialogId), owner, aboutDialogProc, 0);
    if (owner) {
        EnableWindow(owner, TRUE);
        SetForegroundWindow(owner);
    }
}
