#include "SelfCopy.h"

#include "BusyNote.h"

#include "installer/core/InstallerState.h"
#include "installer/core/ModulePath.h"
#include "installer/core/TempFileName.h"
#include "installer/core/win/TextConversion.h"

#include <windows.h>

namespace {

const char* const kCopyingText = "Copying files. Please wait...";

DWORD CALLBACK copyProgressCallback(LARGE_INTEGER, LARGE_INTEGER, LARGE_INTEGER, LARGE_INTEGER, DWORD, DWORD,
                                    HANDLE, HANDLE, LPVOID data) noexcept
{
    static_cast<const BusyNote*>(data)->pumpMessages();
    return PROGRESS_CONTINUE;
}

bool copyFile(const char* from, const char* to, const BusyNote& note)
{
    using CopyFileExFunction = BOOL(WINAPI*)(LPCSTR, LPCSTR, LPPROGRESS_ROUTINE, LPVOID, LPBOOL, DWORD);
    const HMODULE kernel = GetModuleHandleA("kernel32.dll");
    const auto copyFileEx = kernel ? reinterpret_cast<CopyFileExFunction>(
                                         reinterpret_cast<void*>(GetProcAddress(kernel, "CopyFileExA")))
                                   : nullptr;
    if (copyFileEx)
        return copyFileEx(from, to, copyProgressCallback, const_cast<BusyNote*>(&note), nullptr, 0) != 0;
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
    bool copied = false;
    {
        const BusyNote note(kCopyingText);
        copied = copyFile(modulePath.c_str(), copyPath, note);
    }
    if (copied) {
        gPackagePath.assignCStr(copyPath);
        gFlags.localCopy = true;
    }
}
