#include "FileSearchNoteDialog.h"

#include "ResourceIds.h"

#include "installer/state/InstallerState.h"
#include "installer/text/win/TextConversion.h"

#include <windows.h>

namespace {

INT_PTR CALLBACK noteProcedure(HWND, UINT, WPARAM, LPARAM) noexcept
{
    return FALSE;
}

} // namespace

void* openFileSearchNoteDialog(const char* utf8Text)
{
    HWND note = CreateDialogParamA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDD_BUSY_NOTE),
                                   static_cast<HWND>(gMainInstaller.mainWindow), noteProcedure, 0);
    if (note) {
        setDlgItemTextUtf8(note, IDC_BUSY_NOTE_TEXT, utf8Text);
        UpdateWindow(note);
    }
    return note;
}

void closeFileSearchNoteDialog(void* note)
{
    if (note)
        DestroyWindow(static_cast<HWND>(note));
}
