#include "SelfCopy.h"

#include "BusyNote.h"

#include "installer/state/InstallerState.h"
#include "installer/system/ModulePath.h"
#include "installer/system/TempFileName.h"
#include "installer/system/win/SystemPaths.h"
#include "installer/text/win/TextConversion.h"
#include "installer/text/win/WideName.h"
#include "installer/wizard/TransferPercent.h"
#include "installer/wizard/win/CopyProgressBar.h"

#include <windows.h>

namespace {

const char* const kCopyingText = "Copying files. Please wait...";

// Shows the share copied on the note's bar and keeps the note responsive; the copy always goes on.
DWORD CALLBACK copyProgressCallback(LARGE_INTEGER total, LARGE_INTEGER transferred, LARGE_INTEGER, LARGE_INTEGER,
                                    DWORD, DWORD, HANDLE, HANDLE, LPVOID data) noexcept
{
    try {
        auto* note = static_cast<BusyNote*>(data);
        const std::int32_t percent = transferPercent(transferred.QuadPart, total.QuadPart);
        if (percent >= 0)
            note->progressBar().setPercent(percent);
        note->pumpMessages();
    } catch (...) {
        // Progress is only shown: the copy itself is not at stake.
    }
    return PROGRESS_CONTINUE;
}

bool copyFile(const char* from, const char* to, BusyNote& note)
{
    using CopyFileExFunction = BOOL(WINAPI*)(LPCWSTR, LPCWSTR, LPPROGRESS_ROUTINE, LPVOID, LPBOOL, DWORD);
    const HMODULE kernel = GetModuleHandleA("kernel32.dll");
    const auto copyFileEx = kernel ? reinterpret_cast<CopyFileExFunction>(
                                         reinterpret_cast<void*>(GetProcAddress(kernel, "CopyFileExW")))
                                   : nullptr;
    if (copyFileEx) {
        placeCopyProgressBar(note.progressBar(), note.window());
        return copyFileEx(WideName(from), WideName(to), copyProgressCallback, &note, nullptr, 0) != 0;
    }
    return CopyFileW(WideName(from), WideName(to), FALSE) != 0;
}

} // namespace

std::string currentModulePath()
{
    ByteString reported = moduleFilePath();
    return plainModulePath(reported.cStr());
}

void copySelfOffNetworkPath()
{
    const std::string modulePath = currentModulePath();
    if (!isNetworkPath(modulePath.c_str()))
        return;
    char copyPath[kPathBufferSize];
    makeTempFileName(copyPath, ".exe");
    bool copied = false;
    {
        BusyNote note(kCopyingText);
        copied = copyFile(modulePath.c_str(), copyPath, note);
    }
    if (copied) {
        gPackagePath.assignCStr(copyPath);
        gFlags.localCopy = true;
    }
}
