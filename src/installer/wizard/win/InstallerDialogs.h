#pragma once
// The installer's own dialogs from its resources: the progress note (18), the text input (154)
// and the About box (114).
#include "installer/text/ByteString.h"

#include <windows.h>

class ProgressBar;

constexpr int kProgressNoteDialogId = 18;
constexpr int kProgressNoteTextId = 1058;
constexpr int kInputDialogId = 154;
constexpr int kInputEditId = 1066;
constexpr int kInputPromptId = 1097;
constexpr int kAboutDialogId = 114;
// Sent to the progress note: lParam the ProgressBar it shows from now on (never freed by it).
constexpr UINT kProgressNoteSetBar = WM_USER;

INT_PTR CALLBACK progressDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
INT_PTR CALLBACK inputDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
INT_PTR CALLBACK aboutDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);

// The input action's texts (UTF-8); value is replaced only on OK.
struct InputRequest {
    ByteString caption;
    ByteString prompt;
    ByteString value;
};
// 1 for OK, 2 for Cancel or Esc.
INT_PTR runInputDialog(HWND owner, InputRequest& request);

// The About box, modal, with owner disabled meanwhile and brought to the front afterwards.
void runAboutBox(HWND owner);
