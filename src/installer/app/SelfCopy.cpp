#include "SelfCopy.h"

#include "ResourceIds.h"

#include "installer/core/InstallerState.h"
#include "installer/core/ModulePath.h"
#include "installer/core/TempFileName.h"
#include "installer/core/win/TextConversion.h"

#include <windows.h>

namespace {

const char* const kCopyingText = "Copying files. Please wait...";

void pumpPendingMessages(HWND window)
{
    MSG message;
    while (PeekMessageA(&message, window, 0, 0, PM_REMOVE)) {
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
}

DWORD CALLBACK copyProgressCallback(LARGE_INTEGER, LARGE_INTEGER, LARGE_INTEGER, LARGE_INTEGER, DWORD, DWORD,
                                    HANDLE, HANDLE, LPVOID data) noexcept
{
    pumpPendingMessages(static_cast<HWND>(data));
    return PROGRESS_CONTINUE;
}

INT_PTR CALLBACK busyNoteProcedure(HWND, UINT, WPARAM, LPARAM) noexcept
{
    return FALSE;
}

bool copyFile(const char* from, const char* to, HWND note)
{
    using CopyFileExFunction = BOOL(WINAPI*)(LPCSTR, LPCSTR, LPPROGRESS_ROUTINE, LPVOID, LPBOOL, DWORD);
    const HMODULE kernel = GetModuleHandleA("kernel32.dll");
    const auto copyFileEx = kernel ? reinterpret_cast<CopyFileExFunction>(
                                         reinterpret_cast<void*>(GetProcAddress(kernel, "CopyFileExA")))
                                   : nullptr;
    if (copyFileEx)
        return copyFileEx(from, to, copyProgressCallback, note, nullptr, 0) != 0;
    return CopyFileA(from, to, FALSE) != 0;
}

} // namespace

std::string currentModulePath()
{
    char reported[kPathBufferSize] = {};
    GetModuleFileNameA(nullptr, reported, kPathBufferSize);
    return plainModulePath(reported);
}

void copySelfOffNetworkPath()
{
    const std::string modulePath = currentModulePath();
    if (!isNetworkPath(modulePath.c_str()))
        return;
    char copyPath[kPathBufferSize];
    makeTempFileName(copyPath, ".exe");
    HWND note = CreateDialogParamA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDD_BUSY_NOTE), nullptr,
                                   busyNoteProcedure, 0);
    if (note) {
        setDlgItemTextUtf8(note, IDC_BUSY_NOTE_TEXT, kCopyingText);
        pumpPendingMessages(note);
    }
    const bool copied = copyFile(modulePath.c_str(), copyPath, note);
    if (note)
        DestroyWindow(note);
    if (copied) {
        gPackagePath.assignCStr(copyPath);
        gFlags.localCopy = true;
    }
}
